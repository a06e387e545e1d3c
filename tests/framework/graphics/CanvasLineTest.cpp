#include "tests/framework/graphics/CanvasTestSupport.h"
#include "tests/support/CaseName.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace {

using TPixelSet = std::set<std::pair<int, int>>;

// The pixels of a GDI line by definition: one per step along the major axis, the end excluded,
// each at the minor position nearest the ideal line, a tie going to the position nearer the start.
TPixelSet OracleLine(TPoint A, TPoint B)
{
    TPixelSet S;
    const int DX = B.X - A.X;
    const int DY = B.Y - A.Y;
    const int N = std::max(std::abs(DX), std::abs(DY));
    for (int K = 0; K < N; ++K) {
        const bool XMajor = std::abs(DX) >= std::abs(DY);
        const int Major = K * ((XMajor ? DX : DY) < 0 ? -1 : 1);
        const double Ideal = double(K) * std::abs(XMajor ? DY : DX) / N;
        const double Below = std::floor(Ideal);
        const int Minor =
            int(Ideal - Below > 0.5 ? Below + 1 : Below) * ((XMajor ? DY : DX) < 0 ? -1 : 1);
        S.insert(XMajor ? std::pair{A.X + Major, A.Y + Minor}
                        : std::pair{A.X + Minor, A.Y + Major});
    }
    return S;
}

TPixelSet PixelsOf(const TBitmap& B, TColor C)
{
    TPixelSet S;
    for (int Y = 0; Y < B.GetHeight(); ++Y)
        for (int X = 0; X < B.GetWidth(); ++X)
            if (B.GetPixel(X, Y) == C)
                S.insert({X, Y});
    return S;
}

TPixelSet InBounds(const TPixelSet& S, int W, int H)
{
    TPixelSet R;
    for (auto [X, Y] : S)
        if (X >= 0 && Y >= 0 && X < W && Y < H)
            R.insert({X, Y});
    return R;
}

TPixelSet DrawLine(TPoint A, TPoint B, int Size = 16)
{
    TBitmap Bmp = MakeBitmap(Size, Size, clWhite);
    TCanvas& C = Bmp.GetCanvas();
    C.GetPen().SetColor(clBlack);
    C.MoveTo(A.X, A.Y);
    C.LineTo(B.X, B.Y);
    EXPECT_EQ(C.GetPenPos(), B);
    return PixelsOf(Bmp, clBlack);
}

} // namespace

struct TOctantCase
{
    const char* Name;
    TPoint To;
};

class CanvasLineOctant : public testing::TestWithParam<TOctantCase>
{};

// From the centre of a 16x16 bitmap towards each octant: the start is drawn, the end is not, one
// pixel per step, and the line is 8-connected.
TEST_P(CanvasLineOctant, ExcludesTheEndPoint)
{
    const TPoint A{8, 8};
    const TPoint B = GetParam().To;
    const TPixelSet S = DrawLine(A, B);
    EXPECT_EQ(S, OracleLine(A, B));
    EXPECT_TRUE(S.count({A.X, A.Y}));
    EXPECT_FALSE(S.count({B.X, B.Y}));
    EXPECT_EQ(int(S.size()), std::max(std::abs(B.X - A.X), std::abs(B.Y - A.Y)));
    // The last pixel drawn touches the end point.
    bool Touches = false;
    for (auto [X, Y] : S)
        Touches |= std::max(std::abs(X - B.X), std::abs(Y - B.Y)) == 1;
    EXPECT_TRUE(Touches);
}

INSTANTIATE_TEST_SUITE_P(
    Octants, CanvasLineOctant,
    testing::Values(TOctantCase{"EastNorthEast", {15, 5}}, TOctantCase{"NorthNorthEast", {11, 1}},
                    TOctantCase{"NorthNorthWest", {5, 1}}, TOctantCase{"WestNorthWest", {1, 5}},
                    TOctantCase{"WestSouthWest", {1, 11}}, TOctantCase{"SouthSouthWest", {5, 15}},
                    TOctantCase{"SouthSouthEast", {11, 15}}, TOctantCase{"EastSouthEast", {15, 11}},
                    TOctantCase{"East", {14, 8}}, TOctantCase{"North", {8, 2}},
                    TOctantCase{"Diagonal", {3, 13}}),
    ByName{});

