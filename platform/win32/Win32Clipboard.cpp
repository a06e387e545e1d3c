#include "platform/win32/Win32Clipboard.h"

#include "platform/win32/WideString.h"

#include <cstring>
#include <windows.h>

namespace {
// Another program may hold the clipboard open for a moment; it is asked a few times.
bool OpenWithRetries(HWND Owner)
{
    for (int Attempt = 0; Attempt < 10; ++Attempt) {
        if (OpenClipboard(Owner))
            return true;
        Sleep(10);
    }
    return false;
}
} // namespace

bool PutWin32ClipboardText(void* Owner, const std::string& Utf8)
{
    const std::wstring Wide = Utf8ToWide(Utf8);
    const std::size_t Bytes = (Wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL Memory = GlobalAlloc(GMEM_MOVEABLE, Bytes);
    if (!Memory)
        return false;
    void* Locked = GlobalLock(Memory);
    if (!Locked) {
        GlobalFree(Memory);
        return false;
    }
    std::memcpy(Locked, Wide.c_str(), Bytes);
    GlobalUnlock(Memory);
    if (!OpenWithRetries(static_cast<HWND>(Owner))) {
        GlobalFree(Memory);
        return false;
    }
    EmptyClipboard();
    // Once set, the memory belongs to the system.
    const bool Set = SetClipboardData(CF_UNICODETEXT, Memory) != nullptr;
    CloseClipboard();
    if (!Set)
        GlobalFree(Memory);
    return Set;
}

std::optional<std::string> GetWin32ClipboardText(void* Owner)
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenWithRetries(static_cast<HWND>(Owner)))
        return std::nullopt;
    std::optional<std::string> Text;
    if (HANDLE Memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* Chars = static_cast<const wchar_t*>(GlobalLock(Memory))) {
            // The text ends at its NUL, or at the end of the block when a program left none.
            const std::size_t Limit = GlobalSize(Memory) / sizeof(wchar_t);
            std::size_t Length = 0;
            while (Length < Limit && Chars[Length])
                ++Length;
            Text = WideToUtf8({Chars, Length});
            GlobalUnlock(Memory);
        }
    }
    CloseClipboard();
    return Text;
}
