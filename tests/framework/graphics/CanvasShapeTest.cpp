#include "tests/framework/graphics/CanvasTestSupport.h"

#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

const std::vector<std::pair<TColor, char>> Key = {
    {clWhite, '.'}, {clBlack, '#'}, {clRed, 'o'}, {RGB(0, 255, 255), 'c'}};

// Draws with a black pen and a red brush on white.
template <typename F>
std::string Draw(int W, int H, F&& Paint)
{
    TBitmap B = MakeBitmap(W, H, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetColor(clRed);
    Paint(C);
    return Picture(B, Key);
}

// The ellipse by its definition, pixel by pixel: centre of (x, y) inside the ellipse inscribed in
// the box, in doubled coordinates.
bool OracleInside(const TRect& R, int X, int Y)
{
    const long long W = R.Width(), H = R.Height();
    const long long DX = 2LL * X + 1 - R.Left - R.Right;
    const long long DY = 2LL * Y + 1 - R.Top - R.Bottom;
    return DX * DX * H * H + DY * DY * W * W <= W * W * H * H;
}

} // namespace

TEST(CanvasRectangle, OutlineInsideTheBoxInteriorWithTheBrush)
{
    EXPECT_EQ(Draw(7, 6, [](TCanvas& C) { C.Rectangle(1, 1, 6, 5); }),
              Rows({".......", ".#####.", ".#ooo#.", ".#ooo#.", ".#####.", "......."}));
}

TEST(CanvasRectangle, OnePixelBoxes)
{
    EXPECT_EQ(Draw(3, 3, [](TCanvas& C) { C.Rectangle(1, 1, 2, 2); }), Rows({"...", ".#.", "..."}));
    EXPECT_EQ(Draw(4, 3, [](TCanvas& C) { C.Rectangle(0, 1, 4, 2); }),
              Rows({"....", "####", "...."}));
    EXPECT_EQ(Draw(3, 4, [](TCanvas& C) { C.Rectangle(1, 0, 3, 4); }),
              Rows({".##", ".##", ".##", ".##"}));
}

TEST(CanvasRectangle, ClearBrushAndClearPen)
{
    EXPECT_EQ(Draw(5, 4,
                   [](TCanvas& C) {
                       C.GetBrush().SetStyle(TBrushStyle::bsClear);
                       C.Rectangle(0, 0, 5, 4);
                   }),
              Rows({"#####", "#...#", "#...#", "#####"}));
    // Without a pen the filled box is one pixel narrower and shorter, as in GDI.
    EXPECT_EQ(Draw(5, 4,
                   [](TCanvas& C) {
                       C.GetPen().SetStyle(TPenStyle::psClear);
                       C.Rectangle(0, 0, 5, 4);
                   }),
              Rows({"oooo.", "oooo.", "oooo.", "....."}));
}

TEST(CanvasRectangle, WidePenGrowsInwards)
{
    EXPECT_EQ(Draw(7, 7,
                   [](TCanvas& C) {
                       C.GetPen().SetWidth(2);
                       C.Rectangle(0, 0, 7, 6);
                   }),
              Rows({"#######", "#######", "##ooo##", "##ooo##", "#######", "#######", "......."}));
    EXPECT_EQ(Draw(3, 3,
                   [](TCanvas& C) {
                       C.GetPen().SetWidth(5);
                       C.Rectangle(0, 0, 3, 3);
                   }),
              Rows({"###", "###", "###"}));
}

TEST(CanvasRectangle, DottedOutlineRunsRoundTheBox)
{
    EXPECT_EQ(Draw(5, 4,
                   [](TCanvas& C) {
                       C.GetPen().SetStyle(TPenStyle::psDot);
                       C.GetBrush().SetStyle(TBrushStyle::bsClear);
                       C.Rectangle(0, 0, 5, 4);
                   }),
              // Steps 0..3 along the top, 4..6 down the right, 7..10 back, 11..13 up.
              Rows({"#.#.#", ".....", "#...#", ".#.#."}));
}

