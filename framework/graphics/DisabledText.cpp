#include "framework/graphics/DisabledText.h"

#include "framework/graphics/Canvas.h"

void PaintDisabledText(TCanvas& Canvas, const TRect& Clip, int X, int Y, const std::string& Text,
                       TColor Ink)
{
    TFont& Font = Canvas.GetFont();
    const TColor Saved = Font.GetColor();
    Font.SetColor(clBtnHighlight);
    Canvas.TextRect(Clip, X + 1, Y + 1, Text);
    Font.SetColor(Ink);
    Canvas.TextRect(Clip, X, Y, Text);
    Font.SetColor(Saved);
}
