// Linux: the X display named by DISPLAY.
#include "app/DesktopPort.h"
#include "platform/x11/X11Platform.h"

std::unique_ptr<TPlatform> OpenDesktopPort(std::string& Problem)
{
    auto Port = std::make_unique<TX11Platform>();
    std::string Reason;
    if (!Port->OpenDisplay({}, Reason)) {
        Problem = "cannot open the X display (" + Reason + "); set DISPLAY or run under Xvfb";
        return nullptr;
    }
    return Port;
}
