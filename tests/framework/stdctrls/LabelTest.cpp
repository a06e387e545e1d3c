// The label: its size following its caption and font, the text's place, its fill against what
// lies under it, the underline and the disabled look pixel by pixel, clicks, and a form
// description holding one with anchors.
#include "framework/stdctrls/Label.h"

#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/windows/Form.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr TColor FormColor = RGB(0, 128, 0);
constexpr TColor Ink = RGB(200, 0, 0);

// A form at (100, 50), 160 x 60, filled with FormColor; the label at (10, 10) with Ink text.
class LabelTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        RegisterStandardControls();
        HeadlessFormTest::SetUp();
        MakeForm(TRect::FromSize(100, 50, 160, 60), FormColor);
        Label = new TLabel(Form);
        Label->SetLeft(10);
        Label->SetTop(10);
        Label->GetFont().SetColor(Ink);
        Label->SetParent(Form);
        Form->Show();
        Pump();
    }

    TSize Extent(const std::string& Text)
    {
        TBitmap Scratch;
        TCanvas Measure(Scratch);
        Measure.SetFont(Label->GetFont());
        return Measure.TextExtent(Text);
    }
    // The first and last form columns, and the rows, holding a pixel of Color within the label
    // (with Other, any pixel but Color).
    struct TInk
    {
        int First = -1, Last = -1, Top = -1, Bottom = -1;
    };
    TInk Find(TColor Color, bool Other = false)
    {
        Pump();
        TInk Found;
        const TRect B = Label->GetBoundsRect();
        for (int Y = B.Top; Y < B.Bottom; ++Y)
            for (int X = B.Left; X < B.Right; ++X)
                if ((At(X, Y) == Color) != Other) {
                    if (Found.First < 0 || X < Found.First)
                        Found.First = X;
                    Found.Last = std::max(Found.Last, X);
                    if (Found.Top < 0)
                        Found.Top = Y;
                    Found.Bottom = Y;
                }
        return Found;
    }
    // The longest run of Color along a form row.
    int LongestRun(int Y, TColor Color)
    {
        int Longest = 0, Run = 0;
        for (int X = 0; X < Form->GetWidth(); ++X) {
            Run = At(X, Y) == Color ? Run + 1 : 0;
            Longest = std::max(Longest, Run);
        }
        return Longest;
    }

    TLabel* Label = nullptr;
};

TEST_F(LabelTest, AutoSizeFollowsTheCaptionAndTheFontUnlessSwitchedOff)
{
    Label->SetCaption("Hello");
    TSize E = Extent("Hello");
    EXPECT_EQ(Label->GetBoundsRect(), TRect::FromSize(10, 10, E.Width, E.Height));
    Label->GetFont().SetSize(20);
    E = Extent("Hello");
    EXPECT_EQ(Label->GetBoundsRect(), TRect::FromSize(10, 10, E.Width, E.Height));
    // Right-justified, it grows to the left.
    Label->SetAlignment(taRightJustify);
    Label->SetCaption("Hello, world");
    const TSize Longer = Extent("Hello, world");
    EXPECT_EQ(Label->GetBoundsRect(),
              TRect::FromSize(10 + E.Width - Longer.Width, 10, Longer.Width, Longer.Height));
    Label->SetAutoSize(false);
    Label->SetBounds(10, 10, 50, 30);
    Label->SetCaption("Hi");
    Label->GetFont().SetSize(8);
    EXPECT_EQ(Label->GetBoundsRect(), TRect::FromSize(10, 10, 50, 30));
}

TEST_F(LabelTest, TheTextLandsWhereTheAlignmentPutsIt)
{
    Label->SetAutoSize(false);
    Label->SetBounds(10, 10, 120, 20);
    Label->SetCaption("Ab");
    const int Width = Extent("Ab").Width;
    const auto Expected = [&](TAlignment A) {
        return 10 + (A == taCenter ? (120 - Width) / 2 : A == taRightJustify ? 120 - Width : 0);
    };
    for (const TAlignment A : {taLeftJustify, taCenter, taRightJustify}) {
        Label->SetAlignment(A);
        const TInk Found = Find(FormColor, true);
        ASSERT_GE(Found.First, 0) << A;
        // The glyphs' side bearings put the ink a pixel or two within the text's cell.
        EXPECT_GE(Found.First, Expected(A)) << A;
        EXPECT_LE(Found.First, Expected(A) + 2) << A;
        EXPECT_LT(Found.Last, Expected(A) + Width) << A;
        EXPECT_GE(Found.Last, Expected(A) + Width - 3) << A;
    }
}

struct TFillCase
{
    const char* Name;
    bool Transparent;
    TColor OwnColor; // clNone: the parent's
    TColor Seen;     // beside the text, over a red control lying under the label
};

class LabelFill : public LabelTest, public testing::WithParamInterface<TFillCase>
{};

