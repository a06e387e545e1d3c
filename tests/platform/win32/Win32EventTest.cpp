// The window procedure of the Windows port: the system's messages, posted to a real HWND under
// Wine, arrive as the events of TPlatformWindowEvents. Also capture, cursor, focus and the wait.
#include "platform/win32/Win32Platform.h"
#include "tests/platform/win32/Win32TestWindow.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <thread>
#include <tuple>
#include <windows.h>

namespace {

using TLines = std::vector<std::string>;

struct TPosted
{
    UINT Msg;
    WPARAM W;
    LPARAM L;
};

LPARAM At(int X, int Y)
{
    return static_cast<LPARAM>(static_cast<std::uint16_t>(X) |
                               (static_cast<std::uint32_t>(static_cast<std::uint16_t>(Y)) << 16));
}

constexpr LPARAM AltContext = LPARAM(1) << 29; // the Alt key was down
constexpr LPARAM ScanA = (LPARAM(0x1E) << 16) | 1;

struct TMessageCase
{
    const char* Name;
    std::vector<TPosted> Messages;
    TLines Expected;
};

class Win32MessageTest : public testing::TestWithParam<TMessageCase>
{};

TEST_P(Win32MessageTest, ArrivesAsEvents)
{
    TTestWindow W(BorderlessParams({60, 60, 260, 200}));
    const HWND Wnd = static_cast<HWND>(W.Handle);
    ASSERT_NE(Wnd, nullptr);
    PumpEvents();
    W.Events.Log.clear();
    for (const TPosted& M : GetParam().Messages)
        ASSERT_TRUE(PostMessageW(Wnd, M.Msg, M.W, M.L));
    PumpEvents();
    EXPECT_EQ(W.Events.Log, GetParam().Expected);
    EXPECT_TRUE(IsWindow(Wnd)) << "a close request leaves the closing to the framework";
}

INSTANTIATE_TEST_SUITE_P(
    Translation, Win32MessageTest,
    testing::Values(
        TMessageCase{"LeftPressAndRelease",
                     {{WM_LBUTTONDOWN, MK_LBUTTON, At(10, 20)}, {WM_LBUTTONUP, 0, At(11, 21)}},
                     {"down L Left 10,20", "up L - 11,21"}},
        TMessageCase{
            "RightWithShift",
            {{WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, At(3, 4)}, {WM_RBUTTONUP, MK_SHIFT, At(3, 4)}},
            {"down R Shift+Right 3,4", "up R Shift 3,4"}},
        TMessageCase{"MiddleWithControl",
                     {{WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, At(0, 0)},
                      {WM_MBUTTONUP, MK_CONTROL, At(0, 0)}},
                     {"down M Ctrl+Middle 0,0", "up M Ctrl 0,0"}},
        TMessageCase{"DoubleClicks",
                     {{WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 6)},
                      {WM_RBUTTONDBLCLK, MK_RBUTTON, At(5, 6)},
                      {WM_MBUTTONDBLCLK, MK_MBUTTON, At(5, 6)}},
                     {"dblclick L Left 5,6", "dblclick R Right 5,6", "dblclick M Middle 5,6"}},
        TMessageCase{"MovesOutsideTheClientAreaAreSigned",
                     {{WM_MOUSEMOVE, MK_LBUTTON, At(-5, -7)}, {WM_MOUSEMOVE, 0, At(1500, 32000)}},
                     {"move Left -5,-7", "move - 1500,32000"}},
        TMessageCase{"KeyWithoutCharacter",
                     {{WM_KEYDOWN, VK_LEFT, 1}, {WM_KEYUP, VK_LEFT, 1}},
                     {"keydown 37 -", "keyup 37 -"}},
        TMessageCase{"KeyIsTranslatedIntoItsCharacter",
                     {{WM_KEYDOWN, 'A', ScanA}},
                     {"keydown 65 -", "char 97"}},
        TMessageCase{"AltKeys",
                     {{WM_SYSKEYDOWN, VK_F5, AltContext | 1}, {WM_SYSKEYUP, VK_F5, AltContext | 1}},
                     {"keydown 116 Alt", "keyup 116 Alt"}},
        TMessageCase{"F10IsASystemKeyWithoutAlt", {{WM_SYSKEYDOWN, VK_F10, 1}}, {"keydown 121 -"}},
        TMessageCase{"AltF4AsksToClose",
                     {{WM_SYSKEYDOWN, VK_F4, AltContext | 1}},
                     {"keydown 115 Alt", "close"}},
        TMessageCase{"Characters",
                     {{WM_CHAR, 'a', 1}, {WM_SYSCHAR, 'x', AltContext | 1}, {WM_CHAR, 0xFC, 1}},
                     {"char 97", "char 120", "char 252"}},
        TMessageCase{"SurrogatePairsMakeOneCharacter",
                     {{WM_CHAR, 0xD83D, 1}, {WM_CHAR, 0xDE00, 1}},
                     {"char 128512"}},
        TMessageCase{"LoneLowSurrogate", {{WM_CHAR, 0xDE00, 1}}, {"char 65533"}},
        TMessageCase{"HighSurrogateWithoutPartner",
                     {{WM_CHAR, 0xD83D, 1}, {WM_CHAR, 'b', 1}},
                     {"char 65533", "char 98"}},
        TMessageCase{"TwoHighSurrogates",
                     {{WM_CHAR, 0xD83D, 1}, {WM_CHAR, 0xD83D, 1}, {WM_CHAR, 0xDE00, 1}},
                     {"char 65533", "char 128512"}},
        TMessageCase{"WholeCharacters", {{WM_UNICHAR, 0x1F600, 1}}, {"char 128512"}},
        TMessageCase{"CloseRequest", {{WM_CLOSE, 0, 0}}, {"close"}}),
    ByName{});

