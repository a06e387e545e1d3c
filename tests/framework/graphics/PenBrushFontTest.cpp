#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"
#include "tests/framework/graphics/CanvasTestSupport.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <random>

TEST(Pen, Defaults)
{
    TPen P;
    EXPECT_EQ(P.GetColor(), clBlack);
    EXPECT_EQ(P.GetWidth(), 1);
    EXPECT_EQ(P.GetStyle(), TPenStyle::psSolid);
    EXPECT_EQ(P.GetMode(), TPenMode::pmCopy);
}

TEST(Brush, Defaults)
{
    TBrush B;
    EXPECT_EQ(B.GetColor(), clWhite);
    EXPECT_EQ(B.GetStyle(), TBrushStyle::bsSolid);
}

TEST(Font, Defaults)
{
    TFont F;
    EXPECT_EQ(F.GetName(), "MS Sans Serif");
    EXPECT_EQ(F.GetSize(), 8);
    EXPECT_EQ(F.GetHeight(), -11);
    EXPECT_EQ(F.GetPixelsPerInch(), 96);
    EXPECT_EQ(F.GetColor(), clWindowText);
    EXPECT_EQ(F.GetStyle(), 0u);
}

struct TSizeCase
{
    int Points;
    int Height;
};

class FontSize : public testing::TestWithParam<TSizeCase>
{};

// Height = -MulDiv(Size, 96, 72) and back, rounding halves away from zero.
TEST_P(FontSize, ConvertsAt96Dpi)
{
    TFont F;
    F.SetSize(GetParam().Points);
    EXPECT_EQ(F.GetHeight(), GetParam().Height);
    EXPECT_EQ(F.GetSize(), GetParam().Points);
}

INSTANTIATE_TEST_SUITE_P(Points, FontSize,
                         testing::Values(TSizeCase{8, -11}, TSizeCase{9, -12}, TSizeCase{10, -13},
                                         TSizeCase{12, -16}, TSizeCase{7, -9}, TSizeCase{1, -1},
                                         TSizeCase{72, -96}, TSizeCase{-10, 13}),
                         [](const testing::TestParamInfo<TSizeCase>& I) {
                             return "Points" + NumberWord(I.param.Points);
                         });

TEST(Font, PositiveHeightReadsAsNegativeSize)
{
    TFont F;
    F.SetHeight(16);
    EXPECT_EQ(F.GetSize(), -12);
    F.SetPixelsPerInch(120);
    EXPECT_EQ(F.GetHeight(), 16);
    EXPECT_EQ(F.GetSize(), -10); // 16 * 72 / 120 = 9.6
}

TEST(Font, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, -1, 2), -3);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000); // no overflow on the way
    EXPECT_EQ(MulDiv(1, 1, 0), 0);
}

TEST(PenBrushFont, OnChangeFiresOncePerRealChange)
{
    int PenChanges = 0, BrushChanges = 0, FontChanges = 0;
    TPen P;
    TBrush B;
    TFont F;
    P.SetOnChange([&](TPen* Sender) {
        EXPECT_EQ(Sender, &P);
        ++PenChanges;
    });
    B.SetOnChange([&](TBrush* Sender) {
        EXPECT_EQ(Sender, &B);
        ++BrushChanges;
    });
    F.SetOnChange([&](TFont* Sender) {
        EXPECT_EQ(Sender, &F);
        ++FontChanges;
    });
    P.SetColor(clRed);
    P.SetColor(clRed);
    P.SetWidth(2);
    P.SetStyle(TPenStyle::psDot);
    P.SetMode(TPenMode::pmXor);
    B.SetColor(clRed);
    B.SetStyle(TBrushStyle::bsClear);
    B.SetStyle(TBrushStyle::bsClear);
    F.SetName("Arial");
    F.SetSize(8); // already 8 points
    F.SetSize(10);
    F.SetColor(clRed);
    F.SetStyle(fsBold | fsItalic);
    EXPECT_EQ(PenChanges, 4);
    EXPECT_EQ(BrushChanges, 2);
    EXPECT_EQ(FontChanges, 4);
}

TEST(PenBrushFont, AssignCopiesStateNotHandler)
{
    TFont Source;
    Source.SetName("Courier New");
    Source.SetHeight(-15);
    Source.SetColor(clBlue);
    Source.SetStyle(fsUnderline);
    int Calls = 0;
    TFont Copy;
    Copy.SetOnChange([&](TFont*) { ++Calls; });
    Copy.Assign(Source);
    EXPECT_EQ(Copy.GetName(), "Courier New");
    EXPECT_EQ(Copy.GetHeight(), -15);
    EXPECT_EQ(Copy.GetColor(), clBlue);
    EXPECT_EQ(Copy.GetStyle(), unsigned(fsUnderline));
    EXPECT_EQ(Calls, 1);
    EXPECT_FALSE(Source.GetOnChange());

    TPen P;
    P.SetWidth(4);
    P.SetMode(TPenMode::pmNot);
    TPen Q;
    Q.Assign(P);
    EXPECT_EQ(Q.GetWidth(), 4);
    EXPECT_EQ(Q.GetMode(), TPenMode::pmNot);
    TBrush B;
    B.SetStyle(TBrushStyle::bsClear);
    TBrush C;
    C.Assign(B);
    EXPECT_EQ(C.GetStyle(), TBrushStyle::bsClear);
}

