#pragma once

#include <string>
#include <string_view>

// UTF-8 (the program's text) to UTF-16 (the W functions of Win32) and back. Every code unit is
// converted, embedded NULs included, so a terminating NUL survives the trip; malformed input
// turns into U+FFFD.
std::wstring Utf8ToWide(std::string_view Utf8);
std::string WideToUtf8(std::wstring_view Wide);
