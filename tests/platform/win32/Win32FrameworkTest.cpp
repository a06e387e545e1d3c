// The framework's window manager on the Windows port: top-level windows get the right kind of
// native window, native input comes out of GetMessage, and painted pixels reach the screen.
#include "framework/windows/WindowManager.h"
#include "tests/platform/win32/NativeProbe.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t WatchdogTimer = 77;

class Win32FrameworkTest : public testing::Test
{
protected:
    void SetUp() override { TWindowManager::Reset(); }
    void TearDown() override { TWindowManager::Reset(); }

    static TWindowManager& WM() { return TWindowManager::Get(); }

    HWND Create(std::uint32_t Style, std::uint32_t ExStyle, const TRect& Bounds)
    {
        TCreateWindowParams P;
        P.Style = Style;
        P.ExStyle = ExStyle;
        P.Bounds = Bounds;
        P.WndProc = std::make_shared<TWndProc>([this](HWND H, UINT M, WPARAM W, LPARAM L) {
            Seen.push_back({H, M, W, L, 0, 0});
            if (M == WM_PAINT && Paint)
                return Paint(H);
            return WM().DefWindowProc(H, M, W, L);
        });
        return WM().CreateWindowEx(P);
    }

    void* Native(HWND Wnd)
    {
        TPlatformWindow* Peer = WM().GetPeer(Wnd);
        return Peer ? NativeHandle(*Peer) : nullptr;
    }

    // Runs the framework's loop until a message of the kind arrives, or the watchdog fires.
    bool RunUntil(HWND Wnd, UINT Wanted)
    {
        WM().SetTimer(Wnd, WatchdogTimer, 3000);
        TMsg M;
        while (WM().GetMessage(M, 0, 0, 0) > 0) {
            WM().TranslateMessage(M);
            WM().DispatchMessage(M);
            if (M.Message == Wanted)
                return true;
            if (M.Message == WM_TIMER && M.WParam == WatchdogTimer)
                return false;
        }
        return false;
    }

    std::vector<TMsg> Seen;
    std::function<LRESULT(HWND)> Paint;
};

TEST_F(Win32FrameworkTest, BorderlessFormsAreOrdinaryWindowsAndMenusPopups)
{
    const HWND Form = Create(WS_POPUP, 0, {40, 40, 140, 100});
    const HWND Menu = Create(WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, {60, 60, 120, 160});
    ASSERT_NE(Native(Form), nullptr);
    ASSERT_NE(Native(Menu), nullptr);
    EXPECT_EQ(NativeExStyle(Native(Form)) & (NativeNoActivate | NativeToolWindow), 0u)
        << "the clock's own window must take the keyboard";
    const std::uint32_t MenuStyle = NativeNoActivate | NativeToolWindow | NativeTopmost;
    EXPECT_EQ(NativeExStyle(Native(Menu)) & MenuStyle, MenuStyle);
}

TEST_F(Win32FrameworkTest, NativeClicksComeOutOfGetMessage)
{
    const HWND Form = Create(WS_POPUP, 0, {40, 40, 140, 100});
    ASSERT_NE(Native(Form), nullptr);
    WM().ShowWindow(Form, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(NativeIsVisible(Native(Form)));
    PostNativeMessage(Native(Form), WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(12, 7));
    ASSERT_TRUE(RunUntil(Form, WM_LBUTTONDOWN));
    const TMsg& Click = Seen.back();
    EXPECT_EQ(Click.Hwnd, Form);
    EXPECT_EQ(GetXLParam(Click.LParam), 12);
    EXPECT_EQ(GetYLParam(Click.LParam), 7);
    EXPECT_EQ(Click.WParam & MK_LBUTTON, WPARAM(MK_LBUTTON));
}

TEST_F(Win32FrameworkTest, PaintedPixelsReachTheScreen)
{
    const TColor Teal = RGB(0x20, 0x90, 0xA0);
    const HWND Form = Create(WS_POPUP, 0, {40, 40, 80, 70});
    Paint = [&](HWND H) -> LRESULT {
        const TPaintContext C = WM().BeginPaint(H);
        for (int Y = 0; Y < C.Surface->GetHeight(); ++Y)
            for (int X = 0; X < C.Surface->GetWidth(); ++X)
                C.Surface->SetPixel(X, Y, X < 20 ? Teal : RGB(0, 0, 0));
        WM().EndPaint(H, C);
        return 0;
    };
    WM().ShowWindow(Form, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(RunUntil(Form, WM_PAINT));
    EXPECT_EQ(NativePixel(Native(Form), 3, 4), 0x2090A0u);
    EXPECT_EQ(NativePixel(Native(Form), 19, 29), 0x2090A0u);
    EXPECT_EQ(NativePixel(Native(Form), 20, 0), 0u);
}

} // namespace
