#pragma once

#include "base/Color.h"
#include "platform/Platform.h"

#include <cstdint>

// A look at the native windows of the Windows port for tests that cannot include <windows.h>: the
// framework's message names and handle type are its own, with the same spelling.

constexpr std::uint32_t NativeToolWindow = 0x00000080; // WS_EX_TOOLWINDOW
constexpr std::uint32_t NativeTopmost = 0x00000008;    // WS_EX_TOPMOST
constexpr std::uint32_t NativeNoActivate = 0x08000000; // WS_EX_NOACTIVATE

// The HWND of a peer of the Windows port.
void* NativeHandle(TPlatformWindow& Peer);
std::uint32_t NativeExStyle(void* Wnd);
bool NativeIsVisible(void* Wnd);
void PostNativeMessage(void* Wnd, std::uint32_t Msg, std::uintptr_t W, std::intptr_t L);
// The pixel at a client point, as the screen shows it (0x00RRGGBB).
TPixel NativePixel(void* Wnd, int X, int Y);
