#include "programs/hexedit/Fchangelog.h"

#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/ListView.h"
#include "programs/hexedit/HexEditClasses.h"

#include <cstdlib>

namespace {

// The columns the editor fills, wide enough for an eight-digit offset or word.
struct TLogColumn
{
    const char* Caption;
    int Width;
};
constexpr TLogColumn LogColumns[] = {
    {"Offset", 72}, {"Type", 48}, {"Old value", 72}, {"New value", 72}};

void AddColumns(TListView& List)
{
    for (const TLogColumn& Shown : LogColumns) {
        TListColumn* Column = List.GetColumns()->Add();
        Column->SetCaption(Shown.Caption);
        Column->SetWidth(Shown.Width);
    }
}

} // namespace

void TFormChangeLog::DeclareClass(TClassDeclaration<TFormChangeLog>& D)
{
    D.RegisterMethod("ListMouseDown", &TFormChangeLog::ListMouseDown);
}

TFormChangeLog::TFormChangeLog(TComponent* AOwner) : TForm(AOwner)
{
    RegisterHexEditClasses();
    ReadDescription();
    PanelChanges = FindPart<TPanel>("PanelChanges");
    LabelChanges = FindPart<TLabel>("LabelChanges");
    ListChanges = FindPart<TListView>("ListChanges");
    PanelRedo = FindPart<TPanel>("PanelRedo");
    LabelRedo = FindPart<TLabel>("LabelRedo");
    ListRedo = FindPart<TListView>("ListRedo");
    AddColumns(*ListChanges);
    AddColumns(*ListRedo);
    DoCreate();
}

void TFormChangeLog::Refresh(const THexEditor& Editor)
{
    Editor.ChangeLogToListView(ListChanges);
    Editor.RedoLogToListView(ListRedo);
}

void TFormChangeLog::AlignControls()
{
    // The changes take the upper half whatever the window's height; the redo list the rest.
    if (PanelChanges)
        PanelChanges->SetHeight(GetClientRect().Height() / 2);
    TForm::AlignControls();
}

void TFormChangeLog::ListMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                   int Y)
{
    // The row under the second press, not the selection: a double click below the rows leaves
    // the selection where it was and must not go there.
    auto* List = dynamic_cast<TListView*>(Sender);
    if (!List || Button != TMouseButton::Left || !(Shift & ssDouble))
        return;
    const int Index = List->ItemAt({X, Y});
    if (Index < 0)
        return;
    // The editor writes the offset as eight hexadecimal digits, whatever the offset base.
    const std::string& Caption = List->GetItems()->GetItem(Index)->GetCaption();
    char* End = nullptr;
    const unsigned long Offset = std::strtoul(Caption.c_str(), &End, 16);
    if (End != Caption.c_str() && *End == '\0')
        OnGotoOffset(this, int(Offset));
}
