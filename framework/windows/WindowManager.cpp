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

#include "framework/windows/WindowManagerPrivate.h"

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
    // In the 16-bit range, as SetWindowPos keeps it.
    W->Bounds =
        TRect::FromSize(ClampWindowCoord(Params.Bounds.Left), ClampWindowCoord(Params.Bounds.Top),
                        ClampWindowSize(std::int64_t(Params.Bounds.Right) - Params.Bounds.Left),
                        ClampWindowSize(std::int64_t(Params.Bounds.Bottom) - Params.Bounds.Top));
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
        P.Bounds = Ref.Bounds;
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
