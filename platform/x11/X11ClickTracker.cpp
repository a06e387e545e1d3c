#include "platform/x11/X11ClickTracker.h"

#include <cstdlib>

bool TX11ClickTracker::Press(unsigned long XWindow, TMouseButton Pressed, TPoint OnScreen,
                             std::uint32_t TimeMs)
{
    // Unsigned subtraction keeps the interval right across the wrap of the server's clock.
    const bool Double = FPending && XWindow == FWindow && Pressed == FButton &&
                        static_cast<std::uint32_t>(TimeMs - FTimeMs) < DoubleClickMs &&
                        std::abs(OnScreen.X - FScreen.X) <= DoubleClickPixels &&
                        std::abs(OnScreen.Y - FScreen.Y) <= DoubleClickPixels;
    FPending = !Double;
    FWindow = XWindow;
    FButton = Pressed;
    FScreen = OnScreen;
    FTimeMs = TimeMs;
    return Double;
}
