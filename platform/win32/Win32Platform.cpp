#include "platform/win32/Win32Platform.h"

#include "platform/common/ProfileText.h"
#include "platform/common/RunCommandLine.h"
#include "platform/win32/GdiFontEngine.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32ApplicationWindow.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32FileBytes.h"
#include "platform/win32/Win32FileDialog.h"
#include "platform/win32/Win32Window.h"

#include <algorithm>
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

namespace {

constexpr const wchar_t* RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Messages dispatched by one WaitEvents at most: a flood of input must not keep the framework
// from its own queue (timers, paints); what is left wakes the next wait at once.
constexpr int MessagesPerWait = 64;

HKEY AsKey(TRegistryKey Key)
{
    return reinterpret_cast<HKEY>(Key);
}
TRegistryKey AsHandle(HKEY Key)
{
    return reinterpret_cast<TRegistryKey>(Key);
}

bool IsTextType(DWORD Type)
{
    return Type == REG_SZ || Type == REG_EXPAND_SZ || Type == REG_MULTI_SZ;
}

std::wstring Wide(const std::string& Utf8)
{
    return Utf8ToWide(Utf8);
}

// A value as stored: text types come back as UTF-8.
long QueryValue(HKEY Key, const std::wstring& Name, std::uint32_t& Type,
                std::vector<std::uint8_t>& Data)
{
    Type = REG_NONE;
    Data.clear();
    DWORD ValueType = REG_NONE;
    DWORD Size = 0;
    LONG Result = RegQueryValueExW(Key, Name.c_str(), nullptr, &ValueType, nullptr, &Size);
    std::vector<BYTE> Raw;
    // Another writer may grow the value between the calls.
    while (Result == ERROR_SUCCESS && Size > 0) {
        Raw.resize(Size);
        DWORD Got = Size;
        Result = RegQueryValueExW(Key, Name.c_str(), nullptr, &ValueType, Raw.data(), &Got);
        if (Result == ERROR_MORE_DATA) {
            Size = Got > Size ? Got : Size * 2;
            Result = ERROR_SUCCESS;
            continue;
        }
        Raw.resize(Got);
        break;
    }
    if (Result != ERROR_SUCCESS)
        return Result;
    Type = ValueType;
    if (IsTextType(ValueType)) {
        std::wstring Text(Raw.size() / sizeof(wchar_t), L'\0');
        std::copy_n(Raw.begin(), Text.size() * sizeof(wchar_t),
                    reinterpret_cast<BYTE*>(Text.data()));
        const std::string Utf8 = WideToUtf8(Text);
        Data.assign(Utf8.begin(), Utf8.end());
    } else {
        Data.assign(Raw.begin(), Raw.end());
    }
    return ERROR_SUCCESS;
}

long SetValue(HKEY Key, const std::wstring& Name, std::uint32_t Type,
              std::span<const std::uint8_t> Data)
{
    if (IsTextType(Type)) {
        const std::wstring Text =
            Utf8ToWide({reinterpret_cast<const char*>(Data.data()), Data.size()});
        return RegSetValueExW(Key, Name.c_str(), 0, Type,
                              reinterpret_cast<const BYTE*>(Text.c_str()),
                              static_cast<DWORD>(Text.size() * sizeof(wchar_t)));
    }
    return RegSetValueExW(Key, Name.c_str(), 0, Type, Data.empty() ? nullptr : Data.data(),
                          static_cast<DWORD>(Data.size()));
}

} // namespace

