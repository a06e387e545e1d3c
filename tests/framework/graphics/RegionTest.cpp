#include "framework/graphics/Region.h"

#include "tests/framework/graphics/PixelGrid.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<TRect> RectsOf(const TRegion& R)
{
    return {R.GetRects().begin(), R.GetRects().end()};
}

// The region equals the canonical form of the grid, its bounds and band count agree, and it
// passes its own check.
void ExpectRegionIs(const TRegion& R, const TPixelGrid& G)
{
    const std::vector<TRect> Expected = G.CanonicalRects();
    ASSERT_EQ(RectsOf(R), Expected);
    EXPECT_TRUE(R.SelfCheck());
    TRect Bounds;
    for (const TRect& E : Expected)
        Bounds = Bounds.Union(E);
    EXPECT_EQ(R.GetBounds(), Bounds);
    std::size_t Bands = 0;
    for (std::size_t I = 0; I < Expected.size(); ++I)
        Bands += I == 0 || Expected[I].Top != Expected[I - 1].Top;
    EXPECT_EQ(R.GetBandCount(), Bands);
    EXPECT_EQ(R.IsEmpty(), Expected.empty());
}

} // namespace

TEST(Region, EmptyAndSingleRectangle)
{
    const TRegion Empty;
    EXPECT_TRUE(Empty.IsEmpty());
    EXPECT_EQ(Empty.GetBounds(), TRect());
    EXPECT_EQ(Empty.GetBandCount(), 0u);
    EXPECT_FALSE(Empty.Contains({0, 0}));
    EXPECT_TRUE(TRegion(TRect(5, 5, 5, 9)).IsEmpty());
    EXPECT_TRUE(TRegion(TRect(5, 9, 8, 2)).IsEmpty());
    EXPECT_EQ(TRegion(TRect(5, 9, 8, 2)), Empty);

    const TRegion One(TRect(2, 5, 5, 9));
    EXPECT_EQ(RectsOf(One), (std::vector<TRect>{{2, 5, 5, 9}}));
    EXPECT_EQ(One.GetBounds(), TRect(2, 5, 5, 9));
    EXPECT_EQ(One.GetBandCount(), 1u);
}

struct TOpCase
{
    const char* Name;
    std::vector<TRect> A, B;
    std::vector<TRect> Union, Intersect, Subtract;
};

class RegionOps : public testing::TestWithParam<TOpCase>
{};

TEST_P(RegionOps, GiveTheCanonicalResult)
{
    const TOpCase& C = GetParam();
    const TRegion A = TRegion::FromRects(C.A), B = TRegion::FromRects(C.B);
    EXPECT_EQ(RectsOf(TRegion(A).Union(B)), C.Union);
    EXPECT_EQ(RectsOf(TRegion(B).Union(A)), C.Union);
    EXPECT_EQ(RectsOf(TRegion(A).Intersect(B)), C.Intersect);
    EXPECT_EQ(RectsOf(TRegion(B).Intersect(A)), C.Intersect);
    EXPECT_EQ(RectsOf(TRegion(A).Subtract(B)), C.Subtract);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegionOps,
    testing::Values(
        // Side by side and touching: one rectangle, nothing in common.
        TOpCase{"Touching", {{0, 0, 2, 2}}, {{2, 0, 4, 2}}, {{0, 0, 4, 2}}, {}, {{0, 0, 2, 2}}},
        // Stacked and touching with the same columns: one band.
        TOpCase{"Stacked", {{0, 0, 3, 2}}, {{0, 2, 3, 5}}, {{0, 0, 3, 5}}, {}, {{0, 0, 3, 2}}},
        // A gap of one column keeps two spans.
        TOpCase{"Gap",
                {{0, 0, 2, 1}},
                {{3, 0, 5, 1}},
                {{0, 0, 2, 1}, {3, 0, 5, 1}},
                {},
                {{0, 0, 2, 1}}},
        // Overlap: three bands for the union, the common square, an L for the difference.
        TOpCase{"Overlap",
                {{0, 0, 4, 4}},
                {{2, 2, 6, 6}},
                {{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}},
                {{2, 2, 4, 4}},
                {{0, 0, 4, 2}, {0, 2, 2, 4}}},
        // A hole: the difference is a frame of four rectangles in three bands.
        TOpCase{"Hole",
                {{0, 0, 5, 5}},
                {{1, 1, 4, 4}},
                {{0, 0, 5, 5}},
                {{1, 1, 4, 4}},
                {{0, 0, 5, 1}, {0, 1, 1, 4}, {4, 1, 5, 4}, {0, 4, 5, 5}}},
        // Subtracting a band that misses the spans leaves the band whole, not cut in three.
        TOpCase{"MissingCut",
                {{0, 0, 2, 6}},
                {{4, 2, 6, 3}},
                {{0, 0, 2, 2}, {0, 2, 2, 3}, {4, 2, 6, 3}, {0, 3, 2, 6}},
                {},
                {{0, 0, 2, 6}}},
        // Filling the gap between two spans joins them, and the bands with them.
        TOpCase{"Bridge",
                {{0, 0, 2, 3}, {4, 0, 6, 3}},
                {{2, 1, 4, 2}},
                {{0, 0, 2, 1}, {4, 0, 6, 1}, {0, 1, 6, 2}, {0, 2, 2, 3}, {4, 2, 6, 3}},
                {},
                {{0, 0, 2, 3}, {4, 0, 6, 3}}},
        TOpCase{"WithEmpty", {{1, 1, 3, 3}}, {}, {{1, 1, 3, 3}}, {}, {{1, 1, 3, 3}}},
        TOpCase{"Negative",
                {{-8, -8, -2, -2}},
                {{-4, -4, 1, 1}},
                {{-8, -8, -2, -4}, {-8, -4, 1, -2}, {-4, -2, 1, 1}},
                {{-4, -4, -2, -2}},
                {{-8, -8, -2, -4}, {-8, -4, -4, -2}}}),
    ByName{});

