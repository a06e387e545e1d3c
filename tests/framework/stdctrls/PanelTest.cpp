// The panel: its defaults, its bevels and border pixel by pixel, the caption's place, and what
// a form description keeps of it.
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

class PanelTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        RegisterStandardControls();
        HeadlessFormTest::SetUp();
        MakeForm({0, 0, 120, 60});
        Panel = new TPanel(Form);
        Panel->SetName("Panel1");
        Panel->SetBounds(10, 10, 20, 12);
        Panel->SetColor(RGB(10, 20, 30));
        Panel->SetParent(Form);
        Form->Show();
        Pump();
    }

    // A pixel of the panel, in its client coordinates.
    TColor At(int X, int Y) { return HeadlessFormTest::At(10 + X, 10 + Y); }

    TPanel* Panel = nullptr;
};

TEST(PanelDefaults, AreThoseOfTheClassicPanel)
{
    TPanel P(nullptr);
    EXPECT_EQ(P.GetWidth(), 185);
    EXPECT_EQ(P.GetHeight(), 41);
    EXPECT_EQ(P.GetColor(), clBtnFace);
    EXPECT_TRUE(P.GetControlStyle().Contains(csOpaque));
    EXPECT_TRUE(P.GetControlStyle().Contains(csAcceptsControls));
    EXPECT_EQ(P.GetBevelOuter(), bvRaised);
    EXPECT_EQ(P.GetBevelInner(), bvNone);
    EXPECT_EQ(P.GetBevelWidth(), 1);
    EXPECT_EQ(P.GetBorderWidth(), 0);
    EXPECT_EQ(P.GetAlignment(), taCenter);
}

// The colour of the pixels along the panel's diagonal from (0, 0), and at its top-right and
// bottom-right corners, for a bevel setting.
struct TBevelCase
{
    const char* Name;
    TBevelCut Outer;
    TBevelCut Inner;
    int BevelWidth;
    int BorderWidth;
    std::vector<TColor> Diagonal; // (0,0), (1,1), ...
    TColor TopRight;
    TColor BottomRight;
};

constexpr TColor Fill = RGB(10, 20, 30);
const TColor Hi = ColorToRGB(clBtnHighlight);
const TColor Sh = ColorToRGB(clBtnShadow);

class PanelBevels : public PanelTest, public testing::WithParamInterface<TBevelCase>
{};

TEST_P(PanelBevels, DrawTheEdgesInsideOut)
{
    const TBevelCase& C = GetParam();
    Panel->SetBevelOuter(C.Outer);
    Panel->SetBevelInner(C.Inner);
    Panel->SetBevelWidth(C.BevelWidth);
    Panel->SetBorderWidth(C.BorderWidth);
    Panel->Repaint();
    for (std::size_t I = 0; I < C.Diagonal.size(); ++I)
        EXPECT_EQ(At(int(I), int(I)), C.Diagonal[I]) << C.Name << " at " << I;
    EXPECT_EQ(At(19, 0), C.TopRight) << C.Name;
    EXPECT_EQ(At(19, 11), C.BottomRight) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelBevels,
    testing::Values(
        TBevelCase{"Raised", bvRaised, bvNone, 1, 0, {Hi, Fill, Fill}, Sh, Sh},
        TBevelCase{"Lowered", bvLowered, bvNone, 1, 0, {Sh, Fill, Fill}, Hi, Hi},
        TBevelCase{"None", bvNone, bvNone, 1, 0, {Fill, Fill}, Fill, Fill},
        TBevelCase{"WideRaised", bvRaised, bvNone, 2, 0, {Hi, Hi, Fill}, Sh, Sh},
        TBevelCase{
            "RaisedBorderLowered", bvRaised, bvLowered, 1, 2, {Hi, Fill, Fill, Sh, Fill}, Sh, Sh},
        TBevelCase{"Space", bvSpace, bvRaised, 1, 0, {Fill, Hi, Fill}, Fill, Fill}),
    ByName{});

TEST_F(PanelTest, TheCaptionIsCentredOrAlignedWithinTheBevels)
{
    Panel->SetBounds(10, 10, 100, 40);
    Panel->GetFont().SetColor(clRed); // no bevel colour
    Panel->GetFont().SetHeight(-20);  // strokes thick enough for fully covered pixels
    Panel->SetCaption("Ab");
    TBitmap Scratch;
    TCanvas Measure(Scratch);
    Measure.SetFont(Panel->GetFont());
    const TSize Extent = Measure.TextExtent("Ab");
    // The columns holding red ink, for each alignment.
    const auto InkColumns = [&](TAlignment A) {
        Panel->SetAlignment(A);
        Panel->Repaint();
        int First = -1, Last = -1;
        for (int X = 0; X < 100; ++X)
            for (int Y = 1; Y < 39; ++Y)
                if (At(X, Y) == clRed) {
                    if (First < 0)
                        First = X;
                    Last = X;
                }
        return std::pair{First, Last};
    };
    const auto [CL, CR] = InkColumns(taCenter);
    ASSERT_GE(CL, 0) << "no caption drawn";
    const int Left = (1 + 99 - Extent.Width) / 2;
    EXPECT_GE(CL, Left);
    EXPECT_LE(CR, Left + Extent.Width);
    const int LeftInk = InkColumns(taLeftJustify).first;
    EXPECT_GE(LeftInk, 1);
    EXPECT_LT(LeftInk, CL);
    const int RightInk = InkColumns(taRightJustify).second;
    EXPECT_LE(RightInk, 98);
    EXPECT_GT(RightInk, CR);
}

TEST_F(PanelTest, ADescriptionKeepsOnlyWhatDiffersFromTheDefaults)
{
    TPanel Plain(nullptr);
    Plain.SetName("Plain");
    const std::string PlainText = TFormWriter::WriteComponent(Plain);
    EXPECT_EQ(PlainText.find("Color"), std::string::npos) << PlainText;
    EXPECT_EQ(PlainText.find("Bevel"), std::string::npos) << PlainText;
    EXPECT_EQ(PlainText.find("Alignment"), std::string::npos) << PlainText;

    Panel->SetBevelOuter(bvNone);
    Panel->SetBevelWidth(3);
    Panel->SetAlignment(taLeftJustify);
    Panel->SetCaption("Hello");
    const std::string Text = TFormWriter::WriteComponent(*Panel);
    TPanel Copy(nullptr);
    TFormReader::ReadInto(Copy, Text);
    EXPECT_EQ(Copy.GetBevelOuter(), bvNone);
    EXPECT_EQ(Copy.GetBevelWidth(), 3);
    EXPECT_EQ(Copy.GetAlignment(), taLeftJustify);
    EXPECT_EQ(Copy.GetColor(), RGB(10, 20, 30));
    EXPECT_EQ(Copy.GetCaption(), "Hello");
    EXPECT_EQ(TFormWriter::WriteComponent(Copy), Text);
}

} // namespace