TEST(Win32Message, TakesWholeCharacters)
{
    TTestWindow W(BorderlessParams({60, 60, 100, 100}));
    EXPECT_EQ(SendMessageW(static_cast<HWND>(W.Handle), WM_UNICHAR, UNICODE_NOCHAR, 0), TRUE);
    EXPECT_TRUE(W.Events.Log.empty());
}

// ---- Moves ----------------------------------------------------------------------------------

class Win32MoveTest : public testing::TestWithParam<TWindowFrame>
{};

TEST_P(Win32MoveTest, ReportsTheOuterBoundsOncePerChange)
{
    TPlatformWindowParams P = BorderlessParams({60, 60, 260, 200});
    P.Frame = GetParam();
    TTestWindow W(P);
    const HWND Wnd = static_cast<HWND>(W.Handle);
    ASSERT_NE(Wnd, nullptr);
    EXPECT_TRUE(W.Events.Only("moved").empty()) << "creation is no move";

    SetWindowPos(Wnd, nullptr, 30, 40, 220, 190, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(W.Events.Only("moved"), TLines{"moved 30,40,250,230"});
    MoveWindow(Wnd, 30, 40, 220, 190, TRUE);
    W.Window->SetBounds({30, 40, 250, 230});
    EXPECT_EQ(W.Events.Only("moved").size(), 1u) << "no news, no event";
    MoveWindow(Wnd, 31, 40, 220, 190, TRUE);
    MoveWindow(Wnd, 31, 40, 221, 190, TRUE);
    W.Window->SetBounds({0, 0, 300, 200});
    EXPECT_EQ(W.Events.Only("moved"), (TLines{"moved 30,40,250,230", "moved 31,40,251,230",
                                              "moved 31,40,252,230", "moved 0,0,300,200"}));
}

INSTANTIATE_TEST_SUITE_P(Frames, Win32MoveTest,
                         testing::Values(TWindowFrame::None, TWindowFrame::Dialog),
                         [](const testing::TestParamInfo<TWindowFrame>& I) {
                             return std::string(I.param == TWindowFrame::None ? "Borderless"
                                                                              : "Dialog");
                         });

// ---- Capture --------------------------------------------------------------------------------

class Win32CaptureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(Wnd, nullptr);
        ASSERT_NE(OtherWnd, nullptr);
    }
    void TearDown() override { ReleaseCapture(); }

    TTestWindow W{BorderlessParams({60, 60, 100, 100})};
    TTestWindow Other{BorderlessParams({160, 60, 200, 100})};
    HWND Wnd = static_cast<HWND>(W.Handle);
    HWND OtherWnd = static_cast<HWND>(Other.Handle);
};

TEST_F(Win32CaptureTest, TakingAndReleasingIsNoLoss)
{
    W.Window->SetCapture(true);
    EXPECT_EQ(GetCapture(), Wnd);
    W.Window->SetCapture(true);
    EXPECT_EQ(GetCapture(), Wnd);
    W.Window->SetCapture(false);
    EXPECT_EQ(GetCapture(), nullptr);
    W.Window->SetCapture(false);
    EXPECT_TRUE(W.Events.Only("capturelost").empty());
}

TEST_F(Win32CaptureTest, AnotherWindowTakingItIsALoss)
{
    W.Window->SetCapture(true);
    SetCapture(OtherWnd);
    EXPECT_EQ(W.Events.Only("capturelost").size(), 1u);
    // Releasing what is no longer ours neither tells again nor takes it from the other window.
    W.Window->SetCapture(false);
    EXPECT_EQ(GetCapture(), OtherWnd);
    ReleaseCapture();
    EXPECT_EQ(W.Events.Only("capturelost").size(), 1u);
    EXPECT_TRUE(Other.Events.Only("capturelost").empty()) << "it was never the port's";
}

TEST_F(Win32CaptureTest, SomeoneElseReleasingItIsALoss)
{
    Other.Window->SetCapture(true);
    ReleaseCapture();
    EXPECT_EQ(Other.Events.Only("capturelost").size(), 1u);
    EXPECT_TRUE(W.Events.Only("capturelost").empty());
}

