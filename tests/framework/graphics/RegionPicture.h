#pragma once

// Pictures whose opaque pixels make a known list of canonical rectangles, for every test that
// reads a region out of pixels its own way (runs fed to the builder, pixman's reading of the same
// 1-bit image). Some are wider than a word of bits, where a reading of the image crosses words.

#include "base/Rect.h"

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

struct TRegionPicture
{
    const char* Name;
    int Width, Height;
    std::vector<TRect> Opaque;   // filled in an otherwise transparent picture
    std::vector<TRect> Expected; // its rectangles, top to bottom, left to right
};

inline void PrintTo(const TRegionPicture& P, std::ostream* Out)
{
    *Out << P.Name;
}

inline auto RegionPictures()
{
    return testing::Values(
        // Identical rows above each other merge into one taller rectangle.
        TRegionPicture{"Block", 10, 12, {{2, 5, 5, 9}}, {{2, 5, 5, 9}}},
        // One transparent row between blocks of the same columns keeps them apart.
        TRegionPicture{
            "SplitBlocks", 8, 8, {{1, 1, 4, 3}, {1, 4, 4, 6}}, {{1, 1, 4, 3}, {1, 4, 4, 6}}},
        TRegionPicture{"NoTransparentPixel", 37, 5, {{0, 0, 37, 5}}, {{0, 0, 37, 5}}},
        TRegionPicture{"RunToTheRightEdge", 6, 2, {{3, 1, 6, 2}}, {{3, 1, 6, 2}}},
        // The last run ends at the right edge, beyond the first word of bits.
        TRegionPicture{
            "RunToTheRightEdgeOfTheSecondWord", 40, 3, {{30, 1, 40, 2}}, {{30, 1, 40, 2}}},
        TRegionPicture{"SinglePixel", 5, 5, {{4, 0, 5, 1}}, {{4, 0, 5, 1}}},
        TRegionPicture{"SinglePixelInTheSecondWord", 70, 4, {{33, 2, 34, 3}}, {{33, 2, 34, 3}}},
        TRegionPicture{"AllTransparent", 5, 5, {}, {}},
        // A ring: the hole splits the middle rows into two spans.
        TRegionPicture{"Ring",
                       5,
                       5,
                       {{0, 0, 5, 1}, {0, 1, 1, 4}, {4, 1, 5, 4}, {0, 4, 5, 5}},
                       {{0, 0, 5, 1}, {0, 1, 1, 4}, {4, 1, 5, 4}, {0, 4, 5, 5}}},
        TRegionPicture{"Steps",
                       4,
                       3,
                       {{0, 0, 1, 1}, {0, 1, 2, 2}, {0, 2, 3, 3}},
                       {{0, 0, 1, 1}, {0, 1, 2, 2}, {0, 2, 3, 3}}});
}
