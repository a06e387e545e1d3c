#pragma once

#include "base/Color.h"
#include "base/Rect.h"

class TCanvas;

// Draws Width nested one-pixel frames inside Rect, the top and left sides in TopColor and the
// bottom and right sides in BottomColor (which also takes the top-right and bottom-left
// corners), and shrinks Rect by Width on every side: the raised or sunken edge of the classic
// look.
void Frame3D(TCanvas& Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
