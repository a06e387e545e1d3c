#pragma once

#include "base/Rect.h"
#include "framework/objects/ClassDeclaration.h"
#include "framework/objects/Component.h"
#include "framework/windows/Messages.h"
#include "framework/windows/ShiftState.h"

class TForm;

// The menu a form shows across the top of its client area. The form tells it when it starts or
// stops showing it, leaves it the band at the top of the client area, and offers it every key
// event of its controls before the focused control sees it.
class TFormMenu : public TComponent
{
    PUBLISHED_CLASS(TFormMenu, TComponent)

    explicit TFormMenu(TComponent* AOwner) : TComponent(AOwner) {}

    // Shows the menu in Form, or takes it away (null).
    virtual void SetForm(TForm* Form) = 0;
    // The height of the band the menu takes (0 while it shows nothing).
    virtual int GetBarHeight() const = 0;
    // Lays the menu out over the top of Client, the form's whole client area.
    virtual void PlaceBar(const TRect& Client) = 0;
    // A key event of the form (WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP or WM_SYSKEYUP): true when
    // the menu used it, and nobody else may.
    virtual bool MenuKey(UINT Msg, unsigned Key, TShiftState Shift) = 0;
};
