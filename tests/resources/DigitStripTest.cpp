#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"
#include "tests/resources/ArtTestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace ArtTest;

struct TStripCase
{
    const char* Name;
    int CellWidth;
    int CellHeight;
    int Count;
    TRgb Lit; // the lit segment colour of a VFD list; unused for the nixie list
    int SmallWidth;
    int SmallHeight;
};

const TStripCase NixieStrip{"ImageListNixie", 23, 41, 10, {0, 0, 0}, 11, 22};
const TStripCase VfdStrips[] = {
    {"ImageListVfd", 25, 40, 16, {0, 90, 255}, 12, 19},
    {"ImageListVfdG", 25, 40, 16, {0, 255, 255}, 12, 19},
    {"ImageListVfdR", 25, 40, 16, {255, 0, 0}, 12, 19},
};

void PrintTo(const TStripCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

std::string CaseName(const testing::TestParamInfo<TStripCase>& Info)
{
    return Info.param.Name;
}

// The list as the program builds it: the strip loaded with the cell size and layout its
// manifest line gives.
TImageList LoadList(const TStripCase& C)
{
    const std::optional<TManifestEntry> E = FindEntry(C.Name);
    TImageList List;
    if (!E || E->Params.size() != 4)
        return List;
    TBitmap Strip;
    Strip.LoadFromFile(ResourcePath(E->File));
    List.SetSize(E->Params[0], E->Params[1]);
    List.LoadFromStrip(Strip, E->Params[3], E->Params[2]);
    return List;
}

TBitmap Image(const TImageList& List, int Index)
{
    TBitmap B;
    List.GetBitmap(Index, B);
    return B;
}

class DigitStrip : public testing::TestWithParam<TStripCase>
{};

TEST_P(DigitStrip, HoldsItsImagesInTrueColourFullyOpaque)
{
    const TStripCase& C = GetParam();
    const std::optional<TManifestEntry> E = FindEntry(C.Name);
    ASSERT_TRUE(E);
    EXPECT_EQ(E->Kind, "strip");
    ASSERT_EQ(E->Params.size(), 4u);
    EXPECT_EQ(E->Params[0], C.CellWidth);
    EXPECT_EQ(E->Params[1], C.CellHeight);
    EXPECT_EQ(E->Params[2], C.Count);
    TBitmap Strip;
    Strip.LoadFromFile(ResourcePath(E->File));
    EXPECT_EQ(Strip.GetPixelFormat(), TPixelFormat::pf24bit);

    const TImageList List = LoadList(C);
    ASSERT_EQ(List.GetCount(), C.Count);
    EXPECT_EQ(List.GetWidth(), C.CellWidth);
    EXPECT_EQ(List.GetHeight(), C.CellHeight);
    for (int I = 0; I < C.Count; ++I) {
        TBitmap Mask;
        List.GetMask(I, Mask);
        int Transparent = 0;
        for (int Y = 0; Y < Mask.GetHeight(); ++Y)
            for (int X = 0; X < Mask.GetWidth(); ++X)
                Transparent += PixelIsLight(Mask.GetScanLine(Y)[X]);
        EXPECT_EQ(Transparent, 0) << "image " << I;
        // Drawn through its mask, the image is a plain copy of its cell of the strip.
        const TBitmap B = Image(List, I);
        const int Left = (I % E->Params[3]) * C.CellWidth;
        const int Top = (I / E->Params[3]) * C.CellHeight;
        int Different = 0;
        for (int Y = 0; Y < C.CellHeight; ++Y)
            for (int X = 0; X < C.CellWidth; ++X)
                Different += (B.GetScanLine(Y)[X] & 0xFFFFFF) !=
                             (Strip.GetScanLine(Top + Y)[Left + X] & 0xFFFFFF);
        EXPECT_EQ(Different, 0) << "image " << I;
    }
}

// Shrunk without smoothing, as the small styles draw them, the images must stay legible: any two
// differ in several clearly different pixels, not in noise.
TEST_P(DigitStrip, StaysLegibleWhenShrunkWithoutSmoothing)
{
    const TStripCase& C = GetParam();
    const TImageList List = LoadList(C);
    ASSERT_EQ(List.GetCount(), C.Count);
    std::vector<TBitmap> Small;
    for (int I = 0; I < C.Count; ++I) {
        TBitmap S(C.SmallWidth, C.SmallHeight);
        S.GetCanvas().StretchDraw(TRect(0, 0, C.SmallWidth, C.SmallHeight), Image(List, I));
        Small.push_back(S);
    }
    for (int I = 0; I < C.Count; ++I)
        for (int J = I + 1; J < C.Count; ++J) {
            int Clear = 0;
            for (int Y = 0; Y < C.SmallHeight; ++Y)
                for (int X = 0; X < C.SmallWidth; ++X) {
                    const TRgb A = RgbAt(Small[std::size_t(I)], X, Y);
                    const TRgb B = RgbAt(Small[std::size_t(J)], X, Y);
                    Clear += std::abs(A.R - B.R) + std::abs(A.G - B.G) + std::abs(A.B - B.B) > 120;
                }
            EXPECT_GE(Clear, 3) << "images " << I << " and " << J;
        }
}

INSTANTIATE_TEST_SUITE_P(Art, DigitStrip,
                         testing::Values(NixieStrip, VfdStrips[0], VfdStrips[1], VfdStrips[2]),
                         CaseName);

// The segment boxes (inclusive), a to g and the decimal point.
struct TBox
{
    int X0, X1, Y0, Y1;
    bool Holds(int X, int Y) const { return X >= X0 && X <= X1 && Y >= Y0 && Y <= Y1; }
};
const TBox Boxes[8] = {{7, 15, 5, 7},  {16, 19, 5, 16}, {13, 17, 21, 32}, {2, 12, 31, 33},
                       {2, 6, 21, 29}, {5, 8, 9, 17},   {7, 15, 18, 20},  {17, 22, 30, 34}};
// The lit segments of 0 to 9 and A to F.
const char* const LitSegments[16] = {"abcdef", "bc",    "abdeg",   "abcdg",  "bcfg",   "acdfg",
                                     "acdefg", "abc",   "abcdefg", "abcdfg", "abcefg", "cdefg",
                                     "deg",    "bcdeg", "adefg",   "aefg"};

class VfdStrip : public testing::TestWithParam<TStripCase>
{};

TEST_P(VfdStrip, EverySegmentIsLitOrUnlitAsTheTableSaysWithinItsBox)
{
    const TStripCase& C = GetParam();
    const TImageList List = LoadList(C);
    ASSERT_EQ(List.GetCount(), 16);
    const TRgb Grey{48, 48, 48};
    auto Same = [](TRgb A, TRgb B) { return A.R == B.R && A.G == B.G && A.B == B.B; };
    for (int Digit = 0; Digit < 16; ++Digit) {
        const TBitmap B = Image(List, Digit);
        for (int S = 0; S < 8; ++S) {
            const bool ShouldLight =
                S < 7 && std::string(LitSegments[Digit]).find(char('a' + S)) != std::string::npos;
            int Lit = 0, Unlit = 0;
            TBox Found{99, -1, 99, -1};
            for (int Y = 0; Y < B.GetHeight(); ++Y)
                for (int X = 0; X < B.GetWidth(); ++X) {
                    bool Other = false;
                    for (int O = 0; O < 8; ++O)
                        Other = Other || (O != S && Boxes[O].Holds(X, Y));
                    if (!Boxes[S].Holds(X, Y) || Other)
                        continue;
                    const TRgb P = RgbAt(B, X, Y);
                    const bool IsLit = Same(P, C.Lit);
                    const bool IsUnlit = Same(P, Grey);
                    Lit += IsLit;
                    Unlit += IsUnlit;
                    if (IsLit || IsUnlit)
                        Found = {std::min(Found.X0, X), std::max(Found.X1, X),
                                 std::min(Found.Y0, Y), std::max(Found.Y1, Y)};
                }
            SCOPED_TRACE(testing::Message() << C.Name << " image " << Digit << " segment "
                                            << (S < 7 ? char('a' + S) : '.'));
            if (ShouldLight) {
                EXPECT_GT(Lit, 0);
                EXPECT_EQ(Unlit, 0);
            } else {
                EXPECT_EQ(Lit, 0);
                EXPECT_GT(Unlit, 0);
            }
            EXPECT_EQ(Found.X0, Boxes[S].X0);
            EXPECT_EQ(Found.X1, Boxes[S].X1);
            EXPECT_EQ(Found.Y0, Boxes[S].Y0);
            EXPECT_EQ(Found.Y1, Boxes[S].Y1);
        }
        // Outside the boxes nothing has a segment's colour.
        int Stray = 0;
        for (int Y = 0; Y < B.GetHeight(); ++Y)
            for (int X = 0; X < B.GetWidth(); ++X) {
                bool InBox = false;
                for (const TBox& Box : Boxes)
                    InBox = InBox || Box.Holds(X, Y);
                const TRgb P = RgbAt(B, X, Y);
                Stray += !InBox && (Same(P, C.Lit) || Same(P, Grey));
            }
        EXPECT_EQ(Stray, 0) << C.Name << " image " << Digit;
    }
}

// Away from the segments (two pixels clear of every box) the glass is near-black, averaging
// RGB 21, 21, 21, with faint lighter lines on rows 10 and 28 to 29.
TEST_P(VfdStrip, BackgroundIsNearBlackWithTwoFaintLines)
{
    const TStripCase& C = GetParam();
    const TImageList List = LoadList(C);
    ASSERT_EQ(List.GetCount(), 16);
    for (int Digit = 0; Digit < 16; ++Digit) {
        const TBitmap B = Image(List, Digit);
        double Sum[3] = {0, 0, 0};
        int Count = 0;
        double RowSum[40] = {};
        int RowCount[40] = {};
        for (int Y = 0; Y < B.GetHeight(); ++Y)
            for (int X = 0; X < B.GetWidth(); ++X) {
                bool Near = false;
                for (const TBox& Box : Boxes)
                    Near = Near || (X >= Box.X0 - 2 && X <= Box.X1 + 2 && Y >= Box.Y0 - 2 &&
                                    Y <= Box.Y1 + 2);
                if (Near)
                    continue;
                const TRgb P = RgbAt(B, X, Y);
                Sum[0] += P.R;
                Sum[1] += P.G;
                Sum[2] += P.B;
                ++Count;
                RowSum[Y] += (P.R + P.G + P.B) / 3.0;
                ++RowCount[Y];
            }
        ASSERT_GT(Count, 200);
        for (double S : Sum)
            EXPECT_NEAR(S / Count, 21.0, 1.5) << C.Name << " image " << Digit;
        for (int Y = 0; Y < 40; ++Y) {
            if (RowCount[Y] == 0)
                continue;
            const double Mean = RowSum[Y] / RowCount[Y];
            if (Y == 10 || Y == 28 || Y == 29)
                EXPECT_GE(Mean, 25.0) << "row " << Y;
            else
                EXPECT_NEAR(Mean, 21.0, 2.0) << "row " << Y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Art, VfdStrip, testing::ValuesIn(VfdStrips), CaseName);

// The lit nixie tube: a near-white stroke over most of the cell height, an orange-red glow that
// averages within the given span from image to image, darkening to brown-red in its darkest
// tenth (the mesh and the unlit cathodes).
TEST(NixieStrip, ColoursAreThoseOfALitTube)
{
    const TImageList List = LoadList(NixieStrip);
    ASSERT_EQ(List.GetCount(), 10);
    for (int Digit = 0; Digit < 10; ++Digit) {
        SCOPED_TRACE(testing::Message() << "image " << Digit);
        const TBitmap B = Image(List, Digit);
        double Stroke[3] = {0, 0, 0}, Glow[3] = {0, 0, 0};
        int Strokes = 0, Glows = 0;
        int Top = 99, Bottom = -1, Left = 99, Right = -1;
        std::vector<TRgb> All;
        for (int Y = 0; Y < B.GetHeight(); ++Y)
            for (int X = 0; X < B.GetWidth(); ++X) {
                const TRgb P = RgbAt(B, X, Y);
                All.push_back(P);
                if (P.G >= 200) {
                    Stroke[0] += P.R;
                    Stroke[1] += P.G;
                    Stroke[2] += P.B;
                    ++Strokes;
                    Top = std::min(Top, Y);
                    Bottom = std::max(Bottom, Y);
                    Left = std::min(Left, X);
                    Right = std::max(Right, X);
                } else {
                    Glow[0] += P.R;
                    Glow[1] += P.G;
                    Glow[2] += P.B;
                    ++Glows;
                }
            }
        ASSERT_GT(Strokes, 40);
        EXPECT_NEAR(Stroke[0] / Strokes, 250, 6);
        EXPECT_NEAR(Stroke[1] / Strokes, 243, 8);
        EXPECT_NEAR(Stroke[2] / Strokes, 230, 10);
        EXPECT_GE(Bottom - Top + 1, 41 * 3 / 4) << "the numeral fills most of the height";
        EXPECT_LE(Right - Left + 1, 16) << "and is narrow";
        EXPECT_LT(Strokes, 23 * 41 / 4) << "a stroke, not a blot";
        EXPECT_GE(Glow[0] / Glows, 147 - 8);
        EXPECT_LE(Glow[0] / Glows, 205 + 8);
        EXPECT_GE(Glow[1] / Glows, 75 - 8);
        EXPECT_LE(Glow[1] / Glows, 103 + 8);
        EXPECT_GE(Glow[2] / Glows, 52 - 8);
        EXPECT_LE(Glow[2] / Glows, 66 + 8);
        EXPECT_GT(Glow[0] / Glows, 1.6 * Glow[1] / Glows) << "orange-red, not yellow";
        std::sort(All.begin(), All.end(),
                  [](const TRgb& A, const TRgb& Z) { return A.R + A.G + A.B < Z.R + Z.G + Z.B; });
        const std::size_t Tenth = All.size() / 10;
        double Dark[3] = {0, 0, 0};
        for (std::size_t I = 0; I < Tenth; ++I) {
            Dark[0] += All[I].R;
            Dark[1] += All[I].G;
            Dark[2] += All[I].B;
        }
        EXPECT_NEAR(Dark[0] / Tenth, 85, 12);
        EXPECT_NEAR(Dark[1] / Tenth, 38, 8);
        EXPECT_NEAR(Dark[2] / Tenth, 14, 8);
    }
}

} // namespace
