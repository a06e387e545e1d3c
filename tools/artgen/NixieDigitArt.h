#pragma once

#include "framework/graphics/Bitmap.h"
#include "tools/artgen/ArtLayer.h"

// The lit nixie numerals of ImageListNixie: 23 x 41 cells, numerals 0 to 9.
constexpr int NixieCellWidth = 23;
constexpr int NixieCellHeight = 41;
constexpr int NixieDigitCount = 10;

// One lit tube showing Digit: the glowing numeral in front of the unlit cathodes, seen through
// the anode mesh.
TArtLayer PaintNixieDigit(int Digit);

// The ten cells, CellsPerRow a row, on black.
TBitmap PaintNixieStrip(int CellsPerRow);
