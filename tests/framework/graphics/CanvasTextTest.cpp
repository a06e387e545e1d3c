#include "tests/framework/graphics/CanvasTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Grey = RGB(128, 128, 128);

// The fake face's cell for the default font: a character height of 11 asks for a cell of 13
// (13 - 13 / 5 = 11).
constexpr int Cell = 13;
constexpr int Ascent = Cell - Cell / 4; // 10

struct TTextFixture : testing::Test
{
    TFakeFontPort Port;
    TBitmap Target = MakeBitmap(40, 20, Grey);
    TCanvas& Canvas = Target.GetCanvas();

    TTextFixture()
    {
        Canvas.GetFont().SetColor(clBlue);
        Canvas.GetBrush().SetColor(clRed);
    }
    // The pixels of the glyph boxes of Text drawn at (X, Y) by the fake face's rules.
    std::vector<TRect> GlyphBoxes(const std::u32string& Text, int X, int Y) const
    {
        std::vector<TRect> Boxes;
        for (char32_t C : Text) {
            const int Advance = TFakeFontFace::Advance(C);
            if (C != U' ')
                Boxes.push_back({X, Y + 1, X + Advance - 1, Y + Ascent});
            X += Advance;
        }
        return Boxes;
    }
    static bool InAny(const std::vector<TRect>& Boxes, int X, int Y)
    {
        for (const TRect& B : Boxes)
            if (B.Contains({X, Y}))
                return true;
        return false;
    }
};

using CanvasText = TTextFixture;

} // namespace

TEST_F(CanvasText, MeasuresByAdvancesAndTheCell)
{
    // 'A' = 65 advances 5, 'B' 3, 'C' 4, ' ' 3.
    EXPECT_EQ(Canvas.TextWidth("A"), 5);
    EXPECT_EQ(Canvas.TextWidth("ABC A"), 5 + 3 + 4 + 3 + 5);
    EXPECT_EQ(Canvas.TextHeight("A"), Cell);
    EXPECT_EQ(Canvas.TextExtent(""), (TSize{0, Cell}));
    EXPECT_EQ(Canvas.GetTextMetrics().Ascent, Ascent);
}

TEST_F(CanvasText, OpaqueFillsExactlyTheCell)
{
    const int X = 3, Y = 2;
    Canvas.TextOut(X, Y, "AB C");
    const TRect CellRect{X, Y, X + Canvas.TextWidth("AB C"), Y + Canvas.TextHeight("AB C")};
    const auto Boxes = GlyphBoxes(U"AB C", X, Y);
    for (int PY = 0; PY < 20; ++PY) {
        for (int PX = 0; PX < 40; ++PX) {
            const TColor P = Target.GetPixel(PX, PY);
            if (!CellRect.Contains({PX, PY}))
                ASSERT_EQ(P, Grey) << PX << "," << PY;
            else
                ASSERT_EQ(P, InAny(Boxes, PX, PY) ? clBlue : clRed) << PX << "," << PY;
        }
    }
}

TEST_F(CanvasText, TransparentLeavesTheBackground)
{
    Canvas.GetBrush().SetStyle(TBrushStyle::bsClear);
    Canvas.TextOut(1, 4, "CAB");
    const auto Boxes = GlyphBoxes(U"CAB", 1, 4);
    for (int PY = 0; PY < 20; ++PY)
        for (int PX = 0; PX < 40; ++PX)
            ASSERT_EQ(Target.GetPixel(PX, PY), InAny(Boxes, PX, PY) ? clBlue : Grey);
}

TEST_F(CanvasText, KeepsThePenPosition)
{
    Canvas.MoveTo(7, 9);
    Canvas.TextOut(0, 0, "ABC");
    EXPECT_EQ(Canvas.GetPenPos(), (TPoint{7, 9}));
}

