// The line and figure members of TCanvas.
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/FigureMask.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// GDI keeps coordinates to 28 bits; within that range every product below fits in 64 bits.
constexpr int CoordinateLimit = 1 << 27;

// A drawing coordinate moved by the origin into the target, held to that range.
int Place(int V, int Origin)
{
    return int(
        std::clamp<std::int64_t>(std::int64_t(V) + Origin, -CoordinateLimit, CoordinateLimit - 1));
}

TPoint Place(TPoint P, TPoint Origin)
{
    return {Place(P.X, Origin.X), Place(P.Y, Origin.Y)};
}

TRect Place(const TRect& R, TPoint Origin)
{
    return {Place(R.Left, Origin.X), Place(R.Top, Origin.Y), Place(R.Right, Origin.X),
            Place(R.Bottom, Origin.Y)};
}

// Calls Plot(X, Y, Step) for the pixels of the line From -> To, end excluded; Step counts from 0
// at From. Only the steps whose major coordinate lies within Box are walked, so a line far longer
// than the target costs no more than its visible part. Pixel k lies round(k * minor / major)
// along the minor axis, halves rounded towards the start.
template <typename F>
void RasterLine(TPoint From, TPoint To, const TRect& Box, F&& Plot)
{
    const std::int64_t DX = std::int64_t(To.X) - From.X;
    const std::int64_t DY = std::int64_t(To.Y) - From.Y;
    const bool XMajor = std::llabs(DX) >= std::llabs(DY);
    const std::int64_t N = std::max(std::llabs(DX), std::llabs(DY));
    const std::int64_t M = std::min(std::llabs(DX), std::llabs(DY));
    if (N == 0)
        return;
    const std::int64_t MajorStep = (XMajor ? DX : DY) < 0 ? -1 : 1;
    const std::int64_t MinorStep = (XMajor ? DY : DX) < 0 ? -1 : 1;
    const std::int64_t Major0 = XMajor ? From.X : From.Y;
    const std::int64_t Minor0 = XMajor ? From.Y : From.X;
    const std::int64_t Low = XMajor ? Box.Left : Box.Top;
    const std::int64_t High = XMajor ? Box.Right : Box.Bottom;
    std::int64_t K0 = MajorStep > 0 ? Low - Major0 : Major0 - (High - 1);
    std::int64_t K1 = MajorStep > 0 ? High - Major0 : Major0 - Low + 1;
    K0 = std::max<std::int64_t>(K0, 0);
    K1 = std::min(K1, N);
    if (K0 >= K1)
        return;
    // Error term of step k: 2kM + N - 1 - 2N * offset, kept in [0, 2N).
    const std::int64_t Start = 2 * K0 * M + N - 1;
    std::int64_t Offset = Start / (2 * N);
    std::int64_t Error = Start - 2 * N * Offset;
    for (std::int64_t K = K0; K < K1; ++K) {
        const std::int64_t Major = Major0 + MajorStep * K;
        const std::int64_t Minor = Minor0 + MinorStep * Offset;
        Plot(int(XMajor ? Major : Minor), int(XMajor ? Minor : Major), K);
        Error += 2 * M;
        if (Error >= 2 * N) {
            Error -= 2 * N;
            ++Offset;
        }
    }
}

std::int64_t LineSteps(TPoint From, TPoint To)
{
    return std::max(std::llabs(std::int64_t(To.X) - From.X),
                    std::llabs(std::int64_t(To.Y) - From.Y));
}

// Whether step Step of a styled line is drawn (true) or a gap.
bool PatternOn(TPenStyle Style, std::int64_t Step)
{
    static constexpr int Dash[] = {18, 6};
    static constexpr int DashDot[] = {9, 6, 3, 6};
    static constexpr int DashDotDot[] = {9, 3, 3, 3, 3, 3};
    std::span<const int> Pattern;
    switch (Style) {
    case TPenStyle::psDot:
        return Step % 2 == 0;
    case TPenStyle::psDash:
        Pattern = Dash;
        break;
    case TPenStyle::psDashDot:
        Pattern = DashDot;
        break;
    case TPenStyle::psDashDotDot:
        Pattern = DashDotDot;
        break;
    default:
        return true;
    }
    int Period = 0;
    for (int Length : Pattern)
        Period += Length;
    std::int64_t Position = Step % Period;
    for (std::size_t I = 0; I < Pattern.size(); ++I) {
        if (Position < Pattern[I])
            return I % 2 == 0;
        Position -= Pattern[I];
    }
    return true;
}

