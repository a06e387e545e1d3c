#include "app/Fnixstart.h"

TFormNixieStart::TFormNixieStart(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsNone);
    SetCaption("Start");
    SetColor(clBlack);
    SetBounds(GetLeft(), GetTop(), 218, 58);
}
