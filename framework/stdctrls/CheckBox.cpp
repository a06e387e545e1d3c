#include "framework/stdctrls/CheckBox.h"

#include "framework/graphics/DisabledText.h"
#include "framework/graphics/Frame3D.h"

namespace {
constexpr int BoxSize = 13;
constexpr int CaptionGap = 4;

// The classic 7 x 7 tick: each column is three pixels tall, starting at this row.
constexpr int TickTop[7] = {2, 3, 4, 3, 2, 1, 0};
} // namespace

TCheckBox::TCheckBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csShowsFocus);
    // Toggling is done here on release, so the generic click would fire OnClick twice.
    FControlStyle.Exclude(csClickEvents);
    FControlStyle.Exclude(csDoubleClicks);
    SetColor(clBtnFace);
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

TCheckBox::~TCheckBox() = default;

void TCheckBox::DeclareClass(TClassDeclaration<TCheckBox>& D)
{
    D.Color("Color", &TCheckBox::GetColor, &TCheckBox::SetColor).Default(clBtnFace);
    D.Boolean("TabStop", &TCheckBox::GetTabStop, &TCheckBox::SetTabStop).Default(1);
    D.Boolean("Checked", &TCheckBox::GetChecked, &TCheckBox::SetChecked);
}

void TCheckBox::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    Invalidate();
    // A description sets the state it was saved with; that is no click.
    if (!IsLoading())
        Click();
}

void TCheckBox::Toggle()
{
    if (GetEnabled())
        SetChecked(!FChecked);
}

// ---- Input ----------------------------------------------------------------------------------

void TCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::Left) {
        if (CanFocus() && !Focused())
            SetFocus();
        FMouseHeld = true;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool Toggles = Button == TMouseButton::Left && FMouseHeld;
    if (Button == TMouseButton::Left)
        FMouseHeld = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Toggles && GetClientRect().Contains({X, Y}))
        Toggle();
}

void TCheckBox::KeyDown(unsigned& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && !(Shift & (ssCtrl | ssAlt))) {
        FSpaceHeld = true;
        Key = 0;
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TCheckBox::KeyUp(unsigned& Key, TShiftState Shift)
{
    // Windows toggles on the release, and only for a press it saw.
    if (Key == VK_SPACE && FSpaceHeld) {
        FSpaceHeld = false;
        Key = 0;
        Toggle();
        return;
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TCheckBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_BUTTON;
        return;
    case WM_KILLFOCUS:
        FSpaceHeld = false;
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

// ---- Painting -------------------------------------------------------------------------------

void TCheckBox::Paint()
{
    TCanvas& Canvas = GetCanvas();
    const TRect Client = FillClient();
    TBrush& Brush = Canvas.GetBrush();

    const int BoxTop = (Client.Height() - BoxSize) / 2;
    TRect Box = TRect::FromSize(0, BoxTop, BoxSize, BoxSize);
    Frame3D(Canvas, Box, clBtnShadow, clBtnHighlight, 1);
    Frame3D(Canvas, Box, cl3DDkShadow, clBtnFace, 1);
    Brush.SetColor(GetEnabled() ? clWindow : clBtnFace);
    Canvas.FillRect(Box);
    if (FChecked) {
        Brush.SetColor(GetEnabled() ? clWindowText : clGrayText);
        for (int I = 0; I < 7; ++I)
            Canvas.FillRect(TRect::FromSize(Box.Left + 1 + I, Box.Top + 1 + TickTop[I], 1, 3));
    }

    Canvas.SetFont(GetFont());
    Brush.SetStyle(TBrushStyle::bsClear);
    const TSize Extent = Canvas.TextExtent(GetCaption());
    const int X = BoxSize + CaptionGap;
    const int Y = (Client.Height() - Extent.Height) / 2;
    if (GetEnabled()) {
        Canvas.TextRect(Client, X, Y, GetCaption());
    } else {
        PaintDisabledText(Canvas, Client, X, Y, GetCaption());
    }
    if (Focused())
        Canvas.DrawFocusRect(
            TRect{X - 1, Y - 1, X + Extent.Width + 1, Y + Extent.Height + 1}.Intersect(Client));
}
