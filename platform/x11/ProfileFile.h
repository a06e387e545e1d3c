#pragma once

#include <string>

// Private profile (INI) files on disk, read and written as GetPrivateProfileString and
// WritePrivateProfileString do: sections and keys compare ASCII letters without regard to case,
// the first matching section and key count, a value read loses surrounding blanks and one pair
// of surrounding quotes, a default loses its trailing blanks. Writing keeps every other line of
// the file (comments included) and replaces the file atomically. Paths are native.
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
