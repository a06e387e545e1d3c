#include "platform/posix/PosixProcess.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

std::string GetProcessExecutablePath()
{
    std::string Path(PATH_MAX, '\0');
    for (;;) {
        const ssize_t Length = readlink("/proc/self/exe", Path.data(), Path.size());
        if (Length < 0)
            return {};
        if (static_cast<std::size_t>(Length) < Path.size()) {
            Path.resize(static_cast<std::size_t>(Length));
            return Path;
        }
        Path.resize(Path.size() * 2); // cut short: try again with more room
    }
}

std::vector<std::string> GetProcessArguments()
{
    std::vector<std::string> Words;
    std::FILE* File = std::fopen("/proc/self/cmdline", "rbe");
    if (!File)
        return Words;
    // NUL-terminated words, the program's own name first.
    std::string Word;
    bool First = true;
    for (int C; (C = std::fgetc(File)) != EOF;) {
        if (C != '\0') {
            Word.push_back(char(C));
            continue;
        }
        if (!First)
            Words.push_back(std::move(Word));
        Word.clear();
        First = false;
    }
    std::fclose(File);
    return Words;
}

std::string GetProcessCurrentFolder()
{
    std::string Folder(PATH_MAX, '\0');
    while (!getcwd(Folder.data(), Folder.size())) {
        if (errno != ERANGE)
            return {};
        Folder.resize(Folder.size() * 2);
    }
    Folder.resize(Folder.find('\0'));
    return Folder;
}

void SleepMilliseconds(int Milliseconds)
{
    if (Milliseconds <= 0)
        return;
    timespec Left{Milliseconds / 1000, static_cast<long>(Milliseconds % 1000) * 1000000L};
    while (nanosleep(&Left, &Left) != 0 && errno == EINTR) {
    }
}

TLocalTime GetLocalWallClock()
{
    const std::time_t Now = std::time(nullptr);
    std::tm Local{};
    localtime_r(&Now, &Local);
    TLocalTime T;
    T.Year = Local.tm_year + 1900;
    T.Month = Local.tm_mon + 1;
    T.Day = Local.tm_mday;
    T.Hour = Local.tm_hour;
    T.Minute = Local.tm_min;
    // A leap second reads as the last ordinary one: the clock's faces know 0..59.
    T.Second = Local.tm_sec > 59 ? 59 : Local.tm_sec;
    T.DayOfWeek = Local.tm_wday;
    return T;
}

std::uint64_t GetMonotonicMilliseconds()
{
    timespec Now{};
    clock_gettime(CLOCK_MONOTONIC, &Now);
    return static_cast<std::uint64_t>(Now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(Now.tv_nsec / 1000000);
}

namespace {

// Reads the errno the grandchild reports when exec fails; end of file means exec succeeded.
int ReadExecError(int Fd)
{
    int Error = 0;
    for (;;) {
        const ssize_t Got = read(Fd, &Error, sizeof Error);
        if (Got == static_cast<ssize_t>(sizeof Error))
            return Error;
        if (Got == 0)
            return 0;
        if (Got < 0 && errno == EINTR)
            continue;
        return EIO;
    }
}

} // namespace

bool StartDetached(const std::string& Program, const std::vector<std::string>& Arguments)
{
    std::vector<char*> Argv;
    Argv.push_back(const_cast<char*>(Program.c_str()));
    for (const std::string& A : Arguments)
        Argv.push_back(const_cast<char*>(A.c_str()));
    Argv.push_back(nullptr);

    int Pipe[2];
    if (pipe2(Pipe, O_CLOEXEC) != 0)
        return false;
    // Fork twice: the intermediate child exits at once and the program becomes a child of init,
    // so nobody has to wait for it. Only async-signal-safe calls happen between fork and exec.
    const pid_t Child = fork();
    if (Child < 0) {
        close(Pipe[0]);
        close(Pipe[1]);
        return false;
    }
    if (Child == 0) {
        close(Pipe[0]);
        setsid();
        const pid_t Grandchild = fork();
        if (Grandchild == 0) {
            execvp(Argv[0], Argv.data());
            const int Error = errno;
            (void)!write(Pipe[1], &Error, sizeof Error);
            _exit(127);
        }
        if (Grandchild < 0) {
            const int Error = errno;
            (void)!write(Pipe[1], &Error, sizeof Error);
        }
        _exit(0);
    }
    close(Pipe[1]);
    int Status = 0;
    while (waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
    }
    const int Error = ReadExecError(Pipe[0]);
    close(Pipe[0]);
    return Error == 0;
}
