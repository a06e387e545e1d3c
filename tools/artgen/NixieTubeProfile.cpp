#include "tools/artgen/NixieTubeProfile.h"

#include <array>

namespace {

using enum TTubePart;

// The large tube: a domed envelope with its tip slightly right of the axis, as a hand-sealed
// tube has it; the dome, the two bottom corners and the socket's taper each take a few rows.
// The outline of the whole face must come to 528 runs in 132 banded rectangles, so every tube
// has 21 bands over its 87 rows, one of them (the leads) holding two runs.
constexpr std::array<TTubeBand, 21> LargeBands{{
    {1, 16, 20, -1, -1, Tip},   {3, 15, 21, -1, -1, Tip},    {1, 11, 25, -1, -1, Glass},
    {1, 7, 28, -1, -1, Glass},  {1, 5, 29, -1, -1, Glass},   {1, 3, 30, -1, -1, Glass},
    {1, 2, 31, -1, -1, Glass},  {2, 1, 32, -1, -1, Glass},   {62, 0, 33, -1, -1, Glass},
    {1, 1, 32, -1, -1, Glass},  {1, 2, 31, -1, -1, Glass},   {1, 3, 30, -1, -1, Glass},
    {1, 9, 11, 22, 24, Leads},  {1, 4, 29, -1, -1, Socket},  {1, 3, 30, -1, -1, Socket},
    {3, 2, 31, -1, -1, Socket}, {1, 3, 30, -1, -1, Socket},  {1, 5, 28, -1, -1, Socket},
    {1, 8, 27, -1, -1, Socket}, {1, 10, 26, -1, -1, Socket}, {1, 13, 24, -1, -1, Socket},
}};

// The small tube, the large one at half size: 43 runs in 14 rectangles over 42 rows.
constexpr std::array<TTubeBand, 13> SmallBands{{
    {1, 8, 10, -1, -1, Tip},
    {1, 7, 11, -1, -1, Tip},
    {1, 4, 13, -1, -1, Glass},
    {1, 2, 14, -1, -1, Glass},
    {1, 1, 15, -1, -1, Glass},
    {30, 0, 16, -1, -1, Glass},
    {1, 1, 15, -1, -1, Glass},
    {1, 2, 14, -1, -1, Glass},
    {1, 4, 5, 11, 12, Leads},
    {1, 2, 14, -1, -1, Socket},
    {1, 1, 15, -1, -1, Socket},
    {1, 3, 13, -1, -1, Socket},
    {1, 6, 11, -1, -1, Socket},
}};

constexpr TTubeProfile LargeProfile{34, 28, LargeBands};
constexpr TTubeProfile SmallProfile{17, 14, SmallBands};

constexpr std::array<int, 6> LargeColumns{5, 48, 104, 147, 201, 242};
constexpr std::array<int, 6> SmallColumns{2, 24, 52, 73, 100, 121};

} // namespace

const TTubeProfile& NixieTubeProfile(bool Large)
{
    return Large ? LargeProfile : SmallProfile;
}

std::span<const int> NixieTubeColumns(bool Large)
{
    if (Large)
        return LargeColumns;
    return SmallColumns;
}

TSilhouette NixieTubeSilhouette(bool Large, int GlassLeft, int FaceWidth, int FaceHeight)
{
    const TTubeProfile& Profile = NixieTubeProfile(Large);
    TSilhouette Result(FaceWidth, FaceHeight);
    int Y = Profile.TopRow;
    for (const TTubeBand& Band : Profile.Bands) {
        Result.AddRun(Y, Y + Band.Rows, GlassLeft + Band.First, GlassLeft + Band.Last + 1);
        if (Band.SecondFirst >= 0)
            Result.AddRun(Y, Y + Band.Rows, GlassLeft + Band.SecondFirst,
                          GlassLeft + Band.SecondLast + 1);
        Y += Band.Rows;
    }
    return Result;
}

TTubePart NixieTubePartAt(bool Large, int Row)
{
    const TTubeProfile& Profile = NixieTubeProfile(Large);
    int Y = Profile.TopRow;
    for (const TTubeBand& Band : Profile.Bands) {
        if (Row >= Y && Row < Y + Band.Rows)
            return Band.Part;
        Y += Band.Rows;
    }
    return TTubePart::Glass;
}
