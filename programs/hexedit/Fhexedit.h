#pragma once

#include "framework/windows/Form.h"
#include "programs/hexedit/Ffind.h"

#include <string>

class THexEditor;
class TMainMenu;
class TMenuItem;
class TPanel;
class TScrollBar;
class TTimer;
class TFormChangeLog;

// The hex editor program's main window: a menu bar, the editor with its linked scroll bar, and a
// status line with the cursor's offset and byte. Files are opened and saved through the editor;
// every failure is said in a message box and loses nothing, and unsaved changes are never
// dropped without asking.
class TFormHexEdit : public TForm
{
    PUBLISHED_CLASS(TFormHexEdit, TForm)

    explicit TFormHexEdit(TComponent* AOwner);
    ~TFormHexEdit() override;

    // Loads Path into the editor; false, after saying why, when it could not be read whole.
    bool OpenFile(const std::string& Path);
    // Writes the editor's bytes to Path; false, after saying why, when the file was left as it was.
    bool SaveFile(const std::string& Path);
    // Where the bytes on show came from or were last saved to; empty without a file.
    const std::string& GetFilePath() const { return FFilePath; }
    bool GetDirty() const { return FDirty; }
    // Asks whether unsaved changes are to be saved first; true when the caller may go on (saved,
    // or the user chose not to), false when the user cancelled or the save failed.
    bool ConfirmDiscard();

    THexEditor* HexEditor = nullptr;
    TScrollBar* HexScrollBar = nullptr;
    TPanel* StatusLine = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TTimer* TimerBlink = nullptr;
    TMenuItem* MenuEditUndo = nullptr;
    TMenuItem* MenuEditRedo = nullptr;
    TFormChangeLog* ChangeLog = nullptr; // made when first shown

    static void DeclareClass(TClassDeclaration<TFormHexEdit>& D);

private:
    void MenuFileOpenClick(TObject* Sender);
    void MenuFileSaveClick(TObject* Sender);
    void MenuFileSaveAsClick(TObject* Sender);
    void MenuFileCloseClick(TObject* Sender);
    void MenuFileExitClick(TObject* Sender);
    void MenuEditUndoClick(TObject* Sender);
    void MenuEditRedoClick(TObject* Sender);
    void MenuEditGotoClick(TObject* Sender);
    void MenuEditReadOnlyClick(TObject* Sender);
    void MenuEditSwitchPanelClick(TObject* Sender);
    void MenuSearchFindClick(TObject* Sender);
    void MenuSearchFindNextClick(TObject* Sender);
    void MenuViewValuesClick(TObject* Sender);
    void MenuViewOffsetsClick(TObject* Sender);
    void MenuViewBytesPerLineClick(TObject* Sender);
    void MenuViewBytesPerGroupClick(TObject* Sender);
    void MenuViewPolkaDotsClick(TObject* Sender);
    void MenuViewSteadyCursorClick(TObject* Sender);
    void MenuViewChangeLogClick(TObject* Sender);
    void MenuHelpAboutClick(TObject* Sender);
    void HexEditorCursorChange(TObject* Sender, int Offset);
    void HexEditorCursorByteChange(TObject* Sender);
    void HexEditorDirtyChange(TObject* Sender, bool Dirty);
    void HexEditorFileNameChange(TObject* Sender, const std::string& Name);
    void HexEditorChangeLogUpdate(TObject* Sender);
    void TimerBlinkTimer(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

    // Save As: asks for a name and saves there; false when cancelled or failed.
    bool SaveAs();
    // Saves to the file on show, or asks for a name when there is none.
    bool Save();
    // Runs the search's next step and moves the cursor to the hit, or says there is none.
    void ShowSearchResult(int Offset);
    // Checks the items of the Edit and View menus that show the editor's options.
    void ShowViewInMenu();
    // The editor's "open a file" screen, with the title and status line to match.
    void ShowNoFile();
    void UpdateTitle();
    void UpdateStatus();
    int Say(const std::string& Text, unsigned Flags);

    std::string FFilePath;
    bool FDirty = false;
    TFindRequest FFind;
    bool FHasSearched = false;
};
