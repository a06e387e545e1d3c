#pragma once

#include "platform/FontEngine.h"

#include <memory>
#include <unordered_map>

struct FT_LibraryRec_;
struct FT_FaceRec_;

// One FreeType face at one cell height. Glyphs are hinted, rendered to 8-bit coverage with
// whole-pixel advances, and cached: a reference from GetGlyph stays valid for the face's life.
// The cell maps to the font as GDI maps a positive height: the font's Windows ascent plus descent
// (OS/2 usWinAscent + usWinDescent, else the horizontal header) span the cell, the em square is
// that scaled and rounded to whole pixels, and InternalLeading is the cell minus the em.
class TFreeTypeFontFace : public TFontFace
{
public:
    // Takes ownership of Face. Bold and Italic ask for emboldening and slanting in software, for
    // families that lack those styles.
    TFreeTypeFontFace(std::shared_ptr<FT_LibraryRec_> Library, FT_FaceRec_* Face, int HeightPixels,
                      bool SyntheticBold, bool SyntheticItalic);
    ~TFreeTypeFontFace() override;
    TFreeTypeFontFace(const TFreeTypeFontFace&) = delete;
    TFreeTypeFontFace& operator=(const TFreeTypeFontFace&) = delete;

    TFontMetrics GetMetrics() const override { return FMetrics; }
    const TGlyph& GetGlyph(char32_t CodePoint) override;

    // Cells beyond this many pixels are clamped: nothing on a screen needs more.
    static constexpr int MaxCellPixels = 1024;

private:
    bool Render(unsigned GlyphIndex, TGlyph& Glyph);
    TGlyph MakeGlyph(char32_t CodePoint);

    std::shared_ptr<FT_LibraryRec_> FLibrary; // outlives FFace
    FT_FaceRec_* FFace = nullptr;
    bool FSyntheticBold = false;
    TFontMetrics FMetrics;
    std::unordered_map<char32_t, TGlyph> FGlyphs;
};
