// Push buttons and the keys of a dialog: clicks by mouse and keyboard, the default and cancel
// buttons, the tab order, the classic look, and ModalResult ending a modal form.
#include "framework/stdctrls/Button.h"

#include "framework/stdctrls/CustomPanel.h"
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

// A windowed control that takes the focus and, when asked, every key.
class TEditLike : public TCustomControl
{
public:
    explicit TEditLike(TComponent* Owner) : TCustomControl(Owner) { SetTabStop(true); }
    bool WantAllKeys = false;

protected:
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == WM_GETDLGCODE) {
            Message.Result = WantAllKeys ? DLGC_WANTALLKEYS | DLGC_WANTCHARS : DLGC_WANTCHARS;
            return;
        }
        TCustomControl::Dispatch(Message);
    }
};

// A borderless form at (100, 50) with OK (default), Other and Cancel (cancel) buttons and an
// edit-like control, in that creation order.
class ButtonTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm(TRect::FromSize(100, 50, 300, 100), clBtnFace);
        Ok = AddButton("Ok", 10, 1);
        Ok->SetDefault(true);
        Other = AddButton("Other", 90, 0);
        Cancel = AddButton("Cancel", 170, 2);
        Cancel->SetCancel(true);
        Edit = new TEditLike(Form);
        Edit->SetName("Edit");
        Edit->SetBounds(10, 50, 100, 20);
        Edit->SetTabOrder(3);
        Edit->SetParent(Form);
        Form->Show();
        Pump();
    }

    TButton* AddButton(const char* Name, int X, int TabOrder)
    {
        auto* B = new TButton(Form);
        B->SetName(Name);
        B->SetCaption(Name);
        B->SetBounds(X, 10, 75, 25);
        B->SetTabOrder(TabOrder);
        B->SetParent(Form);
        B->OnClick = [this](TObject* Sender) {
            Clicks.push_back(dynamic_cast<TComponent*>(Sender)->GetName());
        };
        return B;
    }

    void Press(unsigned VirtualKey, unsigned Shift = 0, bool Up = true)
    {
        WM().HandleKey(Form->GetHandle(), WM_KEYDOWN, VirtualKey, Shift);
        if (Up)
            WM().HandleKey(Form->GetHandle(), WM_KEYUP, VirtualKey, Shift);
    }
    void Key(unsigned VirtualKey, unsigned Shift = 0, bool Up = true)
    {
        Press(VirtualKey, Shift, Up);
        Pump();
    }
    std::string FocusName() const
    {
        for (TControl* C : {static_cast<TControl*>(Ok), static_cast<TControl*>(Other),
                            static_cast<TControl*>(Cancel), static_cast<TControl*>(Edit)})
            if (static_cast<TWinControl*>(C)->Focused())
                return C->GetName();
        return "none";
    }
    TButton* Ok = nullptr;
    TButton* Other = nullptr;
    TButton* Cancel = nullptr;
    TEditLike* Edit = nullptr;
    std::vector<std::string> Clicks;
};

// Mouse input over the Other button (form x 90..165, y 10..35).
struct TMouseCase
{
    const char* Name;
    std::vector<std::pair<UINT, TPoint>> Steps;
    bool PushedBeforeRelease;
    int ExpectedClicks;
};

class ButtonMouse : public ButtonTest, public testing::WithParamInterface<TMouseCase>
{};

