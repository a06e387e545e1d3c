// The window procedure of the form windows: the system's messages as the events of
// TPlatformWindowEvents.
#include "platform/win32/Win32ApplicationWindow.h"
#include "platform/win32/Win32Window.h"

#include <windows.h>

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

TPoint PointFromLParam(LPARAM L)
{
    // Signed: with the capture, the pointer may be left of or above the client area.
    return {static_cast<std::int16_t>(static_cast<std::uint16_t>(L & 0xFFFF)),
            static_cast<std::int16_t>(static_cast<std::uint16_t>((L >> 16) & 0xFFFF))};
}

bool IsDown(int VirtualKey)
{
    return GetKeyState(VirtualKey) < 0;
}

// A mouse message has no bit for Alt: the key state of the thread, which Windows keeps in step
// with the input it takes, holds it.
TInputModifiers MouseModifiers(WPARAM W)
{
    TInputModifiers Modifiers;
    if (W & MK_SHIFT)
        Modifiers.Include(TInputModifier::Shift);
    if (W & MK_CONTROL)
        Modifiers.Include(TInputModifier::Ctrl);
    if (IsDown(VK_MENU))
        Modifiers.Include(TInputModifier::Alt);
    if (W & MK_LBUTTON)
        Modifiers.Include(TInputModifier::LeftButton);
    if (W & MK_RBUTTON)
        Modifiers.Include(TInputModifier::RightButton);
    if (W & MK_MBUTTON)
        Modifiers.Include(TInputModifier::MiddleButton);
    return Modifiers;
}

// Alt counts only where Windows says so (the context bit of WM_SYSKEY*): Ctrl+Alt (AltGr)
// combinations come as plain WM_KEYDOWN and stay plain keys for the framework too.
TInputModifiers KeyModifiers(bool Alt)
{
    TInputModifiers Modifiers;
    if (IsDown(VK_SHIFT))
        Modifiers.Include(TInputModifier::Shift);
    if (IsDown(VK_CONTROL))
        Modifiers.Include(TInputModifier::Ctrl);
    if (Alt)
        Modifiers.Include(TInputModifier::Alt);
    return Modifiers;
}

// The kind and button of a mouse message; false for one that is not a mouse message of ours.
bool MouseKindOf(UINT Msg, TInputKind& Kind, TMouseButton& Button)
{
    switch (Msg) {
    case WM_MOUSEMOVE:
        Kind = TInputKind::MouseMove;
        Button = TMouseButton::None;
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        Button = TMouseButton::Left;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        Button = TMouseButton::Right;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        Button = TMouseButton::Middle;
        break;
    default:
        return false;
    }
    Kind = Msg == WM_LBUTTONUP || Msg == WM_RBUTTONUP || Msg == WM_MBUTTONUP ? TInputKind::MouseUp
           : Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK
               ? TInputKind::DoubleClick
               : TInputKind::MouseDown;
    return true;
}
} // namespace

struct TWin32Window::TProcedure
{
    static TWin32Window* Lookup(HWND Wnd)
    {
        return reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
    }

    // Every handler of the framework may, in principle, destroy the window: each step looks the
    // object up again instead of keeping a pointer across the call.
    static TPlatformWindowEvents* Events(HWND Wnd)
    {
        TWin32Window* Self = Lookup(Wnd);
        return Self ? Self->FEvents : nullptr;
    }

