#pragma once

#include "framework/windows/Form.h"

class TCheckBox;
class TRadioGroup;
class TButton;

// The settings dialog: five check boxes, the style and VFD colour groups, Ok and Cancel. It knows
// nothing of the clock; the clock's settings command fills it and reads it back.
class TFormNixieConfig : public TForm
{
    PUBLISHED_CLASS(TFormNixieConfig, TForm)

    explicit TFormNixieConfig(TComponent* AOwner);

    TCheckBox* CheckBox24Hour = nullptr;
    TCheckBox* CheckBoxAutoLoad = nullptr;
    TCheckBox* CheckBoxOnTop = nullptr;
    TCheckBox* CheckBoxShowTitle = nullptr;
    TCheckBox* CheckBoxHideTask = nullptr;
    TRadioGroup* RadioGroupType = nullptr;
    TRadioGroup* RadioGroupVfdColor = nullptr;
    TButton* ButtonOk = nullptr;
    TButton* ButtonCancel = nullptr;

    void ButtonOkClick(TObject* Sender);
    void ButtonCancelClick(TObject* Sender);

    static void DeclareClass(TClassDeclaration<TFormNixieConfig>& D);
};
