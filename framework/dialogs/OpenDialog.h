#pragma once

#include "framework/objects/Component.h"

#include <string>
#include <utility>
#include <vector>

// The Open dialog as a component: Execute shows the system's own dialog where there is one (the
// common dialog on Windows) and the framework's TFileDialogForm elsewhere, and answers whether a
// file was chosen; FileName then holds its full path (UTF-8). FileName and InitialDir preset the
// dialog; an empty Title gives the system's caption. Filter lists description and patterns,
// '|' between them, as "Text files (*.txt)|*.txt|All files (*.*)|*.*"; the framework's own
// dialog shows every file.
class TOpenDialog : public TComponent
{
    PUBLISHED_CLASS(TOpenDialog, TComponent)

    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    const std::string& GetFileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    const std::string& GetInitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
    const std::string& GetTitle() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    const std::string& GetFilter() const { return FFilter; }
    void SetFilter(const std::string& Value) { FFilter = Value; }
    // Off, the framework's own dialog runs even where the system has one.
    bool GetUseNativeDialog() const { return FUseNativeDialog; }
    void SetUseNativeDialog(bool Value) { FUseNativeDialog = Value; }

    // Shows the dialog modally, owned by the active form; true when a file was chosen.
    bool Execute();

    // The pairs of description and patterns that Filter lists; a description without its
    // patterns is dropped.
    static std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& Filter);

    static void DeclareClass(TClassDeclaration<TOpenDialog>& D);

protected:
    TOpenDialog(TComponent* AOwner, bool Save);

private:
    bool FSave;
    std::string FFileName;
    std::string FInitialDir;
    std::string FTitle;
    std::string FFilter;
    bool FUseNativeDialog = true;
};
