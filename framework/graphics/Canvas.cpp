#include "framework/graphics/Canvas.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/FigureMask.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

// Plain loops do not vectorise at -O2; growing the filled part by copying it onto the rest lets
// memcpy's wide stores do the work.
void FillPixels(TPixel* Pixels, int Count, TPixel Value)
{
    const int Seed = std::min(Count, 16);
    std::fill(Pixels, Pixels + Seed, Value);
    int Done = Seed;
    while (Done < Count) {
        const int Chunk = std::min(Done, Count - Done);
        std::memcpy(Pixels + Done, Pixels, std::size_t(Chunk) * sizeof(TPixel));
        Done += Chunk;
    }
}

} // namespace

TCanvas::TCanvas(TBitmap& Target) : FTarget(&Target) {}

void TCanvas::SetTarget(TBitmap& Target)
{
    FTarget = &Target;
    FVisibleValid = false;
}

TCanvas::~TCanvas() = default;

void TCanvas::SetClipRect(const TRect& TargetRect)
{
    SetClipRects({&TargetRect, 1});
}

void TCanvas::SetClipRects(std::span<const TRect> TargetRects)
{
    FClipRects.assign(TargetRects.begin(), TargetRects.end());
    FHasClip = true;
    FVisibleValid = false;
}

void TCanvas::ClearClip()
{
    FClipRects.clear();
    FHasClip = false;
    FVisibleValid = false;
}

TRect TCanvas::GetClipRect()
{
    const TRect Bounds = Visible().GetBounds();
    return Bounds.IsEmpty() ? TRect{} : Bounds.Offset(-FOrigin.X, -FOrigin.Y);
}

// The target may be resized while the canvas lives (a bitmap keeps its canvas), so the visible
// set is rebuilt whenever the size it was built for has changed.
const TClipBands& TCanvas::Visible()
{
    const TSize Size{FTarget->GetWidth(), FTarget->GetHeight()};
    if (FVisibleValid && Size == FVisibleTargetSize)
        return FVisible;
    const TRect Bounds{0, 0, Size.Width, Size.Height};
    if (FHasClip) {
        std::vector<TRect> Parts;
        Parts.reserve(FClipRects.size());
        for (const TRect& R : FClipRects)
            Parts.push_back(R.Intersect(Bounds));
        FVisible.Assign(Parts);
    } else {
        FVisible.Assign({&Bounds, 1});
    }
    FVisibleTargetSize = Size;
    FVisibleValid = true;
    return FVisible;
}

void TCanvas::PaintSpan(int Y, int X0, int X1, TPixel Pixel, TPenMode Mode)
{
    TPixel* Row = nullptr;
    Visible().ForEachSpan(Y, X0, X1, [&](int Left, int Right) {
        if (!Row)
            Row = FTarget->GetScanLine(Y);
        FTarget->NoteDrawn({Left, Y, Right, Y + 1});
        if (Mode == TPenMode::pmCopy) {
            FillPixels(Row + Left, Right - Left, Pixel);
            return;
        }
        for (int X = Left; X < Right; ++X)
            Row[X] = ApplyPenMode(Mode, Pixel, Row[X]);
    });
}

void TCanvas::PaintFigure(const TFigureMask& Mask)
{
    const TRect& Box = Mask.GetBox();
    if (Box.IsEmpty())
        return;
    const TPenMode Mode = FPen.GetMode();
    const TPixel Pen = ColorToPixel(FPen.GetColor());
    const TPixel Brush = ColorToPixel(FBrush.GetColor());
    const TClipBands& Clip = Visible();
    FTarget->NoteDrawn(Box.Intersect(Clip.GetBounds()));
    for (int Y = Box.Top; Y < Box.Bottom; ++Y) {
        TPixel* Row = FTarget->GetScanLine(Y);
        const TFigurePart* Parts = Mask.GetRow(Y);
        Clip.ForEachSpan(Y, Box.Left, Box.Right, [&](int Left, int Right) {
            for (int X = Left; X < Right; ++X) {
                const TFigurePart Part = Parts[X - Box.Left];
                if (Part == TFigurePart::None)
                    continue;
                const TPixel Ink = Part == TFigurePart::Pen ? Pen : Brush;
                Row[X] = Mode == TPenMode::pmCopy ? Ink : ApplyPenMode(Mode, Ink, Row[X]);
            }
        });
    }
}

