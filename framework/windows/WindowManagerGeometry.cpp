// The geometry of the window manager: positions, sizes, visibility, state and window regions.
#include "framework/windows/WindowManagerPrivate.h"

#include <algorithm>

TPoint TWindowManager::OffsetInTopLevel(const TWindow& W) const
{
    TPoint P;
    const TWindow* T = &W;
    while (!T->IsTopLevel()) {
        P = P + T->Bounds.TopLeft();
        T = FWindows.at(T->Parent).get();
    }
    return P;
}

TRect TWindowManager::GetClientRect(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W ? W->ClientRect() : TRect{};
}

TPoint TWindowManager::ClientToScreen(HWND Wnd, TPoint P) const
{
    TWindow* W = Find(Wnd);
    if (!W)
        return P;
    const TWindow& T = TopLevelOf(*W);
    return P + OffsetInTopLevel(*W) + T.Bounds.TopLeft() +
           TPoint{T.FrameInsets.Left, T.FrameInsets.Top};
}

TPoint TWindowManager::ScreenToClient(HWND Wnd, TPoint P) const
{
    return P - ClientToScreen(Wnd, {0, 0});
}

TRect TWindowManager::GetWindowRect(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    if (!W)
        return {};
    if (W->IsTopLevel())
        return W->Bounds;
    const TPoint S = ClientToScreen(Wnd, {0, 0});
    return TRect::FromSize(S.X, S.Y, W->Bounds.Width(), W->Bounds.Height());
}

bool TWindowManager::SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Width, int Height,
                                  UINT Flags)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    const TRect Old = W->Bounds;
    TRect New = Old;
    // Beyond the 16-bit range a position or size stops at its end, as in Win32.
    if (!(Flags & SWP_NOMOVE))
        New = TRect::FromSize(ClampWindowCoord(X), ClampWindowCoord(Y), New.Width(), New.Height());
    if (!(Flags & SWP_NOSIZE))
        New = TRect::FromSize(New.Left, New.Top, ClampWindowSize(Width), ClampWindowSize(Height));
    if (!(Flags & SWP_NOZORDER) && !W->IsTopLevel()) {
        TWindow& P = *Find(W->Parent);
        std::erase(P.Children, Wnd);
        auto It = InsertAfter ? std::find(P.Children.begin(), P.Children.end(), InsertAfter)
                              : P.Children.end();
        P.Children.insert(It, Wnd);
    }
    const bool Moved = New.TopLeft() != Old.TopLeft();
    const bool Sized = New.Width() != Old.Width() || New.Height() != Old.Height();
    W->Bounds = New;
    if (W->IsTopLevel()) {
        if (Sized)
            ResizeBackBuffer(*W);
        if (Moved || Sized)
            SyncPeerBounds(*W);
    } else if ((Moved || Sized) && !(Flags & SWP_NOREDRAW)) {
        // The parent shows what the child covered; the child repaints at its new place.
        if (TWindow* P = Find(W->Parent))
            InvalidateTree(*P, TRegion(Old), true, true);
        InvalidateTree(*W, TRegion(W->ClientRect()), true, true);
    }
    if (Sized) {
        const TRect C = W->ClientRect();
        SendMessage(Wnd, WM_SIZE, 0, MakeLParam(C.Width(), C.Height()));
    }
    if (Moved)
        SendMessage(Wnd, WM_MOVE, 0, MakeLParam(New.Left, New.Top));
    if (Flags & SWP_SHOWWINDOW)
        ShowWindow(Wnd, (Flags & SWP_NOACTIVATE) ? SW_SHOWNOACTIVATE : SW_SHOW);
    else if (Flags & SWP_HIDEWINDOW)
        ShowWindow(Wnd, SW_HIDE);
    return true;
}

bool TWindowManager::MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool Repaint)
{
    return SetWindowPos(Wnd, 0, X, Y, Width, Height, SWP_NOZORDER | (Repaint ? 0 : SWP_NOREDRAW));
}

void TWindowManager::SyncPeerBounds(TWindow& W)
{
    if (W.Peer)
        W.Peer->SetBounds(W.Bounds);
}

void TWindowManager::ResizeBackBuffer(TWindow& W)
{
    // A hidden top-level window has nothing to show and keeps no pixels; showing it sizes its
    // buffer again and paints it whole.
    const TRect C = W.IsTopLevel() && !(W.Style & WS_VISIBLE) ? TRect() : W.ClientRect();
    if (!W.BackBuffer)
        W.BackBuffer = std::make_unique<TBitmap>(C.Width(), C.Height());
    else
        W.BackBuffer->SetSize(C.Width(), C.Height());
    InvalidateTree(W, TRegion(C), true, true);
}

