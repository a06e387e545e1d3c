#include "controls/VelmoraPanel.h"

#include "framework/objects/ClassRegistry.h"

#include <algorithm>

namespace {

// A channel argument of -1 takes the ramp value; either way only the low byte counts, so ramp
// values above 255 wrap round.
std::uint8_t Channel(int Argument, int Value)
{
    return std::uint8_t(std::uint32_t(Argument == -1 ? Value : Argument) & 0xFFu);
}

TColor RampColor(int Value, int Red, int Green, int Blue)
{
    return RGB(Channel(Red, Value), Channel(Green, Value), Channel(Blue, Value));
}

// Restores the pen colour that a ramp routine found, however it leaves.
class TPenColorKeeper
{
public:
    explicit TPenColorKeeper(TCanvas& Canvas) : FCanvas(Canvas), FColor(Canvas.GetPen().GetColor())
    {}
    ~TPenColorKeeper() { FCanvas.GetPen().SetColor(FColor); }
    TPenColorKeeper(const TPenColorKeeper&) = delete;
    TPenColorKeeper& operator=(const TPenColorKeeper&) = delete;

private:
    TCanvas& FCanvas;
    TColor FColor;
};

} // namespace

TVelmoraPanel::TVelmoraPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}

TVelmoraPanel::~TVelmoraPanel() = default;

void TVelmoraPanel::DeclareClass(TClassDeclaration<TVelmoraPanel>& D)
{
    // Font, DoubleBuffered, Anchors and Color come from the bases. The own properties declare
    // the stored default 0, so a 0 is not written and a form read back keeps the construction
    // value.
    D.Integer("DoRed", &TVelmoraPanel::GetDoRed, &TVelmoraPanel::SetDoRed);
    D.Integer("DoGreen", &TVelmoraPanel::GetDoGreen, &TVelmoraPanel::SetDoGreen);
    D.Integer("DoBlue", &TVelmoraPanel::GetDoBlue, &TVelmoraPanel::SetDoBlue);
    D.Integer("MaxInc", &TVelmoraPanel::GetMaxInc, &TVelmoraPanel::SetMaxInc);
    D.Integer("BarWidth", &TVelmoraPanel::GetBarWidth, &TVelmoraPanel::SetBarWidth);
}

void VelmoraPanel::Register()
{
    RegisterComponents<TVelmoraPanel>("Additional");
}

// ---- Properties -----------------------------------------------------------------------------

// ---- Painting -------------------------------------------------------------------------------

void TVelmoraPanel::Paint()
{
    // The band and the fill replace the base panel's bevels and caption.
    TCanvas& Canvas = GetCanvas();
    const TRect R = GetClientRect();
    PaintRampFrame(Canvas, R.Left, R.Top, R.Right, R.Bottom, FBarWidth, FMaxInc, FDoRed, FDoGreen,
                   FDoBlue);
    Canvas.GetBrush().SetStyle(TBrushStyle::bsSolid);
    Canvas.GetBrush().SetColor(GetColor());
    // An even BarWidth meets the band's innermost line; an odd one leaves a ring between them
    // as it was. A BarWidth of 0 or less reaches beyond the client area on every side. The edges
    // are worked out wide and brought back near the client area, so that no BarWidth overflows;
    // the same bounds for all four keep an empty rectangle empty.
    const std::int64_t Inset = std::int64_t(FBarWidth) - 1;
    const std::int64_t Low = -1;
    const std::int64_t High = std::int64_t(std::max(R.Right, R.Bottom)) + 1;
    const auto Edge = [&](std::int64_t V) { return int(std::clamp(V, Low, High)); };
    Canvas.FillRect({Edge(Inset), Edge(Inset), Edge(R.Right - Inset), Edge(R.Bottom - Inset)});
}

void PaintOutline(TCanvas& Canvas, int X1, int Y1, int X2, int Y2)
{
    Canvas.MoveTo(X1, Y1);
    Canvas.LineTo(X2, Y1);
    Canvas.LineTo(X2, Y2);
    Canvas.LineTo(X1, Y2);
    Canvas.LineTo(X1, Y1);
}

void PaintRampFrame(TCanvas& Canvas, int /*Left*/, int /*Top*/, int Right, int Bottom, int B, int M,
                    int Red, int Green, int Blue)
{
    const int N = B / 2;
    // A B of 1 or -1 has no lines and no step to divide by; a negative B has no lines either.
    if (N <= 0)
        return;
    const int Step = M / N;
    const int Middle = N - 1;
    // An outline inset beyond Limit has all four sides outside what the canvas can draw: a band
    // far wider than the canvas costs no more than one that fits.
    const TRect Clip = Canvas.GetClipRect();
    const std::int64_t Limit =
        std::max({std::int64_t(Clip.Right), std::int64_t(Clip.Bottom),
                  std::int64_t(Bottom) - Clip.Top, std::int64_t(Right) - Clip.Left});
    const TPenColorKeeper Keep(Canvas);
    for (int I = int(std::max<std::int64_t>(0, Middle - Limit)); I < N; ++I) {
        Canvas.GetPen().SetColor(RampColor(I * Step, Red, Green, Blue));
        const int Inner = Middle - I;
        const int Outer = Middle + I;
        PaintOutline(Canvas, Inner, Inner, Right - Inner - 1, Bottom - Inner - 1);
        if (Outer <= Limit)
            PaintOutline(Canvas, Outer, Outer, Right - Outer - 1, Bottom - Outer - 1);
    }
}

void PaintRampBar(TCanvas& Canvas, int X, int TopY, int BottomY, int B, int W, int Red, int Green,
                  int Blue)
{
    const int N = B / 2;
    // As in the frame: no lines, and no division by zero, for a B of 1 or -1.
    if (W == 0 || N <= 0)
        return;
    const int Step = 150 / N;
    const int Centre = X + W / 2 - 1;
    // Only the lines that fall inside the canvas's clip are drawn: the left ones for I in
    // [C - Right + 1, C - Left], the right ones for I in [Left - C, Right - 1 - C].
    const TRect Clip = Canvas.GetClipRect();
    const std::int64_t C = Centre;
    const TPenColorKeeper Keep(Canvas);
    const auto Lines = [&](std::int64_t From, std::int64_t To, int Side) {
        const int Last = int(std::min<std::int64_t>(To, N - 1));
        for (int I = int(std::clamp<std::int64_t>(From, 0, N)); I <= Last; ++I) {
            Canvas.GetPen().SetColor(RampColor(I * Step, Red, Green, Blue));
            Canvas.MoveTo(Centre + Side * I, TopY);
            Canvas.LineTo(Centre + Side * I, BottomY);
        }
    };
    Lines(C - Clip.Right + 1, C - Clip.Left, -1);
    Lines(std::int64_t(Clip.Left) - C, std::int64_t(Clip.Right) - 1 - C, 1);
}
