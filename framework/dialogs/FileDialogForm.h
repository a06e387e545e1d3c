#pragma once

#include "framework/windows/Form.h"

#include <string>

class TButton;
class TEdit;
class TLabel;
class TListView;

// The framework's own Open and Save As dialog, for systems without one: the current folder in a
// path box at the top, its sub-folders (with ".." to go up) and its files side by side, a
// "File name:" box and the Open (or Save) and Cancel buttons. Hidden files are left out.
//
// Double click or Enter on a folder enters it, on a file chooses it; Backspace in a list goes up;
// a letter in a list selects the next name starting with it. A name typed in the box, relative to
// the folder or absolute, is chosen with Enter or the button; a folder's name enters that folder.
// Open asks for a file that exists, Save for a folder that exists and before replacing a file;
// a folder that cannot be read is reported and the dialog stays where it was. After ShowModal
// answered mrOk, GetChosenPath holds the file's full path (UTF-8).
class TFileDialogForm : public TForm
{
    PUBLISHED_CLASS(TFileDialogForm, TForm)

    // An empty Title gives "Open" or "Save As".
    TFileDialogForm(TComponent* AOwner, bool Save, const std::string& Title);
    ~TFileDialogForm() override;

    // Opens at Folder with FileName in the box. A folder that cannot be read gives way, without a
    // word, to FileName's own folder, then the process's current one, then the root.
    void Start(const std::string& Folder, const std::string& FileName);
    // Shows Folder; false, after a message box, when it cannot be read.
    bool ChangeFolder(const std::string& Folder);
    const std::string& GetFolder() const { return FFolder; }
    const std::string& GetChosenPath() const { return FChosenPath; }
    bool GetSave() const { return FSave; }

    TEdit* GetPathBox() const { return FPathBox; }
    TListView* GetFolderList() const { return FFolderList; }
    TListView* GetFileList() const { return FFileList; }
    TEdit* GetFileNameBox() const { return FFileNameBox; }
    TButton* GetOkButton() const { return FOkButton; }
    TButton* GetCancelButton() const { return FCancelButton; }

    static void DeclareClass(TClassDeclaration<TFileDialogForm>& /*D*/) {}

protected:
    void VisibleChanged() override;

private:
    void Build();
    TListView* MakeList(const TRect& Bounds, int TabOrder);
    bool ShowFolder(const std::string& Folder, std::string& Error);
    // Resolves what the file name box holds: enters a folder, or chooses a file.
    void Accept();
    void Choose(const std::string& Path, const std::string& Typed);
    void GoUp();
    void EnterFolder(const std::string& Name);
    void ListKeyDown(TListView& List, unsigned& Key);
    void FindByLetter(TListView& List, char32_t& Key);
    int Ask(const std::string& Text, unsigned Flags);
    void ReturnToNameBox();

    bool FSave;
    std::string FFolder;
    std::string FChosenPath;
    TEdit* FPathBox = nullptr;
    TListView* FFolderList = nullptr;
    TListView* FFileList = nullptr;
    TEdit* FFileNameBox = nullptr;
    TButton* FOkButton = nullptr;
    TButton* FCancelButton = nullptr;
};