TRect PointBounds(std::span<const TPoint> Points)
{
    TRect R{Points[0].X, Points[0].Y, Points[0].X + 1, Points[0].Y + 1};
    for (const TPoint& P : Points)
        R = R.Union({P.X, P.Y, P.X + 1, P.Y + 1});
    return R;
}

TRect Inflate(const TRect& R, int By)
{
    return {R.Left - By, R.Top - By, R.Right + By, R.Bottom + By};
}

// The pixels [Left, Right) of row Y whose centres lie inside the ellipse inscribed in Box; false
// when there are none. In doubled coordinates pixel x lies at 2x + 1 - (Left + Right) from the
// centre; the row takes the largest doubled offset D with D^2 H^2 + DY^2 W^2 <= W^2 H^2 that has
// the parity of those offsets. Boxes below 2^14 pixels a side are solved exactly in 64 bits,
// larger ones in long double; either way D depends on DY^2 only and the row is centred, so the
// ellipse is symmetric about both axes of the box.
bool EllipseRow(const TRect& Box, int Y, int& Left, int& Right)
{
    if (Box.IsEmpty() || Y < Box.Top || Y >= Box.Bottom)
        return false;
    const std::int64_t W = Box.Width();
    const std::int64_t H = Box.Height();
    const std::int64_t DY = 2 * std::int64_t(Y) + 1 - Box.Top - Box.Bottom;
    std::int64_t D = 0;
    constexpr int Small = 1 << 14;
    if (W < Small && H < Small) {
        const std::int64_t Limit = W * W * (H * H - DY * DY);
        if (Limit < 0)
            return false;
        D = std::int64_t(std::sqrt(double(Limit)) / double(H));
        while (D > 0 && D * D * H * H > Limit)
            --D;
        while ((D + 1) * (D + 1) * H * H <= Limit)
            ++D;
    } else {
        const long double Ratio =
            1.0L - (static_cast<long double>(DY) * DY) / (static_cast<long double>(H) * H);
        if (Ratio < 0)
            return false;
        D = std::int64_t(std::floor(static_cast<long double>(W) * std::sqrt(Ratio)));
    }
    if ((D - (W + 1)) % 2 != 0)
        --D;
    if (D < 0)
        return false;
    const std::int64_t Sum = std::int64_t(Box.Left) + Box.Right;
    Left = int((Sum - 1 - D) / 2);
    Right = int((Sum - 1 + D) / 2) + 1;
    return true;
}

// The pixels of row Y that lie inside the ellipse of Box with all four neighbours inside too.
bool EllipseCoreRow(const TRect& Box, int Y, int& Left, int& Right)
{
    int L0 = 0, R0 = 0, L1 = 0, R1 = 0, L2 = 0, R2 = 0;
    if (!EllipseRow(Box, Y, L0, R0) || !EllipseRow(Box, Y - 1, L1, R1) ||
        !EllipseRow(Box, Y + 1, L2, R2))
        return false;
    Left = std::max({L0 + 1, L1, L2});
    Right = std::min({R0 - 1, R1, R2});
    return Left < Right;
}

std::int64_t CeilDiv(std::int64_t A, std::int64_t B)
{
    return std::int64_t(A >= 0 ? (A + B - 1) / B : -((-A) / B));
}

} // namespace