TWin32Platform::TWin32Platform()
{
    // The shell may hand an open to extensions that need COM on this thread.
    const HRESULT Result =
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    FComInitialised = SUCCEEDED(Result);
    // Auto-reset: one Wake ends one wait.
    FWakeEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

TWin32Platform::~TWin32Platform()
{
    FApplicationWindow.reset();
    if (FWakeEvent)
        CloseHandle(static_cast<HANDLE>(FWakeEvent));
    for (const auto& Entry : FOpenKeys)
        RegCloseKey(AsKey(Entry.first));
    FFontEngine.reset();
    if (FComInitialised)
        CoUninitialize();
}

std::unique_ptr<TPlatformWindow>
TWin32Platform::CreateNativeWindow(const TPlatformWindowParams& Params,
                                   TPlatformWindowEvents* Events)
{
    if (!FApplicationWindow)
        FApplicationWindow = std::make_unique<TWin32ApplicationWindow>();
    auto Window = std::make_unique<TWin32Window>(*FApplicationWindow, Params, Events);
    if (!Window->GetHandle())
        return nullptr; // the framework runs a window without a peer rather than a dead one
    return Window;
}

bool TWin32Platform::WaitEvents(int TimeoutMs)
{
    HANDLE Wake = static_cast<HANDLE>(FWakeEvent);
    const ULONGLONG Deadline = ::GetTickCount64() + static_cast<ULONGLONG>(std::max(0, TimeoutMs));
    for (;;) {
        DWORD Timeout = INFINITE;
        if (TimeoutMs >= 0) {
            const ULONGLONG Now = ::GetTickCount64();
            Timeout = Now >= Deadline ? 0 : static_cast<DWORD>(Deadline - Now);
        }
        // MWMO_INPUTAVAILABLE: messages already seen by a PeekMessage count too.
        const DWORD Result = MsgWaitForMultipleObjectsEx(Wake ? 1 : 0, Wake ? &Wake : nullptr,
                                                         Timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (Result == WAIT_FAILED)
            return false;
        bool Delivered = Result == WAIT_OBJECT_0 && Wake;
        MSG Msg;
        for (int Count = 0; Count < MessagesPerWait && PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE);
             ++Count) {
            // A WM_QUIT of the system's has no window to go to; the framework keeps its own.
            if (Msg.message == WM_QUIT)
                continue;
            TranslateMessage(&Msg);
            DispatchMessageW(&Msg);
            Delivered = true;
        }
        // The system also wakes the wait for its own work (input it handles inside PeekMessage):
        // that is no event, and a wait without end must not end on it.
        if (Delivered)
            return true;
        if (Result == WAIT_TIMEOUT || (TimeoutMs >= 0 && ::GetTickCount64() >= Deadline))
            return false;
    }
}

void TWin32Platform::Wake()
{
    if (FWakeEvent)
        SetEvent(static_cast<HANDLE>(FWakeEvent));
}

void* TWin32Platform::GetApplicationWindowHandle() const
{
    return FApplicationWindow ? FApplicationWindow->GetHandle() : nullptr;
}

TPoint TWin32Platform::GetScreenSize() const
{
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int TWin32Platform::GetScreenBitsPerPixel() const
{
    HDC Screen = GetDC(nullptr);
    if (!Screen)
        return 32;
    const int Bits = GetDeviceCaps(Screen, BITSPIXEL) * GetDeviceCaps(Screen, PLANES);
    ReleaseDC(nullptr, Screen);
    return Bits;
}

TPoint TWin32Platform::GetCursorPos() const
{
    POINT P{};
    if (!::GetCursorPos(&P))
        return {};
    return {P.x, P.y};
}

bool TWin32Platform::GetFullWindowDrag() const
{
    BOOL Full = TRUE;
    if (!SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &Full, 0))
        return true;
    return Full != FALSE;
}

void TWin32Platform::DrawScreenFrame(const TRect& Rect, int Thickness)
{
    HDC Screen = GetDC(nullptr);
    if (!Screen)
        return;
    // Nested focus frames, one pixel apart: each is an XOR of its own ring.
    RECT R{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    for (int I = 0; I < Thickness && R.right > R.left && R.bottom > R.top; ++I) {
        DrawFocusRect(Screen, &R);
        InflateRect(&R, -1, -1);
    }
    ReleaseDC(nullptr, Screen);
}

TFontEngine& TWin32Platform::GetFontEngine()
{
    if (!FFontEngine)
        FFontEngine = std::make_unique<TGdiFontEngine>();
    return *FFontEngine;
}

long TWin32Platform::CreateRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key,
                                       std::uint32_t* Disposition)
{
    Key = 0;
    if (Disposition)
        *Disposition = 0;
    HKEY Handle = nullptr;
    DWORD How = 0;
    const LONG Result =
        RegCreateKeyExW(HKEY_CURRENT_USER, Wide(Path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &Handle, &How);
    if (Result != ERROR_SUCCESS)
        return Result;
    Key = AsHandle(Handle);
    AddOpen(Key);
    if (Disposition)
        *Disposition = How;
    return ERROR_SUCCESS;
}

long TWin32Platform::OpenRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key)
{
    Key = 0;
    HKEY Handle = nullptr;
    const LONG Result =
        RegOpenKeyExW(HKEY_CURRENT_USER, Wide(Path).c_str(), 0, KEY_READ | KEY_WRITE, &Handle);
    if (Result != ERROR_SUCCESS)
        return Result;
    Key = AsHandle(Handle);
    AddOpen(Key);
    return ERROR_SUCCESS;
}

long TWin32Platform::QueryRegistryValue(TRegistryKey Key, const std::string& Name,
                                        std::uint32_t& Type, std::vector<std::uint8_t>& Data)
{
    Type = REG_NONE;
    Data.clear();
    if (!IsOpen(Key))
        return ERROR_INVALID_HANDLE;
    return QueryValue(AsKey(Key), Wide(Name), Type, Data);
}

long TWin32Platform::SetRegistryValue(TRegistryKey Key, const std::string& Name, std::uint32_t Type,
                                      std::span<const std::uint8_t> Data)
{
    if (!IsOpen(Key))
        return ERROR_INVALID_HANDLE;
    return SetValue(AsKey(Key), Wide(Name), Type, Data);
}

long TWin32Platform::DeleteRegistryValue(TRegistryKey Key, const std::string& Name)
{
    if (!IsOpen(Key))
        return ERROR_INVALID_HANDLE;
    return RegDeleteValueW(AsKey(Key), Wide(Name).c_str());
}

long TWin32Platform::CloseRegistryKey(TRegistryKey Key)
{
    auto It = FOpenKeys.find(Key);
    if (It == FOpenKeys.end())
        return ERROR_INVALID_HANDLE;
    if (--It->second == 0)
        FOpenKeys.erase(It);
    return RegCloseKey(AsKey(Key));
}

long TWin32Platform::DeleteRegistryTree(const std::string& Path)
{
    if (Path.empty())
        return ERROR_INVALID_PARAMETER; // never the whole of HKEY_CURRENT_USER
    return RegDeleteTreeW(HKEY_CURRENT_USER, Wide(Path).c_str());
}

std::string TWin32Platform::ReadProfileEntry(const std::string& File, const std::string& Section,
                                             const std::string& Key, const std::string& Default)
{
    const std::wstring WFile = Wide(File);
    const std::wstring WSection = Wide(Section);
    const std::wstring WKey = Wide(Key);
    const std::wstring WDefault = Wide(Default);
    std::vector<wchar_t> Buffer(256);
    for (;;) {
        const DWORD Length = GetPrivateProfileStringW(
            WSection.c_str(), WKey.c_str(), WDefault.c_str(), Buffer.data(),
            static_cast<DWORD>(Buffer.size()), WFile.c_str());
        // A result of size - 1 means the text did not fit.
        if (Length + 1 < Buffer.size() || Buffer.size() >= 1u << 20)
            return WideToUtf8({Buffer.data(), Length});
        Buffer.resize(Buffer.size() * 4);
    }
}

bool TWin32Platform::WriteProfileEntry(const std::string& File, const std::string& Section,
                                       const std::string& Key, const std::string& Value)
{
    const std::wstring WFile = Wide(File);
    // A line break would plant other entries in the file.
    if (WFile.empty() || HasProfileLineBreak(Section) || HasProfileLineBreak(Key) ||
        HasProfileLineBreak(Value))
        return false;
    // WritePrivateProfileStringW keeps the encoding of the file it finds, and makes new files
    // in the ANSI code page, which loses text. A new file with a UTF-16 mark stays UTF-16.
    const bool HasFolder = WFile.find_first_of(L"\\/") != std::wstring::npos;
    if (HasFolder && GetFileAttributesW(WFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
        HANDLE Handle = CreateFileW(WFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (Handle != INVALID_HANDLE_VALUE) {
            const BYTE Mark[2] = {0xFF, 0xFE};
            DWORD Written = 0;
            WriteFile(Handle, Mark, sizeof Mark, &Written, nullptr);
            CloseHandle(Handle);
        }
    }
    return WritePrivateProfileStringW(Wide(Section).c_str(), Wide(Key).c_str(), Wide(Value).c_str(),
                                      WFile.c_str()) != FALSE;
}

long TWin32Platform::SetLoginItem(const std::string& Name, const TLoginCommand& Command)
{
    // The Run key belongs to the system: where it is missing or locked, login items are not ours
    // to make.
    HKEY Run = nullptr;
    const LONG Opened = RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_SET_VALUE, &Run);
    if (Opened != ERROR_SUCCESS)
        return Opened;
    if (!Command.Program.empty()) {
        const std::string Line = FormatRunCommandLine(Command);
        const auto* Bytes = reinterpret_cast<const std::uint8_t*>(Line.c_str());
        SetValue(Run, Wide(Name), REG_SZ, {Bytes, Line.size() + 1});
    }
    return RegCloseKey(Run);
}

long TWin32Platform::RemoveLoginItem(const std::string& Name)
{
    HKEY Run = nullptr;
    const LONG Opened = RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_SET_VALUE, &Run);
    if (Opened != ERROR_SUCCESS)
        return Opened;
    // A value that is not there is already removed.
    RegDeleteValueW(Run, Wide(Name).c_str());
    return RegCloseKey(Run);
}

std::optional<std::string> TWin32Platform::GetLoginItem(const std::string& Name)
{
    HKEY Run = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_QUERY_VALUE, &Run) != ERROR_SUCCESS)
        return std::nullopt;
    std::uint32_t Type = REG_NONE;
    std::vector<std::uint8_t> Data;
    const long Result = QueryValue(Run, Wide(Name), Type, Data);
    RegCloseKey(Run);
    if (Result != ERROR_SUCCESS || Type != REG_SZ)
        return std::nullopt;
    std::string Text(Data.begin(), Data.end());
    Text.resize(std::min(Text.size(), Text.find('\0')));
    return Text;
}

