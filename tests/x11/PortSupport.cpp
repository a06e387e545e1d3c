// Scratch space of the X11 port under test: a folder in the tests' own configuration folder, and
// the registry file there.
#include "tests/platform/PortSupport.h"

#include "platform/posix/PosixFiles.h"
#include "platform/x11/X11Platform.h"

#include <unistd.h>

std::string GetScratchFolder()
{
    const std::string Folder = GetConfigHome() + "/scratch";
    MakeFolders(Folder, 0700);
    return Folder;
}

void RemoveRegistryTree(const std::string& Path)
{
    static_cast<TX11Platform&>(TPlatform::Get()).GetRegistry().RemoveKey(Path);
}

void RemoveScratchFile(const std::string& Path)
{
    unlink(ToNativePath(Path).c_str());
}
