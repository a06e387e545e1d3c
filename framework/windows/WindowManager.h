#pragma once

#include "base/Rect.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Region.h"
#include "framework/windows/Messages.h"
#include "framework/windows/ShiftState.h"
#include "platform/Platform.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A window procedure. Procedures are held by shared pointer so that a hook can remember the one it
// replaced and call it, exactly as with GWL_WNDPROC and CallWindowProc.
using TWndProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
using TWndProcRef = std::shared_ptr<const TWndProc>;

struct TCreateWindowParams
{
    HWND Parent = 0;
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    TRect Bounds;        // in the parent's client coordinates; on the screen for a top-level window
    std::string Caption; // UTF-8
    TWndProcRef WndProc;
    // A top-level window that only receives messages (timers, the application window): no native
    // peer, never painted, never hit by the mouse.
    bool MessageOnly = false;
};

// What BeginPaint hands a window: where to draw (the top-level back buffer, with the window's
// client origin inside it) and the part that needs painting, in the window's client coordinates.
struct TPaintContext
{
    TBitmap* Surface = nullptr;
    TPoint Origin;      // the window's client origin in Surface
    TRegion ClipRegion; // in Surface coordinates: update region limited to what the window shows
    TRect PaintRect;    // bounds of the update region, client coordinates
    bool Erase = false;
};

// The framework's window manager: virtual windows with handles, window procedures, styles, a
// z-order, update regions, the message queue with timers, mouse capture and keyboard focus. Only
// top-level windows have a native peer (through TPlatform); children exist only here, so every
// port behaves the same and everything can be tested headless.
class TWindowManager
{
public:
    static TWindowManager& Get();
    // Destroys every window and empties the queue (for tests and the end of the program).
    static void Reset();

    TWindowManager();
    ~TWindowManager();
    TWindowManager(const TWindowManager&) = delete;
    TWindowManager& operator=(const TWindowManager&) = delete;

    // Windows.
    HWND CreateWindowEx(const TCreateWindowParams& Params);
    bool DestroyWindow(HWND Wnd);
    bool IsWindow(HWND Wnd) const;
    HWND GetParent(HWND Wnd) const;
    HWND GetTopLevel(HWND Wnd) const;
    std::vector<HWND> GetChildren(HWND Wnd) const; // bottom of the z-order first
    TPlatformWindow* GetPeer(HWND Wnd) const;

    TWndProcRef GetWindowProc(HWND Wnd) const;
    TWndProcRef SetWindowProc(HWND Wnd, TWndProcRef Proc); // returns the previous procedure
    static LRESULT CallWindowProc(const TWndProcRef& Proc, HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
    LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);

    std::uint32_t GetWindowLong(HWND Wnd, int Index) const;
    std::uint32_t SetWindowLong(HWND Wnd, int Index, std::uint32_t Value);
    std::string GetWindowText(HWND Wnd) const;
    void SetWindowText(HWND Wnd, const std::string& Text);

