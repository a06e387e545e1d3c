#pragma once

#include "platform/Platform.h"

#include <map>

class TWin32ApplicationWindow;

// The Windows port: GDI text, the real HKEY_CURRENT_USER, private profile files, the per-user
// Run key for login items, the shell, and the process services, all through the W functions
// (UTF-8 inside, UTF-16 at the calls). Form windows are TWin32Window, all owned by one hidden
// application window (TWin32ApplicationWindow) that carries the task-bar button; the port
// creates it with the first form window.
//
// Registry values cross the seam as the bytes Win32 stores, except that text types (REG_SZ and
// its kin) are UTF-8 here and UTF-16 in the registry, code unit for code unit, so a terminating
// NUL given is stored. (Text stored without one comes back as the system has it: Windows
// returns it as stored, Wine adds the NUL.)
class TWin32Platform : public TPlatform
{
public:
    TWin32Platform();
    ~TWin32Platform() override;
    TWin32Platform(const TWin32Platform&) = delete;
    TWin32Platform& operator=(const TWin32Platform&) = delete;

    std::unique_ptr<TPlatformWindow> CreateNativeWindow(const TPlatformWindowParams& Params,
                                                        TPlatformWindowEvents* Events) override;
    // Waits for thread messages or Wake, then dispatches every message pending (a bounded number,
    // so that the framework's own queue is never starved). True when a message was dispatched or
    // the wait was woken; false once the timeout has passed without either, or when waiting
    // failed. The system's own wake-ups that bring no message do not end the wait.
    bool WaitEvents(int TimeoutMs) override;
    // May be called from any thread.
    void Wake() override;
    // Not part of the interface: the HWND of the application window (null before the first form
    // window), for tests.
    void* GetApplicationWindowHandle() const;

    TPoint GetScreenSize() const override;
    int GetScreenBitsPerPixel() const override;
    TPoint GetCursorPos() const override;
    bool GetFullWindowDrag() const override;
    void DrawScreenFrame(const TRect& Rect, int Thickness) override;

    TFontEngine& GetFontEngine() override;

    long CreateRegistryKey(TRegistryRoot Root, const std::string& Path, TRegistryKey& Key,
                           std::uint32_t* Disposition) override;
    long OpenRegistryKey(TRegistryRoot Root, const std::string& Path, TRegistryKey& Key) override;
    long QueryRegistryValue(TRegistryKey Key, const std::string& Name, std::uint32_t& Type,
                            std::vector<std::uint8_t>& Data) override;
    long SetRegistryValue(TRegistryKey Key, const std::string& Name, std::uint32_t Type,
                          std::span<const std::uint8_t> Data) override;
    long DeleteRegistryValue(TRegistryKey Key, const std::string& Name) override;
    long CloseRegistryKey(TRegistryKey Key) override;
    // Not part of the interface: removes a key of HKEY_CURRENT_USER with everything below it
    // (tests clean up with it).
    long DeleteRegistryTree(const std::string& Path);

    // A profile file that does not exist yet is started as UTF-16, so that any text survives;
    // names without a folder are the system's (the Windows folder).
    std::string ReadProfileEntry(const std::string& File, const std::string& Section,
                                 const std::string& Key, const std::string& Default) override;
    bool WriteProfileEntry(const std::string& File, const std::string& Section,
                           const std::string& Key, const std::string& Value) override;

    // REG_SZ values of HKCU\Software\Microsoft\Windows\CurrentVersion\Run. Set and Remove
    // return the error of opening the key, else the result of closing it.
    long SetLoginItem(const std::string& Name, const TLoginCommand& Command) override;
    long RemoveLoginItem(const std::string& Name) override;
    std::optional<std::string> GetLoginItem(const std::string& Name) override;

    bool ShellOpen(const std::string& FileOrAddress) override;

    // GetOpenFileNameW or GetSaveFileNameW, Explorer style, with room for the longest path. A
    // preset name the system refuses is dropped and the dialog tried again; a dialog the system
    // cannot show at all gives NoNativeDialog.
    TFileDialogResult RunFileDialog(const TFileDialogParams& Params) override;

    // CF_UNICODETEXT, owned by the application window.
    bool PutClipboardText(const std::string& Utf8) override;
    std::optional<std::string> GetClipboardText() override;

    std::string GetExecutablePath() const override;
    std::vector<std::string> GetProgramArguments() const override;
    std::string GetCurrentFolder() const override;
    TByteBlock AllocateBytes(std::size_t Size) override;
    TFileReadResult ReadFileBytes(const std::string& Path, std::uint64_t MaxSize) override;
    TFileWriteResult WriteFileBytes(const std::string& Path, const std::uint8_t* Data,
                                     std::size_t Size) override;
    bool FileExists(const std::string& Path) const override;
    void Sleep(int Milliseconds) override;
    TLocalTime GetLocalTime() const override;
    std::uint64_t GetTickCount() const override;

private:
    bool IsOpen(TRegistryKey Key) const { return FOpenKeys.contains(Key); }
    void AddOpen(TRegistryKey Key) { ++FOpenKeys[Key]; }

    std::unique_ptr<TWin32ApplicationWindow> FApplicationWindow;
    void* FWakeEvent = nullptr;
    std::unique_ptr<TFontEngine> FFontEngine;
    // Keys this port opened, with how often (opening the root itself returns the same handle):
    // anything else is refused instead of reaching RegCloseKey.
    std::map<TRegistryKey, int> FOpenKeys;
    bool FComInitialised = false;
};
