#include "platform/win32/Win32FileBytes.h"

#include "platform/win32/WideString.h"

#include <algorithm>
#include <windows.h>

namespace {

// One ReadFile or WriteFile moves at most a DWORD's worth; keep well below it.
constexpr std::size_t MaxTransfer = std::size_t(1) << 30;

void ReleaseVirtual(std::uint8_t* Data, std::size_t)
{
    VirtualFree(Data, 0, MEM_RELEASE);
}

class THandle
{
public:
    explicit THandle(HANDLE H) : FHandle(H) {}
    ~THandle()
    {
        if (FHandle != INVALID_HANDLE_VALUE)
            CloseHandle(FHandle);
    }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    HANDLE Get() const { return FHandle; }
    bool Close()
    {
        const bool Closed = CloseHandle(FHandle) != 0;
        FHandle = INVALID_HANDLE_VALUE;
        return Closed;
    }

private:
    HANDLE FHandle;
};

// The system's words for an error code, without the line break FormatMessage ends them with.
std::string Describe(DWORD Error)
{
    wchar_t* Text = nullptr;
    const DWORD Length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, Error, 0, reinterpret_cast<wchar_t*>(&Text), 0, nullptr);
    std::wstring Message(Text ? Text : L"", Length);
    LocalFree(Text);
    while (!Message.empty() && (Message.back() == L'\r' || Message.back() == L'\n'))
        Message.pop_back();
    if (Message.empty())
        return "System error " + std::to_string(Error) + ".";
    return WideToUtf8(Message);
}

TFileReadResult CannotRead(DWORD Error)
{
    TFileReadResult Result;
    Result.Reason = Describe(Error);
    return Result;
}

TFileWriteResult NotWritten(TFileWriteOutcome Outcome, DWORD Error)
{
    return {Outcome, Describe(Error)};
}

} // namespace

TByteBlock AllocateWin32Bytes(std::size_t Size)
{
    // Committed pages are zero-filled; large pages need a privilege users rarely hold.
    void* Data = VirtualAlloc(nullptr, std::max<std::size_t>(Size, 1), MEM_RESERVE | MEM_COMMIT,
                              PAGE_READWRITE);
    if (!Data)
        return {};
    return {static_cast<std::uint8_t*>(Data), Size, &ReleaseVirtual};
}

TFileReadResult ReadWin32FileBytes(const std::string& Path, std::uint64_t MaxSize)
{
    THandle File(CreateFileW(Utf8ToWide(Path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (File.Get() == INVALID_HANDLE_VALUE)
        return CannotRead(GetLastError());
    LARGE_INTEGER Size{};
    if (!GetFileSizeEx(File.Get(), &Size) || Size.QuadPart < 0)
        return CannotRead(GetLastError());
    TFileReadResult Result;
    const auto Bytes = static_cast<std::uint64_t>(Size.QuadPart);
    if (Bytes > MaxSize || Bytes > SIZE_MAX) {
        Result.Outcome = TFileReadOutcome::TooLarge;
        return Result;
    }
    Result.Bytes = AllocateWin32Bytes(static_cast<std::size_t>(Bytes));
    if (!Result.Bytes) {
        Result.Outcome = TFileReadOutcome::NoMemory;
        return Result;
    }
    std::size_t Done = 0;
    DWORD Error = ERROR_SUCCESS;
    while (Done < Bytes) {
        DWORD Got = 0;
        const auto Want = static_cast<DWORD>(std::min<std::size_t>(Bytes - Done, MaxTransfer));
        if (!ReadFile(File.Get(), Result.Bytes.GetData() + Done, Want, &Got, nullptr)) {
            Error = GetLastError();
            break;
        }
        if (Got == 0)
            break;
        Done += Got;
    }
    Result.BytesRead = Done;
    Result.Outcome = Done == Bytes ? TFileReadOutcome::Read : TFileReadOutcome::Short;
    if (Done != Bytes)
        Result.Reason =
            Error != ERROR_SUCCESS ? Describe(Error) : "The file ended before its size was read.";
    return Result;
}

TFileWriteResult WriteWin32FileBytes(const std::string& Path, const std::uint8_t* Data,
                                     std::size_t Size)
{
    const std::wstring Target = Utf8ToWide(Path);
    const DWORD Attributes = GetFileAttributesW(Target.c_str());
    const bool Exists = Attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file stays as it is, as opening it for writing would fail.
    if (Exists && (Attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return NotWritten(TFileWriteOutcome::CannotOpen, ERROR_ACCESS_DENIED);
    const std::wstring Temporary =
        Target + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    THandle File(CreateFileW(Temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (File.Get() == INVALID_HANDLE_VALUE)
        return NotWritten(TFileWriteOutcome::CannotOpen, GetLastError());
    // The first failure's error code is the reason given.
    DWORD Error = ERROR_SUCCESS;
    const auto Check = [&Error](bool Done) {
        if (!Done && Error == ERROR_SUCCESS)
            Error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
        return Done && Error == ERROR_SUCCESS;
    };
    bool Written = true;
    for (std::size_t Done = 0; Written && Done < Size;) {
        DWORD Put = 0;
        const auto Want = static_cast<DWORD>(std::min<std::size_t>(Size - Done, MaxTransfer));
        Written = Check(WriteFile(File.Get(), Data + Done, Want, &Put, nullptr) && Put > 0);
        Done += Put;
    }
    Written = Written && Check(FlushFileBuffers(File.Get()));
    Written = Check(File.Close()) && Written;
    // ReplaceFileW keeps the old file's attributes and security; a new file is simply moved in.
    if (Written) {
        if (Exists)
            Written = Check(ReplaceFileW(Target.c_str(), Temporary.c_str(), nullptr,
                                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0);
        else
            Written =
                Check(MoveFileExW(Temporary.c_str(), Target.c_str(), MOVEFILE_WRITE_THROUGH) != 0);
    }
    if (!Written) {
        DeleteFileW(Temporary.c_str());
        return NotWritten(TFileWriteOutcome::Short, Error);
    }
    return {TFileWriteOutcome::Written, {}};
}
