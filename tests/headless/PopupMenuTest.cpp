#include "framework/PopupMenu.h"

#include "framework/MenuItem.h"
#include "framework/MenuLayout.h"
#include "framework/PopupMenuWindow.h"
#include "framework/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

THeadlessPlatform& Port()
{
    return static_cast<THeadlessPlatform&>(TPlatform::Get());
}

TWindowManager& WM()
{
    return TWindowManager::Get();
}

// What one step of a script does while the menu is open.
enum class TAct
{
    Move,
    LDown,
    LUp,
    RDown,
    RUp,
    MUp,
    MoveOutside,
    PressOutside,
    ReleaseOutside,
    Key,
};

struct TStep
{
    TAct Act;
    // The item, as its caption path without '&' ("Quit", "File>Open"); for keys the virtual key
    // and the character the key types (0 for none).
    const char* Target = "";
    unsigned Key = 0;
    char32_t Char = 0;
};

TStep Move(const char* T)
{
    return {TAct::Move, T};
}
TStep LDown(const char* T)
{
    return {TAct::LDown, T};
}
TStep LUp(const char* T)
{
    return {TAct::LUp, T};
}
TStep RUp(const char* T)
{
    return {TAct::RUp, T};
}
TStep MUp(const char* T)
{
    return {TAct::MUp, T};
}
TStep Key(unsigned VirtualKey, char32_t Char = 0)
{
    return {TAct::Key, "", VirtualKey, Char};
}
const TStep MoveOutside{TAct::MoveOutside};
const TStep PressOutside{TAct::PressOutside};
const TStep ReleaseOutside{TAct::ReleaseOutside};

// A script and what it must leave in the log: before each step the highlight of every open
// menu level ("hl Quit", "hl File>Open", "hl -" for none), and at the end the clicks.
struct TScript
{
    const char* Name;
    std::vector<TStep> Steps;
    std::vector<std::string> Log;
};

std::ostream& operator<<(std::ostream& Out, const TScript& S)
{
    return Out << S.Name;
}

class PopupMenuTest : public testing::Test
{
protected:
    void SetUp() override
    {
        TWindowManager::Reset();
        Port().SetTickCount(1000);
        Port().SetScreenSize({1024, 768});
        DrainPortEvents();
        TCreateWindowParams P;
        P.Bounds = TRect::FromSize(100, 100, 300, 120);
        P.Style = WS_POPUP | WS_VISIBLE;
        P.WndProc = std::make_shared<TWndProc>(
            [this](HWND H, UINT M, WPARAM W, LPARAM L) { return FormProc(H, M, W, L); });
        Form = WM().CreateWindowEx(P);
        Pump();
        Host = std::make_unique<TComponent>(nullptr);
        Menu = new TPopupMenu(Host.get());
        Menu->SetName("PopupMenu1");
        // The clock's six items, and one disabled item after them.
        for (const char* Spec :
             {"Settings1 Settings", "Quit1 Quit", "N1 -", "UsersManual1 Users Manual", "N2 -",
              "About1 About", "Disabled1 Disabled"})
            AddItem(Menu->GetItems(), Spec);
        Item("Disabled1")->SetEnabled(false);
    }

    void TearDown() override
    {
        Host.reset();
        DrainPortEvents();
        TWindowManager::Reset();
    }

    // "Name Caption words": an item owned by the host, nested in Parent.
    TMenuItem* AddItem(TMenuItem* Parent, const std::string& Spec)
    {
        const std::size_t Space = Spec.find(' ');
        auto* I = new TMenuItem(Host.get());
        I->SetName(Spec.substr(0, Space));
        I->SetCaption(Spec.substr(Space + 1));
        I->OnClick = [this](TObject* Sender) { Clicked(dynamic_cast<TMenuItem*>(Sender)); };
        Parent->Add(I);
        return I;
    }
    TMenuItem* Item(const char* Name)
    {
        return dynamic_cast<TMenuItem*>(Host->FindComponent(Name));
    }

    // A menu with a submenu and access keys.
    TPopupMenu* FileMenu()
    {
        auto* M = new TPopupMenu(Host.get());
        TMenuItem* File = AddItem(M->GetItems(), "File1 &File");
        AddItem(File, "New1 &New");
        AddItem(File, "Open1 &Open");
        AddItem(M->GetItems(), "Edit1 &Edit")->SetEnabled(false);
        AddItem(M->GetItems(), "N3 -");
        AddItem(M->GetItems(), "Save1 &Save");
        AddItem(M->GetItems(), "Send1 S&end");
        AddItem(M->GetItems(), "Sign1 &Sign");
        AddItem(M->GetItems(), "Exit1 E&xit");
        return M;
    }

