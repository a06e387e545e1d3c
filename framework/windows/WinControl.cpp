#include "framework/windows/WinControl.h"

#include "base/Exception.h"
#include "framework/graphics/Canvas.h"
#include "framework/windows/GraphicControl.h"

#include <algorithm>

namespace {
TWindowManager& WM()
{
    return TWindowManager::Get();
}
} // namespace

std::function<void(const std::exception&)> TWinControl::ExceptionHandler;

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    FWindowProc = [this](TMessage& M) { WndProc(M); };
}

TWinControl::~TWinControl()
{
    if (FHandle)
        DestroyWnd();
    // Like the classic toolkit, a windowed control takes its child controls with it.
    while (!FControls.empty()) {
        TControl* C = FControls.back();
        RemoveControl(C);
        delete C;
    }
}

void TWinControl::DeclareClass(TClassDeclaration<TWinControl>& D)
{
    D.Boolean("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop);
    D.Integer("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder);
    D.Boolean("DoubleBuffered", &TWinControl::GetDoubleBuffered, &TWinControl::SetDoubleBuffered);
    D.Event("OnKeyDown", &TWinControl::OnKeyDown);
    D.Event("OnKeyUp", &TWinControl::OnKeyUp);
    D.Event("OnKeyPress", &TWinControl::OnKeyPress);
}

// ---- The window -----------------------------------------------------------------------------

HWND TWinControl::GetHandle()
{
    if (!FHandle) {
        if (GetParent())
            GetParent()->GetHandle();
        if (!FHandle)
            CreateWnd();
    }
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = GetCaption();
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls))
        Params.Style |= WS_CLIPCHILDREN;
    if (GetVisible())
        Params.Style |= WS_VISIBLE;
    if (!GetEnabled())
        Params.Style |= WS_DISABLED;
    Params.X = GetLeft();
    Params.Y = GetTop();
    Params.Width = GetWidth();
    Params.Height = GetHeight();
    Params.WndParent = GetParent() ? GetParent()->GetHandle() : 0;
    Params.WinClassName = ClassName();
}

LRESULT TWinControl::MainWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    TMessage M{Msg, W, L, 0};
    try {
        if (FWindowProc)
            FWindowProc(M);
        else
            WndProc(M);
    } catch (const std::exception& E) {
        // An error inside a handler must not unwind through the message loop of a port.
        if (ExceptionHandler)
            ExceptionHandler(E);
        else
            throw;
    }
    if (Msg == WM_NCDESTROY && FHandle == Wnd)
        FHandle = 0;
    return M.Result;
}

void TWinControl::CreateWnd()
{
    TCreateParams P;
    CreateParams(P);
    TCreateWindowParams WP;
    WP.Parent = P.WndParent;
    WP.Style = P.Style;
    WP.ExStyle = P.ExStyle;
    WP.Bounds = TRect::FromSize(P.X, P.Y, P.Width, P.Height);
    WP.Caption = P.Caption;
    WP.WndProc = std::make_shared<TWndProc>(
        [this](HWND H, UINT M, WPARAM W, LPARAM L) { return MainWndProc(H, M, W, L); });
    // The handle is known from WM_CREATE on, so that handlers of that message can use it.
    FHandle = WM().CreateWindowEx(WP);
    if (!FHandle)
        throw EOutOfResources("Error creating window");
    CreateChildHandles();
    // Before CreateHandleDone, which shows a form's window: what the controls change of it
    // holds from its first paint on.
    for (TControl* C : std::vector<TControl*>(FControls))
        if (!dynamic_cast<TWinControl*>(C))
            C->ParentWindowCreated(FHandle);
    CreateHandleDone();
}

void TWinControl::CreateChildHandles()
{
    for (TControl* C : std::vector<TControl*>(FControls))
        if (auto* W = dynamic_cast<TWinControl*>(C))
            W->GetHandle();
}

void TWinControl::DestroyWnd()
{
    const HWND H = FHandle;
    if (H)
        WM().DestroyWindow(H);
    FHandle = 0;
}

void TWinControl::RecreateWnd()
{
    if (!FHandle)
        return;
    DestroyWnd();
    CreateWnd();
}

// ---- Children -------------------------------------------------------------------------------

void TWinControl::InsertControl(TControl* AControl)
{
    FControls.push_back(AControl);
    AControl->FParent = this;
    AControl->RecordAnchorOrigin();
    if (FHandle)
        if (auto* W = dynamic_cast<TWinControl*>(AControl))
            W->GetHandle();
    AControl->Invalidate();
    AlignControls();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    AControl->Invalidate();
    if (FCaptureControl == AControl)
        FCaptureControl = nullptr;
    if (auto* W = dynamic_cast<TWinControl*>(AControl))
        W->DestroyWnd();
    std::erase(FControls, AControl);
    AControl->FParent = nullptr;
    AlignControls();
}

