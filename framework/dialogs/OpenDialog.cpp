#include "framework/dialogs/OpenDialog.h"

#include "framework/dialogs/FileDialogForm.h"
#include "framework/windows/Screen.h"
#include "framework/windows/WindowManager.h"
#include "platform/Platform.h"

#include <memory>

TOpenDialog::TOpenDialog(TComponent* AOwner) : TOpenDialog(AOwner, false) {}

TOpenDialog::TOpenDialog(TComponent* AOwner, bool Save) : TComponent(AOwner), FSave(Save) {}

TOpenDialog::~TOpenDialog() = default;

void TOpenDialog::DeclareClass(TClassDeclaration<TOpenDialog>& D)
{
    D.String("FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName);
    D.String("InitialDir", &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir);
    D.String("Title", &TOpenDialog::GetTitle, &TOpenDialog::SetTitle);
    D.String("Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter);
}

std::vector<std::pair<std::string, std::string>> TOpenDialog::ParseFilter(const std::string& Filter)
{
    std::vector<std::string> Parts;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t Bar = Filter.find('|', Start);
        Parts.push_back(Filter.substr(Start, Bar == std::string::npos ? Bar : Bar - Start));
        if (Bar == std::string::npos)
            break;
        Start = Bar + 1;
    }
    std::vector<std::pair<std::string, std::string>> Pairs;
    for (std::size_t I = 0; I + 1 < Parts.size(); I += 2)
        if (!Parts[I + 1].empty())
            Pairs.emplace_back(Parts[I], Parts[I + 1]);
    return Pairs;
}

bool TOpenDialog::Execute()
{
    if (FUseNativeDialog) {
        TFileDialogParams Params;
        Params.Save = FSave;
        Params.Title = FTitle;
        Params.Folder = FInitialDir;
        Params.FileName = FFileName;
        Params.Filters = ParseFilter(FFilter);
        if (const TForm* Active = Screen().GetActiveForm(); Active && Active->HandleAllocated())
            Params.Owner = TWindowManager::Get().GetPeer(Active->GetHandleIfAllocated());
        const TFileDialogResult Result = TPlatform::Get().RunFileDialog(Params);
        if (Result.Outcome == TFileDialogOutcome::Chosen)
            FFileName = Result.Path;
        if (Result.Outcome != TFileDialogOutcome::NoNativeDialog)
            return Result.Outcome == TFileDialogOutcome::Chosen;
    }
    const auto Form = std::make_unique<TFileDialogForm>(nullptr, FSave, FTitle);
    Form->Start(FInitialDir, FFileName);
    if (Form->ShowModal() != mrOk)
        return false;
    FFileName = Form->GetChosenPath();
    return true;
}
