#pragma once

#include "base/Point.h"
#include "base/Rect.h"
#include "framework/graphics/Bitmap.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The clock's executable running as a process of its own, seen from outside as a user (and a
// screen reader) would see it: its top-level windows, their pixels on the screen, their window
// regions. The process is always ended, at the latest by the destructor, so that no case leaves
// a clock behind.
class TClockProcess
{
public:
    // Starts the executable and waits (a bounded time) for its main window: the visible window
    // of the process whose client area has the size MainClientSize.
    explicit TClockProcess(TPoint MainClientSize);
    ~TClockProcess();
    TClockProcess(const TClockProcess&) = delete;
    TClockProcess& operator=(const TClockProcess&) = delete;

    // Empty when the process started and showed its main window; otherwise what went wrong.
    const std::string& GetProblem() const { return FProblem; }
    void* GetMainWindow() const { return FMainWindow; } // the HWND

    // The visible top-level windows of the process, in z-order (topmost first).
    std::vector<void*> GetVisibleWindows() const;
    static TRect GetWindowBounds(void* Wnd);
    // The client area in screen coordinates.
    static TRect GetClientBounds(void* Wnd);
    static bool IsToolWindow(void* Wnd);
    // The window that holds the mouse capture on the thread of Wnd, or null.
    static void* GetCaptureWindow(void* Wnd);
    // Moves a window of the process without activating it or changing its z-order.
    static bool MoveWindow(void* Wnd, TPoint TopLeft);
    // The window region as the system's region data gives it, in window coordinates; none when
    // the window has no region.
    struct TNativeRegion
    {
        TRect Bounds;             // the header's bounding rectangle
        std::vector<TRect> Rects; // in the order the system lists them
    };
    static std::optional<TNativeRegion> GetWindowRegion(void* Wnd);

    // What the screen shows in Rect (screen coordinates), as pixels 0x00RRGGBB.
    static TBitmap CaptureScreen(const TRect& Rect);

    // Waits for the process to end; its exit code, or none when it still runs after TimeoutMs.
    std::optional<std::uint32_t> WaitForExit(int TimeoutMs);
    // Ends the process at once (if it still runs) and waits for it to be gone.
    void Terminate();

private:
    void* FProcess = nullptr; // HANDLE
    void* FThread = nullptr;  // HANDLE
    std::uint32_t FProcessId = 0;
    void* FMainWindow = nullptr;
    std::string FProblem;
};

// Polls Condition every few milliseconds until it holds or TimeoutMs have passed; whether it
// held. The bound guards against hangs only: cases never measure time with it.
bool WaitFor(const std::function<bool()>& Condition, int TimeoutMs);

// The clock's executable as Wine names it.
std::wstring GetClockExecutable();
