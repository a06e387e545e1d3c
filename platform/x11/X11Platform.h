#pragma once

#include "platform/Platform.h"
#include "platform/posix/FileRegistry.h"
#include "platform/posix/PosixProcess.h"
#include "platform/x11/X11ClickTracker.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class TX11Clipboard;
class TX11Display;
class TX11Presenter;
class TX11Window;
struct _XGC;

// The Linux desktop port: windows and input through Xlib, text through FreeType, and the rest
// from POSIX and the XDG conventions: the registry is a file under $XDG_CONFIG_HOME (see
// TFileRegistry), profile files without a folder live in $XDG_CONFIG_HOME/nixie, login items are
// autostart desktop entries, the shell is xdg-open. Paths may use backslashes for slashes.
//
// The services that need no display work before (and without) OpenDisplay; windows need one.
class TX11Platform : public TPlatform
{
public:
    TX11Platform();
    ~TX11Platform() override;
    TX11Platform(const TX11Platform&) = delete;
    TX11Platform& operator=(const TX11Platform&) = delete;

    // Connects to Name ($DISPLAY when empty); false with the reason in Problem.
    bool OpenDisplay(const std::string& Name, std::string& Problem);
    TX11Display* GetDisplay() const { return FDisplay.get(); }

    std::unique_ptr<TPlatformWindow> CreateNativeWindow(const TPlatformWindowParams& Params,
                                                        TPlatformWindowEvents* Events) override;
    // Waits on the connection and a self-pipe; returns early (true) when events were delivered
    // or Wake was called, false when the time ran out. Events the framework has no handler for
    // (mapping, shared memory, ...) are taken care of without ending the wait.
    bool WaitEvents(int TimeoutMs) override;
    // Safe from other threads and from signal handlers: it only writes to a pipe.
    void Wake() override;

    TPoint GetScreenSize() const override;
    int GetScreenBitsPerPixel() const override;
    TPoint GetCursorPos() const override;
    bool GetFullWindowDrag() const override { return true; }
    void DrawScreenFrame(const TRect& Rect, int Thickness) override;

    TFontEngine& GetFontEngine() override;

    long CreateRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key,
                           std::uint32_t* Disposition) override;
    long OpenRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key) override;
    long QueryRegistryValue(TRegistryKey Key, const std::string& Name, std::uint32_t& Type,
                            std::vector<std::uint8_t>& Data) override;
    long SetRegistryValue(TRegistryKey Key, const std::string& Name, std::uint32_t Type,
                          std::span<const std::uint8_t> Data) override;
    long DeleteRegistryValue(TRegistryKey Key, const std::string& Name) override;
    long CloseRegistryKey(TRegistryKey Key) override;
    TFileRegistry& GetRegistry() { return FRegistry; }

    std::string ReadProfileEntry(const std::string& File, const std::string& Section,
                                 const std::string& Key, const std::string& Default) override;
    bool WriteProfileEntry(const std::string& File, const std::string& Section,
                           const std::string& Key, const std::string& Value) override;
    // The native path of a profile file name.
    std::string ResolveProfilePath(const std::string& File) const;

    // Autostart desktop entries (TAutostartFolder).
    long SetLoginItem(const std::string& Name, const TLoginCommand& Command) override;
    long RemoveLoginItem(const std::string& Name) override;
    std::optional<std::string> GetLoginItem(const std::string& Name) override;

    // xdg-open with the address, or the file with backslashes made slashes.
    bool ShellOpen(const std::string& FileOrAddress) override;

    // X has no file dialog of its own: the framework draws one.
    TFileDialogResult RunFileDialog(const TFileDialogParams&) override { return {}; }

    // The CLIPBOARD selection (TX11Clipboard); without a display there is no clipboard.
    bool PutClipboardText(const std::string& Utf8) override;
    std::optional<std::string> GetClipboardText() override;

    std::string GetExecutablePath() const override;
    std::vector<std::string> GetProgramArguments() const override { return GetProcessArguments(); }
    std::string GetCurrentFolder() const override;
    TByteBlock AllocateBytes(std::size_t Size) override;
    TFileReadResult ReadFileBytes(const std::string& Path, std::uint64_t MaxSize) override;
    TFileWriteResult WriteFileBytes(const std::string& Path, const std::uint8_t* Data,
                                    std::size_t Size) override;
    bool FileExists(const std::string& Path) const override;
    void Sleep(int Milliseconds) override;
    TLocalTime GetLocalTime() const override;
    std::uint64_t GetTickCount() const override;

    // For tests and measurements: the way pixels reach the server.
    TX11Presenter* GetPresenter() const { return FPresenter.get(); }
    TX11Window* FindWindow(unsigned long XWindow) const;

private:
    friend class TX11Window;
    void AddWindow(TX11Window* Peer);
    void RemoveWindow(TX11Window* Peer);
    void SetCaptureWindow(TX11Window* Peer) { FCaptureWindow = Peer; }
    TX11Window* GetCaptureWindow() const { return FCaptureWindow; }
    void QueueCaptureLost(unsigned long XWindow) { FCaptureLost.push_back(XWindow); }
    TX11ClickTracker& GetClickTracker() { return FClicks; }
    // Handles every event Xlib holds; true when a handler was called.
    bool DispatchQueued();
    bool DeliverCaptureLost();
    void DrainWakePipe();
    TX11Clipboard* Clipboard();
    // How long the loop may sleep before the heap is trimmed (-1: no trim due), and the trim.
    int WaitBeforeTrim() const;
    void TrimIfDue();

    std::unique_ptr<TX11Display> FDisplay;
    std::unique_ptr<TX11Presenter> FPresenter;
    std::unique_ptr<TX11Clipboard> FClipboard; // made on first use
    std::map<unsigned long, TX11Window*> FWindows;
    TX11Window* FCaptureWindow = nullptr;
    std::vector<unsigned long> FCaptureLost;
    TX11ClickTracker FClicks;
    _XGC* FFrameGc = nullptr;
    int FWakeRead = -1;
    int FWakeWrite = -1;
    // A second after the last event that came from the server, memory freed by what it set off
    // (windows shown and hidden, start-up) goes back to the system: 0 when none is due.
    std::uint64_t FTrimDueMs = 0;
    std::unique_ptr<TFontEngine> FFontEngine;
    TFileRegistry FRegistry;
};
