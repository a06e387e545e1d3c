#pragma once

#include "framework/windows/ShiftState.h"

#include <string>
#include <string_view>

// A menu command's accelerator: a virtual key with the Shift, Ctrl and Alt keys held with it.
// Key 0 is no shortcut.
struct TShortCut
{
    unsigned Key = 0;
    TShiftState Shift = 0; // only ssShift, ssCtrl and ssAlt

    explicit operator bool() const { return Key != 0; }
    bool operator==(const TShortCut&) const = default;
};

// The shortcut of a key event: the keyboard bits of Shift kept, the rest dropped.
TShortCut ShortCut(unsigned Key, TShiftState Shift);
// "Ctrl+Shift+S", "F3", "Alt+Del": the modifiers in the order Ctrl, Shift, Alt, then the key;
// "" for none.
std::string ShortCutToText(TShortCut Value);
// The reverse, case-blind; no shortcut for a text it does not know.
TShortCut TextToShortCut(std::string_view Text);
