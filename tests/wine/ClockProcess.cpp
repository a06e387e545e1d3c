#include "tests/wine/ClockProcess.h"

#include <algorithm>
#include <windows.h>

namespace {

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

} // namespace

std::wstring GetClockExecutable()
{
    // The build names the executable by its Unix path; Wine shows the Unix root as drive Z:.
    std::wstring Path;
    for (const char C : std::string(NIXIE_APP))
        Path += C == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(C));
    if (!Path.empty() && Path.front() == L'\\')
        Path = L"Z:" + Path;
    return Path;
}

bool WaitFor(const std::function<bool()>& Condition, int TimeoutMs)
{
    const ULONGLONG Deadline = GetTickCount64() + static_cast<ULONGLONG>(TimeoutMs);
    for (;;) {
        if (Condition())
            return true;
        if (GetTickCount64() >= Deadline)
            return false;
        Sleep(10);
    }
}

TClockProcess::TClockProcess(TPoint MainClientSize)
{
    const std::wstring Executable = GetClockExecutable();
    std::wstring CommandLine = L"\"" + Executable + L"\"";
    STARTUPINFOW Startup{};
    Startup.cb = sizeof Startup;
    PROCESS_INFORMATION Info{};
    if (!CreateProcessW(Executable.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &Startup, &Info)) {
        FProblem = "CreateProcessW failed with error " + std::to_string(GetLastError());
        return;
    }
    FProcess = Info.hProcess;
    FThread = Info.hThread;
    FProcessId = Info.dwProcessId;
    const bool Shown = WaitFor(
        [&] {
            if (WaitForSingleObject(AsHandle(FProcess), 0) == WAIT_OBJECT_0)
                return true; // ended before it showed anything: no use waiting
            for (void* Wnd : GetVisibleWindows()) {
                RECT Client{};
                if (!IsToolWindow(Wnd) && GetClientRect(AsWindow(Wnd), &Client) &&
                    Client.right == MainClientSize.X && Client.bottom == MainClientSize.Y) {
                    FMainWindow = Wnd;
                    return true;
                }
            }
            return false;
        },
        StartTimeoutMs);
    if (!FMainWindow) {
        DWORD Code = 0;
        GetExitCodeProcess(AsHandle(FProcess), &Code);
        FProblem = Shown ? "the clock ended at start with exit code " + std::to_string(Code)
                         : "the clock showed no main window";
    }
}

TClockProcess::~TClockProcess()
{
    Terminate();
    if (FThread)
        CloseHandle(AsHandle(FThread));
    if (FProcess)
        CloseHandle(AsHandle(FProcess));
}

std::vector<void*> TClockProcess::GetVisibleWindows() const
{
    TSearch Search{FProcessId, {}};
    if (FProcessId != 0)
        EnumWindows(&CollectVisible, reinterpret_cast<LPARAM>(&Search));
    return Search.Found;
}

TRect TClockProcess::GetWindowBounds(void* Wnd)
{
    RECT R{};
    if (!GetWindowRect(AsWindow(Wnd), &R))
        return {};
    return {R.left, R.top, R.right, R.bottom};
}

bool TClockProcess::IsToolWindow(void* Wnd)
{
    return (GetWindowLongPtrW(AsWindow(Wnd), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

void* TClockProcess::GetCaptureWindow(void* Wnd)
{
    GUITHREADINFO Info{};
    Info.cbSize = sizeof Info;
    const DWORD Thread = GetWindowThreadProcessId(AsWindow(Wnd), nullptr);
    if (!Thread || !GetGUIThreadInfo(Thread, &Info))
        return nullptr;
    return Info.hwndCapture;
}

bool TClockProcess::MoveWindow(void* Wnd, TPoint TopLeft)
{
    return SetWindowPos(AsWindow(Wnd), nullptr, TopLeft.X, TopLeft.Y, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

TRect TClockProcess::GetClientBounds(void* Wnd)
{
    RECT Client{};
    POINT Origin{0, 0};
    if (!GetClientRect(AsWindow(Wnd), &Client) || !ClientToScreen(AsWindow(Wnd), &Origin))
        return {};
    return TRect::FromSize(Origin.x, Origin.y, Client.right, Client.bottom);
}

std::optional<TClockProcess::TNativeRegion> TClockProcess::GetWindowRegion(void* Wnd)
{
    HRGN Region = CreateRectRgn(0, 0, 0, 0);
    if (!Region)
        return std::nullopt;
    std::optional<TNativeRegion> Result;
    if (GetWindowRgn(AsWindow(Wnd), Region) != ERROR) {
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

TBitmap TClockProcess::CaptureScreen(const TRect& Rect)
{
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

std::optional<std::uint32_t> TClockProcess::WaitForExit(int TimeoutMs)
{
    if (!FProcess)
        return std::nullopt;
    if (WaitForSingleObject(AsHandle(FProcess), static_cast<DWORD>(TimeoutMs)) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD Code = 0;
    if (!GetExitCodeProcess(AsHandle(FProcess), &Code))
        return std::nullopt;
    return Code;
}

void TClockProcess::Terminate()
{
    if (!FProcess || WaitForSingleObject(AsHandle(FProcess), 0) == WAIT_OBJECT_0)
        return;
    TerminateProcess(AsHandle(FProcess), 1);
    WaitForSingleObject(AsHandle(FProcess), EndTimeoutMs);
}
