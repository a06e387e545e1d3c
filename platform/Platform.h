#pragma once

// The one interface between the program and an operating system. The framework calls down through
// TPlatform and TPlatformWindow; a port calls back up through TPlatformWindowEvents. A port
// implements every method of TPlatform and TPlatformWindow: no silent default hides a missing one.
// Only the value types of base/ cross this seam.
//
// Several names here (the ERROR_ and REG_ constants) are also macros of <windows.h>, with the same
// values. The Windows port therefore includes <windows.h> after every project header, and no method
// of this interface bears the name of a Win32 macro (RegOpenKey, GetProfileString, ...).

#include "base/Color.h"
#include "base/Rect.h"
#include "base/Set.h"
#include "platform/ByteBlock.h"
#include "platform/FontEngine.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

// Win32 result codes, used by every port's registry.
constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_ACCESS_DENIED = 5;
constexpr long ERROR_INVALID_HANDLE = 6;
constexpr long ERROR_INVALID_PARAMETER = 87;
constexpr long ERROR_INVALID_NAME = 123;
constexpr long ERROR_BAD_PATHNAME = 161;
constexpr long ERROR_MORE_DATA = 234;
constexpr long ERROR_KEY_DELETED = 1018;
constexpr long ERROR_UNSUPPORTED_TYPE = 1630;

// Registry value types.
constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;

// A REG_DWORD value's four bytes, little-endian (a signed number as its two's complement), and
// the number they hold; none unless Data is exactly four bytes.
inline std::array<std::uint8_t, 4> DwordBytes(std::uint32_t Value)
{
    return {std::uint8_t(Value), std::uint8_t(Value >> 8), std::uint8_t(Value >> 16),
            std::uint8_t(Value >> 24)};
}
inline std::optional<std::uint32_t> DwordOf(std::span<const std::uint8_t> Data)
{
    if (Data.size() != 4)
        return std::nullopt;
    return Data[0] | std::uint32_t(Data[1]) << 8 | std::uint32_t(Data[2]) << 16 |
           std::uint32_t(Data[3]) << 24;
}

// Dispositions reported by TPlatform::CreateRegistryKey.
constexpr std::uint32_t REG_CREATED_NEW_KEY = 1;
constexpr std::uint32_t REG_OPENED_EXISTING_KEY = 2;

enum class TRegistryRoot
{
    CurrentUser
};

using TRegistryKey = std::uintptr_t; // 0 is no key

// A program started at login: its full path and its arguments.
struct TLoginCommand
{
    std::string Program;
    std::vector<std::string> Arguments;
};

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

// How the desktop shows a top-level window.
enum class TWindowShowState
{
    Normal,
    Minimized, // iconified: only its task-bar button (or icon) is left
    Maximized
};

// A native top-level window (peer). Destroying the object destroys the window.
class TPlatformWindow
{
public:
    virtual ~TPlatformWindow() = default;
    virtual void Show(bool Activate) = 0;
    virtual void Hide() = 0;
    virtual TRect GetBounds() const = 0; // outer, screen coordinates
    virtual void SetBounds(const TRect& Outer) = 0;
    virtual TRect GetClientOffset() const = 0; // frame thickness: left, top, right, bottom
    virtual void SetTitle(const std::string& Utf8) = 0;
    virtual void SetStayOnTop(bool) = 0;
    virtual void SetTaskbarButton(bool Visible) = 0;
    // The window's outline, in client coordinates; an empty optional makes it rectangular.
    virtual void SetShape(const std::optional<std::vector<TRect>>& Rects) = 0;
    // Copies the part Rect (client coordinates) of the back buffer to the screen. Outside
    // Changed the back buffer holds what it held when last presented, so a port that still
    // shows those pixels need not send them again.
    virtual void Present(const TPixelView& BackBuffer, const TRect& Rect, const TRect& Changed) = 0;
    virtual void Activate() = 0;
    virtual void SetCursor(TCursorShape) = 0;
    virtual void SetCapture(bool Captured) = 0;
    // Minimized or maximized by the user or the desktop, as far as the system tells.
    virtual TWindowShowState GetShowState() const = 0;
};

// Whole files of bytes, as editors of raw data read and write them.
enum class TFileReadOutcome
{
    Read,       // every byte of the file
    Short,      // the file ended or failed before its size was read; the block holds what was
    CannotOpen, // no such file, or not readable
    TooLarge,   // larger than the caller's limit: not read
    NoMemory    // no block of the file's size could be had: not read
};
struct TFileReadResult
{
    TFileReadOutcome Outcome = TFileReadOutcome::CannotOpen;
    TByteBlock Bytes; // as large as the file, from AllocateBytes; empty unless Read or Short
    std::size_t BytesRead = 0;
    // Why the file could not be read whole, in the system's words (UTF-8); empty when Read,
    // TooLarge or NoMemory.
    std::string Reason;
};
enum class TFileWriteOutcome
{
    Written,
    Short,     // the bytes could not all be written and flushed: the old file is untouched
    CannotOpen // no new file could be made beside the target: the old file is untouched
};
struct TFileWriteResult
{
    TFileWriteOutcome Outcome = TFileWriteOutcome::CannotOpen;
    std::string Reason; // why not, in the system's words (UTF-8); empty when Written
};

