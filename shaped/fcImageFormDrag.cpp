// The drag of TfcCustomImageForm: the hook's view of the form's messages, the nested loop that
// owns the mouse while the left button is down on the picture, and the two ways of moving the
// form (an XOR outline that the form jumps to at the release, or the form itself, live).
#include "framework/objects/SysUtils.h"
#include "framework/windows/Form.h"
#include "framework/windows/Screen.h"
#include "shaped/fcImageForm.h"

#include <cstdlib>

namespace {

TWindowManager& WM()
{
    return TWindowManager::Get();
}

constexpr UINT SwpMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE; // 0x15

bool IsMdiChild(const TWinControl* Form)
{
    const auto* F = dynamic_cast<const TForm*>(Form);
    return F && F->GetFormStyle() == fsMDIChild;
}

TRect Shrink(const TRect& R)
{
    return {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
}

} // namespace

void TfcCustomImageForm::AfterFormMessage(TMessage& Message)
{
    if (IsDesigning())
        return;
    if (Message.Msg == WM_DESTROY) {
        ClearRegion();
        return;
    }
    if (Message.Msg != WM_LBUTTONDOWN || !GetParent())
        return;
    const int X = GetXLParam(Message.LParam);
    const int Y = GetYLParam(Message.LParam);
    TControl* Hit = GetParent()->ControlAtPos({X, Y}, true);
    if (!Hit)
        return;
    const bool Drags = FCaptionBarControl
                           ? Hit == FCaptionBarControl ||
                                 (!Hit->OnClick.Assigned() && !Hit->OnMouseDown.Assigned())
                           : Hit == this;
    if (Drags)
        DragMouseDown(TMouseButton::Left, KeysToShiftState(Message.WParam & 0xFFFF), X, Y);
}

void TfcCustomImageForm::DragMouseDown(TMouseButton /*Button*/, TShiftState Shift, int X, int Y)
{
    if (FCaptionBarControl && !FCaptionBarControl->GetBoundsRect().Contains({X, Y}))
        return;
    TWinControl* Form = GetParent();
    if (!Form)
        return;
    if (Shift & ssLeft) {
        if (IsMdiChild(Form)) {
            const TPoint S = ClientToScreen({X, Y});
            X = S.X - Form->GetLeft();
            Y = S.Y - Form->GetTop();
        }
        DragLoop(X, Y);
    } else {
        WM().SendMessage(GetFormWindow(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    }
}

void TfcCustomImageForm::DragLoop(int X, int Y)
{
    TWinControl* Form = GetParent();
    if (!Form)
        return;
    bool FirstMove = true;
    const TRect FormBounds = Form->GetBoundsRect();
    TRect DragRect(0, 0, 0, 0);
    const HWND Window = Form->GetHandle();

    // However the loop ends, the capture goes; and when it ends without the button coming up,
    // the drag is called off: an outline still on the screen is erased and nothing moves, so
    // that the next press starts clean.
    struct TFinish
    {
        TfcCustomImageForm& Self;
        HWND Window;
        const bool& FirstMove;
        bool Released = false;
        ~TFinish()
        {
            if (!Released && Self.FDragging) {
                if (!FirstMove)
                    Self.DrawDragOutline(Self.FLastOutline);
                Self.FDragging = false;
            }
            if (WM().GetCapture() == Window)
                WM().ReleaseCapture();
        }
    } Finish{*this, Window, FirstMove};

    WM().SetCapture(Window);
    TMsg Msg;
    while (WM().GetCapturedMessage(Window, Msg)) {
        // Read once the message is in hand, so that the position is never older than it.
        const TPoint Pointer = Screen().GetCursorPos();
        if (Msg.Message == WM_MOUSEMOVE) {
            DragMouseMove(X, Y, Pointer, FirstMove, DragRect, FormBounds);
        } else if (Msg.Message == WM_LBUTTONUP) {
            Finish.Released = true;
            DragMouseUp(X, Y, Pointer, FormBounds, DragRect);
            // Moving the form let the capture go, and the release lies where the form was: it
            // still belongs to this control, which took the press, so that OnMouseUp ends what
            // OnMouseDown began wherever the pointer now is.
            if (WM().GetCapture() != Window)
                SetMouseCapture(true);
            WM().TranslateMessage(Msg);
            WM().DispatchMessage(Msg);
            if (WM().GetCapture() == Window)
                WM().ReleaseCapture();
        } else {
            WM().TranslateMessage(Msg);
            WM().DispatchMessage(Msg);
        }
    }
}

void TfcCustomImageForm::DragMouseMove(int X, int Y, TPoint Pointer, bool& FirstMove,
                                       TRect& DragRect, const TRect& /*FormBounds*/)
{
    TWinControl* Form = GetParent();
    if (!Form)
        return;
    // The press point on the screen now: in a live drag it travels with the form.
    const TPoint P = Form->ClientToScreen({X, Y});
    if (std::abs(Pointer.X - P.X) <= FDragTolerance && std::abs(Pointer.Y - P.Y) <= FDragTolerance)
        return;
    const HWND Window = GetFormWindow();
    if (UseFullWindowDrag()) {
        FDragging = true;
        // Catch up with the pointer once instead of following a backlog of movements.
        Pause(10);
        TMsg Pending;
        while (WM().PeekMessage(Pending, Window, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
        }
        const TPoint Now = Screen().GetCursorPos();
        WM().SetWindowPos(Window, 0, Now.X - X, Now.Y - Y, 0, 0, SwpMoveOnly);
        return;
    }
    if (FirstMove)
        FDragging = true;
    else
        DrawDragOutline(FLastOutline);
    const int Width = Form->GetWidth();
    const int Height = Form->GetHeight();
    DragRect = TRect::FromSize(Pointer.X - X, Pointer.Y - Y, Width, Height);
    TRect Outline = DragRect;
    if (IsMdiChild(Form)) {
        const TPoint O = Form->ClientToScreen({0, 0});
        Outline.Left = O.X + DragRect.Left - Form->GetLeft();
        Outline.Top = O.Y + DragRect.Top - Form->GetTop();
        Outline.Right = Outline.Left + Width;
        Outline.Bottom = Outline.Top + Height;
    }
    DrawDragOutline(Outline);
    FLastOutline = Outline;
    FirstMove = false;
}

void TfcCustomImageForm::DragMouseUp(int /*X*/, int /*Y*/, TPoint /*Pointer*/,
                                     const TRect& /*FormBounds*/, const TRect& DragRect)
{
    if (!FDragging)
        return;
    FDragging = false;
    if (UseFullWindowDrag())
        return;
    DrawDragOutline(FLastOutline);
    const HWND Window = GetFormWindow();
    WM().SetWindowPos(Window, 0, DragRect.Left, DragRect.Top, 0, 0, SwpMoveOnly | SWP_SHOWWINDOW);
    if (WM().GetCapture() == Window)
        WM().ReleaseCapture();
}

bool TfcCustomImageForm::UseFullWindowDrag()
{
    return GetOptions().Contains(ifUseWindowsDrag) && Screen().GetFullWindowDrag();
}

void TfcCustomImageForm::DrawDragOutline(const TRect& Rect)
{
    // Three dotted XOR frames, each one pixel inside the last: drawing them again erases them.
    TRect R = Rect;
    for (int I = 0; I < 3; ++I) {
        Screen().InvertFrame(R, 1);
        R = Shrink(R);
    }
}
