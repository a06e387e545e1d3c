// Windows: the desktop is always there.
#include "app/DesktopPort.h"
#include "platform/win32/Win32Platform.h"

std::unique_ptr<TPlatform> OpenDesktopPort(std::string&)
{
    return std::make_unique<TWin32Platform>();
}
