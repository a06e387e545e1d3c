#pragma once

// The clock's executable as a process of its own, driven and watched from outside as a user
// would: one driver per port (X11: an observer connection with XTest; Windows: SendInput and
// screen reads through GDI), so that the clock's scenarios are written once.

#include "base/Point.h"
#include "base/Rect.h"
#include "framework/graphics/Bitmap.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class TClick
{
    Left,
    Right
};

// The keys a case presses to answer a dialog.
enum class TKey
{
    Enter,
    Escape,
    Tab,
    Space
};

// A value of the clock's settings key as the store holds it: its type (REG_DWORD is 4) and its
// bytes.
struct TStoredValue
{
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;

    bool operator==(const TStoredValue&) const = default;
};
using TStoredSettings = std::map<std::string, TStoredValue>;

class TClockDriver
{
public:
    virtual ~TClockDriver() = default;

    // The clock's settings (HKEY_CURRENT_USER\Software\Tolvane\QXRidivAzoza in the store of its
    // port) are the driver's own: a new driver starts without the key, so that the clock's first
    // run begins with nothing stored. StoreSetting puts a REG_DWORD value there (creating the
    // key), before Start or between two runs; false when the store did not take it.
    virtual bool StoreSetting(const std::string& Name, std::int32_t Value) = 0;
    // The values of the key as they are now; none while the key does not exist.
    virtual std::optional<TStoredSettings> ReadSettings() = 0;
    // The size of the screen the clock runs on.
    virtual TPoint GetScreenSize() = 0;

    // Starts the executable and waits (a bounded time) for its main window, whose client area
    // has the size ClientSize; empty when it showed, otherwise what went wrong. Once the clock
    // has ended (AwaitExit, Kill), Start runs it again over the same settings.
    virtual std::string Start(TPoint ClientSize) = 0;
    // Ends the clock at once, as a crash would: it saves nothing on the way out.
    virtual void Kill() = 0;
    // The main window's client area on the screen.
    virtual TRect GetClientBounds() = 0;
    // Moves the main window (its client area's top-left corner) without activating it.
    virtual bool MoveWindow(TPoint Origin) = 0;
    // What the screen shows of the client area, as pixels 0x00RRGGBB.
    virtual TBitmap CaptureClient() = 0;
    // The outlines the window system holds for the main window, in client coordinates and in
    // the order it lists their rectangles (X11: the bounding and the input shape; Windows: the
    // window region); none until it holds them all.
    virtual std::optional<std::vector<std::vector<TRect>>> ReadShapes() = 0;

    // Puts the pointer on a screen point; whether the clock has seen it there (as far as the
    // port can tell).
    virtual bool MovePointer(TPoint Screen) = 0;
    // A left press that begins a drag on the main window, and its release: each returns once
    // the clock has taken it where the port can tell (the capture it takes and lets go).
    virtual bool BeginDrag() = 0;
    virtual bool EndDrag() = 0;
    // A press and release where the pointer rests.
    virtual bool Click(TClick Button) = 0;
    // Releases whatever buttons were left pressed (a case that failed half-way).
    virtual void ReleaseButtons() = 0;

    // Presses and releases a key; it goes to the clock's window that has the keyboard focus.
    virtual bool PressKey(TKey Key) = 0;

    // The context menu's bounds on the screen once it is up; none when none came.
    virtual std::optional<TRect> AwaitMenu() = 0;
    // The client area on the screen of a shown top-level window of the clock titled Title (a
    // dialog, a message box) once there is one; none when none came within a bounded wait.
    virtual std::optional<TRect> AwaitWindow(const std::string& Title) = 0;
    // Whether, within a bounded wait, no shown window of the clock is titled Title.
    virtual bool AwaitWindowGone(const std::string& Title) = 0;
    // The exit code once the clock has ended; none while it still runs after a bounded wait.
    virtual std::optional<long> AwaitExit() = 0;
    // What the clock reported of itself (its output), for failure messages.
    virtual std::string Describe() { return {}; }
};

// The driver of the port these tests are built for.
std::unique_ptr<TClockDriver> MakeClockDriver();

// Waits until Done holds, looking every few milliseconds; false when it did not within LimitMs.
// The bound guards against hangs only: cases never measure time with it.
bool Eventually(const std::function<bool()>& Done, int LimitMs = 10000);
