#include "tests/framework/graphics/CanvasTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace {

// A bitmap whose every pixel is distinct: red = column, green = row.
TBitmap Numbered(int W, int H)
{
    TBitmap B(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            B.SetPixel(X, Y, RGB(std::uint8_t(X), std::uint8_t(Y), 200));
    return B;
}

// Which source pixel a target pixel shows, or (-1, -1) for an untouched white one.
std::pair<int, int> SourceOf(const TBitmap& B, int X, int Y)
{
    const TColor C = B.GetPixel(X, Y);
    if (GetBValue(C) != 200)
        return {-1, -1};
    return {GetRValue(C), GetGValue(C)};
}

} // namespace

TEST(CanvasDraw, CopiesOpaquelyAndClips)
{
    TBitmap Target = MakeBitmap(5, 4, clWhite);
    const TBitmap Source = Numbered(3, 3);
    Target.GetCanvas().Draw(3, -1, Source);
    for (int Y = 0; Y < 4; ++Y) {
        for (int X = 0; X < 5; ++X) {
            const bool Covered = X >= 3 && Y <= 1;
            EXPECT_EQ(SourceOf(Target, X, Y),
                      (Covered ? std::pair{X - 3, Y + 1} : std::pair{-1, -1}));
        }
    }
}

TEST(CanvasDraw, TransparentLeavesOutTheBottomLeftColour)
{
    TBitmap Source = MakeBitmap(3, 2, clBlue);
    Source.SetPixel(1, 0, clRed);
    Source.SetPixel(2, 1, clRed);
    TBitmap Target = MakeBitmap(3, 2, clWhite);
    Target.GetCanvas().Draw(0, 0, Source);
    EXPECT_EQ(Picture(Target, {{clWhite, '.'}, {clBlue, 'b'}, {clRed, 'r'}}), Rows({"brb", "bbr"}));
    Target = MakeBitmap(3, 2, clWhite);
    Source.SetTransparent(true);
    Target.GetCanvas().Draw(0, 0, Source);
    EXPECT_EQ(Picture(Target, {{clWhite, '.'}, {clBlue, 'b'}, {clRed, 'r'}}), Rows({".r.", "..r"}));
    Target = MakeBitmap(6, 4, clWhite);
    Target.GetCanvas().StretchDraw({0, 0, 6, 4}, Source);
    EXPECT_EQ(Picture(Target, {{clWhite, '.'}, {clBlue, 'b'}, {clRed, 'r'}}),
              Rows({"..rr..", "..rr..", "....rr", "....rr"}));
}

TEST(CanvasStretch, TwoToFourRepeatsEachPixelTwice)
{
    TBitmap Target = MakeBitmap(4, 4, clWhite);
    Target.GetCanvas().StretchDraw({0, 0, 4, 4}, Numbered(2, 2));
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X)
            EXPECT_EQ(SourceOf(Target, X, Y), (std::pair{X / 2, Y / 2}));
}

TEST(CanvasStretch, FourToTwoDropsAlternatePixels)
{
    TBitmap Target = MakeBitmap(2, 2, clWhite);
    Target.GetCanvas().StretchDraw({0, 0, 2, 2}, Numbered(4, 4));
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 2; ++X)
            EXPECT_EQ(SourceOf(Target, X, Y), (std::pair{2 * X, 2 * Y}));
}

// Random sizes and places: every target pixel of the rectangle shows the nearest-below source
// pixel, rows and columns stay whole (a column of the target comes from one source column), and
// nothing outside the rectangle changes.
TEST(CanvasStretch, RandomRectanglesKeepRowsAndColumnsWhole)
{
    std::mt19937 Random(5);
    std::uniform_int_distribution<int> Size(1, 9);
    std::uniform_int_distribution<int> Place(-3, 8);
    for (int I = 0; I < 300; ++I) {
        const int SW = Size(Random), SH = Size(Random);
        const TRect R =
            TRect::FromSize(Place(Random), Place(Random), Size(Random) * 2, Size(Random));
        TBitmap Target = MakeBitmap(12, 12, clWhite);
        Target.GetCanvas().StretchDraw(R, Numbered(SW, SH));
        for (int Y = 0; Y < 12; ++Y) {
            for (int X = 0; X < 12; ++X) {
                const auto [SX, SY] = SourceOf(Target, X, Y);
                if (!R.Contains({X, Y})) {
                    ASSERT_EQ(SX, -1);
                    continue;
                }
                // The source pixel whose span [s * W / SW, (s + 1) * W / SW) holds the column.
                const double U = (X - R.Left + 0.0) * SW / R.Width();
                const double V = (Y - R.Top + 0.0) * SH / R.Height();
                ASSERT_EQ(SX, int(U)) << I;
                ASSERT_EQ(SY, int(V)) << I;
            }
        }
    }
}

