// The window manager: the framework's own small user32.
//
// Windows form a tree under the top-level windows. Each window keeps its bounds in its parent's
// client coordinates (a top-level window: its outer bounds on the screen), its children in z-order
// (bottom first), its style bits, its procedure and its update region (client coordinates).
//
// Painting follows Win32: invalidating a window whose style lacks WS_CLIPCHILDREN invalidates the
// children beneath the area too; GetMessage hands out WM_PAINT parents first and siblings bottom
// first, after posted and input messages and before timers; BeginPaint clips to the part of the
// back buffer the window shows (its rectangle within its ancestors, minus its children when it
// has WS_CLIPCHILDREN, minus the siblings above it when it has WS_CLIPSIBLINGS). EndPaint presents
// what was painted through the top-level window's peer.
#include "framework/windows/WindowManager.h"

#include <algorithm>
#include <cassert>

struct TWindowManager::TWindow
{
    HWND Handle = 0;
    HWND Parent = 0;
    std::vector<HWND> Children; // z-order, bottom first
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    TRect Bounds;
    std::string Text;
    TWndProcRef Proc;
    TRegion Update;
    bool ErasePending = false;
    bool Destroying = false;
    bool MessageOnly = false;
    // Top-level windows only.
    std::unique_ptr<TPlatformWindow> Peer;
    std::unique_ptr<TPeerEvents> Events;
    std::unique_ptr<TBitmap> BackBuffer;
    std::optional<TRegion> WindowRegion;
    TRect FrameInsets; // left, top, right, bottom thickness of the native frame
    std::optional<TPaintContext> Painting;

    bool IsTopLevel() const { return Parent == 0; }
    TRect ClientRect() const
    {
        return {0, 0, std::max(0, Bounds.Width() - FrameInsets.Left - FrameInsets.Right),
                std::max(0, Bounds.Height() - FrameInsets.Top - FrameInsets.Bottom)};
    }
};

// Forwards the events of a native window to the manager with the window's handle.
class TWindowManager::TPeerEvents : public TPlatformWindowEvents
{
public:
    TPeerEvents(TWindowManager& Manager, HWND Wnd) : FManager(Manager), FWnd(Wnd) {}

    void HandleInput(const TInputEvent& Event) override { FManager.HandleInput(FWnd, Event); }
    void HandleExpose(const TRect& Client) override { FManager.HandleExpose(FWnd, Client); }
    void HandleMoved(const TRect& Outer) override { FManager.HandleMoved(FWnd, Outer); }
    void HandleFocus(bool Gained) override { FManager.HandleFocus(FWnd, Gained); }
    void HandleCaptureLost() override { FManager.HandleCaptureLost(FWnd); }
    void HandleCloseRequest() override { FManager.HandleCloseRequest(FWnd); }

private:
    TWindowManager& FManager;
    HWND FWnd;
};

