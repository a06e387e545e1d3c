#include "platform/win32/Win32ApplicationWindow.h"

#include "platform/win32/Win32Window.h"

#include <algorithm>
#include <string>
#include <windows.h>

namespace {

constexpr const wchar_t* ClassName = L"NixieApplication";

HWND AsWindow(void* Handle)
{
    return static_cast<HWND>(Handle);
}

} // namespace

struct TWin32ApplicationWindow::TProcedure
{
    static LRESULT CALLBACK WindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
    {
        if (Msg == WM_NCCREATE) {
            const auto* Create = reinterpret_cast<const CREATESTRUCTW*>(L);
            SetWindowLongPtrW(Wnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(Create->lpCreateParams));
        }
        auto* Self =
            reinterpret_cast<TWin32ApplicationWindow*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
        if (!Self)
            return DefWindowProcW(Wnd, Msg, W, L);
        switch (Msg) {
        case WM_SETFOCUS:
            // The button was clicked: the focus belongs to a form, not to this invisible window.
            if (TWin32Window* Target = Self->FindFocusTarget()) {
                SetFocus(AsWindow(Target->GetHandle()));
                return 0;
            }
            break;
        case WM_CLOSE:
            // "Close window" on the task bar closes the form the button stands for; the
            // application window itself lives as long as the port.
            if (Self->FCarrier && Self->FCarrier->FEvents)
                Self->FCarrier->FEvents->HandleCloseRequest();
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
            Self->FHandle = nullptr;
            break;
        default:
            break;
        }
        return DefWindowProcW(Wnd, Msg, W, L);
    }
};

TWin32ApplicationWindow::TWin32ApplicationWindow()
{
    const HINSTANCE Instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW Class{};
    if (!GetClassInfoExW(Instance, ClassName, &Class)) {
        Class.cbSize = sizeof Class;
        Class.lpfnWndProc = &TProcedure::WindowProc;
        Class.hInstance = Instance;
        Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        Class.lpszClassName = ClassName;
        RegisterClassExW(&Class);
    }
    // A caption and the system menu with Minimize give the button its usual menu; at zero size
    // nothing of the window itself is ever seen. Centred, so that minimising animates from there.
    const int X = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int Y = GetSystemMetrics(SM_CYSCREEN) / 2;
    FHandle =
        CreateWindowExW(0, ClassName, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, X,
                        Y, 0, 0, nullptr, nullptr, Instance, this);
}

TWin32ApplicationWindow::~TWin32ApplicationWindow()
{
    // The owned windows die with this one: let them know first, so none calls back.
    for (TWin32Window* Window : FWindows)
        Window->Detach();
    FWindows.clear();
    if (FHandle)
        DestroyWindow(AsWindow(FHandle));
}

bool TWin32ApplicationWindow::IsButtonVisible() const
{
    return FHandle && IsWindowVisible(AsWindow(FHandle));
}

void TWin32ApplicationWindow::AddWindow(TWin32Window& Window)
{
    FWindows.push_back(&Window);
}

void TWin32ApplicationWindow::RemoveWindow(TWin32Window& Window)
{
    std::erase(FWindows, &Window);
    if (FLastActive == &Window)
        FLastActive = nullptr;
    if (FCarrier == &Window) {
        FCarrier = nullptr;
        FDecided = false;
        ShowButton(false);
    }
}

void TWin32ApplicationWindow::SetButton(TWin32Window& Carrier, bool Visible)
{
    // The clock repeats its wish four times a second: what is already so costs nothing.
    if (FDecided && FCarrier == &Carrier && IsButtonVisible() == Visible)
        return;
    FCarrier = &Carrier;
    FDecided = true;
    CopyTitle();
    ShowButton(Visible);
}

void TWin32ApplicationWindow::WindowShown(TWin32Window& Window)
{
    if (FDecided || Window.IsPopup() || !Window.WantsTaskbarButton())
        return;
    if (FCarrier && FCarrier != &Window && IsButtonVisible())
        return;
    FCarrier = &Window;
    CopyTitle();
    ShowButton(true);
}

void TWin32ApplicationWindow::WindowActivated(TWin32Window& Window)
{
    if (!Window.IsPopup())
        FLastActive = &Window;
}

void TWin32ApplicationWindow::TitleChanged(TWin32Window& Window)
{
    if (FCarrier == &Window)
        CopyTitle();
}

void TWin32ApplicationWindow::ShowButton(bool Visible)
{
    if (!FHandle)
        return;
    if (Visible) {
        SetWindowPos(AsWindow(FHandle), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(AsWindow(FHandle), SW_SHOWNA);
    } else {
        ShowWindow(AsWindow(FHandle), SW_HIDE);
    }
}

void TWin32ApplicationWindow::CopyTitle()
{
    if (!FHandle || !FCarrier || !FCarrier->GetHandle())
        return;
    const HWND Source = AsWindow(FCarrier->GetHandle());
    std::wstring Title(static_cast<std::size_t>(GetWindowTextLengthW(Source)) + 1, L'\0');
    Title.resize(static_cast<std::size_t>(
        GetWindowTextW(Source, Title.data(), static_cast<int>(Title.size()))));
    SetWindowTextW(AsWindow(FHandle), Title.c_str());
}

TWin32Window* TWin32ApplicationWindow::FindFocusTarget() const
{
    for (TWin32Window* Candidate : {FLastActive, FCarrier}) {
        if (!Candidate || !Candidate->GetHandle())
            continue;
        const HWND Wnd = AsWindow(Candidate->GetHandle());
        if (IsWindowVisible(Wnd) && IsWindowEnabled(Wnd))
            return Candidate;
    }
    return nullptr;
}
