// The settings command: the dialog filled from the clock, confirmed or cancelled by keys, and
// what the clock then shows, stores and leaves as its login item either way.
#include "app/Fnixieconfig.h"
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CheckBox.h"
#include "framework/stdctrls/RadioGroup.h"
#include "framework/windows/Screen.h"
#include "tests/app/ClockFormTest.h"
#include "tests/support/CaseName.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr const char* LoginName = "QXRidivAzoza";
const std::string LoginCommand = "\"C:\\Nixie\\Nixie.exe\" -autominimize";

class SettingsDialogTest : public ClockFormTest
{
protected:
    void SetUp() override
    {
        ClockFormTest::SetUp();
        Port().RemoveLoginItem(LoginName);
        Seed("viewerleft", 300);
        Seed("viewertop", 200);
    }
    void TearDown() override
    {
        Port().RemoveLoginItem(LoginName);
        ClockFormTest::TearDown();
    }

    // Runs the settings command; Act works the open dialog (whose checks it may assert), and
    // must end it.
    void Settings(const std::function<void(TFormNixieConfig&)>& Act)
    {
        bool Acted = false;
        Port().QueueEvent(
            [&] {
                Dialog = OpenDialog();
                ASSERT_NE(Dialog, nullptr);
                Acted = true;
                Act(*Dialog);
                if (Dialog->GetModalResult() == mrNone) {
                    ADD_FAILURE() << "The dialog is still open";
                    Dialog->SetModalResult(mrCancel);
                }
            },
            10);
        Form1->Settings1Click(nullptr);
        Dialog = nullptr;
        ASSERT_TRUE(Acted);
        EXPECT_EQ(OpenDialog(), nullptr); // destroyed, not only hidden
        Pump();
    }
    static TFormNixieConfig* OpenDialog()
    {
        for (TForm* F : Screen().GetForms())
            if (auto* D = dynamic_cast<TFormNixieConfig*>(F); D && D->GetVisible())
                return D;
        return nullptr;
    }

public:
    void Key(unsigned VirtualKey)
    {
        WM().HandleKey(Dialog->GetHandle(), WM_KEYDOWN, VirtualKey, 0);
        WM().HandleKey(Dialog->GetHandle(), WM_KEYUP, VirtualKey, 0);
        Pump();
    }
    using ClockFormTest::Click;
    // A left click on an item's radio button.
    void ClickItem(TRadioGroup* Group, int Index)
    {
        const TRect R = Group->GetItemRect(Index);
        Click(Group, R.TopLeft() + TPoint{4, R.Height() / 2});
    }

protected:
    TWinControl* FocusedControl() const
    {
        for (int I = 0; I < Dialog->GetComponentCount(); ++I)
            if (auto* W = dynamic_cast<TWinControl*>(Dialog->GetComponent(I)); W && W->Focused())
                return W;
        return nullptr;
    }

    TFormNixieConfig* Dialog = nullptr;
};

TEST_F(SettingsDialogTest, OpensFilledFromTheClockCentredOverIt)
{
    Seed("24hour", 0);
    Seed("autoload", 1);
    Seed("type", 2);
    Seed("vdfcolor", 1);
    Seed("hidetask", 0);
    Start();
    Settings([this](TFormNixieConfig& D) {
        EXPECT_EQ(D.GetCaption(), "Clock Settings");
        EXPECT_EQ(D.GetClientRect(), TRect(0, 0, 273, 289));
        EXPECT_EQ(D.GetLeft(), Form1->GetLeft() + (Form1->GetWidth() - D.GetWidth()) / 2);
        EXPECT_EQ(D.GetTop(), Form1->GetTop() + (Form1->GetHeight() - D.GetHeight()) / 2);
        const bool Checks[] = {D.CheckBox24Hour->GetChecked(), D.CheckBoxAutoLoad->GetChecked(),
                               D.CheckBoxOnTop->GetChecked(), D.CheckBoxShowTitle->GetChecked(),
                               D.CheckBoxHideTask->GetChecked()};
        EXPECT_EQ(std::vector<bool>(std::begin(Checks), std::end(Checks)),
                  (std::vector<bool>{false, true, false, true, false}));
        EXPECT_EQ(D.RadioGroupType->GetItemIndex(), 2);
        EXPECT_EQ(D.RadioGroupVfdColor->GetItemIndex(), 1);
        Key(VK_ESCAPE);
    });
}