void TCanvas::FillRect(const TRect& Rect)
{
    if (FBrush.GetStyle() == TBrushStyle::bsClear)
        return;
    const TRect R = ToTarget(Rect).Intersect(Visible().GetBounds());
    const TPixel Pixel = ColorToPixel(FBrush.GetColor());
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        PaintSpan(Y, R.Left, R.Right, Pixel, TPenMode::pmCopy);
}

void TCanvas::FrameRect(const TRect& Rect)
{
    if (FBrush.GetStyle() == TBrushStyle::bsClear)
        return;
    const TRect R = ToTarget(Rect);
    if (R.IsEmpty())
        return;
    const TPixel Pixel = ColorToPixel(FBrush.GetColor());
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        if (Y == R.Top || Y == R.Bottom - 1) {
            PaintSpan(Y, R.Left, R.Right, Pixel, TPenMode::pmCopy);
        } else {
            PaintSpan(Y, R.Left, R.Left + 1, Pixel, TPenMode::pmCopy);
            PaintSpan(Y, R.Right - 1, R.Right, Pixel, TPenMode::pmCopy);
        }
    }
}

void TCanvas::InvertRect(const TRect& Rect)
{
    const TRect R = ToTarget(Rect).Intersect(Visible().GetBounds());
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        PaintSpan(Y, R.Left, R.Right, 0, TPenMode::pmNot);
}

void TCanvas::DrawFocusRect(const TRect& Rect)
{
    const TRect R = ToTarget(Rect);
    if (R.IsEmpty())
        return;
    const TClipBands& Clip = Visible();
    // The dots keep their place relative to the origin, so a control's focus frame looks the same
    // wherever the control lies in the back buffer.
    auto Invert = [&](int X, int Y) {
        if (((X - FOrigin.X) + (Y - FOrigin.Y)) % 2 != 0 || !Clip.Contains(X, Y))
            return;
        FTarget->GetScanLine(Y)[X] ^= 0x00FFFFFFu;
    };
    const TRect Rows = R.Intersect(Clip.GetBounds());
    FTarget->NoteDrawn(Rows);
    for (int Y = Rows.Top; Y < Rows.Bottom; ++Y) {
        if (Y == R.Top || Y == R.Bottom - 1) {
            for (int X = Rows.Left; X < Rows.Right; ++X)
                Invert(X, Y);
        } else {
            Invert(R.Left, Y);
            if (R.Right - 1 != R.Left)
                Invert(R.Right - 1, Y);
        }
    }
}

TColor TCanvas::GetPixel(int X, int Y)
{
    const TPoint P = ToTarget(TPoint{X, Y});
    if (!Visible().Contains(P.X, P.Y))
        return clInvalid;
    return PixelToColor(FTarget->GetScanLine(P.Y)[P.X]);
}

void TCanvas::SetPixel(int X, int Y, TColor Color)
{
    const TPoint P = ToTarget(TPoint{X, Y});
    if (Visible().Contains(P.X, P.Y)) {
        FTarget->GetScanLine(P.Y)[P.X] = ColorToPixel(Color);
        FTarget->NoteDrawn({P.X, P.Y, P.X + 1, P.Y + 1});
    }
}

void TCanvas::Draw(int X, int Y, const TBitmap& Source)
{
    const int W = Source.GetWidth();
    const int H = Source.GetHeight();
    StretchCopy({X, Y, X + W, Y + H}, Source, {0, 0, W, H}, Source.GetTransparent());
}

void TCanvas::StretchDraw(const TRect& Rect, const TBitmap& Source)
{
    StretchCopy(Rect, Source, {0, 0, Source.GetWidth(), Source.GetHeight()},
                Source.GetTransparent());
}

void TCanvas::CopyRect(const TRect& Dest, const TBitmap& Source, const TRect& SourceRect)
{
    StretchCopy(Dest, Source, SourceRect, false);
}

