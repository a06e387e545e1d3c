#pragma once

#include "framework/windows/Form.h"

#include <optional>
#include <string>

class TButton;
class TEdit;
class TLabel;
class THexEditor;

// The Go to offset dialog: an offset typed in the editor's offset base (16 or 10), OK and
// Cancel. OK takes only an offset of the editor's data; any other text gets a message saying
// which offsets there are, and the dialog stays open with the text selected.
class TFormGoto : public TForm
{
    PUBLISHED_CLASS(TFormGoto, TForm)

    explicit TFormGoto(TComponent* AOwner);

    // Shows the dialog over the main form for Editor: the offset chosen, or nothing on Cancel.
    static std::optional<int> Execute(const THexEditor& Editor);

    TLabel* LabelOffset = nullptr;
    TEdit* EditOffset = nullptr;
    TButton* ButtonOk = nullptr;
    TButton* ButtonCancel = nullptr;

    // The editor whose offsets are asked for; the label names its base.
    void SetEditor(const THexEditor* Editor);
    // The offset OK took, or nothing.
    std::optional<int> GetOffset() const { return FOffset; }

    void ButtonOkClick(TObject* Sender);

    static void DeclareClass(TClassDeclaration<TFormGoto>& D);

private:
    // The offset Text names in the editor's data, or nothing.
    std::optional<int> Offset(const std::string& Text) const;

    const THexEditor* FEditor = nullptr;
    std::optional<int> FOffset;
};
