#pragma once

#include "framework/graphics/Bitmap.h"
#include "tools/artgen/ArtLayer.h"

// The LED pictures of the binary clock: 18 x 18, a round lens in a dark bezel, lit or unlit.
constexpr int LedSize = 18;

// The four LED colours, by the control's LedColor 0 to 3: red, green, blue and amber.
TArtColor LedHue(int LedColor);

TBitmap PaintLed(const TArtColor& Hue, bool On);
