#pragma once

#include "base/Color.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Region.h"

#include <optional>

// The outline of a picture: every pixel whose colour differs from TransparentColor (0x00BBGGRR,
// all 24 bits compared, no tolerance), as a region in banded canonical form. None for an absent
// or empty bitmap and for one without a single opaque pixel. A colour with bits above the low 24
// (a system colour, clNone) matches no pixel. The bitmap is only read; the time taken is one pass
// over the pixels plus a constant per run.
//
// A pf24bit bitmap has its pixel values compared with the colour directly; any other format is
// first turned into a two-colour mask (1 where the pixel has the transparent colour), whose runs
// of 0 bits are the opaque runs. Both roads give the same region for the same pixels.
std::optional<TRegion> CreateRegionFromBitmap(const TBitmap* Bitmap, TColor TransparentColor);
