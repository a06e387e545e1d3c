// The queue of the window manager: posted and sent messages, paint and timer messages, the loop.
#include "framework/windows/WindowManagerPrivate.h"

#include <algorithm>
#include <cstdint>

bool TWindowManager::PostMessage(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    if (Wnd && !Find(Wnd))
        return false;
    FPosted.push_back({Wnd, Msg, W, L, TPlatform::Get().GetTickCount(), 0});
    TPlatform::Get().Wake();
    return true;
}

LRESULT TWindowManager::SendMessage(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    TWindow* Window = Find(Wnd);
    if (!Window && !(Msg == WM_NCDESTROY && FWindows.count(Wnd)))
        return 0;
    const TWndProcRef Proc = FWindows.at(Wnd)->Proc;
    return CallWindowProc(Proc, Wnd, Msg, W, L);
}

void TWindowManager::PostQuitMessage(int ExitCode)
{
    FQuitPosted = true;
    FQuitCode = ExitCode;
    TPlatform::Get().Wake();
}

void TWindowManager::RemoveMessagesFor(HWND Wnd)
{
    std::erase_if(FPosted, [Wnd](const TMsg& M) { return M.Hwnd == Wnd; });
}

bool TWindowManager::Matches(const TMsg& M, HWND Filter, UINT Min, UINT Max) const
{
    if (Filter && M.Hwnd != Filter)
        return false;
    if (Min == 0 && Max == 0)
        return true;
    return M.Message >= Min && M.Message <= Max;
}

bool TWindowManager::NextPaint(TMsg& Msg, HWND Filter) const
{
    // Depth first, parents before children, siblings bottom first.
    std::vector<HWND> Stack(FTopLevels.rbegin(), FTopLevels.rend());
    while (!Stack.empty()) {
        const HWND H = Stack.back();
        Stack.pop_back();
        const TWindow* W = Find(H);
        if (!W || !(W->Style & WS_VISIBLE) || W->MessageOnly)
            continue;
        if (!W->Update.IsEmpty() && (!Filter || Filter == H)) {
            Msg = {H, WM_PAINT, 0, 0, TPlatform::Get().GetTickCount(), 0};
            return true;
        }
        for (auto It = W->Children.rbegin(); It != W->Children.rend(); ++It)
            Stack.push_back(*It);
    }
    return false;
}

bool TWindowManager::NextTimer(TMsg& Msg, HWND Filter, bool Remove)
{
    const std::uint64_t Now = TPlatform::Get().GetTickCount();
    TTimer* Due = nullptr;
    for (TTimer& T : FTimers)
        if (T.DueMs <= Now && (!Filter || Filter == T.Wnd) && (!Due || T.DueMs < Due->DueMs))
            Due = &T;
    if (!Due)
        return false;
    Msg = {Due->Wnd, WM_TIMER, Due->Id, 0, Now, 0};
    if (Remove)
        Due->DueMs = Now + Due->IntervalMs; // late ticks do not pile up, as on Windows
    return true;
}

int TWindowManager::MillisecondsToNextTimer() const
{
    if (FTimers.empty())
        return -1;
    const std::uint64_t Now = TPlatform::Get().GetTickCount();
    std::uint64_t Next = UINT64_MAX;
    for (const TTimer& T : FTimers)
        Next = std::min(Next, T.DueMs);
    return Next <= Now ? 0 : int(std::min<std::uint64_t>(Next - Now, 1u << 30));
}

bool TWindowManager::PeekMessage(TMsg& Msg, HWND Filter, UINT Min, UINT Max, UINT RemoveFlags)
{
    const bool Remove = (RemoveFlags & PM_REMOVE) != 0;
    for (auto It = FPosted.begin(); It != FPosted.end();) {
        TMsg M = *It;
        if (M.Unrouted && !RouteMouse(M)) {
            It = FPosted.erase(It);
            continue;
        }
        if (Matches(M, Filter, Min, Max)) {
            Msg = M;
            if (Remove)
                FPosted.erase(It);
            return true;
        }
        ++It;
    }
    if (FQuitPosted && !Filter && (Min == 0 && Max == 0)) {
        Msg = {0, WM_QUIT, WPARAM(FQuitCode), 0, TPlatform::Get().GetTickCount(), 0};
        if (Remove)
            FQuitPosted = false;
        return true;
    }
    const bool WantsPaint = (Min == 0 && Max == 0) || (WM_PAINT >= Min && WM_PAINT <= Max);
    if (WantsPaint && NextPaint(Msg, Filter))
        return true; // WM_PAINT stays until the window is validated, as on Windows
    const bool WantsTimer = (Min == 0 && Max == 0) || (WM_TIMER >= Min && WM_TIMER <= Max);
    return WantsTimer && NextTimer(Msg, Filter, Remove);
}

bool TWindowManager::GetCapturedMessage(HWND Window, TMsg& Msg)
{
    if (!IsWindow(Window) || GetCapture() != Window)
        return false;
    const int Got = GetMessage(Msg, 0, 0, 0);
    if (Got == 0)
        PostQuitMessage(int(Msg.WParam));
    return Got > 0;
}

int TWindowManager::GetMessage(TMsg& Msg, HWND Filter, UINT Min, UINT Max)
{
    if (Filter && !Find(Filter))
        return -1;
    for (;;) {
        if (PeekMessage(Msg, Filter, Min, Max, PM_REMOVE))
            return Msg.Message == WM_QUIT ? 0 : 1;
        const int Timeout = MillisecondsToNextTimer();
        if (!TPlatform::Get().WaitEvents(Timeout) && Timeout < 0)
            return -1; // nothing pending and the port says nothing will come
        if (Filter && !Find(Filter))
            return -1;
    }
}

bool TWindowManager::TranslateMessage(const TMsg& Msg)
{
    if ((Msg.Message == WM_KEYDOWN || Msg.Message == WM_SYSKEYDOWN) && Msg.Char) {
        FPosted.push_front({Msg.Hwnd, Msg.Message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                            WPARAM(Msg.Char), 0, Msg.Time, 0, Msg.Shift, Msg.Keyboard, false,
                            Msg.Input});
        return true;
    }
    return false;
}

LRESULT TWindowManager::DispatchMessage(const TMsg& Msg)
{
    if (!Msg.Hwnd)
        return 0;
    // The key state changes with the input taken from the queue, as on Windows: what was held
    // when the message came is what its handlers see, whatever the keyboard does meanwhile.
    if (Msg.Input)
        FKeyShift = Msg.Shift;
    return SendMessage(Msg.Hwnd, Msg.Message, Msg.WParam, Msg.LParam);
}

std::uint32_t TWindowManager::SetTimer(HWND Wnd, std::uint32_t Id, std::uint32_t ElapseMs)
{
    if (!Find(Wnd))
        return 0;
    // Windows raises a zero interval to its minimum; so do we, so that a timer can't spin.
    const std::uint32_t Interval = std::max<std::uint32_t>(ElapseMs, 10);
    const std::uint64_t Due = TPlatform::Get().GetTickCount() + Interval;
    for (TTimer& T : FTimers)
        if (T.Wnd == Wnd && T.Id == Id) {
            T.IntervalMs = Interval;
            T.DueMs = Due;
            return Id;
        }
    FTimers.push_back({Wnd, Id, Interval, Due});
    return Id;
}

bool TWindowManager::KillTimer(HWND Wnd, std::uint32_t Id)
{
    return std::erase_if(FTimers, [&](const TTimer& T) { return T.Wnd == Wnd && T.Id == Id; }) > 0;
}
