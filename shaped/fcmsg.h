#pragma once

#include "framework/objects/Component.h"
#include "framework/objects/Event.h"
#include "framework/windows/Messages.h"
#include "framework/windows/WindowManager.h"

#include <memory>

using TfcMessageEvent = TEvent<TObject* /*Sender*/, TMessage& /*Message*/>;
using TfcBeforeMessageEvent =
    TEvent<TObject* /*Sender*/, TMessage& /*Message*/, bool& /*CallDefault*/>;

// A hook on the procedure of one window. While it is installed every message of WindowHandle
// passes through HookWndProc: OnBeforeMessage sees it first and may keep it from going further,
// the procedure that was replaced handles it, and OnAfterMessage sees it with its result.
// Removing the hook (Hooked false, another WindowHandle, destruction) puts the replaced
// procedure back when the window still exists. Installing it on a window that does not exist
// does nothing; failing to make the procedure adapter raises EOutOfResources.
class TfcCaptureMessageClass : public TComponent
{
    PUBLISHED_CLASS(TfcCaptureMessageClass, TComponent)

    explicit TfcCaptureMessageClass(TComponent* AOwner);
    ~TfcCaptureMessageClass() override;

    HWND GetWindowHandle() const { return FWindowHandle; }
    // Removes the hook from the window set before, if any (which leaves Hooked false), then
    // installs it on Value when Hooked is still true.
    void SetWindowHandle(HWND Value);
    bool GetHooked() const { return FHooked; }
    void SetHooked(bool Value);

    // The window procedure while hooked.
    virtual void HookWndProc(TMessage& Message);

    TfcMessageEvent OnAfterMessage;
    TfcBeforeMessageEvent OnBeforeMessage;

private:
    struct TAdapter;

    void InstallHook();
    void RemoveHook();

    bool FHooked = false;
    HWND FWindowHandle = 0;
    // The procedure adapter: what the window calls, bound to this object until released.
    std::shared_ptr<TAdapter> FAdapter;
    TWndProcRef FAdapterProc;
    TWndProcRef FPreviousProc;
};