    static LRESULT Mouse(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
    {
        TPlatformWindowEvents* Sink = Events(Wnd);
        if (!Sink)
            return 0;
        TInputEvent Event{.Client = PointFromLParam(L), .Modifiers = MouseModifiers(W)};
        if (MouseKindOf(Msg, Event.Kind, Event.Button))
            Sink->HandleInput(Event);
        return 0;
    }

    static LRESULT Key(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
    {
        const bool System = Msg == WM_SYSKEYDOWN || Msg == WM_SYSKEYUP;
        const bool Alt = System && (L & (LPARAM(1) << 29)) != 0;
        const bool Down = Msg == WM_KEYDOWN || Msg == WM_SYSKEYDOWN;
        if (TPlatformWindowEvents* Sink = Events(Wnd))
            Sink->HandleInput({.Kind = Down ? TInputKind::KeyDown : TInputKind::KeyUp,
                               .Key = static_cast<unsigned>(W),
                               .Modifiers = KeyModifiers(Alt)});
        // The system's own keys stay away from DefWindowProc (no menu mode, no beeps), except
        // Alt+F4, which closes a window everywhere on Windows.
        if (Down && Alt && W == VK_F4)
            if (TPlatformWindowEvents* Sink = Events(Wnd))
                Sink->HandleCloseRequest();
        return 0;
    }

    static LRESULT Paint(HWND Wnd)
    {
        PAINTSTRUCT Paint{};
        HDC DC = BeginPaint(Wnd, &Paint);
        if (TWin32Window* Self = Lookup(Wnd)) {
            Self->FPaintDC = DC;
            const RECT& R = Paint.rcPaint;
            if (Self->FEvents && DC && R.right > R.left && R.bottom > R.top)
                Self->FEvents->HandleExpose({R.left, R.top, R.right, R.bottom});
            if ((Self = Lookup(Wnd)))
                Self->FPaintDC = nullptr;
        }
        EndPaint(Wnd, &Paint);
        return 0;
    }

    static LRESULT CALLBACK WindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
    {
        if (Msg == WM_NCCREATE) {
            const auto* Create = reinterpret_cast<const CREATESTRUCTW*>(L);
            auto* Self = static_cast<TWin32Window*>(Create->lpCreateParams);
            Self->FHandle = Wnd;
            SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Self));
        }
        TWin32Window* Self = Lookup(Wnd);
        if (!Self)
            return DefWindowProcW(Wnd, Msg, W, L);
        switch (Msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            return Mouse(Wnd, Msg, W, L);
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            return Key(Wnd, Msg, W, L);
        case WM_CHAR:
        case WM_SYSCHAR:
            Self->DeliverChar(static_cast<char16_t>(W));
            return 0;
        case WM_UNICHAR:
            if (W == UNICODE_NOCHAR)
                return TRUE; // yes, this window takes whole characters
            if (Self->FEvents)
                Self->FEvents->HandleInput(
                    {.Kind = TInputKind::Character, .Character = static_cast<char32_t>(W)});
            return FALSE;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Self->FHighSurrogate = 0;
            if (Self->FEvents)
                Self->FEvents->HandleFocus(Msg == WM_SETFOCUS);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(W) != WA_INACTIVE && Self->FApplication)
                Self->FApplication->WindowActivated(*Self);
            break; // DefWindowProc gives the window the focus
        case WM_MOUSEACTIVATE:
            if (Self->FPopup)
                return MA_NOACTIVATE;
            break;
        case WM_CAPTURECHANGED:
            // Only a capture taken away counts as lost: releasing it ourselves, or taking it
            // again, does not.
            if (Self->FCaptured && !Self->FReleasingCapture && reinterpret_cast<HWND>(L) != Wnd) {
                Self->FCaptured = false;
                if (Self->FEvents)
                    Self->FEvents->HandleCaptureLost();
            }
            return 0;
        case WM_CLOSE:
            // The framework decides whether the window closes.
            if (Self->FEvents)
                Self->FEvents->HandleCloseRequest();
            return 0;
        case WM_PAINT:
            return Paint(Wnd);
        case WM_ERASEBKGND:
            return 1; // the back buffer covers every pixel
        case WM_SETCURSOR:
            if (LOWORD(L) == HTCLIENT && reinterpret_cast<HWND>(W) == Wnd) {
                ::SetCursor(static_cast<HCURSOR>(Self->FCursor));
                return TRUE;
            }
            break;
        case WM_MOVE:
        case WM_SIZE:
            Self->ReportBounds();
            return 0;
        case WM_WINDOWPOSCHANGED:
            Self->ReportBounds();
            break; // DefWindowProc sends WM_SIZE and WM_MOVE, which report nothing new
        case WM_NCDESTROY:
            SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
            Self->FHandle = nullptr;
            Self->FCaptured = false;
            break;
        default:
            break;
        }
        return DefWindowProcW(Wnd, Msg, W, L);
    }
};

const wchar_t* TWin32Window::WindowClassName()
{
    return L"NixieForm";
}

void TWin32Window::RegisterWindowClass()
{
    const HINSTANCE Instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW Class{};
    if (GetClassInfoExW(Instance, WindowClassName(), &Class))
        return;
    Class.cbSize = sizeof Class;
    Class.style = CS_DBLCLKS; // the framework hears double clicks as Windows tells them
    Class.lpfnWndProc = &TProcedure::WindowProc;
    Class.hInstance = Instance;
    Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    Class.lpszClassName = WindowClassName();
    RegisterClassExW(&Class);
}

void TWin32Window::DeliverChar(char16_t Unit)
{
    if (!FEvents)
        return;
    const bool High = Unit >= 0xD800 && Unit < 0xDC00;
    const bool Low = Unit >= 0xDC00 && Unit < 0xE000;
    char32_t Character = Unit;
    if (High) {
        // A second high half means the first lost its partner.
        const bool Orphan = FHighSurrogate != 0;
        FHighSurrogate = Unit;
        if (Orphan)
            FEvents->HandleInput(
                {.Kind = TInputKind::Character, .Character = ReplacementCharacter});
        return;
    }
    if (Low) {
        Character = FHighSurrogate ? 0x10000 + ((char32_t(FHighSurrogate) - 0xD800) << 10) +
                                         (char32_t(Unit) - 0xDC00)
                                   : ReplacementCharacter;
        FHighSurrogate = 0;
    } else if (FHighSurrogate) {
        FHighSurrogate = 0;
        FEvents->HandleInput({.Kind = TInputKind::Character, .Character = ReplacementCharacter});
    }
    FEvents->HandleInput({.Kind = TInputKind::Character, .Character = Character});
}
