#include "programs/hexedit/Fgoto.h"

#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/Edit.h"
#include "framework/stdctrls/Label.h"
#include "framework/windows/Application.h"
#include "hexedit/Hexcontrol.h"
#include "programs/hexedit/HexEditClasses.h"
#include "programs/hexedit/HexEditText.h"

#include <cstdio>
#include <memory>

void TFormGoto::DeclareClass(TClassDeclaration<TFormGoto>& D)
{
    D.RegisterMethod("ButtonOkClick", &TFormGoto::ButtonOkClick);
}

TFormGoto::TFormGoto(TComponent* AOwner) : TForm(AOwner)
{
    RegisterHexEditClasses();
    ReadDescription();
    LabelOffset = FindPart<TLabel>("LabelOffset");
    EditOffset = FindPart<TEdit>("EditOffset");
    ButtonOk = FindPart<TButton>("ButtonOk");
    ButtonCancel = FindPart<TButton>("ButtonCancel");
    DoCreate();
}

std::optional<int> TFormGoto::Execute(const THexEditor& Editor)
{
    const auto Dialog = std::make_unique<TFormGoto>(&Application());
    Dialog->SetEditor(&Editor);
    if (Dialog->ShowModal() != mrOk)
        return std::nullopt;
    return Dialog->GetOffset();
}

void TFormGoto::SetEditor(const THexEditor* Editor)
{
    FEditor = Editor;
    LabelOffset->SetCaption(Editor && Editor->GetBaseOffset() == 10 ? "Offset (decimal):"
                                                                    : "Offset (hexadecimal):");
}

std::optional<int> TFormGoto::Offset(const std::string& Text) const
{
    if (!FEditor)
        return std::nullopt;
    const bool Decimal = FEditor->GetBaseOffset() == 10;
    const std::optional<std::uint64_t> Value = ReadWholeNumber(Text, Decimal ? 10 : 16, !Decimal);
    if (!Value || *Value >= std::uint64_t(std::max(0, FEditor->GetSize())))
        return std::nullopt;
    // The editor's own reading agrees on every text let through; it stays the one used.
    return FEditor->DecodeOffset(TrimBlanks(Text));
}

void TFormGoto::ButtonOkClick(TObject*)
{
    FOffset = Offset(EditOffset->GetText());
    if (FOffset) {
        SetModalResult(mrOk);
        return;
    }
    const bool Decimal = FEditor && FEditor->GetBaseOffset() == 10;
    const int Last = FEditor ? FEditor->GetSize() - 1 : -1;
    const std::string Typed = TrimBlanks(EditOffset->GetText());
    char Range[40];
    std::snprintf(Range, sizeof Range, Decimal ? "(0 to %u)." : "(0 to %X).", unsigned(Last));
    const std::string Text = Last < 0 ? std::string("This file has no bytes to go to.")
                             : Typed.empty()
                                 ? "Type an offset in this file " + std::string(Range)
                                 : "\"" + Typed + "\" is not an offset in this file " + Range;
    Application().ShowMessageBox(Text, GetCaption(), MB_OK | MB_ICONWARNING);
    EditOffset->SetFocus();
    EditOffset->SelectAll();
}
