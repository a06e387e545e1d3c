#include "platform/win32/Win32Platform.h"

#include <stdexcept>
#include <windows.h>

TWin32Platform::TWin32Platform() = default;
TWin32Platform::~TWin32Platform() = default;

TFontEngine& TWin32Platform::GetFontEngine()
{
    if (!FFontEngine)
        throw std::logic_error("no font engine yet");
    return *FFontEngine;
}

TLocalTime TWin32Platform::GetLocalTime() const
{
    SYSTEMTIME T;
    ::GetLocalTime(&T);
    return {T.wYear, T.wMonth, T.wDay, T.wHour, T.wMinute, T.wSecond, T.wDayOfWeek};
}

std::uint64_t TWin32Platform::GetTickCount() const { return ::GetTickCount64(); }
