#include "framework/windows/ShiftState.h"

#include "framework/windows/WindowManager.h"

#include <array>

namespace {

struct TModifierBits
{
    TInputModifier Modifier;
    TShiftState Shift;
    WPARAM Keys; // 0: no MK_ bit
};

constexpr std::array<TModifierBits, 6> Table{{
    {TInputModifier::Shift, ssShift, MK_SHIFT},
    {TInputModifier::Ctrl, ssCtrl, MK_CONTROL},
    {TInputModifier::Alt, ssAlt, 0},
    {TInputModifier::LeftButton, ssLeft, MK_LBUTTON},
    {TInputModifier::RightButton, ssRight, MK_RBUTTON},
    {TInputModifier::MiddleButton, ssMiddle, MK_MBUTTON},
}};

} // namespace

TShiftState ShiftStateOf(TInputModifiers Modifiers)
{
    TShiftState Shift = 0;
    for (const TModifierBits& M : Table)
        if (Modifiers.Contains(M.Modifier))
            Shift |= M.Shift;
    return Shift;
}

WPARAM KeyStateOf(TShiftState Shift)
{
    WPARAM Keys = 0;
    for (const TModifierBits& M : Table)
        if (Shift & M.Shift)
            Keys |= M.Keys;
    return Keys;
}

TShiftState KeysToShiftState(WPARAM Keys)
{
    TShiftState Shift = 0;
    for (const TModifierBits& M : Table)
        if (Keys & M.Keys)
            Shift |= M.Shift;
    // A mouse message has no bit for Alt: as a Windows program asks GetKeyState, ask the key
    // state that came with the input, so that a click with Alt held says so.
    return Shift | (TWindowManager::Get().GetKeyShift() & ssAlt);
}

TShiftState KeyboardShiftState()
{
    return TWindowManager::Get().GetKeyShift() & ssKeys;
}
