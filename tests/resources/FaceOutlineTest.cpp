#include "framework/graphics/Region.h"
#include "framework/graphics/RegionBuilder.h"
#include "tests/resources/ArtTestFiles.h"
#include "tests/support/CaseName.h"
#include "tests/support/FaceArt.h"

#include <gtest/gtest.h>

namespace {

using namespace ArtTest;

std::uint32_t Le32(const std::vector<std::uint8_t>& B, std::size_t At)
{
    return std::uint32_t(B[At]) | std::uint32_t(B[At + 1]) << 8 | std::uint32_t(B[At + 2]) << 16 |
           std::uint32_t(B[At + 3]) << 24;
}

// The outline the window gets: the non-black pixels, built run by run with the project's
// builder. Runs counts the runs as a plain scan finds them.
TRegion Outline(const TBitmap& Face, int& Runs)
{
    TRegionBuilder Builder;
    Runs = 0;
    for (int Y = 0; Y < Face.GetHeight(); ++Y) {
        int X = 0;
        while (X < Face.GetWidth()) {
            while (X < Face.GetWidth() && IsBlack(Face, X, Y))
                ++X;
            if (X == Face.GetWidth())
                break;
            const int Start = X;
            while (X < Face.GetWidth() && !IsBlack(Face, X, Y))
                ++X;
            Builder.AddRun(Y, Start, X);
            ++Runs;
        }
    }
    return Builder.Finish();
}

// The same outline as the union of one rectangle per opaque pixel, the slowest sure way.
TRegion PixelUnion(const TBitmap& Face)
{
    TRegion R;
    for (int Y = 0; Y < Face.GetHeight(); ++Y)
        for (int X = 0; X < Face.GetWidth(); ++X)
            if (!IsBlack(Face, X, Y))
                R.Union(TRect(X, Y, X + 1, Y + 1));
    return R;
}

class FaceOutline : public testing::TestWithParam<TFaceCheck>
{};

TEST_P(FaceOutline, IsAnUncompressedBottomUp24BitBitmapWithoutColourTable)
{
    const TFaceCheck& C = GetParam();
    const std::optional<TManifestEntry> E = FindEntry(C.Name);
    ASSERT_TRUE(E);
    EXPECT_EQ(E->Id, C.Id);
    EXPECT_EQ(E->Kind, "bitmap");
    const std::vector<std::uint8_t> B = ReadFile(ResourcePath(E->File));
    ASSERT_GE(B.size(), 54u);
    EXPECT_EQ(B[0], 'B');
    EXPECT_EQ(B[1], 'M');
    EXPECT_EQ(Le32(B, 10), 54u) << "pixels must follow the headers directly";
    EXPECT_EQ(Le32(B, 14), 40u);
    EXPECT_EQ(std::int32_t(Le32(B, 18)), C.Width);
    EXPECT_EQ(std::int32_t(Le32(B, 22)), C.Height) << "a positive height: bottom-up rows";
    EXPECT_EQ(B[26] | B[27] << 8, 1);
    EXPECT_EQ(B[28] | B[29] << 8, 24);
    EXPECT_EQ(Le32(B, 30), 0u) << "uncompressed";
    EXPECT_EQ(Le32(B, 46), 0u) << "no colour table";
    const std::size_t Stride = (std::size_t(C.Width) * 3 + 3) / 4 * 4;
    EXPECT_EQ(B.size(), 54 + Stride * std::size_t(C.Height));
    // The first stored pixel is the bottom-left one: black, the outline's transparent colour.
    EXPECT_EQ(B[54] | B[55] | B[56], 0);
}

TEST_P(FaceOutline, OutlineHasTheCheckRunsAndRectangles)
{
    const TFaceCheck& C = GetParam();
    const TBitmap Face = LoadCommitted(C.Name);
    ASSERT_EQ(Face.GetWidth(), C.Width);
    ASSERT_EQ(Face.GetHeight(), C.Height);
    EXPECT_EQ(Face.GetPixelFormat(), TPixelFormat::pf24bit);
    EXPECT_TRUE(IsBlack(Face, 0, C.Height - 1));
    int Runs = 0;
    const TRegion R = Outline(Face, Runs);
    EXPECT_EQ(Runs, C.Runs);
    EXPECT_EQ(R.GetRectCount(), C.Rects);
    EXPECT_TRUE(R.SelfCheck());
    EXPECT_TRUE(R == PixelUnion(Face));
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceOutline, testing::ValuesIn(FaceChecks), ByName{});

// The stored outline of the main window is the one the large nixie face gives.
TEST(NixieLargeOutline, MatchesTheStoredOutlineOfTheMainWindow)
{
    const TBitmap Face = LoadCommitted("FaceNixieLarge");
    ASSERT_FALSE(Face.Empty());
    int Runs = 0;
    const TRegion R = Outline(Face, Runs);
    EXPECT_EQ(R.GetBandCount(), 21u);
    const TRect Bounds = R.GetBounds();
    EXPECT_EQ(Bounds.Left, 5);
    EXPECT_EQ(Bounds.Top, 28);
    EXPECT_EQ(Bounds.Right, 276);
    EXPECT_EQ(Bounds.Bottom, 115);
    const TRect FirstBand[] = {{21, 28, 26, 29},   {64, 28, 69, 29},   {120, 28, 125, 29},
                               {163, 28, 168, 29}, {217, 28, 222, 29}, {258, 28, 263, 29}};
    ASSERT_GT(R.GetRectCount(), 6u);
    for (std::size_t I = 0; I < 6; ++I) {
        const TRect& Got = R.GetRects()[I];
        EXPECT_TRUE(Got.Left == FirstBand[I].Left && Got.Top == FirstBand[I].Top &&
                    Got.Right == FirstBand[I].Right && Got.Bottom == FirstBand[I].Bottom)
            << "rectangle " << I << ": " << Got.Left << "," << Got.Top << "," << Got.Right << ","
            << Got.Bottom;
    }
    EXPECT_NE(R.GetRects()[6].Top, 28) << "the first band holds six rectangles";
    const TRect& Last = R.GetRects().back();
    EXPECT_TRUE(Last.Left == 255 && Last.Top == 114 && Last.Right == 267 && Last.Bottom == 115);
}

struct TTubeCase
{
    const char* Name;
    int GlassWidth;
    int Columns[6];
};

void PrintTo(const TTubeCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class NixieTubes : public testing::TestWithParam<TTubeCase>
{};

// Six tubes whose glass is exactly GlassWidth wide at the given columns, nothing outside them.
TEST_P(NixieTubes, GlassStandsAtItsColumns)
{
    const TTubeCase& C = GetParam();
    const TBitmap Face = LoadCommitted(C.Name);
    ASSERT_FALSE(Face.Empty());
    for (int Y = 0; Y < Face.GetHeight(); ++Y)
        for (int X = 0; X < Face.GetWidth(); ++X) {
            if (IsBlack(Face, X, Y))
                continue;
            bool InGlass = false;
            for (int Left : C.Columns)
                InGlass = InGlass || (X >= Left && X < Left + C.GlassWidth);
            ASSERT_TRUE(InGlass) << "pixel (" << X << ", " << Y << ") lies beside every tube";
        }
    for (int Left : C.Columns) {
        int FullRows = 0;
        for (int Y = 0; Y < Face.GetHeight(); ++Y) {
            bool Full = true;
            for (int X = Left; X < Left + C.GlassWidth; ++X)
                Full = Full && !IsBlack(Face, X, Y);
            FullRows += Full;
        }
        EXPECT_GT(FullRows, Face.GetHeight() / 3) << "tube at " << Left;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faces, NixieTubes,
    testing::Values(TTubeCase{"FaceNixieLarge", 34, {5, 48, 104, 147, 201, 242}},
                    TTubeCase{"FaceNixieSmall", 17, {2, 24, 52, 73, 100, 121}}),
    ByName{});

struct TStyleCase
{
    const char* Style;
    const char* Face;
    int Top;
    int DigitWidth;
    int DigitHeight;
    int Columns[6];
};

void PrintTo(const TStyleCase& C, std::ostream* Out)
{
    *Out << C.Style;
}

class DigitCells : public testing::TestWithParam<TStyleCase>
{};

// The lit digits show only where the face is opaque, so every cell of a style must lie on it.
TEST_P(DigitCells, LieOnTheFace)
{
    const TStyleCase& C = GetParam();
    const TBitmap Face = LoadCommitted(C.Face);
    ASSERT_FALSE(Face.Empty());
    for (int Digit = 0; Digit < 6; ++Digit) {
        int Holes = 0;
        for (int Y = C.Top; Y < C.Top + C.DigitHeight; ++Y)
            for (int X = C.Columns[Digit]; X < C.Columns[Digit] + C.DigitWidth; ++X)
                Holes += X >= Face.GetWidth() || Y >= Face.GetHeight() || IsBlack(Face, X, Y);
        EXPECT_EQ(Holes, 0) << C.Style << " digit " << Digit;
    }
}

const TStyleCase Styles[] = {
    {"NixieLarge", "FaceNixieLarge", 50, 23, 41, {10, 53, 110, 152, 207, 248}},
    {"NixieSmall", "FaceNixieSmall", 24, 11, 22, {5, 27, 55, 76, 103, 124}},
    {"VfdLarge", "FaceVfdLarge", 63, 25, 40, {88, 120, 177, 206, 267, 294}},
    {"VfdSmall", "FaceVfdSmall", 31, 12, 19, {45, 57, 88, 103, 131, 146}},
};

std::string StyleName(const testing::TestParamInfo<TStyleCase>& Info)
{
    return Info.param.Style;
}

INSTANTIATE_TEST_SUITE_P(Styles, DigitCells, testing::ValuesIn(Styles), StyleName);

class VfdFace : public testing::TestWithParam<TStyleCase>
{};

// The VFD faces: the exhaust tip is the topmost part, at the centre; the pins are the lowest,
// a row of separate runs; and the window shows the unlit segments (RGB 48, 48, 48) in every
// digit cell.
TEST_P(VfdFace, HasTipPinsAndUnlitDigits)
{
    const TStyleCase& C = GetParam();
    const TBitmap Face = LoadCommitted(C.Face);
    ASSERT_FALSE(Face.Empty());
    int Top = 0;
    while (Top < Face.GetHeight() && [&] {
        for (int X = 0; X < Face.GetWidth(); ++X)
            if (!IsBlack(Face, X, Top))
                return false;
        return true;
    }())
        ++Top;
    int First = -1, Last = -1;
    for (int X = 0; X < Face.GetWidth(); ++X)
        if (!IsBlack(Face, X, Top)) {
            First = First < 0 ? X : First;
            Last = X;
        }
    EXPECT_LE(Last - First + 1, 7) << "the tip is narrow";
    EXPECT_LE(std::abs((First + Last + 1) - Face.GetWidth()), 2) << "and centred";

    int Bottom = Face.GetHeight() - 1;
    auto RowRuns = [&](int Y) {
        int Runs = 0;
        for (int X = 0; X < Face.GetWidth(); ++X)
            Runs += !IsBlack(Face, X, Y) && (X == 0 || IsBlack(Face, X - 1, Y));
        return Runs;
    };
    while (Bottom > 0 && RowRuns(Bottom) == 0)
        --Bottom;
    EXPECT_GE(RowRuns(Bottom), 5) << "the pins";

    for (int Digit = 0; Digit < 6; ++Digit) {
        int Grey = 0;
        for (int Y = C.Top; Y < C.Top + C.DigitHeight; ++Y)
            for (int X = C.Columns[Digit]; X < C.Columns[Digit] + C.DigitWidth; ++X) {
                const TRgb P = RgbAt(Face, X, Y);
                Grey += P.R == 48 && P.G == 48 && P.B == 48;
            }
        EXPECT_GT(Grey, C.DigitWidth * C.DigitHeight / 8) << "digit " << Digit;
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, VfdFace, testing::Values(Styles[2], Styles[3]), StyleName);

} // namespace
