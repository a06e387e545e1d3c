// What only X11 shows of the hex editor program: Save As through the framework's own dialog into
// a folder nobody may create files in keeps the file and the changes.
#include "tests/e2e/ClockDriver.h"
#include "tests/e2e/HexEditDriver.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(X11HexEditProgram, SaveAsIntoAFolderNobodyMayWriteKeepsEverything)
{
    TScratchFolder Folder;
    const TBytes Bytes = RandomBytes(300, 7);
    const std::string Path = Folder.Make("data.bin", Bytes);
    const auto Driver = MakeHexEditDriver();
    THexEditDriver& D = *Driver;
    D.Start(Path);
    ASSERT_TRUE(D.Focus("data.bin - Hex Editor"));
    D.Type("00");
    ASSERT_TRUE(D.Focus("*data.bin - Hex Editor"));
    D.Alt('F');
    D.Type("a");
    ASSERT_TRUE(D.Focus("Save As"));
    D.Control('A');
    // /sys refuses even the administrator, whom permission bits would not stop.
    D.Type("/sys/data.bin");
    D.Press(TProgramKey::Enter);
    ASSERT_TRUE(Eventually([&] { return !D.HasWindow("Save As"); }));
    ASSERT_TRUE(D.Focus("Hex Editor")); // the error
    D.Press(TProgramKey::Enter);
    EXPECT_TRUE(Eventually([&] { return !D.HasWindow("Hex Editor"); }));
    EXPECT_TRUE(D.Running());
    EXPECT_TRUE(D.HasWindow("*data.bin - Hex Editor"));
    EXPECT_EQ(FileContents(Path), Bytes);
}

} // namespace
