#include "shaped/fcmsg.h"

#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/HeadlessApp.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_USER + 7;

class CaptureMessage : public HeadlessWindowsTest
{
protected:
    void SetUp() override
    {
        HeadlessWindowsTest::SetUp();
        Window = MakeWindow("window");
    }

    // A top-level window whose procedure logs "name:message" and answers WM_PROBE with 42.
    HWND MakeWindow(const std::string& Name)
    {
        TCreateWindowParams P;
        P.Bounds = {0, 0, 10, 10};
        P.WndProc = std::make_shared<TWndProc>([this, Name](HWND H, UINT M, WPARAM W, LPARAM L) {
            if (M == WM_PROBE) {
                Log.push_back(Name + ":probe " + std::to_string(W));
                if (OnProbe)
                    OnProbe();
                return LRESULT(42);
            }
            if (M == WM_DESTROY)
                Log.push_back(Name + ":destroy");
            return WM().DefWindowProc(H, M, W, L);
        });
        return WM().CreateWindowEx(P);
    }

    // Logs what the hook's events see.
    void Watch(TfcCaptureMessageClass& Hook, bool Swallow = false)
    {
        Hook.OnBeforeMessage = [this, Swallow](TObject*, TMessage& M, bool& CallDefault) {
            if (M.Msg == WM_PROBE) {
                Log.push_back("before " + std::to_string(M.WParam));
                if (Swallow)
                    CallDefault = false;
            }
        };
        Hook.OnAfterMessage = [this](TObject*, TMessage& M) {
            if (M.Msg == WM_PROBE)
                Log.push_back("after result " + std::to_string(M.Result));
        };
    }

    HWND Window = 0;
    std::vector<std::string> Log;
    std::function<void()> OnProbe; // run by the window's procedure on WM_PROBE
};

TEST_F(CaptureMessage, SeesEachMessageBeforeAndAfterTheProcedureItReplaced)
{
    const TWndProcRef Original = WM().GetWindowProc(Window);
    TfcCaptureMessageClass Hook(nullptr);
    Watch(Hook);
    Hook.SetWindowHandle(Window);
    EXPECT_EQ(WM().GetWindowProc(Window), Original); // not yet hooked
    Hook.SetHooked(true);
    EXPECT_TRUE(Hook.GetHooked());
    EXPECT_NE(WM().GetWindowProc(Window), Original);
    EXPECT_EQ(WM().SendMessage(Window, WM_PROBE, 3, 0), 42);
    EXPECT_EQ(Log, (std::vector<std::string>{"before 3", "window:probe 3", "after result 42"}));

    Log.clear();
    Hook.SetHooked(false);
    EXPECT_EQ(WM().GetWindowProc(Window), Original);
    WM().SendMessage(Window, WM_PROBE, 4, 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"window:probe 4"}));
}

TEST_F(CaptureMessage, ABeforeHandlerThatDeclinesTheDefaultStopsTheMessage)
{
    TfcCaptureMessageClass Hook(nullptr);
    Watch(Hook, true);
    Hook.SetWindowHandle(Window);
    Hook.SetHooked(true);
    EXPECT_EQ(WM().SendMessage(Window, WM_PROBE, 5, 0), 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"before 5"}));
}

TEST_F(CaptureMessage, AWindowSetWhileHookedIsHookedAtOnce)
{
    TfcCaptureMessageClass Hook(nullptr);
    Watch(Hook);
    Hook.SetHooked(true); // no window yet: nothing to install
    EXPECT_TRUE(Hook.GetHooked());
    Hook.SetWindowHandle(Window);
    WM().SendMessage(Window, WM_PROBE, 1, 0);
    EXPECT_EQ(Log.front(), "before 1");
}

