#pragma once

#include "tools/artgen/ArtGeometry.h"

#include <vector>

// The cathode shapes of a nixie tube, numerals 0 to 9, as centre lines of bent wire fitted to a
// box (Left, Top, Width, Height). The numerals are the tall, narrow forms of the classic side-view
// tubes; each stays clear of the others' distinctive parts so it reads when it glows.
std::vector<TPolyline> NixieGlyph(int Digit, double Left, double Top, double Width, double Height);
