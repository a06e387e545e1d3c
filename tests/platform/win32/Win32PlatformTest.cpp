// The Windows port's process services, login items and shell, run under Wine.
#include "platform/win32/Win32Platform.h"

#include "tests/platform/PortSupport.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <windows.h>

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

constexpr const wchar_t* RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A value of the Run key as the system reads it at login.
struct TRunValue
{
    DWORD Type = REG_NONE;
    DWORD Size = 0;
    std::wstring Data; // every character stored, the terminating NUL included
};

std::optional<TRunValue> ReadRunValue(const std::wstring& Name)
{
    HKEY Run = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_QUERY_VALUE, &Run) != ERROR_SUCCESS)
        return std::nullopt;
    TRunValue Value;
    std::vector<wchar_t> Buffer(1024);
    Value.Size = static_cast<DWORD>(Buffer.size() * sizeof(wchar_t));
    const LONG Result = RegQueryValueExW(Run, Name.c_str(), nullptr, &Value.Type,
                                         reinterpret_cast<BYTE*>(Buffer.data()), &Value.Size);
    RegCloseKey(Run);
    if (Result != ERROR_SUCCESS)
        return std::nullopt;
    Value.Data.assign(Buffer.data(), Value.Size / sizeof(wchar_t));
    return Value;
}

class Win32LoginItemTest : public testing::Test
{
protected:
    const std::string Name = "NixieTest Login \xC3\xBC";
    const std::wstring WideName = L"NixieTest Login \u00FC";
    void SetUp() override
    {
        // Every Windows profile has the Run key; a new Wine prefix may lack it.
        HKEY Run = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &Run, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(Run);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKeyPath, WideName.c_str());
    }
    void TearDown() override
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKeyPath, WideName.c_str());
    }
};

struct TRunCase
{
    TLoginCommand Command;
    std::wstring Text; // as stored
    std::string Utf8;  // as GetLoginItem gives it
};

TEST_F(Win32LoginItemTest, AreTheQuotedProgramAndItsArgumentsInTheRunKey)
{
    const TRunCase Cases[] = {
        {{"C:\\Program Files\\Nixie \xE6\x99\x82\\Nixie.exe", {"-autominimize"}},
         L"\"C:\\Program Files\\Nixie \u6642\\Nixie.exe\" -autominimize",
         "\"C:\\Program Files\\Nixie \xE6\x99\x82\\Nixie.exe\" -autominimize"},
        {{"C:\\Nixie.exe", {}}, L"\"C:\\Nixie.exe\"", "\"C:\\Nixie.exe\""},
    };
    for (const TRunCase& Case : Cases) {
        SCOPED_TRACE(Case.Command.Program);
        ASSERT_EQ(Port().SetLoginItem(Name, Case.Command), ERROR_SUCCESS);
        const std::optional<TRunValue> Value = ReadRunValue(WideName);
        ASSERT_TRUE(Value);
        EXPECT_EQ(Value->Type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(Value->Size, (Case.Text.size() + 1) * sizeof(wchar_t));
        EXPECT_EQ(Value->Data, Case.Text + L'\0');
        EXPECT_EQ(Port().GetLoginItem(Name), Case.Utf8);
    }
}

TEST_F(Win32LoginItemTest, AnEmptyProgramWritesNothing)
{
    ASSERT_EQ(Port().SetLoginItem(Name, {"C:\\Nixie.exe", {"-autominimize"}}), ERROR_SUCCESS);
    EXPECT_EQ(Port().SetLoginItem(Name, {"", {"-x"}}), ERROR_SUCCESS);
    const std::optional<TRunValue> Value = ReadRunValue(WideName);
    ASSERT_TRUE(Value);
    EXPECT_EQ(Value->Data, std::wstring(L"\"C:\\Nixie.exe\" -autominimize") + L'\0');
}

TEST_F(Win32LoginItemTest, RemovalDeletesTheValue)
{
    ASSERT_EQ(Port().SetLoginItem(Name, {"C:\\Nixie.exe", {}}), ERROR_SUCCESS);
    ASSERT_TRUE(ReadRunValue(WideName));
    EXPECT_EQ(Port().RemoveLoginItem(Name), ERROR_SUCCESS);
    EXPECT_FALSE(ReadRunValue(WideName));
    EXPECT_EQ(Port().GetLoginItem(Name), std::nullopt);
    EXPECT_EQ(Port().RemoveLoginItem(Name), ERROR_SUCCESS) << "already gone is no error";
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
