#include "framework/windows/WindowManager.h"

#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/HeadlessApp.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// One line per message a window saw: "name:message".
struct TLog
{
    std::vector<std::string> Lines;
    void Add(const std::string& Name, UINT Msg)
    {
        static const std::pair<UINT, const char*> Names[] = {{WM_CREATE, "create"},
                                                             {WM_DESTROY, "destroy"},
                                                             {WM_NCDESTROY, "ncdestroy"},
                                                             {WM_PAINT, "paint"},
                                                             {WM_ERASEBKGND, "erase"},
                                                             {WM_TIMER, "timer"},
                                                             {WM_LBUTTONDOWN, "lbuttondown"},
                                                             {WM_LBUTTONUP, "lbuttonup"},
                                                             {WM_MOUSEMOVE, "mousemove"},
                                                             {WM_SHOWWINDOW, "show"},
                                                             {WM_SIZE, "size"},
                                                             {WM_MOVE, "move"},
                                                             {WM_USER, "user"},
                                                             {WM_CAPTURECHANGED, "capturechanged"},
                                                             {WM_SETFOCUS, "setfocus"},
                                                             {WM_KILLFOCUS, "killfocus"},
                                                             {WM_CHAR, "char"},
                                                             {WM_KEYDOWN, "keydown"},
                                                             {WM_KEYUP, "keyup"},
                                                             {WM_CONTEXTMENU, "contextmenu"},
                                                             {WM_RBUTTONUP, "rbuttonup"}};
        for (auto [M, N] : Names)
            if (M == Msg) {
                Lines.push_back(Name + ":" + N);
                return;
            }
    }
};

class WindowManagerTest : public HeadlessWindowsTest
{
protected:
    TWndProcRef Logger(const std::string& Name)
    {
        return std::make_shared<TWndProc>([this, Name](HWND H, UINT M, WPARAM W, LPARAM L) {
            Log.Add(Name, M);
            return WM().DefWindowProc(H, M, W, L);
        });
    }

    HWND Create(const std::string& Name, HWND Parent, TRect Bounds, std::uint32_t Style = 0)
    {
        TCreateWindowParams P;
        P.Parent = Parent;
        P.Bounds = Bounds;
        P.Style = Style | (Parent ? WS_CHILD : 0);
        P.WndProc = Logger(Name);
        return WM().CreateWindowEx(P);
    }

    // Dispatches what the queue holds now, without waiting.
    void Drain()
    {
        TMsg M;
        while (WM().PeekMessage(M, 0, 0, 0, PM_REMOVE)) {
            if (M.Message == WM_QUIT)
                break;
            WM().TranslateMessage(M);
            WM().DispatchMessage(M);
        }
    }

    TLog Log;
};

TEST_F(WindowManagerTest, CreationAndDestructionSendTheirMessagesInOrder)
{
    const HWND Top = Create("top", 0, {0, 0, 100, 50});
    Create("a", Top, {0, 0, 10, 10});
    Create("b", Top, {10, 0, 20, 10});
    EXPECT_EQ(Log.Lines, (std::vector<std::string>{"top:create", "a:create", "b:create"}));
    Log.Lines.clear();
    EXPECT_TRUE(WM().DestroyWindow(Top));
    EXPECT_EQ(Log.Lines, (std::vector<std::string>{"top:destroy", "a:destroy", "a:ncdestroy",
                                                   "b:destroy", "b:ncdestroy", "top:ncdestroy"}));
    EXPECT_FALSE(WM().IsWindow(Top));
    EXPECT_FALSE(WM().DestroyWindow(Top));
}

TEST_F(WindowManagerTest, ParentPaintsBeforeChildrenAndSiblingsBottomFirst)
{
    const HWND Top = Create("top", 0, {0, 0, 100, 50}, WS_VISIBLE);
    Create("a", Top, {0, 0, 10, 10}, WS_VISIBLE);
    Create("b", Top, {5, 0, 20, 10}, WS_VISIBLE);
    Log.Lines.clear();
    Drain();
    EXPECT_EQ(Log.Lines, (std::vector<std::string>{"top:paint", "top:erase", "a:paint", "a:erase",
                                                   "b:paint", "b:erase"}));
}

