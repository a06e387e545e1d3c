// The gallery's entry point: opens the desktop's port and shows the control family on one form.
#include "app/DesktopPort.h"
#include "base/Exception.h"
#include "framework/windows/Application.h"
#include "programs/gallery/Fgallery.h"

#include <cstdio>

int main()
{
    std::string Problem;
    const std::unique_ptr<TPlatform> Port = OpenDesktopPort(Problem);
    if (!Port) {
        std::fprintf(stderr, "gallery: %s\n", Problem.c_str());
        return 2;
    }
    TPlatform::Set(Port.get());
    {
        TApplication App(nullptr);
        try {
            App.Initialize();
            App.SetTitle("Velmora Controls");
            TFormGallery* Gallery = nullptr;
            App.CreateForm(Gallery);
            App.Run();
        } catch (const Exception& E) {
            App.ShowException(E);
        }
    }
    TPlatform::Set(nullptr);
    return 0;
}
