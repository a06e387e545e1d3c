#include "framework/stdctrls/Button.h"

#include "framework/graphics/DisabledText.h"
#include "framework/graphics/Frame3D.h"
#include "framework/windows/Form.h"

namespace {
TWindowManager& WM()
{
    return TWindowManager::Get();
}

// The default button's frame follows the focus between buttons: repaint them all.
void InvalidateButtons(TWinControl& Parent)
{
    for (int I = 0; I < Parent.GetControlCount(); ++I) {
        auto* W = dynamic_cast<TWinControl*>(Parent.GetControl(I));
        if (!W)
            continue;
        if (dynamic_cast<TButton*>(W))
            W->Invalidate();
        InvalidateButtons(*W);
    }
}
} // namespace

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    FControlStyle.Exclude(csDoubleClicks);
    SetColor(clBtnFace);
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

TButton::~TButton() = default;

void TButton::DeclareClass(TClassDeclaration<TButton>& D)
{
    D.Color("Color", &TButton::GetColor, &TButton::SetColor).Default(clBtnFace);
    D.Boolean("TabStop", &TButton::GetTabStop, &TButton::SetTabStop).Default(1);
    D.Boolean("Default", &TButton::GetDefault, &TButton::SetDefault);
    D.Boolean("Cancel", &TButton::GetCancel, &TButton::SetCancel);
    D.Integer("ModalResult", &TButton::GetModalResult, &TButton::SetModalResult);
}

void TButton::SetDefault(bool Value)
{
    if (FDefault == Value)
        return;
    FDefault = Value;
    Invalidate();
}

void TButton::SetPushed(bool Value)
{
    if (FPushed == Value)
        return;
    FPushed = Value;
    Repaint();
}

bool TButton::IsActive() const
{
    if (Focused())
        return true;
    if (!FDefault)
        return false;
    // Only a focused push button takes Enter for itself; with a check box or a radio group
    // focused, Enter is the default button's, as in a Windows dialog.
    const HWND Focus = WM().GetFocus();
    return !Focus || !(WM().SendMessage(Focus, WM_GETDLGCODE, 0, 0) &
                       (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
}

void TButton::Click()
{
    if (FModalResult != 0)
        if (auto* Form = dynamic_cast<TForm*>(GetParentForm()))
            Form->SetModalResult(FModalResult);
    TCustomControl::Click();
}

// ---- Input ----------------------------------------------------------------------------------

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::Left) {
        if (CanFocus() && !Focused())
            SetFocus();
        FMouseHeld = true;
        SetPushed(true);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FMouseHeld)
        SetPushed(GetClientRect().Contains({X, Y}));
    TCustomControl::MouseMove(Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::Left && FMouseHeld) {
        FMouseHeld = false;
        SetPushed(FSpaceHeld);
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TButton::KeyDown(unsigned& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && !(Shift & (ssCtrl | ssAlt))) {
        FSpaceHeld = true;
        SetPushed(true);
        Key = 0;
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TButton::KeyUp(unsigned& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && FSpaceHeld) {
        FSpaceHeld = false;
        SetPushed(FMouseHeld);
        Key = 0;
        Click();
        return;
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_BUTTON | (IsActive() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return;
    case CM_DIALOGKEY: {
        const unsigned Key = unsigned(Message.WParam);
        if (((Key == VK_RETURN && IsActive()) || (Key == VK_ESCAPE && FCancel)) && CanFocus()) {
            Click();
            Message.Result = 1;
        } else {
            Message.Result = 0;
        }
        return;
    }
    case WM_KILLFOCUS:
        if (FSpaceHeld) {
            FSpaceHeld = false;
            SetPushed(FMouseHeld);
        }
        [[fallthrough]];
    case WM_SETFOCUS:
        if (TWinControl* Form = GetParentForm())
            InvalidateButtons(*Form);
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

// ---- Painting -------------------------------------------------------------------------------

void TButton::Paint()
{
    TCanvas& Canvas = GetCanvas();
    TRect R = GetClientRect();
    TBrush& Brush = Canvas.GetBrush();
    Brush.SetStyle(TBrushStyle::bsSolid);
    if (IsActive() || FPushed) {
        Brush.SetColor(clWindowFrame);
        Canvas.FrameRect(R);
        R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    }
    if (FPushed) {
        Brush.SetColor(clBtnShadow);
        Canvas.FrameRect(R);
        R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    } else {
        Frame3D(Canvas, R, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(Canvas, R, cl3DLight, clBtnShadow, 1);
    }
    Brush.SetColor(GetColor());
    Canvas.FillRect(R);

    const TRect Client = GetClientRect();
    Canvas.SetFont(GetFont());
    Brush.SetStyle(TBrushStyle::bsClear);
    const TSize Extent = Canvas.TextExtent(GetCaption());
    const int Shift = FPushed ? 1 : 0;
    const int X = (Client.Width() - Extent.Width) / 2 + Shift;
    const int Y = (Client.Height() - Extent.Height) / 2 + Shift;
    if (GetEnabled()) {
        Canvas.TextRect(R, X, Y, GetCaption());
    } else {
        PaintDisabledText(Canvas, R, X, Y, GetCaption());
    }
    if (Focused())
        Canvas.DrawFocusRect(
            {Client.Left + 4, Client.Top + 4, Client.Right - 4, Client.Bottom - 4});
}