    virtual void Clicked(TMenuItem* Item)
    {
        // The handler must find the menu gone: no tracker, no window, no capture.
        const bool Gone =
            !TPopupMenuTracker::GetActive() && !WM().IsWindow(MenuWnd) && WM().GetCapture() == 0;
        Log.push_back("click " + Item->GetName() + (Gone ? "" : " with the menu still open"));
        if (OnClicked)
            OnClicked(Item);
    }

    LRESULT FormProc(HWND H, UINT M, WPARAM W, LPARAM L)
    {
        if ((M >= WM_MOUSEFIRST && M <= WM_MOUSELAST) || (M >= WM_KEYDOWN && M <= WM_SYSCHAR))
            FormInput.push_back(M);
        if (M == WM_TIMER) {
            ++Ticks;
            if (OnTimerQuit)
                WM().PostQuitMessage(3);
            WM().InvalidateRect(H, nullptr, false);
        }
        if (M == WM_PAINT)
            ++Paints;
        if (M == WM_CONTEXTMENU && ContextMenu) {
            Menu->Popup(GetXLParam(L), GetYLParam(L));
            return 0;
        }
        return WM().DefWindowProc(H, M, W, L);
    }

    void Pump()
    {
        TMsg M;
        while (WM().PeekMessage(M, 0, 0, 0, PM_REMOVE) && M.Message != WM_QUIT) {
            WM().TranslateMessage(M);
            WM().DispatchMessage(M);
        }
    }

    static void DrainPortEvents()
    {
        while (Port().GetQueuedEventCount() > 0)
            Port().WaitEvents(-1);
    }

    // Runs Fn inside the menu's loop, DelayMs after the step before; without an open menu it
    // only notes that.
    void During(std::function<void(TPopupMenuTracker&)> Fn, int DelayMs = 0)
    {
        Port().QueueEvent(
            [this, Fn] {
                TPopupMenuTracker* T = TPopupMenuTracker::GetActive();
                if (!T) {
                    Log.push_back("closed");
                    return;
                }
                MenuWnd = T->GetWindow(0);
                Fn(*T);
            },
            DelayMs);
    }

    static std::string Highlights(const TPopupMenuTracker& T)
    {
        std::string S;
        for (int L = 0; L < T.GetLevelCount(); ++L) {
            const int H = T.GetHighlight(L);
            S += (L ? ">" : "") + (H < 0
                                       ? std::string("-")
                                       : ParseMenuCaption(T.GetLayout(L).GetEntry(H).Caption).Text);
        }
        return S;
    }

