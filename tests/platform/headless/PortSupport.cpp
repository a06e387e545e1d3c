// Scratch space of the headless port: its in-memory file system and registry.
#include "tests/platform/PortSupport.h"

#include "platform/headless/HeadlessPlatform.h"

namespace {

THeadlessPlatform& Port()
{
    return static_cast<THeadlessPlatform&>(TPlatform::Get());
}

} // namespace

std::string GetScratchFolder()
{
    return "C:\\Scratch";
}

void RemoveRegistryTree(const std::string& Path)
{
    Port().GetRegistry().RemoveKey(Path);
}

void RemoveScratchFile(const std::string& Path)
{
    Port().RemoveFile(Path);
}
