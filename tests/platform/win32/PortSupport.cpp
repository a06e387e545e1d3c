// Scratch space of the Windows port under test: a folder of its own in the temporary folder and
// the real registry.
#include "tests/platform/PortSupport.h"

#include "platform/win32/Win32Platform.h"

#include <filesystem>

namespace {

std::filesystem::path FromUtf8(const std::string& Utf8)
{
    return std::filesystem::path(std::u8string(Utf8.begin(), Utf8.end()));
}

} // namespace

std::string GetScratchFolder()
{
    static const std::string Folder = [] {
        const std::filesystem::path Path = std::filesystem::temp_directory_path() / "NixieTest";
        std::filesystem::create_directories(Path);
        const std::u8string Utf8 = Path.u8string();
        std::string Text(Utf8.begin(), Utf8.end());
        while (!Text.empty() && (Text.back() == '\\' || Text.back() == '/'))
            Text.pop_back();
        return Text;
    }();
    return Folder;
}

void RemoveRegistryTree(const std::string& Path)
{
    static_cast<TWin32Platform&>(TPlatform::Get()).DeleteRegistryTree(Path);
}

void RemoveScratchFile(const std::string& Path)
{
    std::error_code Ignored;
    std::filesystem::remove(FromUtf8(Path), Ignored);
}