TEST_F(CaptureMessage, MovingToAnotherWindowUnhooksTheFirst)
{
    const HWND Other = MakeWindow("other");
    const TWndProcRef Original = WM().GetWindowProc(Window);
    TfcCaptureMessageClass Hook(nullptr);
    Watch(Hook);
    Hook.SetWindowHandle(Window);
    Hook.SetHooked(true);
    Hook.SetWindowHandle(Other);
    EXPECT_EQ(WM().GetWindowProc(Window), Original);
    EXPECT_FALSE(Hook.GetHooked());
    WM().SendMessage(Window, WM_PROBE, 2, 0);
    WM().SendMessage(Other, WM_PROBE, 2, 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"window:probe 2", "other:probe 2"}));
}

TEST_F(CaptureMessage, DestructionPutsTheProcedureBack)
{
    const TWndProcRef Original = WM().GetWindowProc(Window);
    {
        TComponent Owner(nullptr);
        auto* Hook = new TfcCaptureMessageClass(&Owner);
        Watch(*Hook);
        Hook->SetWindowHandle(Window);
        Hook->SetHooked(true);
    }
    EXPECT_EQ(WM().GetWindowProc(Window), Original);
    EXPECT_EQ(WM().SendMessage(Window, WM_PROBE, 6, 0), 42);
    EXPECT_EQ(Log, (std::vector<std::string>{"window:probe 6"}));
}

TEST_F(CaptureMessage, AWindowThatIsGoneIsLeftAlone)
{
    auto Hook = std::make_unique<TfcCaptureMessageClass>(nullptr);
    Watch(*Hook);
    Hook->SetWindowHandle(Window);
    Hook->SetHooked(true);
    // The window's destruction passes through the hook like every other message.
    WM().DestroyWindow(Window);
    EXPECT_EQ(Log, (std::vector<std::string>{"window:destroy"}));
    Hook->SetHooked(false);
    EXPECT_FALSE(Hook->GetHooked());
    Hook.reset();
    // A hook set on a window that no longer exists installs nothing.
    TfcCaptureMessageClass Late(nullptr);
    Late.SetWindowHandle(Window);
    Late.SetHooked(true);
    EXPECT_EQ(WM().GetWindowProc(Window), nullptr);
}

TEST_F(CaptureMessage, RemovingAHookUnderAnotherKeepsTheOneOnTop)
{
    TfcCaptureMessageClass Lower(nullptr), Upper(nullptr);
    Lower.SetWindowHandle(Window);
    Lower.SetHooked(true);
    Lower.OnAfterMessage = [this](TObject*, TMessage& M) {
        if (M.Msg == WM_PROBE)
            Log.push_back("lower");
    };
    Upper.SetWindowHandle(Window);
    Upper.SetHooked(true);
    Upper.OnAfterMessage = [this](TObject*, TMessage& M) {
        if (M.Msg == WM_PROBE)
            Log.push_back("upper");
    };
    Lower.SetHooked(false);
    EXPECT_EQ(WM().SendMessage(Window, WM_PROBE, 8, 0), 42);
    EXPECT_EQ(Log, (std::vector<std::string>{"window:probe 8", "upper"}));
    Log.clear();
    Upper.SetHooked(false);
    WM().SendMessage(Window, WM_PROBE, 9, 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"window:probe 9"}));
}

TEST_F(CaptureMessage, TheWindowMayDestroyTheHookWhileItsMessageRuns)
{
    auto* Hook = new TfcCaptureMessageClass(nullptr);
    Watch(*Hook);
    Hook->SetWindowHandle(Window);
    Hook->SetHooked(true);
    OnProbe = [&] {
        delete Hook;
        Hook = nullptr;
    };
    EXPECT_EQ(WM().SendMessage(Window, WM_PROBE, 1, 0), 42);
    // The after-event of a hook that is gone is not called; the window works on.
    EXPECT_EQ(Log, (std::vector<std::string>{"before 1", "window:probe 1"}));
    OnProbe = nullptr;
    EXPECT_EQ(WM().SendMessage(Window, WM_PROBE, 2, 0), 42);
}

} // namespace
