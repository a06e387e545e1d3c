#include "app/Fnixstart.h"

#include "app/Fnixie.h"

TFormNixieStart::TFormNixieStart(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsNone);
    SetCaption("Start");
    SetColor(clBlack);
    SetBounds(GetLeft(), GetTop(), 218, 58);
}

TFormNixieStart::~TFormNixieStart()
{
    if (FormNixieStart == this)
        FormNixieStart = nullptr;
}
