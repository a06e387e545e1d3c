#include "tools/artgen/Silhouette.h"

#include "tools/artgen/ArtRandom.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Random runs, overlapping and touching, against a plain pixel mask.
TEST(Silhouette, HoldsExactlyThePixelsOfItsRunsMerged)
{
    TArtRandom Random(20240611);
    for (int Case = 0; Case < 200; ++Case) {
        const int W = 1 + Random.Below(40);
        const int H = 1 + Random.Below(12);
        TSilhouette S(W, H);
        std::vector<char> Mask(std::size_t(W * H), 0);
        const int Runs = Random.Below(30);
        for (int I = 0; I < Runs; ++I) {
            const int Y0 = Random.Below(H + 2) - 1;
            const int Y1 = Y0 + Random.Below(4);
            const int X0 = Random.Below(W + 4) - 2;
            const int X1 = X0 + Random.Below(W / 2 + 2);
            S.AddRun(Y0, Y1, X0, X1);
            for (int Y = std::max(Y0, 0); Y < std::min(Y1, H); ++Y)
                for (int X = std::max(X0, 0); X < std::min(X1, W); ++X)
                    Mask[std::size_t(Y * W + X)] = 1;
        }
        for (int Y = 0; Y < H; ++Y) {
            // Runs come sorted, never touching: each is a maximal stretch of the mask.
            int Previous = -1;
            for (const TSpan& Span : S.GetRow(Y)) {
                ASSERT_LT(Previous, Span.X0) << "case " << Case;
                ASSERT_LT(Span.X0, Span.X1);
                ASSERT_TRUE(Span.X0 == 0 || !Mask[std::size_t(Y * W + Span.X0 - 1)]);
                ASSERT_TRUE(Span.X1 == W || !Mask[std::size_t(Y * W + Span.X1)]);
                Previous = Span.X1;
            }
            for (int X = 0; X < W; ++X) {
                ASSERT_EQ(S.Contains(X, Y), Mask[std::size_t(Y * W + X)] != 0)
                    << "case " << Case << " pixel " << X << "," << Y;
                // Depth along the row: steps to the nearest pixel outside, either way.
                int Depth = 0;
                if (Mask[std::size_t(Y * W + X)]) {
                    int L = X, R = X;
                    while (L >= 0 && Mask[std::size_t(Y * W + L)])
                        --L;
                    while (R < W && Mask[std::size_t(Y * W + R)])
                        ++R;
                    Depth = std::min(X - L, R - X);
                }
                ASSERT_EQ(S.RowDepth(X, Y), Depth);
            }
        }
    }
}

TEST(Silhouette, ShiftedCopyClipsToThePicture)
{
    TSilhouette Part(4, 2);
    Part.AddRun(0, 2, 1, 4);
    TSilhouette S(5, 3);
    S.AddShifted(Part, 3, 2);
    EXPECT_EQ(S.GetFirstRow(), 2);
    EXPECT_EQ(S.GetLastRow(), 2);
    ASSERT_EQ(S.GetRow(2).size(), 1u);
    EXPECT_EQ(S.GetRow(2)[0].X0, 4);
    EXPECT_EQ(S.GetRow(2)[0].X1, 5);
}

} // namespace
