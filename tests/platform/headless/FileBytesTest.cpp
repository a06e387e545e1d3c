// Whole files of bytes on the machine's own file system, as the headless and X11 ports read and
// write them: round trips through the huge-page path too, the outcomes of every failure, and a
// replaced file that stays whole when the disk fills or the writer is killed.
#include "platform/Platform.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

class FileBytesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char Template[] = "/tmp/nixie-filebytes-XXXXXX";
        ASSERT_NE(mkdtemp(Template), nullptr);
        Folder = Template;
    }
    void TearDown() override { std::system(("rm -rf '" + Folder + "'").c_str()); }

    static TBytes Random(std::size_t Size, unsigned Seed)
    {
        std::mt19937 Rng(Seed);
        TBytes B(Size);
        for (auto& Byte : B)
            Byte = static_cast<std::uint8_t>(Rng());
        return B;
    }
    static TBytes Contents(const std::string& Path)
    {
        std::ifstream In(Path, std::ios::binary);
        return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    }
    static TFileWriteOutcome Write(const std::string& Path, const TBytes& B)
    {
        return TPlatform::Get().WriteFileBytes(Path, B.data(), B.size());
    }
    // The names in the folder, to see that no temporary file is left behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> List;
        FILE* Ls = popen(("ls -A '" + Folder + "'").c_str(), "r");
        char Line[512];
        while (Ls && fgets(Line, sizeof Line, Ls))
            List.emplace_back(Line, strcspn(Line, "\n"));
        if (Ls)
            pclose(Ls);
        return List;
    }

    std::string Folder;
};

TEST_F(FileBytesTest, WhatIsWrittenReadsBackWhole)
{
    // Empty, one page, and past the size that takes huge pages.
    for (const std::size_t Size :
         {std::size_t(0), std::size_t(1), std::size_t(4097), std::size_t(5) << 20}) {
        const std::string Path = Folder + "/Zeit \xC3\xBC \xE6\x99\x82.bin";
        const TBytes B = Random(Size, unsigned(Size));
        ASSERT_EQ(Write(Path, B), TFileWriteOutcome::Written) << Size;
        const TFileReadResult R = TPlatform::Get().ReadFileBytes(Path, UINT64_MAX);
        ASSERT_EQ(R.Outcome, TFileReadOutcome::Read) << Size;
        ASSERT_TRUE(R.Bytes) << Size;
        EXPECT_EQ(R.BytesRead, Size);
        EXPECT_TRUE(std::equal(B.begin(), B.end(), R.Bytes.GetData())) << Size;
    }
    EXPECT_EQ(Names().size(), 1u);
}

TEST_F(FileBytesTest, ReadingSaysWhyNothingWasRead)
{
    const std::string Path = Folder + "/file";
    ASSERT_EQ(Write(Path, Random(100, 1)), TFileWriteOutcome::Written);
    const struct
    {
        std::string Path;
        std::uint64_t MaxSize;
        TFileReadOutcome Outcome;
    } Cases[] = {{Folder + "/missing", UINT64_MAX, TFileReadOutcome::CannotOpen},
                 {Folder, UINT64_MAX, TFileReadOutcome::CannotOpen},
                 {Path, 99, TFileReadOutcome::TooLarge},
                 {Path, 100, TFileReadOutcome::Read}};
    for (const auto& C : Cases) {
        const TFileReadResult R = TPlatform::Get().ReadFileBytes(C.Path, C.MaxSize);
        EXPECT_EQ(R.Outcome, C.Outcome) << C.Path << " " << C.MaxSize;
        EXPECT_EQ(bool(R.Bytes), C.Outcome == TFileReadOutcome::Read) << C.Path;
    }
}

TEST_F(FileBytesTest, AReplacedFileKeepsItsPermissionsAndALinkStaysALink)
{
    const std::string Real = Folder + "/real", Link = Folder + "/link";
    ASSERT_EQ(Write(Real, Random(10, 2)), TFileWriteOutcome::Written);
    ASSERT_EQ(chmod(Real.c_str(), 0640), 0);
    ASSERT_EQ(symlink(Real.c_str(), Link.c_str()), 0);
    const TBytes New = Random(20, 3);
    ASSERT_EQ(Write(Link, New), TFileWriteOutcome::Written);
    struct stat Info
    {};
    ASSERT_EQ(lstat(Link.c_str(), &Info), 0);
    EXPECT_TRUE(S_ISLNK(Info.st_mode));
    ASSERT_EQ(stat(Real.c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 07777, 0640u);
    EXPECT_EQ(Contents(Real), New);
}

TEST_F(FileBytesTest, AFailedWriteLeavesTheOldFileWhole)
{
    const std::string Path = Folder + "/keep";
    const TBytes Old = Random(10000, 4);
    ASSERT_EQ(Write(Path, Old), TFileWriteOutcome::Written);
    // Nowhere to make the new file.
    EXPECT_EQ(Write(Path + "/child", Old), TFileWriteOutcome::CannotOpen);
    EXPECT_EQ(Write(Folder + "/no/such/folder/file", Old), TFileWriteOutcome::CannotOpen);
    // A full disk, as a file size limit makes one: writes past it fail with EFBIG.
    rlimit Saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &Saved), 0);
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Small = Saved;
    Small.rlim_cur = 65536;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &Small), 0);
    const TFileWriteOutcome Full = Write(Path, Random(1 << 20, 5));
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);
    EXPECT_EQ(Full, TFileWriteOutcome::Short);
    EXPECT_EQ(Contents(Path), Old);
    EXPECT_EQ(Names(), std::vector<std::string>{"keep"});
}

TEST_F(FileBytesTest, AWriterKilledMidwayLeavesTheOldOrTheNewFile)
{
    const std::string Path = Folder + "/killed";
    const TBytes Old = Random(1000, 6), New = Random(std::size_t(48) << 20, 7);
    ASSERT_EQ(Write(Path, Old), TFileWriteOutcome::Written);
    for (const int DelayUs : {0, 2000, 20000}) {
        const pid_t Child = fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            Write(Path, New);
            _exit(0);
        }
        usleep(useconds_t(DelayUs));
        kill(Child, SIGKILL);
        int Status = 0;
        waitpid(Child, &Status, 0);
        const TBytes Now = Contents(Path);
        EXPECT_TRUE(Now == Old || Now == New) << "after " << DelayUs << " us: " << Now.size();
    }
}

} // namespace
