#pragma once

#include "framework/graphics/Bitmap.h"
#include "tools/artgen/Silhouette.h"

// The two nixie faces: Nixie Large (300 x 120, resource 71) and Nixie Small (150 x 60, resource
// 72), six cold tubes each, standing in their sockets on black.
TSilhouette NixieFaceSilhouette(bool Large);
TBitmap PaintNixieFace(bool Large);

// Where the digits of the style fall on the face: the left column of each digit cell, its top row
// and its size (the layout of the clock's styles).
struct TDigitLayout
{
    int Columns[6];
    int Top;
    int Width;
    int Height;
};
const TDigitLayout& NixieDigitLayout(bool Large);
