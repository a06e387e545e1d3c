#include "platform/win32/WideString.h"

#include <climits>
#include <windows.h>

std::wstring Utf8ToWide(std::string_view Utf8)
{
    if (Utf8.empty() || Utf8.size() > INT_MAX)
        return {};
    const int Length = static_cast<int>(Utf8.size());
    const int Needed = MultiByteToWideChar(CP_UTF8, 0, Utf8.data(), Length, nullptr, 0);
    std::wstring Wide(static_cast<std::size_t>(Needed > 0 ? Needed : 0), L'\0');
    if (Needed > 0)
        MultiByteToWideChar(CP_UTF8, 0, Utf8.data(), Length, Wide.data(), Needed);
    return Wide;
}

std::string WideToUtf8(std::wstring_view Wide)
{
    if (Wide.empty() || Wide.size() > INT_MAX)
        return {};
    const int Length = static_cast<int>(Wide.size());
    const int Needed =
        WideCharToMultiByte(CP_UTF8, 0, Wide.data(), Length, nullptr, 0, nullptr, nullptr);
    std::string Utf8(static_cast<std::size_t>(Needed > 0 ? Needed : 0), '\0');
    if (Needed > 0)
        WideCharToMultiByte(CP_UTF8, 0, Wide.data(), Length, Utf8.data(), Needed, nullptr, nullptr);
    return Utf8;
}
