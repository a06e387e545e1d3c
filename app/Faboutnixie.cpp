#include "app/Faboutnixie.h"

TFormAboutNixie::TFormAboutNixie(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsDialog);
    SetCaption("About Velmora's Nixie Clock");
}
