#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

std::string ToNativePath(const std::string& Path)
{
    std::string Native = Path;
    for (char& C : Native)
        if (C == '\\')
            C = '/';
    return Native;
}

std::string GetConfigHome()
{
    if (const char* Xdg = std::getenv("XDG_CONFIG_HOME"); Xdg && Xdg[0] == '/')
        return Xdg;
    std::string Home;
    if (const char* H = std::getenv("HOME"); H && H[0] == '/')
        Home = H;
    else if (const passwd* User = getpwuid(getuid()); User && User->pw_dir)
        Home = User->pw_dir;
    else
        Home = "/tmp";
    while (Home.size() > 1 && Home.back() == '/')
        Home.pop_back();
    return Home + "/.config";
}

std::string GetFolderOf(const std::string& Path)
{
    const std::size_t Slash = Path.find_last_of('/');
    if (Slash == std::string::npos)
        return ".";
    return Slash == 0 ? "/" : Path.substr(0, Slash);
}

bool MakeFolders(const std::string& Folder, unsigned Mode)
{
    struct stat Info
    {};
    if (stat(Folder.c_str(), &Info) == 0)
        return S_ISDIR(Info.st_mode);
    const std::string Parent = GetFolderOf(Folder);
    if (Parent != Folder && Parent != "." && !MakeFolders(Parent, Mode))
        return false;
    return mkdir(Folder.c_str(), static_cast<mode_t>(Mode)) == 0 || errno == EEXIST;
}

std::optional<std::string> ReadWholeFile(const std::string& Path)
{
    const int Fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0)
        return std::nullopt;
    std::string Bytes;
    char Buffer[16384];
    for (;;) {
        const ssize_t Got = read(Fd, Buffer, sizeof Buffer);
        if (Got > 0) {
            Bytes.append(Buffer, static_cast<std::size_t>(Got));
        } else if (Got == 0) {
            break;
        } else if (errno != EINTR) {
            const int Error = errno;
            close(Fd);
            errno = Error;
            return std::nullopt;
        }
    }
    close(Fd);
    return Bytes;
}

namespace {

bool WriteAll(int Fd, std::string_view Bytes)
{
    while (!Bytes.empty()) {
        const ssize_t Put = write(Fd, Bytes.data(), Bytes.size());
        if (Put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        Bytes.remove_prefix(static_cast<std::size_t>(Put));
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const std::string& Path, std::string_view Bytes, unsigned Mode)
{
    std::string Temporary = Path + ".XXXXXX";
    const int Fd = mkostemp(Temporary.data(), O_CLOEXEC);
    if (Fd < 0)
        return false;
    struct stat Old
    {};
    const mode_t Wanted =
        stat(Path.c_str(), &Old) == 0 ? (Old.st_mode & 07777) : static_cast<mode_t>(Mode);
    const bool Written = fchmod(Fd, Wanted) == 0 && WriteAll(Fd, Bytes) && fsync(Fd) == 0;
    const bool Closed = close(Fd) == 0;
    if (!Written || !Closed || rename(Temporary.c_str(), Path.c_str()) != 0) {
        const int Error = errno;
        unlink(Temporary.c_str());
        errno = Error;
        return false;
    }
    return true;
}

int RemoveStaleTemporaries(const std::string& Path, int OlderThanSeconds)
{
    const std::string Folder = GetFolderOf(Path);
    const std::string Prefix = Path.substr(Path.find_last_of('/') + 1) + ".";
    DIR* Dir = opendir(Folder.c_str());
    if (!Dir)
        return 0;
    const time_t Now = time(nullptr);
    int Removed = 0;
    while (const dirent* Entry = readdir(Dir)) {
        const std::string_view Name = Entry->d_name;
        if (Name.size() != Prefix.size() + 6 || !Name.starts_with(Prefix))
            continue;
        const std::string Full = Folder + "/" + std::string(Name);
        struct stat Info
        {};
        if (lstat(Full.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) &&
            Now - Info.st_mtime >= OlderThanSeconds && unlink(Full.c_str()) == 0)
            ++Removed;
    }
    closedir(Dir);
    return Removed;
}

bool IsExistingFile(const std::string& Path)
{
    struct stat Info
    {};
    return !Path.empty() && stat(Path.c_str(), &Info) == 0 && !S_ISDIR(Info.st_mode);
}