void TCanvas::MarkLine(TFigureMask& Mask, TPoint From, TPoint To, int& Phase)
{
    const int Width = std::max(1, FPen.GetWidth());
    const TPenStyle Style = Width > 1 ? TPenStyle::psSolid : FPen.GetStyle();
    const bool OpaqueGaps = FBrush.GetStyle() == TBrushStyle::bsSolid;
    const int Before = (Width - 1) / 2;
    const int After = Width / 2 + 1;
    RasterLine(From, To, Inflate(Mask.GetBox(), Width), [&](int X, int Y, std::int64_t Step) {
        if (Width > 1)
            Mask.MarkRect({X - Before, Y - Before, X + After, Y + After}, TFigurePart::Pen);
        else if (PatternOn(Style, Phase + Step))
            Mask.Mark(X, Y, TFigurePart::Pen);
        else if (OpaqueGaps)
            Mask.Mark(X, Y, TFigurePart::PenGap);
    });
    Phase = int((Phase + LineSteps(From, To)) % 1152); // a multiple of every pattern's period
}

void TCanvas::LineTo(int X, int Y)
{
    const TPoint From = Place(FPenPos, FOrigin);
    const TPoint To = Place(TPoint{X, Y}, FOrigin);
    FPenPos = {X, Y};
    if (FPen.GetStyle() == TPenStyle::psClear)
        return;
    const int Width = std::max(1, FPen.GetWidth());
    const TClipBands& Clip = Visible();
    if (Width == 1 && FPen.GetStyle() == TPenStyle::psSolid) {
        // The common case needs no mask: a thin line never meets itself.
        const TPenMode Mode = FPen.GetMode();
        const TPixel Pen = ColorToPixel(FPen.GetColor());
        // Level and upright lines (frames, bars, underlines) go as spans: the same pixels as
        // the walk below, without a clip test for each of them.
        if (From.Y == To.Y && From.X != To.X) {
            const bool Right = From.X < To.X;
            PaintSpan(From.Y, Right ? From.X : To.X + 1, Right ? To.X : From.X + 1, Pen, Mode);
            return;
        }
        if (From.X == To.X && From.Y != To.Y) {
            const TRect Bounds = Clip.GetBounds();
            const bool Down = From.Y < To.Y;
            const int Top = std::max(Down ? From.Y : To.Y + 1, Bounds.Top);
            const int Bottom = std::min(Down ? To.Y : From.Y + 1, Bounds.Bottom);
            for (int Row = Top; Row < Bottom; ++Row)
                PaintSpan(Row, From.X, From.X + 1, Pen, Mode);
            return;
        }
        RasterLine(From, To, Clip.GetBounds(), [&](int PX, int PY, std::int64_t) {
            if (Clip.Contains(PX, PY)) {
                TPixel& P = FTarget->GetScanLine(PY)[PX];
                P = ApplyPenMode(Mode, Pen, P);
                FTarget->NoteDrawn({PX, PY, PX + 1, PY + 1});
            }
        });
        return;
    }
    const TPoint Ends[] = {From, To};
    TFigureMask Mask(Inflate(PointBounds(Ends), Width).Intersect(Clip.GetBounds()));
    int Phase = 0;
    MarkLine(Mask, From, To, Phase);
    PaintFigure(Mask);
}

