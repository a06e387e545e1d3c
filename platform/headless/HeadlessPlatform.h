#pragma once

#include "platform/Platform.h"
#include "platform/common/RegistryTree.h"
#include "platform/headless/HeadlessClock.h"
#include "platform/headless/HeadlessProfiles.h"

#include <deque>
#include <functional>
#include <set>

class THeadlessWindow;

// The port without a display. Everything the operating system would decide (time, pointer,
// screen, files, the registry) is set by tests, and everything the program asks of the system
// (shell opens, screen frames, windows) is recorded for them to check. Nothing ever sleeps:
// Sleep and idle waits advance the fake clock. Paths compare as on Windows (ASCII letters
// without regard to case, '/' equal to '\\'); relative ones belong to the current folder.
class THeadlessPlatform : public TPlatform
{
public:
    struct TScreenFrame
    {
        TRect Rect;
        int Thickness = 0;
        bool operator==(const TScreenFrame&) const = default;
    };

    THeadlessPlatform();
    ~THeadlessPlatform() override;

    // Windows and events. WaitEvents delivers the first queued event whose time has come (one per
    // call); with none due it advances the clock by the timeout (or up to the next event), so a
    // waiting message loop lets fake time pass. A wait without end and nothing queued returns at
    // once instead of hanging the test.
    std::unique_ptr<TPlatformWindow> CreateNativeWindow(const TPlatformWindowParams& Params,
                                                        TPlatformWindowEvents* Events) override;
    bool WaitEvents(int TimeoutMs) override;
    void Wake() override { FWoken = true; }
    // Deliver runs inside a later WaitEvents, DelayMs after now at the earliest (and never before
    // an event queued earlier).
    void QueueEvent(std::function<void()> Deliver, int DelayMs = 0);
    std::size_t GetQueuedEventCount() const { return FEvents.size(); }
    // Drops what is still queued: a case's leftovers must not run in the next one.
    void ClearQueuedEvents() { FEvents.clear(); }
    const std::vector<THeadlessWindow*>& GetWindows() const { return FWindows; }
    THeadlessWindow* GetActiveWindow() const { return FActiveWindow; }
    THeadlessWindow* GetCaptureWindow() const { return FCaptureWindow; }

    // Screen and pointer.
    TPoint GetScreenSize() const override { return FScreenSize; }
    void SetScreenSize(TPoint Size) { FScreenSize = Size; }
    int GetScreenBitsPerPixel() const override { return FScreenBitsPerPixel; }
    void SetScreenBitsPerPixel(int Bits) { FScreenBitsPerPixel = Bits; }
    TPoint GetCursorPos() const override { return FCursorPos; }
    void SetCursorPos(TPoint Pos) { FCursorPos = Pos; }
    bool GetFullWindowDrag() const override { return FFullWindowDrag; }
    void SetFullWindowDrag(bool On) { FFullWindowDrag = On; }
    void DrawScreenFrame(const TRect& Rect, int Thickness) override;
    const std::vector<TScreenFrame>& GetScreenFrames() const { return FScreenFrames; }
    // The frames still on the screen: those drawn an odd number of times (XOR), in drawing order.
    std::vector<TScreenFrame> GetVisibleScreenFrames() const;
    void ClearScreenFrames() { FScreenFrames.clear(); }

    TFontEngine& GetFontEngine() override;

