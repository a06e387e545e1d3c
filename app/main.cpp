// The clock's entry point: opens the desktop's port and runs the clock on it.
#include "app/DesktopPort.h"
#include "app/Fnixie.h"

#include <cstdio>

int main()
{
    std::string Problem;
    const std::unique_ptr<TPlatform> Port = OpenDesktopPort(Problem);
    if (!Port) {
        std::fprintf(stderr, "nixie: %s\n", Problem.c_str());
        return 2;
    }
    TPlatform::Set(Port.get());

    const int ExitCode = RunClock();
    TPlatform::Set(nullptr);
    return ExitCode;
}
