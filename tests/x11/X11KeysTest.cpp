// The X11 port's translation of keys and clicks, without a display: keysyms to the virtual keys
// of <windows.h> (as the framework names them) and characters, presses to double clicks.
#include "platform/x11/X11Keys.h"

#include "framework/windows/Messages.h"
#include "platform/x11/X11ClickTracker.h"

#include <gtest/gtest.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

struct TKeyCase
{
    const char* Label;
    unsigned long Base;  // unshifted level
    unsigned long Typed; // what the modifiers select
    unsigned VirtualKey;
};

class X11VirtualKeyTest : public testing::TestWithParam<TKeyCase>
{};

TEST_P(X11VirtualKeyTest, MapsToTheWindowsKey)
{
    EXPECT_EQ(KeysymToVirtualKey(GetParam().Base, GetParam().Typed), GetParam().VirtualKey);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, X11VirtualKeyTest,
    testing::Values(
        TKeyCase{"LetterA", XK_a, XK_a, 'A'}, TKeyCase{"ShiftedZ", XK_z, XK_Z, 'Z'},
        TKeyCase{"Digit0", XK_0, XK_0, '0'},
        // Shift+1 types '!' but is still the key '1'.
        TKeyCase{"ShiftedDigit", XK_1, XK_exclam, '1'}, TKeyCase{"Digit9", XK_9, XK_9, '9'},
        TKeyCase{"Enter", XK_Return, XK_Return, VK_RETURN},
        TKeyCase{"KeypadEnter", XK_KP_Enter, XK_KP_Enter, VK_RETURN},
        TKeyCase{"Escape", XK_Escape, XK_Escape, VK_ESCAPE},
        TKeyCase{"Tab", XK_Tab, XK_Tab, VK_TAB},
        TKeyCase{"ShiftTab", XK_Tab, XK_ISO_Left_Tab, VK_TAB},
        TKeyCase{"Backspace", XK_BackSpace, XK_BackSpace, VK_BACK},
        TKeyCase{"Delete", XK_Delete, XK_Delete, VK_DELETE},
        TKeyCase{"Insert", XK_Insert, XK_Insert, VK_INSERT},
        TKeyCase{"Home", XK_Home, XK_Home, VK_HOME}, TKeyCase{"End", XK_End, XK_End, VK_END},
        TKeyCase{"PageUp", XK_Prior, XK_Prior, VK_PRIOR},
        TKeyCase{"PageDown", XK_Next, XK_Next, VK_NEXT},
        TKeyCase{"Left", XK_Left, XK_Left, VK_LEFT}, TKeyCase{"Up", XK_Up, XK_Up, VK_UP},
        TKeyCase{"Right", XK_Right, XK_Right, VK_RIGHT},
        TKeyCase{"Down", XK_Down, XK_Down, VK_DOWN},
        TKeyCase{"Space", XK_space, XK_space, VK_SPACE}, TKeyCase{"F1", XK_F1, XK_F1, 0x70},
        TKeyCase{"F10", XK_F10, XK_F10, VK_F10}, TKeyCase{"F12", XK_F12, XK_F12, 0x7B},
        TKeyCase{"LeftShift", XK_Shift_L, XK_Shift_L, VK_SHIFT},
        TKeyCase{"RightShift", XK_Shift_R, XK_Shift_R, VK_SHIFT},
        TKeyCase{"LeftControl", XK_Control_L, XK_Control_L, VK_CONTROL},
        TKeyCase{"RightControl", XK_Control_R, XK_Control_R, VK_CONTROL},
        TKeyCase{"LeftAlt", XK_Alt_L, XK_Alt_L, VK_MENU},
        TKeyCase{"Meta", XK_Meta_L, XK_Meta_L, VK_MENU},
        // The keypad follows Num Lock, which only the selected keysym shows.
        TKeyCase{"KeypadSevenNumLock", XK_KP_Home, XK_KP_7, 0x67},
        TKeyCase{"KeypadSevenNoNumLock", XK_KP_Home, XK_KP_Home, VK_HOME},
        TKeyCase{"KeypadLeft", XK_KP_Left, XK_KP_Left, VK_LEFT},
        TKeyCase{"KeypadPlus", XK_KP_Add, XK_KP_Add, 0x6B},
        TKeyCase{"Comma", XK_comma, XK_comma, 0xBC},
        TKeyCase{"Minus", XK_minus, XK_underscore, 0xBD},
        TKeyCase{"Unknown", XK_Hyper_L, XK_Hyper_L, 0}),
    [](const testing::TestParamInfo<TKeyCase>& Info) { return std::string(Info.param.Label); });

struct TCharacterCase
{
    const char* Label;
    unsigned long Keysym;
    char32_t Character;
};

class X11CharacterTest : public testing::TestWithParam<TCharacterCase>
{};

TEST_P(X11CharacterTest, TypesWhatWindowsTypes)
{
    EXPECT_EQ(KeysymToCharacter(GetParam().Keysym), GetParam().Character);
}

