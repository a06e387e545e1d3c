#include "platform/freetype/FreeTypeFontFace.h"

#include "platform/freetype/BoxFontFace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace {

constexpr char32_t MaxCodePoint = 0x10FFFF;

bool IsValidCodePoint(char32_t C)
{
    return C <= MaxCodePoint && (C < 0xD800 || C > 0xDFFF);
}

struct TVerticalUnits
{
    long Ascent = 0; // font units above the baseline that the cell holds
    long Descent = 0;
};

TVerticalUnits GetCellUnits(FT_Face Face)
{
    const auto* Os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face, FT_SFNT_OS2));
    if (Os2 && Os2->version != 0xFFFF && Os2->usWinAscent + Os2->usWinDescent > 0)
        return {Os2->usWinAscent, Os2->usWinDescent};
    if (Face->ascender - Face->descender > 0)
        return {Face->ascender, -Face->descender};
    return {Face->units_per_EM * 4 / 5, Face->units_per_EM / 5};
}

int RoundDiv(long long Numerator, long long Denominator)
{
    return static_cast<int>((2 * Numerator + Denominator) / (2 * Denominator));
}

} // namespace

TFreeTypeFontFace::TFreeTypeFontFace(std::shared_ptr<FT_LibraryRec_> Library, FT_FaceRec_* Face,
                                     int HeightPixels, bool SyntheticBold, bool SyntheticItalic)
    : FLibrary(std::move(Library)), FFace(Face), FSyntheticBold(SyntheticBold)
{
    const long UnitsPerEm = std::max<long>(1, FFace->units_per_EM);
    const TVerticalUnits Units = GetCellUnits(FFace);
    const long CellUnits = std::max<long>(1, Units.Ascent + Units.Descent);

    // A negative height names the em square instead of the cell, as in GDI; 0 is the default.
    int Cell = 0;
    int Em = 0;
    if (HeightPixels < 0) {
        Em = std::min(-HeightPixels, MaxCellPixels);
        Cell = std::max(1, RoundDiv(static_cast<long long>(Em) * CellUnits, UnitsPerEm));
    } else {
        Cell = std::clamp(HeightPixels == 0 ? 13 : HeightPixels, 1, MaxCellPixels);
        Em = std::max(1, RoundDiv(static_cast<long long>(Cell) * UnitsPerEm, CellUnits));
    }
    FT_Set_Pixel_Sizes(FFace, 0, static_cast<FT_UInt>(Em));

    FMetrics.Height = Cell;
    FMetrics.Ascent =
        std::clamp(RoundDiv(static_cast<long long>(Cell) * Units.Ascent, CellUnits), 0, Cell);
    FMetrics.Descent = Cell - FMetrics.Ascent;
    FMetrics.InternalLeading = std::max(0, Cell - Em);

    if (SyntheticItalic) {
        // The slant of a typical oblique: x += 0.2 * y.
        FT_Matrix Shear{0x10000, 0x3333, 0, 0x10000};
        FT_Set_Transform(FFace, &Shear, nullptr);
    }

    const auto* Os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(FFace, FT_SFNT_OS2));
    if (Os2 && Os2->version != 0xFFFF && Os2->xAvgCharWidth > 0)
        FMetrics.AverageCharWidth =
            std::max(1, RoundDiv(static_cast<long long>(Os2->xAvgCharWidth) * Em, UnitsPerEm));
    else
        FMetrics.AverageCharWidth = std::max(1, GetGlyph(U'x').AdvancePixels);
}

TFreeTypeFontFace::~TFreeTypeFontFace()
{
    FT_Done_Face(FFace);
}

const TGlyph& TFreeTypeFontFace::GetGlyph(char32_t CodePoint)
{
    auto It = FGlyphs.find(CodePoint);
    if (It == FGlyphs.end())
        It = FGlyphs.emplace(CodePoint, MakeGlyph(CodePoint)).first;
    return It->second;
}

TGlyph TFreeTypeFontFace::MakeGlyph(char32_t CodePoint)
{
    TGlyph Glyph;
    const FT_UInt Index = IsValidCodePoint(CodePoint) ? FT_Get_Char_Index(FFace, CodePoint) : 0;
    if (Index != 0 && Render(Index, Glyph))
        return Glyph;
    // The face's own replacement glyph, unless it is blank (some fonts draw nothing there).
    if (Render(0, Glyph) && Glyph.AdvancePixels > 0 && !Glyph.Coverage.empty())
        return Glyph;
    return TBoxFontFace::MakeBoxGlyph(FMetrics);
}

bool TFreeTypeFontFace::Render(unsigned GlyphIndex, TGlyph& Glyph)
{
    // Outlines only (embedded bitmaps would bring other pixel formats and metrics), hinted for
    // the grey-scale renderer.
    if (FT_Load_Glyph(FFace, GlyphIndex,
                      FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL))
        return false;
    FT_GlyphSlot Slot = FFace->glyph;
    if (FSyntheticBold)
        FT_GlyphSlot_Embolden(Slot);
    if (Slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(Slot, FT_RENDER_MODE_NORMAL))
        return false;
    const FT_Bitmap& Bitmap = Slot->bitmap;
    if (Bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && Bitmap.width > 0 && Bitmap.rows > 0)
        return false;

    Glyph = TGlyph{};
    Glyph.AdvancePixels = static_cast<int>((Slot->advance.x + 32) >> 6);
    if (Bitmap.width == 0 || Bitmap.rows == 0)
        return true;
    Glyph.OriginX = Slot->bitmap_left;
    Glyph.OriginY = -Slot->bitmap_top;
    Glyph.Width = static_cast<int>(Bitmap.width);
    Glyph.Height = static_cast<int>(Bitmap.rows);
    Glyph.Coverage.resize(static_cast<std::size_t>(Glyph.Width) * Bitmap.rows);
    // 8-bit grey: 0..(num_grays - 1), which FreeType makes 0..255.
    const int Pitch = Bitmap.pitch;
    for (unsigned Row = 0; Row < Bitmap.rows; ++Row) {
        const unsigned char* Source =
            Pitch >= 0
                ? Bitmap.buffer + static_cast<std::ptrdiff_t>(Row) * Pitch
                : Bitmap.buffer + static_cast<std::ptrdiff_t>(Bitmap.rows - 1 - Row) * -Pitch;
        std::memcpy(&Glyph.Coverage[static_cast<std::size_t>(Row) * Bitmap.width], Source,
                    Bitmap.width);
    }
    return true;
}
