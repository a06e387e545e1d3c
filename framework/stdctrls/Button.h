#pragma once

#include "framework/windows/CustomControl.h"

// A push button in the classic look. A left press and release inside it, Space while it has the
// focus, Enter while it has the focus or (as the form's Default button) while another control
// that is no button has it, and Escape for the Cancel button all make a click. A click gives the
// form the button's ModalResult when that is not zero, which ends a modal form.
class TButton : public TCustomControl
{
    PUBLISHED_CLASS(TButton, TCustomControl)

    explicit TButton(TComponent* AOwner);
    ~TButton() override;

    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    bool GetCancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int GetModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    // Drawn pushed in: the left button or Space is held on it.
    bool GetPushed() const { return FPushed; }

    void Click() override;

    static void DeclareClass(TClassDeclaration<TButton>& D);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void KeyUp(unsigned& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;

private:
    void SetPushed(bool Value);
    // Enter clicks this button: it has the focus, or it is the default and no button has it.
    bool IsActive() const;

    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
    bool FPushed = false;
    bool FMouseHeld = false;
    bool FSpaceHeld = false;
};
