#include "framework/windows/Control.h"

#include "base/Exception.h"
#include "framework/windows/WinControl.h"
#include "framework/windows/WindowManager.h"

#include <initializer_list>

TCursorShape CursorShapeOf(TCursor Cursor)
{
    switch (Cursor) {
    case crIBeam:
        return TCursorShape::IBeam;
    case crHourGlass:
        return TCursorShape::Wait;
    case crHandPoint:
        return TCursorShape::Hand;
    case crSizeAll:
        return TCursorShape::SizeAll;
    default:
        return TCursorShape::Arrow;
    }
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
    FFont.SetOnChange([this](auto*) { FontChanged(); });
}

TControl::~TControl()
{
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::DeclareClass(TClassDeclaration<TControl>& D)
{
    D.Integer("Left", &TControl::GetLeft, &TControl::SetLeft).AlwaysStored();
    D.Integer("Top", &TControl::GetTop, &TControl::SetTop).AlwaysStored();
    D.Integer("Width", &TControl::GetWidth, &TControl::SetWidth).AlwaysStored();
    D.Integer("Height", &TControl::GetHeight, &TControl::SetHeight).AlwaysStored();
    D.Enumeration<TAlign>("Align", &TControl::GetAlign, &TControl::SetAlign,
                          {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
    D.Set<TAnchors>("Anchors", &TControl::GetAnchors, &TControl::SetAnchors,
                    {"akLeft", "akTop", "akRight", "akBottom"})
        .Default(std::int64_t(TAnchors{akLeft, akTop}.GetBits()));
    D.Boolean("Visible", &TControl::GetVisible, &TControl::SetVisible).Default(1);
    D.Boolean("Enabled", &TControl::GetEnabled, &TControl::SetEnabled).Default(1);
    D.String("Caption", &TControl::GetCaption, &TControl::SetCaption);
    D.Color("Color", &TControl::GetColor, &TControl::SetColor).Default(clWindow);
    D.Persistent("Font", [](TControl& C) -> TFont& { return C.GetFont(); });
    D.Boolean("ShowHint", &TControl::GetShowHint, &TControl::SetShowHint);
    D.String("Hint", &TControl::GetHint, &TControl::SetHint);
    D.Integer("Cursor", &TControl::GetCursor, &TControl::SetCursor)
        .Idents({{crArrow, "crArrow"},
                 {crIBeam, "crIBeam"},
                 {crHourGlass, "crHourGlass"},
                 {crHandPoint, "crHandPoint"},
                 {crSizeAll, "crSizeAll"}});
    D.Integer("Tag", &TControl::GetTag, &TControl::SetTag);
    D.Event("OnMouseDown", &TControl::OnMouseDown);
    D.Event("OnMouseMove", &TControl::OnMouseMove);
    D.Event("OnMouseUp", &TControl::OnMouseUp);
    D.Event("OnClick", &TControl::OnClick);
    D.Event("OnDblClick", &TControl::OnDblClick);
    D.Event("OnContextPopup", &TControl::OnContextPopup);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (FParent == AParent)
        return;
    if (AParent == static_cast<TControl*>(this))
        throw EComponentError("A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const
{
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value)
{
    // A control described inside one that cannot hold controls (a graphic control, a timer) goes
    // where that one is, or else to its owner: left without a parent it would be written back
    // beside its owner's other controls, and read from there into a parent after all.
    if (auto* W = dynamic_cast<TWinControl*>(Value))
        SetParent(W);
    else if (auto* C = dynamic_cast<TControl*>(Value); C && C->GetParent())
        SetParent(C->GetParent());
    else if (auto* O = dynamic_cast<TWinControl*>(GetOwner()))
        SetParent(O);
}

void TControl::ClampBounds(int& ALeft, int& ATop, int& AWidth, int& AHeight)
{
    for (int* Value : {&ALeft, &ATop, &AWidth, &AHeight})
        *Value = ClampWindowCoord(*Value);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    ClampBounds(ALeft, ATop, AWidth, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    if (FParent && FVisible)
        Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!FAnchoring)
        RecordAnchorOrigin();
    BoundsChanged();
    if (FParent && FVisible)
        Invalidate();
    if (FParent)
        FParent->AlignControls();
}

// Done wide: a client size near the int range plus a frame must clamp, not wrap.
void TControl::SetClientWidth(int Value)
{
    SetWidth(ClampWindowSize(std::int64_t(Value) + FWidth - GetClientWidth()));
}
void TControl::SetClientHeight(int Value)
{
    SetHeight(ClampWindowSize(std::int64_t(Value) + FHeight - GetClientHeight()));
}

TPoint TControl::ClientToScreen(TPoint P) const
{
    if (!FParent)
        return P + TPoint{FLeft, FTop};
    return FParent->ClientToScreen(P + TPoint{FLeft, FTop});
}

TPoint TControl::ScreenToClient(TPoint P) const
{
    return P - ClientToScreen({0, 0});
}

void TControl::SetAlign(TAlign Value)
{
    if (FAlign == Value)
        return;
    FAlign = Value;
    if (FParent)
        FParent->AlignControls();
}

void TControl::SetAnchors(TAnchors Value)
{
    if (FAnchors == Value)
        return;
    FAnchors = Value;
    RecordAnchorOrigin();
}

void TControl::RecordAnchorOrigin()
{
    FAnchorOrigin = GetBoundsRect();
    if (FParent) {
        const TRect Client = FParent->GetClientRect();
        FAnchorParentSize = {Client.Width(), Client.Height()};
    } else {
        FAnchorParentSize = {-1, -1};
    }
}

void TControl::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    if (FVisible && FParent)
        Invalidate();
    FVisible = Value;
    VisibleChanged();
    if (FVisible && FParent)
        Invalidate();
    if (FParent)
        FParent->AlignControls();
}

void TControl::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    EnabledChanged();
    Invalidate();
}

void TControl::SetColor(TColor Value)
{
    if (FColor == Value)
        return;
    FColor = Value;
    Invalidate();
}

void TControl::SetCaption(const std::string& Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    Invalidate();
}

void TControl::FontChanged()
{
    Invalidate();
}

TWinControl* TControl::GetParentForm() const
{
    const TControl* C = this;
    while (C->FParent)
        C = C->FParent;
    auto* W = dynamic_cast<const TWinControl*>(C);
    return W && W->IsTopLevelControl() ? const_cast<TWinControl*>(W) : nullptr;
}

void TControl::Invalidate()
{
    if (!FParent || !FVisible)
        return;
    const TRect R = GetBoundsRect();
    FParent->InvalidateArea(R, !FControlStyle.Contains(csOpaque));
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    if (FParent)
        FParent->MoveControlToFront(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM W, LPARAM L)
{
    TMessage M{Msg, W, L, 0};
    WndProc(M);
    return M.Result;
}

void TControl::WndProc(TMessage& Message)
{
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
        HandleMouseMessage(Message);
        return;
    }
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_CONTEXTMENU) {
        TPoint P{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
        if (!(P.X == -1 && P.Y == -1))
            P = ScreenToClient(P);
        if (DoContextPopup(P)) {
            Message.Result = 1;
            return;
        }
    }
    DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage& Message)
{
    // A graphic control has no window: an unhandled context request goes to its parent.
    if (Message.Msg == WM_CONTEXTMENU && FParent) {
        Message.Result = FParent->Perform(Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    Message.Result = 0;
}

void TControl::HandleMouseMessage(TMessage& Message)
{
    const int X = GetXLParam(Message.LParam);
    const int Y = GetYLParam(Message.LParam);
    TShiftState Shift = KeysToShiftState(Message.WParam);
    TMouseButton Button = TMouseButton::None;
    bool Down = false;
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        MouseMove(Shift, X, Y);
        return;
    case WM_LBUTTONDBLCLK:
        Shift |= ssDouble;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        Button = TMouseButton::Left;
        Down = true;
        break;
    case WM_RBUTTONDBLCLK:
        Shift |= ssDouble;
        [[fallthrough]];
    case WM_RBUTTONDOWN:
        Button = TMouseButton::Right;
        Down = true;
        break;
    case WM_MBUTTONDBLCLK:
        Shift |= ssDouble;
        [[fallthrough]];
    case WM_MBUTTONDOWN:
        Button = TMouseButton::Middle;
        Down = true;
        break;
    case WM_LBUTTONUP:
        Button = TMouseButton::Left;
        break;
    case WM_RBUTTONUP:
        Button = TMouseButton::Right;
        break;
    case WM_MBUTTONUP:
        Button = TMouseButton::Middle;
        break;
    default:
        Dispatch(Message);
        return;
    }
    if (Down) {
        if (Button == TMouseButton::Left) {
            FControlState.Include(csLButtonDown);
            FControlState.Include(csClicked);
            if (FControlStyle.Contains(csCaptureMouse))
                SetMouseCapture(true);
        }
        if ((Shift & ssDouble) && Button == TMouseButton::Left)
            DblClick();
        MouseDown(Button, Shift, X, Y);
    } else {
        const bool WasDown = FControlState.Contains(csLButtonDown);
        if (Button == TMouseButton::Left) {
            FControlState.Exclude(csLButtonDown);
            SetMouseCapture(false);
        }
        MouseUp(Button, Shift, X, Y);
        if (Button == TMouseButton::Left && WasDown && FControlStyle.Contains(csClickEvents) &&
            GetClientRect().Contains({X, Y}) && FControlState.Contains(csClicked)) {
            FControlState.Exclude(csClicked);
            Click();
        }
    }
    // Windowed controls pass the message on, so that the default procedure can answer a
    // right-button release with a context-menu request.
    Dispatch(Message);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click()
{
    OnClick(this);
}
void TControl::DblClick()
{
    OnDblClick(this);
}

void TControl::SetMouseCapture(bool Value)
{
    auto* W = dynamic_cast<TWinControl*>(this);
    TWinControl* Holder = W ? W : FParent;
    if (!Holder)
        return;
    if (Value)
        Holder->SetCaptureControl(this);
    else
        Holder->ReleaseCaptureControl(this);
}

bool TControl::DoContextPopup(TPoint MousePos)
{
    bool Handled = false;
    OnContextPopup(this, MousePos, Handled);
    return Handled;
}
