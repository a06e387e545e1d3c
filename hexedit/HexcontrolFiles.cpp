// The hex editor's files and its logs as list rows.
#include "framework/stdctrls/ListItem.h"
#include "framework/stdctrls/ListItems.h"
#include "framework/stdctrls/ListView.h"
#include "hexedit/Hexcontrol.h"

#include <climits>
#include <cstdio>

namespace {

// The rows a log view shows at most: the newest ones.
constexpr int LogViewRows = 256;

} // namespace

int THexEditor::LoadFromFile(const std::string& Name)
{
    // Read into a new block before the old data goes, so that a file too large for the 32-bit
    // size, or for the memory, leaves what is on show as it was.
    TFileReadResult Read = ReadFileBytes(Name, INT_MAX);
    switch (Read.Outcome) {
    case TFileReadOutcome::TooLarge:
        FFileError = "The file is larger than 2 GB, more than the editor can hold.";
        break;
    case TFileReadOutcome::NoMemory:
        FFileError = "There is not enough memory to hold the file.";
        break;
    default:
        FFileError = std::move(Read.Reason);
    }
    int Result = 3;
    if (Read.Outcome == TFileReadOutcome::Read || Read.Outcome == TFileReadOutcome::Short) {
        const int Size = int(Read.Bytes.GetSize());
        ShowData(FNull.data(), DemoSize);
        FLoaded = std::move(Read.Bytes);
        ShowData(FLoaded.GetData(), Size);
        SetSize(Size);
        Result = 1;
        if (Read.Outcome == TFileReadOutcome::Read) {
            ChangeFileName(Name);
            SetDirty(0);
            SetMessage(nullptr);
            Result = 0;
        }
    }
    ResetCursor();
    ResetOffset();
    DataChange();
    return Result;
}

int THexEditor::SaveToFile(const std::string& Name)
{
    // A size set beyond the buffer has no bytes to write there: not all can be written.
    if (FSize > FDataLength) {
        FFileError = "The size set is larger than the data held.";
        return 2;
    }
    TFileWriteResult Written = WriteFileBytes(Name, FData, std::size_t(std::max(FSize, 0)));
    FFileError = std::move(Written.Reason);
    switch (Written.Outcome) {
    case TFileWriteOutcome::Written:
        ChangeFileName(Name);
        SetDirty(0);
        return 0;
    case TFileWriteOutcome::Short:
        return 2;
    case TFileWriteOutcome::CannotOpen:
        break;
    }
    return 3;
}

void THexEditor::ChangeLogToListView(TListView* List) const
{
    LogToListView(List, false);
}

void THexEditor::RedoLogToListView(TListView* List) const
{
    LogToListView(List, true);
}

void THexEditor::LogToListView(TListView* List, bool Redo) const
{
    if (!List)
        return;
    const TChangeLog& Log = *FChangeLog;
    const int Count = Redo ? Log.GetRedoCount() : Log.GetChangeCount();
    TListItems& Items = *List->GetItems();
    Items.BeginUpdate();
    Items.Clear();
    char Text[16];
    for (int I = std::max(0, Count - LogViewRows); I < Count; ++I) {
        const TChangeEntry& E = Redo ? Log.GetRedo(I) : Log.GetChange(I);
        TListItem* Item = Items.Add();
        std::snprintf(Text, sizeof Text, "%08X", unsigned(E.Offset));
        Item->SetCaption(Text);
        if (E.Type == 0 || E.Type == 1)
            Item->GetSubItems().Add(E.Type == 0 ? "byte" : "word");
        std::snprintf(Text, sizeof Text, "%02X", unsigned(E.OldValue));
        Item->GetSubItems().Add(Text);
        std::snprintf(Text, sizeof Text, "%02X", unsigned(E.NewValue));
        Item->GetSubItems().Add(Text);
    }
    if (Items.GetCount() > 0)
        Items.GetItem(Items.GetCount() - 1)->MakeVisible(false);
    Items.EndUpdate();
}
