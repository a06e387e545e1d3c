#include "platform/posix/PosixFileBytes.h"

#include "platform/posix/PosixFiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;
constexpr std::size_t SmallPage = 4096;
// One read or write call at most, below what Linux moves in a call (2 GiB less a page).
constexpr std::size_t MaxTransfer = std::size_t(1) << 30;

std::size_t RoundUp(std::size_t Size, std::size_t Unit)
{
    return (Size + Unit - 1) / Unit * Unit;
}

void ReleaseMapped(std::uint8_t* Data, std::size_t Size)
{
    munmap(Data, RoundUp(std::max<std::size_t>(Size, 1), SmallPage));
}

// The file-creation mask, read without changing it (umask() can only be read by setting it, which
// would race with another thread creating a file); where /proc does not say, set and restore.
mode_t GetProcessUmask()
{
    if (FILE* Status = std::fopen("/proc/self/status", "re")) {
        char Line[256];
        unsigned Mask = 0;
        bool Found = false;
        while (!Found && std::fgets(Line, sizeof Line, Status))
            Found = std::sscanf(Line, "Umask: %o", &Mask) == 1;
        std::fclose(Status);
        if (Found)
            return static_cast<mode_t>(Mask);
    }
    const mode_t Mask = umask(0);
    umask(Mask);
    return Mask;
}

// The system's words for an error number.
std::string Describe(int Error)
{
    char Buffer[256];
    return strerror_r(Error, Buffer, sizeof Buffer); // the GNU form: a message, never an error
}

TFileReadResult CannotRead(int Error)
{
    TFileReadResult Result;
    Result.Reason = Describe(Error);
    return Result;
}

TFileWriteResult NotWritten(TFileWriteOutcome Outcome, int Error)
{
    return {Outcome, Describe(Error)};
}

} // namespace

