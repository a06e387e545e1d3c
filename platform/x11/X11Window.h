#pragma once

#include "platform/Platform.h"
#include "platform/x11/X11ShownPixels.h"

#include <deque>
#include <optional>
#include <vector>

class TX11Platform;
struct _XGC;
struct _XIC;
union _XEvent;

// A native window of the X11 port: an X window that is the client area, decorated by the window
// manager for dialog frames, undecorated (Motif hints) when borderless, override-redirect for
// popups. What the window manager owns once the window is mapped (its state) is asked of it by
// EWMH messages; before mapping, and when no window manager runs, the window's properties say it.
class TX11Window : public TPlatformWindow
{
public:
    TX11Window(TX11Platform& Port, const TPlatformWindowParams& Params,
               TPlatformWindowEvents* Events);
    ~TX11Window() override;
    TX11Window(const TX11Window&) = delete;
    TX11Window& operator=(const TX11Window&) = delete;

    void Show(bool Activate) override;
    void Hide() override;
    TRect GetBounds() const override { return FBounds; }
    void SetBounds(const TRect& Outer) override;
    TRect GetClientOffset() const override { return FInsets; }
    void SetTitle(const std::string& Utf8) override;
    void SetStayOnTop(bool StayOnTop) override;
    void SetTaskbarButton(bool Visible) override;
    void SetShape(const std::optional<std::vector<TRect>>& Rects) override;
    void Present(const TPixelView& BackBuffer, const TRect& Rect, const TRect& Changed) override;
    void Activate() override;
    void SetCursor(TCursorShape Shape) override;
    void SetCapture(bool Captured) override;
    TWindowShowState GetShowState() const override;

    unsigned long GetXWindow() const { return FWindow; }
    TPoint GetClientSize() const;
    bool IsMapped() const { return FMapped; }
    bool IsCaptured() const { return FCaptured; }
    // The X cursor defined on the window: the one of the shape last set.
    unsigned long GetCurrentCursor() const;

private:
    friend class TX11Platform;

    void Create(const TPlatformWindowParams& Params);
    void SetWindowManagerHints();
    void SetMotifHints();
    void WriteNetWmState();
    void ChangeNetWmState(bool Add, unsigned long State);
    void LearnFrameExtents();
    TRect GetClientRectOnScreen() const;
    // The client point of a pointer event at Event (window) and OnScreen (root).
    TPoint ClientPointOf(TPoint Event, TPoint OnScreen) const;
    // The port's half: an event of this window; true when a handler was called.
    bool HandleEvent(_XEvent& Event);
    bool HandleButton(_XEvent& Event);
    bool HandleKey(_XEvent& Event);
    // Makes the input context at the window's first key, before the input method sees the key.
    void PrepareForKeys();
    bool HandleConfigure(_XEvent& Event);
    bool HandleClientMessage(_XEvent& Event);
    // The port lost the connection or is gone: make no more calls to it.
    void Orphan() { FPort = nullptr; }
    // The port inverted pixels of the screen in OnScreen: what shows there is no longer known.
    void ForgetScreenArea(const TRect& OnScreen);

    TX11Platform* FPort;
    TPlatformWindowEvents* FEvents;
    unsigned long FWindow = 0;
    _XGC* FGc = nullptr;
    _XIC* FInputContext = nullptr;
    bool FInputContextTried = false;
    TRect FBounds; // outer
    TRect FInsets; // the frame: left, top, right, bottom
    TWindowFrame FFrame = TWindowFrame::None;
    bool FPopup = false;
    bool FStayOnTop = false;
    bool FTaskbarButton = true;
    bool FShown = false;  // asked to be visible
    bool FMapped = false; // the server says it is
    bool FFocused = false;
    bool FCaptured = false;
    bool FParentIsRoot = true;
    bool FActivateOnMap = false;
    // Client rectangles (screen) asked for and not yet confirmed by the server: the echoes of
    // older requests must not make the framework believe the window went back.
    std::deque<TRect> FRequested;
    TCursorShape FCursor = TCursorShape::Arrow;
    TX11ShownPixels FOnServer; // what the client area shows
};