INSTANTIATE_TEST_SUITE_P(
    Keysyms, X11CharacterTest,
    testing::Values(
        TCharacterCase{"Letter", XK_a, U'a'}, TCharacterCase{"Capital", XK_Q, U'Q'},
        TCharacterCase{"Space", XK_space, U' '}, TCharacterCase{"Tilde", XK_asciitilde, U'~'},
        TCharacterCase{"Latin1Umlaut", XK_udiaeresis, U'\u00FC'},
        TCharacterCase{"Latin1Last", XK_ydiaeresis, U'\u00FF'},
        TCharacterCase{"NoBreakSpace", XK_nobreakspace, U'\u00A0'},
        TCharacterCase{"UnicodeKeysym", 0x01000000 + 0x6642, U'\u6642'},
        TCharacterCase{"UnicodeAstral", 0x01000000 + 0x1F600, U'\U0001F600'},
        TCharacterCase{"UnicodeSurrogate", 0x01000000 + 0xD800, 0},
        TCharacterCase{"Euro", XK_EuroSign, U'\u20AC'}, TCharacterCase{"Enter", XK_Return, 0x0D},
        TCharacterCase{"Backspace", XK_BackSpace, 0x08}, TCharacterCase{"Escape", XK_Escape, 0x1B},
        TCharacterCase{"Tab", XK_Tab, 0x09}, TCharacterCase{"KeypadDigit", XK_KP_5, U'5'},
        TCharacterCase{"KeypadStar", XK_KP_Multiply, U'*'},
        TCharacterCase{"DeleteTypesNothing", XK_Delete, 0},
        TCharacterCase{"ArrowTypesNothing", XK_Left, 0},
        TCharacterCase{"ShiftTypesNothing", XK_Shift_L, 0},
        TCharacterCase{"FunctionKeyTypesNothing", XK_F1, 0}),
    [](const testing::TestParamInfo<TCharacterCase>& Info) {
        return std::string(Info.param.Label);
    });

struct TClickCase
{
    const char* Label;
    unsigned long SecondWindow;
    TMouseButton SecondButton;
    TPoint SecondAt;
    std::uint32_t SecondTimeMs;
    bool Double;
};

class X11DoubleClickTest : public testing::TestWithParam<TClickCase>
{};

// The first press: window 7, left button, at (100, 100), at the server time 1000.
TEST_P(X11DoubleClickTest, PairsQuickNearPressesOfOneButton)
{
    const TClickCase& C = GetParam();
    TX11ClickTracker Tracker;
    EXPECT_FALSE(Tracker.Press(7, TMouseButton::Left, {100, 100}, 1000));
    EXPECT_EQ(Tracker.Press(C.SecondWindow, C.SecondButton, C.SecondAt, C.SecondTimeMs), C.Double);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, X11DoubleClickTest,
    testing::Values(TClickCase{"Same", 7, TMouseButton::Left, {100, 100}, 1200, true},
                    TClickCase{"JustInTime", 7, TMouseButton::Left, {100, 100}, 1499, true},
                    TClickCase{"TooLate", 7, TMouseButton::Left, {100, 100}, 1500, false},
                    TClickCase{"FourAway", 7, TMouseButton::Left, {104, 96}, 1100, true},
                    TClickCase{"FiveAwayAcross", 7, TMouseButton::Left, {105, 100}, 1100, false},
                    TClickCase{"FiveAwayDown", 7, TMouseButton::Left, {100, 105}, 1100, false},
                    TClickCase{"OtherButton", 7, TMouseButton::Right, {100, 100}, 1100, false},
                    TClickCase{"OtherWindow", 8, TMouseButton::Left, {100, 100}, 1100, false}),
    [](const testing::TestParamInfo<TClickCase>& Info) { return std::string(Info.param.Label); });

TEST(X11DoubleClick, AThirdQuickPressStartsAgain)
{
    TX11ClickTracker Tracker;
    EXPECT_FALSE(Tracker.Press(7, TMouseButton::Left, {10, 10}, 100));
    EXPECT_TRUE(Tracker.Press(7, TMouseButton::Left, {10, 10}, 200));
    EXPECT_FALSE(Tracker.Press(7, TMouseButton::Left, {10, 10}, 300));
    EXPECT_TRUE(Tracker.Press(7, TMouseButton::Left, {10, 10}, 400));
}

TEST(X11DoubleClick, SurvivesTheWrapOfTheServerClock)
{
    TX11ClickTracker Tracker;
    EXPECT_FALSE(Tracker.Press(7, TMouseButton::Left, {10, 10}, 0xFFFFFF00u));
    EXPECT_TRUE(Tracker.Press(7, TMouseButton::Left, {10, 10}, 0x00000010u));
}

TEST(X11DoubleClick, ALatePressIsTheFirstOfANewPair)
{
    TX11ClickTracker Tracker;
    EXPECT_FALSE(Tracker.Press(7, TMouseButton::Left, {10, 10}, 0));
    EXPECT_FALSE(Tracker.Press(7, TMouseButton::Left, {10, 10}, 2000));
    EXPECT_TRUE(Tracker.Press(7, TMouseButton::Left, {12, 12}, 2100));
}

} // namespace
