#pragma once

#include "platform/Platform.h"

#include <cstdint>

class TWin32ApplicationWindow;

// A form's native window: an HWND owned by the application window (so it has no task-bar button
// of its own), whose window procedure turns the system's messages into the events of
// TPlatformWindowEvents. The framework paints into its own back buffer; the window only copies
// rectangles of it to the screen, and never erases.
//
// Frames: None is a plain WS_POPUP, Dialog adds a caption, system menu and modal frame, Sizeable a
// thick frame; a Popup (menus) is a topmost tool window that never takes activation. The task-bar
// button belongs to the application window: see TWin32ApplicationWindow.
class TWin32Window : public TPlatformWindow
{
public:
    TWin32Window(TWin32ApplicationWindow& Application, const TPlatformWindowParams& Params,
                 TPlatformWindowEvents* Events);
    ~TWin32Window() override;
    TWin32Window(const TWin32Window&) = delete;
    TWin32Window& operator=(const TWin32Window&) = delete;

    void Show(bool Activate) override;
    void Hide() override;
    TRect GetBounds() const override;
    void SetBounds(const TRect& Outer) override;
    TRect GetClientOffset() const override;
    void SetTitle(const std::string& Utf8) override;
    void SetStayOnTop(bool StayOnTop) override;
    void SetTaskbarButton(bool Visible) override;
    void SetShape(const std::optional<std::vector<TRect>>& Rects) override;
    void Present(const TPixelView& BackBuffer, const TRect& Rect, const TRect& Changed) override;
    void Activate() override;
    void SetCursor(TCursorShape Shape) override;
    void SetCapture(bool Captured) override;
    TWindowShowState GetShowState() const override;

    // The HWND; null when creation failed or the system has destroyed the window (with its owner).
    void* GetHandle() const { return FHandle; }
    bool IsPopup() const { return FPopup; }
    // Whether the creation parameters asked for a task-bar button.
    bool WantsTaskbarButton() const { return FWantsTaskbarButton; }

private:
    friend class TWin32ApplicationWindow;
    struct TProcedure; // the window procedure, which reaches the members below

    static const wchar_t* WindowClassName();
    static void RegisterWindowClass(); // once per process; later calls find it registered
    // Called by the application window when it goes: no more events, no more calls back.
    void Detach();
    void ReportBounds();
    void DeliverChar(char16_t Unit);

    TWin32ApplicationWindow* FApplication;
    TPlatformWindowEvents* FEvents = nullptr;
    void* FHandle = nullptr;
    std::uint32_t FStyle = 0;
    std::uint32_t FExStyle = 0;
    bool FPopup = false;
    bool FWantsTaskbarButton = false;
    void* FCursor = nullptr;
    bool FCaptured = false;
    bool FReleasingCapture = false;
    char16_t FHighSurrogate = 0; // the first half of a character that came in two WM_CHARs
    void* FPaintDC = nullptr;    // while WM_PAINT is handled, Present draws through its DC
    std::optional<TRect> FReportedBounds;
};
