#include "shaped/RegionFromBitmap.h"

#include "framework/graphics/Bitmap.h"
#include "tests/support/CaseName.h"
#include "tests/support/FaceArt.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

// A bitmap of one colour with some pixels set, by (x, y, colour).
struct TPixelSet
{
    int X, Y;
    TColor Color;
};

TBitmap MakeBitmap(int W, int H, TColor Ground, std::initializer_list<TPixelSet> Pixels,
                   TPixelFormat Format = TPixelFormat::pf24bit)
{
    TBitmap B(W, H, Format);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            B.SetPixel(X, Y, Ground);
    for (const TPixelSet& P : Pixels)
        B.SetPixel(P.X, P.Y, P.Color);
    return B;
}

void FillBlock(TBitmap& B, const TRect& R, TColor Color)
{
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            B.SetPixel(X, Y, Color);
}

// The oracle: one single-pixel rectangle for each pixel whose colour is not Key, united by the
// framework's general union (not the builder the routine uses).
std::optional<TRegion> PixelByPixel(const TBitmap& B, TColor Key)
{
    std::vector<TRect> Pixels;
    for (int Y = 0; Y < B.GetHeight(); ++Y)
        for (int X = 0; X < B.GetWidth(); ++X)
            if (B.GetPixel(X, Y) != Key)
                Pixels.push_back({X, Y, X + 1, Y + 1});
    if (Pixels.empty())
        return std::nullopt;
    return TRegion::FromRects(Pixels);
}

std::vector<TRect> Rects(const std::optional<TRegion>& R)
{
    if (!R)
        return {};
    return {R->GetRects().begin(), R->GetRects().end()};
}

struct TEdgeCase
{
    const char* Name;
    TBitmap Bitmap;
    TColor Key;
    std::vector<TRect> Expected; // empty: no region at all
};