struct TClipCase
{
    std::uint32_t ParentStyle;
    bool ChildRepaints;
};

class InvalidatingTheParent : public WindowManagerTest,
                              public testing::WithParamInterface<TClipCase>
{};

TEST_P(InvalidatingTheParent, ReachesChildrenUnlessTheyAreClipped)
{
    const HWND Top = Create("top", 0, {0, 0, 100, 50}, WS_VISIBLE | GetParam().ParentStyle);
    const HWND Child = Create("c", Top, {10, 10, 30, 30}, WS_VISIBLE);
    Drain();
    WM().InvalidateRect(Top, nullptr, false);
    EXPECT_EQ(WM().GetUpdateRect(Child, nullptr), GetParam().ChildRepaints);
    // Only the part of the child under the invalidated rectangle.
    WM().ValidateRect(Child, nullptr);
    const TRect Part{0, 0, 15, 15};
    WM().InvalidateRect(Top, &Part, false);
    TRect Update;
    if (GetParam().ChildRepaints) {
        ASSERT_TRUE(WM().GetUpdateRect(Child, &Update));
        EXPECT_EQ(Update, TRect(0, 0, 5, 5));
    } else {
        EXPECT_FALSE(WM().GetUpdateRect(Child, &Update));
    }
}

INSTANTIATE_TEST_SUITE_P(ClipStyles, InvalidatingTheParent,
                         testing::Values(TClipCase{0, true}, TClipCase{WS_CLIPCHILDREN, false}),
                         [](const testing::TestParamInfo<TClipCase>& I) {
                             return std::string(I.param.ParentStyle ? "ClipChildren"
                                                                    : "NoClipChildren");
                         });

TEST_F(WindowManagerTest, PaintClipsToSiblingsAboveOnlyWithClipSiblings)
{
    const HWND Top = Create("top", 0, {0, 0, 40, 20}, WS_VISIBLE);
    const HWND Low = Create("low", Top, {0, 0, 20, 20}, WS_VISIBLE | WS_CLIPSIBLINGS);
    Create("high", Top, {10, 0, 30, 20}, WS_VISIBLE);
    Drain();
    WM().InvalidateRect(Low, nullptr, false);
    const TPaintContext C = WM().BeginPaint(Low);
    WM().EndPaint(Low, C);
    EXPECT_EQ(C.ClipRegion, TRegion(TRect(0, 0, 10, 20)));
    EXPECT_EQ(C.Origin, TPoint(0, 0));
}

TEST_F(WindowManagerTest, QueueOrderIsPostedThenPaintThenTimer)
{
    const HWND Top = Create("top", 0, {0, 0, 10, 10}, WS_VISIBLE);
    WM().SetTimer(Top, 1, 100);
    Port().AdvanceTime(100);
    WM().PostMessage(Top, WM_USER, 0, 0);
    Log.Lines.clear();
    for (int I = 0; I < 3; ++I) {
        TMsg M;
        ASSERT_EQ(WM().GetMessage(M, 0, 0, 0), 1);
        WM().DispatchMessage(M);
    }
    EXPECT_EQ(Log.Lines,
              (std::vector<std::string>{"top:user", "top:paint", "top:erase", "top:timer"}));
}

TEST_F(WindowManagerTest, TimersTickAtTheirIntervalWithoutPilingUp)
{
    const HWND Top = Create("top", 0, {0, 0, 10, 10});
    WM().SetTimer(Top, 7, 250);
    std::vector<std::uint64_t> Ticks;
    for (int I = 0; I < 4; ++I) {
        TMsg M;
        ASSERT_EQ(WM().GetMessage(M, 0, 0, 0), 1);
        ASSERT_EQ(M.Message, WM_TIMER);
        EXPECT_EQ(M.WParam, 7u);
        Ticks.push_back(Port().GetTickCount());
        if (I == 1)
            Port().AdvanceTime(1000); // a long handler
    }
    EXPECT_EQ(Ticks[0], 1250u);
    EXPECT_EQ(Ticks[1], 1500u);
    EXPECT_EQ(Ticks[2], 2500u); // one late tick, not four
    EXPECT_EQ(Ticks[3], 2750u);
    EXPECT_TRUE(WM().KillTimer(Top, 7));
    TMsg M;
    EXPECT_EQ(WM().GetMessage(M, 0, 0, 0), -1); // nothing can ever arrive on the headless port
}