TEST_P(LabelFill, PaintsItsColourOrLetsWhatIsUnderShow)
{
    const TFillCase& C = GetParam();
    auto* Under = new TLabel(Form);
    Under->SetAutoSize(false);
    Under->SetColor(clRed);
    Under->SetBounds(0, 0, 160, 60);
    Under->SetParent(Form);
    Label->BringToFront();
    Label->SetAutoSize(false);
    Label->SetBounds(10, 10, 100, 26);
    // Strokes thick enough for fully covered pixels, whatever the face.
    Label->GetFont().SetHeight(-20);
    Label->SetCaption("Ab");
    Label->SetTransparent(C.Transparent);
    if (C.OwnColor != clNone)
        Label->SetColor(C.OwnColor);
    Pump();
    EXPECT_EQ(At(100, 30), C.Seen);
    EXPECT_EQ(At(5, 5), clRed);
    EXPECT_GE(Find(Ink).First, 0) << "no text";
}

INSTANTIATE_TEST_SUITE_P(Cases, LabelFill,
                         testing::Values(TFillCase{"ParentColor", false, clNone, FormColor},
                                         TFillCase{"OwnColor", false, clYellow, clYellow},
                                         TFillCase{"Transparent", true, clYellow, clRed}),
                         ByName{});

TEST_F(LabelTest, AnUnderlinedCaptionHasALineUnderItsText)
{
    Label->SetCaption("Moon");
    const int Width = Extent("Moon").Width;
    const auto LongestInkRun = [&] {
        int Longest = 0;
        for (int Y = Label->GetTop(); Y < Label->GetBoundsRect().Bottom; ++Y)
            Longest = std::max(Longest, LongestRun(Y, Ink));
        return Longest;
    };
    Pump();
    EXPECT_LT(LongestInkRun(), Width / 2);
    Label->GetFont().SetStyle(fsUnderline);
    Pump();
    EXPECT_GE(LongestInkRun(), Width - 1);
}

TEST_F(LabelTest, DisabledTheTextIsEmbossedInGrey)
{
    // Strokes thick enough for fully covered pixels of both colours, whatever the face.
    Label->GetFont().SetHeight(-24);
    Label->SetCaption("Moon");
    Label->SetEnabled(false);
    EXPECT_LT(Find(Ink).First, 0);
    const TInk Shadow = Find(ColorToRGB(clBtnShadow));
    const TInk Light = Find(ColorToRGB(clBtnHighlight));
    ASSERT_GE(Shadow.First, 0);
    ASSERT_GE(Light.First, 0);
    EXPECT_EQ(Light.Last, Shadow.Last + 1);
    EXPECT_EQ(Light.Bottom, Shadow.Bottom + 1);
}

TEST_F(LabelTest, APressAndReleaseOnItClickOnce)
{
    int Clicks = 0;
    Label->SetCaption("Click me");
    Label->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Label);
        ++Clicks;
    };
    Mouse(WM_LBUTTONDOWN, {14, 14}, ssLeft);
    Mouse(WM_LBUTTONUP, {15, 14});
    EXPECT_EQ(Clicks, 1);
    Mouse(WM_LBUTTONDOWN, {14, 14}, ssLeft);
    Mouse(WM_LBUTTONUP, {150, 50});
    EXPECT_EQ(Clicks, 1);
}

TEST_F(LabelTest, ADialogFormReadsItsAnchoredLabelAndMovesItOnlyWhenResized)
{
    const char* const Text = "object Dialog1: TForm\n"
                             "  BorderStyle = bsDialog\n"
                             "  ClientWidth = 273\n"
                             "  ClientHeight = 120\n"
                             "  object Link1: TLabel\n"
                             "    Left = 150\n"
                             "    Top = 90\n"
                             "    Width = 110\n"
                             "    Height = 16\n"
                             "    Anchors = [akTop, akRight]\n"
                             "    Alignment = taCenter\n"
                             "    AutoSize = False\n"
                             "    Caption = 'Home page'\n"
                             "    Cursor = crHandPoint\n"
                             "    Font.Style = [fsUnderline]\n"
                             "  end\n"
                             "end\n";
    TForm Dialog(nullptr);
    TFormReader::ReadInto(Dialog, Text);
    auto* Link = dynamic_cast<TLabel*>(Dialog.FindComponent("Link1"));
    ASSERT_NE(Link, nullptr);
    EXPECT_EQ(Link->GetAnchors(), (TAnchors{akTop, akRight}));
    EXPECT_EQ(Link->GetAlignment(), taCenter);
    EXPECT_FALSE(Link->GetAutoSize());
    EXPECT_EQ(Link->GetCursor(), crHandPoint);
    EXPECT_EQ(Link->GetFont().GetStyle(), unsigned(fsUnderline));
    EXPECT_TRUE(Link->GetParentColor());
    Dialog.Show();
    Pump();
    EXPECT_EQ(Dialog.GetClientWidth(), 273);
    EXPECT_EQ(Link->GetBoundsRect(), TRect::FromSize(150, 90, 110, 16));
    Dialog.SetClientWidth(313);
    EXPECT_EQ(Link->GetBoundsRect(), TRect::FromSize(190, 90, 110, 16));

    const std::string Written = TFormWriter::WriteComponent(*Link);
    EXPECT_EQ(Written.find("Color"), std::string::npos) << Written;
    TLabel Copy(nullptr);
    TFormReader::ReadInto(Copy, Written);
    EXPECT_EQ(TFormWriter::WriteComponent(Copy), Written);
}

} // namespace
