#include "base/Rect.h"

#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

struct TIntersectCase
{
    const char* Name;
    TRect A, B, Expected;
};

class RectIntersect : public testing::TestWithParam<TIntersectCase>
{};

TEST_P(RectIntersect, GivesTheCommonPartOrEmpty)
{
    const auto& C = GetParam();
    EXPECT_EQ(C.A.Intersect(C.B), C.Expected);
    EXPECT_EQ(C.B.Intersect(C.A), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RectIntersect,
    testing::Values(TIntersectCase{"Overlapping", {0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}},
                    // Touching edges share no pixel: right and bottom are excluded.
                    TIntersectCase{"TouchingEdges", {0, 0, 10, 10}, {10, 0, 20, 10}, {}},
                    TIntersectCase{"Inside", {0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},
                    // An inverted rectangle is empty and intersects nothing.
                    TIntersectCase{"Inverted", {10, 10, 0, 0}, {0, 0, 20, 20}, {}}),
    ByName{});

TEST(Rect, UnionIgnoresEmptyOperands)
{
    EXPECT_EQ(TRect(1, 1, 3, 3).Union({}), TRect(1, 1, 3, 3));
    EXPECT_EQ(TRect(5, 5, 5, 9).Union({1, 1, 3, 3}), TRect(1, 1, 3, 3));
    EXPECT_EQ(TRect(1, 1, 3, 3).Union({2, 0, 8, 2}), TRect(1, 0, 8, 3));
}

TEST(Rect, ContainsExcludesRightAndBottom)
{
    const TRect R(0, 0, 2, 2);
    EXPECT_TRUE(R.Contains({1, 1}));
    EXPECT_FALSE(R.Contains({2, 1}));
    EXPECT_FALSE(R.Contains({1, 2}));
    EXPECT_FALSE(R.Contains({-1, 0}));
}
