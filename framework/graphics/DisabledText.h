#pragma once

#include "base/Color.h"
#include "base/Rect.h"

#include <string>

class TCanvas;

// Draws Text at (X, Y), clipped to Clip, in the engraved look of a disabled control: a
// clBtnHighlight copy one pixel down and right, then the text itself in Ink. The canvas's font
// colour is left as it was.
void PaintDisabledText(TCanvas& Canvas, const TRect& Clip, int X, int Y, const std::string& Text,
                       TColor Ink = clGrayText);