// Every pen mode against its boolean definition on random pixels, one bit at a time.
TEST(PenMode, MatchesTheBinaryRasterOperations)
{
    // The result bit of mode m for pen bit p and target bit d is bit (p * 2 + d) of this table,
    // read from the names: 0 black, ~(p|d) ... the sixteen functions of two bits.
    struct TModeTable
    {
        TPenMode Mode;
        bool (*Op)(bool P, bool D);
    };
    const TModeTable Modes[] = {
        {TPenMode::pmBlack, [](bool, bool) { return false; }},
        {TPenMode::pmWhite, [](bool, bool) { return true; }},
        {TPenMode::pmNop, [](bool, bool D) { return D; }},
        {TPenMode::pmNot, [](bool, bool D) { return !D; }},
        {TPenMode::pmCopy, [](bool P, bool) { return P; }},
        {TPenMode::pmNotCopy, [](bool P, bool) { return !P; }},
        {TPenMode::pmMergePenNot, [](bool P, bool D) { return P || !D; }},
        {TPenMode::pmMaskPenNot, [](bool P, bool D) { return P && !D; }},
        {TPenMode::pmMergeNotPen, [](bool P, bool D) { return !P || D; }},
        {TPenMode::pmMaskNotPen, [](bool P, bool D) { return !P && D; }},
        {TPenMode::pmMerge, [](bool P, bool D) { return P || D; }},
        {TPenMode::pmNotMerge, [](bool P, bool D) { return !(P || D); }},
        {TPenMode::pmMask, [](bool P, bool D) { return P && D; }},
        {TPenMode::pmNotMask, [](bool P, bool D) { return !(P && D); }},
        {TPenMode::pmXor, [](bool P, bool D) { return P != D; }},
        {TPenMode::pmNotXor, [](bool P, bool D) { return P == D; }},
    };
    std::mt19937 Random(3);
    for (const TModeTable& M : Modes) {
        for (int I = 0; I < 50; ++I) {
            const TPixel Pen = Random() & 0xFFFFFF;
            const TPixel Target = Random() & 0xFFFFFF;
            TPixel Expected = 0;
            for (int Bit = 0; Bit < 24; ++Bit)
                if (M.Op((Pen >> Bit) & 1, (Target >> Bit) & 1))
                    Expected |= TPixel(1) << Bit;
            ASSERT_EQ(ApplyPenMode(M.Mode, Pen | 0xAB000000u, Target), Expected) << int(M.Mode);
        }
    }
}

// A face that reports a character height of 90% of its cell, truncated like a hinted face.
class TScaledFace : public TFontFace
{
public:
    explicit TScaledFace(int Cell)
    {
        FMetrics.Height = Cell;
        FMetrics.Ascent = Cell - Cell / 5;
        FMetrics.Descent = Cell / 5;
        FMetrics.InternalLeading = Cell - Cell * 9 / 10;
    }
    TFontMetrics GetMetrics() const override { return FMetrics; }
    const TGlyph& GetGlyph(char32_t) override { return FGlyph; }

private:
    TFontMetrics FMetrics;
    TGlyph FGlyph;
};

class TScaledEngine : public TFontEngine
{
public:
    std::shared_ptr<TFontFace> OpenFace(const TFontRequest& R) override
    {
        return std::make_shared<TScaledFace>(R.HeightPixels);
    }
};

// A negative height asks for the cell whose character height (cell - internal leading) comes
// nearest; no cell does better.
TEST(FontRequest, CharacterHeightMapsToTheBestCell)
{
    TScaledEngine Engine;
    auto CharacterOf = [](int Cell) { return Cell * 9 / 10; };
    for (int H = 1; H <= 60; ++H) {
        const TFontRequest R = ResolveFontRequest(Engine, "Tahoma", -H, fsItalic);
        EXPECT_EQ(R.Name, "Tahoma");
        EXPECT_EQ(R.Style, unsigned(fsItalic));
        const int Error = std::abs(CharacterOf(R.HeightPixels) - H);
        for (int Cell = 1; Cell <= 80; ++Cell)
            ASSERT_LE(Error, std::abs(CharacterOf(Cell) - H)) << "height " << H;
    }
    EXPECT_EQ(ResolveFontRequest(Engine, "X", 20, 0).HeightPixels, 20);
    EXPECT_EQ(ResolveFontRequest(Engine, "X", 0, 0).HeightPixels,
              ResolveFontRequest(Engine, "X", -11, 0).HeightPixels);
}
