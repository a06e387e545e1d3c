#pragma once

#include "platform/FontEngine.h"

#include <unordered_map>

// One GDI font (CreateFontIndirectW with the request's height as a GDI height, so a positive
// height is the cell) and the glyphs rasterised from it: GetGlyphOutlineW in 8-bit grey for
// outline fonts, and for raster fonts, which have no outlines, the character drawn with
// ExtTextOutW and read back. Glyphs are cached; a reference stays valid for the face's life.
class TGdiFontFace : public TFontFace
{
public:
    explicit TGdiFontFace(const TFontRequest& Request);
    ~TGdiFontFace() override;
    TGdiFontFace(const TGdiFontFace&) = delete;
    TGdiFontFace& operator=(const TGdiFontFace&) = delete;

    TFontMetrics GetMetrics() const override { return FMetrics; }
    const TGlyph& GetGlyph(char32_t CodePoint) override;

private:
    TGlyph MakeGlyph(char32_t CodePoint);
    bool RenderOutline(unsigned GlyphIndex, TGlyph& Glyph);
    bool RenderText(wchar_t Character, TGlyph& Glyph);

    void* FDC = nullptr;   // HDC: a memory DC with the font selected
    void* FFont = nullptr; // HFONT
    void* FPreviousFont = nullptr;
    wchar_t FDefaultChar = L'?';
    TFontMetrics FMetrics;
    std::unordered_map<char32_t, TGlyph> FGlyphs;
};
