#include "platform/posix/ProfileFile.h"

#include "platform/common/ProfileText.h"
#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <optional>

std::string TProfileFile::Read(const std::string& Path, const std::string& Section,
                               const std::string& Key, const std::string& Default)
{
    const std::optional<std::string> Text = ReadWholeFile(Path);
    return ReadProfileText(Text.value_or(std::string()), Section, Key, Default);
}

bool TProfileFile::Write(const std::string& Path, const std::string& Section,
                         const std::string& Key, const std::string& Value)
{
    if (Path.empty())
        return false;
    const std::optional<std::string> Text = ReadWholeFile(Path);
    if (!Text && errno != ENOENT)
        return false; // unreadable: rewriting it would lose what it holds
    const std::optional<std::string> Changed =
        WriteProfileText(Text.value_or(std::string()), Section, Key, Value, "\n");
    return Changed && WriteFileAtomically(Path, *Changed, 0644);
}
