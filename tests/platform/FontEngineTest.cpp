// The font engine of whatever port is installed (FreeType on the build machine, GDI under Wine):
// metrics and glyph layout that text layout relies on. Never glyph pixels: they belong to the
// installed fonts.
#include "platform/Platform.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace {

TFontEngine& Engine()
{
    return TPlatform::Get().GetFontEngine();
}

std::shared_ptr<TFontFace> Open(const std::string& Name, int Height, unsigned Style = 0)
{
    return Engine().OpenFace(TFontRequest{Name, Height, Style});
}

int TextWidth(TFontFace& Face, const std::u32string& Text)
{
    int Width = 0;
    for (char32_t C : Text)
        Width += Face.GetGlyph(C).AdvancePixels;
    return Width;
}

void ExpectWellFormed(const TGlyph& G)
{
    EXPECT_GE(G.Width, 0);
    EXPECT_GE(G.Height, 0);
    EXPECT_EQ(G.Coverage.size(),
              static_cast<std::size_t>(G.Width) * static_cast<std::size_t>(G.Height));
}

using TFaceParam = std::tuple<std::string, int, unsigned>;

class FontFaceTest : public testing::TestWithParam<TFaceParam>
{
protected:
    void SetUp() override
    {
        const auto& [Name, Height, Style] = GetParam();
        Face = Open(Name, Height, Style);
        ASSERT_NE(Face, nullptr);
    }
    std::shared_ptr<TFontFace> Face;
};

TEST_P(FontFaceTest, MetricsAreConsistent)
{
    const TFontMetrics M = Face->GetMetrics();
    EXPECT_GT(M.Ascent, 0);
    EXPECT_GT(M.Descent, 0);
    EXPECT_EQ(M.Height, M.Ascent + M.Descent);
    EXPECT_GE(M.InternalLeading, 0);
    EXPECT_LT(M.InternalLeading, M.Height);
    EXPECT_GT(M.AverageCharWidth, 0);
    EXPECT_LT(M.AverageCharWidth, M.Height * 2);
}

TEST_P(FontFaceTest, PrintableAsciiHasPositiveAdvancesAndCoverage)
{
    for (char32_t C = U'!'; C <= U'~'; ++C) {
        SCOPED_TRACE(static_cast<char>(C));
        const TGlyph& G = Face->GetGlyph(C);
        EXPECT_GT(G.AdvancePixels, 0);
        ExpectWellFormed(G);
        EXPECT_GT(G.Width * G.Height, 0) << "a visible character has ink";
    }
    const TGlyph& Space = Face->GetGlyph(U' ');
    EXPECT_GT(Space.AdvancePixels, 0);
    ExpectWellFormed(Space);
}

TEST_P(FontFaceTest, GlyphsSitOnTheBaseline)
{
    const TFontMetrics M = Face->GetMetrics();
    const TGlyph& H = Face->GetGlyph(U'H');
    const TGlyph& X = Face->GetGlyph(U'x');
    const TGlyph& G = Face->GetGlyph(U'g');
    // A capital stands on the baseline and rises above it, within the cell.
    EXPECT_LE(std::abs(H.OriginY + H.Height), 1);
    EXPECT_LT(H.OriginY, 0);
    EXPECT_GE(H.OriginY, -M.Ascent - 1);
    EXPECT_LT(X.Height, H.Height);
    // A descender goes below it, within the cell.
    EXPECT_GT(G.OriginY + G.Height, 0);
    EXPECT_LE(G.OriginY + G.Height, M.Descent + 1);
}

TEST_P(FontFaceTest, LongerTextIsWider)
{
    EXPECT_GT(TextWidth(*Face, U"WWWW"), TextWidth(*Face, U"iiii"));
    const std::u32string Text = U"Hello, tube clock";
    for (std::size_t N = 1; N < Text.size(); ++N)
        EXPECT_GT(TextWidth(*Face, Text.substr(0, N + 1)), TextWidth(*Face, Text.substr(0, N)));
}

