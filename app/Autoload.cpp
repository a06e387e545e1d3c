#include "app/Autoload.h"

#include "platform/Platform.h"

long SetRunAtLogin(std::int32_t Enable, const std::string& ValueName)
{
    TPlatform& P = TPlatform::Get();
    if (Enable == 0)
        return P.RemoveLoginItem(ValueName);
    // Without a name for the executable the store is still opened, and nothing is written.
    return P.SetLoginItem(ValueName, {P.GetExecutablePath(), {"-autominimize"}});
}
