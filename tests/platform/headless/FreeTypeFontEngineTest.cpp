// What the FreeType engine promises beyond the port-independent font tests: the cell is exactly
// the requested height, the GDI meaning of negative and zero heights, determinism, and a visible
// glyph for every missing character.
#include "platform/freetype/FreeTypeFontEngine.h"

#include "platform/freetype/BoxFontFace.h"
#include "platform/freetype/FreeTypeFontFace.h"

#include <gtest/gtest.h>

namespace {

class FreeTypeHeightTest : public testing::TestWithParam<int>
{
protected:
    TFreeTypeFontEngine Engine;
};

TEST_P(FreeTypeHeightTest, CellIsTheRequestedHeight)
{
    for (unsigned Style : {0u, unsigned{fsBold}, unsigned{fsItalic}}) {
        const TFontMetrics M = Engine.OpenFace({"MS Sans Serif", GetParam(), Style})->GetMetrics();
        EXPECT_EQ(M.Height, GetParam());
        EXPECT_EQ(M.Ascent + M.Descent, GetParam());
        EXPECT_GT(M.Ascent, M.Descent);
    }
}

TEST_P(FreeTypeHeightTest, NegativeHeightIsTheCharacterHeight)
{
    const TFontMetrics M = Engine.OpenFace({"MS Sans Serif", -GetParam(), 0})->GetMetrics();
    EXPECT_EQ(M.Height - M.InternalLeading, GetParam());
    EXPECT_GE(M.Height, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Heights, FreeTypeHeightTest, testing::Range(4, 73, 3),
                         [](const testing::TestParamInfo<int>& I) {
                             return "Height" + std::to_string(I.param);
                         });

TEST(FreeTypeFontEngine, ZeroAndHugeHeightsStaySane)
{
    TFreeTypeFontEngine Engine;
    EXPECT_EQ(Engine.OpenFace({"MS Sans Serif", 0, 0})->GetMetrics().Height, 13);
    auto Huge = Engine.OpenFace({"MS Sans Serif", 1000000, 0});
    EXPECT_EQ(Huge->GetMetrics().Height, TFreeTypeFontFace::MaxCellPixels);
    EXPECT_LE(Huge->GetGlyph(U'W').Height, 2 * TFreeTypeFontFace::MaxCellPixels);
    auto HugeNegative = Engine.OpenFace({"MS Sans Serif", -1000000, 0});
    EXPECT_GE(HugeNegative->GetMetrics().Height, TFreeTypeFontFace::MaxCellPixels);
}

TEST(FreeTypeFontEngine, UnknownFamiliesFallBackToAScalableFace)
{
    TFreeTypeFontEngine Engine;
    const std::string File = Engine.GetFontFile({"MS Sans Serif", 13, 0});
    EXPECT_FALSE(File.empty());
    EXPECT_FALSE(Engine.GetFontFile({"No Such Family 1234", 13, 0}).empty());
    EXPECT_FALSE(Engine.GetFontFile({"", 13, 0}).empty());
}

TEST(FreeTypeFontEngine, IsDeterministic)
{
    // Two engines know nothing of each other: the same request gives the same pixels.
    TFreeTypeFontEngine A;
    TFreeTypeFontEngine B;
    for (unsigned Style : {0u, unsigned{fsBold}, unsigned{fsItalic}, unsigned{fsBold | fsItalic}}) {
        auto FA = A.OpenFace({"MS Sans Serif", 13, Style});
        auto FB = B.OpenFace({"MS Sans Serif", 13, Style});
        for (char32_t C = U' '; C <= U'~'; ++C) {
            const TGlyph& GA = FA->GetGlyph(C);
            const TGlyph& GB = FB->GetGlyph(C);
            ASSERT_EQ(GA.AdvancePixels, GB.AdvancePixels);
            ASSERT_EQ(GA.OriginX, GB.OriginX);
            ASSERT_EQ(GA.OriginY, GB.OriginY);
            ASSERT_EQ(GA.Coverage, GB.Coverage);
        }
    }
}

TEST(FreeTypeFontEngine, SameRequestSharesTheFace)
{
    TFreeTypeFontEngine Engine;
    auto A = Engine.OpenFace({"MS Sans Serif", 13, fsBold});
    auto B = Engine.OpenFace({"MS Sans Serif", 13, fsBold | fsUnderline});
    auto C = Engine.OpenFace({"MS Sans Serif", 14, fsBold});
    EXPECT_EQ(A, B);
    EXPECT_NE(A, C);
}

TEST(FreeTypeFontEngine, MissingCharactersShowInk)
{
    TFreeTypeFontEngine Engine;
    auto Face = Engine.OpenFace({"MS Sans Serif", 13, 0});
    for (char32_t C : {char32_t{0x10FFFE}, char32_t{0xDFFF}, char32_t{0xFFFFFFFF}}) {
        const TGlyph& G = Face->GetGlyph(C);
        EXPECT_GT(G.AdvancePixels, 0);
        EXPECT_GT(G.Width * G.Height, 0);
        int Ink = 0;
        for (std::uint8_t V : G.Coverage)
            Ink += V;
        EXPECT_GT(Ink, 0);
    }
}

TEST(BoxFontFace, IsAUsableFaceOfLastResort)
{
    for (int Height : {1, 2, 13, 40}) {
        SCOPED_TRACE(Height);
        TBoxFontFace Face(Height);
        const TFontMetrics M = Face.GetMetrics();
        EXPECT_EQ(M.Height, Height);
        EXPECT_EQ(M.Ascent + M.Descent, Height);
        EXPECT_GT(M.AverageCharWidth, 0);
        const TGlyph& Box = Face.GetGlyph(U'A');
        ASSERT_EQ(Box.Coverage.size(), static_cast<std::size_t>(Box.Width * Box.Height));
        EXPECT_GT(Box.AdvancePixels, Box.Width);
        EXPECT_EQ(Box.OriginY + Box.Height, 0) << "stands on the baseline";
        // A hollow box: the border is ink, the inside (if any) is not.
        for (int Y = 0; Y < Box.Height; ++Y)
            for (int X = 0; X < Box.Width; ++X) {
                const bool Border = X == 0 || Y == 0 || X == Box.Width - 1 || Y == Box.Height - 1;
                EXPECT_EQ(Box.Coverage[Y * Box.Width + X], Border ? 255 : 0);
            }
        const TGlyph& Space = Face.GetGlyph(U' ');
        EXPECT_GT(Space.AdvancePixels, 0);
        EXPECT_TRUE(Space.Coverage.empty());
    }
}

} // namespace
