// The hex editor's entry point: opens the desktop's port, shows the main window and opens the file
// named on the command line, if any.
#include "app/DesktopPort.h"
#include "base/Exception.h"
#include "framework/windows/Application.h"
#include "programs/hexedit/Fhexedit.h"

#include <cstdio>

int main()
{
    std::string Problem;
    const std::unique_ptr<TPlatform> Port = OpenDesktopPort(Problem);
    if (!Port) {
        std::fprintf(stderr, "hexedit: %s\n", Problem.c_str());
        return 2;
    }
    TPlatform::Set(Port.get());
    {
        TApplication App(nullptr);
        try {
            App.Initialize();
            App.SetTitle("Hex Editor");
            TFormHexEdit* Editor = nullptr;
            App.CreateForm(Editor);
            Editor->Show();
            const std::vector<std::string> Arguments = Port->GetProgramArguments();
            if (!Arguments.empty())
                Editor->OpenFile(Arguments.front());
            App.Run();
        } catch (const Exception& E) {
            App.ShowException(E);
        }
    }
    TPlatform::Set(nullptr);
    return 0;
}
