// Pointer events of a window that moves itself: as on Windows, their client points are measured
// from where the window is when they are delivered, not from where the server had it when the
// pointer moved. A window dragged along with the pointer depends on it.
#include "tests/x11/X11TestSupport.h"

namespace {

class X11MovingWindowTest : public X11Test
{
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (IsSkipped())
            return;
        Window = MakeWindow(TRect::FromSize(100, 120, 200, 150));
        ShowAndWait(*Window);
        PumpPending();
        Recorder.Events.clear();
    }
    void TearDown() override
    {
        Window.reset();
        X11Test::TearDown();
    }
    std::unique_ptr<TX11Window> Window;
};

TEST_F(X11MovingWindowTest, AMoveOnItsWayCountsForEventsStillToCome)
{
    MovePointer({150, 170});
    PointerButton(1, true);
    MovePointer({160, 175}); // the server reports it from (100, 120)...
    Window->SetBounds(TRect::FromSize(130, 100, 200, 150)); // ...but we moved before reading it
    PointerButton(1, false);
    ASSERT_TRUE(PumpUntil([&] { return Recorder.Has(TRecordedEvent::MouseUp); }));
    const auto Downs = Recorder.OfKind(TRecordedEvent::MouseDown);
    const auto Moves = Recorder.OfKind(TRecordedEvent::MouseMove);
    const auto Ups = Recorder.OfKind(TRecordedEvent::MouseUp);
    ASSERT_EQ(Downs.size(), 1u);
    ASSERT_FALSE(Moves.empty());
    EXPECT_EQ(Downs[0].Point, TPoint(20, 70));
    EXPECT_EQ(Moves.back().Point, TPoint(30, 75));
    EXPECT_EQ(Ups[0].Point, TPoint(30, 75));
}

} // namespace