    // Geometry. Window rectangles are on the screen; client rectangles start at (0, 0).
    TRect GetWindowRect(HWND Wnd) const;
    TRect GetClientRect(HWND Wnd) const;
    TPoint ClientToScreen(HWND Wnd, TPoint P) const;
    TPoint ScreenToClient(HWND Wnd, TPoint P) const;
    // X and Y in the parent's client coordinates (on the screen for a top-level window, as the
    // outer corner). InsertAfter 0 puts the window on top of its siblings.
    bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Width, int Height, UINT Flags);
    bool MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool Repaint);
    bool ShowWindow(HWND Wnd, int Command);
    bool IsWindowVisible(HWND Wnd) const; // this window and all its ancestors are visible
    // A top-level window minimized or maximized on the desktop; false for any other window.
    bool IsIconic(HWND Wnd) const;
    bool IsZoomed(HWND Wnd) const;
    bool EnableWindow(HWND Wnd, bool Enable);
    bool IsWindowEnabled(HWND Wnd) const;
    HWND ChildWindowFromPoint(HWND Parent, TPoint Client) const; // deepest visible child, or Parent

    // The outline of a top-level window in its client coordinates; none makes it rectangular.
    bool SetWindowRgn(HWND Wnd, std::optional<TRegion> Region, bool Redraw);
    std::optional<TRegion> GetWindowRgn(HWND Wnd) const;

    // The queue.
    bool PostMessage(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
    LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
    // 1 with a message, 0 for WM_QUIT, -1 when the filter names no window or nothing can ever
    // arrive (a port that has no events and no timer pending).
    int GetMessage(TMsg& Msg, HWND Filter, UINT Min, UINT Max);
    // The next message of a nested loop that runs while Window holds the mouse capture (a menu,
    // a drag); false when the loop must end instead: Window is gone or has lost the capture,
    // nothing can arrive any more, or the queue was told to quit, in which case the quit is
    // posted again so that the loop outside ends too.
    bool GetCapturedMessage(HWND Window, TMsg& Msg);
    bool PeekMessage(TMsg& Msg, HWND Filter, UINT Min, UINT Max, UINT RemoveFlags);
    bool TranslateMessage(const TMsg& Msg);
    LRESULT DispatchMessage(const TMsg& Msg);
    void PostQuitMessage(int ExitCode);
    std::uint32_t SetTimer(HWND Wnd, std::uint32_t Id, std::uint32_t ElapseMs);
    bool KillTimer(HWND Wnd, std::uint32_t Id);

    // Input.
    HWND SetCapture(HWND Wnd);
    HWND GetCapture() const { return FCapture; }
    bool ReleaseCapture();
    // The pointer's shape while it is over the top-level window of Wnd (or that window holds
    // the capture).
    void SetCursor(HWND Wnd, TCursorShape Shape);
    HWND SetFocus(HWND Wnd);
    HWND GetFocus() const { return FFocus; }
    // The keys and buttons (TShiftBits) held with the input message being dispatched (or the last
    // one): the key state that GetKeyState reads on Windows.
    TShiftState GetKeyShift() const { return FKeyShift; }
    HWND GetActiveWindow() const { return FActive; }
    // Activates a top-level window on the desktop and gives the focus back to the window inside
    // it that last had it; the window active before, or 0.
    HWND SetActiveWindow(HWND Wnd);

    // Painting.
    bool InvalidateRect(HWND Wnd, const TRect* Rect, bool Erase);
    bool InvalidateRgn(HWND Wnd, const TRegion& Region, bool Erase);
    bool ValidateRect(HWND Wnd, const TRect* Rect);
    bool GetUpdateRect(HWND Wnd, TRect* Rect) const;
    bool UpdateWindow(HWND Wnd);
    // Sends WM_ERASEBKGND when an erase is pending, then validates the window.
    TPaintContext BeginPaint(HWND Wnd);
    void EndPaint(HWND Wnd, const TPaintContext& Context);
    // The paint context between BeginPaint and EndPaint (for WM_ERASEBKGND handlers), or null.
    const TPaintContext* GetCurrentPaint(HWND Wnd) const;
    TBitmap* GetBackBuffer(HWND TopLevel);

    // Entry points for the platform events of a top-level window, in its client coordinates.
    // HandleInput takes a port's input record; the three after it queue its mouse message, key
    // message or character.
    void HandleInput(HWND TopLevel, const TInputEvent& Event);
    void HandleMouse(HWND TopLevel, UINT Msg, TShiftState Shift, TPoint Client);
    void HandleKey(HWND TopLevel, UINT Msg, unsigned VirtualKey, TShiftState Shift);
    void HandleChar(HWND TopLevel, char32_t Character);
    void HandleExpose(HWND TopLevel, const TRect& Client);
    void HandleMoved(HWND TopLevel, const TRect& Outer);
    void HandleCaptureLost(HWND TopLevel);
    void HandleCloseRequest(HWND TopLevel);
    void HandleFocus(HWND TopLevel, bool Gained);

private:
    struct TWindow;
    class TPeerEvents;

    TWindow* Find(HWND Wnd) const;
    // Gives the focus back to the window inside TopLevel that last had it (see SetActiveWindow).
    void RestoreFocus(HWND TopLevel);
    TWindow& TopLevelOf(TWindow& W) const;
    TPoint OffsetInTopLevel(const TWindow& W) const;
    TRegion VisibleRegion(const TWindow& W) const; // in top-level client coordinates
    void InvalidateTree(TWindow& W, const TRegion& Client, bool Erase, bool IncludeChildren);
    void DestroyTree(TWindow& W);
    void RemoveMessagesFor(HWND Wnd);
    bool Matches(const TMsg& M, HWND Filter, UINT Min, UINT Max) const;
    bool NextPaint(TMsg& Msg, HWND Filter) const;
    bool NextTimer(TMsg& Msg, HWND Filter, bool Remove);
    int MillisecondsToNextTimer() const;
    void ResizeBackBuffer(TWindow& W);
    void SyncPeerBounds(TWindow& W);
    void PostInput(TMsg Msg);
    // Gives queued mouse input its window and client point; false when no window takes it.
    bool RouteMouse(TMsg& Msg) const;

    struct TTimer
    {
        HWND Wnd;
        std::uint32_t Id;
        std::uint32_t IntervalMs;
        std::uint64_t DueMs;
    };

    std::map<HWND, std::unique_ptr<TWindow>> FWindows;
    std::vector<HWND> FTopLevels; // creation order
    HWND FNextHandle = 1;
    std::deque<TMsg> FPosted;
    std::vector<TTimer> FTimers;
    bool FQuitPosted = false;
    int FQuitCode = 0;
    HWND FCapture = 0;
    HWND FFocus = 0;
    TShiftState FKeyShift = 0;
    HWND FActive = 0;
};