void TCanvas::Rectangle(const TRect& Rect)
{
    TRect R = Place(Rect, FOrigin);
    if (R.IsEmpty())
        return;
    const bool Fill = FBrush.GetStyle() == TBrushStyle::bsSolid;
    const TRect VisibleBounds = Visible().GetBounds();
    if (FPen.GetStyle() == TPenStyle::psClear) {
        R = {R.Left, R.Top, R.Right - 1, R.Bottom - 1};
        if (!Fill || R.IsEmpty())
            return;
        TFigureMask Mask(R.Intersect(VisibleBounds));
        Mask.MarkRect(R, TFigurePart::Brush);
        PaintFigure(Mask);
        return;
    }
    const int Width = std::max(1, FPen.GetWidth());
    TFigureMask Mask(R.Intersect(VisibleBounds));
    const TRect Inner = Inflate(R, -Width);
    if (Fill && !Inner.IsEmpty())
        Mask.MarkRect(Inner, TFigurePart::Brush);
    if (Width > 1 || FPen.GetStyle() == TPenStyle::psSolid) {
        Mask.MarkRect({R.Left, R.Top, R.Right, R.Top + Width}, TFigurePart::Pen);
        Mask.MarkRect({R.Left, R.Bottom - Width, R.Right, R.Bottom}, TFigurePart::Pen);
        Mask.MarkRect({R.Left, R.Top, R.Left + Width, R.Bottom}, TFigurePart::Pen);
        Mask.MarkRect({R.Right - Width, R.Top, R.Right, R.Bottom}, TFigurePart::Pen);
    } else if (R.Width() == 1 || R.Height() == 1) {
        // A one-pixel-thin box has no closed outline to walk: its pixels form the line itself.
        int Phase = 0;
        const TPoint Last{R.Right - 1, R.Bottom - 1};
        MarkLine(Mask, R.TopLeft(), Last, Phase);
        Mask.Mark(Last.X, Last.Y,
                  PatternOn(FPen.GetStyle(), Phase) ? TFigurePart::Pen
                  : Fill                            ? TFigurePart::PenGap
                                                    : TFigurePart::None);
    } else {
        const TPoint Corners[] = {R.TopLeft(),
                                  {R.Right - 1, R.Top},
                                  {R.Right - 1, R.Bottom - 1},
                                  {R.Left, R.Bottom - 1},
                                  R.TopLeft()};
        int Phase = 0;
        for (int I = 0; I < 4; ++I)
            MarkLine(Mask, Corners[I], Corners[I + 1], Phase);
    }
    PaintFigure(Mask);
}

void TCanvas::Ellipse(const TRect& Rect)
{
    TRect R = Place(Rect, FOrigin);
    const bool NoPen = FPen.GetStyle() == TPenStyle::psClear;
    if (NoPen)
        R = {R.Left, R.Top, R.Right - 1, R.Bottom - 1};
    const bool Fill = FBrush.GetStyle() == TBrushStyle::bsSolid;
    if (R.IsEmpty() || (NoPen && !Fill))
        return;
    const int Width = std::max(1, FPen.GetWidth());
    const TRect Core = Inflate(R, -(Width - 1));
    const TPenStyle Style = Width > 1 ? TPenStyle::psSolid : FPen.GetStyle();
    TFigureMask Mask(R.Intersect(Visible().GetBounds()));
    const TRect& Box = Mask.GetBox();

    // The outline pixels of a styled pen are counted round the ellipse by angle, so that the
    // dashes keep their place whatever part of the ellipse is visible.
    std::vector<std::pair<double, TPoint>> Ring;
    const int FirstRow = Style == TPenStyle::psSolid || NoPen ? Box.Top : R.Top;
    const int LastRow = Style == TPenStyle::psSolid || NoPen ? Box.Bottom : R.Bottom;
    for (int Y = FirstRow; Y < LastRow; ++Y) {
        int Left = 0, Right = 0;
        if (!EllipseRow(R, Y, Left, Right))
            continue;
        if (NoPen) {
            Mask.MarkSpan(Y, Left, Right, TFigurePart::Brush);
            continue;
        }
        int CoreLeft = Right, CoreRight = Right;
        if (!EllipseCoreRow(Core, Y, CoreLeft, CoreRight))
            CoreLeft = CoreRight = Right;
        if (Fill)
            Mask.MarkSpan(Y, CoreLeft, CoreRight, TFigurePart::Brush);
        if (Style == TPenStyle::psSolid) {
            Mask.MarkSpan(Y, Left, CoreLeft, TFigurePart::Pen);
            Mask.MarkSpan(Y, CoreRight, Right, TFigurePart::Pen);
            continue;
        }
        const double DY = 2.0 * Y + 1 - R.Top - R.Bottom;
        auto AddRing = [&](int From, int To) {
            for (int X = From; X < To; ++X) {
                const double DX = 2.0 * X + 1 - R.Left - R.Right;
                Ring.push_back({std::atan2(DY / R.Height(), DX / R.Width()), TPoint{X, Y}});
            }
        };
        AddRing(Left, CoreLeft);
        AddRing(CoreRight, Right);
    }
    if (!Ring.empty()) {
        std::stable_sort(Ring.begin(), Ring.end(),
                         [](const auto& A, const auto& B) { return A.first < B.first; });
        for (std::size_t I = 0; I < Ring.size(); ++I) {
            const TPoint P = Ring[I].second;
            if (PatternOn(Style, std::int64_t(I)))
                Mask.Mark(P.X, P.Y, TFigurePart::Pen);
            else if (Fill)
                Mask.Mark(P.X, P.Y, TFigurePart::PenGap);
        }
    }
    PaintFigure(Mask);
}