TEST(CanvasRectangle, XorOutlineAndInteriorChangeEachPixelOnce)
{
    TBitmap B = MakeBitmap(6, 6, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetMode(TPenMode::pmXor);
    C.GetPen().SetColor(clWhite);
    C.GetBrush().SetColor(RGB(0, 255, 255));
    C.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(Picture(B, Key), Rows({"#####.", "#ooo#.", "#ooo#.", "#ooo#.", "#####.", "......"}));
    C.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(Picture(B, Key), Rows({"......", "......", "......", "......", "......", "......"}));
}

TEST(CanvasEllipse, TinyBoxes)
{
    EXPECT_EQ(Draw(3, 3, [](TCanvas& C) { C.Ellipse(1, 1, 2, 2); }), Rows({"...", ".#.", "..."}));
    EXPECT_EQ(Draw(4, 4, [](TCanvas& C) { C.Ellipse(1, 1, 3, 3); }),
              Rows({"....", ".##.", ".##.", "...."}));
    EXPECT_EQ(Draw(5, 3, [](TCanvas& C) { C.Ellipse(0, 1, 5, 2); }),
              Rows({".....", "#####", "....."}));
}

TEST(CanvasEllipse, SevenBySeven)
{
    EXPECT_EQ(Draw(7, 7, [](TCanvas& C) { C.Ellipse(0, 0, 7, 7); }),
              Rows({"..###..", ".#ooo#.", "#ooooo#", "#ooooo#", "#ooooo#", ".#ooo#.", "..###.."}));
}

// Every box from 1x1 to 14x11: the ellipse stays inside its box, is symmetric about both axes of
// the box, covers the pixels of the definition, and its outline is closed (no interior pixel
// touches an untouched one).
TEST(CanvasEllipse, InsideSymmetricAndClosed)
{
    for (int W = 1; W <= 14; ++W) {
        for (int H = 1; H <= 11; ++H) {
            const TRect Box{2, 3, 2 + W, 3 + H};
            TBitmap B = MakeBitmap(18, 16, clWhite);
            TCanvas& C = B.GetCanvas();
            C.GetBrush().SetColor(clRed);
            C.Ellipse(Box);
            for (int Y = 0; Y < 16; ++Y) {
                for (int X = 0; X < 18; ++X) {
                    const TColor P = B.GetPixel(X, Y);
                    ASSERT_EQ(P != clWhite, OracleInside(Box, X, Y) && Box.Contains({X, Y}))
                        << W << "x" << H << " at " << X << "," << Y;
                    const int MX = Box.Left + Box.Right - 1 - X;
                    const int MY = Box.Top + Box.Bottom - 1 - Y;
                    if (Box.Contains({X, Y})) {
                        ASSERT_EQ(P, B.GetPixel(MX, Y)) << W << "x" << H;
                        ASSERT_EQ(P, B.GetPixel(X, MY)) << W << "x" << H;
                    }
                    if (P == clRed) {
                        ASSERT_NE(B.GetPixel(X - 1, Y), clWhite);
                        ASSERT_NE(B.GetPixel(X + 1, Y), clWhite);
                        ASSERT_NE(B.GetPixel(X, Y - 1), clWhite);
                        ASSERT_NE(B.GetPixel(X, Y + 1), clWhite);
                    }
                    if (P == clBlack) {
                        // An outline pixel borders the outside.
                        const bool Edge = !OracleInside(Box, X - 1, Y) ||
                                          !OracleInside(Box, X + 1, Y) ||
                                          !OracleInside(Box, X, Y - 1) ||
                                          !OracleInside(Box, X, Y + 1) || X == Box.Left ||
                                          X == Box.Right - 1 || Y == Box.Top || Y == Box.Bottom - 1;
                        ASSERT_TRUE(Edge) << W << "x" << H << " at " << X << "," << Y;
                    }
                }
            }
        }
    }
}

TEST(CanvasEllipse, ClearPenFillsTheSmallerBox)
{
    TBitmap B = MakeBitmap(9, 9, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetStyle(TPenStyle::psClear);
    C.GetBrush().SetColor(clRed);
    C.Ellipse(0, 0, 9, 9);
    const TRect Smaller{0, 0, 8, 8};
    for (int Y = 0; Y < 9; ++Y)
        for (int X = 0; X < 9; ++X) {
            ASSERT_EQ(B.GetPixel(X, Y) == clRed,
                      OracleInside(Smaller, X, Y) && Smaller.Contains({X, Y}));
        }
}

TEST(CanvasEllipse, WidePenRingSurroundsTheShrunkEllipse)
{
    TBitmap B = MakeBitmap(20, 20, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetWidth(3);
    C.GetBrush().SetColor(clRed);
    const TRect Box{1, 1, 19, 17};
    C.Ellipse(Box);
    const TRect Core{3, 3, 17, 15};
    int Ring = 0;
    for (int Y = 0; Y < 20; ++Y) {
        for (int X = 0; X < 20; ++X) {
            const TColor P = B.GetPixel(X, Y);
            if (P == clRed) {
                EXPECT_TRUE(OracleInside(Core, X, Y) && Core.Contains({X, Y}));
            }
            if (P == clBlack)
                ++Ring;
            if (!OracleInside(Core, X, Y) && OracleInside(Box, X, Y) && Box.Contains({X, Y})) {
                EXPECT_EQ(P, clBlack);
            }
        }
    }
    EXPECT_GT(Ring, 80);
}

TEST(CanvasEllipse, XorAppliedTwiceRestores)
{
    for (TPenStyle Style : {TPenStyle::psSolid, TPenStyle::psDot, TPenStyle::psDash}) {
        TBitmap B = MakeBitmap(32, 32, clWhite);
        TCanvas& C = B.GetCanvas();
        C.GetPen().SetMode(TPenMode::pmXor);
        C.GetPen().SetStyle(Style);
        C.GetPen().SetColor(clWhite);
        C.GetBrush().SetColor(clRed);
        C.SetClipRect({0, 0, 20, 32});
        C.Ellipse(3, 2, 31, 30);
        const std::string Once = Picture(B, Key);
        EXPECT_NE(Once.find('#'), std::string::npos);
        C.Ellipse(3, 2, 31, 30);
        EXPECT_EQ(Picture(B, Key).find_first_not_of(".\n"), std::string::npos);
    }
}

TEST(CanvasEllipse, DottedOutlineAlternates)
{
    TBitmap B = MakeBitmap(24, 24, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetStyle(TPenStyle::psDot);
    C.GetBrush().SetStyle(TBrushStyle::bsClear);
    C.Ellipse(0, 0, 24, 24);
    TBitmap S = MakeBitmap(24, 24, clWhite);
    S.GetCanvas().GetBrush().SetStyle(TBrushStyle::bsClear);
    S.GetCanvas().Ellipse(0, 0, 24, 24);
    int Solid = 0, Dotted = 0;
    for (int Y = 0; Y < 24; ++Y) {
        for (int X = 0; X < 24; ++X) {
            Solid += S.GetPixel(X, Y) == clBlack;
            Dotted += B.GetPixel(X, Y) == clBlack;
            if (B.GetPixel(X, Y) == clBlack) {
                EXPECT_EQ(S.GetPixel(X, Y), clBlack);
            }
        }
    }
    EXPECT_EQ(Dotted, (Solid + 1) / 2);
}

TEST(CanvasPolygon, FillsByPixelCentresAndOutlinesTheVertices)
{
    const TPoint Square[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
    EXPECT_EQ(Draw(7, 7,
                   [&](TCanvas& C) {
                       C.GetPen().SetStyle(TPenStyle::psClear);
                       C.Polygon(Square);
                   }),
              Rows({".......", ".oooo..", ".oooo..", ".oooo..", ".oooo..", ".......", "......."}));
    EXPECT_EQ(Draw(7, 7, [&](TCanvas& C) { C.Polygon(Square); }),
              Rows({".......", ".#####.", ".#ooo#.", ".#ooo#.", ".#ooo#.", ".#####.", "......."}));
    const TPoint Triangle[] = {{0, 0}, {6, 0}, {0, 6}};
    EXPECT_EQ(Draw(7, 7,
                   [&](TCanvas& C) {
                       C.GetPen().SetStyle(TPenStyle::psClear);
                       C.Polygon(Triangle);
                   }),
              Rows({"ooooo..", "oooo...", "ooo....", "oo.....", "o......", ".......", "......."}));
}

TEST(CanvasPolygon, EvenOddRuleLeavesTheStarCentre)
{
    // A five-pointed star drawn in one stroke: its pentagon centre is outside by the even-odd rule.
    const TPoint Star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    TBitmap B = MakeBitmap(21, 21, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetStyle(TPenStyle::psClear);
    C.GetBrush().SetColor(clRed);
    C.Polygon(Star);
    EXPECT_EQ(B.GetPixel(10, 11), clWhite);
    EXPECT_EQ(B.GetPixel(10, 3), clRed);
    EXPECT_EQ(B.GetPixel(2, 7), clRed);
    EXPECT_EQ(B.GetPixel(5, 17), clRed);
}

// Random convex polygons against the definition: pixel centre inside every edge half-plane.
TEST(CanvasPolygon, RandomTrianglesMatchPixelCentres)
{
    std::mt19937 Random(77);
    std::uniform_int_distribution<int> Coord(-4, 20);
    for (int I = 0; I < 200; ++I) {
        TPoint P[3] = {{Coord(Random), Coord(Random)},
                       {Coord(Random), Coord(Random)},
                       {Coord(Random), Coord(Random)}};
        const long long Area2 = 1LL * (P[1].X - P[0].X) * (P[2].Y - P[0].Y) -
                                1LL * (P[2].X - P[0].X) * (P[1].Y - P[0].Y);
        if (Area2 == 0)
            continue;
        TBitmap B = MakeBitmap(16, 16, clWhite);
        TCanvas& C = B.GetCanvas();
        C.GetPen().SetStyle(TPenStyle::psClear);
        C.GetBrush().SetColor(clRed);
        C.Polygon(P);
        for (int Y = 0; Y < 16; ++Y) {
            for (int X = 0; X < 16; ++X) {
                // Doubled centre against each edge; a centre exactly on an edge is decided by the
                // scan rule, so such pixels are not checked.
                bool Inside = true, OnEdge = false;
                for (int E = 0; E < 3; ++E) {
                    const TPoint A = P[E], Q = P[(E + 1) % 3];
                    const long long Cross = 1LL * (Q.X - A.X) * (2 * Y + 1 - 2 * A.Y) -
                                            1LL * (Q.Y - A.Y) * (2 * X + 1 - 2 * A.X);
                    OnEdge |= Cross == 0;
                    Inside &= Area2 > 0 ? Cross > 0 : Cross < 0;
                }
                if (!OnEdge) {
                    ASSERT_EQ(B.GetPixel(X, Y) == clRed, Inside)
                        << "case " << I << " at " << X << "," << Y;
                }
            }
        }
    }
}

TEST(CanvasEllipse, HugeBoxesStaySymmetric)
{
    // Wider than 2^14 pixels: solved in floating point, still symmetric about the centre row.
    TBitmap B = MakeBitmap(16, 8, clWhite);
    TCanvas& C = B.GetCanvas();
    C.SetOrigin({8, 0});
    C.GetBrush().SetColor(clRed);
    C.Ellipse(-30000, 0, 30000, 8);
    for (int Y = 0; Y < 8; ++Y) {
        for (int X = 0; X < 16; ++X) {
            ASSERT_EQ(B.GetPixel(X, Y), B.GetPixel(X, 7 - Y)) << X << "," << Y;
            ASSERT_EQ(B.GetPixel(X, Y), B.GetPixel(15 - X, Y)) << X << "," << Y;
        }
    }
    EXPECT_EQ(B.GetPixel(8, 0), clBlack); // top of the outline
    EXPECT_EQ(B.GetPixel(8, 3), clRed);
}

TEST(CanvasLine, CoordinatesBeyondTheGdiRangeAreHeldToIt)
{
    TBitmap B = MakeBitmap(8, 8, clWhite);
    TCanvas& C = B.GetCanvas();
    C.SetOrigin({1, 0});
    C.MoveTo(std::numeric_limits<int>::min(), std::numeric_limits<int>::min());
    C.LineTo(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    // Both ends held to the 28-bit range: the diagonal through the target origin.
    for (int I = 0; I < 8; ++I)
        EXPECT_EQ(B.GetPixel(I, I), clBlack) << I;
    const TPoint Huge[] = {{-2000000000, 4}, {2000000000, 4}, {0, 2000000000}};
    C.GetBrush().SetColor(clRed);
    C.Polygon(Huge);
    EXPECT_EQ(B.GetPixel(5, 4), clBlack);
    EXPECT_EQ(B.GetPixel(5, 6), clRed);
}
