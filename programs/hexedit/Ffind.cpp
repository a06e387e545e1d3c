#include "programs/hexedit/Ffind.h"

#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CheckBox.h"
#include "framework/stdctrls/Edit.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/RadioGroup.h"
#include "framework/windows/Application.h"
#include "programs/hexedit/HexEditClasses.h"
#include "programs/hexedit/HexEditText.h"

#include <memory>

namespace {

// The editor reads any text in these modes, a mistyped one as some other number or as no bytes
// at all: only texts that mean what they say go through. Empty when Text is fine, else the reason.
std::string Complaint(const std::string& Text, int Mode)
{
    const std::string T = TrimBlanks(Text);
    if (Mode == THexEditor::SearchDecimal) {
        // A sign takes decimal digits right after it, and a negative number is its 32-bit
        // complement.
        const bool Signed = !T.empty() && (T[0] == '-' || T[0] == '+');
        const std::optional<std::uint64_t> Value =
            Signed && (T.size() < 2 || T[1] < '0' || T[1] > '9')
                ? std::nullopt
                : ReadWholeNumber(Signed ? T.substr(1) : T, 10, !Signed);
        if (Value && *Value <= (Signed && T[0] == '-' ? 0x80000000u : 0xFFFFFFFFu))
            return {};
        return "\"" + T + "\" is not a number from -2147483648 to 4294967295 (or 0x0 to " +
               "0xFFFFFFFF).";
    }
    if (Mode == THexEditor::SearchHex && !IsHexByteText(T))
        return "\"" + T + "\" is not a row of hexadecimal bytes, such as 4D 5A 90.";
    return {};
}

} // namespace

int TFindRequest::Flags() const
{
    return (MatchCase && Mode == THexEditor::SearchCharacters ? THexEditor::SearchMatchCase : 0) |
           (FromCursor ? THexEditor::SearchFromCursor : 0);
}

void TFormFind::DeclareClass(TClassDeclaration<TFormFind>& D)
{
    D.RegisterMethod("EditFindWhatChange", &TFormFind::EditFindWhatChange);
    D.RegisterMethod("RadioGroupModeClick", &TFormFind::RadioGroupModeClick);
    D.RegisterMethod("ButtonFindClick", &TFormFind::ButtonFindClick);
}

TFormFind::TFormFind(TComponent* AOwner) : TForm(AOwner)
{
    RegisterHexEditClasses();
    ReadDescription();
    LabelFindWhat = FindPart<TLabel>("LabelFindWhat");
    EditFindWhat = FindPart<TEdit>("EditFindWhat");
    RadioGroupMode = FindPart<TRadioGroup>("RadioGroupMode");
    CheckBoxMatchCase = FindPart<TCheckBox>("CheckBoxMatchCase");
    CheckBoxFromCursor = FindPart<TCheckBox>("CheckBoxFromCursor");
    ButtonFind = FindPart<TButton>("ButtonFind");
    ButtonCancel = FindPart<TButton>("ButtonCancel");
    // The editor keeps no longer search text: a longer one would be cut without a word.
    EditFindWhat->SetMaxLength(int(THexEditor::SearchTextRoom));
    DoCreate();
    UpdateControls();
}

bool TFormFind::Execute(TFindRequest& Request)
{
    const auto Dialog = std::make_unique<TFormFind>(&Application());
    Dialog->SetRequest(Request);
    if (Dialog->ShowModal() != mrOk)
        return false;
    Request = Dialog->GetRequest();
    return true;
}

void TFormFind::SetRequest(const TFindRequest& Request)
{
    EditFindWhat->SetText(Request.Text);
    EditFindWhat->SelectAll();
    const bool Known =
        Request.Mode >= THexEditor::SearchCharacters && Request.Mode <= THexEditor::SearchHex;
    RadioGroupMode->SetItemIndex(Known ? Request.Mode - 1 : 0);
    CheckBoxMatchCase->SetChecked(Request.MatchCase);
    CheckBoxFromCursor->SetChecked(Request.FromCursor);
    UpdateControls();
}

TFindRequest TFormFind::GetRequest() const
{
    TFindRequest R;
    R.Text = EditFindWhat->GetText();
    R.Mode = RadioGroupMode->GetItemIndex() + 1;
    R.MatchCase = CheckBoxMatchCase->GetChecked();
    R.FromCursor = CheckBoxFromCursor->GetChecked();
    return R;
}

void TFormFind::UpdateControls()
{
    ButtonFind->SetEnabled(!TrimBlanks(EditFindWhat->GetText()).empty());
    CheckBoxMatchCase->SetEnabled(RadioGroupMode->GetItemIndex() + 1 ==
                                  THexEditor::SearchCharacters);
}

void TFormFind::EditFindWhatChange(TObject*)
{
    UpdateControls();
}

void TFormFind::RadioGroupModeClick(TObject*)
{
    UpdateControls();
}

void TFormFind::ButtonFindClick(TObject*)
{
    const TFindRequest R = GetRequest();
    if (TrimBlanks(R.Text).empty())
        return;
    if (const std::string Text = Complaint(R.Text, R.Mode); !Text.empty()) {
        Application().ShowMessageBox(Text, GetCaption(), MB_OK | MB_ICONWARNING);
        EditFindWhat->SetFocus();
        EditFindWhat->SelectAll();
        return;
    }
    SetModalResult(mrOk);
}