void TCanvas::Polyline(std::span<const TPoint> Points)
{
    if (Points.size() < 2 || FPen.GetStyle() == TPenStyle::psClear)
        return;
    std::vector<TPoint> P(Points.begin(), Points.end());
    for (TPoint& Q : P)
        Q = Place(Q, FOrigin);
    const int Width = std::max(1, FPen.GetWidth());
    TFigureMask Mask(Inflate(PointBounds(P), Width).Intersect(Visible().GetBounds()));
    int Phase = 0;
    for (std::size_t I = 0; I + 1 < P.size(); ++I)
        MarkLine(Mask, P[I], P[I + 1], Phase);
    PaintFigure(Mask);
}

void TCanvas::Polygon(std::span<const TPoint> Points)
{
    if (Points.size() < 2)
        return;
    std::vector<TPoint> P(Points.begin(), Points.end());
    for (TPoint& Q : P)
        Q = Place(Q, FOrigin);
    const int Width = std::max(1, FPen.GetWidth());
    TFigureMask Mask(Inflate(PointBounds(P), Width).Intersect(Visible().GetBounds()));
    const TRect& Box = Mask.GetBox();
    if (FBrush.GetStyle() == TBrushStyle::bsSolid) {
        // Even-odd rule at pixel centres: an edge from (x0, y0) to (x1, y1), y0 < y1, crosses the
        // centre line of row y when y0 <= y < y1, at x0 + (y + 1/2 - y0) (x1 - x0) / (y1 - y0);
        // the pixels from the first centre at or right of one crossing up to the next are inside.
        std::vector<std::int64_t> Crossings;
        for (int Y = Box.Top; Y < Box.Bottom; ++Y) {
            Crossings.clear();
            for (std::size_t I = 0; I < P.size(); ++I) {
                TPoint A = P[I];
                TPoint B = P[(I + 1) % P.size()];
                if (A.Y == B.Y)
                    continue;
                if (A.Y > B.Y)
                    std::swap(A, B);
                if (Y < A.Y || Y >= B.Y)
                    continue;
                const std::int64_t Den = 2 * std::int64_t(B.Y - A.Y);
                const std::int64_t Num =
                    2 * std::int64_t(A.X) * (B.Y - A.Y) +
                    (2 * std::int64_t(Y) + 1 - 2 * std::int64_t(A.Y)) * (B.X - A.X);
                Crossings.push_back(CeilDiv(2 * Num - Den, 2 * Den));
            }
            std::sort(Crossings.begin(), Crossings.end());
            for (std::size_t I = 0; I + 1 < Crossings.size(); I += 2) {
                const auto Left = std::max<std::int64_t>(Crossings[I], Box.Left);
                const auto Right = std::min<std::int64_t>(Crossings[I + 1], Box.Right);
                if (Left < Right)
                    Mask.MarkSpan(Y, int(Left), int(Right), TFigurePart::Brush);
            }
        }
    }
    if (FPen.GetStyle() != TPenStyle::psClear) {
        int Phase = 0;
        for (std::size_t I = 0; I < P.size(); ++I)
            MarkLine(Mask, P[I], P[(I + 1) % P.size()], Phase);
    }
    PaintFigure(Mask);
}