TEST_F(WindowManagerTest, QuitInsideANestedLoopReachesTheOuterLoop)
{
    const HWND Top = Create("top", 0, {0, 0, 10, 10});
    int Nested = 0;
    WM().SetWindowProc(Top, std::make_shared<TWndProc>([&](HWND H, UINT Msg, WPARAM W, LPARAM L) {
                           if (Msg == WM_USER) {
                               ++Nested;
                               WM().PostQuitMessage(3);
                               TMsg M;
                               while (WM().GetMessage(M, 0, 0, 0) > 0)
                                   WM().DispatchMessage(M);
                               // Passed on, as a nested loop must.
                               EXPECT_EQ(M.Message, WM_QUIT);
                               WM().PostQuitMessage(int(M.WParam));
                               return 0;
                           }
                           return WM().DefWindowProc(H, Msg, W, L);
                       }));
    WM().PostMessage(Top, WM_USER, 0, 0);
    TMsg M;
    while (WM().GetMessage(M, 0, 0, 0) > 0)
        WM().DispatchMessage(M);
    EXPECT_EQ(Nested, 1);
    EXPECT_EQ(M.Message, WM_QUIT);
    EXPECT_EQ(M.WParam, 3u);
}

TEST_F(WindowManagerTest, MouseGoesToTheDeepestEnabledChildOrTheCapture)
{
    const HWND Top = Create("top", 0, {100, 100, 200, 150}, WS_VISIBLE);
    const HWND Child = Create("child", Top, {10, 10, 40, 30}, WS_VISIBLE);
    const HWND Off = Create("off", Top, {50, 10, 60, 20}, WS_VISIBLE | WS_DISABLED);
    (void)Off;
    Drain();
    Log.Lines.clear();

    struct TStep
    {
        UINT Msg;
        TPoint Client;
        const char* Expected; // the line logged, or "" for none
        TPoint Received;
    } const Steps[] = {
        {WM_LBUTTONDOWN, {15, 12}, "child:lbuttondown", {5, 2}},
        {WM_LBUTTONUP, {5, 5}, "top:lbuttonup", {5, 5}},
        {WM_LBUTTONDOWN, {55, 15}, "", {}}, // disabled: nobody
    };
    for (const TStep& S : Steps) {
        TPoint Got{-1, -1};
        HWND GotWnd = 0;
        WM().HandleMouse(Top, S.Msg, 0, S.Client);
        TMsg M;
        if (WM().PeekMessage(M, 0, 0, 0, PM_REMOVE)) {
            Got = {GetXLParam(M.LParam), GetYLParam(M.LParam)};
            GotWnd = M.Hwnd;
            WM().DispatchMessage(M);
        }
        if (*S.Expected) {
            ASSERT_FALSE(Log.Lines.empty());
            EXPECT_EQ(Log.Lines.back(), S.Expected);
            EXPECT_EQ(Got, S.Received);
        } else {
            EXPECT_EQ(GotWnd, 0u);
        }
        Log.Lines.clear();
    }

    // With the capture, everything goes to the capturing window in its own coordinates.
    WM().SetCapture(Child);
    WM().HandleMouse(Top, WM_MOUSEMOVE, 0, {0, 0});
    TMsg M;
    ASSERT_TRUE(WM().PeekMessage(M, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(M.Hwnd, Child);
    EXPECT_EQ(GetXLParam(M.LParam), -10);
    EXPECT_EQ(GetYLParam(M.LParam), -10);
    WM().ReleaseCapture();
    EXPECT_EQ(WM().GetCapture(), 0u);
}

// As in Win32, a window's position stops at the ends of -32768..32767 and its size at 0..32767,
// so that WM_MOVE and WM_SIZE carry what the window really has.
TEST_F(WindowManagerTest, PositionsAndSizesStopAtTheEndsOfTheSixteenBitRange)
{
    TPoint Moved;
    TCreateWindowParams P;
    P.Bounds = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    P.WndProc = std::make_shared<TWndProc>([&](HWND H, UINT M, WPARAM W, LPARAM L) {
        if (M == WM_MOVE)
            Moved = {GetXLParam(L), GetYLParam(L)};
        return WM().DefWindowProc(H, M, W, L);
    });
    const HWND Top = Create("top", 0, {0, 0, 10, 10});
    P.Parent = Top;
    P.Style = WS_CHILD;
    const HWND Child = WM().CreateWindowEx(P);
    EXPECT_EQ(WM().GetWindowRect(Child), TRect::FromSize(-32768, -32768, 32767, 32767));

    WM().SetWindowPos(Child, 0, INT_MAX, -40000, INT_MIN, 70000, SWP_NOZORDER);
    EXPECT_EQ(WM().GetWindowRect(Child), TRect::FromSize(32767, -32768, 0, 32767));
    EXPECT_EQ(Moved, TPoint(32767, -32768));
    WM().SetWindowPos(Top, 0, -32769, 32768, 20, 20, SWP_NOZORDER);
    EXPECT_EQ(WM().GetWindowRect(Top), TRect::FromSize(-32768, 32767, 20, 20));
    EXPECT_EQ(Port().GetWindows().back()->GetBounds(), TRect::FromSize(-32768, 32767, 20, 20));
}

TEST_F(WindowManagerTest, AHiddenWindowKeepsNoPixelsAndIsPaintedWholeWhenShown)
{
    const HWND Top = Create("top", 0, {0, 0, 40, 30});
    const auto BufferSize = [&] {
        const TBitmap* B = WM().GetBackBuffer(Top);
        return B ? TPoint(B->GetWidth(), B->GetHeight()) : TPoint(-1, -1);
    };
    EXPECT_EQ(BufferSize(), TPoint(0, 0));
    WM().SetWindowPos(Top, 0, 0, 0, 50, 35, SWP_NOZORDER);
    EXPECT_EQ(BufferSize(), TPoint(0, 0));
    for (int Round = 0; Round < 2; ++Round) {
        WM().ShowWindow(Top, SW_SHOW);
        EXPECT_EQ(BufferSize(), TPoint(50, 35));
        Log.Lines.clear();
        Drain();
        EXPECT_EQ(Log.Lines, (std::vector<std::string>{"top:paint", "top:erase"}));
        WM().ShowWindow(Top, SW_HIDE);
        EXPECT_EQ(BufferSize(), TPoint(0, 0));
    }
}

TEST_F(WindowManagerTest, PendingMovesCoalesceToTheNewest)
{
    const HWND Top = Create("top", 0, {0, 0, 100, 100}, WS_VISIBLE);
    Drain();
    for (int X = 0; X < 5; ++X)
        WM().HandleMouse(Top, WM_MOUSEMOVE, 0, {X, 1});
    TMsg M;
    ASSERT_TRUE(WM().PeekMessage(M, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetXLParam(M.LParam), 4);
    EXPECT_FALSE(WM().PeekMessage(M, 0, 0, 0, PM_REMOVE));
}

TEST_F(WindowManagerTest, AShapedWindowIgnoresPressesOutsideItsOutline)
{
    const HWND Top = Create("top", 0, {0, 0, 100, 100}, WS_VISIBLE);
    Drain();
    WM().SetWindowRgn(Top, TRegion(TRect(10, 10, 20, 20)), false);
    TMsg M;
    WM().HandleMouse(Top, WM_LBUTTONDOWN, ssLeft, {5, 5});
    EXPECT_FALSE(WM().PeekMessage(M, 0, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
    WM().HandleMouse(Top, WM_LBUTTONDOWN, ssLeft, {15, 15});
    ASSERT_TRUE(WM().PeekMessage(M, 0, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(M.WParam & MK_LBUTTON, MK_LBUTTON);
}

TEST_F(WindowManagerTest, AReplacedProcedureCanCallTheOneBefore)
{
    const HWND Top = Create("top", 0, {0, 0, 10, 10});
    TWndProcRef Previous;
    auto Hook = std::make_shared<TWndProc>([&](HWND H, UINT Msg, WPARAM W, LPARAM L) {
        Log.Lines.push_back("hook");
        return TWindowManager::CallWindowProc(Previous, H, Msg, W, L);
    });
    Previous = WM().SetWindowProc(Top, Hook);
    WM().SendMessage(Top, WM_USER, 0, 0);
    EXPECT_EQ(Log.Lines.back(), "top:user");
    EXPECT_EQ(Log.Lines[Log.Lines.size() - 2], "hook");
    EXPECT_EQ(WM().SetWindowProc(Top, Previous), Hook);
}

TEST_F(WindowManagerTest, KeysGoToTheFocusAndTranslateIntoCharacters)
{
    const HWND Top = Create("top", 0, {0, 0, 100, 100}, WS_VISIBLE);
    const HWND Edit = Create("edit", Top, {0, 0, 10, 10}, WS_VISIBLE);
    Drain();
    WM().SetFocus(Edit);
    Log.Lines.clear();
    WM().HandleKey(Top, WM_KEYDOWN, 'A', 0);
    WM().HandleChar(Top, U'a');
    Drain();
    EXPECT_EQ(Log.Lines, (std::vector<std::string>{"edit:keydown", "edit:char"}));
}

TEST_F(WindowManagerTest, KeysTypedAheadFollowTheFocusThatEarlierKeysMove)
{
    const HWND Top = Create("top", 0, {0, 0, 100, 100}, WS_VISIBLE);
    const HWND First = Create("first", Top, {0, 0, 10, 10}, WS_VISIBLE);
    const HWND Second = Create("second", Top, {20, 0, 30, 10}, WS_VISIBLE);
    // Tab moves the focus to the second window, as a dialog does.
    WM().SetWindowProc(First, std::make_shared<TWndProc>([&](HWND H, UINT M, WPARAM W, LPARAM L) {
                           Log.Add("first", M);
                           if (M == WM_KEYDOWN && W == VK_TAB)
                               WM().SetFocus(Second);
                           return WM().DefWindowProc(H, M, W, L);
                       }));
    Drain();
    WM().SetFocus(First);
    Log.Lines.clear();
    // Both keys are typed before either is handled.
    WM().HandleKey(Top, WM_KEYDOWN, VK_TAB, 0);
    WM().HandleKey(Top, WM_KEYDOWN, VK_SPACE, 0);
    WM().HandleChar(Top, U' ');
    // A message posted to a window stays with it.
    WM().PostMessage(First, WM_KEYUP, VK_SPACE, 0);
    Drain();
    EXPECT_EQ(Log.Lines,
              (std::vector<std::string>{"first:keydown", "first:killfocus", "second:setfocus",
                                        "second:keydown", "second:char", "first:keyup"}));
}

TEST_F(WindowManagerTest, RightButtonUpAsksForAContextMenuUpTheParentChain)
{
    const HWND Top = Create("top", 0, {100, 100, 200, 200}, WS_VISIBLE);
    Create("child", Top, {0, 0, 50, 50}, WS_VISIBLE);
    Drain();
    Log.Lines.clear();
    WM().HandleMouse(Top, WM_RBUTTONUP, 0, {3, 4});
    Drain();
    EXPECT_EQ(Log.Lines, (std::vector<std::string>{"child:rbuttonup", "child:contextmenu",
                                                   "top:contextmenu"}));
}

} // namespace

namespace {

TEST_F(WindowManagerTest, AMessageOnlyWindowGetsTimersButIsNeverPainted)
{
    TCreateWindowParams P;
    P.MessageOnly = true;
    P.Style = WS_VISIBLE;
    P.WndProc = Logger("msg");
    const HWND H = WM().CreateWindowEx(P);
    ASSERT_NE(H, 0u);
    EXPECT_EQ(WM().GetPeer(H), nullptr);
    WM().InvalidateRect(H, nullptr, true);
    EXPECT_FALSE(WM().GetUpdateRect(H, nullptr));
    WM().SetTimer(H, 1, 50);
    TMsg M;
    ASSERT_EQ(WM().GetMessage(M, 0, 0, 0), 1);
    EXPECT_EQ(M.Message, WM_TIMER);
    EXPECT_EQ(M.Hwnd, H);
}

} // namespace
