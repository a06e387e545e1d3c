#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The font engine of a port: rasterised glyphs and metrics for a font description. The framework
// lays text out and blends glyphs itself; a port only has to rasterise.

enum TFontStyleBits : unsigned
{
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8
};

struct TFontRequest
{
    std::string Name = "MS Sans Serif";
    int HeightPixels = 13; // cell height (ascent + descent), as a positive GDI font height
    unsigned Style = 0;    // TFontStyleBits
    bool operator==(const TFontRequest&) const = default;
};

struct TFontMetrics
{
    int Ascent = 0;  // baseline to top of the cell
    int Descent = 0; // baseline to bottom of the cell
    int Height = 0;  // Ascent + Descent
    int InternalLeading = 0;
    int AverageCharWidth = 0;
};

// One rasterised glyph: coverage 0..255 row by row, placed relative to the pen at the baseline.
struct TGlyph
{
    int AdvancePixels = 0;
    int OriginX = 0; // left edge of the coverage relative to the pen
    int OriginY = 0; // top edge of the coverage relative to the baseline (negative: above)
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Coverage;
};

class TFontFace
{
public:
    virtual ~TFontFace() = default;
    virtual TFontMetrics GetMetrics() const = 0;
    // A glyph for the code point; characters the face lacks give its replacement glyph.
    virtual const TGlyph& GetGlyph(char32_t CodePoint) = 0;
};

class TFontEngine
{
public:
    virtual ~TFontEngine() = default;
    // Never fails: an unknown family is substituted by the engine's default sans face.
    virtual std::shared_ptr<TFontFace> OpenFace(const TFontRequest& Request) = 0;
};
