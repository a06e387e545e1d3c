#include "framework/graphics/Canvas.h"
#include "tests/resources/ArtTestFiles.h"
#include "tests/support/FaceArt.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace ArtTest;

// The binary clock's picture pairs by LED colour: off, then on.
struct TLedPair
{
    int Color;
    int OffId;
    int OnId;
};

void PrintTo(const TLedPair& P, std::ostream* Out)
{
    *Out << "colour " << P.Color << " (off " << P.OffId << ", on " << P.OnId << ")";
}

const TLedPair Pairs[] = {{0, 89, 88}, {1, 79, 80}, {2, 77, 78}, {3, 75, 76}};

TBitmap Shrink(const TBitmap& Source, int Size)
{
    TBitmap B(Size, Size);
    B.GetCanvas().StretchDraw(TRect(0, 0, Size, Size), Source);
    return B;
}

struct TStats
{
    double Brightness; // mean of the channel sums over the middle of the picture
    double R, G, B;
    // The strongest channel of the mean colour: how bright the LED looks whatever its hue.
    double Value() const { return std::max({R, G, B}); }
};

// The middle half of the picture (at least one pixel), where the lens is.
TStats Middle(const TBitmap& B)
{
    const int From = B.GetWidth() / 4;
    const int To = std::max(B.GetWidth() - B.GetWidth() / 4, From + 1);
    TStats S{0, 0, 0, 0};
    int N = 0;
    for (int Y = From; Y < To; ++Y)
        for (int X = From; X < To; ++X) {
            const TRgb P = RgbAt(B, X, Y);
            S.R += P.R;
            S.G += P.G;
            S.B += P.B;
            ++N;
        }
    S.R /= N;
    S.G /= N;
    S.B /= N;
    S.Brightness = S.R + S.G + S.B;
    return S;
}

class LedPicture : public testing::TestWithParam<TLedPair>
{};

TEST_P(LedPicture, IsAnOpaque18By18TrueColourPicture)
{
    for (int Id : {GetParam().OffId, GetParam().OnId}) {
        const TBitmap B = LoadBitmapResource(Id);
        EXPECT_EQ(B.GetWidth(), 18) << Id;
        EXPECT_EQ(B.GetHeight(), 18) << Id;
        EXPECT_EQ(B.GetPixelFormat(), TPixelFormat::pf24bit) << Id;
    }
}

// On and off must be told apart at a glance in every layout: 18, 9 and 5 pixels.
TEST_P(LedPicture, LitAndUnlitAreClearlyApartAtEverySize)
{
    const TBitmap Off = LoadBitmapResource(GetParam().OffId);
    const TBitmap On = LoadBitmapResource(GetParam().OnId);
    ASSERT_FALSE(Off.Empty());
    ASSERT_FALSE(On.Empty());
    for (int Size : {18, 9, 5}) {
        const TStats L = Middle(Size == 18 ? On : Shrink(On, Size));
        const TStats U = Middle(Size == 18 ? Off : Shrink(Off, Size));
        EXPECT_GT(L.Value(), 2.5 * U.Value()) << "size " << Size;
        EXPECT_GT(L.Value(), 180) << "size " << Size;
    }
}

INSTANTIATE_TEST_SUITE_P(Colors, LedPicture, testing::ValuesIn(Pairs),
                         [](const testing::TestParamInfo<TLedPair>& Info) {
                             return "Color" + std::to_string(Info.param.Color);
                         });

// The four colours are four different hues, lit and unlit alike.
TEST(LedPictures, TheFourColoursDifferFromEachOther)
{
    for (bool On : {false, true}) {
        std::vector<TStats> S;
        for (const TLedPair& P : Pairs)
            S.push_back(Middle(LoadBitmapResource(On ? P.OnId : P.OffId)));
        for (std::size_t I = 0; I < S.size(); ++I)
            for (std::size_t J = I + 1; J < S.size(); ++J) {
                // Compare the colours' proportions, so a brighter picture is not a new hue.
                const double A[3] = {S[I].R / S[I].Brightness, S[I].G / S[I].Brightness,
                                     S[I].B / S[I].Brightness};
                const double B[3] = {S[J].R / S[J].Brightness, S[J].G / S[J].Brightness,
                                     S[J].B / S[J].Brightness};
                const double D =
                    std::abs(A[0] - B[0]) + std::abs(A[1] - B[1]) + std::abs(A[2] - B[2]);
                EXPECT_GT(D, On ? 0.4 : 0.15)
                    << "colours " << I << " and " << J << (On ? " lit" : " unlit");
            }
    }
}

} // namespace
