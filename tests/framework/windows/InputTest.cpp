// Input records from the port to the events of a control: every modifier a port reports reaches
// OnMouseDown, OnMouseMove, OnMouseUp, OnKeyDown and OnKeyUp, Alt included, which no mouse
// message of Win32 carries in its key-state bits.
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ModifierProbe.h"

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

class InputTest : public HeadlessAppTest, public testing::WithParamInterface<THeldCase>
{
protected:
    void SetUp() override
    {
        HeadlessAppTest::SetUp();
        Probe.emplace(*App, TPoint{100, 50});
        Probe->NoteMoves = true;
        Probe->Form->Show();
        Pump();
    }
    void TearDown() override
    {
        Probe.reset();
        HeadlessAppTest::TearDown();
    }

    // Hands the form's native window a record with the case's key held, as a desktop port does,
    // and lets the loop run.
    void Input(TInputEvent Event, TInputModifiers Modifiers)
    {
        if (GetParam().Held)
            Modifiers.Include(*GetParam().Held);
        Event.Modifiers = Modifiers;
        Port().GetWindows().back()->GetEvents()->HandleInput(Event);
        Pump();
    }
    // A left-button record at the control's point P.
    static TInputEvent Mouse(TInputKind Kind, TPoint P)
    {
        return {.Kind = Kind, .Client = TModifierProbe::InForm(P), .Button = TMouseButton::Left};
    }
    std::string Held(const char* What, TPoint P, TShiftState Buttons = 0) const
    {
        return TModifierProbe::Event(What, GetParam().Shift | Buttons, P);
    }
    std::string Held(const char* What) const
    {
        return std::string(What) + " " + std::to_string(GetParam().Shift);
    }

    std::optional<TModifierProbe> Probe;
};

TEST_P(InputTest, MouseEventsCarryTheKeysHeldAndAPlainPressAfterwardsNone)
{
    Input(Mouse(TInputKind::MouseDown, {5, 5}), {TInputModifier::LeftButton});
    Input(Mouse(TInputKind::MouseMove, {10, 8}), {TInputModifier::LeftButton});
    Input(Mouse(TInputKind::MouseUp, {10, 8}), {});
    EXPECT_EQ(Probe->Seen,
              (std::vector<std::string>{Held("down", {5, 5}, ssLeft), Held("move", {10, 8}, ssLeft),
                                        Held("up", {10, 8})}));
    Probe->Seen.clear();
    // Nothing held now: the key state followed the input.
    TInputEvent Plain = Mouse(TInputKind::MouseDown, {5, 5});
    Plain.Modifiers = {TInputModifier::LeftButton};
    Port().GetWindows().back()->GetEvents()->HandleInput(Plain);
    Pump();
    EXPECT_EQ(Probe->Seen, std::vector<std::string>{TModifierProbe::Event("down", ssLeft, {5, 5})});
}

TEST_P(InputTest, KeyEventsCarryTheKeysHeld)
{
    Probe->Control->SetFocus();
    Input({.Kind = TInputKind::KeyDown, .Key = 'A'}, {});
    Input({.Kind = TInputKind::KeyUp, .Key = 'A'}, {});
    EXPECT_EQ(Probe->Seen, (std::vector<std::string>{Held("keydown"), Held("keyup")}));
}

INSTANTIATE_TEST_SUITE_P(Held, InputTest,
                         testing::Values(THeldCase{"Nothing", std::nullopt, 0},
                                         THeldCase{"Shift", TInputModifier::Shift, ssShift},
                                         THeldCase{"Ctrl", TInputModifier::Ctrl, ssCtrl},
                                         THeldCase{"Alt", TInputModifier::Alt, ssAlt}),
                         ByName{});

} // namespace
