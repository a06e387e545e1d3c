#pragma once

#include "framework/graphics/Bitmap.h"
#include "tools/artgen/ArtLayer.h"

#include <cstdint>

// The VFD digits of ImageListVfd (blue), ImageListVfdG (cyan) and ImageListVfdR (red): 25 x 40
// cells, hexadecimal digits 0 to F as slanted seven-segment figures with a decimal point.
constexpr int VfdCellWidth = 25;
constexpr int VfdCellHeight = 40;
constexpr int VfdDigitCount = 16;

// The segments a to g, in that order, as bits 0 to 6 of a mask; bit 7 is the decimal point.
std::uint8_t VfdLitSegments(int Digit);

// One cell: the segments in Mask lit in Core, the others the dim grey of an unlit anode.
TArtLayer PaintVfdCell(std::uint8_t Mask, const TArtColor& Core);

// The sixteen cells, CellsPerRow a row, on black.
TBitmap PaintVfdStrip(const TArtColor& Core, int CellsPerRow);

// True where a segment (0..6 for a..g, 7 the point) covers pixel (X, Y) of the cell.
bool VfdSegmentCovers(int Segment, int X, int Y);