    // The level and the entry a caption path names, and the centre of that entry (client
    // coordinates of the level's window).
    static TPoint Find(const TPopupMenuTracker& T, const std::string& Path, int& Level)
    {
        Level = -1;
        int Index = -1;
        std::size_t Start = 0;
        for (int L = 0;; ++L) {
            const std::size_t End = Path.find('>', Start);
            const std::string Part = Path.substr(Start, End - Start);
            if (L >= T.GetLevelCount())
                ADD_FAILURE() << "level " << L << " of " << Path << " is not open";
            if (L >= T.GetLevelCount())
                return {};
            Index = -1;
            for (int I = 0; I < T.GetLayout(L).GetCount() && Index < 0; ++I)
                if (ParseMenuCaption(T.GetLayout(L).GetEntry(I).Caption).Text == Part)
                    Index = I;
            if (Index < 0)
                ADD_FAILURE() << "no item " << Part;
            Level = L;
            if (End == std::string::npos)
                break;
            Start = End + 1;
        }
        if (Index < 0)
            return {};
        const TRect& B = T.GetLayout(Level).GetEntry(Index).Bounds;
        return {(B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2};
    }

    void Perform(TPopupMenuTracker& T, const TStep& S)
    {
        const auto Mouse = [&](UINT Msg, unsigned Shift) {
            int Level = 0;
            const TPoint P = Find(T, S.Target, Level);
            // The port reports the event on the window under the pointer; the capture takes it.
            WM().HandleMouse(T.GetWindow(Level), Msg, Shift, P);
        };
        // Over the form, well away from the menu.
        const TPoint Outside{280, 110};
        switch (S.Act) {
        case TAct::Move:
            return Mouse(WM_MOUSEMOVE, 0);
        case TAct::LDown:
            return Mouse(WM_LBUTTONDOWN, ssLeft);
        case TAct::LUp:
            return Mouse(WM_LBUTTONUP, 0);
        case TAct::RDown:
            return Mouse(WM_RBUTTONDOWN, ssRight);
        case TAct::RUp:
            return Mouse(WM_RBUTTONUP, 0);
        case TAct::MUp:
            return Mouse(WM_MBUTTONUP, 0);
        case TAct::MoveOutside:
            return WM().HandleMouse(Form, WM_MOUSEMOVE, 0, Outside);
        case TAct::PressOutside:
            return WM().HandleMouse(Form, WM_LBUTTONDOWN, ssLeft, Outside);
        case TAct::ReleaseOutside:
            return WM().HandleMouse(Form, WM_LBUTTONUP, 0, Outside);
        case TAct::Key:
            WM().HandleKey(Form, WM_KEYDOWN, S.Key, 0);
            if (S.Char)
                WM().HandleChar(Form, S.Char);
            return;
        }
    }

    // Opens PopupMenu at the screen point with the script queued behind it; every step must run
    // while the menu is open, and nothing of the input may reach the form.
    void RunScript(TPopupMenu& PopupMenu, const std::vector<TStep>& Steps, TPoint At = {150, 140})
    {
        for (const TStep& S : Steps)
            During([this, S](TPopupMenuTracker& T) {
                Log.push_back("hl " + Highlights(T));
                Perform(T, S);
            });
        PopupMenu.Popup(At.X, At.Y);
        EXPECT_EQ(TPopupMenuTracker::GetActive(), nullptr);
        EXPECT_EQ(Port().GetQueuedEventCount(), 0u) << "the menu closed before the script ended";
        Pump();
        EXPECT_TRUE(FormInput.empty()) << "the form saw " << FormInput.size() << " inputs";
    }

    HWND Form = 0;
    HWND MenuWnd = 0;
    std::unique_ptr<TComponent> Host;
    TPopupMenu* Menu = nullptr;
    std::vector<std::string> Log;
    std::vector<UINT> FormInput;
    std::function<void(TMenuItem*)> OnClicked;
    bool ContextMenu = false;
    bool OnTimerQuit = false;
    int Ticks = 0;
    int Paints = 0;
};

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
    [](const testing::TestParamInfo<TScript>& I) { return std::string(I.param.Name); });

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
    [](const testing::TestParamInfo<TScript>& I) { return std::string(I.param.Name); });

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
    [](const testing::TestParamInfo<TScript>& I) { return std::string(I.param.Name); });

TEST_F(PopupMenuTest, TheChosenItemsHandlerRunsOnceAfterTheWindowIsGone)
{
    std::size_t WindowsDuring = 0;
    During([&](TPopupMenuTracker& T) {
        WindowsDuring = Port().GetWindows().size();
        Perform(T, Move("Quit"));
    });
    During([&](TPopupMenuTracker& T) { Perform(T, LUp("Quit")); });
    std::size_t WindowsAtClick = 0;
    OnClicked = [&](TMenuItem*) { WindowsAtClick = Port().GetWindows().size(); };
    Menu->Popup(150, 140);
    EXPECT_EQ(Log, (std::vector<std::string>{"click Quit1"}));
    EXPECT_EQ(WindowsDuring, 2u);
    EXPECT_EQ(WindowsAtClick, 1u);
    EXPECT_FALSE(WM().IsWindow(MenuWnd));
}