namespace {
std::unique_ptr<TWindowManager> GManager;

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

TWindowManager& TWindowManager::Get()
{
    if (!GManager)
        GManager = std::make_unique<TWindowManager>();
    return *GManager;
}

void TWindowManager::Reset()
{
    GManager.reset();
}

TWindowManager::TWindowManager() = default;

TWindowManager::~TWindowManager()
{
    // Destroy what is left without sending messages: the objects behind the procedures may be
    // gone already at the end of the program.
    FWindows.clear();
}

TWindowManager::TWindow* TWindowManager::Find(HWND Wnd) const
{
    auto It = FWindows.find(Wnd);
    return It == FWindows.end() || It->second->Destroying ? nullptr : It->second.get();
}

TWindowManager::TWindow& TWindowManager::TopLevelOf(TWindow& W) const
{
    TWindow* T = &W;
    while (!T->IsTopLevel())
        T = FWindows.at(T->Parent).get();
    return *T;
}

HWND TWindowManager::CreateWindowEx(const TCreateWindowParams& Params)
{
    TWindow* ParentWindow = nullptr;
    if (Params.Parent) {
        ParentWindow = Find(Params.Parent);
        if (!ParentWindow)
            return 0;
    }
    auto W = std::make_unique<TWindow>();
    const HWND Handle = FNextHandle++;
    W->Handle = Handle;
    W->Parent = Params.Parent;
    W->Style = Params.Style;
    W->ExStyle = Params.ExStyle;
    W->Bounds = Params.Bounds;
    W->Text = Params.Caption;
    W->Proc = Params.WndProc;
    W->MessageOnly = Params.MessageOnly && !Params.Parent;
    TWindow& Ref = *W;
    FWindows.emplace(Handle, std::move(W));

    if (ParentWindow) {
        ParentWindow->Children.push_back(Handle);
    } else if (Ref.MessageOnly) {
        FTopLevels.push_back(Handle);
    } else {
        FTopLevels.push_back(Handle);
        TPlatformWindowParams P;
        P.Bounds = Params.Bounds;
        P.Title = Params.Caption;
        P.Frame = (Params.Style & WS_CAPTION) ? TWindowFrame::Dialog : TWindowFrame::None;
        P.StayOnTop = (Params.ExStyle & WS_EX_TOPMOST) != 0;
        P.TaskbarButton = (Params.ExStyle & WS_EX_TOOLWINDOW) == 0;
        P.Popup = (Params.Style & WS_POPUP) && !(Params.Style & WS_CAPTION) &&
                  (Params.ExStyle & WS_EX_TOOLWINDOW);
        Ref.Events = std::make_unique<TPeerEvents>(*this, Handle);
        Ref.Peer = TPlatform::Get().CreateNativeWindow(P, Ref.Events.get());
        if (Ref.Peer)
            Ref.FrameInsets = Ref.Peer->GetClientOffset();
        ResizeBackBuffer(Ref);
    }

    if (SendMessage(Handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(Handle);
        return 0;
    }
    if (Find(Handle) && (Params.Style & WS_VISIBLE)) {
        Ref.Style &= ~WS_VISIBLE;
        ShowWindow(Handle, SW_SHOW);
    }
    return Find(Handle) ? Handle : 0;
}

bool TWindowManager::DestroyWindow(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    if (W->IsTopLevel() && W->Peer)
        W->Peer->Hide();
    DestroyTree(*W);
    // Unlink and free: the whole subtree was marked and notified by DestroyTree.
    if (W->IsTopLevel()) {
        std::erase(FTopLevels, Wnd);
    } else if (TWindow* P = Find(W->Parent)) {
        std::erase(P->Children, Wnd);
        InvalidateTree(*P, TRegion(W->Bounds), true, true);
    }
    std::vector<HWND> Doomed{Wnd};
    for (std::size_t I = 0; I < Doomed.size(); ++I) {
        auto It = FWindows.find(Doomed[I]);
        for (HWND C : It->second->Children)
            Doomed.push_back(C);
    }
    for (HWND H : Doomed)
        FWindows.erase(H);
    return true;
}

void TWindowManager::DestroyTree(TWindow& W)
{
    const HWND Handle = W.Handle;
    if (FCapture == Handle) {
        FCapture = 0;
        if (W.Peer)
            W.Peer->SetCapture(false);
    }
    if (FFocus == Handle)
        FFocus = 0;
    if (FActive == Handle)
        FActive = 0;
    std::erase_if(FTimers, [Handle](const TTimer& T) { return T.Wnd == Handle; });
    RemoveMessagesFor(Handle);
    SendMessage(Handle, WM_DESTROY, 0, 0);
    for (HWND C : std::vector<HWND>(W.Children))
        if (TWindow* Child = Find(C))
            DestroyTree(*Child);
    SendMessage(Handle, WM_NCDESTROY, 0, 0);
    W.Destroying = true;
}

bool TWindowManager::IsWindow(HWND Wnd) const
{
    return Find(Wnd) != nullptr;
}

HWND TWindowManager::GetParent(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W ? W->Parent : 0;
}

HWND TWindowManager::GetTopLevel(HWND Wnd) const
{
    TWindow* W = Find(Wnd);
    return W ? TopLevelOf(*W).Handle : 0;
}

std::vector<HWND> TWindowManager::GetChildren(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W ? W->Children : std::vector<HWND>{};
}

TPlatformWindow* TWindowManager::GetPeer(HWND Wnd) const
{
    TWindow* W = Find(Wnd);
    return W ? TopLevelOf(*W).Peer.get() : nullptr;
}

TWndProcRef TWindowManager::GetWindowProc(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W ? W->Proc : nullptr;
}

TWndProcRef TWindowManager::SetWindowProc(HWND Wnd, TWndProcRef Proc)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return nullptr;
    std::swap(W->Proc, Proc);
    return Proc;
}

LRESULT TWindowManager::CallWindowProc(const TWndProcRef& Proc, HWND Wnd, UINT Msg, WPARAM W,
                                       LPARAM L)
{
    if (Proc && *Proc) {
        // Keep the procedure alive while it runs: it may replace itself.
        const TWndProcRef Keep = Proc;
        return (*Keep)(Wnd, Msg, W, L);
    }
    return Get().DefWindowProc(Wnd, Msg, W, L);
}

LRESULT TWindowManager::DefWindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case WM_PAINT: {
        const TPaintContext C = BeginPaint(Wnd);
        EndPaint(Wnd, C);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(Wnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((W & 0xFFF0) == SC_CLOSE)
            SendMessage(Wnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_RBUTTONUP: {
        const TPoint S = ClientToScreen(Wnd, {GetXLParam(L), GetYLParam(L)});
        SendMessage(Wnd, WM_CONTEXTMENU, Wnd, MakeLParam(S.X, S.Y));
        return 0;
    }
    case WM_CONTEXTMENU:
        // An unhandled request goes up to the parent, as on Windows.
        if (HWND P = GetParent(Wnd))
            return SendMessage(P, WM_CONTEXTMENU, W, L);
        return 0;
    default:
        return 0;
    }
}

std::uint32_t TWindowManager::GetWindowLong(HWND Wnd, int Index) const
{
    const TWindow* W = Find(Wnd);
    if (!W)
        return 0;
    return Index == GWL_STYLE ? W->Style : Index == GWL_EXSTYLE ? W->ExStyle : 0;
}

std::uint32_t TWindowManager::SetWindowLong(HWND Wnd, int Index, std::uint32_t Value)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return 0;
    std::uint32_t& Field = Index == GWL_STYLE ? W->Style : W->ExStyle;
    const std::uint32_t Old = Field;
    // Visibility changes only through ShowWindow, so that peers and update regions follow.
    Field = Index == GWL_STYLE ? (Value & ~WS_VISIBLE) | (Old & WS_VISIBLE) : Value;
    if (Index == GWL_EXSTYLE && W->Peer && ((Old ^ Value) & WS_EX_TOPMOST))
        W->Peer->SetStayOnTop((Value & WS_EX_TOPMOST) != 0);
    return Old;
}

std::string TWindowManager::GetWindowText(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W ? W->Text : std::string{};
}

void TWindowManager::SetWindowText(HWND Wnd, const std::string& Text)
{
    if (TWindow* W = Find(Wnd)) {
        W->Text = Text;
        if (W->Peer)
            W->Peer->SetTitle(Text);
    }
}

// ---- Geometry -------------------------------------------------------------------------------

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
    if (!(Flags & SWP_NOMOVE))
        New = TRect::FromSize(X, Y, New.Width(), New.Height());
    if (!(Flags & SWP_NOSIZE))
        New = TRect::FromSize(New.Left, New.Top, std::max(0, Width), std::max(0, Height));
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
    const TRect C = W.ClientRect();
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
        if (Show) {
            InvalidateTree(*W, TRegion(W->ClientRect()), true, true);
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

// ---- The queue ------------------------------------------------------------------------------

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

// ---- Input ----------------------------------------------------------------------------------

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

void TWindowManager::HandleFocus(HWND TopLevel, bool Gained)
{
    if (!Find(TopLevel))
        return;
    if (Gained) {
        FActive = TopLevel;
        SendMessage(TopLevel, WM_ACTIVATE, 1, 0);
    } else {
        if (FActive == TopLevel)
            FActive = 0;
        SendMessage(TopLevel, WM_ACTIVATE, 0, 0);
    }
}

// ---- Painting -------------------------------------------------------------------------------

void TWindowManager::InvalidateTree(TWindow& W, const TRegion& Client, bool Erase,
                                    bool IncludeChildren)
{
    if (W.MessageOnly)
        return;
    TRegion Area = Client;
    Area.Intersect(TRegion(W.ClientRect()));
    if (Area.IsEmpty())
        return;
    W.Update.Union(Area);
    W.ErasePending = W.ErasePending || Erase;
    if (!IncludeChildren && (W.Style & WS_CLIPCHILDREN))
        return;
    for (HWND H : W.Children) {
        TWindow* C = Find(H);
        if (!C || !(C->Style & WS_VISIBLE))
            continue;
        TRegion Part = Area;
        Part.Intersect(TRegion(C->Bounds));
        if (Part.IsEmpty())
            continue;
        Part.Offset(-C->Bounds.Left, -C->Bounds.Top);
        InvalidateTree(*C, Part, Erase, IncludeChildren);
    }
}

bool TWindowManager::InvalidateRect(HWND Wnd, const TRect* Rect, bool Erase)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    InvalidateTree(*W, TRegion(Rect ? *Rect : W->ClientRect()), Erase,
                   !(W->Style & WS_CLIPCHILDREN));
    return true;
}

bool TWindowManager::InvalidateRgn(HWND Wnd, const TRegion& Region, bool Erase)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    InvalidateTree(*W, Region, Erase, !(W->Style & WS_CLIPCHILDREN));
    return true;
}

