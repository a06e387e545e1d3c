// A Linux build made without the X11 development files.
#include "app/DesktopPort.h"

std::unique_ptr<TPlatform> OpenDesktopPort(std::string& Problem)
{
    Problem = "this build has no X11 support; install the X11 development files and rebuild";
    return nullptr;
}
