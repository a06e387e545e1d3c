#pragma once

// The one interface between the program and an operating system. The framework calls down through
// TPlatform and TPlatformWindow; a port calls back up through TPlatformWindowEvents. Every method
// has a harmless default so that a port (the headless one above all) implements only what it has.
// Only the value types of framework/Point.h, Rect.h and Color.h cross this seam.
//
// Several names here (the ERROR_ and REG_ constants) are also macros of <windows.h>, with the same
// values. The Windows port therefore includes <windows.h> after every project header, and no method
// of this interface bears the name of a Win32 macro (RegOpenKey, GetProfileString, ...).

#include "base/Color.h"
#include "base/Rect.h"
#include "base/Set.h"
#include "platform/FontEngine.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Win32 result codes, used by every port's registry.
constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_ACCESS_DENIED = 5;
constexpr long ERROR_INVALID_HANDLE = 6;
constexpr long ERROR_INVALID_PARAMETER = 87;
constexpr long ERROR_BAD_PATHNAME = 161;
constexpr long ERROR_MORE_DATA = 234;
constexpr long ERROR_KEY_DELETED = 1018;
constexpr long ERROR_UNSUPPORTED_TYPE = 1630;

// Registry value types.
constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;

// Dispositions reported by TPlatform::CreateRegistryKey.
constexpr std::uint32_t REG_CREATED_NEW_KEY = 1;
constexpr std::uint32_t REG_OPENED_EXISTING_KEY = 2;

enum class TRegistryRoot
{
    CurrentUser
};

using TRegistryKey = std::uintptr_t; // 0 is no key

// The wall clock, local time, whole seconds.
struct TLocalTime
{
    int Year = 2000;
    int Month = 1; // 1..12
    int Day = 1;   // 1..31
    int Hour = 0;  // 0..23
    int Minute = 0;
    int Second = 0;
    int DayOfWeek = 6; // 0 = Sunday
    bool operator==(const TLocalTime&) const = default;
};

// A read-only view of 32-bit pixels (TPixel, 0x00RRGGBB), top row first.
struct TPixelView
{
    const TPixel* Pixels = nullptr;
    int Width = 0;
    int Height = 0;
    int StridePixels = 0;
};

enum class TMouseButton
{
    None,
    Left,
    Right,
    Middle
};

// The keys and mouse buttons held with an input event, as they are once the event has happened
// (a press holds its own button, a release no longer does), as Windows reports them.
enum class TInputModifier
{
    Shift,
    Ctrl,
    Alt,
    LeftButton,
    RightButton,
    MiddleButton
};
using TInputModifiers = TSet<TInputModifier>;

enum class TInputKind
{
    MouseDown,
    MouseUp,
    MouseMove,
    DoubleClick, // the second press of a double click, in place of its MouseDown
    KeyDown,
    KeyUp,
    Character // the character that the key before it typed
};

// One input event of a native window, as a port hands it over. Mouse events carry the pointer in
// client coordinates (and, but for moves, their button); key events a Win32 virtual key, with Alt
// among the modifiers only where Windows makes it a system key (not AltGr, which is Ctrl+Alt).
struct TInputEvent
{
    TInputKind Kind = TInputKind::MouseMove;
    TPoint Client{};
    TMouseButton Button = TMouseButton::None;
    unsigned Key = 0;
    char32_t Character = 0;
    TInputModifiers Modifiers{};
    bool operator==(const TInputEvent&) const = default;
};

enum class TCursorShape
{
    Arrow,
    Hand,
    IBeam,
    Wait,
    SizeAll
};

enum class TWindowFrame
{
    None,   // borderless: the client area is the whole window
    Dialog, // caption and a fixed frame
    Sizeable
};

struct TPlatformWindowParams
{
    TRect Bounds; // outer bounds on the screen
    TWindowFrame Frame = TWindowFrame::None;
    std::string Title; // UTF-8
    bool StayOnTop = false;
    bool TaskbarButton = true;
    bool Popup = false; // a menu or other transient popup: no decoration, no activation
};

// Events from the port; client coordinates are relative to the client area's top-left corner.
class TPlatformWindowEvents
{
public:
    virtual ~TPlatformWindowEvents() = default;
    virtual void HandleInput(const TInputEvent&) {}
    virtual void HandleExpose(const TRect& /*Client*/) {}
    virtual void HandleMoved(const TRect& /*OuterBounds*/) {}
    virtual void HandleFocus(bool /*Gained*/) {}
    virtual void HandleCaptureLost() {}
    virtual void HandleCloseRequest() {}
};

