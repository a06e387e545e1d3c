#include "framework/graphics/ClipBands.h"

#include <gtest/gtest.h>
#include <random>

// Random sets of overlapping rectangles: the bands hold exactly the pixels of the union, each
// span once, and report the union's bounds.
TEST(ClipBands, HoldTheUnionOfRandomRectangles)
{
    std::mt19937 Random(9);
    std::uniform_int_distribution<int> Coord(-2, 14);
    for (int I = 0; I < 300; ++I) {
        std::vector<TRect> Rects(Random() % 6);
        for (TRect& R : Rects)
            R = {Coord(Random), Coord(Random), Coord(Random), Coord(Random)};
        const TClipBands Bands(Rects);
        TRect Bounds;
        for (const TRect& R : Rects)
            Bounds = Bounds.Union(R);
        EXPECT_EQ(Bands.GetBounds(), Bounds);
        EXPECT_EQ(Bands.IsEmpty(), Bounds.IsEmpty());
        for (int Y = -3; Y < 16; ++Y) {
            std::vector<int> Count(20, 0);
            Bands.ForEachSpan(Y, -3, 17, [&](int L, int R) {
                ASSERT_LT(L, R);
                for (int X = L; X < R; ++X)
                    ++Count[X + 3];
            });
            for (int X = -3; X < 17; ++X) {
                bool Inside = false;
                for (const TRect& R : Rects)
                    Inside |= R.Contains({X, Y});
                ASSERT_EQ(Count[X + 3], Inside ? 1 : 0) << I << " at " << X << "," << Y;
                ASSERT_EQ(Bands.Contains(X, Y), Inside);
            }
        }
        // A rectangle is contained exactly when each of its pixels is.
        for (int K = 0; K < 20; ++K) {
            const TRect Q{Coord(Random), Coord(Random), Coord(Random), Coord(Random)};
            bool All = true;
            for (int Y = Q.Top; Y < Q.Bottom; ++Y)
                for (int X = Q.Left; X < Q.Right; ++X)
                    All = All && Bands.Contains(X, Y);
            ASSERT_EQ(Bands.ContainsRect(Q), All) << I << ": " << Q.Left << "," << Q.Top;
        }
        // The rectangles it gives back cover the same pixels without overlapping.
        const std::vector<TRect> Back = Bands.GetRects();
        for (int Y = -3; Y < 16; ++Y)
            for (int X = -3; X < 17; ++X) {
                int N = 0;
                for (const TRect& R : Back)
                    N += R.Contains({X, Y});
                ASSERT_EQ(N, Bands.Contains(X, Y) ? 1 : 0);
            }
    }
}

TEST(ClipBands, IntersectKeepsThePartInside)
{
    const TRect Rects[] = {{0, 0, 4, 4}, {6, 0, 10, 2}};
    TClipBands Bands(Rects);
    Bands.Intersect({2, 1, 8, 3});
    EXPECT_EQ(Bands.GetBounds(), (TRect{2, 1, 8, 3}));
    EXPECT_TRUE(Bands.Contains(3, 2));
    EXPECT_FALSE(Bands.Contains(5, 1));
    EXPECT_TRUE(Bands.Contains(7, 1));
    EXPECT_FALSE(Bands.Contains(7, 2));
    Bands.Intersect({20, 20, 30, 30});
    EXPECT_TRUE(Bands.IsEmpty());
}
