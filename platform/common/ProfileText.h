#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of a private profile (INI) file, read and changed as GetPrivateProfileString and
// WritePrivateProfileString do: sections and keys compare ASCII letters without regard to case,
// the first matching section and key count, a value read loses surrounding blanks and one pair
// of surrounding quotes, a default loses its trailing blanks. A change keeps every other line
// (comments included) and the file's line ends; a file without lines gets NewFileLineEnd.

std::string ReadProfileText(std::string_view Text, std::string_view Section, std::string_view Key,
                            std::string_view Default);

// The text with Key set to Value in Section (both made when missing); none when a name or the
// value holds a line break, which would plant other entries in the file.
std::optional<std::string> WriteProfileText(std::string_view Text, std::string_view Section,
                                            std::string_view Key, std::string_view Value,
                                            std::string_view NewFileLineEnd);

// Whether S holds a carriage return or a line feed.
bool HasProfileLineBreak(std::string_view S);
