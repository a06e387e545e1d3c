#include "platform/x11/X11Platform.h"

#include "platform/posix/AutostartFolder.h"
#include "platform/posix/PosixFileBytes.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixProcess.h"
#include "platform/posix/ProfileFile.h"
#include "platform/x11/X11Clipboard.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11FontModule.h"
#include "platform/x11/X11Presenter.h"
#include "platform/x11/X11Window.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <unistd.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

TX11Platform::TX11Platform()
{
    int Pipe[2];
    if (pipe2(Pipe, O_NONBLOCK | O_CLOEXEC) == 0) {
        FWakeRead = Pipe[0];
        FWakeWrite = Pipe[1];
    }
}

TX11Platform::~TX11Platform()
{
    // Windows that outlive the port must not reach for the connection it closes.
    for (auto& Entry : FWindows)
        Entry.second->Orphan();
    FPresenter.reset();
    FClipboard.reset();
    if (FFrameGc)
        XFreeGC(FDisplay->Get(), FFrameGc);
    FDisplay.reset();
    if (FWakeRead >= 0)
        close(FWakeRead);
    if (FWakeWrite >= 0)
        close(FWakeWrite);
}

bool TX11Platform::OpenDisplay(const std::string& Name, std::string& Problem)
{
    if (FDisplay)
        return true;
    FDisplay = TX11Display::Open(Name, Problem);
    if (!FDisplay)
        return false;
    FPresenter = std::make_unique<TX11Presenter>(*FDisplay);
    return true;
}

// ---- Windows and events ----------------------------------------------------------------------

std::unique_ptr<TPlatformWindow>
TX11Platform::CreateNativeWindow(const TPlatformWindowParams& Params, TPlatformWindowEvents* Events)
{
    if (!FDisplay)
        return nullptr;
    return std::make_unique<TX11Window>(*this, Params, Events);
}

void TX11Platform::AddWindow(TX11Window* Peer)
{
    FWindows[Peer->GetXWindow()] = Peer;
}

void TX11Platform::RemoveWindow(TX11Window* Peer)
{
    FWindows.erase(Peer->GetXWindow());
    if (FCaptureWindow == Peer)
        FCaptureWindow = nullptr;
}

TX11Window* TX11Platform::FindWindow(unsigned long XWindow) const
{
    auto It = FWindows.find(XWindow);
    return It == FWindows.end() ? nullptr : It->second;
}

bool TX11Platform::DeliverCaptureLost()
{
    bool Delivered = false;
    const std::vector<unsigned long> Lost = std::move(FCaptureLost);
    FCaptureLost.clear();
    for (unsigned long XWindow : Lost) {
        TX11Window* W = FindWindow(XWindow);
        // A later capture that succeeded makes the old failure moot.
        if (W && !W->IsCaptured()) {
            W->FEvents->HandleCaptureLost();
            Delivered = true;
        }
    }
    return Delivered;
}

bool TX11Platform::DispatchQueued()
{
    Display* D = FDisplay->Get();
    bool Delivered = false;
    // XPending sends what is buffered and reads what has arrived, without blocking.
    while (XPending(D) > 0) {
        XEvent E;
        XNextEvent(D, &E);
        if (E.type == KeyPress)
            if (TX11Window* W = FindWindow(E.xany.window))
                W->PrepareForKeys();
        if (XFilterEvent(&E, XNone))
            continue; // the input method's, for composing characters
        if (E.type == MappingNotify) {
            XRefreshKeyboardMapping(&E.xmapping); // the keyboard's layout changed
            continue;
        }
        if (FClipboard && FClipboard->HandleEvent(E))
            continue;
        // Looked up for every event: a handler may destroy windows.
        if (TX11Window* W = FindWindow(E.xany.window))
            Delivered = W->HandleEvent(E) || Delivered;
    }
    return Delivered;
}

