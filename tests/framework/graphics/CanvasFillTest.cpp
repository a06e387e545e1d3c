#include "tests/framework/graphics/CanvasTestSupport.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::pair<TColor, char>> Key = {
    {clWhite, '.'}, {clRed, 'R'}, {clBlue, 'B'}, {RGB(0, 255, 255), 'C'}};

std::string FillOn8x8(const TRect& R)
{
    TBitmap B = MakeBitmap(8, 8, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetColor(clRed);
    C.FillRect(R);
    return Picture(B, Key);
}

} // namespace

TEST(CanvasFill, ExcludesRightAndBottom)
{
    EXPECT_EQ(FillOn8x8({1, 2, 4, 4}), Rows({"........", "........", ".RRR....", ".RRR....",
                                             "........", "........", "........", "........"}));
    EXPECT_EQ(FillOn8x8({5, 6, 6, 7}), Rows({"........", "........", "........", "........",
                                             "........", "........", ".....R..", "........"}));
}

struct TNothingCase
{
    const char* Name;
    TRect Rect;
};

class CanvasDrawsNothing : public testing::TestWithParam<TNothingCase>
{};

// Every rectangle operation ignores an empty or inverted rectangle.
TEST_P(CanvasDrawsNothing, ForEmptyOrInvertedRectangles)
{
    const TRect R = GetParam().Rect;
    TBitmap B = MakeBitmap(8, 8, clWhite);
    const std::string Before = Picture(B, Key);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetColor(clRed);
    C.GetPen().SetColor(clBlue);
    C.FillRect(R);
    C.FrameRect(R);
    C.InvertRect(R);
    C.DrawFocusRect(R);
    C.Rectangle(R);
    C.Ellipse(R);
    C.StretchDraw(R, MakeBitmap(2, 2, clBlue));
    EXPECT_EQ(Picture(B, Key), Before);
}

INSTANTIATE_TEST_SUITE_P(Rects, CanvasDrawsNothing,
                         testing::Values(TNothingCase{"ZeroWidth", {3, 1, 3, 6}},
                                         TNothingCase{"ZeroHeight", {1, 3, 6, 3}},
                                         TNothingCase{"InvertedX", {6, 1, 2, 5}},
                                         TNothingCase{"InvertedY", {1, 6, 5, 2}},
                                         TNothingCase{"InvertedBoth", {6, 6, 1, 1}},
                                         TNothingCase{"AllZero", {0, 0, 0, 0}}),
                         ByName{});