bool TWin32Platform::ShellOpen(const std::string& FileOrAddress)
{
    const HINSTANCE Result = ShellExecuteW(nullptr, L"open", Wide(FileOrAddress).c_str(), nullptr,
                                           nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; the rest are error codes.
    return reinterpret_cast<INT_PTR>(Result) > 32;
}

TFileDialogResult TWin32Platform::RunFileDialog(const TFileDialogParams& Params)
{
    // Without a form to own it, the application window does, so the dialog gets no task-bar
    // button of its own.
    void* Owner = nullptr;
    if (const auto* Window = dynamic_cast<const TWin32Window*>(Params.Owner))
        Owner = Window->GetHandle();
    else if (FApplicationWindow)
        Owner = FApplicationWindow->GetHandle();
    return RunWin32FileDialog(Params, Owner);
}

bool TWin32Platform::PutClipboardText(const std::string& Utf8)
{
    if (!FApplicationWindow)
        FApplicationWindow = std::make_unique<TWin32ApplicationWindow>();
    return PutWin32ClipboardText(FApplicationWindow->GetHandle(), Utf8);
}

std::optional<std::string> TWin32Platform::GetClipboardText()
{
    return GetWin32ClipboardText(FApplicationWindow ? FApplicationWindow->GetHandle() : nullptr);
}

std::vector<std::string> TWin32Platform::GetProgramArguments() const
{
    std::vector<std::string> Words;
    int Count = 0;
    // The system's own splitting of the command line, quotes and backslashes as every program
    // reads them.
    if (wchar_t** List = CommandLineToArgvW(GetCommandLineW(), &Count)) {
        for (int I = 1; I < Count; ++I)
            Words.push_back(WideToUtf8(List[I]));
        LocalFree(List);
    }
    return Words;
}

std::string TWin32Platform::GetExecutablePath() const
{
    std::wstring Buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD Length =
            GetModuleFileNameW(nullptr, Buffer.data(), static_cast<DWORD>(Buffer.size()));
        if (Length == 0)
            return {};
        if (Length < Buffer.size())
            return WideToUtf8({Buffer.data(), Length});
        if (Buffer.size() >= 32768)
            return {}; // longer than any Windows path: give no name rather than a cut one
        Buffer.resize(Buffer.size() * 2);
    }
}

