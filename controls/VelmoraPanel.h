#pragma once

#include "framework/stdctrls/CustomPanel.h"

#include <cstdint>

// A panel framed by a band of lines that ramp in brightness from the band's middle line towards
// both of its edges, filled with its Color inside the band. Each of red, green and blue is either
// fixed (its low byte) or ramped (-1). Every setter stores without a range check and repaints at
// once.
class TVelmoraPanel : public TCustomPanel
{
    PUBLISHED_CLASS(TVelmoraPanel, TCustomPanel)

    explicit TVelmoraPanel(TComponent* AOwner);
    ~TVelmoraPanel() override;

    std::int32_t GetDoRed() const { return FDoRed; }
    void SetDoRed(std::int32_t Value) { SetAndRepaint(FDoRed, Value); }
    std::int32_t GetDoGreen() const { return FDoGreen; }
    void SetDoGreen(std::int32_t Value) { SetAndRepaint(FDoGreen, Value); }
    std::int32_t GetDoBlue() const { return FDoBlue; }
    void SetDoBlue(std::int32_t Value) { SetAndRepaint(FDoBlue, Value); }
    std::int32_t GetMaxInc() const { return FMaxInc; }
    void SetMaxInc(std::int32_t Value) { SetAndRepaint(FMaxInc, Value); }
    std::int32_t GetBarWidth() const { return FBarWidth; }
    void SetBarWidth(std::int32_t Value) { SetAndRepaint(FBarWidth, Value); }

    static void DeclareClass(TClassDeclaration<TVelmoraPanel>& D);

protected:
    void Paint() override;

private:
    std::int32_t FBarWidth = 6;
    std::int32_t FDoRed = 255;
    std::int32_t FDoGreen = -1;
    std::int32_t FDoBlue = 0;
    std::int32_t FMaxInc = 150;
};

// The outline of a rectangle in the pen colour: (X1, Y1) to (X2, Y1) to (X2, Y2) to (X1, Y2) and
// back, every corner drawn.
void PaintOutline(TCanvas& Canvas, int X1, int Y1, int X2, int Y2);

// The ramped band along the inside of the rectangle from (0, 0) to (Right, Bottom): 2 * (B / 2)
// - 1 outlines, the middle one at inset B / 2 - 1, the channel values stepping by M / (B / 2)
// outwards from it (-1 ramps a channel, any other value fixes it to its low byte). Left and Top
// are not used. B of 0, 1 or -1 draws nothing. The pen colour is left as it was.
void PaintRampFrame(TCanvas& Canvas, int Left, int Top, int Right, int Bottom, int B, int M,
                    int Red, int Green, int Blue);

// The same ramp as a vertical bar of 2 * (B / 2) - 1 lines from TopY down to, not including,
// BottomY, centred at X + W / 2 - 1 in a column of width W, stepping by 150 / (B / 2). W or B of
// 0, and B of 1 or -1, draw nothing. The pen colour is left as it was.
void PaintRampBar(TCanvas& Canvas, int X, int TopY, int BottomY, int B, int W, int Red, int Green,
                  int Blue);

namespace VelmoraPanel {
// Puts TVelmoraPanel on the component palette page "Additional".
void Register();
} // namespace VelmoraPanel
