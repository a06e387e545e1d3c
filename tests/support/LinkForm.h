#pragma once

// The form of the cursor cases on the desktop ports: a borderless 120 x 80 form of the
// application at a screen point, with a link-like label at client (10, 10), 60 x 20, that shows
// the hand cursor; the form's own pointer is the arrow.

#include "base/Point.h"
#include "framework/stdctrls/Label.h"
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"

inline TForm* MakeLinkForm(TApplication& App, TPoint Origin)
{
    auto* Form = new TForm(&App);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(Origin.X, Origin.Y, 120, 80);
    auto* Link = new TLabel(Form);
    Link->SetAutoSize(false);
    Link->SetBounds(10, 10, 60, 20);
    Link->SetCaption("Home page");
    Link->SetCursor(crHandPoint);
    Link->SetParent(Form);
    return Form;
}