// A native top-level window (peer). Destroying the object destroys the window.
class TPlatformWindow
{
public:
    virtual ~TPlatformWindow() = default;
    virtual void Show(bool /*Activate*/) {}
    virtual void Hide() {}
    virtual TRect GetBounds() const = 0; // outer, screen coordinates
    virtual void SetBounds(const TRect& /*Outer*/) {}
    virtual TRect GetClientOffset() const
    {
        return {};
    } // frame thickness: left, top, right, bottom
    virtual void SetTitle(const std::string& /*Utf8*/) {}
    virtual void SetStayOnTop(bool) {}
    virtual void SetTaskbarButton(bool /*Visible*/) {}
    // The window's outline, in client coordinates; an empty optional makes it rectangular.
    virtual void SetShape(const std::optional<std::vector<TRect>>& /*Rects*/) {}
    // Copies the part Rect (client coordinates) of the back buffer to the screen.
    virtual void Present(const TPixelView& /*BackBuffer*/, const TRect& /*Rect*/) {}
    virtual void Activate() {}
    virtual void SetCursor(TCursorShape) {}
    virtual void SetCapture(bool /*Captured*/) {}
};

class TPlatform
{
public:
    virtual ~TPlatform() = default;

    // The current port; set once at program entry (or by a test).
    static TPlatform& Get();
    static void Set(TPlatform* Port);

    // Windows and events.
    virtual std::unique_ptr<TPlatformWindow> CreateNativeWindow(const TPlatformWindowParams&,
                                                                TPlatformWindowEvents*)
    {
        return nullptr;
    }
    // Waits at most TimeoutMs for events and delivers them; true when something was delivered.
    virtual bool WaitEvents(int /*TimeoutMs*/) { return false; }
    // Makes a WaitEvents of another call return early (used by PostMessage).
    virtual void Wake() {}

    // Screen and pointer.
    virtual TPoint GetScreenSize() const { return {1024, 768}; }
    virtual int GetScreenBitsPerPixel() const { return 32; }
    virtual TPoint GetCursorPos() const { return {}; }
    virtual bool GetFullWindowDrag() const { return true; }
    // Inverts the pixels of a frame Thickness pixels wide inside Rect on the screen (XOR: a
    // second call with the same arguments erases it).
    virtual void DrawScreenFrame(const TRect& /*Rect*/, int /*Thickness*/) {}

    // Text.
    virtual TFontEngine& GetFontEngine() = 0;

    // Per-user registry. Values are the stored bytes; REG_SZ text is UTF-8, stored with its
    // terminating NUL when the caller includes it (as Win32 callers do).
    virtual long CreateRegistryKey(TRegistryRoot, const std::string& /*Path*/, TRegistryKey& Key,
                                   std::uint32_t* Disposition)
    {
        Key = 0;
        if (Disposition)
            *Disposition = 0;
        return ERROR_ACCESS_DENIED;
    }
    virtual long OpenRegistryKey(TRegistryRoot, const std::string& /*Path*/, TRegistryKey& Key)
    {
        Key = 0;
        return ERROR_FILE_NOT_FOUND;
    }
    virtual long QueryRegistryValue(TRegistryKey, const std::string& /*Name*/, std::uint32_t& Type,
                                    std::vector<std::uint8_t>& Data)
    {
        Type = REG_NONE;
        Data.clear();
        return ERROR_FILE_NOT_FOUND;
    }
    virtual long SetRegistryValue(TRegistryKey, const std::string& /*Name*/, std::uint32_t /*Type*/,
                                  std::span<const std::uint8_t> /*Data*/)
    {
        return ERROR_ACCESS_DENIED;
    }
    virtual long DeleteRegistryValue(TRegistryKey, const std::string& /*Name*/)
    {
        return ERROR_FILE_NOT_FOUND;
    }
    virtual long CloseRegistryKey(TRegistryKey) { return ERROR_SUCCESS; }

    // Private profile (INI) files; File is a path, Section and Key are case-insensitive.
    virtual std::string ReadProfileEntry(const std::string& /*File*/,
                                         const std::string& /*Section*/, const std::string& /*Key*/,
                                         const std::string& Default)
    {
        return Default;
    }
    virtual bool WriteProfileEntry(const std::string& /*File*/, const std::string& /*Section*/,
                                   const std::string& /*Key*/, const std::string& /*Value*/)
    {
        return false;
    }

    // Commands started at login, by name.
    virtual bool SetLoginItem(const std::string& /*Name*/, const std::string& /*CommandLine*/)
    {
        return false;
    }
    virtual bool RemoveLoginItem(const std::string& /*Name*/) { return false; }
    virtual std::optional<std::string> GetLoginItem(const std::string& /*Name*/)
    {
        return std::nullopt;
    }

    // Opens a file or an address with the user's default application; false when that failed.
    virtual bool ShellOpen(const std::string& /*FileOrAddress*/) { return false; }

    // Process.
    virtual std::string GetExecutablePath() const { return {}; }
    virtual std::string GetCurrentFolder() const { return {}; }
    virtual bool FileExists(const std::string& /*Path*/) const { return false; }
    virtual void Sleep(int /*Milliseconds*/) {}
    virtual TLocalTime GetLocalTime() const = 0;
    // Milliseconds on a monotonic clock; drives the framework's timers.
    virtual std::uint64_t GetTickCount() const = 0;
};
