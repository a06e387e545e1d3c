// The check box: toggling by mouse, Space and code with the clicks each makes, the classic box
// pixel by pixel, and the focus rectangle around the caption.
#include "framework/stdctrls/CheckBox.h"

#include "framework/windows/Form.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A form at (100, 50) filled with the face colour, the box "Check" at (10, 10), 80 x 17, first
// in the tab order, and a second box below it to take the focus.
class CheckBoxTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm(TRect::FromSize(100, 50, 120, 60), clBtnFace);
        Box = Add("Check", 10, 0);
        Other = Add("Other", 35, 1);
        Box->OnClick = [this](TObject*) { ++Clicks; };
        Form->Show();
        Pump();
    }
    TCheckBox* Add(const char* Name, int Y, int TabOrder)
    {
        auto* B = new TCheckBox(Form);
        B->SetName(Name);
        B->SetCaption(Name);
        B->SetBounds(10, Y, 80, 17);
        B->SetTabOrder(TabOrder);
        B->SetParent(Form);
        return B;
    }
    void Key(UINT Msg, unsigned VirtualKey)
    {
        WM().HandleKey(Form->GetHandle(), Msg, VirtualKey, 0);
        Pump();
    }
    // The pixels of form column X from the box's top to its bottom that are not the face.
    int InkInColumn(int X)
    {
        int Ink = 0;
        for (int Y = 10; Y < 27; ++Y)
            Ink += At(X, Y) != ColorToRGB(clBtnFace);
        return Ink;
    }

    TCheckBox* Box = nullptr;
    TCheckBox* Other = nullptr;
    int Clicks = 0;
};

enum class TStep
{
    Press,
    Release,
    ReleaseOutside,
    SpaceDown,
    SpaceUp,
    Disable,
    CheckByCode
};

struct TToggleCase
{
    const char* Name;
    std::vector<TStep> Steps;
    bool Checked;
    int Clicks;
};

class CheckBoxToggle : public CheckBoxTest, public testing::WithParamInterface<TToggleCase>
{};

TEST_P(CheckBoxToggle, TogglesAndClicks)
{
    const TToggleCase& C = GetParam();
    Box->SetFocus();
    for (const TStep S : C.Steps) {
        switch (S) {
        case TStep::Press:
            Mouse(WM_LBUTTONDOWN, {20, 15}, ssLeft);
            break;
        case TStep::Release:
            Mouse(WM_LBUTTONUP, {60, 20});
            break;
        case TStep::ReleaseOutside:
            Mouse(WM_LBUTTONUP, {100, 20});
            break;
        case TStep::SpaceDown:
            Key(WM_KEYDOWN, VK_SPACE);
            break;
        case TStep::SpaceUp:
            Key(WM_KEYUP, VK_SPACE);
            break;
        case TStep::Disable:
            Box->SetEnabled(false);
            break;
        case TStep::CheckByCode:
            Box->SetChecked(true);
            break;
        }
    }
    EXPECT_EQ(Box->GetChecked(), C.Checked);
    EXPECT_EQ(Clicks, C.Clicks);
}

using enum TStep;
INSTANTIATE_TEST_SUITE_P(
    Cases, CheckBoxToggle,
    testing::Values(TToggleCase{"Click", {Press, Release}, true, 1},
                    TToggleCase{"ClickTwice", {Press, Release, Press, Release}, false, 2},
                    TToggleCase{"ReleasedOutside", {Press, ReleaseOutside}, false, 0},
                    TToggleCase{"SpaceTogglesOnRelease", {SpaceDown}, false, 0},
                    TToggleCase{"SpacePressAndRelease", {SpaceDown, SpaceUp}, true, 1},
                    TToggleCase{"ReleaseWithoutPress", {SpaceUp}, false, 0},
                    TToggleCase{
                        "Disabled", {Disable, Press, Release, SpaceDown, SpaceUp}, false, 0},
                    TToggleCase{"ByCode", {CheckByCode, CheckByCode}, true, 1}),
    ByName{});

TEST_F(CheckBoxTest, TheSunkenBoxWithTheTickWhenChecked)
{
    // The box is 13 x 13 at the control's left, vertically centred: form (10, 12) to (22, 24).
    const TColor Shadow = ColorToRGB(clBtnShadow), Dark = ColorToRGB(cl3DDkShadow);
    const TColor Face = ColorToRGB(clBtnFace), Light = ColorToRGB(clBtnHighlight);
    const TColor Window = ColorToRGB(clWindow), Ink = ColorToRGB(clWindowText);
    const struct
    {
        int X, Y;
        TColor Color;
    } Edges[] = {{10, 12, Shadow}, {16, 12, Shadow}, {10, 18, Shadow}, {11, 13, Dark},
                 {21, 23, Face},   {21, 16, Face},   {22, 24, Light},  {16, 24, Light},
                 {22, 18, Light},  {10, 11, Face},   {23, 18, Face}};
    // The tick's lowest pixel, its middle column, and two near its right end.
    const TPoint Tick[] = {{15, 21}, {16, 19}, {19, 16}, {18, 17}};
    for (const bool Checked : {false, true}) {
        Box->SetChecked(Checked);
        Pump();
        for (const auto& E : Edges)
            EXPECT_EQ(At(E.X, E.Y), E.Color) << E.X << "," << E.Y << " checked " << Checked;
        EXPECT_EQ(At(12, 14), Window);
        EXPECT_EQ(At(20, 22), Window);
        for (const TPoint P : Tick)
            EXPECT_EQ(At(P.X, P.Y), Checked ? Ink : Window) << P.X << "," << P.Y;
        // Just above or below the tick's strokes.
        for (const TPoint P : {TPoint{16, 17}, TPoint{16, 21}, TPoint{13, 16}, TPoint{19, 18}})
            EXPECT_EQ(At(P.X, P.Y), Window) << P.X << "," << P.Y;
    }
}

TEST_F(CheckBoxTest, TheFocusRectangleSurroundsTheCaptionOnlyWhileFocused)
{
    // Form column 26 is the caption's left edge less one: the box ends at 22, the text at 27.
    Other->SetFocus();
    Pump();
    EXPECT_EQ(InkInColumn(26), 0);
    Box->SetFocus();
    Pump();
    EXPECT_GT(InkInColumn(26), 3);
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(InkInColumn(26), 0);
}

} // namespace
