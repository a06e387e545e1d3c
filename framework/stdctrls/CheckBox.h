#pragma once

#include "framework/windows/CustomControl.h"

// A check box in the classic look: a sunken 13 x 13 box at the left, vertically centred, with a
// tick when Checked, and the caption after it. A left press and release inside it, or Space
// released while it has the focus, toggles Checked. Changing Checked, from code too, repaints and
// fires OnClick, as the classic framework does; nothing toggles while it is disabled.
class TCheckBox : public TCustomControl
{
    PUBLISHED_CLASS(TCheckBox, TCustomControl)

    explicit TCheckBox(TComponent* AOwner);
    ~TCheckBox() override;

    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);
    // Checked the other way round, when the box is enabled.
    void Toggle();

    static void DeclareClass(TClassDeclaration<TCheckBox>& D);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void KeyUp(unsigned& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    void EnabledChanged() override { Invalidate(); }

private:
    bool FChecked = false;
    bool FMouseHeld = false;
    bool FSpaceHeld = false;
};
