#include "tests/platform/win32/NativeProbe.h"

#include "platform/win32/Win32Window.h"

#include <windows.h>

void* NativeHandle(TPlatformWindow& Peer)
{
    return static_cast<TWin32Window&>(Peer).GetHandle();
}

std::uint32_t NativeExStyle(void* Wnd)
{
    return static_cast<std::uint32_t>(GetWindowLongPtrW(static_cast<HWND>(Wnd), GWL_EXSTYLE));
}

bool NativeIsVisible(void* Wnd)
{
    return IsWindowVisible(static_cast<HWND>(Wnd)) != FALSE;
}

void PostNativeMessage(void* Wnd, std::uint32_t Msg, std::uintptr_t W, std::intptr_t L)
{
    PostMessageW(static_cast<HWND>(Wnd), Msg, W, L);
}

TPixel NativePixel(void* Wnd, int X, int Y)
{
    const HWND Window = static_cast<HWND>(Wnd);
    HDC DC = GetDC(Window);
    const COLORREF C = GetPixel(DC, X, Y);
    ReleaseDC(Window, DC);
    return (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C);
}