void TCanvas::StretchCopy(const TRect& Dest, const TBitmap& Source, const TRect& SourceRect,
                          bool Transparent)
{
    const TRect D = ToTarget(Dest);
    if (D.IsEmpty() || SourceRect.IsEmpty() || Source.Empty())
        return;
    // Reading the pixels being written would smear a picture drawn over itself.
    std::optional<TBitmap> Copy;
    if (&Source == FTarget)
        Copy.emplace(Source);
    const TBitmap& Src = Copy ? *Copy : Source;

    const std::int64_t DW = D.Width();
    const std::int64_t DH = D.Height();
    const std::int64_t SW = SourceRect.Width();
    const std::int64_t SH = SourceRect.Height();
    const TPixel Key = Src.GetScanLine(Src.GetHeight() - 1)[0];
    const TClipBands& Clip = Visible();
    const TRect Rows = D.Intersect(Clip.GetBounds());
    if (Rows.IsEmpty())
        return;
    if (SW == DW && SH == DH) {
        // One source pixel for each target pixel (every Draw): whole spans at a time. The target
        // pixel X shows the source pixel X + DX.
        const std::int64_t DX = std::int64_t(SourceRect.Left) - D.Left;
        const std::int64_t DY = std::int64_t(SourceRect.Top) - D.Top;
        const auto Within = [](std::int64_t V, int Lo, int Hi) {
            return int(std::clamp<std::int64_t>(V, Lo, Hi));
        };
        const int Left = Within(-DX, Rows.Left, Rows.Right);
        const int Right = Within(Src.GetWidth() - DX, Left, Rows.Right);
        const int Top = Within(-DY, Rows.Top, Rows.Bottom);
        const int Bottom = Within(Src.GetHeight() - DY, Top, Rows.Bottom);
        // Mostly the picture lies wholly inside the clip: then no spans are asked for.
        const bool Whole = Clip.ContainsRect({Left, Top, Right, Bottom});
        for (int Y = Top; Y < Bottom; ++Y) {
            const TPixel* SrcRow = Src.GetScanLine(int(Y + DY));
            TPixel* Row = FTarget->GetScanLine(Y);
            const auto CopySpan = [&](int L, int R) {
                const TPixel* From = SrcRow + (L + DX);
                const auto Bytes = std::size_t(R - L) * sizeof(TPixel);
                // A picture drawn again over itself (the clock's digits, three ticks in four)
                // changes nothing, and what is not noted as drawn need not be shown again.
                if (!Transparent) {
                    if (std::memcmp(Row + L, From, Bytes) != 0) {
                        std::memcpy(Row + L, From, Bytes);
                        FTarget->NoteDrawn({L, Y, R, Y + 1});
                    }
                    return;
                }
                FTarget->NoteDrawn({L, Y, R, Y + 1});
                for (int X = L; X < R; ++X, ++From)
                    if (*From != Key)
                        Row[X] = *From;
            };
            if (Whole)
                CopySpan(Left, Right);
            else
                Clip.ForEachSpan(Y, Left, Right, CopySpan);
        }
        return;
    }
    FTarget->NoteDrawn(Rows);
    // The source column of every visible target column, -1 where it lies outside the source.
    std::vector<int> Columns(std::size_t(Rows.Width()));
    for (int X = Rows.Left; X < Rows.Right; ++X) {
        const std::int64_t SX = SourceRect.Left + (X - D.Left) * SW / DW;
        Columns[std::size_t(X - Rows.Left)] = SX < 0 || SX >= Src.GetWidth() ? -1 : int(SX);
    }
    for (int Y = Rows.Top; Y < Rows.Bottom; ++Y) {
        const std::int64_t SY = SourceRect.Top + (Y - D.Top) * SH / DH;
        if (SY < 0 || SY >= Src.GetHeight())
            continue;
        const TPixel* SrcRow = Src.GetScanLine(int(SY));
        TPixel* Row = FTarget->GetScanLine(Y);
        Clip.ForEachSpan(Y, Rows.Left, Rows.Right, [&](int Left, int Right) {
            const int* Column = Columns.data() + (Left - Rows.Left);
            for (int X = Left; X < Right; ++X, ++Column) {
                if (*Column < 0)
                    continue;
                const TPixel P = SrcRow[*Column];
                if (!Transparent || P != Key)
                    Row[X] = P;
            }
        });
    }
}
