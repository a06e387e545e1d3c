// Input records from the port to the events of a control: every modifier a port reports reaches
// OnMouseDown, OnMouseMove, OnMouseUp, OnKeyDown and OnKeyUp, Alt included, which no mouse
// message of Win32 carries in its key-state bits.
#include "framework/windows/Application.h"
#include "framework/windows/CustomControl.h"
#include "framework/windows/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

struct TModifierBits
{
    TInputModifier Modifier;
    TShiftState Shift;
    WPARAM Keys;
};

TEST(ShiftState, EachModifierHasItsShiftBitAndAllButAltAKeyStateBit)
{
    TWindowManager::Reset();
    const TModifierBits Table[] = {
        {TInputModifier::Shift, ssShift, MK_SHIFT},
        {TInputModifier::Ctrl, ssCtrl, MK_CONTROL},
        {TInputModifier::Alt, ssAlt, 0},
        {TInputModifier::LeftButton, ssLeft, MK_LBUTTON},
        {TInputModifier::RightButton, ssRight, MK_RBUTTON},
        {TInputModifier::MiddleButton, ssMiddle, MK_MBUTTON},
    };
    TInputModifiers All;
    for (const TModifierBits& M : Table) {
        EXPECT_EQ(ShiftStateOf({M.Modifier}), M.Shift);
        EXPECT_EQ(KeyStateOf(M.Shift), M.Keys);
        All.Include(M.Modifier);
    }
    const TShiftState Every = ssShift | ssCtrl | ssAlt | ssLeft | ssRight | ssMiddle;
    EXPECT_EQ(ShiftStateOf(All), Every);
    EXPECT_EQ(ShiftStateOf({}), 0u);
    // Without Alt in the key state, the bits give back all but Alt.
    EXPECT_EQ(KeysToShiftState(KeyStateOf(Every)), Every & ~TShiftState(ssAlt));
}

// One modifier key held (or none) and what the events of a control must say about it.
struct THeldCase
{
    const char* Name;
    std::optional<TInputModifier> Held;
    TShiftState Shift;
};

class InputTest : public testing::TestWithParam<THeldCase>
{
protected:
    void SetUp() override
    {
        TWindowManager::Reset();
        App = std::make_unique<TApplication>(nullptr);
        App->Initialize();
        Form = new TForm(App.get());
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 50, 60, 40);
        Control = new TCustomControl(Form);
        Control->SetBounds(10, 10, 30, 20);
        Control->SetParent(Form);
        Control->OnMouseDown = [this](TObject*, TMouseButton, TShiftState S, int, int) {
            Seen.push_back("down " + std::to_string(S));
        };
        Control->OnMouseMove = [this](TObject*, TShiftState S, int, int) {
            Seen.push_back("move " + std::to_string(S));
        };
        Control->OnMouseUp = [this](TObject*, TMouseButton, TShiftState S, int, int) {
            Seen.push_back("up " + std::to_string(S));
        };
        Control->OnKeyDown = [this](TObject*, unsigned&, TShiftState S) {
            Seen.push_back("keydown " + std::to_string(S));
        };
        Control->OnKeyUp = [this](TObject*, unsigned&, TShiftState S) {
            Seen.push_back("keyup " + std::to_string(S));
        };
        Form->Show();
        App->ProcessMessages();
    }
    void TearDown() override
    {
        App.reset();
        TWindowManager::Reset();
    }

    static THeadlessPlatform& Port() { return static_cast<THeadlessPlatform&>(TPlatform::Get()); }

    // Hands the form's native window a record, as a desktop port does, and lets the loop run.
    void Input(TInputEvent Event, TInputModifiers Modifiers)
    {
        if (GetParam().Held)
            Modifiers.Include(*GetParam().Held);
        Event.Modifiers = Modifiers;
        Port().GetWindows().back()->GetEvents()->HandleInput(Event);
        App->ProcessMessages();
    }
    static TInputEvent Mouse(TInputKind Kind, TPoint Client)
    {
        return {.Kind = Kind, .Client = Client, .Button = TMouseButton::Left};
    }
    std::string Held(const char* What, TShiftState Buttons = 0) const
    {
        return std::string(What) + " " + std::to_string(GetParam().Shift | Buttons);
    }

    std::unique_ptr<TApplication> App;
    TForm* Form = nullptr;
    TCustomControl* Control = nullptr;
    std::vector<std::string> Seen;
};

TEST_P(InputTest, MouseEventsCarryTheKeysHeldAndAPlainPressAfterwardsNone)
{
    Input(Mouse(TInputKind::MouseDown, {15, 15}), {TInputModifier::LeftButton});
    Input(Mouse(TInputKind::MouseMove, {20, 18}), {TInputModifier::LeftButton});
    Input(Mouse(TInputKind::MouseUp, {20, 18}), {});
    EXPECT_EQ(Seen,
              (std::vector<std::string>{Held("down", ssLeft), Held("move", ssLeft), Held("up")}));
    Seen.clear();
    // Nothing held now: the key state followed the input.
    Port().GetWindows().back()->GetEvents()->HandleInput(
        {.Kind = TInputKind::MouseDown,
         .Client = {15, 15},
         .Button = TMouseButton::Left,
         .Modifiers = {TInputModifier::LeftButton}});
    App->ProcessMessages();
    EXPECT_EQ(Seen, std::vector<std::string>{"down " + std::to_string(ssLeft)});
}

TEST_P(InputTest, KeyEventsCarryTheKeysHeld)
{
    Control->SetFocus();
    Input({.Kind = TInputKind::KeyDown, .Key = 'A'}, {});
    Input({.Kind = TInputKind::KeyUp, .Key = 'A'}, {});
    EXPECT_EQ(Seen, (std::vector<std::string>{Held("keydown"), Held("keyup")}));
}

INSTANTIATE_TEST_SUITE_P(Held, InputTest,
                         testing::Values(THeldCase{"Nothing", std::nullopt, 0},
                                         THeldCase{"Shift", TInputModifier::Shift, ssShift},
                                         THeldCase{"Ctrl", TInputModifier::Ctrl, ssCtrl},
                                         THeldCase{"Alt", TInputModifier::Alt, ssAlt}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
