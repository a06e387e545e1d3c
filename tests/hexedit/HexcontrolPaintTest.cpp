#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/stdctrls/ScrollBar.h"
#include "hexedit/Hexcontrol.h"
#include "tests/support/HeadlessApp.h"

#include <array>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr TColor Paper = clWhite;

// Runs extra drawing at the end of each paint, while the canvas draws.
class TProbeEditor : public THexEditor
{
public:
    using THexEditor::GetHitTest;
    using THexEditor::PaintBar;
    using THexEditor::PaintHorizBar;
    using THexEditor::THexEditor;
    std::function<void(TProbeEditor&)> AfterPaint;
    int RowWidthChanges = 0;

protected:
    void Paint() override
    {
        THexEditor::Paint();
        if (AfterPaint)
            AfterPaint(*this);
    }
};

class HexPaintTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm({0, 0, 800, 400});
        Editor = new TProbeEditor(Form);
        Editor->SetParent(Form);
        Editor->GetFont().SetName("Courier New");
        Editor->SetColor(Paper);
        Editor->OnRowWidthChange = [this](TObject*) { ++Editor->RowWidthChanges; };
        Size(700, 200);
        Form->Show();
        Pump();
        TBitmap Probe(1, 1);
        TCanvas C(Probe);
        C.SetFont(Editor->GetFont());
        W = C.TextWidth("A");
        H = C.TextHeight("A");
        ASSERT_EQ(C.TextWidth("0123456789ABCDEF."), 17 * W) << "the test font is not monospace";
    }

    void Size(int Width, int Height)
    {
        Editor->SetBounds(0, 0, Width, Height);
        Pump();
    }

    // Whether the form shows Text at (X, Y) as the canvas draws it in Ink on the paper, over the
    // rows above the cursor underline.
    bool ShowsText(int X, int Y, const std::string& Text, TColor Ink)
    {
        TBitmap Ref(int(Text.size()) * W, H);
        TCanvas C(Ref);
        C.SetFont(Editor->GetFont());
        C.GetFont().SetColor(Ink);
        C.GetBrush().SetColor(Paper);
        C.FillRect({0, 0, Ref.GetWidth(), H});
        C.TextOut(0, 0, Text);
        for (int Y0 = 0; Y0 < H - 2; ++Y0)
            for (int X0 = 0; X0 < Ref.GetWidth(); ++X0)
                if (At(X + X0, Y + Y0) != C.GetPixel(X0, Y0))
                    return false;
        return true;
    }

    int ValuesX() const { return 12 + 8 * W + 20; }
    int CharsX() const { return ValuesX() + 35 * W + 20; }

    TProbeEditor* Editor = nullptr;
    int W = 0, H = 0;
};

TEST_F(HexPaintTest, RowWidthIsMeasuredAndReportedOnlyWhenItChanges)
{
    EXPECT_EQ(Editor->GetRowWidth(), 12 + 8 * W + 20 + 35 * W + 20 + 16 * W + 12);
    EXPECT_EQ(Editor->RowWidthChanges, 1);
    Editor->Repaint();
    EXPECT_EQ(Editor->RowWidthChanges, 1);
    Editor->SetBytesPerLine(8);
    EXPECT_EQ(Editor->GetRowWidth(), 12 + 8 * W + 20 + 17 * W + 20 + 8 * W + 12);
    EXPECT_EQ(Editor->RowWidthChanges, 2);
}

TEST_F(HexPaintTest, DecimalGroupsOfTwoAreFiveDigitsBigEndianEachFollowedByASpace)
{
    Editor->SetBytesPerGroup(2);
    Editor->SetBaseBytes(10);
    EXPECT_EQ(Editor->GetRowWidth(), 12 + 8 * W + 20 + 8 * 6 * W + 20 + 16 * W + 12);
    const THitRow& Row = Editor->GetHitTest().GetRow(0);
    ASSERT_EQ(Row.GetCellCount(), 8u + 16u);
    for (int K = 0; K < 8; ++K) {
        const THitCell& C = Row.GetCell(std::size_t(K));
        EXPECT_EQ(C.Left, ValuesX() + 6 * K * W) << K;
        EXPECT_EQ(C.Right, C.Left + 5 * W - 1) << K;
        EXPECT_EQ(C.Offset, 2 * K) << K;
    }
    // Row 1 starts at offset 16, so its second group holds 0x12 0x13: 4627.
    EXPECT_TRUE(ShowsText(ValuesX() + 6 * W, 10 + H, "04627", clBlack));
}

TEST_F(HexPaintTest, AZeroByteShowsAsADotAndAnyOtherAsItself)
{
    Editor->SetNull();
    Editor->SetByte(1, 'Q');
    Editor->Repaint();
    EXPECT_TRUE(ShowsText(CharsX(), 10, ".Q", clBlack));
}

