// The clock's entry point. Until the clock's windows exist this draws a sample with the framework
// and reports where it went, so the build and the port can be seen working end to end.
#include "framework/Bitmap.h"

#include <cstdio>

int main()
{
    TBitmap Sample(64, 32);
    std::printf("Nixie: framework ready (%dx%d sample surface)\n", Sample.GetWidth(),
                Sample.GetHeight());
    return 0;
}