bool TWindowManager::ValidateRect(HWND Wnd, const TRect* Rect)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    if (Rect)
        W->Update.Subtract(TRegion(*Rect));
    else
        W->Update = TRegion();
    if (W->Update.IsEmpty())
        W->ErasePending = false;
    return true;
}

bool TWindowManager::GetUpdateRect(HWND Wnd, TRect* Rect) const
{
    const TWindow* W = Find(Wnd);
    if (!W)
        return false;
    if (Rect)
        *Rect = W->Update.GetBounds();
    return !W->Update.IsEmpty();
}

bool TWindowManager::UpdateWindow(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    if (!W->Update.IsEmpty() && IsWindowVisible(Wnd) && !TopLevelOf(*W).MessageOnly)
        SendMessage(Wnd, WM_PAINT, 0, 0);
    return true;
}

TRegion TWindowManager::VisibleRegion(const TWindow& W) const
{
    const TPoint Origin = OffsetInTopLevel(W);
    TRegion Visible(W.ClientRect().Offset(Origin.X, Origin.Y));
    // Limited by every ancestor's client area; siblings above clip when WS_CLIPSIBLINGS says so.
    const TWindow* Child = &W;
    TPoint ChildOrigin = Origin;
    while (!Child->IsTopLevel()) {
        const TWindow& P = *FWindows.at(Child->Parent);
        const TPoint POrigin = ChildOrigin - Child->Bounds.TopLeft();
        Visible.Intersect(TRegion(P.ClientRect().Offset(POrigin.X, POrigin.Y)));
        if (Child->Style & WS_CLIPSIBLINGS) {
            auto It = std::find(P.Children.begin(), P.Children.end(), Child->Handle);
            for (++It; It != P.Children.end(); ++It) {
                const TWindow* S = Find(*It);
                if (S && (S->Style & WS_VISIBLE))
                    Visible.Subtract(TRegion(S->Bounds.Offset(POrigin.X, POrigin.Y)));
            }
        }
        Child = &P;
        ChildOrigin = POrigin;
    }
    if (W.Style & WS_CLIPCHILDREN)
        for (HWND H : W.Children) {
            const TWindow* C = Find(H);
            if (C && (C->Style & WS_VISIBLE))
                Visible.Subtract(TRegion(C->Bounds.Offset(Origin.X, Origin.Y)));
        }
    return Visible;
}