void TWindowManager::HandleMoved(HWND TopLevel, const TRect& Outer)
{
    TWindow* W = Find(TopLevel);
    if (!W || W->Bounds == Outer)
        return;
    const bool Sized = W->Bounds.Width() != Outer.Width() || W->Bounds.Height() != Outer.Height();
    W->Bounds = Outer;
    if (Sized)
        ResizeBackBuffer(*W);
    SendMessage(TopLevel, WM_MOVE, 0, MakeLParam(Outer.Left, Outer.Top));
}

bool TWindowManager::ShowWindow(HWND Wnd, int Command)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    const bool WasVisible = (W->Style & WS_VISIBLE) != 0;
    const bool Show = Command != SW_HIDE;
    if (Show == WasVisible)
        return WasVisible;
    SendMessage(Wnd, WM_SHOWWINDOW, Show ? 1 : 0, 0);
    if (!(W = Find(Wnd)))
        return WasVisible;
    if (Show)
        W->Style |= WS_VISIBLE;
    else
        W->Style &= ~WS_VISIBLE;
    if (W->IsTopLevel()) {
        ResizeBackBuffer(*W);
        if (Show) {
            if (W->Peer)
                W->Peer->Show(Command != SW_SHOWNOACTIVATE);
            if (Command != SW_SHOWNOACTIVATE)
                FActive = Wnd;
        } else {
            if (W->Peer)
                W->Peer->Hide();
            if (FActive == Wnd)
                FActive = 0;
        }
    } else if (TWindow* P = Find(W->Parent)) {
        if (Show)
            InvalidateTree(*W, TRegion(W->ClientRect()), true, true);
        else
            InvalidateTree(*P, TRegion(W->Bounds), true, true);
    }
    return WasVisible;
}

bool TWindowManager::IsIconic(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W && W->Peer && W->Peer->GetShowState() == TWindowShowState::Minimized;
}

bool TWindowManager::IsZoomed(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W && W->Peer && W->Peer->GetShowState() == TWindowShowState::Maximized;
}

bool TWindowManager::IsWindowVisible(HWND Wnd) const
{
    for (const TWindow* W = Find(Wnd); W; W = W->Parent ? Find(W->Parent) : nullptr) {
        if (!(W->Style & WS_VISIBLE))
            return false;
        if (W->IsTopLevel())
            return true;
    }
    return false;
}

bool TWindowManager::EnableWindow(HWND Wnd, bool Enable)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    const bool WasDisabled = (W->Style & WS_DISABLED) != 0;
    if (Enable)
        W->Style &= ~WS_DISABLED;
    else
        W->Style |= WS_DISABLED;
    if (WasDisabled == Enable)
        SendMessage(Wnd, WM_ENABLE, Enable ? 1 : 0, 0);
    return WasDisabled;
}

bool TWindowManager::IsWindowEnabled(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W && !(W->Style & WS_DISABLED);
}

HWND TWindowManager::ChildWindowFromPoint(HWND Parent, TPoint Client) const
{
    const TWindow* W = Find(Parent);
    if (!W || !W->ClientRect().Contains(Client))
        return 0;
    for (auto It = W->Children.rbegin(); It != W->Children.rend(); ++It) {
        const TWindow* C = Find(*It);
        if (C && (C->Style & WS_VISIBLE) && C->Bounds.Contains(Client))
            return ChildWindowFromPoint(*It, Client - C->Bounds.TopLeft());
    }
    return Parent;
}

bool TWindowManager::SetWindowRgn(HWND Wnd, std::optional<TRegion> Region, bool Redraw)
{
    TWindow* W = Find(Wnd);
    if (!W || !W->IsTopLevel())
        return false;
    W->WindowRegion = std::move(Region);
    if (W->Peer) {
        if (W->WindowRegion) {
            const auto Rects = W->WindowRegion->GetRects();
            W->Peer->SetShape(std::vector<TRect>(Rects.begin(), Rects.end()));
        } else {
            W->Peer->SetShape(std::nullopt);
        }
    }
    if (Redraw)
        InvalidateTree(*W, TRegion(W->ClientRect()), true, true);
    return true;
}

std::optional<TRegion> TWindowManager::GetWindowRgn(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W ? W->WindowRegion : std::nullopt;
}