TEST_F(SettingsDialogTest, TabVisitsTheControlsInTheirOrderAndTheKeysWorkThem)
{
    Start();
    Settings([this](TFormNixieConfig& D) {
        const std::vector<TWinControl*> Order = {
            D.CheckBox24Hour,    D.CheckBoxAutoLoad, D.CheckBoxOnTop,
            D.ButtonOk,          D.ButtonCancel,     D.RadioGroupType,
            D.CheckBoxShowTitle, D.CheckBoxHideTask, D.RadioGroupVfdColor};
        std::vector<TWinControl*> Visited{FocusedControl()};
        for (std::size_t I = 1; I <= Order.size(); ++I) {
            Key(VK_TAB);
            Visited.push_back(FocusedControl());
        }
        std::vector<TWinControl*> Expected = Order;
        Expected.push_back(Order.front()); // round again
        EXPECT_EQ(Visited, Expected);
        // Space toggles the focused box; the arrows move within a group, not out of it.
        Key(VK_SPACE);
        EXPECT_FALSE(D.CheckBox24Hour->GetChecked());
        for (int I = 0; I < 5; ++I)
            Key(VK_TAB);
        EXPECT_EQ(FocusedControl(), D.RadioGroupType);
        Key(VK_DOWN);
        Key(VK_RIGHT);
        EXPECT_EQ(D.RadioGroupType->GetItemIndex(), 2);
        EXPECT_EQ(FocusedControl(), D.RadioGroupType);
        Key(VK_RETURN); // the default button, whatever has the focus
    });
    EXPECT_EQ(Form1->Hour24, 0);
    EXPECT_EQ(Form1->ClockType, 2);
    EXPECT_EQ(Stored("type"), 2);
}

TEST_F(SettingsDialogTest, OkWithoutChangesStoresEverythingAndRewritesTheLoginItem)
{
    Seed("autoload", 1);
    Start();
    Form1->SetBounds(123, 45, Form1->GetWidth(), Form1->GetHeight());
    Port().GetRegistry().RemoveKey(SettingsKey);
    Settings([this](TFormNixieConfig& D) { Click(D.ButtonOk); });
    EXPECT_EQ(Stored("viewerleft"), 123);
    EXPECT_EQ(Stored("viewertop"), 45);
    EXPECT_EQ(Stored("viewerwidth"), 308);
    EXPECT_EQ(Stored("autoload"), 1);
    EXPECT_EQ(StoredNames().size(), 11u);
    EXPECT_EQ(Port().GetLoginItem(LoginName), LoginCommand);
}

TEST_F(SettingsDialogTest, CancelAfterChangingEverythingLeavesTheClockAsItWas)
{
    Seed("type", 1);
    Seed("autoload", 1);
    Start();
    Port().RemoveLoginItem(LoginName); // deleted by hand: the command brings it back
    Settings([this](TFormNixieConfig& D) {
        for (TCheckBox* Box : {D.CheckBox24Hour, D.CheckBoxAutoLoad, D.CheckBoxOnTop,
                               D.CheckBoxShowTitle, D.CheckBoxHideTask})
            Click(Box);
        ClickItem(D.RadioGroupType, 3);
        ClickItem(D.RadioGroupVfdColor, 2);
        EXPECT_EQ(D.RadioGroupType->GetItemIndex(), 3);
        EXPECT_FALSE(D.CheckBoxHideTask->GetChecked());
        Click(D.ButtonCancel);
    });
    EXPECT_EQ(Form1->ClockType, 1);
    EXPECT_EQ(Form1->Hour24, 1);
    EXPECT_EQ(Form1->AlwaysOnTop, 0);
    EXPECT_EQ(Form1->HideTask, 1);
    EXPECT_EQ(Form1->GetWidth(), 160);
    EXPECT_EQ(Form1->GetFormStyle(), fsNormal);
    EXPECT_EQ(Stored("type"), 1);
    EXPECT_EQ(Stored("24hour"), 1);
    EXPECT_EQ(Stored("autoload"), 1);
    EXPECT_EQ(Port().GetLoginItem(LoginName), LoginCommand);
}

