// A click on a control of a form of this process, made with hardware input (SendInput) while a
// modifier key is held: the control's mouse events say which, Alt included, which Windows gives
// a mouse message only through the key state.
#include "framework/windows/Application.h"
#include "framework/windows/CustomControl.h"
#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"
#include "platform/win32/Win32Window.h"
#include "tests/e2e/ClockDriver.h"
#include "tests/wine/PointerInput.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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
    auto* Form = new TForm(App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(300, 200, 120, 80);
    auto* Control = new TCustomControl(Form);
    Control->SetBounds(10, 10, 60, 40);
    Control->SetParent(Form);
    std::vector<std::string> Seen;
    Control->OnMouseDown = [&](TObject*, TMouseButton, TShiftState S, int X, int Y) {
        Seen.push_back("down " + std::to_string(S) + " " + std::to_string(X) + "," +
                       std::to_string(Y));
    };
    Control->OnMouseUp = [&](TObject*, TMouseButton, TShiftState S, int, int) {
        Seen.push_back("up " + std::to_string(S));
    };
    Form->Show();
    auto* Peer = static_cast<TWin32Window*>(TWindowManager::Get().GetPeer(Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(Eventually(
        [&] {
            Pump();
            return IsForeground(Peer->GetHandle());
        },
        InputTimeoutMs));

    ASSERT_TRUE(MovePointer({325, 220}));
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
            return Seen.size() >= 2;
        },
        InputTimeoutMs));
    EXPECT_EQ(Seen, (std::vector<std::string>{"down " + std::to_string(C.Shift | ssLeft) + " 15,10",
                                              "up " + std::to_string(C.Shift)}));
}

INSTANTIATE_TEST_SUITE_P(Held, WineControlInputTest,
                         testing::Values(THeldKeyCase{"Nothing", 0, 0},
                                         THeldKeyCase{"Shift", VK_SHIFT, ssShift},
                                         THeldKeyCase{"Ctrl", VK_CONTROL, ssCtrl},
                                         THeldKeyCase{"Alt", VK_MENU, ssAlt}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
