// The X11 port's screen and its waiting: XOR frames on the root window, the screen's size, the
// event wait with its timeout and its wake-up, and X errors that must not end the program.
#include "platform/posix/PosixProcess.h"
#include "platform/x11/X11Display.h"
#include "tests/x11/X11TestSupport.h"

#include <thread>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

#include <X11/extensions/XTest.h>

namespace {

TEST_F(X11Test, TheScreenIsTheServersRootWindow)
{
    XWindowAttributes Root{};
    ASSERT_TRUE(XGetWindowAttributes(Observer, DefaultRootWindow(Observer), &Root));
    EXPECT_EQ(X11Port().GetScreenSize(), TPoint(Root.width, Root.height));
    // Depth 24 is stored in 32-bit pixels: Windows calls that 32 bits per pixel.
    if (Root.depth == 24) {
        EXPECT_EQ(X11Port().GetScreenBitsPerPixel(), 32);
    }
    EXPECT_TRUE(X11Port().GetFullWindowDrag());
}

struct TFrameCase
{
    const char* Label;
    TRect Rect;
    int Thickness;
};

class X11ScreenFrameTest : public X11Test, public testing::WithParamInterface<TFrameCase>
{};

TEST_P(X11ScreenFrameTest, InvertsTheFrameOnceAndRestoresItTheSecondTime)
{
    const TFrameCase& C = GetParam();
    // Something to draw over besides the root's own pattern: a window of known pixels.
    auto Window = MakeWindow(TRect::FromSize(60, 60, 120, 100));
    ShowAndWait(*Window);
    std::vector<TPixel> Buffer(120 * 100);
    for (std::size_t I = 0; I < Buffer.size(); ++I)
        Buffer[I] = static_cast<TPixel>(I * 2654435761u) & 0xFFFFFF;
    Window->Present({Buffer.data(), 120, 100, 120}, {0, 0, 120, 100}, {0, 0, 120, 100});

    const TRect Area{40, 40, 240, 220};
    const unsigned long Root = DefaultRootWindow(Observer);
    const std::vector<TPixel> Before = ReadPixels(Root, Area);
    X11Port().DrawScreenFrame(C.Rect, C.Thickness);
    const std::vector<TPixel> Drawn = ReadPixels(Root, Area);
    X11Port().DrawScreenFrame(C.Rect, C.Thickness);
    const std::vector<TPixel> Erased = ReadPixels(Root, Area);

    const TRect Inner{C.Rect.Left + C.Thickness, C.Rect.Top + C.Thickness,
                      C.Rect.Right - C.Thickness, C.Rect.Bottom - C.Thickness};
    int Wrong = 0;
    for (int Y = Area.Top; Y < Area.Bottom; ++Y)
        for (int X = Area.Left; X < Area.Right; ++X) {
            const std::size_t I =
                static_cast<std::size_t>((Y - Area.Top) * Area.Width() + (X - Area.Left));
            const bool InFrame = C.Rect.Contains({X, Y}) && !Inner.Contains({X, Y});
            const TPixel Want = InFrame ? (Before[I] ^ 0xFFFFFF) : Before[I];
            if (Drawn[I] != Want && Wrong++ < 5)
                ADD_FAILURE() << "(" << X << ", " << Y << ") " << std::hex << Drawn[I]
                              << " instead of " << Want;
        }
    EXPECT_EQ(Wrong, 0);
    EXPECT_EQ(Erased, Before);
}

INSTANTIATE_TEST_SUITE_P(Frames, X11ScreenFrameTest,
                         testing::Values(TFrameCase{"OverTheWindowEdge", {50, 70, 150, 130}, 3},
                                         TFrameCase{"OnePixel", {100, 100, 140, 120}, 1},
                                         TFrameCase{"ThickerThanHalf", {90, 90, 100, 96}, 4},
                                         TFrameCase{"Solid", {120, 130, 125, 133}, 10}),
                         [](const testing::TestParamInfo<TFrameCase>& Info) {
                             return std::string(Info.param.Label);
                         });

TEST_F(X11Test, WaitingWithNothingToComeRunsOutTheTime)
{
    PumpPending();
    const std::uint64_t Start = GetMonotonicMilliseconds();
    EXPECT_FALSE(X11Port().WaitEvents(80));
    EXPECT_GE(GetMonotonicMilliseconds() - Start, 80u);
    EXPECT_FALSE(X11Port().WaitEvents(0));
}

TEST_F(X11Test, WakeEndsAWait)
{
    X11Port().Wake();
    EXPECT_TRUE(X11Port().WaitEvents(60000));
    // Once woken is once: the next wait waits again.
    EXPECT_FALSE(X11Port().WaitEvents(10));

    // From another thread, while the wait is on (without end: a wake that failed would hang
    // here, which the test's time limit reports).
    std::thread Waker([] {
        SleepMilliseconds(50);
        X11Port().Wake();
    });
    EXPECT_TRUE(X11Port().WaitEvents(-1));
    Waker.join();
}

TEST_F(X11Test, AnEventEndsAWait)
{
    auto Window = MakeWindow(TRect::FromSize(10, 10, 50, 50));
    ShowAndWait(*Window);
    PumpPending();
    Recorder.Events.clear();
    std::thread Mover([this] {
        SleepMilliseconds(50);
        // Its own connection: Xlib connections belong to one thread each.
        _XDisplay* Other = XOpenDisplay(DisplayString(Observer));
        XTestFakeMotionEvent(Other, -1, 20, 20, 0);
        XCloseDisplay(Other);
    });
    EXPECT_TRUE(X11Port().WaitEvents(-1));
    Mover.join();
    EXPECT_TRUE(Recorder.Has(TRecordedEvent::MouseMove));
}

TEST_F(X11Test, XErrorsAreNotFatal)
{
    auto Window = MakeWindow(TRect::FromSize(10, 10, 50, 50));
    ShowAndWait(*Window);
    // Another client destroys our window under us: every later request about it fails.
    XDestroyWindow(Observer, Window->GetXWindow());
    XSync(Observer, False);
    const int Before = TX11Display::GetErrorCount();
    std::vector<TPixel> Buffer(50 * 50, 0x123456);
    Window->Present({Buffer.data(), 50, 50, 50}, {0, 0, 50, 50}, {0, 0, 50, 50});
    Window->SetTitle("gone");
    Window->SetShape(std::vector<TRect>{{0, 0, 5, 5}});
    Window->SetBounds(TRect::FromSize(20, 20, 60, 60));
    XSync(X11Port().GetDisplay()->Get(), False);
    PumpPending();
    EXPECT_GT(TX11Display::GetErrorCount(), Before);
    Window.reset();

    // And the port goes on as before.
    auto Next = MakeWindow(TRect::FromSize(10, 10, 50, 50));
    ShowAndWait(*Next);
    Next->Present({Buffer.data(), 50, 50, 50}, {0, 0, 50, 50}, {0, 0, 50, 50});
    EXPECT_EQ(ReadPixels(Next->GetXWindow(), {20, 20, 21, 21}), std::vector<TPixel>{0x123456});
}

} // namespace
