#include "platform/win32/GdiFontFace.h"

#include "platform/win32/WideString.h"

#include <algorithm>
#include <vector>
#include <windows.h>

namespace {

HDC AsDC(void* P)
{
    return static_cast<HDC>(P);
}

constexpr int MaxCellPixels = 1024;

bool IsBmpCharacter(char32_t C)
{
    return C < 0xD800 || (C > 0xDFFF && C <= 0xFFFF);
}

} // namespace

TGdiFontFace::TGdiFontFace(const TFontRequest& Request)
{
    LOGFONTW Font{};
    Font.lfHeight = std::clamp(Request.HeightPixels, -MaxCellPixels, MaxCellPixels);
    Font.lfWeight = (Request.Style & fsBold) ? FW_BOLD : FW_NORMAL;
    Font.lfItalic = (Request.Style & fsItalic) ? TRUE : FALSE;
    Font.lfCharSet = DEFAULT_CHARSET;
    Font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    Font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    Font.lfQuality = DEFAULT_QUALITY;
    Font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring Name = Utf8ToWide(Request.Name).substr(0, LF_FACESIZE - 1);
    std::copy(Name.begin(), Name.end(), Font.lfFaceName);

    HFONT Handle = CreateFontIndirectW(&Font);
    if (!Handle)
        Handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    FFont = Handle;
    HDC DC = CreateCompatibleDC(nullptr);
    FDC = DC;
    FPreviousFont = SelectObject(DC, Handle);
    SetMapMode(DC, MM_TEXT);

    TEXTMETRICW Metrics{};
    if (GetTextMetricsW(DC, &Metrics)) {
        FMetrics.Ascent = Metrics.tmAscent;
        FMetrics.Descent = Metrics.tmDescent;
        FMetrics.Height = Metrics.tmAscent + Metrics.tmDescent;
        FMetrics.InternalLeading = Metrics.tmInternalLeading;
        FMetrics.AverageCharWidth = std::max<LONG>(1, Metrics.tmAveCharWidth);
        FDefaultChar = Metrics.tmDefaultChar;
    } else {
        const int Cell = std::max(1, static_cast<int>(std::abs(Font.lfHeight)));
        FMetrics = {Cell * 4 / 5, Cell - Cell * 4 / 5, Cell, 0, std::max(1, Cell / 2)};
    }
}

TGdiFontFace::~TGdiFontFace()
{
    HDC DC = AsDC(FDC);
    SelectObject(DC, static_cast<HGDIOBJ>(FPreviousFont));
    DeleteDC(DC);
    DeleteObject(static_cast<HGDIOBJ>(FFont)); // a stock font ignores this
}

const TGlyph& TGdiFontFace::GetGlyph(char32_t CodePoint)
{
    auto It = FGlyphs.find(CodePoint);
    if (It == FGlyphs.end())
        It = FGlyphs.emplace(CodePoint, MakeGlyph(CodePoint)).first;
    return It->second;
}

TGlyph TGdiFontFace::MakeGlyph(char32_t CodePoint)
{
    TGlyph Glyph;
    // Characters beyond the basic plane would need the shaping engine; they, and the ones the
    // font lacks, get its replacement glyph (glyph 0, or the default character of a raster font).
    WORD Index = 0xFFFF;
    const wchar_t Character = IsBmpCharacter(CodePoint) ? static_cast<wchar_t>(CodePoint) : 0;
    bool Known = false; // the font could tell whether it has the character
    if (Character != 0 && Character != 0xFFFF)
        Known = GetGlyphIndicesW(AsDC(FDC), &Character, 1, &Index, GGI_MARK_NONEXISTING_GLYPHS) !=
                GDI_ERROR;
    const bool Missing = Character == 0 || Character == 0xFFFF || (Known && Index == 0xFFFF);
    if (!Missing && Known && RenderOutline(Index, Glyph))
        return Glyph;
    if (Missing && RenderOutline(0, Glyph) && Glyph.AdvancePixels > 0)
        return Glyph;
    if (RenderText(Missing ? FDefaultChar : Character, Glyph))
        return Glyph;
    Glyph = TGlyph{};
    Glyph.AdvancePixels = FMetrics.AverageCharWidth;
    return Glyph;
}

