#include "tests/framework/stdctrls/PopupMenuFixture.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace PopupMenuTesting;

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

TEST_F(PopupMenuTest, AnErrorInAHandlerBehindTheMenuClosesItOnItsWayOut)
{
    WM().SetTimer(Form, 1, 100);
    ThrowOnTimer = true;
    EXPECT_THROW(Menu->Popup(150, 140), std::runtime_error);
    EXPECT_EQ(TPopupMenuTracker::GetActive(), nullptr);
    EXPECT_EQ(WM().GetCapture(), 0u);
    EXPECT_EQ(Port().GetWindows().size(), 1u); // the form's alone
    // The menu opens again as before.
    ThrowOnTimer = false;
    WM().KillTimer(Form, 1);
    During([&](TPopupMenuTracker& T) { Perform(T, LUp("Quit")); });
    Menu->Popup(150, 140);
    EXPECT_EQ(Log, (std::vector<std::string>{"click Quit1"}));
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
    ByName{});

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
                                         TEdgeCase{{640, 480}, {0, 0}, false, false}),
                         [](const testing::TestParamInfo<TEdgeCase>& I) {
                             const TEdgeCase& C = I.param;
                             return "Screen" + std::to_string(C.Screen.X) + "x" +
                                    std::to_string(C.Screen.Y) + "At" + std::to_string(C.At.X) +
                                    "_" + std::to_string(C.At.Y);
                         });

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