TEST_F(PopupMenuTest, AContextMenuRequestOpensTheMenuAndQuitEndsTheProgram)
{
    // The clock's road: right click on the form, the menu at that screen point, Quit closes the
    // main window and ends the message loop.
    ContextMenu = true;
    TPoint MenuCorner;
    OnClicked = [&](TMenuItem*) {
        WM().DestroyWindow(Form);
        WM().PostQuitMessage(0);
    };
    During([&](TPopupMenuTracker& T) {
        MenuCorner = T.GetScreenBounds(0).TopLeft();
        Perform(T, Move("Quit"));
    });
    During([&](TPopupMenuTracker& T) { Perform(T, LUp("Quit")); });
    WM().HandleMouse(Form, WM_RBUTTONDOWN, ssRight, {20, 30});
    WM().HandleMouse(Form, WM_RBUTTONUP, 0, {20, 30});
    TMsg M;
    int Got = 0;
    while ((Got = WM().GetMessage(M, 0, 0, 0)) > 0) {
        WM().TranslateMessage(M);
        WM().DispatchMessage(M);
    }
    EXPECT_EQ(Got, 0);
    EXPECT_EQ(MenuCorner, TPoint(120, 130));
    EXPECT_EQ(Log, (std::vector<std::string>{"click Quit1"}));
    EXPECT_FALSE(WM().IsWindow(Form));
}

TEST_F(PopupMenuTest, TimersAndPaintsGoOnBehindTheMenu)
{
    WM().SetTimer(Form, 1, 250);
    Paints = 0;
    During([&](TPopupMenuTracker& T) { Perform(T, Key(VK_ESCAPE)); }, 1100);
    Menu->Popup(150, 140);
    // Ticks at 250, 500, 750 and 1000 ms, each repainting the form before the next.
    EXPECT_EQ(Ticks, 4);
    EXPECT_EQ(Paints, 4);
    EXPECT_EQ(Port().GetTickCount(), 2100u);
    EXPECT_TRUE(Log.empty());
}

TEST_F(PopupMenuTest, AQuitInsideTheLoopEndsItAndReachesTheOuterLoop)
{
    During([&](TPopupMenuTracker& T) { Perform(T, Move("Quit")); });
    During([&](TPopupMenuTracker&) { WM().PostQuitMessage(7); });
    Menu->Popup(150, 140);
    EXPECT_EQ(TPopupMenuTracker::GetActive(), nullptr);
    EXPECT_FALSE(WM().IsWindow(MenuWnd));
    EXPECT_TRUE(Log.empty());
    TMsg M;
    EXPECT_EQ(WM().GetMessage(M, 0, 0, 0), 0);
    EXPECT_EQ(M.WParam, 7u);
}

TEST_F(PopupMenuTest, AQuitFromATimerHandlerEndsTheLoopToo)
{
    WM().SetTimer(Form, 1, 100);
    OnTimerQuit = true;
    Menu->Popup(150, 140);
    EXPECT_EQ(TPopupMenuTracker::GetActive(), nullptr);
    TMsg M;
    EXPECT_EQ(WM().GetMessage(M, 0, 0, 0), 0);
    EXPECT_EQ(M.WParam, 3u);
}

struct TCaptureCase
{
    const char* Name;
    std::function<void(HWND Form, HWND MenuWnd)> Take;
};

class CaptureLoss : public PopupMenuTest, public testing::WithParamInterface<TCaptureCase>
{};

