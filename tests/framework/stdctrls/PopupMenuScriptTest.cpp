#include "tests/framework/stdctrls/PopupMenuFixture.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace PopupMenuTesting;

class MouseScripts : public PopupMenuTest, public testing::WithParamInterface<TScript>
{};

TEST_P(MouseScripts, Run)
{
    RunScript(*Menu, GetParam().Steps);
    EXPECT_EQ(Log, GetParam().Log);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MouseScripts,
    testing::Values(TScript{"MoveThenReleaseOnQuit",
                            {Move("Settings"), Move("Quit"), LUp("Quit")},
                            {"hl -", "hl Settings", "hl Quit", "click Quit1"}},
                    TScript{"ReleaseWithoutMovingFirst", {LUp("About")}, {"hl -", "click About1"}},
                    TScript{"RightReleaseChooses",
                            {Move("Users Manual"), RUp("Users Manual")},
                            {"hl -", "hl Users Manual", "click UsersManual1"}},
                    TScript{"PressDragRelease",
                            {LDown("Settings"), Move("Users Manual"), LUp("Users Manual")},
                            {"hl -", "hl Settings", "hl Users Manual", "click UsersManual1"}},
                    TScript{"SeparatorsNeitherHighlightNorChoose",
                            {Move("Quit"), Move("-"), LUp("-"), RUp("-"), Key(VK_ESCAPE)},
                            {"hl -", "hl Quit", "hl -", "hl -", "hl -"}},
                    TScript{"DisabledItemsNeitherHighlightNorChoose",
                            {Move("Disabled"), LUp("Disabled"), Move("About"), Key(VK_ESCAPE)},
                            {"hl -", "hl -", "hl -", "hl About"}},
                    TScript{"LeavingTheMenuClearsTheHighlight",
                            {Move("Quit"), MoveOutside, ReleaseOutside, Key(VK_ESCAPE)},
                            {"hl -", "hl Quit", "hl -", "hl -"}},
                    TScript{"MiddleReleaseDoesNotChoose",
                            {Move("Quit"), MUp("Quit"), Key(VK_ESCAPE)},
                            {"hl -", "hl Quit", "hl Quit"}},
                    TScript{
                        "PressOutsideDismisses", {Move("Quit"), PressOutside}, {"hl -", "hl Quit"}},
                    TScript{"EscapeDismisses", {Move("Quit"), Key(VK_ESCAPE)}, {"hl -", "hl Quit"}},
                    TScript{"AltDismisses", {Move("Quit"), Key(VK_MENU)}, {"hl -", "hl Quit"}}),
    ByName{});

class KeyboardScripts : public PopupMenuTest, public testing::WithParamInterface<TScript>
{};

TEST_P(KeyboardScripts, Run)
{
    RunScript(*Menu, GetParam().Steps);
    EXPECT_EQ(Log, GetParam().Log);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyboardScripts,
    testing::Values(TScript{"DownSkipsSeparatorsAndDisabledItemsAndWraps",
                            {Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN),
                             Key(VK_RETURN)},
                            {"hl -", "hl Settings", "hl Quit", "hl Users Manual", "hl About",
                             "hl Settings", "click Settings1"}},
                    TScript{"UpStartsAtTheEndAndWraps",
                            {Key(VK_UP), Key(VK_UP), Key(VK_UP), Key(VK_UP), Key(VK_UP),
                             Key(VK_RETURN)},
                            {"hl -", "hl About", "hl Users Manual", "hl Quit", "hl Settings",
                             "hl About", "click About1"}},
                    TScript{"HomeAndEnd",
                            {Key(VK_END), Key(VK_HOME), Key(VK_RETURN, U'\r')},
                            {"hl -", "hl About", "hl Settings", "click Settings1"}},
                    TScript{"EnterWithNothingHighlightedDoesNothing",
                            {Key(VK_RETURN), Key(VK_ESCAPE)},
                            {"hl -", "hl -"}},
                    TScript{"KeysAndMouseShareTheHighlight",
                            {Move("Quit"), Key(VK_DOWN), Key(VK_RETURN)},
                            {"hl -", "hl Quit", "hl Users Manual", "click UsersManual1"}},
                    TScript{"EscapeAfterNavigating",
                            {Key(VK_DOWN), Key(VK_DOWN), Key(VK_ESCAPE)},
                            {"hl -", "hl Settings", "hl Quit"}},
                    TScript{"OtherKeysAreSwallowed",
                            {Key('Z', U'z'), Key(VK_SPACE, U' '), Key(VK_DOWN), Key(VK_RETURN)},
                            {"hl -", "hl -", "hl -", "hl Settings", "click Settings1"}}),
    ByName{});