TPaintContext TWindowManager::BeginPaint(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    TPaintContext C;
    if (!W)
        return C;
    TWindow& T = TopLevelOf(*W);
    C.Surface = T.BackBuffer.get();
    C.Origin = OffsetInTopLevel(*W);
    C.PaintRect = W->Update.GetBounds();
    C.Erase = W->ErasePending;
    TRegion Clip = W->Update;
    Clip.Offset(C.Origin.X, C.Origin.Y);
    Clip.Intersect(VisibleRegion(*W));
    C.ClipRegion = std::move(Clip);
    W->Update = TRegion();
    W->ErasePending = false;
    W->Painting = C;
    if (C.Erase)
        SendMessage(Wnd, WM_ERASEBKGND, 0, 0);
    return C;
}

const TPaintContext* TWindowManager::GetCurrentPaint(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W && W->Painting ? &*W->Painting : nullptr;
}

void TWindowManager::EndPaint(HWND Wnd, const TPaintContext& Context)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return;
    W->Painting.reset();
    TWindow& T = TopLevelOf(*W);
    if (T.Peer && T.BackBuffer && !Context.ClipRegion.IsEmpty()) {
        const TPixelView View{T.BackBuffer->GetPixels().data(), T.BackBuffer->GetWidth(),
                              T.BackBuffer->GetHeight(), T.BackBuffer->GetWidth()};
        T.Peer->Present(View, Context.ClipRegion.GetBounds());
    }
}

void TWindowManager::HandleExpose(HWND TopLevel, const TRect& Client)
{
    TWindow* W = Find(TopLevel);
    if (!W || !W->Peer || !W->BackBuffer)
        return;
    // The back buffer still holds the picture: present it again without repainting.
    const TPixelView View{W->BackBuffer->GetPixels().data(), W->BackBuffer->GetWidth(),
                          W->BackBuffer->GetHeight(), W->BackBuffer->GetWidth()};
    W->Peer->Present(View, Client.Intersect(W->ClientRect()));
}

TBitmap* TWindowManager::GetBackBuffer(HWND TopLevel)
{
    TWindow* W = Find(TopLevel);
    return W ? TopLevelOf(*W).BackBuffer.get() : nullptr;
}
