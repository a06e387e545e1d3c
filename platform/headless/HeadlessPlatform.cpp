#include "platform/headless/HeadlessPlatform.h"

#include "platform/common/FoldedNames.h"
#include "platform/common/RunCommandLine.h"
#include "platform/freetype/FreeTypeFontEngine.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/posix/PosixFileBytes.h"

#include <algorithm>

namespace {

constexpr const char* RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* WindowsFolder = "C:\\Windows";

} // namespace

THeadlessPlatform::THeadlessPlatform() = default;

THeadlessPlatform::~THeadlessPlatform()
{
    // Windows that outlive the port must not reach back into it.
    for (THeadlessWindow* Window : FWindows)
        Window->FPort = nullptr;
}

std::unique_ptr<TPlatformWindow>
THeadlessPlatform::CreateNativeWindow(const TPlatformWindowParams& Params,
                                      TPlatformWindowEvents* Events)
{
    return std::make_unique<THeadlessWindow>(*this, Params, Events);
}

void THeadlessPlatform::AddWindow(THeadlessWindow* Window)
{
    FWindows.push_back(Window);
}

void THeadlessPlatform::RemoveWindow(THeadlessWindow* Window)
{
    std::erase(FWindows, Window);
    if (FActiveWindow == Window)
        FActiveWindow = nullptr;
    if (FCaptureWindow == Window)
        FCaptureWindow = nullptr;
}

void THeadlessPlatform::QueueEvent(std::function<void()> Deliver, int DelayMs)
{
    std::uint64_t Due = FClock.GetTickCount() + static_cast<std::uint64_t>(std::max(0, DelayMs));
    if (!FEvents.empty())
        Due = std::max(Due, FEvents.back().DueTick);
    FEvents.push_back({Due, std::move(Deliver)});
}

bool THeadlessPlatform::WaitEvents(int TimeoutMs)
{
    const std::uint64_t Now = FClock.GetTickCount();
    if (!FEvents.empty()) {
        const std::uint64_t Due = FEvents.front().DueTick;
        const bool Forever = TimeoutMs < 0;
        if (Due <= Now || Forever || Due - Now <= static_cast<std::uint64_t>(TimeoutMs)) {
            FClock.Advance(static_cast<std::int64_t>(Due > Now ? Due - Now : 0));
            std::function<void()> Deliver = std::move(FEvents.front().Deliver);
            FEvents.pop_front();
            FWoken = false;
            if (Deliver)
                Deliver();
            return true;
        }
    }
    if (FWoken) {
        FWoken = false;
        return false;
    }
    if (TimeoutMs > 0)
        FClock.Advance(TimeoutMs);
    return false;
}

void THeadlessPlatform::DrawScreenFrame(const TRect& Rect, int Thickness)
{
    FScreenFrames.push_back({Rect, Thickness});
}

std::vector<THeadlessPlatform::TScreenFrame> THeadlessPlatform::GetVisibleScreenFrames() const
{
    std::vector<TScreenFrame> Visible;
    for (const TScreenFrame& Frame : FScreenFrames) {
        auto It = std::find(Visible.begin(), Visible.end(), Frame);
        if (It == Visible.end())
            Visible.push_back(Frame);
        else
            Visible.erase(It);
    }
    return Visible;
}

TFontEngine& THeadlessPlatform::GetFontEngine()
{
    if (!FFontEngine)
        FFontEngine = std::make_unique<TFreeTypeFontEngine>();
    return *FFontEngine;
}

long THeadlessPlatform::CreateRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key,
                                          std::uint32_t* Disposition)
{
    return FRegistry.CreateKey(Path, Key, Disposition);
}

long THeadlessPlatform::OpenRegistryKey(TRegistryRoot, const std::string& Path, TRegistryKey& Key)
{
    return FRegistry.OpenKey(Path, Key);
}

long THeadlessPlatform::QueryRegistryValue(TRegistryKey Key, const std::string& Name,
                                           std::uint32_t& Type, std::vector<std::uint8_t>& Data)
{
    return FRegistry.QueryValue(Key, Name, Type, Data);
}

long THeadlessPlatform::SetRegistryValue(TRegistryKey Key, const std::string& Name,
                                         std::uint32_t Type, std::span<const std::uint8_t> Data)
{
    return FRegistry.SetValue(Key, Name, Type, Data);
}

