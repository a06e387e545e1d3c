#pragma once

#include "platform/Platform.h"

#include <array>
#include <memory>
#include <string>

// Xlib's types, declared without Xlib's macros (see XlibHeaders.h): a Window, an Atom and a
// Cursor are XIDs, unsigned long; a Visual (an unnamed struct) travels as void*.
struct _XDisplay;
struct _XIM;

enum class TX11Atom
{
    WmProtocols,
    WmDeleteWindow,
    NetWmPing,
    NetWmName,
    Utf8String,
    NetWmState,
    NetWmStateAbove,
    NetWmStateSkipTaskbar,
    MotifWmHints,
    NetWmWindowType,
    NetWmWindowTypeNormal,
    NetWmWindowTypeDialog,
    NetWmWindowTypePopupMenu,
    NetFrameExtents,
    NetRequestFrameExtents,
    NetActiveWindow,
    NetSupportingWmCheck,
    NetSupported,
    NetWmPid,
    WmState,
    NetWmStateHidden,
    NetWmStateMaximizedVert,
    NetWmStateMaximizedHorz,
    Count
};

// One connection to an X server and what the port learns about it once: the atoms, the visual
// that takes our pixels as they are, the extensions, the cursors. Xlib errors never end the
// program: they are logged (or caught by a trap) and counted; losing the connection ends it
// with a message.
class TX11Display
{
public:
    // Name empty: $DISPLAY. Nothing and a reason in Problem when no display opens.
    static std::unique_ptr<TX11Display> Open(const std::string& Name, std::string& Problem);
    ~TX11Display();
    TX11Display(const TX11Display&) = delete;
    TX11Display& operator=(const TX11Display&) = delete;

    _XDisplay* Get() const { return FDisplay; }
    int GetScreen() const { return FScreen; }
    unsigned long GetRoot() const { return FRoot; }
    int GetConnectionFd() const;

    // The visual windows are made with: 24-bit TrueColor when the server has it.
    void* GetVisual() const { return FVisual; }
    int GetDepth() const { return FDepth; }
    unsigned long GetColormap() const { return FColormap; }
    // True when a 0x00RRGGBB pixel is the visual's pixel value, bits per pixel 32.
    bool IsDirectPixelFormat() const { return FDirect; }
    // The bits per pixel of the screen's pixmaps (32 for depth 24, as Windows counts it).
    int GetScreenBitsPerPixel() const { return FScreenBitsPerPixel; }
    // The server's image byte order matches this machine's.
    bool IsNativeByteOrder() const { return FNativeByteOrder; }

    unsigned long GetAtom(TX11Atom Which) const { return FAtoms[static_cast<int>(Which)]; }
    bool HasShape() const { return FHasShape; }
    bool HasInputShape() const { return FHasInputShape; }
    // MIT-SHM is usable: the server has it and shares this machine's memory.
    bool HasSharedMemory() const { return FHasShm; }
    bool IsLocal() const { return FLocal; }
    // The locale's input method, opened on first use; null when there is none.
    _XIM* GetInputMethod();
    unsigned long GetCursor(TCursorShape Shape);

    // A window manager that follows EWMH is running (looked up anew each time: it may start or
    // stop while we run), and whether it supports Wanted.
    bool HasWindowManager() const;
    bool WindowManagerSupports(unsigned long Wanted) const;

    // Between BeginTrap and EndTrap errors are caught instead of logged; EndTrap waits for the
    // server and returns the first error code (0 when there was none).
    void BeginTrap() const;
    int EndTrap() const;
    // Errors logged or trapped since the program started, over every connection.
    static int GetErrorCount();

private:
    TX11Display() = default;
    void ChooseVisual();
    void QueryExtensions();

    _XDisplay* FDisplay = nullptr;
    int FScreen = 0;
    unsigned long FRoot = 0;
    void* FVisual = nullptr;
    int FDepth = 0;
    unsigned long FColormap = 0;
    bool FOwnColormap = false;
    bool FDirect = false;
    bool FNativeByteOrder = true;
    int FScreenBitsPerPixel = 32;
    std::array<unsigned long, static_cast<int>(TX11Atom::Count)> FAtoms{};
    bool FHasShape = false;
    bool FHasInputShape = false;
    bool FHasShm = false;
    bool FLocal = false;
    _XIM* FInputMethod = nullptr;
    bool FInputMethodTried = false;
    std::array<unsigned long, 5> FCursors{};
};
