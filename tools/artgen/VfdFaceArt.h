#pragma once

#include "framework/graphics/Bitmap.h"
#include "tools/artgen/NixieFaceArt.h"
#include "tools/artgen/Silhouette.h"

// The two VFD faces: Vfd Large (381 x 158, resource 70) and Vfd Small (190 x 79, resource 69): a
// glass display tube in a brushed metal frame, its exhaust tip at the top centre and a row of
// contact pins below, the window showing the unlit digit positions.
TSilhouette VfdFaceSilhouette(bool Large);
TBitmap PaintVfdFace(bool Large);

const TDigitLayout& VfdDigitLayout(bool Large);