long THeadlessPlatform::DeleteRegistryValue(TRegistryKey Key, const std::string& Name)
{
    return FRegistry.DeleteValue(Key, Name);
}

long THeadlessPlatform::CloseRegistryKey(TRegistryKey Key)
{
    return FRegistry.CloseKey(Key);
}

std::string THeadlessPlatform::ResolveProfilePath(const std::string& File) const
{
    return FoldPath(File, IsAbsolutePath(File) ? std::string() : std::string(WindowsFolder));
}

std::string THeadlessPlatform::ReadProfileEntry(const std::string& File, const std::string& Section,
                                                const std::string& Key, const std::string& Default)
{
    return FProfiles.Read(ResolveProfilePath(File), Section, Key, Default);
}

bool THeadlessPlatform::WriteProfileEntry(const std::string& File, const std::string& Section,
                                          const std::string& Key, const std::string& Value)
{
    if (File.empty())
        return false;
    const std::string Path = ResolveProfilePath(File);
    if (!FProfiles.Write(Path, Section, Key, Value))
        return false;
    FFiles.insert(Path);
    return true;
}

long THeadlessPlatform::SetLoginItem(const std::string& Name, const TLoginCommand& Command)
{
    TRegistryKey Key = 0;
    if (const long Opened = FRegistry.OpenKey(RunKeyPath, Key); Opened != ERROR_SUCCESS)
        return Opened;
    if (!Command.Program.empty()) {
        const std::string Line = FormatRunCommandLine(Command);
        const auto* Bytes = reinterpret_cast<const std::uint8_t*>(Line.c_str());
        FRegistry.SetValue(Key, Name, REG_SZ, {Bytes, Line.size() + 1});
    }
    return FRegistry.CloseKey(Key);
}

long THeadlessPlatform::RemoveLoginItem(const std::string& Name)
{
    TRegistryKey Key = 0;
    if (const long Opened = FRegistry.OpenKey(RunKeyPath, Key); Opened != ERROR_SUCCESS)
        return Opened;
    FRegistry.DeleteValue(Key, Name);
    return FRegistry.CloseKey(Key);
}

std::optional<std::string> THeadlessPlatform::GetLoginItem(const std::string& Name)
{
    TRegistryKey Key = 0;
    if (FRegistry.OpenKey(RunKeyPath, Key) != ERROR_SUCCESS)
        return std::nullopt;
    std::uint32_t Type = REG_NONE;
    std::vector<std::uint8_t> Data;
    const long Result = FRegistry.QueryValue(Key, Name, Type, Data);
    FRegistry.CloseKey(Key);
    if (Result != ERROR_SUCCESS || Type != REG_SZ)
        return std::nullopt;
    std::string Text(Data.begin(), Data.end());
    Text.resize(std::min(Text.size(), Text.find('\0')));
    return Text;
}

bool THeadlessPlatform::ShellOpen(const std::string& FileOrAddress)
{
    FShellOpens.push_back(FileOrAddress);
    return FShellOpenResult;
}

bool THeadlessPlatform::FileExists(const std::string& Path) const
{
    return !Path.empty() && FFiles.contains(FoldPath(Path, FCurrentFolder));
}

void THeadlessPlatform::AddFile(const std::string& Path)
{
    FFiles.insert(FoldPath(Path, FCurrentFolder));
}

void THeadlessPlatform::RemoveFile(const std::string& Path)
{
    // A profile file keeps its entries in the file itself: they go with it.
    const std::string Folded = FoldPath(Path, FCurrentFolder);
    FFiles.erase(Folded);
    FProfiles.RemoveFile(Folded);
}

TByteBlock THeadlessPlatform::AllocateBytes(std::size_t Size)
{
    return AllocatePosixBytes(Size);
}

TFileReadResult THeadlessPlatform::ReadFileBytes(const std::string& Path, std::uint64_t MaxSize)
{
    return ReadPosixFileBytes(Path, MaxSize);
}

TFileWriteResult THeadlessPlatform::WriteFileBytes(const std::string& Path,
                                                    const std::uint8_t* Data, std::size_t Size)
{
    return WritePosixFileBytes(Path, Data, Size);
}
