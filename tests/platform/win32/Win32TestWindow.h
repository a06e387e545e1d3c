#pragma once

#include "platform/win32/Win32Platform.h"
#include "tests/platform/win32/EventRecorder.h"

#include <memory>

// Native windows for the Windows port's tests: a window of the port under test (or of another
// instance) whose events go to a recorder.

TWin32Platform& Win32Port();
// Dispatches what the system has queued, without waiting for more.
void PumpEvents(TWin32Platform& Platform = Win32Port());
TPlatformWindowParams BorderlessParams(const TRect& Bounds);

struct TTestWindow
{
    explicit TTestWindow(const TPlatformWindowParams& Params,
                         TWin32Platform& Platform = Win32Port());

    TEventRecorder Events;
    std::unique_ptr<TPlatformWindow> Window;
    void* Handle = nullptr; // the HWND
};