TByteBlock AllocatePosixBytes(std::size_t Size)
{
    if (Size > SIZE_MAX - 2 * HugePage)
        return {};
    const std::size_t Length = RoundUp(std::max<std::size_t>(Size, 1), SmallPage);
    if (Length < HugePage) {
        void* Data =
            mmap(nullptr, Length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (Data == MAP_FAILED)
            return {};
        return {static_cast<std::uint8_t*>(Data), Size, &ReleaseMapped};
    }
    // Huge pages need 2 MiB-aligned ranges: map a huge page more and trim both ends. Filling a
    // gigabyte of small pages costs the kernel many times what huge ones do.
    const std::size_t Mapped = Length + HugePage;
    void* Raw = mmap(nullptr, Mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (Raw == MAP_FAILED)
        return {};
    auto* Start = static_cast<std::uint8_t*>(Raw);
    auto* Aligned =
        reinterpret_cast<std::uint8_t*>(RoundUp(reinterpret_cast<std::uintptr_t>(Start), HugePage));
    if (Aligned > Start)
        munmap(Start, static_cast<std::size_t>(Aligned - Start));
    const std::size_t Tail = static_cast<std::size_t>(Start + Mapped - (Aligned + Length));
    if (Tail > 0)
        munmap(Aligned + Length, Tail);
#ifdef MADV_HUGEPAGE
    madvise(Aligned, Length, MADV_HUGEPAGE);
#endif
    return {Aligned, Size, &ReleaseMapped};
}

TFileReadResult ReadPosixFileBytes(const std::string& Path, std::uint64_t MaxSize)
{
    const int Fd = open(ToNativePath(Path).c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0)
        return CannotRead(errno);
    TFileReadResult Result;
    struct stat Info
    {};
    // A file the system cannot size (a pipe, a terminal) reads as empty, as a seek to its end
    // would make it.
    std::uint64_t Size = 0;
    if (fstat(Fd, &Info) != 0 || S_ISDIR(Info.st_mode)) {
        const int Error = S_ISDIR(Info.st_mode) ? EISDIR : errno;
        close(Fd);
        return CannotRead(Error);
    }
    if (S_ISREG(Info.st_mode))
        Size = static_cast<std::uint64_t>(Info.st_size);
    if (Size > MaxSize || Size > SIZE_MAX) {
        close(Fd);
        Result.Outcome = TFileReadOutcome::TooLarge;
        return Result;
    }
    Result.Bytes = AllocatePosixBytes(static_cast<std::size_t>(Size));
    if (!Result.Bytes) {
        close(Fd);
        Result.Outcome = TFileReadOutcome::NoMemory;
        return Result;
    }
    std::size_t Done = 0;
    int Error = 0;
    while (Done < Size) {
        const std::size_t Want = std::min<std::size_t>(Size - Done, MaxTransfer);
        const ssize_t Got = read(Fd, Result.Bytes.GetData() + Done, Want);
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got <= 0) {
            Error = Got < 0 ? errno : 0;
            break;
        }
        Done += static_cast<std::size_t>(Got);
    }
    close(Fd);
    Result.BytesRead = Done;
    Result.Outcome = Done == Size ? TFileReadOutcome::Read : TFileReadOutcome::Short;
    if (Done != Size)
        Result.Reason = Error != 0 ? Describe(Error) : "The file ended before its size was read.";
    return Result;
}

TFileWriteResult WritePosixFileBytes(const std::string& Path, const std::uint8_t* Data,
                                     std::size_t Size)
{
    std::string Target = ToNativePath(Path);
    // Through a link to the file it names: renaming over the link would replace the link.
    if (char* Real = realpath(Target.c_str(), nullptr)) {
        Target = Real;
        std::free(Real);
    }
    // What opening the target for writing would refuse stays as it is: a file the user may not
    // write, and anything that is not a plain file (a folder, a device, a pipe). A file nobody may
    // write is read-only even to the administrator, as Windows' read-only attribute is.
    struct stat Old
    {};
    const bool Exists = stat(Target.c_str(), &Old) == 0;
    if (Exists && S_ISDIR(Old.st_mode))
        return NotWritten(TFileWriteOutcome::CannotOpen, EISDIR);
    if (Exists &&
        (!S_ISREG(Old.st_mode) || (Old.st_mode & 0222) == 0 || access(Target.c_str(), W_OK) != 0))
        return NotWritten(TFileWriteOutcome::CannotOpen, EACCES);
    std::string Temporary = Target + ".XXXXXX";
    const int Fd = mkostemp(Temporary.data(), O_CLOEXEC);
    if (Fd < 0)
        return NotWritten(TFileWriteOutcome::CannotOpen, errno);
    // A replaced file keeps its permissions; a new one gets what open() would have given it.
    const mode_t Wanted = Exists ? Old.st_mode & 07777 : 0666 & ~GetProcessUmask();
    // The first failure's error number is the reason given.
    int Error = 0;
    const auto Check = [&Error](bool Done) {
        if (!Done && Error == 0)
            Error = errno != 0 ? errno : EIO;
        return Done && Error == 0;
    };
    bool Written = Check(fchmod(Fd, Wanted) == 0);
    for (std::size_t Done = 0; Written && Done < Size;) {
        const ssize_t Put = write(Fd, Data + Done, std::min<std::size_t>(Size - Done, MaxTransfer));
        if (Put < 0 && errno == EINTR)
            continue;
        if (Put == 0)
            errno = ENOSPC; // a write that moves nothing has run out of room
        Written = Check(Put > 0);
        if (Put > 0)
            Done += static_cast<std::size_t>(Put);
    }
    Written = Written && Check(fsync(Fd) == 0);
    Written = Check(close(Fd) == 0) && Written;
    if (!Written || !Check(rename(Temporary.c_str(), Target.c_str()) == 0)) {
        unlink(Temporary.c_str());
        return NotWritten(TFileWriteOutcome::Short, Error);
    }
    // The rename itself is durable once the folder is.
    const int Folder = open(GetFolderOf(Target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Folder >= 0) {
        fsync(Folder);
        close(Folder);
    }
    return {TFileWriteOutcome::Written, {}};
}