void TWinControl::MoveControlToFront(TControl* AControl)
{
    std::erase(FControls, AControl);
    FControls.push_back(AControl);
    if (auto* W = dynamic_cast<TWinControl*>(AControl); W && W->FHandle)
        WM().SetWindowPos(W->FHandle, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    AControl->Invalidate();
}

TControl* TWinControl::ControlAtPos(TPoint Client, bool AllowDisabled, bool AllowWindowed) const
{
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
        TControl* C = *It;
        if (!AllowWindowed && dynamic_cast<TWinControl*>(C))
            continue;
        if (!C->GetVisible() || (!AllowDisabled && !C->GetEnabled()))
            continue;
        const TPoint Local = Client - TPoint{C->GetLeft(), C->GetTop()};
        if (C->GetBoundsRect().Contains(Client) && C->HitTest(Local))
            return C;
    }
    return nullptr;
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    AlignControls();
}

// ---- Geometry and painting ------------------------------------------------------------------

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    ClampBounds(ALeft, ATop, AWidth, AHeight);
    if (ALeft == GetLeft() && ATop == GetTop() && AWidth == GetWidth() && AHeight == GetHeight())
        return;
    const bool Sized = AWidth != GetWidth() || AHeight != GetHeight();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!FAnchoring)
        RecordAnchorOrigin();
    if (FHandle)
        WM().SetWindowPos(FHandle, 0, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    BoundsChanged();
    if (Sized)
        AlignControls();
    if (GetParent())
        GetParent()->AlignControls();
}

TPoint TWinControl::ClientToScreen(TPoint P) const
{
    if (FHandle)
        return WM().ClientToScreen(FHandle, P);
    return TControl::ClientToScreen(P);
}