TEST_F(CanvasText, BlendsPartialCoverage)
{
    TBitmap White = MakeBitmap(8, 14, clWhite);
    TCanvas& C = White.GetCanvas();
    C.GetFont().SetColor(clBlack);
    C.GetBrush().SetStyle(TBrushStyle::bsClear);
    C.TextOut(0, 0, ".");
    // Coverage 128 of black over white: about half of each channel.
    const TColor P = White.GetPixel(0, 5);
    EXPECT_NEAR(GetRValue(P), 127, 1);
    EXPECT_EQ(GetRValue(P), GetGValue(P));
    EXPECT_EQ(GetRValue(P), GetBValue(P));
}

TEST_F(CanvasText, BlendsEachLevelOverWhateverLiesBeneath)
{
    // Coverage 128 at (0, 5): each channel (under * 127 + ink * 128) / 255, rounded; the blends
    // follow the ink and the pixel beneath, whatever was drawn before.
    const auto Mix = [](TColor U, TColor O) {
        const auto Channel = [](int A, int B) {
            return std::uint8_t((A * 127 + B * 128 + 127) / 255);
        };
        return RGB(Channel(GetRValue(U), GetRValue(O)), Channel(GetGValue(U), GetGValue(O)),
                   Channel(GetBValue(U), GetBValue(O)));
    };
    TBitmap B = MakeBitmap(8, 14, clWhite);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetStyle(TBrushStyle::bsClear);
    const std::pair<TColor, TColor> Cases[] = {
        {clBlack, clWhite}, {clRed, clWhite}, {clRed, Grey}, {clBlack, clWhite}, {clRed, clWhite}};
    for (const auto& [Ink, Under] : Cases) {
        C.SetPixel(0, 5, Under);
        C.GetFont().SetColor(Ink);
        C.TextOut(0, 0, ".");
        EXPECT_EQ(B.GetPixel(0, 5), Mix(Under, Ink)) << Ink << " over " << Under;
    }
}

TEST_F(CanvasText, InvalidUtf8DrawsReplacementGlyphs)
{
    // U+FFFD advances 9: a stray continuation byte, a truncated sequence and an overlong form.
    EXPECT_EQ(Canvas.TextWidth("\x80"), 9);
    EXPECT_EQ(Canvas.TextWidth("A\xE2\x82"), 5 + 9);
    EXPECT_EQ(Canvas.TextWidth("\xC0\xAF"), 9 + 9);
    // U+00E9 = 233 advances 3 + 233 % 3 = 5.
    EXPECT_EQ(Canvas.TextWidth("\xC3\xA9"), 5);
}

TEST_F(CanvasText, ClipsAtTheOriginAndClip)
{
    Canvas.SetOrigin({10, 3});
    Canvas.SetClipRect({12, 0, 40, 6});
    Canvas.TextOut(0, 0, "A");
    for (int PY = 0; PY < 20; ++PY) {
        for (int PX = 0; PX < 40; ++PX) {
            const bool InCell = PX >= 10 && PX < 15 && PY >= 3 && PY < 3 + Cell;
            const bool Visible = InCell && PX >= 12 && PY < 6;
            const bool Glyph = PX < 14 && PY >= 4;
            ASSERT_EQ(Target.GetPixel(PX, PY), !Visible ? Grey : Glyph ? clBlue : clRed);
        }
    }
}

TEST_F(CanvasText, TextRectFillsAndClipsToTheRectangle)
{
    Canvas.TextRect({2, 2, 8, 6}, 4, 3, "AAAA");
    for (int PY = 0; PY < 20; ++PY) {
        for (int PX = 0; PX < 40; ++PX) {
            const bool Inside = PX >= 2 && PX < 8 && PY >= 2 && PY < 6;
            const bool Glyph = PX >= 4 && PY >= 4;
            ASSERT_EQ(Target.GetPixel(PX, PY), !Inside ? Grey
                                               : Glyph ? clBlue
                                                       : clRed)
                << PX << "," << PY;
        }
    }
    // The clip is back: a later fill reaches beyond the rectangle.
    Canvas.FillRect({0, 0, 40, 20});
    EXPECT_EQ(Target.GetPixel(30, 15), clRed);
    EXPECT_EQ(Canvas.GetBrush().GetStyle(), TBrushStyle::bsSolid);
}