TEST_P(FontFaceTest, MissingCharactersGiveAGlyph)
{
    // A noncharacter, a lone surrogate, a value beyond Unicode, a control character.
    for (char32_t C : {char32_t{0x10FFFE}, char32_t{0xD800}, char32_t{0x110000}, char32_t{0x1}}) {
        SCOPED_TRACE(static_cast<unsigned>(C));
        const TGlyph& G = Face->GetGlyph(C);
        EXPECT_GT(G.AdvancePixels, 0);
        ExpectWellFormed(G);
    }
}

TEST_P(FontFaceTest, GlyphsAreCachedAndStable)
{
    const TGlyph& First = Face->GetGlyph(U'A');
    for (char32_t C = U'a'; C <= U'z'; ++C)
        Face->GetGlyph(C);
    const TGlyph& Again = Face->GetGlyph(U'A');
    EXPECT_EQ(&First, &Again);
    const auto& [Name, Height, Style] = GetParam();
    std::shared_ptr<TFontFace> Other = Open(Name, Height, Style);
    const TGlyph& FromOther = Other->GetGlyph(U'A');
    EXPECT_EQ(FromOther.AdvancePixels, First.AdvancePixels);
    EXPECT_EQ(FromOther.Coverage, First.Coverage);
    EXPECT_EQ(Other->GetMetrics().Height, Face->GetMetrics().Height);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, FontFaceTest,
    testing::Combine(testing::Values("MS Sans Serif", "Arial", "No Such Family 1234"),
                     testing::Values(13, 16, 24),
                     testing::Values(0u, unsigned{fsBold}, unsigned{fsItalic})),
    [](const auto& I) {
        return CaseName(std::get<0>(I.param)) + "_" + std::to_string(std::get<1>(I.param)) +
               "_Style" + std::to_string(std::get<2>(I.param));
    });

TEST(FontEngine, DefaultUiFontIsSmall)
{
    // The framework's default font: 8 points at 96 dpi, a character height of 11 pixels in a cell
    // of 13. Substitute faces land near that (Wine's make the cell 14).
    const TFontMetrics M = Open("MS Sans Serif", 13)->GetMetrics();
    EXPECT_GE(M.Height, 12);
    EXPECT_LE(M.Height, 15);
    EXPECT_GE(M.Height - M.InternalLeading, 9);
    EXPECT_LE(M.Height - M.InternalLeading, 13);
    EXPECT_GE(M.AverageCharWidth, 4);
    EXPECT_LE(M.AverageCharWidth, 8);
}

TEST(FontEngine, BoldIsNotNarrower)
{
    const std::u32string Text = U"The quick brown fox jumps over the lazy dog 0123456789";
    for (int Height : {13, 20, 32}) {
        SCOPED_TRACE(Height);
        const int Regular = TextWidth(*Open("MS Sans Serif", Height), Text);
        const int Bold = TextWidth(*Open("MS Sans Serif", Height, fsBold), Text);
        EXPECT_GE(Bold, Regular);
    }
}

TEST(FontEngine, LargerFontsAreLarger)
{
    int PreviousWidth = 0;
    int PreviousHeight = 0;
    for (int Height : {10, 13, 20, 32, 48}) {
        SCOPED_TRACE(Height);
        std::shared_ptr<TFontFace> Face = Open("Arial", Height);
        const int Width = TextWidth(*Face, U"Nixie");
        const TGlyph& M = Face->GetGlyph(U'M');
        EXPECT_GT(Width, PreviousWidth);
        EXPECT_GT(M.Height, PreviousHeight);
        PreviousWidth = Width;
        PreviousHeight = M.Height;
    }
}

TEST(FontEngine, UnderlineAndStrikeOutLeaveGlyphsAlone)
{
    std::shared_ptr<TFontFace> Plain = Open("MS Sans Serif", 13);
    std::shared_ptr<TFontFace> Lined = Open("MS Sans Serif", 13, fsUnderline | fsStrikeOut);
    for (char32_t C : std::u32string(U"Agy")) {
        EXPECT_EQ(Lined->GetGlyph(C).AdvancePixels, Plain->GetGlyph(C).AdvancePixels);
        EXPECT_EQ(Lined->GetGlyph(C).Coverage, Plain->GetGlyph(C).Coverage);
    }
}

} // namespace
