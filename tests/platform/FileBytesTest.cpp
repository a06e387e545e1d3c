// Whole files of bytes as every port reads and writes them: round trips through the huge-page
// path too, names in any script, the outcomes of every failure, and a file the user may not write.
#include "platform/Platform.h"
#include "tests/support/ScratchFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

// The outcome; a reason comes with every failure and with nothing else.
TFileWriteOutcome Write(const std::string& Path, const TBytes& B)
{
    const TFileWriteResult R = TPlatform::Get().WriteFileBytes(Path, B.data(), B.size());
    EXPECT_EQ(R.Reason.empty(), R.Outcome == TFileWriteOutcome::Written)
        << Path << ": " << R.Reason;
    return R.Outcome;
}

TEST(FileBytesTest, WhatIsWrittenReadsBackWhole)
{
    TScratchFolder Folder;
    // Empty, one page, and past the size that takes huge pages.
    for (const std::size_t Size :
         {std::size_t(0), std::size_t(1), std::size_t(4097), std::size_t(5) << 20}) {
        const std::string Path = Folder / "Zeit \xC3\xBC \xE6\x99\x82.bin";
        const TBytes B = RandomBytes(Size, unsigned(Size));
        ASSERT_EQ(Write(Path, B), TFileWriteOutcome::Written) << Size;
        EXPECT_EQ(FileContents(Path), B) << Size;
        const TFileReadResult R = TPlatform::Get().ReadFileBytes(Path, UINT64_MAX);
        ASSERT_EQ(R.Outcome, TFileReadOutcome::Read) << Size;
        ASSERT_TRUE(R.Bytes) << Size;
        EXPECT_EQ(R.BytesRead, Size);
        EXPECT_TRUE(std::equal(B.begin(), B.end(), R.Bytes.GetData())) << Size;
    }
    EXPECT_EQ(Folder.Names().size(), 1u);
}

TEST(FileBytesTest, ReadingSaysWhyNothingWasRead)
{
    TScratchFolder Folder;
    const std::string Path = Folder.Make("file", RandomBytes(100, 1));
    const struct
    {
        std::string Path;
        std::uint64_t MaxSize;
        TFileReadOutcome Outcome;
    } Cases[] = {{Folder / "missing", UINT64_MAX, TFileReadOutcome::CannotOpen},
                 {Folder.GetPath(), UINT64_MAX, TFileReadOutcome::CannotOpen},
                 {Path, 99, TFileReadOutcome::TooLarge},
                 {Path, 100, TFileReadOutcome::Read}};
    for (const auto& C : Cases) {
        const TFileReadResult R = TPlatform::Get().ReadFileBytes(C.Path, C.MaxSize);
        EXPECT_EQ(R.Outcome, C.Outcome) << C.Path << " " << C.MaxSize;
        EXPECT_EQ(bool(R.Bytes), C.Outcome == TFileReadOutcome::Read) << C.Path;
        // The system says why it could not open; a limit or a success needs no words.
        EXPECT_EQ(R.Reason.empty(), C.Outcome != TFileReadOutcome::CannotOpen) << R.Reason;
    }
}

TEST(FileBytesTest, AWriteWithNowhereToGoLeavesTheOldFileWhole)
{
    TScratchFolder Folder;
    const TBytes Old = RandomBytes(10000, 4);
    const std::string Path = Folder.Make("keep", Old);
    EXPECT_EQ(Write(Path + "/child", Old), TFileWriteOutcome::CannotOpen);
    EXPECT_EQ(Write(Folder / "no/such/folder/file", Old), TFileWriteOutcome::CannotOpen);
    EXPECT_EQ(Write(Folder.GetPath(), Old), TFileWriteOutcome::CannotOpen);
    EXPECT_EQ(FileContents(Path), Old);
    EXPECT_EQ(Folder.Names(), std::vector<std::string>{"keep"});
}

TEST(FileBytesTest, AFileTheUserMayNotWriteIsRefusedAndKept)
{
    TScratchFolder Folder;
    const TBytes Old = RandomBytes(300, 8), New = RandomBytes(200, 9);
    const std::string Path = Folder.Make("read-only", Old);
    namespace fs = std::filesystem;
    fs::permissions(Utf8Path(Path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    // Refused even to an administrator, who could write it.
    EXPECT_EQ(Write(Path, New), TFileWriteOutcome::CannotOpen);
    EXPECT_EQ(FileContents(Path), Old);
    EXPECT_EQ(Folder.Names(), std::vector<std::string>{"read-only"});
}

} // namespace
