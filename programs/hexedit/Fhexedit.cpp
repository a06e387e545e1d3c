#include "programs/hexedit/Fhexedit.h"

#include "framework/dialogs/OpenDialog.h"
#include "framework/dialogs/SaveDialog.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/MainMenu.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MessageForm.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/windows/Timer.h"
#include "hexedit/Hexcontrol.h"
#include "programs/hexedit/Fchangelog.h"
#include "programs/hexedit/Fgoto.h"
#include "programs/hexedit/HexEditClasses.h"

#include <cstdio>

namespace {

constexpr const char* ProgramName = "Hex Editor";
// The editor draws as many dots as the value says, 30 at most: all of them, or none.
constexpr int AllDots = 30;

// The last part of a path, after either kind of folder separator.
std::string BaseName(const std::string& Path)
{
    const std::size_t Slash = Path.find_last_of("/\\");
    return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

// The folder part of a path, without its last separator; empty for a bare name.
std::string FolderOf(const std::string& Path)
{
    const std::size_t Slash = Path.find_last_of("/\\");
    return Slash == std::string::npos ? std::string() : Path.substr(0, Slash);
}

TMenuItem* ItemOf(TObject* Sender)
{
    return dynamic_cast<TMenuItem*>(Sender);
}

// The number an item's caption shows, its accelerator mark aside.
int CountOf(const TMenuItem* Item)
{
    int Count = 0;
    for (const char C : Item->GetCaption())
        if (C >= '0' && C <= '9')
            Count = Count * 10 + (C - '0');
    return Count;
}

} // namespace

void TFormHexEdit::DeclareClass(TClassDeclaration<TFormHexEdit>& D)
{
    D.RegisterMethod("MenuFileOpenClick", &TFormHexEdit::MenuFileOpenClick);
    D.RegisterMethod("MenuFileSaveClick", &TFormHexEdit::MenuFileSaveClick);
    D.RegisterMethod("MenuFileSaveAsClick", &TFormHexEdit::MenuFileSaveAsClick);
    D.RegisterMethod("MenuFileCloseClick", &TFormHexEdit::MenuFileCloseClick);
    D.RegisterMethod("MenuFileExitClick", &TFormHexEdit::MenuFileExitClick);
    D.RegisterMethod("MenuEditUndoClick", &TFormHexEdit::MenuEditUndoClick);
    D.RegisterMethod("MenuEditRedoClick", &TFormHexEdit::MenuEditRedoClick);
    D.RegisterMethod("MenuEditGotoClick", &TFormHexEdit::MenuEditGotoClick);
    D.RegisterMethod("MenuEditReadOnlyClick", &TFormHexEdit::MenuEditReadOnlyClick);
    D.RegisterMethod("MenuEditSwitchPanelClick", &TFormHexEdit::MenuEditSwitchPanelClick);
    D.RegisterMethod("MenuSearchFindClick", &TFormHexEdit::MenuSearchFindClick);
    D.RegisterMethod("MenuSearchFindNextClick", &TFormHexEdit::MenuSearchFindNextClick);
    D.RegisterMethod("MenuViewValuesClick", &TFormHexEdit::MenuViewValuesClick);
    D.RegisterMethod("MenuViewOffsetsClick", &TFormHexEdit::MenuViewOffsetsClick);
    D.RegisterMethod("MenuViewBytesPerLineClick", &TFormHexEdit::MenuViewBytesPerLineClick);
    D.RegisterMethod("MenuViewBytesPerGroupClick", &TFormHexEdit::MenuViewBytesPerGroupClick);
    D.RegisterMethod("MenuViewPolkaDotsClick", &TFormHexEdit::MenuViewPolkaDotsClick);
    D.RegisterMethod("MenuViewSteadyCursorClick", &TFormHexEdit::MenuViewSteadyCursorClick);
    D.RegisterMethod("MenuViewChangeLogClick", &TFormHexEdit::MenuViewChangeLogClick);
    D.RegisterMethod("MenuHelpAboutClick", &TFormHexEdit::MenuHelpAboutClick);
    D.RegisterMethod("HexEditorCursorChange", &TFormHexEdit::HexEditorCursorChange);
    D.RegisterMethod("HexEditorCursorByteChange", &TFormHexEdit::HexEditorCursorByteChange);
    D.RegisterMethod("HexEditorDirtyChange", &TFormHexEdit::HexEditorDirtyChange);
    D.RegisterMethod("HexEditorFileNameChange", &TFormHexEdit::HexEditorFileNameChange);
    D.RegisterMethod("HexEditorChangeLogUpdate", &TFormHexEdit::HexEditorChangeLogUpdate);
    D.RegisterMethod("TimerBlinkTimer", &TFormHexEdit::TimerBlinkTimer);
    D.RegisterMethod("FormClose", &TFormHexEdit::FormClose);
}

TFormHexEdit::TFormHexEdit(TComponent* AOwner) : TForm(AOwner)
{
    RegisterHexEditClasses();
    ReadDescription();
    HexEditor = FindPart<THexEditor>("HexEditor");
    HexScrollBar = FindPart<TScrollBar>("HexScrollBar");
    StatusLine = FindPart<TPanel>("StatusLine");
    MainMenu1 = FindPart<TMainMenu>("MainMenu1");
    TimerBlink = FindPart<TTimer>("TimerBlink");
    MenuEditUndo = FindPart<TMenuItem>("MenuEditUndo");
    MenuEditRedo = FindPart<TMenuItem>("MenuEditRedo");
    HexEditorChangeLogUpdate(HexEditor);
    ShowViewInMenu();
    ShowNoFile();
    DoCreate();
}

TFormHexEdit::~TFormHexEdit() = default;

void TFormHexEdit::ShowNoFile()
{
    HexEditor->SetNotLoaded();
    FFilePath.clear();
    UpdateTitle();
    UpdateStatus();
}

int TFormHexEdit::Say(const std::string& Text, unsigned Flags)
{
    return TMessageForm::Execute(Text, ProgramName, Flags);
}

// ---- Files ------------------------------------------------------------------------------------

bool TFormHexEdit::OpenFile(const std::string& Path)
{
    const int Result = HexEditor->LoadFromFile(Path);
    if (Result == 0) {
        FFilePath = Path;
        UpdateTitle();
        UpdateStatus();
        return true;
    }
    const std::string Why = HexEditor->GetFileError();
    if (Result == 1) {
        // Part of the file is on show under the old name: saving it would cut the old file
        // short. Show nothing rather than a trap.
        ShowNoFile();
        Say("Only part of \"" + Path + "\" could be read.\n\n" + Why, MB_OK | MB_ICONERROR);
        return false;
    }
    Say("Cannot open \"" + Path + "\".\n\n" + Why, MB_OK | MB_ICONERROR);
    return false;
}

bool TFormHexEdit::SaveFile(const std::string& Path)
{
    if (HexEditor->SaveToFile(Path) == 0) {
        FFilePath = Path;
        UpdateTitle();
        return true;
    }
    Say("Cannot save \"" + Path + "\".\n\n" + HexEditor->GetFileError() +
            "\n\nThe file was left as it was, and the changes are still here.",
        MB_OK | MB_ICONERROR);
    return false;
}

bool TFormHexEdit::Save()
{
    return FFilePath.empty() ? SaveAs() : SaveFile(FFilePath);
}

bool TFormHexEdit::SaveAs()
{
    TSaveDialog Dialog(this);
    Dialog.SetTitle("Save As");
    Dialog.SetInitialDir(FolderOf(FFilePath));
    Dialog.SetFileName(BaseName(FFilePath));
    return Dialog.Execute() && SaveFile(Dialog.GetFileName());
}

bool TFormHexEdit::ConfirmDiscard()
{
    if (!FDirty)
        return true;
    const std::string Name = FFilePath.empty() ? std::string("Untitled") : BaseName(FFilePath);
    switch (
        Say("Do you want to save the changes to " + Name + "?", MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return Save();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void TFormHexEdit::MenuFileOpenClick(TObject*)
{
    if (!ConfirmDiscard())
        return;
    TOpenDialog Dialog(this);
    Dialog.SetTitle("Open");
    Dialog.SetInitialDir(FolderOf(FFilePath));
    if (Dialog.Execute())
        OpenFile(Dialog.GetFileName());
}

void TFormHexEdit::MenuFileSaveClick(TObject*)
{
    Save();
}

void TFormHexEdit::MenuFileSaveAsClick(TObject*)
{
    SaveAs();
}

void TFormHexEdit::MenuFileCloseClick(TObject*)
{
    if (ConfirmDiscard())
        ShowNoFile();
}

void TFormHexEdit::MenuFileExitClick(TObject*)
{
    Close();
}

void TFormHexEdit::FormClose(TObject*, TCloseAction& Action)
{
    if (!ConfirmDiscard())
        Action = caNone;
}

// ---- Edit and search --------------------------------------------------------------------------

void TFormHexEdit::MenuEditUndoClick(TObject*)
{
    HexEditor->Undo();
}

void TFormHexEdit::MenuEditRedoClick(TObject*)
{
    HexEditor->Redo();
}

void TFormHexEdit::MenuEditGotoClick(TObject*)
{
    if (const std::optional<int> Offset = TFormGoto::Execute(*HexEditor))
        HexEditor->MoveCursor(*Offset);
}

void TFormHexEdit::MenuEditReadOnlyClick(TObject*)
{
    HexEditor->SetReadOnly(!HexEditor->GetReadOnly());
    ShowViewInMenu();
    UpdateStatus();
}

void TFormHexEdit::MenuEditSwitchPanelClick(TObject*)
{
    HexEditor->SetCursorPanel(HexEditor->GetCursorPanel() == 0 ? 1 : 0);
}

void TFormHexEdit::MenuSearchFindClick(TObject*)
{
    if (!TFormFind::Execute(FFind))
        return;
    FHasSearched = true;
    ShowSearchResult(HexEditor->FindFirst(FFind.Text, FFind.Mode, FFind.Flags()));
}

void TFormHexEdit::MenuSearchFindNextClick(TObject* Sender)
{
    if (!FHasSearched)
        MenuSearchFindClick(Sender);
    else
        ShowSearchResult(HexEditor->FindNext());
}

void TFormHexEdit::ShowSearchResult(int Offset)
{
    if (Offset >= 0)
        HexEditor->MoveCursor(Offset);
    else
        Say("Cannot find \"" + FFind.Text + "\".", MB_OK | MB_ICONINFORMATION);
}

// ---- View -------------------------------------------------------------------------------------

void TFormHexEdit::ShowViewInMenu()
{
    const auto Check = [this](const char* Name, bool On) {
        FindPart<TMenuItem>(Name)->SetChecked(On);
    };
    const THexEditor& E = *HexEditor;
    Check("MenuViewHexValues", E.GetBaseBytes() != 10);
    Check("MenuViewDecimalValues", E.GetBaseBytes() == 10);
    Check("MenuViewHexOffsets", E.GetBaseOffset() != 10);
    Check("MenuViewDecimalOffsets", E.GetBaseOffset() == 10);
    for (const int Count : {8, 16, 32})
        Check(("MenuViewLine" + std::to_string(Count)).c_str(), E.GetBytesPerLine() == Count);
    for (const int Count : {1, 2, 4})
        Check(("MenuViewGroup" + std::to_string(Count)).c_str(), E.GetBytesPerGroup() == Count);
    Check("MenuViewPolkaDots", E.GetPolkaDots() > 0);
    Check("MenuViewSteadyCursor", E.GetCursorStyle() == 1);
    Check("MenuEditReadOnly", E.GetReadOnly());
}

void TFormHexEdit::MenuViewValuesClick(TObject* Sender)
{
    HexEditor->SetBaseBytes(ItemOf(Sender) == FindPart<TMenuItem>("MenuViewDecimalValues") ? 10
                                                                                           : 16);
    ShowViewInMenu();
}

void TFormHexEdit::MenuViewOffsetsClick(TObject* Sender)
{
    HexEditor->SetBaseOffset(ItemOf(Sender) == FindPart<TMenuItem>("MenuViewDecimalOffsets") ? 10
                                                                                             : 16);
    ShowViewInMenu();
    UpdateStatus();
}

// The counts are the captions' digits ("&8", "&16", ...).
void TFormHexEdit::MenuViewBytesPerLineClick(TObject* Sender)
{
    HexEditor->SetBytesPerLine(CountOf(ItemOf(Sender)));
    // Rows now hold other offsets: bring the cursor's row back into view.
    HexEditor->MoveCursor(HexEditor->GetCursorOffset());
    ShowViewInMenu();
}

void TFormHexEdit::MenuViewBytesPerGroupClick(TObject* Sender)
{
    HexEditor->SetBytesPerGroup(CountOf(ItemOf(Sender)));
    ShowViewInMenu();
}

void TFormHexEdit::MenuViewPolkaDotsClick(TObject*)
{
    HexEditor->SetPolkaDots(HexEditor->GetPolkaDots() > 0 ? 0 : AllDots);
    ShowViewInMenu();
}

void TFormHexEdit::MenuViewSteadyCursorClick(TObject*)
{
    HexEditor->SetCursorStyle(HexEditor->GetCursorStyle() == 1 ? 0 : 1);
    ShowViewInMenu();
}

void TFormHexEdit::MenuViewChangeLogClick(TObject*)
{
    if (!ChangeLog)
        ChangeLog = new TFormChangeLog(this);
    ChangeLog->Refresh(*HexEditor);
    ChangeLog->Show();
}

void TFormHexEdit::MenuHelpAboutClick(TObject*)
{
    Say("Hex Editor\n\nShows and edits the bytes of a file in hexadecimal or decimal, with undo, "
        "redo and search.\n\nBuilt on Velmora's hex editor control.",
        MB_OK | MB_ICONINFORMATION);
}

// ---- The editor's events ----------------------------------------------------------------------

void TFormHexEdit::HexEditorCursorChange(TObject*, int)
{
    UpdateStatus();
}

void TFormHexEdit::HexEditorCursorByteChange(TObject*)
{
    UpdateStatus();
}

void TFormHexEdit::HexEditorDirtyChange(TObject*, bool Dirty)
{
    FDirty = Dirty;
    UpdateTitle();
}

void TFormHexEdit::HexEditorFileNameChange(TObject*, const std::string&)
{
    UpdateTitle();
}

void TFormHexEdit::HexEditorChangeLogUpdate(TObject*)
{
    HexEditor->ChangeLogToMenuItem(MenuEditUndo, MenuEditRedo);
    if (ChangeLog && ChangeLog->GetVisible())
        ChangeLog->Refresh(*HexEditor);
}

void TFormHexEdit::TimerBlinkTimer(TObject*)
{
    HexEditor->AnimateCursor();
}

void TFormHexEdit::UpdateTitle()
{
    if (FFilePath.empty())
        SetCaption(ProgramName);
    else
        SetCaption((FDirty ? "*" : "") + BaseName(FFilePath) + " - " + ProgramName);
}

void TFormHexEdit::UpdateStatus()
{
    if (FFilePath.empty()) {
        StatusLine->SetCaption(" No file");
        return;
    }
    const int Offset = HexEditor->GetCursorOffset();
    std::string OffsetText, SizeText;
    HexEditor->FormatOffset(Offset, OffsetText);
    HexEditor->FormatOffset(HexEditor->GetSize(), SizeText);
    const unsigned Byte = HexEditor->GetCursorByte();
    char Value[64];
    if (HexEditor->GetSize() == 0)
        Value[0] = '\0';
    else if (Byte >= 0x20 && Byte < 0x7F)
        std::snprintf(Value, sizeof Value, "    Byte %02X hex, %u dec, '%c'", Byte, Byte,
                      char(Byte));
    else
        std::snprintf(Value, sizeof Value, "    Byte %02X hex, %u dec", Byte, Byte);
    StatusLine->SetCaption(" Offset " + OffsetText + " of " + SizeText + Value +
                           (HexEditor->GetReadOnly() ? "    Read-only" : ""));
}
