#include "tools/artgen/VfdFaceProfile.h"

#include <array>

namespace {

// Vfd Large, 381 x 158: 163 runs in 33 banded rectangles. The tip takes three bands, each
// rounded corner row of the frame one (ten distinct insets above and ten below), the straight
// part of the frame one, and the nine pins, six rows long, one band of nine rectangles.
constexpr std::array<TVfdFaceProfile::TTipBand, 3> LargeTip{
    {{3, 188, 192}, {1, 187, 193}, {1, 185, 195}}};
constexpr std::array<int, 18> LargeCorner{14, 11, 9, 7, 6, 5, 4, 3, 3, 2, 2, 1, 1, 1, 0, 0, 0, 0};
constexpr std::array<int, 9> LargePins{50, 85, 120, 155, 190, 225, 260, 295, 330};

// Vfd Small, 190 x 79, the large face at half size: 81 runs in 15 rectangles. One band for the
// tip, three for each pair of corners, one for the frame's straight part and seven pins of
// four rows.
constexpr std::array<TVfdFaceProfile::TTipBand, 1> SmallTip{{{2, 94, 96}}};
constexpr std::array<int, 6> SmallCorner{4, 2, 1, 1, 0, 0};
constexpr std::array<int, 7> SmallPins{23, 47, 71, 95, 119, 143, 167};

constexpr TVfdFaceProfile LargeProfile{381,         158,       LargeTip, 26, TRect(6, 31, 375, 135),
                                       LargeCorner, LargePins, 5,        6};
constexpr TVfdFaceProfile SmallProfile{190,         79,        SmallTip, 13, TRect(3, 15, 188, 66),
                                       SmallCorner, SmallPins, 3,        4};

int CornerInset(const TVfdFaceProfile& P, int Y)
{
    const int FromTop = Y - P.Frame.Top;
    const int FromBottom = P.Frame.Bottom - 1 - Y;
    const int K = FromTop < FromBottom ? FromTop : FromBottom;
    if (K < 0)
        return -1;
    if (std::size_t(K) < P.CornerInsets.size())
        return P.CornerInsets[std::size_t(K)];
    return 0;
}

} // namespace

const TVfdFaceProfile& VfdFaceProfile(bool Large)
{
    return Large ? LargeProfile : SmallProfile;
}

bool VfdFrameContains(const TVfdFaceProfile& P, int X, int Y)
{
    const int Inset = CornerInset(P, Y);
    return Inset >= 0 && X >= P.Frame.Left + Inset && X < P.Frame.Right - Inset;
}

TSilhouette VfdFaceSilhouette(const TVfdFaceProfile& P)
{
    TSilhouette Result(P.Width, P.Height);
    int Y = P.TipTop;
    for (const TVfdFaceProfile::TTipBand& Band : P.Tip) {
        Result.AddRun(Y, Y + Band.Rows, Band.First, Band.Last + 1);
        Y += Band.Rows;
    }
    for (Y = P.Frame.Top; Y < P.Frame.Bottom; ++Y) {
        const int Inset = CornerInset(P, Y);
        Result.AddRun(Y, Y + 1, P.Frame.Left + Inset, P.Frame.Right - Inset);
    }
    const int Left = -(P.PinWidth / 2);
    for (int Centre : P.PinCentres)
        Result.AddRun(P.Frame.Bottom, P.Frame.Bottom + P.PinRows, Centre + Left,
                      Centre + Left + P.PinWidth);
    return Result;
}
