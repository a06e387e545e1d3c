#pragma once

#include "platform/Platform.h"

// A port that passes every call to another one, installed for the life of the object: a test
// derives from it and overrides only what it fakes.
class TForwardingPlatform : public TPlatform
{
public:
    TForwardingPlatform() : FInner(TPlatform::Get()) { TPlatform::Set(this); }
    ~TForwardingPlatform() override { TPlatform::Set(&FInner); }
    TForwardingPlatform(const TForwardingPlatform&) = delete;
    TForwardingPlatform& operator=(const TForwardingPlatform&) = delete;

    std::unique_ptr<TPlatformWindow> CreateNativeWindow(const TPlatformWindowParams& Params,
                                                        TPlatformWindowEvents* Events) override
    {
        return FInner.CreateNativeWindow(Params, Events);
    }
    bool WaitEvents(int TimeoutMs) override { return FInner.WaitEvents(TimeoutMs); }
    void Wake() override { FInner.Wake(); }
    TPoint GetScreenSize() const override { return FInner.GetScreenSize(); }
    int GetScreenBitsPerPixel() const override { return FInner.GetScreenBitsPerPixel(); }
    TPoint GetCursorPos() const override { return FInner.GetCursorPos(); }
    bool GetFullWindowDrag() const override { return FInner.GetFullWindowDrag(); }
    void DrawScreenFrame(const TRect& Rect, int Thickness) override
    {
        FInner.DrawScreenFrame(Rect, Thickness);
    }
    TFontEngine& GetFontEngine() override { return FInner.GetFontEngine(); }
    long CreateRegistryKey(TRegistryRoot Root, const std::string& Path, TRegistryKey& Key,
                           std::uint32_t* Disposition) override
    {
        return FInner.CreateRegistryKey(Root, Path, Key, Disposition);
    }
    long OpenRegistryKey(TRegistryRoot Root, const std::string& Path, TRegistryKey& Key) override
    {
        return FInner.OpenRegistryKey(Root, Path, Key);
    }
    long QueryRegistryValue(TRegistryKey Handle, const std::string& Name, std::uint32_t& Type,
                            std::vector<std::uint8_t>& Data) override
    {
        return FInner.QueryRegistryValue(Handle, Name, Type, Data);
    }
    long SetRegistryValue(TRegistryKey Handle, const std::string& Name, std::uint32_t Type,
                          std::span<const std::uint8_t> Data) override
    {
        return FInner.SetRegistryValue(Handle, Name, Type, Data);
    }
    long DeleteRegistryValue(TRegistryKey Handle, const std::string& Name) override
    {
        return FInner.DeleteRegistryValue(Handle, Name);
    }
    long CloseRegistryKey(TRegistryKey Handle) override { return FInner.CloseRegistryKey(Handle); }
    std::string ReadProfileEntry(const std::string& File, const std::string& Section,
                                 const std::string& Key, const std::string& Default) override
    {
        return FInner.ReadProfileEntry(File, Section, Key, Default);
    }
    bool WriteProfileEntry(const std::string& File, const std::string& Section,
                           const std::string& Key, const std::string& Value) override
    {
        return FInner.WriteProfileEntry(File, Section, Key, Value);
    }
    long SetLoginItem(const std::string& Name, const TLoginCommand& Command) override
    {
        return FInner.SetLoginItem(Name, Command);
    }
    long RemoveLoginItem(const std::string& Name) override { return FInner.RemoveLoginItem(Name); }
    std::optional<std::string> GetLoginItem(const std::string& Name) override
    {
        return FInner.GetLoginItem(Name);
    }
    bool ShellOpen(const std::string& FileOrAddress) override
    {
        return FInner.ShellOpen(FileOrAddress);
    }
    TFileDialogResult RunFileDialog(const TFileDialogParams& Params) override
    {
        return FInner.RunFileDialog(Params);
    }
    bool PutClipboardText(const std::string& Utf8) override
    {
        return FInner.PutClipboardText(Utf8);
    }
    std::optional<std::string> GetClipboardText() override { return FInner.GetClipboardText(); }
    std::string GetExecutablePath() const override { return FInner.GetExecutablePath(); }
    std::vector<std::string> GetProgramArguments() const override
    {
        return FInner.GetProgramArguments();
    }
    std::string GetCurrentFolder() const override { return FInner.GetCurrentFolder(); }
    TByteBlock AllocateBytes(std::size_t Size) override { return FInner.AllocateBytes(Size); }
    TFileReadResult ReadFileBytes(const std::string& Path, std::uint64_t MaxSize) override
    {
        return FInner.ReadFileBytes(Path, MaxSize);
    }
    TFileWriteResult WriteFileBytes(const std::string& Path, const std::uint8_t* Data,
                                    std::size_t Size) override
    {
        return FInner.WriteFileBytes(Path, Data, Size);
    }
    bool FileExists(const std::string& Path) const override { return FInner.FileExists(Path); }
    void Sleep(int Milliseconds) override { FInner.Sleep(Milliseconds); }
    TLocalTime GetLocalTime() const override { return FInner.GetLocalTime(); }
    std::uint64_t GetTickCount() const override { return FInner.GetTickCount(); }

protected:
    TPlatform& FInner;
};
