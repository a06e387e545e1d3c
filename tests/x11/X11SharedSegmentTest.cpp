// The shared memory segment of large presents is given back once only small presents follow,
// and taken again by the next large one; the pixels arrive either way.
#include "platform/x11/X11Presenter.h"
#include "tests/x11/X11TestSupport.h"

namespace {

TEST_F(X11Test, AnIdleSharedSegmentIsGivenBackAtTheNextSmallPresent)
{
    TX11Presenter& Presenter = *X11Port().GetPresenter();
    if (!Presenter.IsSharedMemoryUsable())
        GTEST_SKIP() << "the server shares no memory with this process";
    constexpr int W = 200, H = 150;
    static_assert(W * H >= TX11Presenter::SharedMinimumPixels);
    auto Window = MakeWindow(TRect::FromSize(20, 20, W, H));
    ShowAndWait(*Window);
    PumpPending();
    std::vector<TPixel> Buffer(W * H, 0x336699);
    const TPixelView View{Buffer.data(), W, H, W};
    Presenter.SetSharedIdleMilliseconds(60000);

    Window->Present(View, {0, 0, W, H}, {0, 0, W, H});
    EXPECT_TRUE(Presenter.HoldsSegment());
    Buffer[0] = 0xFFFFFF; // a change of one pixel goes as a small present
    Window->Present(View, {0, 0, W, H}, {0, 0, W, H});
    EXPECT_TRUE(Presenter.HoldsSegment()) << "given back before it was idle";

    Presenter.SetSharedIdleMilliseconds(0);
    Buffer[1] = 0xFFFFFF;
    Window->Present(View, {0, 0, W, H}, {0, 0, W, H});
    EXPECT_FALSE(Presenter.HoldsSegment());
    EXPECT_EQ(ReadPixels(Window->GetXWindow(), {0, 0, W, H}), Buffer);

    for (TPixel& P : Buffer)
        P ^= 0x0F0F0F;
    const int SharedBefore = Presenter.GetCounts().Shared;
    Window->Present(View, {0, 0, W, H}, {0, 0, W, H});
    EXPECT_EQ(Presenter.GetCounts().Shared, SharedBefore + 1);
    EXPECT_EQ(ReadPixels(Window->GetXWindow(), {0, 0, W, H}), Buffer);
    Presenter.SetSharedIdleMilliseconds(2000);
}

} // namespace