TEST_F(Win32CaptureTest, PassingItBetweenPeersTellsTheOneThatLostIt)
{
    W.Window->SetCapture(true);
    Other.Window->SetCapture(true);
    EXPECT_EQ(GetCapture(), OtherWnd);
    EXPECT_EQ(W.Events.Only("capturelost").size(), 1u);
    Other.Window->SetCapture(false);
    EXPECT_TRUE(Other.Events.Only("capturelost").empty());
}

// ---- Cursor ---------------------------------------------------------------------------------

TEST(Win32Cursor, TheClientAreaShowsTheShapeSet)
{
    TTestWindow W(BorderlessParams({60, 60, 100, 100}));
    const HWND Wnd = static_cast<HWND>(W.Handle);
    const std::tuple<TCursorShape, LPCSTR> Shapes[] = {
        {TCursorShape::Hand, IDC_HAND},   {TCursorShape::IBeam, IDC_IBEAM},
        {TCursorShape::Wait, IDC_WAIT},   {TCursorShape::SizeAll, IDC_SIZEALL},
        {TCursorShape::Arrow, IDC_ARROW},
    };
    for (const auto& [Shape, Resource] : Shapes) {
        SCOPED_TRACE(static_cast<int>(Shape));
        W.Window->SetCursor(Shape);
        SetCursor(nullptr);
        EXPECT_EQ(SendMessageW(Wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(Wnd),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  TRUE);
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, Resource));
    }
}

// ---- Focus and activation -------------------------------------------------------------------

TEST(Win32Focus, ShowingActivatesAndPopupsNever)
{
    TTestWindow Form(BorderlessParams({60, 60, 160, 160}));
    TPlatformWindowParams MenuParams = BorderlessParams({80, 80, 140, 200});
    MenuParams.Popup = true;
    TTestWindow Menu(MenuParams);
    const HWND FormWnd = static_cast<HWND>(Form.Handle);
    const HWND MenuWnd = static_cast<HWND>(Menu.Handle);

    Form.Window->Show(true);
    PumpEvents();
    EXPECT_EQ(GetActiveWindow(), FormWnd);
    EXPECT_EQ(GetFocus(), FormWnd);
    EXPECT_EQ(Form.Events.Only("focus"), TLines{"focus 1"});

    Menu.Window->Show(true);
    Menu.Window->Activate();
    PumpEvents();
    EXPECT_TRUE(IsWindowVisible(MenuWnd));
    EXPECT_EQ(GetActiveWindow(), FormWnd) << "a menu leaves the form active";
    EXPECT_EQ(SendMessageW(MenuWnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(MenuWnd),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    EXPECT_TRUE(Menu.Events.Only("focus").empty());

    Form.Window->Hide();
    PumpEvents();
    EXPECT_EQ(Form.Events.Only("focus"), (TLines{"focus 1", "focus 0"}));
}

// ---- Waiting and waking ---------------------------------------------------------------------

TEST(Win32Wait, TimesOutWithNothingToDo)
{
    PumpEvents();
    EXPECT_FALSE(Win32Port().WaitEvents(20));
    EXPECT_FALSE(Win32Port().WaitEvents(0));
}

TEST(Win32Wait, AWakeEndsAWaitWithoutEnd)
{
    PumpEvents();
    Win32Port().Wake();
    EXPECT_TRUE(Win32Port().WaitEvents(-1));
    EXPECT_FALSE(Win32Port().WaitEvents(0)) << "one wake ends one wait";
}

TEST(Win32Wait, AWakeFromAnotherThreadEndsTheWait)
{
    PumpEvents();
    std::thread Waker([] {
        Sleep(30);
        Win32Port().Wake();
    });
    // Without the wake this would return false after ten seconds.
    EXPECT_TRUE(Win32Port().WaitEvents(10000));
    Waker.join();
}

TEST(Win32Wait, DeliversWhatIsPostedInOrder)
{
    TTestWindow W(BorderlessParams({60, 60, 100, 100}));
    const HWND Wnd = static_cast<HWND>(W.Handle);
    PumpEvents();
    W.Events.Log.clear();
    PostMessageW(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(1, 2));
    EXPECT_TRUE(Win32Port().WaitEvents(-1));
    EXPECT_EQ(W.Events.Log, TLines{"down L Left 1,2"});

    // A flood arrives whole, over as many waits as it takes.
    TLines Expected;
    for (int I = 0; I < 300; ++I) {
        PostMessageW(Wnd, WM_MOUSEMOVE, 0, At(I, 3));
        Expected.push_back("move - " + std::to_string(I) + ",3");
    }
    W.Events.Log.clear();
    for (int Waits = 0; Waits < 50 && W.Events.Log.size() < Expected.size(); ++Waits)
        Win32Port().WaitEvents(0);
    EXPECT_EQ(W.Events.Log, Expected);
}

} // namespace
