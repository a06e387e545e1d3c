#include "app/Fnixieconfig.h"

TFormNixieConfig::TFormNixieConfig(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsDialog);
    SetCaption("Nixie Clock Settings");
}
