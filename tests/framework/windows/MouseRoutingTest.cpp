// Mouse input waiting in the queue gets its window when it is taken out, as on Windows: a
// capture taken meanwhile receives it, and its point is measured from where the window is then.
// A drag loop that starts at the press relies on both when the user is quicker than the program.
#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct TReceived
{
    std::string Window;
    UINT Message;
    TPoint Point;
    bool operator==(const TReceived&) const = default;
};

class MouseRoutingTest : public HeadlessWindowsTest
{
protected:
    // A window that records its mouse messages; on its first left press it takes the capture
    // when TakeCapture says so, as a drag loop does.
    HWND Create(const std::string& Name, HWND Parent, TRect Bounds, bool TakeCapture = false)
    {
        TCreateWindowParams P;
        P.Parent = Parent;
        P.Bounds = Bounds;
        P.Style = WS_VISIBLE | (Parent ? WS_CHILD : 0);
        P.WndProc = std::make_shared<TWndProc>(
            [this, Name, TakeCapture](HWND H, UINT M, WPARAM W, LPARAM L) {
                if (M == WM_LBUTTONDOWN || M == WM_LBUTTONUP || M == WM_MOUSEMOVE)
                    Received.push_back({Name, M, {GetXLParam(L), GetYLParam(L)}});
                if (M == WM_LBUTTONDOWN && TakeCapture)
                    WM().SetCapture(H);
                return WM().DefWindowProc(H, M, W, L);
            });
        return WM().CreateWindowEx(P);
    }
    void Drain()
    {
        TMsg M;
        while (WM().PeekMessage(M, 0, 0, 0, PM_REMOVE))
            WM().DispatchMessage(M);
    }

    std::vector<TReceived> Received;
};

TEST_F(MouseRoutingTest, ACaptureTakenAtThePressGetsWhatCameBeforeIt)
{
    // A shaped window: outside its outline nobody would take the input without the capture.
    const HWND Top = Create("top", 0, {100, 100, 200, 160}, true);
    WM().SetWindowRgn(Top, TRegion(TRect(0, 0, 40, 40)), false);
    Drain();
    WM().HandleMouse(Top, WM_LBUTTONDOWN, ssLeft, {10, 10});
    WM().HandleMouse(Top, WM_MOUSEMOVE, ssLeft, {70, 50}); // beyond the outline
    WM().HandleMouse(Top, WM_LBUTTONUP, 0, {90, 55});
    Drain();
    const std::vector<TReceived> Expected{{"top", WM_LBUTTONDOWN, {10, 10}},
                                          {"top", WM_MOUSEMOVE, {70, 50}},
                                          {"top", WM_LBUTTONUP, {90, 55}}};
    EXPECT_EQ(Received, Expected);
}

TEST_F(MouseRoutingTest, WithoutACaptureTheWindowUnderThePointerThenTakesIt)
{
    const HWND Top = Create("top", 0, {100, 100, 200, 160});
    Create("child", Top, {50, 20, 90, 50});
    Drain();
    WM().HandleMouse(Top, WM_LBUTTONDOWN, ssLeft, {10, 10});
    WM().HandleMouse(Top, WM_MOUSEMOVE, ssLeft, {60, 30});
    Drain();
    const std::vector<TReceived> Expected{{"top", WM_LBUTTONDOWN, {10, 10}},
                                          {"child", WM_MOUSEMOVE, {10, 10}}};
    EXPECT_EQ(Received, Expected);
}

TEST_F(MouseRoutingTest, APointIsMeasuredFromWhereTheWindowIsWhenItIsTakenOut)
{
    const HWND Top = Create("top", 0, {100, 100, 200, 160});
    Drain();
    WM().HandleMouse(Top, WM_MOUSEMOVE, 0, {30, 20}); // the screen point (130, 120)
    // The window follows the pointer before the movement is read, as a drag does.
    WM().SetWindowPos(Top, 0, 110, 105, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Drain();
    const std::vector<TReceived> Expected{{"top", WM_MOUSEMOVE, {20, 15}}};
    EXPECT_EQ(Received, Expected);
}

} // namespace
