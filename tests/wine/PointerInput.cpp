#include "tests/wine/PointerInput.h"

#include "tests/e2e/ClockDriver.h"

#include <windows.h>

namespace {

constexpr int PointerTimeoutMs = 5000;
constexpr int MoveAttempts = 20;

bool Send(INPUT& Input)
{
    return SendInput(1, &Input, sizeof Input) == 1;
}

// Absolute positions are in 1/65536 of the primary screen, which the system maps back by
// rounding down: the smallest value that maps to the pixel lands exactly on it.
LONG Normalised(int Pixel, int ScreenPixels)
{
    return static_cast<LONG>((static_cast<long long>(Pixel) * 65536 + ScreenPixels - 1) /
                             ScreenPixels);
}

bool Pressed[2] = {false, false}; // by TPointerButton
std::vector<unsigned short> HeldKeys;

bool SendButton(TPointerButton Button, bool Down)
{
    Pressed[static_cast<int>(Button)] = Down;
    INPUT Input{};
    Input.type = INPUT_MOUSE;
    if (Button == TPointerButton::Left)
        Input.mi.dwFlags = Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    else
        Input.mi.dwFlags = Down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    return Send(Input);
}

bool PointerIsAt(TPoint Screen)
{
    POINT P{};
    return ::GetCursorPos(&P) && P.x == Screen.X && P.y == Screen.Y;
}

} // namespace

bool MovePointer(TPoint Screen, void* Listener)
{
    for (int Attempt = 0; Attempt < MoveAttempts; ++Attempt) {
        INPUT Input{};
        Input.type = INPUT_MOUSE;
        Input.mi.dx = Normalised(Screen.X, GetSystemMetrics(SM_CXSCREEN));
        Input.mi.dy = Normalised(Screen.Y, GetSystemMetrics(SM_CYSCREEN));
        Input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        if (!Send(Input) || !Eventually([&] { return PointerIsAt(Screen); }, PointerTimeoutMs))
            return false;
        if (!Listener)
            return true;
        // Twice: a message sent while the process was busy may be answered before it looks
        // at its X events again.
        for (int Trip = 0; Trip < 2; ++Trip) {
            DWORD_PTR Ignored = 0;
            if (!SendMessageTimeoutW(static_cast<HWND>(Listener), WM_NULL, 0, 0, SMTO_NORMAL,
                                     PointerTimeoutMs, &Ignored))
                return false;
        }
        if (PointerIsAt(Screen))
            return true;
    }
    return false;
}

bool PressButton(TPointerButton Button)
{
    return SendButton(Button, true);
}

bool ReleaseButton(TPointerButton Button)
{
    return SendButton(Button, false);
}

bool HoldKey(unsigned short VirtualKey, bool Down)
{
    std::erase(HeldKeys, VirtualKey);
    if (Down)
        HeldKeys.push_back(VirtualKey);
    INPUT Input{};
    Input.type = INPUT_KEYBOARD;
    Input.ki.wVk = VirtualKey;
    Input.ki.dwFlags = Down ? 0 : KEYEVENTF_KEYUP;
    return Send(Input);
}

bool IsForeground(void* Window)
{
    return Window && GetForegroundWindow() == static_cast<HWND>(Window);
}

bool PointerShows(TCursorShape Shape)
{
    // The IDC_ names are resource numbers, the same for the W call whatever the character set.
    LPCSTR Name = IDC_ARROW;
    switch (Shape) {
    case TCursorShape::Arrow:
        break;
    case TCursorShape::Hand:
        Name = IDC_HAND;
        break;
    case TCursorShape::IBeam:
        Name = IDC_IBEAM;
        break;
    case TCursorShape::Wait:
        Name = IDC_WAIT;
        break;
    case TCursorShape::SizeAll:
        Name = IDC_SIZEALL;
        break;
    }
    CURSORINFO Info{};
    Info.cbSize = sizeof Info;
    return GetCursorInfo(&Info) && (Info.flags & CURSOR_SHOWING) &&
           Info.hCursor == LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(Name));
}

void* WindowAt(TPoint Screen)
{
    return WindowFromPoint({Screen.X, Screen.Y});
}

std::vector<TPoint> DragPath(TPoint From, TPoint To, int Steps)
{
    std::vector<TPoint> Path;
    for (int I = 1; I <= Steps; ++I)
        Path.push_back(
            {From.X + (To.X - From.X) * I / Steps, From.Y + (To.Y - From.Y) * I / Steps});
    return Path;
}

void ReleaseAllButtons()
{
    for (const TPointerButton B : {TPointerButton::Left, TPointerButton::Right})
        if (Pressed[static_cast<int>(B)])
            SendButton(B, false);
    while (!HeldKeys.empty())
        HoldKey(HeldKeys.back(), false);
}
