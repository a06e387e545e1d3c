#include "app/Formutil.h"

#include "framework/windows/Form.h"
#include "framework/windows/Screen.h"

#include <algorithm>
#include <cstdlib>

void PlaceNearForm(TForm* Reference, TForm* Form)
{
    if (!Reference || !Form)
        return;
    // A bordered form knows its outer size only once its window (and so its frame) exists.
    Form->HandleNeeded();
    if (Reference->GetFormStyle() != fsStayOnTop)
        CenterOverForm(Reference, Form);
    else if (Reference->GetTop() > Form->GetHeight())
        PlaceAboveForm(Reference, Form, 10);
    else
        PlaceBelowForm(Reference, Form, 10);
}

void CenterOverForm(TForm* Reference, TForm* Form)
{
    if (!Reference || !Form)
        return;
    Form->HandleNeeded();
    const int Rl = Reference->GetLeft(), Rt = Reference->GetTop();
    const int Rw = Reference->GetWidth(), Rh = Reference->GetHeight();
    const int Fw = Form->GetWidth(), Fh = Form->GetHeight();
    const int Sw = Screen().GetWidth(), Sh = Screen().GetHeight();
    // Each edge is set as soon as it is known, and the next step reads it back from the form.
    Form->SetTop(Rt + (Rh - Fh) / 2);
    Form->SetLeft(Rl + (Rw - Fw) / 2);
    if (Form->GetTop() < 0)
        Form->SetTop(0);
    if (Form->GetLeft() < 0)
        Form->SetLeft(0);
    if (std::abs(Rw - Fw) < 10)
        Form->SetLeft(Form->GetLeft() + 15);
    if (std::abs(Rh - Fh) < 10)
        Form->SetTop(Form->GetTop() + 15);
    if (Form->GetTop() + Fh >= Sh - 50)
        Form->SetTop(Sh - Fh - 50);
    if (Form->GetLeft() + Fw >= Sw)
        Form->SetLeft(Sw - Fw);
}

void PlaceAboveForm(TForm* Reference, TForm* Form, int Gap)
{
    if (!Reference || !Form)
        return;
    CenterOverForm(Reference, Form);
    Form->SetTop(std::max(0, Reference->GetTop() - Form->GetHeight() - Gap));
}

void PlaceBelowForm(TForm* Reference, TForm* Form, int Gap)
{
    if (!Reference || !Form)
        return;
    CenterOverForm(Reference, Form);
    Form->SetTop(std::min(Reference->GetTop() + Reference->GetHeight() + Gap,
                          Screen().GetHeight() - Form->GetHeight()));
}
