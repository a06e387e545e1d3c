#pragma once

#include "framework/graphics/RegionBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

// A picture for the region benchmarks, held twice: as 32-bit pixels (what the shaped window
// scans) and as a 1-bit mask in pixman's a1 layout (32-bit words, the leftmost pixel in the
// lowest bit on this little-endian machine, rows padded with clear bits). Opaque pixels are the
// ones set in the mask and the non-black ones in the pixels.
struct TBenchPicture
{
    std::string Name;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    int WordsPerRow = 0;
    std::vector<std::uint32_t> Mask;

    struct TRun
    {
        int Y, X0, X1;
    };
    std::vector<TRun> Runs; // rows top to bottom, runs left to right

    void Set(int X, int Y, bool Opaque);
    // Fills in Mask and Runs from Pixels.
    void Finish();
};

// The clock face: six tubes with rounded tops and pins on a black ground, 300 x 120.
TBenchPicture MakeFacePicture();
// Seeded random ellipses (some cut out of others) at a density independent of the size.
TBenchPicture MakeBlobPicture(int Width, int Height, unsigned Seed);

// Finds the runs of the mask word by word and feeds them to the builder.
void ScanMask(const TBenchPicture& P, TRegionBuilder& Builder);
// Finds the runs of the pixels: every pixel compared with the transparent value.
void ScanPixels(const TBenchPicture& P, std::uint32_t Transparent, TRegionBuilder& Builder);