TX11Clipboard* TX11Platform::Clipboard()
{
    if (!FClipboard && FDisplay)
        FClipboard = std::make_unique<TX11Clipboard>(*FDisplay);
    return FClipboard.get();
}

bool TX11Platform::PutClipboardText(const std::string& Utf8)
{
    TX11Clipboard* C = Clipboard();
    return C && C->Put(Utf8);
}

std::optional<std::string> TX11Platform::GetClipboardText()
{
    TX11Clipboard* C = Clipboard();
    return C ? C->Get() : std::nullopt;
}

void TX11Platform::DrainWakePipe()
{
    char Buffer[64];
    while (read(FWakeRead, Buffer, sizeof Buffer) > 0) {
    }
}

namespace {

constexpr std::uint64_t TrimQuietMs = 1000;

} // namespace

int TX11Platform::WaitBeforeTrim() const
{
    if (FTrimDueMs == 0)
        return -1;
    const std::uint64_t Now = GetMonotonicMilliseconds();
    return Now >= FTrimDueMs ? 0 : static_cast<int>(FTrimDueMs - Now);
}

void TX11Platform::TrimIfDue()
{
    if (WaitBeforeTrim() != 0)
        return;
    FTrimDueMs = 0;
#if defined(__GLIBC__)
    // glibc keeps the pages of freed small blocks; a quiet program should not hold on to them.
    malloc_trim(0);
#endif
}

bool TX11Platform::WaitEvents(int TimeoutMs)
{
    const std::uint64_t Start = GetMonotonicMilliseconds();
    // After a poll that saw nothing on the connection nothing can have come: Xlib reads only
    // when called, and nothing calls it in between. Not asking again saves a read per timer tick.
    bool MayHaveInput = true;
    for (;;) {
        bool Delivered = DeliverCaptureLost();
        if (FDisplay && MayHaveInput && DispatchQueued()) {
            Delivered = true;
            FTrimDueMs = GetMonotonicMilliseconds() + TrimQuietMs;
        }
        if (Delivered)
            return true;
        TrimIfDue();
        if (!FDisplay && TimeoutMs < 0)
            return false; // nothing can ever come
        int Wait = -1;
        if (TimeoutMs >= 0) {
            const std::uint64_t Elapsed = GetMonotonicMilliseconds() - Start;
            if (Elapsed >= static_cast<std::uint64_t>(TimeoutMs))
                return false;
            Wait = static_cast<int>(static_cast<std::uint64_t>(TimeoutMs) - Elapsed);
        }
        // Waking for the trim: a program with no timer would otherwise wait for the next event.
        if (const int UntilTrim = WaitBeforeTrim();
            UntilTrim >= 0 && (Wait < 0 || UntilTrim < Wait))
            Wait = UntilTrim;
        pollfd Fds[2] = {{FWakeRead, POLLIN, 0},
                         {FDisplay ? FDisplay->GetConnectionFd() : -1, POLLIN, 0}};
        const int Ready = poll(Fds, FDisplay ? 2 : 1, Wait);
        if (Ready < 0 && errno != EINTR)
            return false;
        MayHaveInput = Ready != 0;
        if (Ready > 0 && (Fds[0].revents & POLLIN)) {
            DrainWakePipe();
            return true;
        }
        // A readable connection is read at the top; a broken one reaches the I/O error handler.
    }
}

void TX11Platform::Wake()
{
    if (FWakeWrite >= 0) {
        const char Byte = 1;
        (void)!write(FWakeWrite, &Byte, 1); // a full pipe is awake enough
    }
}

// ---- Screen and pointer ----------------------------------------------------------------------

TPoint TX11Platform::GetScreenSize() const
{
    if (!FDisplay)
        return {1024, 768}; // no display: a screen of the commonest size
    return {DisplayWidth(FDisplay->Get(), FDisplay->GetScreen()),
            DisplayHeight(FDisplay->Get(), FDisplay->GetScreen())};
}