std::string TWin32Platform::GetCurrentFolder() const
{
    for (;;) {
        const DWORD Needed = GetCurrentDirectoryW(0, nullptr);
        if (Needed == 0)
            return {};
        std::wstring Buffer(Needed, L'\0');
        const DWORD Length = GetCurrentDirectoryW(Needed, Buffer.data());
        if (Length == 0)
            return {};
        if (Length < Needed)
            return WideToUtf8({Buffer.data(), Length});
        // The folder changed between the calls: ask again.
    }
}

TByteBlock TWin32Platform::AllocateBytes(std::size_t Size)
{
    return AllocateWin32Bytes(Size);
}

TFileReadResult TWin32Platform::ReadFileBytes(const std::string& Path, std::uint64_t MaxSize)
{
    return ReadWin32FileBytes(Path, MaxSize);
}

TFileWriteResult TWin32Platform::WriteFileBytes(const std::string& Path, const std::uint8_t* Data,
                                                std::size_t Size)
{
    return WriteWin32FileBytes(Path, Data, Size);
}

bool TWin32Platform::FileExists(const std::string& Path) const
{
    if (Path.empty())
        return false;
    const DWORD Attributes = GetFileAttributesW(Wide(Path).c_str());
    return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void TWin32Platform::Sleep(int Milliseconds)
{
    ::Sleep(static_cast<DWORD>(std::max(0, Milliseconds)));
}

TLocalTime TWin32Platform::GetLocalTime() const
{
    SYSTEMTIME T;
    ::GetLocalTime(&T);
    return {T.wYear, T.wMonth, T.wDay, T.wHour, T.wMinute, T.wSecond, T.wDayOfWeek};
}

std::uint64_t TWin32Platform::GetTickCount() const
{
    return ::GetTickCount64();
}