// Confirmed changes, each seen on the clock at once and in the store.
struct TOkCase
{
    const char* Name;
    std::function<void(SettingsDialogTest&, TFormNixieConfig&)> Change;
    std::function<void()> Check;
};

class SettingsDialogOk : public SettingsDialogTest, public testing::WithParamInterface<TOkCase>
{};

TEST_P(SettingsDialogOk, TakesEffectAtOnce)
{
    Start();
    Settings([this](TFormNixieConfig& D) {
        GetParam().Change(*this, D);
        Click(D.ButtonOk);
    });
    GetParam().Check();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsDialogOk,
    testing::Values(TOkCase{"TwelveHours",
                            [](SettingsDialogTest& T, TFormNixieConfig& D) {
                                T.Click(D.CheckBox24Hour);
                            },
                            [] {
                                EXPECT_EQ(Form1->RidivAzoza1->GetMode24(), 0);
                                EXPECT_EQ(ClockFormTest::Stored("24hour"), 0);
                            }},
                    TOkCase{"VfdSmallInRed",
                            [](SettingsDialogTest& T, TFormNixieConfig& D) {
                                T.ClickItem(D.RadioGroupType, 3);
                                T.ClickItem(D.RadioGroupVfdColor, 1);
                            },
                            [] {
                                EXPECT_EQ(Form1->GetWidth(), 190);
                                EXPECT_EQ(Form1->GetHeight(), 80);
                                EXPECT_EQ(Form1->RidivAzoza1->GetImageList(), Form1->ImageListVfdR);
                                EXPECT_EQ(ClockFormTest::Stored("type"), 3);
                                EXPECT_EQ(ClockFormTest::Stored("vdfcolor"), 1);
                            }},
                    TOkCase{"OnTopAndAutoLoad",
                            [](SettingsDialogTest& T, TFormNixieConfig& D) {
                                T.Click(D.CheckBoxOnTop);
                                T.Click(D.CheckBoxAutoLoad);
                            },
                            [] {
                                EXPECT_EQ(Form1->GetFormStyle(), fsStayOnTop);
                                EXPECT_EQ(Port().GetLoginItem(LoginName), LoginCommand);
                                EXPECT_EQ(ClockFormTest::Stored("alwaysontop"), 1);
                            }}),
    ByName{});

// An index outside a group's items: below 0 selects nothing and Ok copies -1 back; past the
// last item selects the last.
TEST_F(SettingsDialogTest, RadioGroupsHoldOutOfRangeSettingsToTheirItems)
{
    Seed("type", -3);
    Seed("vdfcolor", 9);
    Start();
    Settings([this](TFormNixieConfig& D) {
        EXPECT_EQ(D.RadioGroupType->GetItemIndex(), -1);
        EXPECT_EQ(D.RadioGroupVfdColor->GetItemIndex(), 2);
        EXPECT_EQ(FocusedControl(), D.CheckBox24Hour);
        Key(VK_RETURN);
    });
    EXPECT_EQ(Form1->ClockType, -1);
    EXPECT_EQ(Form1->VfdColor, 2);
    EXPECT_EQ(Stored("type"), -1);
}

} // namespace
