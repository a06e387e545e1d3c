// A click on a control of a form of this process, made with hardware input (SendInput) while a
// modifier key is held: the control's mouse events say which, Alt included, which Windows gives
// a mouse message only through the key state.
#include "framework/windows/WindowManager.h"
#include "platform/win32/Win32Window.h"
#include "tests/e2e/ClockDriver.h"
#include "tests/support/CaseName.h"
#include "tests/support/ModifierProbe.h"
#include "tests/wine/PointerInput.h"

#include <gtest/gtest.h>

namespace {

constexpr int InputTimeoutMs = 10000;

struct THeldKeyCase
{
    const char* Name;
    unsigned short VirtualKey; // 0: nothing held
    TShiftState Shift;
};

class WineControlInputTest : public testing::TestWithParam<THeldKeyCase>
{
protected:
    void SetUp() override
    {
        TWindowManager::Reset();
        App = std::make_unique<TApplication>(nullptr);
        App->Initialize();
    }
    void TearDown() override
    {
        ReleaseAllButtons();
        App.reset();
        TWindowManager::Reset();
    }
    // Lets the port deliver what the system has for its windows, then the framework dispatch it.
    void Pump()
    {
        TPlatform::Get().WaitEvents(0);
        App->ProcessMessages();
    }
    std::unique_ptr<TApplication> App;
};

TEST_P(WineControlInputTest, APressReachesOnMouseDownWithTheKeyHeld)
{
    const THeldKeyCase& C = GetParam();
    TModifierProbe Probe(*App, {300, 200});
    Probe.Form->Show();
    auto* Peer = static_cast<TWin32Window*>(TWindowManager::Get().GetPeer(Probe.Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(Eventually(
        [&] {
            Pump();
            return IsForeground(Peer->GetHandle());
        },
        InputTimeoutMs));

    ASSERT_TRUE(MovePointer(Probe.OnScreen({15, 10})));
    if (C.VirtualKey) {
        ASSERT_TRUE(HoldKey(C.VirtualKey, true));
    }
    ASSERT_TRUE(PressButton(TPointerButton::Left));
    ASSERT_TRUE(ReleaseButton(TPointerButton::Left));
    if (C.VirtualKey) {
        ASSERT_TRUE(HoldKey(C.VirtualKey, false));
    }
    EXPECT_TRUE(Eventually(
        [&] {
            Pump();
            return Probe.Seen.size() >= 2;
        },
        InputTimeoutMs));
    EXPECT_EQ(Probe.Seen, TModifierProbe::Click(C.Shift, {15, 10}));
}

INSTANTIATE_TEST_SUITE_P(Held, WineControlInputTest,
                         testing::Values(THeldKeyCase{"Nothing", 0, 0},
                                         THeldKeyCase{"Shift", VK_SHIFT, ssShift},
                                         THeldKeyCase{"Ctrl", VK_CONTROL, ssCtrl},
                                         THeldKeyCase{"Alt", VK_MENU, ssAlt}),
                         ByName{});

} // namespace
