#include "shaped/fcmsg.h"

#include "base/Exception.h"

#include <new>

namespace {
TWindowManager& WM()
{
    return TWindowManager::Get();
}
} // namespace

// The adapter outlives its hook when someone replaced the window's procedure after us: then
// putting ours back would cut that one off, so the window keeps calling the adapter, which
// (released) only passes each message on to the procedure we had replaced.
struct TfcCaptureMessageClass::TAdapter
{
    TfcCaptureMessageClass* Owner = nullptr;
    TWndProcRef Previous;
};

TfcCaptureMessageClass::TfcCaptureMessageClass(TComponent* AOwner) : TComponent(AOwner) {}

TfcCaptureMessageClass::~TfcCaptureMessageClass()
{
    SetHooked(false);
}

void TfcCaptureMessageClass::SetWindowHandle(HWND Value)
{
    if (FWindowHandle)
        RemoveHook();
    FWindowHandle = Value;
    if (FWindowHandle && FHooked)
        InstallHook();
}

void TfcCaptureMessageClass::SetHooked(bool Value)
{
    if (Value == FHooked)
        return;
    FHooked = Value;
    if (Value)
        InstallHook();
    else
        RemoveHook();
}

void TfcCaptureMessageClass::InstallHook()
{
    if (!WM().IsWindow(FWindowHandle))
        return;
    TWndProcRef Previous = WM().GetWindowProc(FWindowHandle);
    std::shared_ptr<TAdapter> Adapter;
    TWndProcRef Proc;
    try {
        Adapter = std::make_shared<TAdapter>();
        Adapter->Owner = this;
        Adapter->Previous = Previous;
        Proc = std::make_shared<TWndProc>([Adapter](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
            if (!Adapter->Owner)
                return TWindowManager::CallWindowProc(Adapter->Previous, Wnd, Msg, W, L);
            TMessage Message{Msg, W, L, 0};
            Adapter->Owner->HookWndProc(Message);
            return Message.Result;
        });
    } catch (const std::bad_alloc&) {
        throw EOutOfResources("Windows Resources Exhausted");
    }
    FPreviousProc = std::move(Previous);
    FAdapter = std::move(Adapter);
    FAdapterProc = Proc;
    WM().SetWindowProc(FWindowHandle, std::move(Proc));
    FHooked = true;
}

void TfcCaptureMessageClass::RemoveHook()
{
    if (WM().IsWindow(FWindowHandle) && FPreviousProc &&
        WM().GetWindowProc(FWindowHandle) == FAdapterProc)
        WM().SetWindowProc(FWindowHandle, FPreviousProc);
    FPreviousProc.reset();
    if (FAdapter) {
        FAdapter->Owner = nullptr;
        FAdapter.reset();
    }
    FAdapterProc.reset();
    FHooked = false;
}

void TfcCaptureMessageClass::HookWndProc(TMessage& Message)
{
    bool CallDefault = true;
    OnBeforeMessage(this, Message, CallDefault);
    if (!CallDefault)
        return;
    // The message may end this hook (a handler that destroys it): hold on to what the rest
    // needs, and see afterwards whether the adapter is still bound to us.
    const std::shared_ptr<TAdapter> Adapter = FAdapter;
    const TWndProcRef Previous = FPreviousProc;
    Message.Result = TWindowManager::CallWindowProc(Previous, FWindowHandle, Message.Msg,
                                                    Message.WParam, Message.LParam);
    if (Adapter && Adapter->Owner != this)
        return;
    OnAfterMessage(this, Message);
}
