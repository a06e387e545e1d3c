// The hex editor program driven by hardware keys on every desktop port: edits in both columns,
// undo and redo, find and find next, save; closing with changes asks and Cancel keeps the window;
// a save the system refuses says so and keeps the file and the changes.
#include "tests/e2e/ClockDriver.h"
#include "tests/e2e/HexEditDriver.h"
#include "tests/support/ScratchFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class HexEditProgram : public testing::Test
{
protected:
    // Waits for the file to hold Bytes; the offsets that differ, as found, when it does not.
    static std::string FileDiffers(const std::string& Path, const TBytes& Bytes)
    {
        if (Eventually([&] { return FileContents(Path) == Bytes; }))
            return "";
        const TBytes Now = FileContents(Path);
        std::string Diff = "size " + std::to_string(Now.size());
        for (std::size_t I = 0; I < std::min(Now.size(), Bytes.size()); ++I)
            if (Now[I] != Bytes[I])
                Diff += ", at " + std::to_string(I) + ": " + std::to_string(int(Now[I]));
        return Diff;
    }

    TScratchFolder Folder;
    std::unique_ptr<THexEditDriver> Driver = MakeHexEditDriver();
};

TEST_F(HexEditProgram, EditsUndoRedoFindAndSaveAsTyped)
{
    THexEditDriver& D = *Driver;
    TBytes Bytes(64, ' ');
    for (const int At : {10, 30, 50})
        Bytes[At] = 'k', Bytes[At + 1] = 'o';
    const std::string Path = Folder.Make("data.bin", Bytes);
    D.Start(Path);
    ASSERT_TRUE(D.Focus("data.bin - Hex Editor"));
    D.Type("41"); // the first byte, in the hex column
    ASSERT_TRUE(D.Focus("*data.bin - Hex Editor"));
    D.Press(TProgramKey::Tab); // to the character column, on the second byte
    D.Type("Z");
    D.Control('Z'); // undo the Z
    D.Control('Z'); // and the 41
    D.Control('Y'); // redo the 41
    D.Control('F');
    ASSERT_TRUE(D.Focus("Find"));
    D.Type("KO");
    D.Press(TProgramKey::Enter);
    // Keys typed before the dialog is gone would reach it, or the still disabled main window.
    ASSERT_TRUE(Eventually([&] { return !D.HasWindow("Find"); }));
    ASSERT_TRUE(D.Focus("*data.bin - Hex Editor"));
    D.Type("X"); // at the first hit
    D.Press(TProgramKey::F3);
    D.Type("Y"); // at the second
    D.Control('S');
    TBytes Expected = Bytes;
    Expected[0] = 0x41;
    Expected[10] = 'X';
    Expected[30] = 'Y';
    EXPECT_EQ(FileDiffers(Path, Expected), "");
    EXPECT_TRUE(Eventually([&] { return D.HasWindow("data.bin - Hex Editor"); }));
}

TEST_F(HexEditProgram, ClosingWithChangesAsksAndASaveRefusedKeepsEverything)
{
    THexEditDriver& D = *Driver;
    const TBytes Bytes = RandomBytes(300, 7);
    const std::string Path = Folder.Make("data.bin", Bytes);
    D.Start(Path);
    ASSERT_TRUE(D.Focus("data.bin - Hex Editor"));
    D.Type("00");
    ASSERT_TRUE(D.Focus("*data.bin - Hex Editor"));
    D.CloseWindow("*data.bin - Hex Editor");
    ASSERT_TRUE(D.Focus("Hex Editor")); // the question
    D.Press(TProgramKey::Escape);
    EXPECT_TRUE(Eventually([&] { return !D.HasWindow("Hex Editor"); }));
    EXPECT_TRUE(D.Running());
    // The file became read-only meanwhile: the save is refused.
    namespace fs = std::filesystem;
    fs::permissions(Utf8Path(Path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ASSERT_TRUE(D.Focus("*data.bin - Hex Editor"));
    D.Control('S');
    ASSERT_TRUE(D.Focus("Hex Editor")); // the error
    D.Press(TProgramKey::Enter);
    EXPECT_TRUE(Eventually([&] { return !D.HasWindow("Hex Editor"); }));
    EXPECT_TRUE(D.Running());
    EXPECT_TRUE(D.HasWindow("*data.bin - Hex Editor"));
    EXPECT_EQ(FileContents(Path), Bytes);
}

} // namespace