// Seeded random rectangle sets against the pixel model: every operation gives exactly the
// canonical rectangles of the pixels it should hold.
class RegionRandom : public testing::TestWithParam<unsigned>
{};

TEST_P(RegionRandom, MatchesThePixelModel)
{
    constexpr int Extent = 40;
    std::mt19937 Rng(GetParam());
    for (int Round = 0; Round < 40; ++Round) {
        SCOPED_TRACE("round " + std::to_string(Round));
        const int CountA = std::uniform_int_distribution<int>(0, 24)(Rng);
        const int CountB = std::uniform_int_distribution<int>(0, 24)(Rng);
        const std::vector<TRect> RA = RandomRects(Rng, CountA, Extent);
        const std::vector<TRect> RB = RandomRects(Rng, CountB, Extent);
        TPixelGrid GA(Extent, Extent), GB(Extent, Extent);
        for (const TRect& R : RA)
            GA.Fill(R);
        for (const TRect& R : RB)
            GB.Fill(R);

        const TRegion A = TRegion::FromRects(RA);
        const TRegion B = TRegion::FromRects(RB);
        ExpectRegionIs(A, GA);
        ExpectRegionIs(B, GB);

        TRegion ByRects;
        for (const TRect& R : RA)
            ByRects.Union(R);
        EXPECT_EQ(ByRects, A);

        TPixelGrid GU(Extent, Extent), GI(Extent, Extent), GS(Extent, Extent);
        for (int Y = 0; Y < Extent; ++Y)
            for (int X = 0; X < Extent; ++X) {
                GU.Set(X, Y, GA.Get(X, Y) || GB.Get(X, Y));
                GI.Set(X, Y, GA.Get(X, Y) && GB.Get(X, Y));
                GS.Set(X, Y, GA.Get(X, Y) && !GB.Get(X, Y));
            }
        ExpectRegionIs(TRegion(A).Union(B), GU);
        ExpectRegionIs(TRegion(A).Intersect(B), GI);
        ExpectRegionIs(TRegion(A).Subtract(B), GS);
        if (!RB.empty()) {
            TPixelGrid GR(Extent, Extent);
            GR.Fill(RB[0]);
            for (int Y = 0; Y < Extent; ++Y)
                for (int X = 0; X < Extent; ++X) {
                    GI.Set(X, Y, GA.Get(X, Y) && GR.Get(X, Y));
                    GS.Set(X, Y, GA.Get(X, Y) && !GR.Get(X, Y));
                }
            ExpectRegionIs(TRegion(A).Intersect(RB[0]), GI);
            ExpectRegionIs(TRegion(A).Subtract(RB[0]), GS);
        }

        for (int Y = -1; Y <= Extent; ++Y)
            for (int X = -1; X <= Extent; ++X)
                ASSERT_EQ(A.Contains({X, Y}), GA.Get(X, Y)) << X << "," << Y;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RegionRandom, testing::Range(1u, 26u),
                         [](const testing::TestParamInfo<unsigned>& I) {
                             return "Seed" + std::to_string(I.param);
                         });

TEST(Region, OffsetMovesEveryRectangleAndTheBounds)
{
    std::mt19937 Rng(7);
    const TRegion A = TRegion::FromRects(RandomRects(Rng, 20, 30));
    TRegion Moved = A;
    Moved.Offset(-13, 21);
    ASSERT_EQ(Moved.GetRectCount(), A.GetRectCount());
    for (std::size_t I = 0; I < A.GetRectCount(); ++I)
        EXPECT_EQ(Moved.GetRects()[I], A.GetRects()[I].Offset(-13, 21));
    EXPECT_EQ(Moved.GetBounds(), A.GetBounds().Offset(-13, 21));
    EXPECT_EQ(TRegion().Offset(5, 5).GetBounds(), TRect());
}

TEST(Region, EqualityIsEqualityOfPixelSets)
{
    // The same pixels, put together in different ways.
    const TRegion A = TRegion::FromRects(std::vector<TRect>{{0, 0, 4, 2}, {0, 2, 2, 4}});
    const TRegion B = TRegion::FromRects(
        std::vector<TRect>{{0, 2, 1, 4}, {0, 0, 1, 2}, {1, 0, 2, 4}, {2, 0, 4, 2}, {3, 1, 4, 2}});
    EXPECT_EQ(A, B);
    EXPECT_FALSE(A == TRegion(TRect(0, 0, 4, 4)));
    EXPECT_EQ(TRegion(A).Subtract(B), TRegion());
}

TEST(Region, OperandMayBeItself)
{
    TRegion A = TRegion::FromRects(std::vector<TRect>{{0, 0, 4, 4}, {6, 2, 9, 7}});
    const TRegion Copy = A;
    A.Union(A);
    EXPECT_EQ(A, Copy);
    A.Intersect(A);
    EXPECT_EQ(A, Copy);
    A.Subtract(A);
    EXPECT_TRUE(A.IsEmpty());
}

struct TFaultCase
{
    const char* Name;
    std::vector<TRect> Rects;
    bool Canonical;
    std::size_t Index;
};

class RegionCanonicalFault : public testing::TestWithParam<TFaultCase>
{};

TEST_P(RegionCanonicalFault, FindsTheFirstFault)
{
    const TFaultCase& C = GetParam();
    const auto Fault = TRegion::FindCanonicalFault(C.Rects);
    ASSERT_EQ(!Fault, C.Canonical);
    if (Fault) {
        EXPECT_EQ(Fault->Index, C.Index) << Fault->Reason;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegionCanonicalFault,
    testing::Values(
        TFaultCase{"None", {}, true, 0},
        TFaultCase{"Frame", {{0, 0, 5, 1}, {0, 1, 1, 4}, {4, 1, 5, 4}, {0, 4, 5, 5}}, true, 0},
        // Same spans, but a gap of a row between the bands.
        TFaultCase{"GapBetweenEqualBands", {{0, 0, 2, 1}, {0, 2, 2, 3}}, true, 0},
        TFaultCase{"Empty", {{0, 0, 2, 1}, {3, 0, 3, 1}}, false, 1},
        TFaultCase{"Inverted", {{2, 0, 0, 1}}, false, 0},
        TFaultCase{"TouchingSpans", {{0, 0, 2, 1}, {2, 0, 4, 1}}, false, 1},
        TFaultCase{"OverlappingSpans", {{0, 0, 3, 1}, {2, 0, 4, 1}}, false, 1},
        TFaultCase{"UnsortedSpans", {{5, 0, 6, 1}, {0, 0, 2, 1}}, false, 1},
        TFaultCase{"UnevenBand", {{0, 0, 2, 1}, {3, 0, 4, 2}}, false, 1},
        TFaultCase{"OverlappingBands", {{0, 0, 2, 3}, {0, 2, 1, 4}}, false, 1},
        TFaultCase{"UnsortedBands", {{0, 5, 2, 6}, {0, 0, 1, 1}}, false, 1},
        TFaultCase{"TouchingEqualBands", {{0, 0, 2, 1}, {0, 1, 2, 3}}, false, 1},
        TFaultCase{
            "TouchingEqualBandsInside",
            {{0, 0, 9, 1}, {0, 1, 2, 2}, {4, 1, 5, 2}, {0, 2, 2, 3}, {4, 2, 5, 3}, {0, 3, 9, 4}},
            false,
            3}),
    ByName{});