    // Registry (HKEY_CURRENT_USER, with the Run key of a fresh profile); GetRegistry serves tests.
    long CreateRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key,
                           std::uint32_t* Disposition) override;
    long OpenRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key) override;
    long QueryRegistryValue(TRegistryKey Key, const std::string& Name, std::uint32_t& Type,
                            std::vector<std::uint8_t>& Data) override;
    long SetRegistryValue(TRegistryKey Key, const std::string& Name, std::uint32_t Type,
                          std::span<const std::uint8_t> Data) override;
    long DeleteRegistryValue(TRegistryKey Key, const std::string& Name) override;
    long CloseRegistryKey(TRegistryKey Key) override;
    TRegistryTree& GetRegistry() { return FRegistry; }

    // Profile files. A name without a folder lives in the Windows folder (C:\Windows), as with
    // GetPrivateProfileString; writing makes the file exist.
    std::string ReadProfileEntry(const std::string& File, const std::string& Section,
                                 const std::string& Key, const std::string& Default) override;
    bool WriteProfileEntry(const std::string& File, const std::string& Section,
                           const std::string& Key, const std::string& Value) override;
    THeadlessProfiles& GetProfiles() { return FProfiles; }
    std::string ResolveProfilePath(const std::string& File) const;

    // Login items are REG_SZ values of the Run key, as on Windows: the key is opened, never
    // created (a test that removed it gets ERROR_FILE_NOT_FOUND), and Set and Remove return the
    // error of opening it, else the result of closing it.
    long SetLoginItem(const std::string& Name, const TLoginCommand& Command) override;
    long RemoveLoginItem(const std::string& Name) override;
    std::optional<std::string> GetLoginItem(const std::string& Name) override;

    // Shell opens succeed (or fail, as set) and are recorded in order.
    bool ShellOpen(const std::string& FileOrAddress) override;

    // No native file dialog: the framework draws its own.
    TFileDialogResult RunFileDialog(const TFileDialogParams&) override { return {}; }

    // An in-memory clipboard: what was put is got back.
    bool PutClipboardText(const std::string& Utf8) override
    {
        FClipboard = Utf8;
        return true;
    }
    std::optional<std::string> GetClipboardText() override { return FClipboard; }
    void ClearClipboard() { FClipboard.reset(); }
    const std::vector<std::string>& GetShellOpens() const { return FShellOpens; }
    void ClearShellOpens() { FShellOpens.clear(); }
    void SetShellOpenResult(bool Succeeds) { FShellOpenResult = Succeeds; }

    // Process: the executable is C:\Nixie\Nixie.exe, started in C:\Nixie, until tests say other.
    std::string GetExecutablePath() const override { return FExecutablePath; }
    std::vector<std::string> GetProgramArguments() const override { return FProgramArguments; }
    void SetProgramArguments(std::vector<std::string> Value)
    {
        FProgramArguments = std::move(Value);
    }
    void SetExecutablePath(const std::string& Path) { FExecutablePath = Path; }
    std::string GetCurrentFolder() const override { return FCurrentFolder; }
    void SetCurrentFolder(const std::string& Folder) { FCurrentFolder = Folder; }
    TByteBlock AllocateBytes(std::size_t Size) override;
    TFileReadResult ReadFileBytes(const std::string& Path, std::uint64_t MaxSize) override;
    TFileWriteResult WriteFileBytes(const std::string& Path, const std::uint8_t* Data,
                                    std::size_t Size) override;
    bool FileExists(const std::string& Path) const override;
    void AddFile(const std::string& Path);
    // Removes the file, and the entries when it is a profile file.
    void RemoveFile(const std::string& Path);
    void Sleep(int Milliseconds) override { FClock.Advance(Milliseconds); }

    // Time: see THeadlessClock.
    TLocalTime GetLocalTime() const override { return FClock.GetLocalTime(); }
    void SetLocalTime(const TLocalTime& Time) { FClock.SetLocalTime(Time); }
    std::uint64_t GetTickCount() const override { return FClock.GetTickCount(); }
    void SetTickCount(std::uint64_t Milliseconds) { FClock.SetTickCount(Milliseconds); }
    void AdvanceTime(std::int64_t Milliseconds) { FClock.Advance(Milliseconds); }

private:
    friend class THeadlessWindow;
    void AddWindow(THeadlessWindow* Window);
    void RemoveWindow(THeadlessWindow* Window);
    void SetActiveWindow(THeadlessWindow* Window) { FActiveWindow = Window; }
    void SetCaptureWindow(THeadlessWindow* Window) { FCaptureWindow = Window; }

    struct TQueuedEvent
    {
        std::uint64_t DueTick = 0;
        std::function<void()> Deliver;
    };

    TPoint FScreenSize{1024, 768};
    int FScreenBitsPerPixel = 32;
    TPoint FCursorPos;
    bool FFullWindowDrag = true;
    std::vector<TScreenFrame> FScreenFrames;

    std::vector<THeadlessWindow*> FWindows;
    THeadlessWindow* FActiveWindow = nullptr;
    THeadlessWindow* FCaptureWindow = nullptr;
    std::deque<TQueuedEvent> FEvents;
    bool FWoken = false;

    std::unique_ptr<TFontEngine> FFontEngine;
    TRegistryTree FRegistry;
    THeadlessProfiles FProfiles;

    std::vector<std::string> FShellOpens;
    bool FShellOpenResult = true;
    std::optional<std::string> FClipboard;

    std::string FExecutablePath = "C:\\Nixie\\Nixie.exe";
    std::vector<std::string> FProgramArguments;
    std::string FCurrentFolder = "C:\\Nixie";
    std::set<std::string> FFiles; // folded full paths
    THeadlessClock FClock;
};
