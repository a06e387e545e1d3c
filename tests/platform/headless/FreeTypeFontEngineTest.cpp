// What the FreeType engine promises beyond the port-independent font tests: the cell is exactly
// the requested height, the GDI meaning of negative and zero heights, determinism, and a visible
// glyph for every missing character.
#include "platform/freetype/FreeTypeFontEngine.h"

#include "platform/freetype/BoxFontFace.h"
#include "platform/freetype/FreeTypeFontFace.h"
#include "tests/support/ScratchFolder.h"

#include <chrono>
#include <fstream>
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

TEST(FontMatchCache, LaterEnginesOpenTheRememberedFileUntilItChanges)
{
    TScratchFolder Folder;
    const std::filesystem::path Cache = Folder / "matches";
    const TFontRequest Dialog{"MS Sans Serif", 13, fsBold};
    std::string Chosen;
    {
        TFreeTypeFontEngine First(Cache);
        Chosen = First.GetFontFile(Dialog);
        EXPECT_TRUE(First.GetFontconfigLoaded());
    }
    {
        TFreeTypeFontEngine Second(Cache);
        EXPECT_EQ(Second.GetFontFile(Dialog), Chosen);
        EXPECT_GT(Second.OpenFace(Dialog)->GetGlyph(U'W').Width, 0);
        EXPECT_FALSE(Second.GetFontconfigLoaded());
        Second.GetFontFile({"Some Other Family", 13, 0});
        EXPECT_TRUE(Second.GetFontconfigLoaded()) << "what the file lacks is asked of fontconfig";
    }

    // A copy of the chosen font, remembered for a family of its own: used while unchanged.
    const std::string Copy = Folder.Make("copy.ttf", FileContents(Chosen));
    std::ifstream In(Cache);
    std::string Magic, Fingerprint;
    std::getline(In, Magic);
    std::getline(In, Fingerprint);
    In.close();
    const auto Stamp = std::filesystem::last_write_time(Copy).time_since_epoch().count();
    std::ofstream(Cache) << Magic << '\n'
                         << Fingerprint << "\nCopied\t0\t0\t0\t0\t" << Stamp << '\t' << Copy
                         << "\nbroken line\n\t\t\n";
    EXPECT_EQ(TFreeTypeFontEngine(Cache).GetFontFile({"Copied", 13, 0}), Copy);
    std::filesystem::last_write_time(Copy, std::filesystem::last_write_time(Copy) +
                                               std::chrono::seconds(5));
    TFreeTypeFontEngine AfterChange(Cache);
    EXPECT_NE(AfterChange.GetFontFile({"Copied", 13, 0}), Copy);
    EXPECT_TRUE(AfterChange.GetFontconfigLoaded());

    for (const char* Damaged : {"", "nixie-font-matches 1\n", "garbage\x01\xff\n\t"}) {
        std::ofstream(Cache, std::ios::trunc) << Damaged;
        TFreeTypeFontEngine Engine(Cache);
        EXPECT_EQ(Engine.GetFontFile(Dialog), Chosen);
        EXPECT_TRUE(Engine.GetFontconfigLoaded());
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