void PrintTo(const TEdgeCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

std::vector<TEdgeCase> EdgeCases()
{
    std::vector<TEdgeCase> Cases;
    Cases.push_back({"NoTransparentPixel", MakeBitmap(7, 3, clRed, {}), clBlack, {{0, 0, 7, 3}}});
    Cases.push_back({"AllTransparent", MakeBitmap(7, 3, clBlack, {}), clBlack, {}});
    Cases.push_back({"RunEndsAtTheRowsEnd",
                     MakeBitmap(70, 2, clBlack, {{68, 1, clWhite}, {69, 1, clWhite}}),
                     clBlack,
                     {{68, 1, 70, 2}}});
    Cases.push_back(
        {"SinglePixel", MakeBitmap(9, 9, clBlack, {{4, 6, clLime}}), clBlack, {{4, 6, 5, 7}}});
    // One step in one channel is another colour; the key is 0x00BBGGRR, not the pixel layout.
    Cases.push_back(
        {"OneStepInEachChannelIsOpaque",
         MakeBitmap(5, 1, RGB(10, 20, 30),
                    {{0, 0, RGB(11, 20, 30)}, {2, 0, RGB(10, 21, 30)}, {4, 0, RGB(10, 20, 29)}}),
         RGB(10, 20, 30),
         {{0, 0, 1, 1}, {2, 0, 3, 1}, {4, 0, 5, 1}}});
    Cases.push_back({"RedAndBlueNotSwapped",
                     MakeBitmap(2, 1, RGB(1, 2, 3), {{1, 0, RGB(3, 2, 1)}}),
                     RGB(1, 2, 3),
                     {{1, 0, 2, 1}}});
    TBitmap Block = MakeBitmap(12, 12, clBlack, {});
    FillBlock(Block, {2, 5, 5, 9}, clYellow);
    Cases.push_back({"IdenticalRowsMerge", Block, clBlack, {{2, 5, 5, 9}}});
    TBitmap Split = MakeBitmap(6, 6, clBlack, {});
    FillBlock(Split, {1, 0, 4, 2}, clWhite);
    FillBlock(Split, {1, 3, 4, 6}, clWhite);
    Cases.push_back(
        {"OneTransparentRowSplitsTheBand", Split, clBlack, {{1, 0, 4, 2}, {1, 3, 4, 6}}});
    // A colour beyond 24 bits is no pixel's colour.
    Cases.push_back(
        {"SystemColourMatchesNothing", MakeBitmap(3, 2, clBlack, {}), clBtnFace, {{0, 0, 3, 2}}});
    return Cases;
}

class RegionFromBitmapEdge : public testing::TestWithParam<TEdgeCase>
{};

TEST_P(RegionFromBitmapEdge, GivesTheCanonicalRectangles)
{
    const TEdgeCase& C = GetParam();
    for (TPixelFormat Format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap B = C.Bitmap;
        B.SetPixelFormat(Format);
        const std::optional<TRegion> R = CreateRegionFromBitmap(&B, C.Key);
        EXPECT_EQ(R.has_value(), !C.Expected.empty()) << int(Format);
        EXPECT_EQ(Rects(R), C.Expected) << int(Format);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RegionFromBitmapEdge, testing::ValuesIn(EdgeCases()), ByName{});

TEST(RegionFromBitmap, AnAbsentOrEmptyBitmapGivesNoRegion)
{
    EXPECT_FALSE(CreateRegionFromBitmap(nullptr, clBlack));
    const TBitmap NoWidth(0, 5, TPixelFormat::pf24bit), NoHeight(5, 0, TPixelFormat::pf24bit);
    EXPECT_FALSE(CreateRegionFromBitmap(&NoWidth, clWhite));
    EXPECT_FALSE(CreateRegionFromBitmap(&NoHeight, clWhite));
}

TEST(RegionFromBitmap, ATwoColourBitmapGoesThroughTheMask)
{
    TBitmap Mono = MakeBitmap(20, 3, clWhite, {{3, 1, clBlack}, {4, 1, clBlack}, {19, 2, clBlack}},
                              TPixelFormat::pf1bit);
    EXPECT_EQ(Rects(CreateRegionFromBitmap(&Mono, clWhite)),
              (std::vector<TRect>{{3, 1, 5, 2}, {19, 2, 20, 3}}));
    // The other colour as the key gives the complement.
    EXPECT_EQ(CreateRegionFromBitmap(&Mono, clBlack), PixelByPixel(Mono, clBlack));
}

// Seeded pictures against the pixel-by-pixel oracle: widths around the 64-pixel words, colours
// one step from the key, every format; both roads (pixel values and mask) must agree.
TEST(RegionFromBitmap, RandomPicturesMatchTheUnionOfTheirOpaquePixels)
{
    std::mt19937 Rng(20240613u);
    auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
    const TColor Key = RGB(40, 80, 120);
    const TColor Others[] = {RGB(41, 80, 120), RGB(40, 81, 120), RGB(40, 80, 121), clWhite,
                             RGB(120, 80, 40)};
    for (int Case = 0; Case < 300; ++Case) {
        const int W = Pick(1, 140), H = Pick(1, 12);
        TBitmap B(W, H, TPixelFormat::pf24bit);
        const int Density = Pick(0, 100);
        for (int Y = 0; Y < H; ++Y) {
            // Repeat the row above now and then, so that bands grow taller than one row.
            if (Y > 0 && Pick(0, 3) == 0) {
                for (int X = 0; X < W; ++X)
                    B.SetPixel(X, Y, B.GetPixel(X, Y - 1));
                continue;
            }
            for (int X = 0; X < W; ++X)
                B.SetPixel(X, Y, Pick(0, 99) < Density ? Others[Pick(0, 4)] : Key);
        }
        const std::optional<TRegion> Expected = PixelByPixel(B, Key);
        const std::optional<TRegion> Got = CreateRegionFromBitmap(&B, Key);
        ASSERT_EQ(Got, Expected) << "case " << Case << ": " << W << " x " << H;
        if (Got) {
            EXPECT_TRUE(Got->SelfCheck());
        }
        TBitmap B32 = B;
        B32.SetPixelFormat(TPixelFormat::pf32bit);
        ASSERT_EQ(CreateRegionFromBitmap(&B32, Key), Expected) << "mask road, case " << Case;
    }
}

// The runs of a picture as a plain scan over GetPixel finds them.
int CountRuns(const TBitmap& B, TColor Key)
{
    int Runs = 0;
    for (int Y = 0; Y < B.GetHeight(); ++Y)
        for (int X = 0; X < B.GetWidth(); ++X)
            if (B.GetPixel(X, Y) != Key && (X == 0 || B.GetPixel(X - 1, Y) == Key))
                ++Runs;
    return Runs;
}

class FaceOutline : public testing::TestWithParam<TFaceCheck>
{};

TEST_P(FaceOutline, HasTheCheckValuesOfTheFace)
{
    const TFaceCheck& C = GetParam();
    const TBitmap Face = LoadBitmapResource(C.Id);
    ASSERT_EQ(Face.GetWidth(), C.Width);
    ASSERT_EQ(Face.GetHeight(), C.Height);
    ASSERT_EQ(Face.GetPixelFormat(), TPixelFormat::pf24bit);
    ASSERT_EQ(Face.GetPixel(0, C.Height - 1), clBlack);
    EXPECT_EQ(CountRuns(Face, clBlack), C.Runs);
    const std::optional<TRegion> R = CreateRegionFromBitmap(&Face, clBlack);
    ASSERT_TRUE(R);
    EXPECT_EQ(R->GetRectCount(), C.Rects);
    EXPECT_EQ(R, PixelByPixel(Face, clBlack));
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceOutline, testing::ValuesIn(FaceChecks), ByName{});

TEST(RegionFromBitmap, TheNixieLargeFaceHasItsBandsBoundsAndEnds)
{
    const TBitmap Face = LoadBitmapResource(71);
    const std::optional<TRegion> R = CreateRegionFromBitmap(&Face, clBlack);
    ASSERT_TRUE(R);
    EXPECT_EQ(R->GetBandCount(), 21u);
    EXPECT_EQ(R->GetBounds(), TRect(5, 28, 276, 115));
    const std::vector<TRect> FirstBand(R->GetRects().begin(), R->GetRects().begin() + 6);
    EXPECT_EQ(FirstBand, (std::vector<TRect>{{21, 28, 26, 29},
                                             {64, 28, 69, 29},
                                             {120, 28, 125, 29},
                                             {163, 28, 168, 29},
                                             {217, 28, 222, 29},
                                             {258, 28, 263, 29}}));
    EXPECT_NE(R->GetRects()[6].Top, 28);
    EXPECT_EQ(R->GetRects().back(), TRect(255, 114, 267, 115));
}

} // namespace