TEST_P(CaptureLoss, DismissesTheMenu)
{
    During([&](TPopupMenuTracker& T) { Perform(T, Move("Quit")); });
    During([&](TPopupMenuTracker& T) { GetParam().Take(Form, T.GetWindow(0)); });
    Menu->Popup(150, 140);
    EXPECT_EQ(TPopupMenuTracker::GetActive(), nullptr);
    EXPECT_FALSE(WM().IsWindow(MenuWnd));
    EXPECT_TRUE(Log.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, CaptureLoss,
    testing::Values(TCaptureCase{"ThePortTakesIt", [](HWND, HWND M) { WM().HandleCaptureLost(M); }},
                    TCaptureCase{"AnotherWindowTakesIt", [](HWND F, HWND) { WM().SetCapture(F); }},
                    TCaptureCase{"ItIsReleased", [](HWND, HWND) { WM().ReleaseCapture(); }},
                    TCaptureCase{"TheWindowIsDestroyed",
                                 [](HWND, HWND M) { WM().DestroyWindow(M); }}),
    [](const testing::TestParamInfo<TCaptureCase>& I) { return std::string(I.param.Name); });

struct TEdgeCase
{
    TPoint Screen;
    TPoint At;
    bool FlippedLeft;
    bool FlippedUp;
};

class ScreenEdges : public PopupMenuTest, public testing::WithParamInterface<TEdgeCase>
{};

TEST_P(ScreenEdges, KeepTheMenuOnTheScreen)
{
    const TEdgeCase& C = GetParam();
    Port().SetScreenSize(C.Screen);
    TRect Bounds, Peer;
    During([&](TPopupMenuTracker& T) {
        Bounds = WM().GetWindowRect(T.GetWindow(0));
        Peer = WM().GetPeer(T.GetWindow(0))->GetBounds();
        Perform(T, Key(VK_ESCAPE));
    });
    Menu->Popup(C.At.X, C.At.Y);
    EXPECT_EQ(Peer, Bounds);
    EXPECT_EQ(Bounds.Left, C.FlippedLeft ? C.At.X - Bounds.Width() : C.At.X);
    EXPECT_EQ(Bounds.Top, C.FlippedUp ? C.At.Y - Bounds.Height() : C.At.Y);
    EXPECT_GE(Bounds.Left, 0);
    EXPECT_GE(Bounds.Top, 0);
    EXPECT_LE(Bounds.Right, C.Screen.X);
    EXPECT_LE(Bounds.Bottom, C.Screen.Y);
}

INSTANTIATE_TEST_SUITE_P(Table, ScreenEdges,
                         testing::Values(TEdgeCase{{1024, 768}, {150, 140}, false, false},
                                         TEdgeCase{{1024, 768}, {1020, 140}, true, false},
                                         TEdgeCase{{1024, 768}, {150, 760}, false, true},
                                         TEdgeCase{{1024, 768}, {1023, 767}, true, true},
                                         TEdgeCase{{640, 480}, {600, 450}, true, true},
                                         TEdgeCase{{640, 480}, {0, 0}, false, false}));

TEST_F(PopupMenuTest, SubmenusNearTheRightEdgeOpenToTheLeft)
{
    TPopupMenu* M = FileMenu();
    TRect Root, Sub;
    During([&](TPopupMenuTracker& T) { Perform(T, Move("File")); });
    During([&](TPopupMenuTracker& T) {
        Root = T.GetScreenBounds(0);
        Sub = WM().GetWindowRect(T.GetWindow(1));
        Perform(T, Key(VK_ESCAPE));
    });
    During([&](TPopupMenuTracker& T) { Perform(T, Key(VK_ESCAPE)); });
    M->Popup(1000, 100);
    EXPECT_EQ(Sub.Right, Root.Left + TMenuLayout::BorderPixels);
    EXPECT_EQ(Sub.Top, Root.Top); // File is the first item
    EXPECT_GE(Sub.Left, 0);
}

TEST_F(PopupMenuTest, TheMenuIsATopmostPopupWithoutButtonThatTakesTheCaptureNotTheFocus)
{
    WM().SetFocus(Form);
    const TPlatformWindowParams* Params = nullptr;
    bool Visible = false, Captured = false, Active = false;
    During([&](TPopupMenuTracker& T) {
        auto* Peer = dynamic_cast<THeadlessWindow*>(WM().GetPeer(T.GetWindow(0)));
        ASSERT_NE(Peer, nullptr);
        Params = &Peer->GetParams();
        EXPECT_TRUE(Params->Popup);
        EXPECT_TRUE(Params->StayOnTop);
        EXPECT_FALSE(Params->TaskbarButton);
        Visible = Peer->IsVisible();
        Captured = Port().GetCaptureWindow() == Peer && WM().GetCapture() == T.GetWindow(0);
        Active = Port().GetActiveWindow() == Peer || WM().GetActiveWindow() == T.GetWindow(0);
        Perform(T, Key(VK_ESCAPE));
    });
    Menu->Popup(150, 140);
    EXPECT_NE(Params, nullptr);
    EXPECT_TRUE(Visible);
    EXPECT_TRUE(Captured);
    EXPECT_FALSE(Active);
    EXPECT_EQ(WM().GetFocus(), Form);
    EXPECT_EQ(Port().GetCaptureWindow(), nullptr);
}

TEST_F(PopupMenuTest, TheHighlightIsPaintedAndPresentedAtOnce)
{
    std::vector<std::string> Seen;
    const auto Look = [&](TPopupMenuTracker& T) {
        const HWND W = T.GetWindow(0);
        TBitmap* Back = WM().GetBackBuffer(W);
        auto* Peer = dynamic_cast<THeadlessWindow*>(WM().GetPeer(W));
        std::string S;
        for (const char* Name : {"Settings", "Quit"}) {
            int Level = 0;
            const TPoint C = Find(T, Name, Level);
            const TRect& B = T.GetLayout(0).GetEntry(T.GetLayout(0).HitTest(C)).Bounds;
            const TColor Back1 = Back->GetPixel(B.Left, B.Top);
            const TColor Screen1 = PixelToColor(Peer->GetScreenPixel(B.Left, B.Top));
            S += std::string(Name) +
                 (Back1 == ColorToRGB(clHighlight) ? " lit"
                  : Back1 == ColorToRGB(clMenu)    ? " plain"
                                                   : " ?") +
                 (Screen1 == Back1 ? "" : " (not presented)") + "; ";
        }
        Seen.push_back(S);
    };
    During([&](TPopupMenuTracker& T) {
        Look(T);
        Perform(T, Move("Quit"));
    });
    During([&](TPopupMenuTracker& T) {
        Look(T);
        Perform(T, Move("Settings"));
    });
    During([&](TPopupMenuTracker& T) {
        Look(T);
        Perform(T, Key(VK_ESCAPE));
    });
    Menu->Popup(150, 140);
    EXPECT_EQ(Seen, (std::vector<std::string>{"Settings plain; Quit plain; ",
                                              "Settings plain; Quit lit; ",
                                              "Settings lit; Quit plain; "}));
}

TEST_F(PopupMenuTest, AnItemDestroyedWhileTheMenuIsOpenIsNeverCalled)
{
    During([&](TPopupMenuTracker& T) { Perform(T, Move("Quit")); });
    During([&](TPopupMenuTracker&) { delete Item("Quit1"); });
    During([&](TPopupMenuTracker& T) { Perform(T, LUp("Quit")); });
    Menu->Popup(150, 140);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(Menu->GetItems()->GetCount(), 6);
}

TEST_F(PopupMenuTest, TheMenuDestroyedWhileOpenClosesQuietly)
{
    During([&](TPopupMenuTracker&) { Host.reset(); });
    // Popup runs on an object that dies inside it; it must not touch it afterwards.
    Menu->Popup(150, 140);
    EXPECT_EQ(TPopupMenuTracker::GetActive(), nullptr);
    EXPECT_FALSE(WM().IsWindow(MenuWnd));
    EXPECT_TRUE(Log.empty());
}

TEST_F(PopupMenuTest, OnPopupRunsFirstAndMayChangeTheItems)
{
    std::vector<std::string> Order;
    Menu->OnPopup = [&](TObject* Sender) {
        Order.push_back(std::string("popup ") + (Sender == Menu ? "menu" : "?") +
                        (TPopupMenuTracker::GetActive() ? " open" : " not open"));
        Item("Settings1")->SetVisible(false);
    };
    During([&](TPopupMenuTracker& T) {
        Order.push_back("first entry " + T.GetLayout(0).GetEntry(0).Caption);
        Perform(T, Key(VK_ESCAPE));
    });
    Menu->Popup(150, 140);
    EXPECT_EQ(Order, (std::vector<std::string>{"popup menu not open", "first entry Quit"}));
    EXPECT_EQ(Menu->GetPopupPoint(), TPoint(150, 140));
}

TEST_F(PopupMenuTest, AMenuWithNothingVisibleOpensNoWindow)
{
    for (int I = 0; I < Menu->GetItems()->GetCount(); ++I)
        Menu->GetItems()->GetItem(I)->SetVisible(false);
    const std::size_t Before = Port().GetWindows().size();
    bool Popped = false;
    Menu->OnPopup = [&](TObject*) { Popped = true; };
    Menu->Popup(150, 140);
    EXPECT_TRUE(Popped);
    EXPECT_EQ(Port().GetWindows().size(), Before);
    EXPECT_EQ(WM().GetCapture(), 0u);
}

TEST_F(PopupMenuTest, OnlyOneMenuTracksAtATime)
{
    TPopupMenu* Other = FileMenu();
    bool OtherPopped = false;
    Other->OnPopup = [&](TObject*) { OtherPopped = true; };
    During([&](TPopupMenuTracker& T) {
        Other->Popup(10, 10);
        Log.push_back(TPopupMenuTracker::GetActive() == &T ? "same tracker" : "another tracker");
        Perform(T, Key(VK_ESCAPE));
    });
    Menu->Popup(150, 140);
    EXPECT_FALSE(OtherPopped);
    EXPECT_EQ(Log, (std::vector<std::string>{"same tracker"}));
}

} // namespace
