#pragma once

#include <string>

// Private profile (INI) files on disk, read and changed as ProfileText.h says; a change replaces
// the file atomically, and a file that exists but cannot be read is never written. Paths are
// native.
class TProfileFile
{
public:
    static std::string Read(const std::string& Path, const std::string& Section,
                            const std::string& Key, const std::string& Default);
    // False when the file cannot be written, or when a name or the value holds a line break
    // (which would plant other entries in the file).
    static bool Write(const std::string& Path, const std::string& Section, const std::string& Key,
                      const std::string& Value);
};
