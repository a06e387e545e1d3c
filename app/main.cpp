// The clock's entry point. Until the clock's windows exist this draws a sample with the framework
// and reports where it went, so the build and the port can be seen working end to end.
#include "app/DesktopPort.h"
#include "framework/Bitmap.h"

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

    TBitmap Sample(64, 32);
    std::printf("Nixie: framework ready (%dx%d sample surface)\n", Sample.GetWidth(),
                Sample.GetHeight());
    TPlatform::Set(nullptr);
    return 0;
}
