#pragma once

// The clock's executable as a Windows process under Wine: found by its process id and client
// size, driven by hardware input (SendInput), read through GDI's screen and the window region.

#include "tests/e2e/ClockDriver.h"

#include <string>

// What the Wine cases reach beyond the driver of these tests: the main window's bounds on the
// screen, and its window region as the system's region data gives it (window coordinates); none
// when the window has no region.
struct TNativeRegion
{
    TRect Bounds;             // the header's bounding rectangle
    std::vector<TRect> Rects; // in the order the system lists them
};
TRect WindowBoundsOf(TClockDriver& Driver);
std::optional<TNativeRegion> WindowRegionOf(TClockDriver& Driver);
// The same for any window (an HWND) of this process or another, and whether the system keeps
// it among the topmost windows (WS_EX_TOPMOST).
TRect ReadWindowBounds(void* Window);
std::optional<TNativeRegion> ReadWindowRegion(void* Window);
bool IsTopmost(void* Window);
// The clock's executable as Wine names it (the build's Unix path on drive Z:).
std::wstring ClockExecutable();
