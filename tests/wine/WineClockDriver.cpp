#include "tests/wine/WineClockDriver.h"

#include "tests/wine/PointerInput.h"

#include <algorithm>
#include <cstdint>
#include <windows.h>

namespace {

constexpr const wchar_t* SettingsKey = L"Software\\Tolvane\\QXRidivAzoza";
constexpr int StartTimeoutMs = 30000; // a first start of a Wine process on a loaded machine
constexpr int EndTimeoutMs = 15000;

HANDLE AsHandle(void* H)
{
    return static_cast<HANDLE>(H);
}

HWND AsWindow(void* Wnd)
{
    return static_cast<HWND>(Wnd);
}

bool IsToolWindow(void* Wnd)
{
    return (GetWindowLongPtrW(AsWindow(Wnd), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

TRect WindowBounds(void* Wnd)
{
    RECT R{};
    if (!GetWindowRect(AsWindow(Wnd), &R))
        return {};
    return {R.left, R.top, R.right, R.bottom};
}

struct TSearch
{
    DWORD ProcessId;
    std::vector<void*> Found;
};

BOOL CALLBACK CollectVisible(HWND Wnd, LPARAM L)
{
    auto* Search = reinterpret_cast<TSearch*>(L);
    DWORD Owner = 0;
    GetWindowThreadProcessId(Wnd, &Owner);
    if (Owner == Search->ProcessId && IsWindowVisible(Wnd))
        Search->Found.push_back(Wnd);
    return TRUE;
}

std::string Utf8(const wchar_t* Text, int Chars)
{
    const int Bytes = WideCharToMultiByte(CP_UTF8, 0, Text, Chars, nullptr, 0, nullptr, nullptr);
    std::string Out(std::size_t(std::max(0, Bytes)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, Text, Chars, Out.data(), Bytes, nullptr, nullptr);
    return Out;
}

std::wstring Wide(const std::string& Text)
{
    const int Chars = MultiByteToWideChar(CP_UTF8, 0, Text.data(), int(Text.size()), nullptr, 0);
    std::wstring Out(std::size_t(std::max(0, Chars)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, Text.data(), int(Text.size()), Out.data(), Chars);
    return Out;
}

// The clock's settings live in the registry of the Wine prefix, which this process shares with
// the clock: every driver begins by removing what an earlier case left there.
void RemoveSettings()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey); // the key with everything in it
}

class TWineClockDriver : public TClockDriver
{
public:
    TWineClockDriver() { RemoveSettings(); }
    ~TWineClockDriver() override;

    bool StoreSetting(const std::string& Name, std::int32_t Value) override;
    std::optional<TStoredSettings> ReadSettings() override;
    TPoint GetScreenSize() override;
    std::string Start(TPoint ClientSize) override;
    void Kill() override;
    TRect GetClientBounds() override;
    bool MoveWindow(TPoint Origin) override;
    TBitmap CaptureClient() override;
    std::optional<std::vector<std::vector<TRect>>> ReadShapes() override;
    bool MovePointer(TPoint Screen) override;
    bool BeginDrag() override;
    bool EndDrag() override;
    bool Click(TClick Button) override;
    void ReleaseButtons() override;
    bool PressKey(TKey Key) override;
    std::optional<TRect> AwaitMenu() override;
    std::optional<TRect> AwaitWindow(const std::string& Title) override;
    bool AwaitWindowGone(const std::string& Title) override;
    std::optional<long> AwaitExit() override;

    TRect GetWindowBounds();
    std::optional<TNativeRegion> GetWindowRegion();

private:
    // The visible top-level windows of the process, in z-order (topmost first).
    std::vector<void*> GetVisibleWindows() const;
    // The first of them titled Title.
    void* FindVisibleWindow(const std::string& Title) const;
    void* GetCaptureWindow() const;

    void* FProcess = nullptr; // HANDLE
    void* FThread = nullptr;  // HANDLE
    std::uint32_t FProcessId = 0;
    void* FMainWindow = nullptr; // HWND
};

} // namespace

std::unique_ptr<TClockDriver> MakeClockDriver()
{
    return std::make_unique<TWineClockDriver>();
}

std::wstring ClockExecutable()
{
    // The build names it by its Unix path, and Wine shows the Unix root as drive Z:.
    std::wstring Path;
    for (const char C : std::string(NIXIE_APP))
        Path += C == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(C));
    if (!Path.empty() && Path.front() == L'\\')
        Path = L"Z:" + Path;
    return Path;
}

TRect WindowBoundsOf(TClockDriver& Driver)
{
    return static_cast<TWineClockDriver&>(Driver).GetWindowBounds();
}

TRect ReadWindowBounds(void* Window)
{
    return WindowBounds(Window);
}

bool IsTopmost(void* Window)
{
    return (GetWindowLongPtrW(AsWindow(Window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

std::optional<TNativeRegion> WindowRegionOf(TClockDriver& Driver)
{
    return static_cast<TWineClockDriver&>(Driver).GetWindowRegion();
}

bool TWineClockDriver::StoreSetting(const std::string& Name, std::int32_t Value)
{
    HKEY Key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &Key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD Data = static_cast<DWORD>(Value);
    const LONG Result = RegSetValueExW(Key, Wide(Name).c_str(), 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&Data), sizeof Data);
    RegCloseKey(Key);
    return Result == ERROR_SUCCESS;
}

std::optional<TStoredSettings> TWineClockDriver::ReadSettings()
{
    HKEY Key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_QUERY_VALUE, &Key) != ERROR_SUCCESS)
        return std::nullopt;
    TStoredSettings Settings;
    for (DWORD Index = 0;; ++Index) {
        wchar_t Name[16384]; // the longest value name the registry allows
        DWORD NameChars = 16384;
        DWORD Type = 0;
        BYTE Data[1024];
        DWORD Bytes = sizeof Data;
        const LONG Result =
            RegEnumValueW(Key, Index, Name, &NameChars, nullptr, &Type, Data, &Bytes);
        if (Result == ERROR_NO_MORE_ITEMS)
            break;
        TStoredValue& V = Settings[Utf8(Name, int(NameChars))];
        V.Type = Type;
        if (Result == ERROR_SUCCESS)
            V.Data.assign(Data, Data + Bytes);
        else
            V.Type = ~0u; // larger than any setting: shown as such
    }
    RegCloseKey(Key);
    return Settings;
}

TPoint TWineClockDriver::GetScreenSize()
{
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::string TWineClockDriver::Start(TPoint ClientSize)
{
    Kill(); // what is left of a run before
    const std::wstring Executable = ClockExecutable();
    std::wstring CommandLine = L"\"" + Executable + L"\"";
    STARTUPINFOW Startup{};
    Startup.cb = sizeof Startup;
    PROCESS_INFORMATION Info{};
    if (!CreateProcessW(Executable.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &Startup, &Info))
        return "CreateProcessW failed with error " + std::to_string(GetLastError());
    FProcess = Info.hProcess;
    FThread = Info.hThread;
    FProcessId = Info.dwProcessId;
    const bool Shown = Eventually(
        [&] {
            if (WaitForSingleObject(AsHandle(FProcess), 0) == WAIT_OBJECT_0)
                return true; // ended before it showed anything: no use waiting
            for (void* Wnd : GetVisibleWindows()) {
                RECT Client{};
                if (!IsToolWindow(Wnd) && GetClientRect(AsWindow(Wnd), &Client) &&
                    Client.right == ClientSize.X && Client.bottom == ClientSize.Y) {
                    FMainWindow = Wnd;
                    return true;
                }
            }
            return false;
        },
        StartTimeoutMs);
    if (FMainWindow)
        return "";
    DWORD Code = 0;
    GetExitCodeProcess(AsHandle(FProcess), &Code);
    if (Shown)
        return "the clock ended at start with exit code " + std::to_string(Code);
    std::string Problem = "the clock showed no main window of " + std::to_string(ClientSize.X) +
                          " x " + std::to_string(ClientSize.Y) + "; its visible windows:";
    for (void* Wnd : GetVisibleWindows()) {
        RECT Client{};
        GetClientRect(AsWindow(Wnd), &Client);
        Problem += " " + std::to_string(Client.right) + " x " + std::to_string(Client.bottom) +
                   (IsToolWindow(Wnd) ? " (tool window)" : "");
    }
    return Problem;
}

TWineClockDriver::~TWineClockDriver()
{
    Kill();
    RemoveSettings();
}

void TWineClockDriver::Kill()
{
    if (FProcess && WaitForSingleObject(AsHandle(FProcess), 0) != WAIT_OBJECT_0) {
        TerminateProcess(AsHandle(FProcess), 1);
        WaitForSingleObject(AsHandle(FProcess), EndTimeoutMs);
    }
    if (FThread)
        CloseHandle(AsHandle(FThread));
    if (FProcess)
        CloseHandle(AsHandle(FProcess));
    FThread = nullptr;
    FProcess = nullptr;
    FProcessId = 0;
    FMainWindow = nullptr;
}

std::vector<void*> TWineClockDriver::GetVisibleWindows() const
{
    TSearch Search{FProcessId, {}};
    if (FProcessId != 0)
        EnumWindows(&CollectVisible, reinterpret_cast<LPARAM>(&Search));
    return Search.Found;
}

TRect TWineClockDriver::GetWindowBounds()
{
    return WindowBounds(FMainWindow);
}

void* TWineClockDriver::GetCaptureWindow() const
{
    GUITHREADINFO Info{};
    Info.cbSize = sizeof Info;
    const DWORD Thread = GetWindowThreadProcessId(AsWindow(FMainWindow), nullptr);
    if (!Thread || !GetGUIThreadInfo(Thread, &Info))
        return nullptr;
    return Info.hwndCapture;
}

bool TWineClockDriver::MoveWindow(TPoint Origin)
{
    // A borderless window: its client area begins at its top-left corner.
    return SetWindowPos(AsWindow(FMainWindow), nullptr, Origin.X, Origin.Y, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

TRect TWineClockDriver::GetClientBounds()
{
    RECT Client{};
    POINT Origin{0, 0};
    if (!GetClientRect(AsWindow(FMainWindow), &Client) ||
        !ClientToScreen(AsWindow(FMainWindow), &Origin))
        return {};
    return TRect::FromSize(Origin.x, Origin.y, Client.right, Client.bottom);
}

std::optional<TNativeRegion> TWineClockDriver::GetWindowRegion()
{
    return ReadWindowRegion(FMainWindow);
}

std::optional<TNativeRegion> ReadWindowRegion(void* Window)
{
    HRGN Region = CreateRectRgn(0, 0, 0, 0);
    if (!Region)
        return std::nullopt;
    std::optional<TNativeRegion> Result;
    if (GetWindowRgn(AsWindow(Window), Region) != ERROR) {
        const DWORD Bytes = GetRegionData(Region, 0, nullptr);
        // Whole DWORDs keep the header and the rectangles aligned.
        std::vector<DWORD> Buffer((Bytes + sizeof(DWORD) - 1) / sizeof(DWORD) + 1);
        auto* Data = reinterpret_cast<RGNDATA*>(Buffer.data());
        if (Bytes >= sizeof(RGNDATAHEADER) && GetRegionData(Region, Bytes, Data) == Bytes) {
            const RECT& B = Data->rdh.rcBound;
            Result.emplace();
            Result->Bounds = {B.left, B.top, B.right, B.bottom};
            const auto* List = reinterpret_cast<const RECT*>(Data->Buffer);
            const DWORD Fit = (Bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT);
            for (DWORD I = 0; I < Data->rdh.nCount && I < Fit; ++I)
                Result->Rects.push_back({List[I].left, List[I].top, List[I].right, List[I].bottom});
        }
    }
    DeleteObject(Region);
    return Result;
}

std::optional<std::vector<std::vector<TRect>>> TWineClockDriver::ReadShapes()
{
    const std::optional<TNativeRegion> Region = GetWindowRegion();
    if (!Region)
        return std::nullopt;
    return std::vector<std::vector<TRect>>{Region->Rects};
}

TBitmap TWineClockDriver::CaptureClient()
{
    const TRect Rect = GetClientBounds();
    TBitmap Shot(std::max(0, Rect.Width()), std::max(0, Rect.Height()));
    if (Shot.Empty())
        return Shot;
    HDC Screen = GetDC(nullptr);
    HDC Memory = CreateCompatibleDC(Screen);
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = Rect.Width();
    Info.bmiHeader.biHeight = -Rect.Height(); // top row first, as TBitmap holds them
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    Info.bmiHeader.biCompression = BI_RGB;
    void* Bits = nullptr;
    HBITMAP Section = CreateDIBSection(Screen, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (Screen && Memory && Section && Bits) {
        HGDIOBJ Old = SelectObject(Memory, Section);
        if (BitBlt(Memory, 0, 0, Rect.Width(), Rect.Height(), Screen, Rect.Left, Rect.Top,
                   SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            const auto* Source = static_cast<const std::uint32_t*>(Bits);
            std::span<TPixel> Pixels = Shot.GetPixels();
            for (std::size_t I = 0; I < Pixels.size(); ++I)
                Pixels[I] = Source[I] & 0x00FFFFFF;
        }
        SelectObject(Memory, Old);
    }
    if (Section)
        DeleteObject(Section);
    if (Memory)
        DeleteDC(Memory);
    if (Screen)
        ReleaseDC(nullptr, Screen);
    return Shot;
}

bool TWineClockDriver::MovePointer(TPoint Screen)
{
    return ::MovePointer(Screen, FMainWindow);
}

bool TWineClockDriver::BeginDrag()
{
    // Input goes where the system sends it when it arrives: until the clock has taken the press
    // (and with it the capture), moves off its outline would go to the desktop.
    return PressButton(TPointerButton::Left) &&
           Eventually([&] { return GetCaptureWindow() == FMainWindow; });
}

bool TWineClockDriver::EndDrag()
{
    // The clock has taken the release once it has let the capture go.
    return ReleaseButton(TPointerButton::Left) &&
           Eventually([&] { return GetCaptureWindow() != FMainWindow; });
}

bool TWineClockDriver::Click(TClick Button)
{
    const TPointerButton B = Button == TClick::Left ? TPointerButton::Left : TPointerButton::Right;
    return PressButton(B) && ReleaseButton(B);
}

void TWineClockDriver::ReleaseButtons()
{
    ReleaseAllButtons();
}

std::optional<TRect> TWineClockDriver::AwaitMenu()
{
    std::optional<TRect> Menu;
    Eventually([&] {
        for (void* Wnd : GetVisibleWindows())
            if (IsToolWindow(Wnd))
                Menu = WindowBounds(Wnd);
        return Menu.has_value();
    });
    return Menu;
}

bool TWineClockDriver::PressKey(TKey Key)
{
    const unsigned short Codes[] = {VK_RETURN, VK_ESCAPE, VK_TAB, VK_SPACE};
    const unsigned short Code = Codes[static_cast<int>(Key)];
    return HoldKey(Code, true) && HoldKey(Code, false);
}

void* TWineClockDriver::FindVisibleWindow(const std::string& Title) const
{
    for (void* Wnd : GetVisibleWindows()) {
        wchar_t Text[256];
        const int Chars = GetWindowTextW(AsWindow(Wnd), Text, 256);
        if (Utf8(Text, Chars) == Title)
            return Wnd;
    }
    return nullptr;
}

std::optional<TRect> TWineClockDriver::AwaitWindow(const std::string& Title)
{
    std::optional<TRect> Found;
    Eventually([&] {
        void* Wnd = FindVisibleWindow(Title);
        RECT Client{};
        POINT Origin{0, 0};
        if (Wnd && GetClientRect(AsWindow(Wnd), &Client) && ClientToScreen(AsWindow(Wnd), &Origin))
            Found = TRect::FromSize(Origin.x, Origin.y, Client.right, Client.bottom);
        return Found.has_value();
    });
    return Found;
}

bool TWineClockDriver::AwaitWindowGone(const std::string& Title)
{
    return Eventually([&] { return FindVisibleWindow(Title) == nullptr; }, EndTimeoutMs);
}

std::optional<long> TWineClockDriver::AwaitExit()
{
    if (!FProcess || WaitForSingleObject(AsHandle(FProcess), EndTimeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD Code = 0;
    if (!GetExitCodeProcess(AsHandle(FProcess), &Code))
        return std::nullopt;
    return static_cast<long>(Code);
}
