#pragma once

// The clock's executable running on the case's private server, looked at and driven from the
// observer connection as a user would: its main window found by process and name, its digits
// read off the screen against the cells of the embedded digit strip, real pointer input.

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Region.h"
#include "tests/x11/X11TestSupport.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

// The face the clock starts with, and its outline as the shaped window computes it.
TBitmap LoadFace(int Resource);
TRegion OutlineOf(const TBitmap& Face);

// Waits until Done holds, looking every few milliseconds; false when it did not within
// LimitMs (a guard against hanging, not a measure of speed).
bool Eventually(const std::function<bool()>& Done, int LimitMs = 10000);

// A top-level window of the server (a child of the root) as another client sees it.
struct TForeignWindow
{
    unsigned long Window = 0;
    std::string Name;
    bool Viewable = false;
    bool OverrideRedirect = false;
    TRect Bounds; // on the screen
};

class X11ClockTest : public X11Test
{
protected:
    // The client area of the clock's digit slots: RidivAzoza1 at (0, 50), the slots at these x.
    static constexpr std::array<int, 6> SlotX{10, 53, 110, 152, 207, 248};
    static constexpr int DigitTop = 50;
    // Where the clock is moved before a case begins: clear of anything it shows beside it.
    static constexpr TPoint Home{520, 420};

    void SetUp() override;
    void TearDown() override;

    std::vector<TForeignWindow> WindowsOfTheClock();
    // The client area's top-left corner on the screen.
    TPoint GetOrigin();
    bool AwaitOrigin(TPoint Where)
    {
        return Eventually([&] { return GetOrigin() == Where; });
    }
    // The six digits shown, as seconds since midnight; none when a cell shows no digit or the
    // digits make no time of day. Read until two readings agree, so that a reading never mixes
    // two presents of the clock.
    std::optional<int> ReadShownTime();
    // A client point inside the outline and inside Area, away from the outline's edges.
    TPoint PointInOutline(const TRect& Area) const;
    // The screen point of a client point, after checking that the clock's window is what the
    // pointer meets there (and not a window in front of it).
    TPoint OnScreen(TPoint Client);
    // Moves the pointer from where it is by (DX, DY) in a few steps.
    void MovePointerBy(int DX, int DY);
    // The clock's popup menu once it is up; a window 0 when none came.
    TForeignWindow AwaitMenu();
    // The exit code once the clock has ended; none if it had not within the bound.
    std::optional<int> AwaitExit();
    // What the clock wrote to its standard output and error.
    std::string ReadLog() const;

    pid_t Child = -1;
    unsigned long ClockWindow = 0;
    TBitmap Face;
    TRegion Outline;
    std::array<TBitmap, 10> DigitCells;

private:
    void StartClock();
    std::string FFolder;
};