int TX11Platform::GetScreenBitsPerPixel() const
{
    return FDisplay ? FDisplay->GetScreenBitsPerPixel() : 32;
}

TPoint TX11Platform::GetCursorPos() const
{
    if (!FDisplay)
        return {};
    Window Root = XNone, Child = XNone;
    int RootX = 0, RootY = 0, WinX = 0, WinY = 0;
    unsigned Buttons = 0;
    XQueryPointer(FDisplay->Get(), FDisplay->GetRoot(), &Root, &Child, &RootX, &RootY, &WinX, &WinY,
                  &Buttons);
    return {RootX, RootY};
}

void TX11Platform::DrawScreenFrame(const TRect& Rect, int Thickness)
{
    if (!FDisplay || Rect.IsEmpty() || Thickness <= 0)
        return;
    Display* D = FDisplay->Get();
    if (!FFrameGc) {
        // Inverting is its own undo; IncludeInferiors paints over every window, as a frame
        // drawn on the Windows screen does.
        XGCValues V{};
        V.function = GXinvert;
        V.plane_mask = AllPlanes;
        V.subwindow_mode = IncludeInferiors;
        V.graphics_exposures = False;
        FFrameGc = XCreateGC(D, FDisplay->GetRoot(),
                             GCFunction | GCPlaneMask | GCSubwindowMode | GCGraphicsExposures, &V);
    }
    // Four strips that never overlap, or the corners would be inverted twice.
    const int W = Rect.Width(), H = Rect.Height();
    const int TopH = std::min(Thickness, H);
    const int BottomH = std::min(Thickness, H - TopH);
    const int SideH = H - TopH - BottomH;
    const int LeftW = std::min(Thickness, W);
    const int RightW = std::min(Thickness, W - LeftW);
    std::vector<XRectangle> Strips;
    auto Add = [&](int X, int Y, int SW, int SH) {
        // Kept to the 16 bits of the protocol; the screen is smaller anyway.
        const TRect S = TRect::FromSize(X, Y, SW, SH).Intersect({-32768, -32768, 32767, 32767});
        if (!S.IsEmpty())
            Strips.push_back({static_cast<short>(S.Left), static_cast<short>(S.Top),
                              static_cast<unsigned short>(S.Width()),
                              static_cast<unsigned short>(S.Height())});
    };
    Add(Rect.Left, Rect.Top, W, TopH);
    Add(Rect.Left, Rect.Bottom - BottomH, W, BottomH);
    Add(Rect.Left, Rect.Top + TopH, LeftW, SideH);
    Add(Rect.Right - RightW, Rect.Top + TopH, RightW, SideH);
    XFillRectangles(D, FDisplay->GetRoot(), FFrameGc, Strips.data(),
                    static_cast<int>(Strips.size()));
    // Our windows under the frame show other pixels now than they were given.
    for (const XRectangle& S : Strips)
        for (auto& Entry : FWindows)
            Entry.second->ForgetScreenArea(TRect::FromSize(S.x, S.y, S.width, S.height));
    XFlush(D);
}

TFontEngine& TX11Platform::GetFontEngine()
{
    if (!FFontEngine)
        FFontEngine = OpenFontModule();
    return *FFontEngine;
}

// ---- Registry, profiles, login items --------------------------------------------------------

long TX11Platform::CreateRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key,
                                     std::uint32_t* Disposition)
{
    return FRegistry.CreateKey(Path, Key, Disposition);
}

long TX11Platform::OpenRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key)
{
    return FRegistry.OpenKey(Path, Key);
}

long TX11Platform::QueryRegistryValue(TRegistryKey Key, const std::string& Name,
                                      std::uint32_t& Type, std::vector<std::uint8_t>& Data)
{
    return FRegistry.QueryValue(Key, Name, Type, Data);
}

long TX11Platform::SetRegistryValue(TRegistryKey Key, const std::string& Name, std::uint32_t Type,
                                    std::span<const std::uint8_t> Data)
{
    return FRegistry.SetValue(Key, Name, Type, Data);
}

