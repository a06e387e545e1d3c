#include "app/Fnixieconfig.h"

#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CheckBox.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/RadioGroup.h"

void TFormNixieConfig::DeclareClass(TClassDeclaration<TFormNixieConfig>& D)
{
    D.RegisterMethod("ButtonOkClick", &TFormNixieConfig::ButtonOkClick);
    D.RegisterMethod("ButtonCancelClick", &TFormNixieConfig::ButtonCancelClick);
}

TFormNixieConfig::TFormNixieConfig(TComponent* AOwner) : TForm(AOwner)
{
    RegisterStandardControls();
    ReadDescription();
    CheckBox24Hour = FindPart<TCheckBox>("CheckBox24Hour");
    CheckBoxAutoLoad = FindPart<TCheckBox>("CheckBoxAutoLoad");
    CheckBoxOnTop = FindPart<TCheckBox>("CheckBoxOnTop");
    CheckBoxShowTitle = FindPart<TCheckBox>("CheckBoxShowTitle");
    CheckBoxHideTask = FindPart<TCheckBox>("CheckBoxHideTask");
    RadioGroupType = FindPart<TRadioGroup>("RadioGroupType");
    RadioGroupVfdColor = FindPart<TRadioGroup>("RadioGroupVfdColor");
    ButtonOk = FindPart<TButton>("ButtonOk");
    ButtonCancel = FindPart<TButton>("ButtonCancel");
    DoCreate();
}

void TFormNixieConfig::ButtonOkClick(TObject*)
{
    SetModalResult(mrOk);
}

void TFormNixieConfig::ButtonCancelClick(TObject*)
{
    SetModalResult(mrCancel);
}
