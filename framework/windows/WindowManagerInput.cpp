// The input of the window manager: mouse and keyboard events, mouse capture, focus, activation.
#include "framework/windows/WindowManagerPrivate.h"

namespace {
// The message of a press, release or double click: Win32 numbers each button's three in a row.
UINT ButtonMessage(TInputKind Kind, TMouseButton Button)
{
    const UINT Down = Button == TMouseButton::Right    ? WM_RBUTTONDOWN
                      : Button == TMouseButton::Middle ? WM_MBUTTONDOWN
                                                       : WM_LBUTTONDOWN;
    return Kind == TInputKind::MouseUp       ? Down + 1
           : Kind == TInputKind::DoubleClick ? Down + 2
                                             : Down;
}
} // namespace

void TWindowManager::SetCursor(HWND Wnd, TCursorShape Shape)
{
    if (TWindow* W = Find(Wnd))
        if (TPlatformWindow* Peer = TopLevelOf(*W).Peer.get())
            Peer->SetCursor(Shape);
}

HWND TWindowManager::SetCapture(HWND Wnd)
{
    const HWND Old = FCapture;
    TWindow* W = Find(Wnd);
    if (!W || Old == Wnd)
        return Old;
    if (Old) {
        ReleaseCapture();
    }
    FCapture = Wnd;
    if (TPlatformWindow* Peer = TopLevelOf(*W).Peer.get())
        Peer->SetCapture(true);
    return Old;
}

bool TWindowManager::ReleaseCapture()
{
    const HWND Old = FCapture;
    if (!Old)
        return true;
    FCapture = 0;
    if (TWindow* W = Find(Old)) {
        if (TPlatformWindow* Peer = TopLevelOf(*W).Peer.get())
            Peer->SetCapture(false);
        SendMessage(Old, WM_CAPTURECHANGED, 0, 0);
    }
    return true;
}

HWND TWindowManager::SetFocus(HWND Wnd)
{
    const HWND Old = FFocus;
    if (Wnd && !Find(Wnd))
        return 0;
    if (Old == Wnd)
        return Old;
    FFocus = Wnd;
    // Keys already typed at the old focus go where the focus is now, within the same form.
    if (Old && Find(Old)) {
        const HWND Top = GetTopLevel(Old);
        const HWND To = Wnd && GetTopLevel(Wnd) == Top ? Wnd : Top;
        for (TMsg& M : FPosted)
            if (M.Keyboard && M.Hwnd == Old)
                M.Hwnd = To;
    }
    if (Old && Find(Old))
        SendMessage(Old, WM_KILLFOCUS, Wnd, 0);
    if (Wnd && FFocus == Wnd) {
        FActive = GetTopLevel(Wnd);
        if (TWindow* Top = Find(FActive))
            Top->LastFocus = Wnd;
        SendMessage(Wnd, WM_SETFOCUS, Old, 0);
    }
    return Old;
}

void TWindowManager::PostInput(TMsg Msg)
{
    Msg.Time = TPlatform::Get().GetTickCount();
    // Like Windows, keep at most one pending movement: the newest position wins.
    if (Msg.Message == WM_MOUSEMOVE && !FPosted.empty() && FPosted.back().Message == WM_MOUSEMOVE &&
        FPosted.back().Hwnd == Msg.Hwnd && FPosted.back().Unrouted == Msg.Unrouted) {
        FPosted.back() = Msg;
        return;
    }
    FPosted.push_back(Msg);
}