TEST(CanvasCopyRect, StretchesAPartAndSkipsPixelsOutsideTheSource)
{
    TBitmap Target = MakeBitmap(6, 3, clWhite);
    TBitmap Source = Numbered(4, 4);
    Source.SetTransparent(true); // CopyRect copies opaquely whatever the flag says
    Target.GetCanvas().CopyRect({0, 0, 4, 2}, Source, {1, 1, 3, 2});
    EXPECT_EQ(SourceOf(Target, 0, 0), (std::pair{1, 1}));
    EXPECT_EQ(SourceOf(Target, 1, 1), (std::pair{1, 1}));
    EXPECT_EQ(SourceOf(Target, 2, 0), (std::pair{2, 1}));
    EXPECT_EQ(SourceOf(Target, 3, 1), (std::pair{2, 1}));
    EXPECT_EQ(SourceOf(Target, 4, 0), (std::pair{-1, -1}));
    // Half of this source rectangle lies left of the bitmap: those target pixels stay.
    Target.GetCanvas().CopyRect({0, 2, 4, 3}, Source, {-2, 0, 2, 1});
    EXPECT_EQ(SourceOf(Target, 0, 2), (std::pair{-1, -1}));
    EXPECT_EQ(SourceOf(Target, 1, 2), (std::pair{-1, -1}));
    EXPECT_EQ(SourceOf(Target, 2, 2), (std::pair{0, 0}));
    EXPECT_EQ(SourceOf(Target, 3, 2), (std::pair{1, 0}));
}

TEST(CanvasDraw, OntoItselfCopiesTheOriginalPixels)
{
    TBitmap B = Numbered(6, 1);
    B.GetCanvas().Draw(1, 0, B);
    for (int X = 1; X < 6; ++X)
        EXPECT_EQ(SourceOf(B, X, 0), (std::pair{X - 1, 0}));
    EXPECT_EQ(SourceOf(B, 0, 0), (std::pair{0, 0}));
}

TEST(CanvasDraw, HonoursOriginAndClip)
{
    TBitmap Target = MakeBitmap(6, 6, clWhite);
    TCanvas& C = Target.GetCanvas();
    C.SetOrigin({2, 2});
    C.SetClipRect({0, 0, 4, 6});
    C.Draw(0, 0, Numbered(4, 2));
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 6; ++X)
            EXPECT_EQ(SourceOf(Target, X, Y),
                      ((X >= 2 && X < 4 && Y >= 2 && Y < 4) ? std::pair{X - 2, Y - 2}
                                                            : std::pair{-1, -1}));
}

TEST(CanvasDraw, EmptySourceDrawsNothing)
{
    TBitmap Target = MakeBitmap(2, 2, clWhite);
    TBitmap Empty;
    Target.GetCanvas().Draw(0, 0, Empty);
    Target.GetCanvas().StretchDraw({0, 0, 2, 2}, Empty);
    Target.GetCanvas().CopyRect({0, 0, 2, 2}, Empty, {0, 0, 2, 2});
    EXPECT_EQ(Picture(Target, {{clWhite, '.'}}), Rows({"..", ".."}));
}

// What a canvas notes as drawn on its target: where pixels may have changed, so that a copy of
// them shown elsewhere is compared only there.
TEST(CanvasDrawnBounds, NoteWhereEachOperationMayHaveChangedPixels)
{
    struct TCase
    {
        const char* Name;
        std::function<void(TCanvas&, const TBitmap&)> Draw;
        TRect Drawn;
    };
    const TBitmap Picture = Numbered(3, 2);
    const TCase Cases[] = {
        {"a picture", [](TCanvas& C, const TBitmap& P) { C.Draw(4, 1, P); }, {4, 1, 7, 3}},
        {"a picture clipped",
         [](TCanvas& C, const TBitmap& P) { C.Draw(8, -1, P); },
         {8, 0, 10, 1}},
        {"a picture over the same pixels",
         [](TCanvas& C, const TBitmap& P) {
             C.Draw(4, 1, P);
             C.GetTarget().ClearDrawnBounds();
             C.Draw(4, 1, P);
         },
         {}},
        {"a picture over itself but one pixel",
         [](TCanvas& C, const TBitmap& P) {
             C.Draw(4, 1, P);
             C.GetTarget().ClearDrawnBounds();
             C.GetTarget().GetScanLine(2)[5] = 0;
             C.Draw(4, 1, P);
         },
         {4, 2, 7, 3}},
        {"a fill",
         [](TCanvas& C, const TBitmap&) {
             C.FillRect({2, 3, 5, 9});
         },
         {2, 3, 5, 6}},
        {"a pixel", [](TCanvas& C, const TBitmap&) { C.SetPixel(9, 5, clRed); }, {9, 5, 10, 6}},
        {"a pixel outside", [](TCanvas& C, const TBitmap&) { C.SetPixel(10, 0, clRed); }, {}},
        {"a line",
         [](TCanvas& C, const TBitmap&) {
             C.MoveTo(1, 1);
             C.LineTo(4, 3);
         },
         {1, 1, 4, 3}},
    };
    for (const TCase& Case : Cases) {
        TBitmap Target = MakeBitmap(10, 6, clWhite);
        Target.ClearDrawnBounds();
        Case.Draw(Target.GetCanvas(), Picture);
        EXPECT_EQ(Target.GetDrawnBounds(), Case.Drawn) << Case.Name;
    }
    // A resize may change every pixel.
    TBitmap Target = MakeBitmap(4, 4, clWhite);
    Target.ClearDrawnBounds();
    Target.SetSize(6, 5);
    EXPECT_EQ(Target.GetDrawnBounds(), TRect(0, 0, 6, 5));
}