class SubmenuScripts : public PopupMenuTest, public testing::WithParamInterface<TScript>
{};

TEST_P(SubmenuScripts, Run)
{
    RunScript(*FileMenu(), GetParam().Steps);
    EXPECT_EQ(Log, GetParam().Log);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SubmenuScripts,
    testing::Values(
        TScript{"HoverOpensAndReleaseInsideChooses",
                {Move("File"), Move("File>Open"), LUp("File>Open")},
                {"hl -", "hl File>-", "hl File>Open", "click Open1"}},
        TScript{"BackOnTheParentKeepsTheSubmenu",
                {Move("File"), Move("File>New"), Move("File"), Move("File>Open"), Key(VK_RETURN)},
                {"hl -", "hl File>-", "hl File>New", "hl File>-", "hl File>Open", "click Open1"}},
        TScript{"AnotherItemClosesTheSubmenu",
                {Move("File"), Move("File>New"), Move("Save"), LUp("Save")},
                {"hl -", "hl File>-", "hl File>New", "hl Save", "click Save1"}},
        TScript{"ReleaseOnTheParentChoosesNothing",
                {Move("File"), LUp("File"), Key(VK_ESCAPE), Key(VK_ESCAPE)},
                {"hl -", "hl File>-", "hl File>-", "hl File"}},
        TScript{
            "RightOpensLeftCloses",
            {Key(VK_DOWN), Key(VK_RIGHT), Key(VK_DOWN), Key(VK_LEFT), Key(VK_DOWN), Key(VK_RETURN)},
            {"hl -", "hl File", "hl File>New", "hl File>Open", "hl File", "hl Save",
             "click Save1"}},
        TScript{"EnterOpensTheSubmenuOnItsFirstItem",
                {Key(VK_DOWN), Key(VK_RETURN), Key(VK_RETURN)},
                {"hl -", "hl File", "hl File>New", "click New1"}},
        TScript{"EscapeClosesOneLevelAtATime",
                {Key(VK_DOWN), Key(VK_RIGHT), Key(VK_ESCAPE), Key(VK_ESCAPE)},
                {"hl -", "hl File", "hl File>New", "hl File"}},
        TScript{"PressOutsideClosesEveryLevel",
                {Move("File"), Move("File>New"), PressOutside},
                {"hl -", "hl File>-", "hl File>New"}},
        TScript{"AnAccessKeyChoosesItsItem", {Key('X', U'x')}, {"hl -", "click Exit1"}},
        TScript{"AccessKeysIgnoreCaseAndOpenSubmenus",
                {Key('F', U'F'), Key('O', U'o')},
                {"hl -", "hl File>New", "click Open1"}},
        TScript{"ASharedAccessKeyMovesAmongItsItems",
                {Key('S', U's'), Key('S', U'S'), Key('S', U's'), Key(VK_RETURN)},
                {"hl -", "hl Save", "hl Sign", "hl Save", "click Save1"}},
        TScript{"DisabledItemsHaveNoAccessKey", {Key('E', U'e')}, {"hl -", "click Send1"}}),
    ByName{});

} // namespace