void TWindowManager::HandleInput(HWND TopLevel, const TInputEvent& Event)
{
    const TShiftState Shift = ShiftStateOf(Event.Modifiers);
    switch (Event.Kind) {
    case TInputKind::MouseDown:
    case TInputKind::MouseUp:
    case TInputKind::DoubleClick:
        if (Event.Button != TMouseButton::None)
            HandleMouse(TopLevel, ButtonMessage(Event.Kind, Event.Button), Shift, Event.Client);
        return;
    case TInputKind::MouseMove:
        HandleMouse(TopLevel, WM_MOUSEMOVE, Shift, Event.Client);
        return;
    case TInputKind::KeyDown:
        HandleKey(TopLevel, (Shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN, Event.Key, Shift);
        return;
    case TInputKind::KeyUp:
        HandleKey(TopLevel, (Shift & ssAlt) ? WM_SYSKEYUP : WM_KEYUP, Event.Key, Shift);
        return;
    case TInputKind::Character:
        HandleChar(TopLevel, Event.Character);
        return;
    }
}

void TWindowManager::HandleMouse(HWND TopLevel, UINT Msg, TShiftState Shift, TPoint Client)
{
    if (!Find(TopLevel))
        return;
    // Given its window only when it is taken from the queue, as Windows does: a capture taken
    // meanwhile (by a drag loop that starts at the press) gets the movements and the release
    // that came before it, and the point is measured from where the window is by then.
    const TPoint Screen = ClientToScreen(TopLevel, Client);
    TMsg Raw{TopLevel, Msg, KeyStateOf(Shift), MakeLParam(Screen.X, Screen.Y), 0, 0, Shift};
    Raw.Unrouted = true;
    Raw.Input = true;
    PostInput(Raw);
}

bool TWindowManager::RouteMouse(TMsg& Msg) const
{
    const TPoint Screen{GetXLParam(Msg.LParam), GetYLParam(Msg.LParam)};
    HWND Target = FCapture;
    if (!Target || !Find(Target)) {
        const TWindow* T = Find(Msg.Hwnd);
        if (!T)
            return false;
        const TPoint Client = ScreenToClient(Msg.Hwnd, Screen);
        // Outside the outline of a shaped window the press belongs to what lies behind it.
        if (T->WindowRegion && !T->WindowRegion->Contains(Client))
            return false;
        Target = ChildWindowFromPoint(Msg.Hwnd, Client);
        // A disabled window takes no mouse input; neither does what lies beneath it.
        if (!Target || !IsWindowEnabled(Target))
            return false;
    }
    const TPoint P = ScreenToClient(Target, Screen);
    Msg.Hwnd = Target;
    Msg.LParam = MakeLParam(P.X, P.Y);
    Msg.Unrouted = false;
    return true;
}

void TWindowManager::HandleKey(HWND TopLevel, UINT Msg, unsigned VirtualKey, TShiftState Shift)
{
    HWND Target = FFocus && GetTopLevel(FFocus) == TopLevel ? FFocus : TopLevel;
    // A disabled form (one behind a modal dialog) takes no keys, as it takes no clicks.
    if (!Find(Target) || !IsWindowEnabled(TopLevel))
        return;
    // The buttons held are no part of a key's shift state.
    PostInput({Target, Msg, WPARAM(VirtualKey), 1, 0, 0, Shift & ssKeys, true, false, true});
}

void TWindowManager::HandleChar(HWND TopLevel, char32_t Character)
{
    // The character belongs to the key press before it: TranslateMessage turns it into WM_CHAR.
    for (auto It = FPosted.rbegin(); It != FPosted.rend(); ++It) {
        if (It->Message == WM_KEYDOWN || It->Message == WM_SYSKEYDOWN) {
            if (!It->Char && GetTopLevel(It->Hwnd) == TopLevel) {
                It->Char = Character;
                return;
            }
            break;
        }
    }
    HWND Target = FFocus && GetTopLevel(FFocus) == TopLevel ? FFocus : TopLevel;
    if (Find(Target))
        PostInput({Target, WM_CHAR, WPARAM(Character), 1, 0, 0, 0, true});
}

void TWindowManager::HandleCaptureLost(HWND TopLevel)
{
    if (FCapture && GetTopLevel(FCapture) == TopLevel)
        ReleaseCapture();
}

void TWindowManager::HandleCloseRequest(HWND TopLevel)
{
    if (Find(TopLevel))
        PostMessage(TopLevel, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND TWindowManager::SetActiveWindow(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W || !W->IsTopLevel())
        return 0;
    const HWND Old = FActive;
    if (W->Peer)
        W->Peer->Activate();
    FActive = Wnd;
    RestoreFocus(Wnd);
    return Old;
}

void TWindowManager::RestoreFocus(HWND TopLevel)
{
    // As Windows does on activation: the focus goes back where it was when the window was left,
    // unless it is already inside or that window can no longer take it.
    const TWindow* Top = Find(TopLevel);
    if (!Top || (FFocus && Find(FFocus) && GetTopLevel(FFocus) == TopLevel))
        return;
    const HWND Last = Top->LastFocus;
    if (Last && Find(Last) && GetTopLevel(Last) == TopLevel && IsWindowVisible(Last) &&
        IsWindowEnabled(Last))
        SetFocus(Last);
}

void TWindowManager::HandleFocus(HWND TopLevel, bool Gained)
{
    if (!Find(TopLevel))
        return;
    if (Gained) {
        FActive = TopLevel;
        SendMessage(TopLevel, WM_ACTIVATE, 1, 0);
        RestoreFocus(TopLevel);
    } else {
        if (FActive == TopLevel)
            FActive = 0;
        SendMessage(TopLevel, WM_ACTIVATE, 0, 0);
    }
}