// The system's own Open or Save As dialog. Folder and FileName preset it (either may be empty);
// Filters are pairs of a description and its patterns, ';' between patterns, as in
// ("Text files (*.txt)", "*.txt;*.log"); none gives one filter of all files.
struct TFileDialogParams
{
    bool Save = false;
    std::string Title; // UTF-8; empty gives the system's "Open" or "Save As"
    std::string Folder;
    std::string FileName;
    const TPlatformWindow* Owner = nullptr; // disabled while the dialog is up
    std::vector<std::pair<std::string, std::string>> Filters;
};
enum class TFileDialogOutcome
{
    Chosen,
    Cancelled,
    NoNativeDialog // the port has none, or the system could not show it: draw one instead
};
struct TFileDialogResult
{
    TFileDialogOutcome Outcome = TFileDialogOutcome::NoNativeDialog;
    std::string Path; // UTF-8, the full path of the file chosen
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
                                                                TPlatformWindowEvents*) = 0;
    // Waits at most TimeoutMs for events and delivers them; true when something was delivered.
    virtual bool WaitEvents(int TimeoutMs) = 0;
    // Makes a WaitEvents of another call return early (used by PostMessage).
    virtual void Wake() = 0;

    // Screen and pointer.
    virtual TPoint GetScreenSize() const = 0;
    virtual int GetScreenBitsPerPixel() const = 0;
    virtual TPoint GetCursorPos() const = 0;
    virtual bool GetFullWindowDrag() const = 0;
    // Inverts the pixels of a frame Thickness pixels wide inside Rect on the screen (XOR: a
    // second call with the same arguments erases it).
    virtual void DrawScreenFrame(const TRect& Rect, int Thickness) = 0;

    // Text.
    virtual TFontEngine& GetFontEngine() = 0;

    // Per-user registry. Values are the stored bytes; REG_SZ text is UTF-8, stored with its
    // terminating NUL when the caller includes it (as Win32 callers do).
    virtual long CreateRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key,
                                   std::uint32_t* Disposition) = 0;
    virtual long OpenRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key) = 0;
    virtual long QueryRegistryValue(TRegistryKey, const std::string& Name, std::uint32_t& Type,
                                    std::vector<std::uint8_t>& Data) = 0;
    virtual long SetRegistryValue(TRegistryKey, const std::string& Name, std::uint32_t Type,
                                  std::span<const std::uint8_t> Data) = 0;
    virtual long DeleteRegistryValue(TRegistryKey, const std::string& Name) = 0;
    virtual long CloseRegistryKey(TRegistryKey) = 0;

    // Private profile (INI) files; File is a path, Section and Key are case-insensitive.
    virtual std::string ReadProfileEntry(const std::string& File, const std::string& Section,
                                         const std::string& Key, const std::string& Default) = 0;
    virtual bool WriteProfileEntry(const std::string& File, const std::string& Section,
                                   const std::string& Key, const std::string& Value) = 0;

    // Commands started at login, by name. Windows: REG_SZ values of the per-user Run key, which
    // is opened and never created; the data is the quoted program followed by its arguments. X11:
    // desktop entries in $XDG_CONFIG_HOME/autostart whose Exec line runs the program with its
    // arguments. Set and Remove return ERROR_SUCCESS or the error that kept the store from being
    // opened (nothing changed then); on Windows, once the Run key is open, a failed write or
    // delete is not reported: the result is that of closing the key. A command with an empty
    // Program writes nothing; removing an item that is not there succeeds.
    virtual long SetLoginItem(const std::string& Name, const TLoginCommand& Command) = 0;
    virtual long RemoveLoginItem(const std::string& Name) = 0;
    // The stored command line as the system reads it (the Run value's text; the Exec value with
    // the desktop entry's escapes undone, its quoting kept), or none.
    virtual std::optional<std::string> GetLoginItem(const std::string& Name) = 0;

    // Opens a file or an address with the user's default application; false when that failed.
    virtual bool ShellOpen(const std::string& FileOrAddress) = 0;

    // Runs the system's file dialog modally. Open asks for a file that exists; Save asks before
    // a file is replaced; both ask for a folder that exists.
    virtual TFileDialogResult RunFileDialog(const TFileDialogParams& Params) = 0;

    // The system clipboard's text, UTF-8. Put replaces whatever the clipboard held and returns
    // false when the system refused it; Get returns none when the clipboard holds no text.
    virtual bool PutClipboardText(const std::string& Utf8) = 0;
    virtual std::optional<std::string> GetClipboardText() = 0;

    // Memory for large byte buffers, zero-filled; big blocks come backed by huge pages where the
    // system has them. An empty block when the memory cannot be had.
    virtual TByteBlock AllocateBytes(std::size_t Size) = 0;
    // Reads the whole file at Path into a block from AllocateBytes. A file larger than MaxSize
    // bytes is not read.
    virtual TFileReadResult ReadFileBytes(const std::string& Path, std::uint64_t MaxSize) = 0;
    // Replaces the file at Path (through a symbolic link, the file it names) with Size bytes: they
    // go to a new file beside it, which is flushed to the disk and renamed over the old one, so a
    // failure at any point leaves the old file whole. A replaced file keeps its permissions.
    virtual TFileWriteResult WriteFileBytes(const std::string& Path, const std::uint8_t* Data,
                                            std::size_t Size) = 0;

    // Process.
    virtual std::string GetExecutablePath() const = 0;
    // The words the program was started with after its own name, UTF-8.
    virtual std::vector<std::string> GetProgramArguments() const = 0;
    virtual std::string GetCurrentFolder() const = 0;
    virtual bool FileExists(const std::string& Path) const = 0;
    virtual void Sleep(int Milliseconds) = 0;
    virtual TLocalTime GetLocalTime() const = 0;
    // Milliseconds on a monotonic clock; drives the framework's timers.
    virtual std::uint64_t GetTickCount() const = 0;
};