void TWinControl::Invalidate()
{
    if (FHandle)
        WM().InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::InvalidateArea(const TRect& Client, bool Erase)
{
    if (FHandle)
        WM().InvalidateRect(FHandle, &Client, Erase);
}

void TWinControl::Update()
{
    if (FHandle)
        WM().UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::VisibleChanged()
{
    if (FHandle)
        WM().ShowWindow(FHandle, GetVisible() ? SW_SHOW : SW_HIDE);
}

void TWinControl::EnabledChanged()
{
    if (FHandle)
        WM().EnableWindow(FHandle, GetEnabled());
}

bool TWinControl::Focused() const
{
    return FHandle && WM().GetFocus() == FHandle;
}

bool TWinControl::CanFocus() const
{
    for (const TControl* C = this; C; C = C->GetParent())
        if (!C->GetVisible() || !C->GetEnabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (CanFocus())
        WM().SetFocus(GetHandle());
}

void TWinControl::PrepareControlCanvas(TCanvas& Canvas, const TPaintContext& Context, TPoint Offset,
                                       const TRect& Limit)
{
    Canvas.SetTarget(*Context.Surface);
    Canvas.SetOrigin(Offset);
    TRegion Clip = Context.ClipRegion;
    Clip.Intersect(Limit);
    Canvas.SetClipRects(Clip.GetRects());
}

void TWinControl::PaintWindow(const TPaintContext& /*Context*/) {}

void TWinControl::PaintControls(const TPaintContext& Context)
{
    for (TControl* C : std::vector<TControl*>(FControls)) {
        auto* G = dynamic_cast<TGraphicControl*>(C);
        if (!G || !G->GetVisible())
            continue;
        const TRect Bounds = G->GetBoundsRect();
        if (Bounds.Intersect(Context.PaintRect).IsEmpty())
            continue;
        const TPoint Offset = Context.Origin + Bounds.TopLeft();
        G->PaintInParent(Context, Offset, Bounds.Offset(Context.Origin.X, Context.Origin.Y));
    }
}

void TWinControl::WMPaint(TMessage& Message)
{
    const TPaintContext C = WM().BeginPaint(FHandle);
    if (C.Surface) {
        PaintWindow(C);
        PaintControls(C);
    }
    WM().EndPaint(FHandle, C);
    Message.Result = 0;
}

void TWinControl::WMEraseBkgnd(TMessage& Message)
{
    if (const TPaintContext* C = WM().GetCurrentPaint(FHandle); C && C->Surface) {
        TCanvas Canvas(*C->Surface);
        PrepareControlCanvas(Canvas, *C, C->Origin,
                             GetClientRect().Offset(C->Origin.X, C->Origin.Y));
        Canvas.GetBrush().SetColor(GetColor());
        Canvas.FillRect(GetClientRect());
    }
    Message.Result = 1;
}

// ---- Messages -------------------------------------------------------------------------------

void TWinControl::SetCaptureControl(TControl* AControl)
{
    FCaptureControl = AControl == this ? nullptr : AControl;
    WM().SetCapture(GetHandle());
}

void TWinControl::ReleaseCaptureControl(TControl* AControl)
{
    if (AControl != this && FCaptureControl != AControl)
        return;
    FCaptureControl = nullptr;
    if (FHandle && WM().GetCapture() == FHandle)
        WM().ReleaseCapture();
}

TControl* TWinControl::MouseTarget(TPoint Client) const
{
    if (FCaptureControl && FCaptureControl->GetParent() == this)
        return FCaptureControl;
    if (WM().GetCapture() != FHandle || !FCaptureControl)
        return ControlAtPos(Client, false);
    return nullptr;
}

bool TWinControl::RouteMouseToControl(TMessage& Message)
{
    const TPoint P{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
    TControl* Target = MouseTarget(P);
    // The pointer takes the shape of the control it is over, or of the one holding it.
    if (Message.Msg == WM_MOUSEMOVE && FHandle)
        WM().SetCursor(FHandle, CursorShapeOf((Target ? Target : this)->GetCursor()));
    if (!Target)
        return false;
    const LPARAM Local = MakeLParam(P.X - Target->GetLeft(), P.Y - Target->GetTop());
    Message.Result = Target->Perform(Message.Msg, Message.WParam, Local);
    return true;
}

void TWinControl::WndProc(TMessage& Message)
{
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST &&
        RouteMouseToControl(Message)) {
        // The window itself still answers, e.g. a right-button release with a context request.
        if (Message.Result == 0 && FHandle)
            WM().DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        return;
    case WM_CAPTURECHANGED:
        FCaptureControl = nullptr;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (FControlStyle.Contains(csShowsFocus))
            Invalidate();
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        WMKey(Message);
        return;
    default:
        break;
    }
    TControl::Dispatch(Message);
}

// ---- Keys ------------------------------------------------------------------------------------

void TWinControl::KeyDown(unsigned& Key, TShiftState Shift)
{
    OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(unsigned& Key, TShiftState Shift)
{
    OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key)
{
    OnKeyPress(this, Key);
}

void TWinControl::WMKey(TMessage& Message)
{
    TWinControl* Form = GetParentForm();
    const bool Preview = Form && Form != this && Form->PreviewsKeys();
    if (Message.Msg == WM_CHAR) {
        char32_t Key = char32_t(Message.WParam);
        if (Preview)
            Form->KeyPress(Key);
        if (Key)
            KeyPress(Key);
        if (!Key) {
            Message.Result = 0;
            return;
        }
        Message.WParam = WPARAM(Key);
        DefaultHandler(Message);
        return;
    }
    unsigned Key = unsigned(Message.WParam);
    const TShiftState Shift = KeyboardShiftState();
    if (Form && Form->MenuKey(Message.Msg, Key, Shift)) {
        Message.Result = 0;
        return;
    }
    const bool Down = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
    if (Preview)
        Down ? Form->KeyDown(Key, Shift) : Form->KeyUp(Key, Shift);
    if (Key)
        Down ? KeyDown(Key, Shift) : KeyUp(Key, Shift);
    if (Key && Down && Form && !(Shift & ssAlt)) {
        // The keys that move between controls belong to the form unless the control asks for them.
        const LRESULT Wants = Perform(WM_GETDLGCODE, Key, 0);
        bool Navigation = false;
        switch (Key) {
        case VK_TAB:
            Navigation = !(Wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS));
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            Navigation = !(Wants & (DLGC_WANTARROWS | DLGC_WANTALLKEYS));
            break;
        case VK_RETURN:
        case VK_ESCAPE:
            Navigation = !(Wants & DLGC_WANTALLKEYS);
            break;
        default:
            break;
        }
        if (Navigation && Form->DialogKey(this, Key, Shift))
            Key = 0;
    }
    if (!Key) {
        Message.Result = 0;
        return;
    }
    Message.WParam = WPARAM(Key);
    DefaultHandler(Message);
}

void TWinControl::AddTabOrder(std::vector<TWinControl*>& List) const
{
    std::vector<TWinControl*> Children;
    for (TControl* C : FControls)
        if (auto* W = dynamic_cast<TWinControl*>(C))
            Children.push_back(W);
    std::stable_sort(Children.begin(), Children.end(), [](TWinControl* A, TWinControl* B) {
        return A->GetTabOrder() < B->GetTabOrder();
    });
    for (TWinControl* W : Children) {
        if (W->GetTabStop())
            List.push_back(W);
        W->AddTabOrder(List);
    }
}

std::vector<TWinControl*> TWinControl::GetTabOrderList() const
{
    std::vector<TWinControl*> List;
    AddTabOrder(List);
    return List;
}

bool TWinControl::SelectNext(TWinControl* Current, bool GoForward)
{
    const std::vector<TWinControl*> List = GetTabOrderList();
    if (List.empty())
        return false;
    const auto Found = std::find(List.begin(), List.end(), Current);
    const std::size_t Count = List.size();
    std::size_t Start =
        Found == List.end() ? (GoForward ? Count - 1 : 0) : std::size_t(Found - List.begin());
    for (std::size_t Step = 1; Step <= Count; ++Step) {
        const std::size_t I = GoForward ? (Start + Step) % Count : (Start + Count - Step) % Count;
        if (List[I]->CanFocus()) {
            List[I]->SetFocus();
            // As the dialog manager does: a box that keeps a selection selects its whole text.
            if (List[I]->Perform(WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                List[I]->Perform(EM_SETSEL, 0, LPARAM(-1));
            return true;
        }
    }
    return false;
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (FHandle) {
        Message.Result = WM().DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    TControl::DefaultHandler(Message);
}
