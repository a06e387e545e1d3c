// What only a POSIX file system shows of a replaced file: its permissions and links kept, and the
// old file whole when the disk fills or the writer is killed midway.
#include "platform/Platform.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScratchFolder.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TFileWriteOutcome Write(const std::string& Path, const TBytes& B)
{
    return TPlatform::Get().WriteFileBytes(Path, B.data(), B.size()).Outcome;
}

TEST(PosixFileBytesTest, AReplacedFileKeepsItsPermissionsAndALinkStaysALink)
{
    TScratchFolder Folder;
    const std::string Real = Folder.Make("real", RandomBytes(10, 2)), Link = Folder / "link";
    ASSERT_EQ(chmod(Real.c_str(), 0640), 0);
    ASSERT_EQ(symlink(Real.c_str(), Link.c_str()), 0);
    const TBytes New = RandomBytes(20, 3);
    ASSERT_EQ(Write(Link, New), TFileWriteOutcome::Written);
    struct stat Info
    {};
    ASSERT_EQ(lstat(Link.c_str(), &Info), 0);
    EXPECT_TRUE(S_ISLNK(Info.st_mode));
    ASSERT_EQ(stat(Real.c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 07777, 0640u);
    EXPECT_EQ(FileContents(Real), New);
}

TEST(PosixFileBytesTest, ANewFileGetsTheUsualPermissions)
{
    TScratchFolder Folder;
    const mode_t Mask = umask(027);
    const TFileWriteOutcome Outcome = Write(Folder / "new", RandomBytes(5, 1));
    umask(Mask);
    ASSERT_EQ(Outcome, TFileWriteOutcome::Written);
    struct stat Info
    {};
    ASSERT_EQ(stat((Folder / "new").c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 07777, 0640u);
}

TEST(PosixFileBytesTest, AFullDiskLeavesTheOldFileWhole)
{
    TScratchFolder Folder;
    const TBytes Old = RandomBytes(10000, 4);
    const std::string Path = Folder.Make("keep", Old);
    TFileWriteResult Full;
    {
        const TFileSizeLimit Disk(65536);
        ASSERT_TRUE(Disk.IsApplied());
        const TBytes New = RandomBytes(1 << 20, 5);
        Full = TPlatform::Get().WriteFileBytes(Path, New.data(), New.size());
    }
    EXPECT_EQ(Full.Outcome, TFileWriteOutcome::Short);
    EXPECT_EQ(Full.Reason, std::strerror(EFBIG)); // the first failure, not the clean-up's
    EXPECT_EQ(FileContents(Path), Old);
    EXPECT_EQ(Folder.Names(), std::vector<std::string>{"keep"});
}

TEST(PosixFileBytesTest, AWriterKilledMidwayLeavesTheOldOrTheNewFile)
{
    TScratchFolder Folder;
    const TBytes Old = RandomBytes(1000, 6), New = RandomBytes(std::size_t(48) << 20, 7);
    const std::string Path = Folder.Make("killed", Old);
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
        const TBytes Now = FileContents(Path);
        EXPECT_TRUE(Now == Old || Now == New) << "after " << DelayUs << " us: " << Now.size();
    }
}

} // namespace