TEST_P(ButtonMouse, ClicksOnlyWhenPressedAndReleasedInside)
{
    const TMouseCase& C = GetParam();
    for (std::size_t I = 0; I < C.Steps.size(); ++I) {
        const auto& [Msg, P] = C.Steps[I];
        if (I + 1 == C.Steps.size()) {
            EXPECT_EQ(Other->GetPushed(), C.PushedBeforeRelease) << C.Name;
        }
        Mouse(Msg, P, Msg == WM_LBUTTONDOWN || Msg == WM_MOUSEMOVE ? unsigned(ssLeft) : 0u);
    }
    EXPECT_FALSE(Other->GetPushed()) << C.Name;
    EXPECT_EQ(int(Clicks.size()), C.ExpectedClicks) << C.Name;
    if (C.ExpectedClicks) {
        EXPECT_EQ(Clicks.front(), "Other");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonMouse,
    testing::Values(
        TMouseCase{
            "PressRelease", {{WM_LBUTTONDOWN, {100, 20}}, {WM_LBUTTONUP, {101, 21}}}, true, 1},
        TMouseCase{
            "LeaveAndRelease",
            {{WM_LBUTTONDOWN, {100, 20}}, {WM_MOUSEMOVE, {200, 80}}, {WM_LBUTTONUP, {200, 80}}},
            false,
            0},
        TMouseCase{"LeaveComeBackRelease",
                   {{WM_LBUTTONDOWN, {100, 20}},
                    {WM_MOUSEMOVE, {250, 80}},
                    {WM_MOUSEMOVE, {120, 30}},
                    {WM_LBUTTONUP, {120, 30}}},
                   true,
                   1},
        TMouseCase{
            "RightButton", {{WM_RBUTTONDOWN, {100, 20}}, {WM_RBUTTONUP, {100, 20}}}, false, 0},
        TMouseCase{"PressedElsewhere",
                   {{WM_LBUTTONDOWN, {250, 80}}, {WM_LBUTTONUP, {100, 20}}},
                   false,
                   0}),
    ByName{});

TEST_F(ButtonTest, APressTakesTheFocus)
{
    Edit->SetFocus();
    Mouse(WM_LBUTTONDOWN, {100, 20}, ssLeft);
    EXPECT_EQ(FocusName(), "Other");
    Mouse(WM_LBUTTONUP, {100, 20});
}

// Keys with the focus on a given control: who gets the click, and whether the key reached the
// focused control's OnKeyDown.
struct TKeyCase
{
    const char* Name;
    const char* Focus;
    unsigned Key;
    bool EditWantsAll;
    bool DefaultEnabled;
    std::vector<std::string> ExpectedClicks;
    bool ReachesEdit;
};

class ButtonKeys : public ButtonTest, public testing::WithParamInterface<TKeyCase>
{};

TEST_P(ButtonKeys, ClickTheRightButton)
{
    const TKeyCase& C = GetParam();
    Edit->WantAllKeys = C.EditWantsAll;
    Ok->SetEnabled(C.DefaultEnabled);
    std::map<std::string, TWinControl*> ByName{{"Ok", Ok}, {"Other", Other}, {"Edit", Edit}};
    ByName.at(C.Focus)->SetFocus();
    std::vector<unsigned> EditKeys;
    Edit->OnKeyDown = [&](TObject*, unsigned& K, TShiftState) { EditKeys.push_back(K); };
    Key(C.Key);
    EXPECT_EQ(Clicks, C.ExpectedClicks) << C.Name;
    EXPECT_EQ(!EditKeys.empty(), C.ReachesEdit) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonKeys,
    testing::Values(
        TKeyCase{"SpaceOnFocusedButton", "Other", VK_SPACE, false, true, {"Other"}, false},
        TKeyCase{"EnterOnFocusedButton", "Other", VK_RETURN, false, true, {"Other"}, false},
        TKeyCase{"EnterElsewhereGoesToDefault", "Edit", VK_RETURN, false, true, {"Ok"}, true},
        TKeyCase{"EnterWithDefaultDisabled", "Edit", VK_RETURN, false, false, {}, true},
        TKeyCase{"EnterWantedByTheControl", "Edit", VK_RETURN, true, true, {}, true},
        TKeyCase{"EscapeGoesToCancel", "Other", VK_ESCAPE, false, true, {"Cancel"}, false},
        TKeyCase{"EscapeFromTheControl", "Edit", VK_ESCAPE, false, true, {"Cancel"}, true},
        TKeyCase{"SpaceElsewhereClicksNothing", "Edit", VK_SPACE, false, true, {}, true}),
    ByName{});

TEST_F(ButtonTest, SpaceClicksOnReleaseAndLosingTheFocusCancelsIt)
{
    Other->SetFocus();
    Key(VK_SPACE, 0, false);
    EXPECT_TRUE(Other->GetPushed());
    EXPECT_TRUE(Clicks.empty());
    Cancel->SetFocus();
    EXPECT_FALSE(Other->GetPushed());
    WM().HandleKey(Form->GetHandle(), WM_KEYUP, VK_SPACE, 0);
    Pump();
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(ButtonTest, TabFollowsTheTabOrderSkippingWhatCannotTakeTheFocus)
{
    // Tab order: Other 0, Ok 1, Cancel 2, Edit 3, then inside a panel (order 4) two more.
    auto* Panel = new TPanel(Form);
    Panel->SetBounds(120, 40, 170, 50);
    Panel->SetTabOrder(4);
    Panel->SetParent(Form);
    TButton* Inner1 = AddButton("Inner1", 0, 1);
    TButton* Inner0 = AddButton("Inner0", 80, 0);
    Inner1->SetParent(Panel);
    Inner0->SetParent(Panel);
    Inner1->SetBounds(0, 0, 75, 25);
    Inner0->SetBounds(80, 0, 75, 25);
    Cancel->SetEnabled(false);
    Other->SetFocus();
    std::vector<std::string> Forward;
    const auto Focus = [&] {
        for (TWinControl* W : Form->GetTabOrderList())
            if (W->Focused())
                return W->GetName();
        return std::string("none");
    };
    for (int I = 0; I < 6; ++I) {
        Key(VK_TAB);
        Forward.push_back(Focus());
    }
    EXPECT_EQ(Forward, (std::vector<std::string>{"Ok", "Edit", "Inner0", "Inner1", "Other", "Ok"}));
    std::vector<std::string> Backward;
    for (int I = 0; I < 3; ++I) {
        Key(VK_TAB, ssShift);
        Backward.push_back(Focus());
    }
    EXPECT_EQ(Backward, (std::vector<std::string>{"Other", "Inner1", "Inner0"}));
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(ButtonTest, ArrowsMoveBetweenButtonsButNotOutOfAControlThatWantsThem)
{
    Other->SetFocus();
    Key(VK_RIGHT);
    EXPECT_EQ(FocusName(), "Ok");
    Key(VK_UP);
    EXPECT_EQ(FocusName(), "Other");
    Edit->WantAllKeys = true;
    Edit->SetFocus();
    Key(VK_DOWN);
    EXPECT_EQ(FocusName(), "Edit");
}

TEST_F(ButtonTest, TheClassicLookShowsTheDefaultTheFocusAndThePress)
{
    // Not focused, not default: a raised edge, white and light outside-in at the top left,
    // black and grey at the bottom right.
    Edit->SetFocus();
    Pump();
    const TColor White = ColorToRGB(clBtnHighlight), Black = ColorToRGB(cl3DDkShadow);
    const TColor Shadow = ColorToRGB(clBtnShadow), Light = ColorToRGB(cl3DLight);
    const TColor Frame = ColorToRGB(clWindowFrame), Face = ColorToRGB(clBtnFace);
    const TPoint O{90, 10}; // Other's top-left on the form
    EXPECT_EQ(At(O.X, O.Y), White);
    EXPECT_EQ(At(O.X + 1, O.Y + 1), Light);
    EXPECT_EQ(At(O.X + 74, O.Y + 24), Black);
    EXPECT_EQ(At(O.X + 73, O.Y + 23), Shadow);
    EXPECT_EQ(At(O.X + 5, O.Y + 5), Face);
    // The default button, with the focus elsewhere on a control that is no button, has the
    // dark frame around the raised edge.
    EXPECT_EQ(At(10, 10), Frame);
    EXPECT_EQ(At(11, 11), White);
    // Focus on Other: its frame appears, the default's goes, and the focus rectangle is inside.
    Other->SetFocus();
    Pump();
    EXPECT_EQ(At(O.X, O.Y), Frame);
    EXPECT_EQ(At(10, 10), White);
    EXPECT_NE(At(O.X + 4, O.Y + 6), Face); // the dotted focus frame
    // Pressed: dark frame, then the shadow colour, flat.
    Mouse(WM_LBUTTONDOWN, {100, 20}, ssLeft);
    EXPECT_EQ(At(O.X, O.Y), Frame);
    EXPECT_EQ(At(O.X + 1, O.Y + 1), Shadow);
    EXPECT_EQ(At(O.X + 73, O.Y + 23), Shadow);
    Mouse(WM_LBUTTONUP, {100, 20});
}

TEST_F(ButtonTest, ModalResultEndsAModalFormWithThatResult)
{
    Form->Hide();
    Pump();
    Ok->SetModalResult(mrOk);
    Cancel->SetModalResult(mrCancel);
    // Input arrives through the port while the modal loop waits.
    Port().QueueEvent([this] { Press(VK_ESCAPE); }, 10);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    // A modal form opens with the focus on the first control of its tab order (Other): Tab
    // moves it to Ok, which Enter clicks.
    Port().QueueEvent(
        [this] {
            Press(VK_TAB);
            Press(VK_RETURN);
        },
        10);
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_EQ(Clicks, (std::vector<std::string>{"Cancel", "Ok"}));
}

} // namespace
