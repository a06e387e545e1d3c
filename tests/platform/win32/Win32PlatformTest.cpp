// The Windows port's process services, login items and shell, run under Wine.
#include "platform/win32/Win32Platform.h"

#include "tests/platform/PortSupport.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

TWin32Platform& Port()
{
    return static_cast<TWin32Platform&>(TPlatform::Get());
}

std::filesystem::path FromUtf8(const std::string& Utf8)
{
    return std::filesystem::path(std::u8string(Utf8.begin(), Utf8.end()));
}

TEST(Win32Process, KnowsItsExecutableAndFolder)
{
    const std::string Exe = Port().GetExecutablePath();
    ASSERT_GT(Exe.size(), 4u);
    EXPECT_EQ(Exe.substr(Exe.size() - 4), ".exe");
    EXPECT_NE(Exe.find('\\'), std::string::npos);
    EXPECT_TRUE(Port().FileExists(Exe));

    const std::string Folder = Port().GetCurrentFolder();
    ASSERT_FALSE(Folder.empty());
    EXPECT_FALSE(Port().FileExists(Folder)) << "a folder is not a file";
    EXPECT_EQ(FromUtf8(Folder), std::filesystem::current_path());
}

TEST(Win32Process, FileExistsWorksForAnyName)
{
    for (const std::string Name : {"plain.htm", "divaduva.html", "Zeit \xC3\xBC\xE6\x99\x82.htm"}) {
        SCOPED_TRACE(Name);
        const std::string Path = GetScratchFolder() + "\\" + Name;
        RemoveScratchFile(Path);
        EXPECT_FALSE(Port().FileExists(Path));
        std::ofstream(FromUtf8(Path)) << "x";
        EXPECT_TRUE(Port().FileExists(Path));
        EXPECT_TRUE(Port().FileExists(GetScratchFolder() + "/" + Name)) << "either separator";
        RemoveScratchFile(Path);
        EXPECT_FALSE(Port().FileExists(Path));
    }
    EXPECT_FALSE(Port().FileExists(""));
    EXPECT_FALSE(Port().FileExists(GetScratchFolder()));
}

TEST(Win32Process, LocalTimeIsTheCLibrarysLocalTime)
{
    // Read the C library's local time around the port's, so that a second that turns in between
    // is noticed and read again.
    for (int Attempt = 0; Attempt < 5; ++Attempt) {
        const std::time_t Before = std::time(nullptr);
        const TLocalTime T = Port().GetLocalTime();
        const std::time_t After = std::time(nullptr);
        if (Before != After)
            continue;
        std::tm Tm{};
        localtime_s(&Tm, &Before);
        EXPECT_EQ(T, (TLocalTime{Tm.tm_year + 1900, Tm.tm_mon + 1, Tm.tm_mday, Tm.tm_hour,
                                 Tm.tm_min, Tm.tm_sec, Tm.tm_wday}));
        return;
    }
    FAIL() << "the second kept turning";
}

TEST(Win32Process, TicksNeverGoBack)
{
    std::uint64_t Previous = Port().GetTickCount();
    for (int I = 0; I < 20; ++I) {
        Port().Sleep(1);
        const std::uint64_t Now = Port().GetTickCount();
        EXPECT_GE(Now, Previous);
        Previous = Now;
    }
}

TEST(Win32Screen, ReportsAPlausibleDesktop)
{
    const TPoint Size = Port().GetScreenSize();
    EXPECT_GT(Size.X, 0);
    EXPECT_GT(Size.Y, 0);
    const int Bits = Port().GetScreenBitsPerPixel();
    EXPECT_TRUE(Bits == 8 || Bits == 16 || Bits == 24 || Bits == 32) << Bits;
    const TPoint Cursor = Port().GetCursorPos();
    EXPECT_GE(Cursor.X, 0);
    EXPECT_GE(Cursor.Y, 0);
    EXPECT_LE(Cursor.X, Size.X);
    EXPECT_LE(Cursor.Y, Size.Y);
}

class Win32LoginItemTest : public testing::Test
{
protected:
    const std::string Name = "NixieTest Login \xC3\xBC";
    void SetUp() override { Port().RemoveLoginItem(Name); }
    void TearDown() override { Port().RemoveLoginItem(Name); }
};

TEST_F(Win32LoginItemTest, RoundTripsThroughTheRunKey)
{
    const std::string Command =
        "\"C:\\Program Files\\Nixie \xE6\x99\x82\\Nixie.exe\" -autominimize";
    EXPECT_EQ(Port().GetLoginItem(Name), std::nullopt);
    ASSERT_TRUE(Port().SetLoginItem(Name, Command));
    EXPECT_EQ(Port().GetLoginItem(Name), Command);

    // The value the system reads at login: REG_SZ with its terminating NUL.
    TRegistryKey Run = 0;
    ASSERT_EQ(Port().OpenRegistryKey(TRegistryRoot::CurrentUser,
                                     "Software\\Microsoft\\Windows\\CurrentVersion\\Run", Run),
              ERROR_SUCCESS);
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    EXPECT_EQ(Port().QueryRegistryValue(Run, Name, Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Type, REG_SZ);
    ASSERT_EQ(Data.size(), Command.size() + 1);
    EXPECT_EQ(Data.back(), 0);
    EXPECT_EQ(std::string(Data.begin(), Data.end() - 1), Command);
    Port().CloseRegistryKey(Run);

    EXPECT_TRUE(Port().RemoveLoginItem(Name));
    EXPECT_EQ(Port().GetLoginItem(Name), std::nullopt);
    EXPECT_TRUE(Port().RemoveLoginItem(Name)) << "already gone is no failure";
}

TEST(Win32Shell, OpeningAMissingFileFails)
{
    EXPECT_FALSE(Port().ShellOpen(GetScratchFolder() + "\\no such manual.html"));
}

TEST(Win32Registry, TreeDeletionRefusesTheWholeHive)
{
    EXPECT_NE(Port().DeleteRegistryTree(""), ERROR_SUCCESS);
    EXPECT_EQ(Port().DeleteRegistryTree("Software\\NixieTest\\Never Created"),
              ERROR_FILE_NOT_FOUND);
}

} // namespace
