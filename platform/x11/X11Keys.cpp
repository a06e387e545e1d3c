#include "platform/x11/X11Keys.h"

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

// Win32 virtual keys (the values of <windows.h>).
constexpr unsigned VkBack = 0x08, VkTab = 0x09, VkClear = 0x0C, VkReturn = 0x0D, VkShift = 0x10,
                   VkControl = 0x11, VkMenu = 0x12, VkPause = 0x13, VkCapital = 0x14,
                   VkEscape = 0x1B, VkSpace = 0x20, VkPrior = 0x21, VkNext = 0x22, VkEnd = 0x23,
                   VkHome = 0x24, VkLeft = 0x25, VkUp = 0x26, VkRight = 0x27, VkDown = 0x28,
                   VkSnapshot = 0x2C, VkInsert = 0x2D, VkDelete = 0x2E, VkLWin = 0x5B,
                   VkRWin = 0x5C, VkApps = 0x5D, VkNumpad0 = 0x60, VkMultiply = 0x6A, VkAdd = 0x6B,
                   VkSeparator = 0x6C, VkSubtract = 0x6D, VkDecimal = 0x6E, VkDivide = 0x6F,
                   VkF1 = 0x70, VkNumLock = 0x90, VkScroll = 0x91, VkOemSemicolon = 0xBA,
                   VkOemPlus = 0xBB, VkOemComma = 0xBC, VkOemMinus = 0xBD, VkOemPeriod = 0xBE,
                   VkOemSlash = 0xBF, VkOemTilde = 0xC0, VkOemOpen = 0xDB, VkOemBackslash = 0xDC,
                   VkOemClose = 0xDD, VkOemQuote = 0xDE;

bool IsKeypad(unsigned long Keysym)
{
    return Keysym >= XK_KP_Space && Keysym <= XK_KP_Equal;
}

unsigned MapKeysym(unsigned long K)
{
    if (K >= XK_a && K <= XK_z)
        return static_cast<unsigned>(K - XK_a) + 'A';
    if (K >= XK_A && K <= XK_Z)
        return static_cast<unsigned>(K - XK_A) + 'A';
    if (K >= XK_0 && K <= XK_9)
        return static_cast<unsigned>(K - XK_0) + '0';
    if (K >= XK_KP_0 && K <= XK_KP_9)
        return static_cast<unsigned>(K - XK_KP_0) + VkNumpad0;
    if (K >= XK_F1 && K <= XK_F24)
        return static_cast<unsigned>(K - XK_F1) + VkF1;
    switch (K) {
    case XK_BackSpace:
        return VkBack;
    case XK_Tab:
    case XK_ISO_Left_Tab:
    case XK_KP_Tab:
        return VkTab;
    case XK_Return:
    case XK_KP_Enter:
        return VkReturn;
    case XK_Escape:
        return VkEscape;
    case XK_space:
    case XK_KP_Space:
        return VkSpace;
    case XK_Prior:
    case XK_KP_Prior:
        return VkPrior;
    case XK_Next:
    case XK_KP_Next:
        return VkNext;
    case XK_End:
    case XK_KP_End:
        return VkEnd;
    case XK_Home:
    case XK_KP_Home:
        return VkHome;
    case XK_Left:
    case XK_KP_Left:
        return VkLeft;
    case XK_Up:
    case XK_KP_Up:
        return VkUp;
    case XK_Right:
    case XK_KP_Right:
        return VkRight;
    case XK_Down:
    case XK_KP_Down:
        return VkDown;
    case XK_Insert:
    case XK_KP_Insert:
        return VkInsert;
    case XK_Delete:
    case XK_KP_Delete:
        return VkDelete;
    case XK_KP_Begin:
        return VkClear;
    case XK_KP_Multiply:
        return VkMultiply;
    case XK_KP_Add:
        return VkAdd;
    case XK_KP_Separator:
        return VkSeparator;
    case XK_KP_Subtract:
        return VkSubtract;
    case XK_KP_Decimal:
        return VkDecimal;
    case XK_KP_Divide:
        return VkDivide;
    case XK_Shift_L:
    case XK_Shift_R:
        return VkShift;
    case XK_Control_L:
    case XK_Control_R:
        return VkControl;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
        return VkMenu;
    case XK_Super_L:
        return VkLWin;
    case XK_Super_R:
        return VkRWin;
    case XK_Menu:
        return VkApps;
    case XK_Pause:
        return VkPause;
    case XK_Caps_Lock:
        return VkCapital;
    case XK_Num_Lock:
        return VkNumLock;
    case XK_Scroll_Lock:
        return VkScroll;
    case XK_Print:
        return VkSnapshot;
    // The punctuation keys by their place on a US keyboard, as Windows names them.
    case XK_semicolon:
        return VkOemSemicolon;
    case XK_equal:
        return VkOemPlus;
    case XK_comma:
        return VkOemComma;
    case XK_minus:
        return VkOemMinus;
    case XK_period:
        return VkOemPeriod;
    case XK_slash:
        return VkOemSlash;
    case XK_grave:
        return VkOemTilde;
    case XK_bracketleft:
        return VkOemOpen;
    case XK_backslash:
        return VkOemBackslash;
    case XK_bracketright:
        return VkOemClose;
    case XK_apostrophe:
        return VkOemQuote;
    default:
        return 0;
    }
}

} // namespace

unsigned KeysymToVirtualKey(unsigned long BaseKeysym, unsigned long Keysym)
{
    // The keypad depends on Num Lock, which only the modified keysym knows; every other key is
    // named by its unshifted level, so that Shift+1 is still the key '1'.
    if (IsKeypad(Keysym))
        return MapKeysym(Keysym);
    return MapKeysym(BaseKeysym);
}

char32_t KeysymToCharacter(unsigned long K)
{
    if ((K >= 0x20 && K <= 0x7E) || (K >= 0xA0 && K <= 0xFF))
        return static_cast<char32_t>(K);
    if (K >= 0x01000100 && K <= 0x0110FFFF) {
        const unsigned long Code = K - 0x01000000;
        return Code >= 0xD800 && Code <= 0xDFFF ? 0 : static_cast<char32_t>(Code);
    }
    if (K >= XK_KP_0 && K <= XK_KP_9)
        return static_cast<char32_t>(K - XK_KP_0) + U'0';
    switch (K) {
    case XK_BackSpace:
        return 0x08;
    case XK_Tab:
    case XK_KP_Tab:
    case XK_ISO_Left_Tab:
        return 0x09;
    case XK_Return:
    case XK_KP_Enter:
        return 0x0D;
    case XK_Escape:
        return 0x1B;
    case XK_KP_Space:
        return U' ';
    case XK_KP_Multiply:
        return U'*';
    case XK_KP_Add:
        return U'+';
    case XK_KP_Separator:
        return U',';
    case XK_KP_Subtract:
        return U'-';
    case XK_KP_Decimal:
        return U'.';
    case XK_KP_Divide:
        return U'/';
    case XK_KP_Equal:
        return U'=';
    case XK_EuroSign:
        return 0x20AC;
    default:
        return 0;
    }
}
