#include "framework/objects/SysUtils.h"

TLocalTime CurrentLocalTime()
{
    return TPlatform::Get().GetLocalTime();
}

void Pause(int Milliseconds)
{
    TPlatform::Get().Sleep(Milliseconds);
}