TEST_F(CanvasText, UnderlineAndStrikeOut)
{
    Canvas.GetBrush().SetStyle(TBrushStyle::bsClear);
    Canvas.GetFont().SetStyle(fsUnderline | fsStrikeOut);
    Canvas.TextOut(2, 0, "A A");
    const int Width = 5 + 3 + 5;
    // Underline in the descent, below the glyphs; strike-out a third of the ascent up.
    const int Under = Ascent + 2;
    const int Strike = Ascent - 4;
    for (int PX = 0; PX < 40; ++PX) {
        const bool Covered = PX >= 2 && PX < 2 + Width;
        EXPECT_EQ(Target.GetPixel(PX, Under), Covered ? clBlue : Grey) << PX;
        EXPECT_EQ(Target.GetPixel(PX, Strike), Covered ? clBlue : Grey) << PX;
    }
    Canvas.GetFont().SetStyle(0);
    TBitmap Plain = MakeBitmap(40, 20, Grey);
    Plain.GetCanvas().GetBrush().SetStyle(TBrushStyle::bsClear);
    Plain.GetCanvas().TextOut(2, 0, "A A");
    EXPECT_EQ(Plain.GetPixel(3, Under), Grey);
}

TEST_F(CanvasText, OpensAFaceOnlyWhenTheFontChanges)
{
    Canvas.TextWidth("A");
    const std::size_t Opened = Port.Engine.Requests.size();
    Canvas.TextWidth("B");
    Canvas.TextOut(0, 0, "C");
    Canvas.GetFont().SetColor(clRed); // colour is not part of the face
    Canvas.TextHeight("C");
    EXPECT_EQ(Port.Engine.Requests.size(), Opened);
    Canvas.GetFont().SetStyle(fsBold);
    Canvas.TextWidth("A");
    EXPECT_GT(Port.Engine.Requests.size(), Opened);
    EXPECT_EQ(Port.Engine.Requests.back().Style, unsigned(fsBold));
    EXPECT_EQ(Port.Engine.Requests.back().Name, "MS Sans Serif");
}

// With the port's own engine (FreeType here, GDI under Wine) only the layout is checked, from the
// metrics the engine reports.
TEST(CanvasTextRealEngine, LayoutFollowsTheMetrics)
{
    TBitmap Target = MakeBitmap(120, 40, Grey);
    TCanvas& C = Target.GetCanvas();
    C.GetFont().SetColor(clBlack);
    C.GetBrush().SetColor(clWhite);
    const TFontMetrics M = C.GetTextMetrics();
    EXPECT_EQ(M.Height, M.Ascent + M.Descent);
    EXPECT_NEAR(M.Height - M.InternalLeading, 11, 1); // 8 points at 96 dpi
    const std::string Text = "Hello, World";
    const TSize Extent = C.TextExtent(Text);
    EXPECT_EQ(Extent.Height, M.Height);
    EXPECT_EQ(Extent.Width, C.TextWidth("Hello, ") + C.TextWidth("World"));
    EXPECT_GT(Extent.Width, 0);
    ASSERT_LT(Extent.Width, 110);
    C.TextOut(4, 5, Text);
    const TRect Cell = TRect::FromSize(4, 5, Extent.Width, Extent.Height);
    int Inked = 0;
    for (int Y = 0; Y < 40; ++Y) {
        for (int X = 0; X < 120; ++X) {
            const TColor P = Target.GetPixel(X, Y);
            if (Cell.Contains({X, Y})) {
                ASSERT_NE(P, Grey) << X << "," << Y;
                Inked += P != clWhite;
            }
        }
    }
    EXPECT_GT(Inked, 0);
}
