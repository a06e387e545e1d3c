#pragma once

#include "base/Point.h"
#include "platform/Platform.h"

#include <cstdint>

// Turns the presses of the X server, which knows no double clicks, into Windows' single and
// double clicks: a press is a double click when the same button was pressed on the same window
// less than DoubleClickMs before and at most DoubleClickPixels away on each axis. A double click
// ends the pair, so a third quick press is a single click again, as on Windows.
class TX11ClickTracker
{
public:
    static constexpr std::uint32_t DoubleClickMs = 500;
    static constexpr int DoubleClickPixels = 4;

    // XWindow is the X window id, OnScreen the root position, TimeMs the server's time stamp (which
    // wraps around every 49 days). True when this press completes a double click.
    bool Press(unsigned long XWindow, TMouseButton Pressed, TPoint OnScreen, std::uint32_t TimeMs);
    // Forgets the last press (a key press or another window in between).
    void Reset() { FPending = false; }

private:
    bool FPending = false;
    unsigned long FWindow = 0;
    TMouseButton FButton = TMouseButton::None;
    TPoint FScreen;
    std::uint32_t FTimeMs = 0;
};
