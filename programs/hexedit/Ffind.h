#pragma once

#include "framework/windows/Form.h"
#include "hexedit/Hexcontrol.h"

#include <string>

class TButton;
class TCheckBox;
class TEdit;
class TLabel;
class TRadioGroup;

// What to look for, as the Find dialog asks it and THexEditor::FindFirst takes it.
struct TFindRequest
{
    std::string Text;
    int Mode = THexEditor::SearchCharacters;
    bool MatchCase = false;
    bool FromCursor = false;

    // The editor's search flags; case only counts when searching for characters.
    int Flags() const;
};

// The Find dialog: the text, what it stands for (characters, a decimal number or hexadecimal
// bytes), Match case (characters only), From cursor, Find and Cancel. Find is enabled only while
// the text holds more than blanks; a number or byte text the editor could not read is refused
// with a message and the dialog stays open.
class TFormFind : public TForm
{
    PUBLISHED_CLASS(TFormFind, TForm)

    explicit TFormFind(TComponent* AOwner);

    // Shows the dialog filled from Request (the last search) over the main form. True, with
    // Request updated, when the user chose Find; false, with Request untouched, on Cancel.
    static bool Execute(TFindRequest& Request);

    TLabel* LabelFindWhat = nullptr;
    TEdit* EditFindWhat = nullptr;
    TRadioGroup* RadioGroupMode = nullptr;
    TCheckBox* CheckBoxMatchCase = nullptr;
    TCheckBox* CheckBoxFromCursor = nullptr;
    TButton* ButtonFind = nullptr;
    TButton* ButtonCancel = nullptr;

    void SetRequest(const TFindRequest& Request);
    TFindRequest GetRequest() const;

    void EditFindWhatChange(TObject* Sender);
    void RadioGroupModeClick(TObject* Sender);
    void ButtonFindClick(TObject* Sender);

    static void DeclareClass(TClassDeclaration<TFormFind>& D);

private:
    void UpdateControls();
};
