#include "platform/win32/Win32Window.h"

#include "platform/win32/WideString.h"
#include "platform/win32/Win32ApplicationWindow.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <windows.h>

namespace {

HWND AsWindow(void* Handle)
{
    return static_cast<HWND>(Handle);
}
void ChooseStyles(const TPlatformWindowParams& Params, std::uint32_t& Style, std::uint32_t& ExStyle)
{
    Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    ExStyle = 0;
    if (Params.Popup) {
        // Menus: above everything, no button, and a click on them leaves the form active.
        ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
        return;
    }
    switch (Params.Frame) {
    case TWindowFrame::Dialog:
        Style |= WS_CAPTION | WS_SYSMENU;
        ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TWindowFrame::Sizeable:
        Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        break;
    case TWindowFrame::None:
        break;
    }
    if (Params.StayOnTop)
        ExStyle |= WS_EX_TOPMOST;
}
LPCWSTR CursorResource(TCursorShape Shape)
{
    switch (Shape) {
    case TCursorShape::Hand:
        return IDC_HAND;
    case TCursorShape::IBeam:
        return IDC_IBEAM;
    case TCursorShape::Wait:
        return IDC_WAIT;
    case TCursorShape::SizeAll:
        return IDC_SIZEALL;
    case TCursorShape::Arrow:
        break;
    }
    return IDC_ARROW;
}

// The outline as a GDI region, in window coordinates.
HRGN MakeRegion(const std::vector<TRect>& Rects, int DX, int DY)
{
    std::vector<RECT> List;
    List.reserve(Rects.size());
    RECT Bounds{};
    for (const TRect& R : Rects) {
        if (R.IsEmpty())
            continue;
        const RECT W{R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
        if (List.empty())
            Bounds = W;
        else
            UnionRect(&Bounds, &Bounds, &W);
        List.push_back(W);
    }
    if (List.empty())
        return CreateRectRgn(0, 0, 0, 0);
    const std::size_t Bytes = sizeof(RGNDATAHEADER) + List.size() * sizeof(RECT);
    if (Bytes <= ULONG_MAX) {
        // Whole DWORDs keep the header and the rectangles aligned.
        std::vector<DWORD> Buffer((Bytes + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* Data = reinterpret_cast<RGNDATA*>(Buffer.data());
        Data->rdh.dwSize = sizeof(RGNDATAHEADER);
        Data->rdh.iType = RDH_RECTANGLES;
        Data->rdh.nCount = static_cast<DWORD>(List.size());
        Data->rdh.nRgnSize = static_cast<DWORD>(List.size() * sizeof(RECT));
        Data->rdh.rcBound = Bounds;
        std::memcpy(Data->Buffer, List.data(), List.size() * sizeof(RECT));
        if (HRGN Region = ExtCreateRegion(nullptr, static_cast<DWORD>(Bytes), Data))
            return Region;
    }
    // Some systems refuse very long lists: unite the rectangles one by one instead.
    HRGN Region = CreateRectRgn(0, 0, 0, 0);
    if (!Region)
        return nullptr;
    for (const RECT& W : List) {
        HRGN Part = CreateRectRgnIndirect(&W);
        if (!Part || CombineRgn(Region, Region, Part, RGN_OR) == ERROR) {
            if (Part)
                DeleteObject(Part);
            DeleteObject(Region);
            return nullptr;
        }
        DeleteObject(Part);
    }
    return Region;
}
} // namespace

TWin32Window::TWin32Window(TWin32ApplicationWindow& Application,
                           const TPlatformWindowParams& Params, TPlatformWindowEvents* Events)
    : FApplication(&Application), FPopup(Params.Popup),
      FWantsTaskbarButton(Params.TaskbarButton && !Params.Popup)
{
    RegisterWindowClass();
    ChooseStyles(Params, FStyle, FExStyle);
    FCursor = LoadCursorW(nullptr, IDC_ARROW);
    const TRect& B = Params.Bounds;
    const std::wstring Title = Utf8ToWide(Params.Title);
    // Topmost comes through SetWindowPos afterwards: a window created topmost is not always in
    // the topmost band (Wine), and HWND_NOTOPMOST would leave it marked topmost later.
    CreateWindowExW(FExStyle & ~DWORD(WS_EX_TOPMOST), WindowClassName(), Title.c_str(), FStyle,
                    B.Left, B.Top, std::max(0, B.Width()), std::max(0, B.Height()),
                    AsWindow(Application.GetHandle()), nullptr, GetModuleHandleW(nullptr), this);
    if (!FHandle)
        return;
    if (FExStyle & WS_EX_TOPMOST)
        SetStayOnTop(true);
    // Events start once the window exists: the framework does not know its peer before that.
    FApplication->AddWindow(*this);
    FReportedBounds = GetBounds();
    FEvents = Events;
}

TWin32Window::~TWin32Window()
{
    FEvents = nullptr;
    if (FApplication)
        FApplication->RemoveWindow(*this);
    if (FHandle)
        DestroyWindow(AsWindow(FHandle));
}

void TWin32Window::Detach()
{
    FApplication = nullptr;
    FEvents = nullptr;
}

void TWin32Window::Show(bool Activate)
{
    if (!FHandle)
        return;
    ShowWindow(AsWindow(FHandle), (Activate && !FPopup) ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (FApplication)
        FApplication->WindowShown(*this);
}

void TWin32Window::Hide()
{
    if (FHandle)
        ShowWindow(AsWindow(FHandle), SW_HIDE);
}

TRect TWin32Window::GetBounds() const
{
    RECT R{};
    if (!FHandle || !GetWindowRect(AsWindow(FHandle), &R))
        return FReportedBounds.value_or(TRect{});
    return {R.left, R.top, R.right, R.bottom};
}

void TWin32Window::SetBounds(const TRect& Outer)
{
    if (!FHandle)
        return;
    SetWindowPos(AsWindow(FHandle), nullptr, Outer.Left, Outer.Top, std::max(0, Outer.Width()),
                 std::max(0, Outer.Height()), SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

TRect TWin32Window::GetClientOffset() const
{
    // The styles as the system keeps them: it adds some of its own (the window edge).
    DWORD Style = FStyle;
    DWORD ExStyle = FExStyle;
    if (FHandle) {
        Style = static_cast<DWORD>(GetWindowLongPtrW(AsWindow(FHandle), GWL_STYLE));
        ExStyle = static_cast<DWORD>(GetWindowLongPtrW(AsWindow(FHandle), GWL_EXSTYLE));
    }
    RECT R{0, 0, 0, 0};
    if (!AdjustWindowRectEx(&R, Style, FALSE, ExStyle))
        return {};
    return {-R.left, -R.top, R.right, R.bottom};
}

void TWin32Window::SetTitle(const std::string& Utf8)
{
    if (!FHandle)
        return;
    SetWindowTextW(AsWindow(FHandle), Utf8ToWide(Utf8).c_str());
    if (FApplication)
        FApplication->TitleChanged(*this);
}

void TWin32Window::SetStayOnTop(bool StayOnTop)
{
    if (!FHandle)
        return;
    const HWND Wnd = AsWindow(FHandle);
    constexpr UINT Flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(Wnd, StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, Flags);
    if (StayOnTop || !(GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
        return;
    // Wine keeps an owned window topmost when leaving the band would not change its place in the
    // z-order (it is the lowest topmost window, right above its owner). Without the owner for
    // the moment of the call, the same request takes.
    const LONG_PTR Owner = GetWindowLongPtrW(Wnd, GWLP_HWNDPARENT);
    SetWindowLongPtrW(Wnd, GWLP_HWNDPARENT, 0);
    SetWindowPos(Wnd, HWND_NOTOPMOST, 0, 0, 0, 0, Flags);
    SetWindowLongPtrW(Wnd, GWLP_HWNDPARENT, Owner);
}

void TWin32Window::SetTaskbarButton(bool Visible)
{
    if (FApplication && FHandle)
        FApplication->SetButton(*this, Visible);
}

void TWin32Window::SetShape(const std::optional<std::vector<TRect>>& Rects)
{
    if (!FHandle)
        return;
    if (!Rects) {
        SetWindowRgn(AsWindow(FHandle), nullptr, TRUE);
        return;
    }
    // The outline comes in client coordinates; the system wants it relative to the window.
    const TRect Frame = GetClientOffset();
    HRGN Region = MakeRegion(*Rects, Frame.Left, Frame.Top);
    if (!Region)
        return;
    // From here on the region is the system's, unless it refuses it.
    if (!SetWindowRgn(AsWindow(FHandle), Region, TRUE))
        DeleteObject(Region);
}

void TWin32Window::Present(const TPixelView& BackBuffer, const TRect& Rect, const TRect& Changed)
{
    if (!FHandle || !BackBuffer.Pixels || BackBuffer.StridePixels < BackBuffer.Width)
        return;
    // The system keeps what it was given until it asks for a repaint (WM_PAINT presents the
    // whole area again), so only the changed pixels need to go.
    const TRect Clip =
        Rect.Intersect(Changed).Intersect({0, 0, BackBuffer.Width, BackBuffer.Height});
    if (Clip.IsEmpty())
        return;
    const HWND Wnd = AsWindow(FHandle);
    HDC DC = FPaintDC ? static_cast<HDC>(FPaintDC) : GetDC(Wnd);
    if (!DC)
        return;
    // The rows of the rectangle as a top-down DIB of their own, as wide as the buffer's stride:
    // no question of which end the source rows count from.
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = BackBuffer.StridePixels;
    Info.bmiHeader.biHeight = -Clip.Height();
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    Info.bmiHeader.biCompression = BI_RGB;
    const TPixel* FirstRow =
        BackBuffer.Pixels + static_cast<std::ptrdiff_t>(Clip.Top) * BackBuffer.StridePixels;
    SetDIBitsToDevice(DC, Clip.Left, Clip.Top, static_cast<DWORD>(Clip.Width()),
                      static_cast<DWORD>(Clip.Height()), Clip.Left, 0, 0,
                      static_cast<UINT>(Clip.Height()), FirstRow, &Info, DIB_RGB_COLORS);
    if (!FPaintDC)
        ReleaseDC(Wnd, DC);
}

void TWin32Window::Activate()
{
    if (FHandle && !FPopup)
        SetForegroundWindow(AsWindow(FHandle));
}

void TWin32Window::SetCursor(TCursorShape Shape)
{
    FCursor = LoadCursorW(nullptr, CursorResource(Shape));
    if (!FHandle)
        return;
    // The system asks again only when the pointer moves: change it now if it is ours.
    POINT P{};
    const HWND Wnd = AsWindow(FHandle);
    if (GetCapture() == Wnd || (::GetCursorPos(&P) && WindowFromPoint(P) == Wnd))
        ::SetCursor(static_cast<HCURSOR>(FCursor));
}

void TWin32Window::SetCapture(bool Captured)
{
    if (!FHandle)
        return;
    const HWND Wnd = AsWindow(FHandle);
    if (Captured) {
        FCaptured = true;
        ::SetCapture(Wnd);
        return;
    }
    FCaptured = false;
    if (GetCapture() == Wnd) {
        FReleasingCapture = true;
        ReleaseCapture();
        FReleasingCapture = false;
    }
}

void TWin32Window::ReportBounds()
{
    if (!FEvents || !FHandle || IsIconic(AsWindow(FHandle)))
        return;
    const TRect Bounds = GetBounds();
    if (FReportedBounds == Bounds)
        return;
    FReportedBounds = Bounds;
    FEvents->HandleMoved(Bounds);
}

TWindowShowState TWin32Window::GetShowState() const
{
    if (!FHandle)
        return TWindowShowState::Normal;
    const HWND Wnd = AsWindow(FHandle);
    if (IsIconic(Wnd))
        return TWindowShowState::Minimized;
    return IsZoomed(Wnd) ? TWindowShowState::Maximized : TWindowShowState::Normal;
}