TEST_F(HexPaintTest, BytesPerLineNotFilledByGroupsShowsTheMessageCentredInABareFrame)
{
    Editor->SetBytesPerLine(10);
    const int CW = Editor->GetClientWidth(), CH = Editor->GetClientHeight();
    const std::string Lines[] = {"Please make sure the Bytes-Per-Line (BPL) setting you",
                                 "select is divisible by the Bytes-Per-Group (BPG) setting",
                                 "you have selected"};
    for (int K = 0; K < 3; ++K) {
        const int X = (CW - int(Lines[K].size()) * W) / 2, Y = (CH - H) / 2 + H * K;
        EXPECT_TRUE(ShowsText(X, Y, Lines[K], Editor->GetFont().GetColor())) << K;
    }
    EXPECT_EQ(At(0, CH / 2), RGB(0, 100, 255));
    // No separator bars between the frame's sides, below the text.
    for (int X = 6; X < CW - 6; ++X)
        ASSERT_EQ(At(X, CH - 8), Paper) << X;
}

TEST_F(HexPaintTest, ALinkedScrollBarPicksTheFirstRowAndTakesTheRowsAsItsLargeChange)
{
    auto* Bar = new TScrollBar(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(0, 300, 100, 17);
    Editor->SetScrollBar(Bar);
    Editor->SetSize(1024);
    Bar->SetPosition(2);
    Editor->Repaint();
    EXPECT_EQ(Editor->GetFirstVisibleOffset(), 32);
    EXPECT_EQ(Editor->GetLastVisibleOffset(), 32 + 16 * Editor->GetRowsPainted() - 1);
    EXPECT_EQ(Bar->GetLargeChange(), Editor->GetRowsPainted());
    EXPECT_TRUE(ShowsText(12, 10, "00000020", Editor->GetFont().GetColor()));
}

struct TRowsCase
{
    int ExtraPixels, Rows;
};

class HexPaintRows : public HexPaintTest, public testing::WithParamInterface<TRowsCase>
{};

TEST_P(HexPaintRows, FillTheClientHeightBelowTheFirstRow)
{
    Size(700, 10 + 3 * H + GetParam().ExtraPixels);
    EXPECT_EQ(Editor->GetRowsPainted(), GetParam().Rows);
    EXPECT_EQ(Editor->GetFirstVisibleOffset(), 0);
    EXPECT_EQ(Editor->GetLastVisibleOffset(), 16 * GetParam().Rows - 1);
}

INSTANTIATE_TEST_SUITE_P(Heights, HexPaintRows, testing::Values(TRowsCase{1, 3}, TRowsCase{0, 2}));

TEST_F(HexPaintTest, TheCursorColourWinsOverAChangeWhichWinsOverTheColumnColour)
{
    Editor->SetColorCursor(clRed);
    Editor->SetColorChange(clGreen);
    Editor->SetColorAscii(clBlue);
    Editor->SetByte(5, 'A');
    Editor->SetByte(6, 'B');
    Editor->Repaint();
    EXPECT_TRUE(ShowsText(CharsX() + 5 * W, 10, "A", clRed));
    EXPECT_TRUE(ShowsText(CharsX() + 6 * W, 10, "B", clGreen));
    EXPECT_TRUE(ShowsText(CharsX() + W, 10 + 4 * H, "A", clBlue)); // offset 0x41
    EXPECT_TRUE(ShowsText(ValuesX() + 11 * W, 10, "41", clRed));
    EXPECT_TRUE(ShowsText(ValuesX() + 13 * W, 10, "42", clGreen));
    EXPECT_TRUE(ShowsText(ValuesX() + 15 * W, 10, "07", clBlack));
}

TEST_F(HexPaintTest, TheDefaultFrameAndSeparatorsRampBlueOutwardsInGreen)
{
    const TColor Ramp[] = {RGB(0, 100, 255), RGB(0, 50, 255), RGB(0, 0, 255), RGB(0, 50, 255),
                           RGB(0, 100, 255)};
    const int Bar = 12 + 8 * W + 9 - 2, Y = 10 + H / 2;
    for (int K = 0; K < 5; ++K) {
        EXPECT_EQ(At(K, 100), Ramp[K]) << K;
        EXPECT_EQ(At(Bar + K, Y), Ramp[K]) << K;
        EXPECT_EQ(At(CharsX() - 20 + 9 - 2 + K, Y), Ramp[K]) << K;
    }
    EXPECT_EQ(At(Bar - 1, Y), Paper);
    EXPECT_EQ(At(Bar + 5, Y), Paper);
}

TEST_F(HexPaintTest, TheCursorBlinksOnASixStepCycleAndStyleOneHoldsIt)
{
    const int MarkX = CharsX() + 5 * W, MarkY = 10 + H - 2;
    ASSERT_EQ(At(MarkX, MarkY), clBlack);
    // Only the mark is redrawn: a pixel of the back buffer elsewhere stays as it is set.
    WM().GetBackBuffer(Form->GetHandle())->SetPixel(300, 150, clLime);
    std::string Blink;
    for (int Step = 0; Step < 7; ++Step) {
        Editor->AnimateCursor();
        Pump();
        Blink += At(MarkX, MarkY) == clBlack && At(MarkX + W - 1, MarkY + 1) == clBlack ? 'V' : '-';
    }
    EXPECT_EQ(Blink, "VV---VV");
    EXPECT_EQ(At(300, 150), clLime);

    Editor->SetCursorStyle(1);
    Blink.clear();
    for (int Step = 0; Step < 6; ++Step) {
        Editor->AnimateCursor();
        Pump();
        Blink += At(MarkX, MarkY) == clBlack ? 'V' : '-';
    }
    EXPECT_EQ(Blink, "VVVVVV");
}

TEST_F(HexPaintTest, PolkaDotsFollowTheRandomRuleFromAFixedSeed)
{
    // No cells, no address, no frame: the control shows only its background and the dots.
    Editor->SetBytesPerLine(0);
    Editor->SetBaseOffset(7);
    Editor->SetBarWidth(0);
    const int CW = Editor->GetClientWidth(), CH = Editor->GetClientHeight();
    std::array<TPoint, 30> P{}, V{};
    // The generator is shared: the model reads the editor's numbers from a record of them.
    std::vector<int> Numbers;
    std::srand(42);
    for (int I = 0; I < 1000; ++I)
        Numbers.push_back(std::rand());
    std::size_t Next = 0;
    auto Random = [&](int N) { return N == 0 ? 0 : Numbers.at(Next++) % N; };
    std::srand(42);
    Editor->SetPolkaDots(40);
    for (int Paint = 0; Paint < 3; ++Paint) {
        if (Paint > 0)
            Editor->Repaint();
        TBitmap Model(CW, CH);
        TCanvas C(Model);
        C.GetBrush().SetColor(Paper);
        C.FillRect({0, 0, CW, CH});
        C.GetBrush().SetColor(RGB(255, 128, 192));
        C.GetPen().SetColor(RGB(255, 128, 192));
        for (std::size_t I = 0; I < P.size(); ++I) {
            P[I].X += V[I].X;
            P[I].Y += V[I].Y;
            if (P[I].X < 0 || P[I].X > CW || P[I].Y < 0 || P[I].Y > CH || V[I] == TPoint{}) {
                P[I].X = Random(CW);
                P[I].Y = Random(CH);
                V[I].X = Random(3) - 1;
                V[I].Y = Random(3) - 1;
            }
            C.Ellipse(P[I].X, P[I].Y, P[I].X + 30, P[I].Y + 30);
        }
        int Wrong = 0;
        for (int Y = 0; Y < CH; ++Y)
            for (int X = 0; X < CW; ++X)
                Wrong += At(X, Y) != C.GetPixel(X, Y);
        EXPECT_EQ(Wrong, 0) << "paint " << Paint;
    }
}

TEST_F(HexPaintTest, APaintLeavesACellPerValueAndCharacterForClicks)
{
    const THitTest& T = Editor->GetHitTest();
    const THitCell* Char = T.Find(CharsX() + 3 * W, 10 + H + H / 2);
    ASSERT_NE(Char, nullptr);
    EXPECT_EQ(Char->Offset, 19);
    EXPECT_EQ(Char->Panel, 1);
    const THitCell* Value = T.Find(ValuesX() + 9 * W + 1, 10);
    ASSERT_NE(Value, nullptr);
    EXPECT_EQ(Value->Offset, 4);
    EXPECT_EQ(Value->Panel, 0);
    EXPECT_EQ(T.Find(ValuesX() + 8 * W, 10), nullptr); // the space after a group
    EXPECT_EQ(T.Find(ValuesX() - 5, 10), nullptr);     // the separator
}

TEST_F(HexPaintTest, BandsTooNarrowToRampDrawNothingAndDoNotFail)
{
    for (int Band : {1, -1}) {
        Editor->SetBarWidth(Band);
        EXPECT_EQ(At(0, 100), Paper) << Band;
        EXPECT_EQ(At(12 + 8 * W + 9, 10 + H / 2), Paper) << Band;
    }
    // Three rows and half a row's room below them, where the bands go on from.
    const int Y0 = 10 + 3 * H;
    std::vector<TColor> Drawn;
    Editor->AfterPaint = [](TProbeEditor& E) {
        E.PaintHorizBar(1);
        E.PaintHorizBar(-4);
        E.PaintBar(1, 20);
        E.PaintBar(0, 20);
        E.PaintHorizBar(6);
    };
    Size(700, Y0 + H / 2);
    ASSERT_EQ(Editor->GetRowsPainted(), 3);
    // The narrow bands took 1 - 4 pixels of height; the ramped one is centred 2 below its top.
    for (int Y = Y0 - 3; Y < Y0 + 2; ++Y)
        Drawn.push_back(At(300, Y));
    EXPECT_EQ(Drawn, (std::vector<TColor>{RGB(0, 100, 210), RGB(0, 50, 210), RGB(0, 0, 210),
                                          RGB(0, 50, 210), RGB(0, 100, 210)}));
    EXPECT_EQ(At(300, Y0 + 2), Paper);
}

} // namespace
