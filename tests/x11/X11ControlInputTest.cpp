// A click on a control of a form of this process, made on the real server with XTest while a
// modifier key is held: the control's mouse events say which, Alt included.
#include "framework/windows/WindowManager.h"
#include "tests/support/CaseName.h"
#include "tests/support/ModifierProbe.h"
#include "tests/x11/X11TestSupport.h"

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

struct THeldKeyCase
{
    const char* Name;
    unsigned long Keysym; // 0: nothing held
    TShiftState Shift;
};

class X11ControlInputTest : public X11AppTest, public testing::WithParamInterface<THeldKeyCase>
{};

TEST_P(X11ControlInputTest, APressReachesOnMouseDownWithTheKeyHeld)
{
    const THeldKeyCase& C = GetParam();
    TModifierProbe Probe(*App, {200, 150});
    Probe.Form->Show();
    auto* Peer = static_cast<TX11Window*>(TWindowManager::Get().GetPeer(Probe.Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(DispatchUntil([&] { return Peer->IsMapped(); }));

    if (C.Keysym)
        Key(C.Keysym, true);
    MovePointer(Probe.OnScreen({15, 10}));
    PointerButton(1, true);
    PointerButton(1, false);
    if (C.Keysym)
        Key(C.Keysym, false);
    EXPECT_TRUE(DispatchUntil([&] { return Probe.Seen.size() >= 2; }));
    EXPECT_EQ(Probe.Seen, TModifierProbe::Click(C.Shift, {15, 10}));
}

INSTANTIATE_TEST_SUITE_P(Held, X11ControlInputTest,
                         testing::Values(THeldKeyCase{"Nothing", 0, 0},
                                         THeldKeyCase{"Shift", XK_Shift_L, ssShift},
                                         THeldKeyCase{"Ctrl", XK_Control_L, ssCtrl},
                                         THeldKeyCase{"Alt", XK_Alt_L, ssAlt}),
                         ByName{});

} // namespace
