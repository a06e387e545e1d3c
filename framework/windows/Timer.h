#pragma once

#include "framework/objects/Component.h"
#include "framework/objects/Event.h"
#include "framework/windows/Messages.h"

// A component that raises OnTimer every Interval milliseconds while Enabled, from the message
// loop (so a tick never interrupts another handler).
class TTimer : public TComponent
{
    PUBLISHED_CLASS(TTimer, TComponent)

    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    std::uint32_t GetInterval() const { return FInterval; }
    void SetInterval(std::uint32_t Value);
    const TNotifyEvent& GetOnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent Value);

    static void DeclareClass(TClassDeclaration<TTimer>& D);

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    bool FEnabled = true;
    std::uint32_t FInterval = 1000;
    TNotifyEvent FOnTimer;
    HWND FWindow = 0;
};