TEST(CanvasLine, HorizontalAndVerticalRuns)
{
    TBitmap B = MakeBitmap(5, 4, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetColor(clBlack);
    C.MoveTo(0, 1);
    C.LineTo(4, 1);
    C.MoveTo(4, 3);
    C.LineTo(4, 0);
    EXPECT_EQ(Picture(B, {{clWhite, '.'}, {clBlack, '#'}}),
              Rows({".....", "#####", "....#", "....#"}));
}

// Level and upright lines, either way round, through a clip of two rectangles and past the
// bitmap's edges: the pixels of the definition inside the clip, each inverted once by pmNot.
TEST(CanvasLine, LevelAndUprightLinesKeepToTheClip)
{
    const TRect Clip[] = {{2, 2, 7, 9}, {9, 0, 14, 16}};
    const std::pair<TPoint, TPoint> Lines[] = {{{-5, 4}, {20, 4}}, {{20, 6}, {-5, 6}},
                                               {{3, -4}, {3, 20}}, {{10, 20}, {10, -4}},
                                               {{12, 1}, {12, 1}}, {{0, 8}, {12, 8}}};
    for (const auto& [A, B] : Lines) {
        TBitmap Bmp = MakeBitmap(16, 16, clWhite);
        TCanvas& C = Bmp.GetCanvas();
        C.SetClipRects(Clip);
        C.GetPen().SetMode(TPenMode::pmNot);
        TPixelSet Expected;
        for (auto [X, Y] : OracleLine(A, B))
            for (const TRect& R : Clip)
                if (R.Contains({X, Y}))
                    Expected.insert({X, Y});
        for (const TPixelSet& Black : {Expected, TPixelSet{}}) {
            C.MoveTo(A.X, A.Y);
            C.LineTo(B.X, B.Y);
            EXPECT_EQ(PixelsOf(Bmp, clBlack), Black) << A.X << "," << A.Y << " -> " << B.X;
        }
    }
}

TEST(CanvasLine, TiesGoTowardsTheStart)
{
    // Slope 1/2: steps 1 and 3 lie midway between two rows.
    EXPECT_EQ(DrawLine({0, 0}, {4, 2}), (TPixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(DrawLine({4, 2}, {0, 0}), (TPixelSet{{4, 2}, {3, 2}, {2, 1}, {1, 1}}));
}

TEST(CanvasLine, ZeroLengthDrawsNothingAndMovesThePen)
{
    TBitmap B = MakeBitmap(4, 4, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetColor(clBlack);
    C.GetPen().SetWidth(3);
    C.MoveTo(2, 2);
    C.LineTo(2, 2);
    C.GetPen().SetWidth(1);
    C.LineTo(2, 2);
    EXPECT_TRUE(PixelsOf(B, clBlack).empty());
    EXPECT_EQ(C.GetPenPos(), (TPoint{2, 2}));
}

// Seeded random lines, many of them leaving the bitmap, against the definition.
TEST(CanvasLine, RandomLinesMatchTheDefinition)
{
    std::mt19937 Random(20240601);
    std::uniform_int_distribution<int> Coord(-12, 30);
    for (int I = 0; I < 400; ++I) {
        const TPoint A{Coord(Random), Coord(Random)};
        const TPoint B{Coord(Random), Coord(Random)};
        ASSERT_EQ(DrawLine(A, B), InBounds(OracleLine(A, B), 16, 16))
            << A.X << "," << A.Y << " -> " << B.X << "," << B.Y;
    }
}

TEST(CanvasLine, VeryLongLinesOnlyWalkTheirVisiblePart)
{
    // A line 200 million pixels long (near the 28-bit limit of GDI coordinates) crosses the
    // bitmap; its visible pixels are those of the definition.
    const TPoint A{-100000000, -50000000};
    const TPoint B{100000000, 50000001};
    TBitmap Bmp = MakeBitmap(8, 8, clWhite);
    TCanvas& C = Bmp.GetCanvas();
    C.GetPen().SetColor(clBlack);
    C.MoveTo(A.X, A.Y);
    C.LineTo(B.X, B.Y);
    const TPixelSet S = PixelsOf(Bmp, clBlack);
    EXPECT_FALSE(S.empty());
    for (auto [X, Y] : S) {
        // Minor position nearest x * (dy / dx) from A.
        const long double Ideal = (X - static_cast<long double>(A.X)) *
                                      (B.Y - static_cast<long double>(A.Y)) /
                                      (B.X - static_cast<long double>(A.X)) +
                                  A.Y;
        EXPECT_LE(std::fabs(double(Ideal - Y)), 0.5) << X << "," << Y;
    }
    EXPECT_EQ(int(S.size()), 8);
}

TEST(CanvasLine, XorTouchesEveryPixelOnce)
{
    TBitmap B = MakeBitmap(12, 12, clWhite);
    const TBitmap Original = B;
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetColor(clWhite);
    C.GetPen().SetMode(TPenMode::pmXor);
    const TPoint Poly[] = {{1, 1}, {10, 4}, {3, 10}, {1, 1}, {10, 10}};
    for (int Width : {1, 3}) {
        C.GetPen().SetWidth(Width);
        C.MoveTo(1, 1);
        C.LineTo(10, 7);
        // White XOR white is black: every touched pixel black, none restored by a second touch.
        for (auto [X, Y] : PixelsOf(Original, clWhite))
            if (B.GetPixel(X, Y) != clWhite) {
                EXPECT_EQ(B.GetPixel(X, Y), clBlack);
            }
        C.MoveTo(1, 1);
        C.LineTo(10, 7);
        EXPECT_EQ(PixelsOf(B, clWhite).size(), 144u) << "width " << Width;
        // A polyline that crosses itself also changes each pixel once.
        C.Polyline(Poly);
        const TPixelSet Once = PixelsOf(B, clBlack);
        C.Polyline(Poly);
        EXPECT_EQ(PixelsOf(B, clWhite).size(), 144u);
        EXPECT_GT(Once.size(), 20u);
    }
}

TEST(CanvasLine, NotModeInverts)
{
    TBitmap B = MakeBitmap(4, 1, clRed);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetMode(TPenMode::pmNot);
    C.MoveTo(0, 0);
    C.LineTo(2, 0);
    EXPECT_EQ(B.GetPixel(0, 0), RGB(0, 255, 255));
    EXPECT_EQ(B.GetPixel(1, 0), RGB(0, 255, 255));
    EXPECT_EQ(B.GetPixel(2, 0), clRed);
}

TEST(CanvasLine, WidePenStampsSquares)
{
    TBitmap B = MakeBitmap(8, 6, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetColor(clBlack);
    C.GetPen().SetWidth(3);
    C.MoveTo(2, 2);
    C.LineTo(5, 2);
    EXPECT_EQ(Picture(B, {{clWhite, '.'}, {clBlack, '#'}}),
              Rows({"........", ".#####..", ".#####..", ".#####..", "........", "........"}));
    // Even widths reach one pixel further right and down than left and up.
    TBitmap E = MakeBitmap(5, 5, clWhite);
    E.GetCanvas().GetPen().SetWidth(2);
    E.GetCanvas().MoveTo(2, 2);
    E.GetCanvas().LineTo(3, 2);
    EXPECT_EQ(PixelsOf(E, clBlack), (TPixelSet{{2, 2}, {3, 2}, {2, 3}, {3, 3}}));
}

struct TStyleCase
{
    const char* Name;
    TPenStyle Style;
    TBrushStyle Brush;
    const char* Expected;
};

class CanvasLineStyle : public testing::TestWithParam<TStyleCase>
{};

TEST_P(CanvasLineStyle, Patterns)
{
    TBitmap B = MakeBitmap(30, 1, clRed);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetColor(clBlack);
    C.GetPen().SetStyle(GetParam().Style);
    C.GetBrush().SetColor(clWhite);
    C.GetBrush().SetStyle(GetParam().Brush);
    C.MoveTo(0, 0);
    C.LineTo(30, 0);
    EXPECT_EQ(Picture(B, {{clRed, 'r'}, {clBlack, '#'}, {clWhite, '.'}}),
              std::string(GetParam().Expected) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Styles, CanvasLineStyle,
    testing::Values(TStyleCase{"Solid", TPenStyle::psSolid, TBrushStyle::bsSolid,
                               "##############################"},
                    TStyleCase{"DotOpaque", TPenStyle::psDot, TBrushStyle::bsSolid,
                               "#.#.#.#.#.#.#.#.#.#.#.#.#.#.#."},
                    TStyleCase{"DotTransparent", TPenStyle::psDot, TBrushStyle::bsClear,
                               "#r#r#r#r#r#r#r#r#r#r#r#r#r#r#r"},
                    TStyleCase{"Dash", TPenStyle::psDash, TBrushStyle::bsClear,
                               "##################rrrrrr######"},
                    TStyleCase{"DashDot", TPenStyle::psDashDot, TBrushStyle::bsClear,
                               "#########rrrrrr###rrrrrr######"},
                    TStyleCase{"DashDotDot", TPenStyle::psDashDotDot, TBrushStyle::bsClear,
                               "#########rrr###rrr###rrr######"},
                    TStyleCase{"Clear", TPenStyle::psClear, TBrushStyle::bsSolid,
                               "rrrrrrrrrrrrrrrrrrrrrrrrrrrrrr"}),
    ByName{});

TEST(CanvasPolyline, JoinsSegmentsAndKeepsThePen)
{
    TBitmap B = MakeBitmap(6, 5, clWhite);
    TCanvas& C = B.GetCanvas();
    C.MoveTo(5, 0);
    const TPoint P[] = {{1, 1}, {4, 1}, {4, 4}};
    C.Polyline(P);
    EXPECT_EQ(Picture(B, {{clWhite, '.'}, {clBlack, '#'}}),
              Rows({"......", ".####.", "....#.", "....#.", "......"}));
    EXPECT_EQ(C.GetPenPos(), (TPoint{5, 0}));
}

TEST(CanvasPolyline, DotsContinueAcrossSegments)
{
    TBitmap B = MakeBitmap(5, 3, clRed);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetStyle(TPenStyle::psDot);
    C.GetBrush().SetStyle(TBrushStyle::bsClear);
    const TPoint P[] = {{0, 0}, {3, 0}, {3, 3}};
    C.Polyline(P);
    // Steps 0..5 along the path: on, off, on, off(3,0), on(3,1), off(3,2).
    EXPECT_EQ(Picture(B, {{clRed, 'r'}, {clBlack, '#'}}), Rows({"#r#rr", "rrr#r", "rrrrr"}));
}
