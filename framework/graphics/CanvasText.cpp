// The text members of TCanvas.
#include "base/Utf8.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "platform/Platform.h"

#include <algorithm>

namespace {

// Each channel: (under * (255 - coverage) + over * coverage) / 255, rounded to the nearest.
// Red and blue are worked in two 16-bit lanes of one word; the division by 255 is the exact
// (x + 1 + x / 256) / 256 of each lane.
TPixel Blend(TPixel Under, TPixel Over, unsigned Coverage)
{
    const unsigned Rest = 255 - Coverage;
    std::uint32_t RB = (Under & 0xFF00FF) * Rest + (Over & 0xFF00FF) * Coverage + 0x7F007F;
    RB = ((RB + 0x10001 + ((RB >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    std::uint32_t G = ((Under >> 8) & 0xFF) * Rest + ((Over >> 8) & 0xFF) * Coverage + 0x7F;
    G = (G + 1 + (G >> 8)) >> 8;
    return RB | (G << 8);
}

// Restores a canvas's clip when the scope ends, also when drawing throws.
class TClipRestorer
{
public:
    TClipRestorer(bool& HasClip, std::vector<TRect>& Rects, bool& Valid)
        : FHasClip(HasClip), FRects(Rects), FValid(Valid), FSavedHasClip(HasClip),
          FSavedRects(Rects)
    {}
    ~TClipRestorer()
    {
        FHasClip = FSavedHasClip;
        FRects = std::move(FSavedRects);
        FValid = false;
    }
    TClipRestorer(const TClipRestorer&) = delete;
    TClipRestorer& operator=(const TClipRestorer&) = delete;

private:
    bool& FHasClip;
    std::vector<TRect>& FRects;
    bool& FValid;
    bool FSavedHasClip;
    std::vector<TRect> FSavedRects;
};

} // namespace

TFontFace& TCanvas::GetFace()
{
    TFontEngine& Engine = TPlatform::Get().GetFontEngine();
    TFaceKey Key{&Engine, FFont.GetName(), FFont.GetHeight(), FFont.GetStyle()};
    if (!FFace || Key != FFaceKey) {
        FFace = Engine.OpenFace(
            ResolveFontRequest(Engine, FFont.GetName(), FFont.GetHeight(), FFont.GetStyle()));
        FFaceKey = std::move(Key);
    }
    return *FFace;
}

TFontMetrics TCanvas::GetTextMetrics()
{
    return GetFace().GetMetrics();
}

TSize TCanvas::TextExtent(const std::string& Text)
{
    TFontFace& Face = GetFace();
    int Width = 0;
    for (char32_t C : DecodeUtf8(Text))
        Width += Face.GetGlyph(C).AdvancePixels;
    return {Width, Face.GetMetrics().Height};
}

int TCanvas::TextOutWidth(int X, int Y, std::string_view Text)
{
    TFontFace& Face = GetFace();
    const TFontMetrics Metrics = Face.GetMetrics();
    // Short ASCII texts (cells, addresses) are their own code points; only the rest is decoded.
    char32_t Short[32];
    std::u32string Decoded;
    std::u32string_view Codes;
    if (Text.size() <= std::size(Short) &&
        std::all_of(Text.begin(), Text.end(), [](char C) { return std::uint8_t(C) < 0x80; })) {
        std::transform(Text.begin(), Text.end(), Short,
                       [](char C) { return char32_t(std::uint8_t(C)); });
        Codes = std::u32string_view(Short, Text.size());
    } else {
        Decoded = DecodeUtf8(Text);
        Codes = Decoded;
    }
    int Width = 0;
    for (char32_t C : Codes)
        Width += Face.GetGlyph(C).AdvancePixels;
    const TClipBands& Clip = Visible();
    if (FBrush.GetStyle() == TBrushStyle::bsSolid) {
        const TRect Cell = ToTarget(TRect{X, Y, X + Width, Y + Metrics.Height});
        const TPixel Background = ColorToPixel(FBrush.GetColor());
        // Text laid out cell by cell mostly lies wholly inside the clip: then rows are filled
        // without asking the clip for each.
        if (Clip.ContainsRect(Cell)) {
            FTarget->NoteDrawn(Cell);
            for (int Row = Cell.Top; Row < Cell.Bottom; ++Row)
                std::fill_n(FTarget->GetScanLine(Row) + Cell.Left, Cell.Width(), Background);
        } else {
            for (int Row = Cell.Top; Row < Cell.Bottom; ++Row)
                PaintSpan(Row, Cell.Left, Cell.Right, Background, TPenMode::pmCopy);
        }
    }

    const TPixel Ink = ColorToPixel(FFont.GetColor());
    const TPixel Under = ColorToPixel(FBrush.GetColor());
    if (FBlend.Under != Under || FBlend.Ink != Ink) {
        FBlend.Under = Under;
        FBlend.Ink = Ink;
        FBlend.Known.fill(false);
    }
    const TPoint Cell = ToTarget(TPoint{X, Y});
    const int Baseline = Cell.Y + Metrics.Ascent;
    int PenX = Cell.X;
    for (char32_t C : Codes) {
        // The reference is used before the next GetGlyph, which may grow the face's cache.
        const TGlyph& G = Face.GetGlyph(C);
        const bool Complete = G.Width > 0 && G.Height > 0 &&
                              G.Coverage.size() >= std::size_t(G.Width) * std::size_t(G.Height);
        if (Complete) {
            const int Left = PenX + G.OriginX;
            const int Top = Baseline + G.OriginY;
            const bool Inside = Clip.ContainsRect({Left, Top, Left + G.Width, Top + G.Height});
            for (int J = 0; J < G.Height; ++J) {
                const int Row = Top + J;
                const std::uint8_t* Coverage = G.Coverage.data() + std::size_t(J) * G.Width;
                const auto Paint = [&](int From, int To) {
                    TPixel* Line = FTarget->GetScanLine(Row);
                    FTarget->NoteDrawn({From, Row, To, Row + 1});
                    for (int PX = From; PX < To; ++PX) {
                        const unsigned A = Coverage[PX - Left];
                        if (A == 255)
                            Line[PX] = Ink;
                        else if (A == 0)
                            continue;
                        else if (Line[PX] != Under)
                            Line[PX] = Blend(Line[PX], Ink, A);
                        else if (FBlend.Known[A])
                            Line[PX] = FBlend.Value[A];
                        else {
                            FBlend.Known[A] = true;
                            Line[PX] = FBlend.Value[A] = Blend(Under, Ink, A);
                        }
                    }
                };
                if (Inside)
                    Paint(Left, Left + G.Width);
                else
                    Clip.ForEachSpan(Row, Left, Left + G.Width, Paint);
            }
        }
        PenX += G.AdvancePixels;
    }

    // Lines one pixel thick per 14 pixels of cell: the underline below the baseline within the
    // descent, the strike-out a third of the ascent above it.
    const int Thickness = std::max(1, Metrics.Height / 14);
    const int CellBottom = Cell.Y + Metrics.Height;
    auto PaintBar = [&](int Top) {
        for (int Row = Top; Row < Top + Thickness; ++Row)
            PaintSpan(Row, Cell.X, Cell.X + Width, Ink, TPenMode::pmCopy);
    };
    if (FFont.GetStyle() & fsUnderline)
        PaintBar(
            std::min(Baseline + std::max(1, (Metrics.Descent + 1) / 2), CellBottom - Thickness));
    if (FFont.GetStyle() & fsStrikeOut)
        PaintBar(Baseline - std::max(1, (Metrics.Ascent + 2) / 3));
    return Width;
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const std::string& Text)
{
    TClipRestorer Restore(FHasClip, FClipRects, FVisibleValid);
    TClipBands Inside = Visible();
    Inside.Intersect(ToTarget(Rect));
    const std::vector<TRect> Rects = Inside.GetRects();
    SetClipRects(Rects);
    FillRect(Rect);
    const TBrushStyle Style = FBrush.GetStyle();
    // The text itself goes on transparently: the fill above already is its background.
    FBrush.SetStyle(TBrushStyle::bsClear);
    try {
        TextOut(X, Y, Text);
    } catch (...) {
        FBrush.SetStyle(Style);
        throw;
    }
    FBrush.SetStyle(Style);
}
