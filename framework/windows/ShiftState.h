#pragma once

// The shift state of the framework's mouse and key events, and its one translation from the
// ports' input records and to and from the key-state bits (MK_*) of Win32 mouse messages.

#include "framework/windows/Messages.h"
#include "platform/Platform.h"

enum TShiftBits : unsigned
{
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned; // TShiftBits

// The keys of the keyboard among the bits: what a key event carries.
constexpr TShiftState ssKeys = ssShift | ssAlt | ssCtrl;

// The shift state of the keys and buttons an input record holds.
TShiftState ShiftStateOf(TInputModifiers Modifiers);
// The MK_* bits of a mouse message for a shift state; Win32 has none for Alt (or a double click).
WPARAM KeyStateOf(TShiftState Shift);
// The shift state of a mouse message, as the control's mouse events receive it: the buttons,
// Shift and Ctrl from its MK_* bits, Alt from the key state of the input being dispatched.
TShiftState KeysToShiftState(WPARAM Keys);
// The keyboard's shift state of the input being dispatched, as the key events receive it.
TShiftState KeyboardShiftState();