long TX11Platform::DeleteRegistryValue(TRegistryKey Key, const std::string& Name)
{
    return FRegistry.DeleteValue(Key, Name);
}

long TX11Platform::CloseRegistryKey(TRegistryKey Key)
{
    return FRegistry.CloseKey(Key);
}

std::string TX11Platform::ResolveProfilePath(const std::string& File) const
{
    // As the Windows folder is for GetPrivateProfileString: where names without a path live.
    const std::string Native = ToNativePath(File);
    return Native.starts_with("/") ? Native : GetConfigHome() + "/nixie/" + Native;
}

std::string TX11Platform::ReadProfileEntry(const std::string& File, const std::string& Section,
                                           const std::string& Key, const std::string& Default)
{
    return TProfileFile::Read(ResolveProfilePath(File), Section, Key, Default);
}

bool TX11Platform::WriteProfileEntry(const std::string& File, const std::string& Section,
                                     const std::string& Key, const std::string& Value)
{
    if (File.empty())
        return false;
    const std::string Path = ResolveProfilePath(File);
    if (!ToNativePath(File).starts_with("/") && !MakeFolders(GetFolderOf(Path), 0700))
        return false;
    return TProfileFile::Write(Path, Section, Key, Value);
}

long TX11Platform::SetLoginItem(const std::string& Name, const TLoginCommand& Command)
{
    return TAutostartFolder::Set(Name, Command);
}

long TX11Platform::RemoveLoginItem(const std::string& Name)
{
    return TAutostartFolder::Remove(Name);
}

std::optional<std::string> TX11Platform::GetLoginItem(const std::string& Name)
{
    return TAutostartFolder::Get(Name);
}

// ---- Shell and process -----------------------------------------------------------------------

namespace {

// "http:", "mailto:" and the like; "C:" is a Windows drive, not a scheme.
bool HasScheme(const std::string& S)
{
    const std::size_t Colon = S.find(':');
    if (Colon == std::string::npos || Colon < 2)
        return false;
    for (std::size_t I = 0; I < Colon; ++I) {
        const char C = S[I];
        const bool Letter = (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
        if (!Letter && !(I > 0 && ((C >= '0' && C <= '9') || C == '+' || C == '-' || C == '.')))
            return false;
    }
    return true;
}

} // namespace

bool TX11Platform::ShellOpen(const std::string& FileOrAddress)
{
    if (FileOrAddress.empty())
        return false;
    const std::string Target =
        HasScheme(FileOrAddress) ? FileOrAddress : ToNativePath(FileOrAddress);
    return StartDetached("xdg-open", {Target});
}

std::string TX11Platform::GetExecutablePath() const
{
    return GetProcessExecutablePath();
}

std::string TX11Platform::GetCurrentFolder() const
{
    return GetProcessCurrentFolder();
}

bool TX11Platform::FileExists(const std::string& Path) const
{
    return IsExistingFile(ToNativePath(Path));
}

void TX11Platform::Sleep(int Milliseconds)
{
    SleepMilliseconds(Milliseconds);
}

TLocalTime TX11Platform::GetLocalTime() const
{
    return GetLocalWallClock();
}

std::uint64_t TX11Platform::GetTickCount() const
{
    return GetMonotonicMilliseconds();
}

TByteBlock TX11Platform::AllocateBytes(std::size_t Size)
{
    return AllocatePosixBytes(Size);
}

TFileReadResult TX11Platform::ReadFileBytes(const std::string& Path, std::uint64_t MaxSize)
{
    return ReadPosixFileBytes(Path, MaxSize);
}

TFileWriteResult TX11Platform::WriteFileBytes(const std::string& Path, const std::uint8_t* Data,
                                              std::size_t Size)
{
    return WritePosixFileBytes(Path, Data, Size);
}
