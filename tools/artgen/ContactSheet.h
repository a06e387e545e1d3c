#pragma once

#include "framework/graphics/Bitmap.h"

// A preview of every picture the generator draws, at 1x and 4x, with the four clock styles shown
// as they sit on a desktop (face outline cut out, lit digits drawn in the style's layout).
TBitmap RenderContactSheet();
