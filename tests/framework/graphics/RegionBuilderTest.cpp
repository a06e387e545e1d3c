#include "framework/graphics/RegionBuilder.h"

#include "tests/framework/graphics/PixelGrid.h"
#include "tests/framework/graphics/RegionPicture.h"
#include "tests/support/CaseName.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<TRect> RectsOf(const TRegion& R)
{
    return {R.GetRects().begin(), R.GetRects().end()};
}

TRegion BuildFromGrid(const TPixelGrid& G)
{
    TRegionBuilder B;
    for (const TPixelGrid::TRun& R : G.Runs())
        B.AddRun(R.Y, R.X0, R.X1);
    return B.Finish();
}

} // namespace

class RegionBuilderPicture : public testing::TestWithParam<TRegionPicture>
{};

TEST_P(RegionBuilderPicture, GivesTheCanonicalRectangles)
{
    const TRegionPicture& C = GetParam();
    TPixelGrid G(C.Width, C.Height);
    for (const TRect& R : C.Opaque)
        G.Fill(R);
    const TRegion Region = BuildFromGrid(G);
    EXPECT_EQ(RectsOf(Region), C.Expected);
    EXPECT_TRUE(Region.SelfCheck());
}

INSTANTIATE_TEST_SUITE_P(Cases, RegionBuilderPicture, RegionPictures(), ByName{});

TEST(RegionBuilder, TouchingRunsCoalesceAndEmptyRowsLeaveGaps)
{
    TRegionBuilder B;
    B.BeginRow(3);
    B.AddRun(1, 3);
    B.AddRun(3, 5); // touches: one span 1..5
    B.AddRun(7, 7); // empty: nothing
    B.AddRun(8, 9);
    B.BeginRow(4);
    B.AddRun(1, 5);
    B.AddRun(8, 9); // same spans as row 3: one band
    B.BeginRow(5);  // no run
    B.BeginRow(6);
    B.AddRun(1, 5);
    B.AddRun(8, 9);
    B.AddRun(10, 20, 21); // rows may be skipped
    const TRegion R = B.Finish();
    EXPECT_EQ(RectsOf(R),
              (std::vector<TRect>{
                  {1, 3, 5, 5}, {8, 3, 9, 5}, {1, 6, 5, 7}, {8, 6, 9, 7}, {20, 10, 21, 11}}));
    EXPECT_EQ(R.GetBounds(), TRect(1, 3, 21, 11));
    EXPECT_EQ(R.GetBandCount(), 3u);
}

TEST(RegionBuilder, IsEmptyAgainAfterFinish)
{
    TRegionBuilder B;
    EXPECT_TRUE(B.Finish().IsEmpty());
    B.AddRun(9, 0, 4);
    EXPECT_EQ(RectsOf(B.Finish()), (std::vector<TRect>{{0, 9, 4, 10}}));
    // A new region may start above where the last one ended.
    B.AddRun(2, 1, 2);
    EXPECT_EQ(RectsOf(B.Finish()), (std::vector<TRect>{{1, 2, 2, 3}}));
}

struct TMisuseCase
{
    const char* Name;
    std::function<void(TRegionBuilder&)> Feed;
};

class RegionBuilderMisuse : public testing::TestWithParam<TMisuseCase>
{};

TEST_P(RegionBuilderMisuse, Throws)
{
    TRegionBuilder B;
    EXPECT_THROW(GetParam().Feed(B), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegionBuilderMisuse,
    testing::Values(TMisuseCase{"RunOutsideRow", [](TRegionBuilder& B) { B.AddRun(0, 1); }},
                    TMisuseCase{"RowsUpward",
                                [](TRegionBuilder& B) {
                                    B.AddRun(5, 0, 1);
                                    B.AddRun(4, 0, 1);
                                }},
                    TMisuseCase{"RowTwice",
                                [](TRegionBuilder& B) {
                                    B.BeginRow(5);
                                    B.BeginRow(5);
                                }},
                    TMisuseCase{"EmptyRowThenUpward",
                                [](TRegionBuilder& B) {
                                    B.BeginRow(5);
                                    B.BeginRow(2);
                                }},
                    TMisuseCase{"RunsLeftward",
                                [](TRegionBuilder& B) {
                                    B.AddRun(0, 5, 8);
                                    B.AddRun(0, 1, 2);
                                }},
                    TMisuseCase{"RunsOverlap",
                                [](TRegionBuilder& B) {
                                    B.AddRun(0, 1, 4);
                                    B.AddRun(0, 3, 6);
                                }},
                    TMisuseCase{"InvertedRun", [](TRegionBuilder& B) { B.AddRun(0, 4, 3); }},
                    TMisuseCase{"LastRow", [](TRegionBuilder& B) { B.BeginRow(INT_MAX); }}),
    ByName{});

// Seeded random pictures against the pixel model.
TEST(RegionBuilder, MatchesThePixelModelOnRandomPictures)
{
    std::mt19937 Rng(20240611);
    for (int Round = 0; Round < 600; ++Round) {
        const int W = std::uniform_int_distribution<int>(1, 48)(Rng);
        const int H = std::uniform_int_distribution<int>(1, 48)(Rng);
        const TPixelGrid G = RandomPicture(Rng, W, H);
        const TRegion R = BuildFromGrid(G);
        ASSERT_EQ(RectsOf(R), G.CanonicalRects()) << "round " << Round;
        ASSERT_TRUE(R.SelfCheck());
        // Run by run union of single-row rectangles reaches the same form.
        std::vector<TRect> Rows;
        for (const TPixelGrid::TRun& Run : G.Runs())
            Rows.push_back({Run.X0, Run.Y, Run.X1, Run.Y + 1});
        ASSERT_EQ(TRegion::FromRects(Rows), R) << "round " << Round;
    }
}