TEST(CanvasFill, ClearBrushFillsNothing)
{
    TBitmap B = MakeBitmap(4, 4, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetColor(clRed);
    C.GetBrush().SetStyle(TBrushStyle::bsClear);
    C.FillRect({0, 0, 4, 4});
    C.FrameRect({0, 0, 4, 4});
    EXPECT_EQ(Picture(B, Key), Rows({"....", "....", "....", "...."}));
}

TEST(CanvasFill, SystemColoursResolve)
{
    TBitmap B = MakeBitmap(2, 1, clWhite);
    B.GetCanvas().GetBrush().SetColor(clBtnFace);
    B.GetCanvas().FillRect({0, 0, 1, 1});
    EXPECT_EQ(B.GetPixel(0, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(B.GetPixel(1, 0), clWhite);
}

TEST(CanvasFill, FrameRectDrawsTheBorderInside)
{
    TBitmap B = MakeBitmap(6, 5, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetColor(clRed);
    C.FrameRect({1, 1, 5, 4});
    EXPECT_EQ(Picture(B, Key), Rows({"......", ".RRRR.", ".R..R.", ".RRRR.", "......"}));
}

TEST(CanvasFill, InvertRectInvertsEachPixelOnce)
{
    TBitmap B = MakeBitmap(3, 1, clWhite);
    TCanvas& C = B.GetCanvas();
    C.SetPixel(1, 0, clRed);
    C.InvertRect({0, 0, 3, 1});
    EXPECT_EQ(B.GetPixel(0, 0), clBlack);
    EXPECT_EQ(B.GetPixel(1, 0), RGB(0, 255, 255));
}

TEST(CanvasFocusRect, InvertsAlternatePixelsOfTheFrame)
{
    TBitmap B = MakeBitmap(7, 6, clWhite);
    TCanvas& C = B.GetCanvas();
    C.DrawFocusRect({0, 0, 7, 5});
    EXPECT_EQ(Picture(B, {{clWhite, '.'}, {clBlack, '#'}}),
              Rows({"#.#.#.#", ".......", "#.....#", ".......", "#.#.#.#", "......."}));
}

class CanvasFocusRectTwice : public testing::TestWithParam<TRect>
{};

TEST_P(CanvasFocusRectTwice, Restores)
{
    TBitmap B(9, 9);
    for (int Y = 0; Y < 9; ++Y)
        for (int X = 0; X < 9; ++X)
            B.SetPixel(X, Y, RGB(std::uint8_t(X * 20), std::uint8_t(Y * 25), 77));
    const TBitmap Original = B;
    TCanvas& C = B.GetCanvas();
    C.DrawFocusRect(GetParam());
    int Changed = 0;
    for (int Y = 0; Y < 9; ++Y)
        for (int X = 0; X < 9; ++X)
            Changed += B.GetPixel(X, Y) != Original.GetPixel(X, Y);
    EXPECT_GT(Changed, 0);
    C.DrawFocusRect(GetParam());
    for (int Y = 0; Y < 9; ++Y)
        for (int X = 0; X < 9; ++X)
            ASSERT_EQ(B.GetPixel(X, Y), Original.GetPixel(X, Y)) << X << "," << Y;
}

INSTANTIATE_TEST_SUITE_P(Rects, CanvasFocusRectTwice,
                         testing::Values(TRect{0, 0, 9, 9}, TRect{1, 1, 2, 2}, TRect{2, 3, 3, 8},
                                         TRect{1, 4, 8, 5}, TRect{-3, -2, 5, 4},
                                         TRect{4, 4, 12, 13}),
                         [](const testing::TestParamInfo<TRect>& I) {
                             const TRect& R = I.param;
                             return "From" + NumberWord(R.Left) + "_" + NumberWord(R.Top) + "To" +
                                    NumberWord(R.Right) + "_" + NumberWord(R.Bottom);
                         });

TEST(CanvasFocusRect, DotsFollowTheOrigin)
{
    TBitmap B = MakeBitmap(6, 3, clWhite);
    TCanvas& C = B.GetCanvas();
    C.SetOrigin({1, 0});
    C.DrawFocusRect({0, 0, 4, 1});
    // Drawing (0, 0) is target (1, 0): the first dot sits there.
    EXPECT_EQ(Picture(B, {{clWhite, '.'}, {clBlack, '#'}}), Rows({".#.#..", "......", "......"}));
}

TEST(CanvasPixels, ReadAndWriteThroughOriginAndClip)
{
    TBitmap B = MakeBitmap(4, 4, clWhite);
    TCanvas& C = B.GetCanvas();
    C.SetOrigin({1, 1});
    C.SetPixel(0, 0, clRed);
    EXPECT_EQ(B.GetPixel(1, 1), clRed);
    EXPECT_EQ(C.GetPixel(0, 0), clRed);
    EXPECT_EQ(C.GetPixel(-1, -1), clWhite);
    EXPECT_EQ(C.GetPixel(3, 0), clInvalid); // target column 4
    EXPECT_EQ(C.GetPixel(-2, 0), clInvalid);
    C.SetClipRect({0, 0, 2, 2});
    EXPECT_EQ(C.GetPixel(1, 1), clInvalid); // target (2, 2), outside the clip
    C.SetPixel(1, 1, clBlue);
    EXPECT_EQ(B.GetPixel(2, 2), clWhite);
    C.SetPixel(-1, 0, clBlue);
    EXPECT_EQ(B.GetPixel(0, 1), clBlue);
}

// A fill over everything, with the clip set so that it cuts the fill at one edge.
struct TClipCase
{
    const char* Name;
    std::vector<TRect> Clip; // empty: no clip
    TRect Fill;
    const char* Expected[6];
};

class CanvasClip : public testing::TestWithParam<TClipCase>
{};

TEST_P(CanvasClip, CutsAtEveryEdge)
{
    const TClipCase& Case = GetParam();
    TBitmap B = MakeBitmap(6, 6, clWhite);
    TCanvas& C = B.GetCanvas();
    if (!Case.Clip.empty())
        C.SetClipRects(Case.Clip);
    C.GetBrush().SetColor(clRed);
    C.FillRect(Case.Fill);
    std::string Expected;
    for (const char* Row : Case.Expected)
        Expected += std::string(Row) + '\n';
    EXPECT_EQ(Picture(B, Key), Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, CanvasClip,
    testing::Values(TClipCase{"TargetLeftTop",
                              {},
                              {-3, -2, 2, 1},
                              {"RR....", "......", "......", "......", "......", "......"}},
                    TClipCase{"TargetRightBottom",
                              {},
                              {4, 3, 60, 60},
                              {"......", "......", "......", "....RR", "....RR", "....RR"}},
                    TClipCase{"ClipLeft",
                              {{2, 0, 6, 6}},
                              {0, 1, 4, 2},
                              {"......", "..RR..", "......", "......", "......", "......"}},
                    TClipCase{"ClipTop",
                              {{0, 2, 6, 6}},
                              {1, 0, 2, 4},
                              {"......", "......", ".R....", ".R....", "......", "......"}},
                    TClipCase{"ClipRight",
                              {{0, 0, 3, 6}},
                              {1, 1, 5, 2},
                              {"......", ".RR...", "......", "......", "......", "......"}},
                    TClipCase{"ClipBottom",
                              {{0, 0, 6, 3}},
                              {4, 1, 5, 5},
                              {"......", "....R.", "....R.", "......", "......", "......"}},
                    TClipCase{"TwoRects",
                              {{0, 0, 2, 2}, {3, 3, 6, 5}},
                              {1, 1, 5, 6},
                              {"......", ".R....", "......", "...RR.", "...RR.", "......"}},
                    TClipCase{"OverlappingRectsCountOnce",
                              {{0, 0, 4, 4}, {2, 2, 6, 6}},
                              {0, 0, 6, 6},
                              {"RRRR..", "RRRR..", "RRRRRR", "RRRRRR", "..RRRR", "..RRRR"}},
                    TClipCase{"EmptyClipSetLetsNothingThrough",
                              {{2, 2, 2, 5}},
                              {0, 0, 6, 6},
                              {"......", "......", "......", "......", "......", "......"}},
                    TClipCase{"ClipBeyondTarget",
                              {{-5, -5, 3, 50}},
                              {-9, 4, 9, 9},
                              {"......", "......", "......", "......", "RRR...", "RRR..."}}),
    ByName{});

TEST(CanvasClip, OverlappingClipRectsInvertOnce)
{
    TBitmap B = MakeBitmap(4, 1, clWhite);
    TCanvas& C = B.GetCanvas();
    const TRect Clip[] = {{0, 0, 3, 1}, {1, 0, 4, 1}};
    C.SetClipRects(Clip);
    C.InvertRect({0, 0, 4, 1});
    EXPECT_EQ(Picture(B, {{clBlack, '#'}}), Rows({"####"}));
}

TEST(CanvasClip, ClearClipLetsTheWholeTargetThrough)
{
    TBitmap B = MakeBitmap(3, 1, clWhite);
    TCanvas& C = B.GetCanvas();
    C.SetClipRect({0, 0, 1, 1});
    EXPECT_TRUE(C.HasClip());
    EXPECT_EQ(C.GetClipRect(), (TRect{0, 0, 1, 1}));
    C.ClearClip();
    EXPECT_FALSE(C.HasClip());
    C.GetBrush().SetColor(clRed);
    C.FillRect({0, 0, 3, 1});
    EXPECT_EQ(Picture(B, Key), Rows({"RRR"}));
}

TEST(CanvasClip, ClipRectIsReportedInDrawingCoordinates)
{
    TBitmap B(10, 10);
    TCanvas& C = B.GetCanvas();
    C.SetOrigin({3, 4});
    EXPECT_EQ(C.GetClipRect(), (TRect{-3, -4, 7, 6}));
    C.SetClipRect({5, 5, 20, 8});
    EXPECT_EQ(C.GetClipRect(), (TRect{2, 1, 7, 4}));
}

TEST(CanvasClip, FollowsTheTargetWhenItIsResized)
{
    TBitmap B = MakeBitmap(2, 2, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetColor(clRed);
    C.FillRect({0, 0, 1, 1});
    B.SetSize(4, 2);
    C.FillRect({0, 0, 4, 2});
    EXPECT_EQ(Picture(B, Key), Rows({"RRRR", "RRRR"}));
}

TEST(CanvasOrigin, ShiftsEveryOperation)
{
    TBitmap B = MakeBitmap(8, 6, clWhite);
    TCanvas& C = B.GetCanvas();
    C.SetOrigin({3, 2});
    C.SetClipRect({3, 2, 7, 5}); // a child control's area in its parent's back buffer
    C.GetBrush().SetColor(clRed);
    C.FillRect({-1, -1, 2, 2});
    C.GetPen().SetColor(clBlue);
    C.MoveTo(0, 2);
    C.LineTo(9, 2);
    EXPECT_EQ(Picture(B, Key),
              Rows({"........", "........", "...RR...", "...RR...", "...BBBB.", "........"}));
    EXPECT_EQ(C.GetPenPos(), (TPoint{9, 2}));
}

TEST(CanvasTarget, SetTargetMovesDrawingToTheOtherBitmap)
{
    TBitmap Small = MakeBitmap(2, 1, clWhite);
    TBitmap Wide = MakeBitmap(4, 1, clWhite);
    TCanvas C(Small);
    C.GetBrush().SetColor(clRed);
    C.FillRect({0, 0, 9, 1});
    C.SetTarget(Wide);
    EXPECT_EQ(&C.GetTarget(), &Wide);
    C.GetBrush().SetColor(clBlue);
    C.FillRect({1, 0, 9, 1}); // the visible area is the new target's, not the old one's
    EXPECT_EQ(Picture(Small, Key), Rows({"RR"}));
    EXPECT_EQ(Picture(Wide, Key), Rows({".BBB"}));
}