bool TGdiFontFace::RenderOutline(unsigned GlyphIndex, TGlyph& Glyph)
{
    const MAT2 Identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS Metrics{};
    const UINT Format = GGO_GRAY8_BITMAP | GGO_GLYPH_INDEX;
    const DWORD Size =
        GetGlyphOutlineW(AsDC(FDC), GlyphIndex, Format, &Metrics, 0, nullptr, &Identity);
    if (Size == GDI_ERROR)
        return false;
    Glyph = TGlyph{};
    Glyph.AdvancePixels = Metrics.gmCellIncX;
    if (Size == 0)
        return true; // a blank glyph: its black box is a nominal 1 x 1
    std::vector<BYTE> Buffer(Size);
    if (GetGlyphOutlineW(AsDC(FDC), GlyphIndex, Format, &Metrics, Size, Buffer.data(), &Identity) ==
        GDI_ERROR)
        return false;
    const int Width = static_cast<int>(Metrics.gmBlackBoxX);
    const int Height = static_cast<int>(Metrics.gmBlackBoxY);
    const std::size_t Pitch = (static_cast<std::size_t>(Width) + 3) & ~std::size_t{3};
    if (Pitch * static_cast<std::size_t>(Height) > Buffer.size())
        return false;
    Glyph.Width = Width;
    Glyph.Height = Height;
    Glyph.OriginX = Metrics.gmptGlyphOrigin.x;
    Glyph.OriginY = -Metrics.gmptGlyphOrigin.y;
    Glyph.Coverage.resize(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height));
    // Grey levels 0..64 become 0..255.
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const int Level = std::min<int>(64, Buffer[static_cast<std::size_t>(Y) * Pitch + X]);
            Glyph.Coverage[static_cast<std::size_t>(Y * Width + X)] =
                static_cast<std::uint8_t>((Level * 255 + 32) / 64);
        }
    return true;
}

bool TGdiFontFace::RenderText(wchar_t Character, TGlyph& Glyph)
{
    HDC DC = AsDC(FDC);
    SIZE Extent{};
    if (!GetTextExtentPoint32W(DC, &Character, 1, &Extent) || Extent.cx <= 0)
        return false;
    // Room for overhangs (italics) on both sides.
    const int Pad = FMetrics.Height / 2 + 2;
    const int Width = Extent.cx + 2 * Pad;
    const int Height = std::max<int>(FMetrics.Height, Extent.cy);

    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = Width;
    Info.bmiHeader.biHeight = -Height; // top row first
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    Info.bmiHeader.biCompression = BI_RGB;
    void* Bits = nullptr;
    HBITMAP Bitmap = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (!Bitmap || !Bits)
        return false;
    HGDIOBJ Previous = SelectObject(DC, Bitmap);
    SetTextColor(DC, RGB(255, 255, 255));
    SetBkColor(DC, RGB(0, 0, 0));
    SetBkMode(DC, OPAQUE);
    SetTextAlign(DC, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    const RECT All{0, 0, Width, Height};
    ExtTextOutW(DC, Pad, 0, ETO_OPAQUE, &All, &Character, 1, nullptr);
    GdiFlush();

    // White on black: the mean of the channels is the coverage (also under ClearType).
    const auto* Pixels = static_cast<const std::uint32_t*>(Bits);
    auto Level = [&](int X, int Y) {
        const std::uint32_t P = Pixels[static_cast<std::size_t>(Y) * Width + X];
        return static_cast<std::uint8_t>(((P & 0xFF) + ((P >> 8) & 0xFF) + ((P >> 16) & 0xFF)) / 3);
    };
    int Left = Width, Top = Height, Right = 0, Bottom = 0;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            if (Level(X, Y)) {
                Left = std::min(Left, X);
                Right = std::max(Right, X + 1);
                Top = std::min(Top, Y);
                Bottom = std::max(Bottom, Y + 1);
            }
    Glyph = TGlyph{};
    Glyph.AdvancePixels = Extent.cx;
    if (Right > Left) {
        Glyph.OriginX = Left - Pad;
        Glyph.OriginY = Top - FMetrics.Ascent;
        Glyph.Width = Right - Left;
        Glyph.Height = Bottom - Top;
        Glyph.Coverage.reserve(static_cast<std::size_t>(Glyph.Width) * Glyph.Height);
        for (int Y = Top; Y < Bottom; ++Y)
            for (int X = Left; X < Right; ++X)
                Glyph.Coverage.push_back(Level(X, Y));
    }
    SelectObject(DC, Previous);
    DeleteObject(Bitmap);
    return true;
}
