#include "framework/windows/Timer.h"

#include "framework/windows/WindowManager.h"

namespace {
TWindowManager& WM()
{
    return TWindowManager::Get();
}
} // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    TCreateWindowParams P;
    P.MessageOnly = true;
    P.WndProc = std::make_shared<TWndProc>([this](HWND H, UINT M, WPARAM W, LPARAM L) {
        if (M == WM_TIMER) {
            Timer();
            return LRESULT(0);
        }
        return WM().DefWindowProc(H, M, W, L);
    });
    FWindow = WM().CreateWindowEx(P);
}

TTimer::~TTimer()
{
    if (WM().IsWindow(FWindow))
        WM().DestroyWindow(FWindow);
}

void TTimer::DeclareClass(TClassDeclaration<TTimer>& D)
{
    D.Boolean("Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled).Default(1);
    D.Unsigned("Interval", &TTimer::GetInterval, &TTimer::SetInterval).Default(1000);
    D.Event<TNotifyEvent>("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer);
}

void TTimer::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(std::uint32_t Value)
{
    if (FInterval == Value)
        return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value)
{
    FOnTimer = std::move(Value);
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    WM().KillTimer(FWindow, 1);
    if (FInterval != 0 && FEnabled && FOnTimer.Assigned() && !IsDesigning())
        WM().SetTimer(FWindow, 1, FInterval);
}

void TTimer::Timer()
{
    FOnTimer(this);
}
