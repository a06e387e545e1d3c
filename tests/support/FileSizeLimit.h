#pragma once

// A disk that fills up, as far as this process can tell: while one of these lives, writes past
// the given size fail with EFBIG instead of raising SIGXFSZ. POSIX only.

#include <csignal>
#include <sys/resource.h>

class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t Bytes) : FOldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &FSaved);
        rlimit Small = FSaved;
        Small.rlim_cur = Bytes;
        FApplied = setrlimit(RLIMIT_FSIZE, &Small) == 0;
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FSaved);
        std::signal(SIGXFSZ, FOldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

    bool IsApplied() const { return FApplied; }

private:
    void (*FOldHandler)(int);
    rlimit FSaved{};
    bool FApplied = false;
};
