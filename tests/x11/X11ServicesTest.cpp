// The X11 port's services beside the windows: profile files on disk, autostart entries, the
// shell, files, the clocks.
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixProcess.h"
#include "platform/x11/X11Platform.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TX11Platform& Port()
{
    return static_cast<TX11Platform&>(TPlatform::Get());
}

std::string FileText(const fs::path& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// A folder of the test's own below the tests' configuration folder.
fs::path TestFolder(const std::string& Name)
{
    const fs::path Folder = fs::path(GetConfigHome()) / Name;
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    return Folder;
}

TEST(X11Profiles, TheFileOnDiskIsAnIniFile)
{
    const fs::path Folder = TestFolder("profiles-plain");
    const std::string File = (Folder / "nixie.ini").string();
    ASSERT_TRUE(Port().WriteProfileEntry(File, "QXRidivAzoza", "type", "2"));
    ASSERT_TRUE(Port().WriteProfileEntry(File, "QXRidivAzoza", "title", "1"));
    ASSERT_TRUE(Port().WriteProfileEntry(File, "Other", "x", "y"));
    ASSERT_TRUE(Port().WriteProfileEntry(File, "qxridivazoza", "TYPE", "3"));
    EXPECT_EQ(FileText(File), "[QXRidivAzoza]\ntype=3\ntitle=1\n[Other]\nx=y\n");
}

TEST(X11Profiles, WritingKeepsEveryOtherLine)
{
    const fs::path Folder = TestFolder("profiles-kept");
    const fs::path File = Folder / "kept.ini";
    {
        std::ofstream(File, std::ios::binary)
            << "; a comment\r\n[A]\r\nk = old\r\n\r\n[B]\r\nz=1\r\n";
    }
    EXPECT_EQ(Port().ReadProfileEntry(File.string(), "a", "K", "none"), "old");
    ASSERT_TRUE(Port().WriteProfileEntry(File.string(), "A", "k", "new"));
    ASSERT_TRUE(Port().WriteProfileEntry(File.string(), "A", "added", "2"));
    ASSERT_TRUE(Port().WriteProfileEntry(File.string(), "B", "y", "3"));
    EXPECT_EQ(FileText(File),
              "; a comment\r\n[A]\r\nk=new\r\nadded=2\r\n\r\n[B]\r\nz=1\r\ny=3\r\n");
}

TEST(X11Profiles, NamesWithoutAFolderLiveInTheConfigurationFolder)
{
    ASSERT_TRUE(Port().WriteProfileEntry("bare-name.ini", "S", "K", "V"));
    const std::string Expected = GetConfigHome() + "/nixie/bare-name.ini";
    EXPECT_EQ(Port().ResolveProfilePath("bare-name.ini"), Expected);
    EXPECT_EQ(FileText(Expected), "[S]\nK=V\n");
    EXPECT_EQ(Port().ReadProfileEntry("bare-name.ini", "S", "K", ""), "V");
    fs::remove(Expected);
}

TEST(X11Profiles, BackslashesSeparateFolders)
{
    const fs::path Folder = TestFolder("profiles-backslash");
    ASSERT_TRUE(Port().WriteProfileEntry(Folder.string() + "\\win.ini", "S", "K", "V"));
    EXPECT_EQ(FileText(Folder / "win.ini"), "[S]\nK=V\n");
}

TEST(X11Profiles, LineBreaksCannotPlantEntries)
{
    const fs::path Folder = TestFolder("profiles-breaks");
    const std::string File = (Folder / "x.ini").string();
    ASSERT_TRUE(Port().WriteProfileEntry(File, "S", "K", "V"));
    EXPECT_FALSE(Port().WriteProfileEntry(File, "S", "K", "1\n[Evil]\nK=2"));
    EXPECT_FALSE(Port().WriteProfileEntry(File, "S\r\n[Evil]", "K", "2"));
    EXPECT_FALSE(Port().WriteProfileEntry(File, "S", "K\nX", "2"));
    EXPECT_EQ(FileText(File), "[S]\nK=V\n");
}

TEST(X11Profiles, AMissingFolderIsNotCreatedForAFullPath)
{
    const fs::path Folder = TestFolder("profiles-missing");
    EXPECT_FALSE(Port().WriteProfileEntry((Folder / "no" / "x.ini").string(), "S", "K", "V"));
    EXPECT_FALSE(fs::exists(Folder / "no"));
}

// The Exec value of a desktop entry's text, read here apart from the port: the string escapes
// undone, then the doubled '%'.
std::string ExecLine(const std::string& Entry)
{
    const std::size_t Start = Entry.find("\nExec=");
    if (Start == std::string::npos)
        return {};
    const std::string Value = Entry.substr(Start + 6, Entry.find('\n', Start + 1) - Start - 6);
    std::string Line;
    for (std::size_t I = 0; I < Value.size(); ++I) {
        if (Value[I] != '\\' || I + 1 == Value.size()) {
            Line += Value[I];
            continue;
        }
        const char E = Value[++I];
        Line += E == 's' ? ' ' : E == 'n' ? '\n' : E == 't' ? '\t' : E == 'r' ? '\r' : E;
    }
    std::string Out;
    for (std::size_t I = 0; I < Line.size(); ++I) {
        Out += Line[I];
        if (Line.compare(I, 2, "%%") == 0)
            ++I;
    }
    return Out;
}

// The words the POSIX shell makes of a command line. Within double quotes it takes '"', '`', '$'
// and a backslash after a backslash as themselves, as the desktop does, and outside them it splits
// at blanks: it reads an Exec line as a desktop would.
std::vector<std::string> ShellWords(const std::string& Line)
{
    FILE* Pipe = popen(("printf '%s\\0' " + Line).c_str(), "r");
    if (!Pipe)
        return {};
    std::string Output;
    char Buffer[4096];
    while (const std::size_t Got = std::fread(Buffer, 1, sizeof Buffer, Pipe))
        Output.append(Buffer, Got);
    if (pclose(Pipe) != 0)
        return {};
    std::vector<std::string> Words;
    for (std::size_t Start = 0; Start < Output.size();) {
        const std::size_t End = Output.find('\0', Start);
        Words.push_back(Output.substr(Start, End - Start));
        Start = End + 1;
    }
    return Words;
}

struct TCommandCase
{
    const char* Label;
    TLoginCommand Command;
};

class X11LoginItemTest : public testing::TestWithParam<TCommandCase>
{};

TEST_P(X11LoginItemTest, ExecRunsTheProgramWithItsArguments)
{
    const TLoginCommand& Command = GetParam().Command;
    ASSERT_EQ(Port().SetLoginItem("NixieTest", Command), ERROR_SUCCESS);
    const std::string Line = ExecLine(FileText(GetConfigHome() + "/autostart/NixieTest.desktop"));
    std::vector<std::string> Words{Command.Program};
    Words.insert(Words.end(), Command.Arguments.begin(), Command.Arguments.end());
    EXPECT_EQ(ShellWords(Line), Words) << Line;
    EXPECT_EQ(Port().GetLoginItem("NixieTest"), Line);
    ASSERT_EQ(Port().RemoveLoginItem("NixieTest"), ERROR_SUCCESS);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, X11LoginItemTest,
    testing::Values(
        TCommandCase{"Plain", {"/usr/bin/nixie", {"-autominimize"}}},
        TCommandCase{"Blanks", {"/opt/Nixie Clock/nixie", {"two words", "\ttab", ""}}},
        TCommandCase{"DoubleQuotes", {"/opt/say \"hi\"/nixie", {"\"", "a\"b"}}},
        TCommandCase{"Dollar", {"/opt/$HOME/nixie", {"$HOME", "${HOME}", "$(id)"}}},
        TCommandCase{"Backslashes",
                     {"/opt/back\\slash\\/nixie", {"C:\\Program Files\\Nixie.exe", "\\\\", "x\\"}}},
        TCommandCase{"Percent", {"/opt/100%/nixie", {"%f", "%%", "%u%", "100%"}}},
        TCommandCase{"Backquote", {"/opt/`id`/nixie", {"`id`", "a`b"}}},
        TCommandCase{"LineBreak", {"/opt/line\nbreak/nixie", {"a\nb", "\\\n", "cr\rx"}}},
        TCommandCase{"ShellCharacters",
                     {"/opt/it's/nixie", {"a;b|c&d", "<in>", "~", "*", "?", "#x", "(x)"}}},
        TCommandCase{"Utf8", {"/home/j\xC3\xBCrgen/nixie", {"\xE6\x99\x82\xE8\xA8\x88"}}},
        TCommandCase{"LeadingBlank", {" /opt/nixie", {" -autominimize"}}}),
    [](const testing::TestParamInfo<TCommandCase>& Info) { return std::string(Info.param.Label); });

TEST(X11LoginItems, AreAutostartEntries)
{
    const std::string Entry = GetConfigHome() + "/autostart/Nixie.desktop";
    ASSERT_EQ(Port().SetLoginItem("Nixie", {"/opt/Nixie Clock/nixie", {"-autominimize"}}),
              ERROR_SUCCESS);
    const std::string Text = FileText(Entry);
    EXPECT_TRUE(Text.starts_with("[Desktop Entry]\n")) << Text;
    EXPECT_NE(Text.find("\nType=Application\n"), std::string::npos) << Text;
    EXPECT_NE(Text.find("\nName=Nixie\n"), std::string::npos) << Text;
    EXPECT_NE(Text.find("\nExec=\"/opt/Nixie Clock/nixie\" -autominimize\n"), std::string::npos)
        << Text;

    // Without a program nothing is written.
    EXPECT_EQ(Port().SetLoginItem("Nixie", {"", {"-x"}}), ERROR_SUCCESS);
    EXPECT_EQ(FileText(Entry), Text);
    EXPECT_EQ(Port().SetLoginItem("NoProgram", {}), ERROR_SUCCESS);
    EXPECT_FALSE(fs::exists(GetConfigHome() + "/autostart/NoProgram.desktop"));

    ASSERT_EQ(Port().RemoveLoginItem("Nixie"), ERROR_SUCCESS);
    EXPECT_FALSE(fs::exists(Entry));
    EXPECT_EQ(Port().GetLoginItem("Nixie"), std::nullopt);
    EXPECT_EQ(Port().RemoveLoginItem("Nixie"), ERROR_SUCCESS) << "gone already: still gone";
}

TEST(X11LoginItems, NamesThatAreNoFileNamesAreRefused)
{
    for (const std::string Name : {"", ".", "..", "../escape", "a/b"}) {
        EXPECT_EQ(Port().SetLoginItem(Name, {"/bin/true", {}}), ERROR_INVALID_NAME) << Name;
        EXPECT_EQ(Port().RemoveLoginItem(Name), ERROR_INVALID_NAME) << Name;
        EXPECT_EQ(Port().GetLoginItem(Name), std::nullopt) << Name;
    }
    EXPECT_FALSE(fs::exists(GetConfigHome() + "/escape.desktop"));
}

TEST(X11LoginItems, AFolderThatCannotBeMadeDeniesAccess)
{
    // The configuration folder is a file: no autostart folder can be made below it.
    const fs::path Blocker = TestFolder("autostart-blocked") / "file";
    std::ofstream(Blocker) << "x";
    const std::string Saved = GetConfigHome();
    setenv("XDG_CONFIG_HOME", Blocker.c_str(), 1);
    const long Set = Port().SetLoginItem("Nixie", {"/usr/bin/nixie", {}});
    const long Removed = Port().RemoveLoginItem("Nixie");
    setenv("XDG_CONFIG_HOME", Saved.c_str(), 1);
    EXPECT_EQ(Set, ERROR_ACCESS_DENIED);
    EXPECT_EQ(Removed, ERROR_SUCCESS) << "there is no entry to remove";
    EXPECT_EQ(FileText(Blocker), "x");
}

// xdg-open replaced by a script that writes down its arguments.
class X11ShellTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Bin = TestFolder("shell-bin");
        Output = Bin / "arguments";
        const fs::path Script = Bin / "xdg-open";
        {
            std::ofstream Out(Script);
            Out << "#!/bin/sh\n"
                   "for a in \"$@\"; do printf '[%s]' \"$a\"; done > '"
                << Output.string() << ".part'\n"
                << "mv '" << Output.string() << ".part' '" << Output.string() << "'\n";
        }
        fs::permissions(Script, fs::perms::owner_all);
        const char* Path = std::getenv("PATH");
        SavedPath = Path ? Path : "";
        setenv("PATH", (Bin.string() + ":" + SavedPath).c_str(), 1);
    }
    void TearDown() override { setenv("PATH", SavedPath.c_str(), 1); }

    // What the script was given; it runs detached, so wait for its file.
    std::string Arguments()
    {
        for (int I = 0; I < 500 && !fs::exists(Output); ++I)
            SleepMilliseconds(10);
        const std::string Text = FileText(Output);
        fs::remove(Output);
        return Text;
    }

    fs::path Bin;
    fs::path Output;
    std::string SavedPath;
};

TEST_F(X11ShellTest, GivesOneArgumentWithoutAShell)
{
    const fs::path Planted = Bin / "planted";
    const std::string Tricky = "/tmp/a b; touch '" + Planted.string() + "' $(echo x)";
    ASSERT_TRUE(Port().ShellOpen(Tricky));
    EXPECT_EQ(Arguments(), "[" + Tricky + "]");
    EXPECT_FALSE(fs::exists(Planted));
}

TEST_F(X11ShellTest, FilesGetSlashesAndAddressesStayAsTheyAre)
{
    ASSERT_TRUE(Port().ShellOpen("C:\\Nixie\\divaduva.htm"));
    EXPECT_EQ(Arguments(), "[C:/Nixie/divaduva.htm]");
    ASSERT_TRUE(Port().ShellOpen("http://example.com/a\\b?x=1"));
    EXPECT_EQ(Arguments(), "[http://example.com/a\\b?x=1]");
    ASSERT_TRUE(Port().ShellOpen("mailto:someone@example.com"));
    EXPECT_EQ(Arguments(), "[mailto:someone@example.com]");
}

TEST_F(X11ShellTest, FailsWithoutXdgOpen)
{
    setenv("PATH", TestFolder("shell-empty").c_str(), 1);
    EXPECT_FALSE(Port().ShellOpen("http://example.com/"));
    EXPECT_FALSE(Port().ShellOpen(""));
}

TEST(X11Process, KnowsItsExecutable)
{
    const std::string Path = Port().GetExecutablePath();
    EXPECT_TRUE(Path.starts_with("/")) << Path;
    EXPECT_TRUE(Path.ends_with("/x11_tests")) << Path;
    EXPECT_TRUE(Port().FileExists(Path));
}

TEST(X11Process, KnowsTheCurrentFolder)
{
    const fs::path Folder = fs::canonical(TestFolder("current \xC3\xBC"));
    const fs::path Before = fs::current_path();
    fs::current_path(Folder);
    const std::string Got = Port().GetCurrentFolder();
    fs::current_path(Before);
    EXPECT_EQ(Got, Folder.string());
}

TEST(X11Process, FileExistsForFilesOnly)
{
    const fs::path Folder = TestFolder("exists");
    {
        std::ofstream(Folder / "manual.htm") << "x";
    }
    EXPECT_TRUE(Port().FileExists((Folder / "manual.htm").string()));
    EXPECT_TRUE(Port().FileExists(Folder.string() + "\\manual.htm"));
    EXPECT_FALSE(Port().FileExists((Folder / "Manual.htm").string())); // Linux names have case
    EXPECT_FALSE(Port().FileExists((Folder / "missing.htm").string()));
    EXPECT_FALSE(Port().FileExists(Folder.string()));
    EXPECT_FALSE(Port().FileExists(""));
}

// Days from 1970-01-01 to a civil date, for an oracle of local time that owes nothing to the C
// library's time zone code.
void CivilFromDays(long long Days, int& Year, int& Month, int& Day)
{
    Days += 719468;
    const long long Era = (Days >= 0 ? Days : Days - 146096) / 146097;
    const long long DayOfEra = Days - Era * 146097;
    const long long YearOfEra =
        (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
    const long long DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
    const long long MonthIndex = (5 * DayOfYear + 2) / 153;
    Day = static_cast<int>(DayOfYear - (153 * MonthIndex + 2) / 5 + 1);
    Month = static_cast<int>(MonthIndex < 10 ? MonthIndex + 3 : MonthIndex - 9);
    Year = static_cast<int>(YearOfEra + Era * 400 + (Month <= 2));
}

TLocalTime Expected(std::time_t Utc, int OffsetSeconds)
{
    const long long Local = static_cast<long long>(Utc) + OffsetSeconds;
    const long long Days = Local >= 0 ? Local / 86400 : (Local - 86399) / 86400;
    const long long Seconds = Local - Days * 86400;
    TLocalTime T;
    CivilFromDays(Days, T.Year, T.Month, T.Day);
    T.Hour = static_cast<int>(Seconds / 3600);
    T.Minute = static_cast<int>(Seconds / 60 % 60);
    T.Second = static_cast<int>(Seconds % 60);
    T.DayOfWeek = static_cast<int>(((Days % 7) + 11) % 7); // 1970-01-01 was a Thursday
    return T;
}

TEST(X11Clock, LocalTimeFollowsTheTimeZone)
{
    const char* Saved = std::getenv("TZ");
    const std::string Restore = Saved ? Saved : "";
    // POSIX zone strings need no zone database: five and a half hours east, then west.
    for (const auto& [Zone, Offset] :
         {std::pair{"IST-5:30", 5 * 3600 + 1800}, std::pair{"XST+9", -9 * 3600}}) {
        setenv("TZ", Zone, 1);
        tzset();
        for (int Attempt = 0; Attempt < 3; ++Attempt) {
            const std::time_t Before = std::time(nullptr);
            const TLocalTime Got = Port().GetLocalTime();
            if (std::time(nullptr) != Before)
                continue; // a second passed in between: ask again
            EXPECT_EQ(Got, Expected(Before, Offset)) << Zone;
            break;
        }
    }
    if (Saved)
        setenv("TZ", Restore.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(X11Clock, TicksNeverGoBackAndSleepWaits)
{
    const std::uint64_t Start = Port().GetTickCount();
    Port().Sleep(30);
    const std::uint64_t After = Port().GetTickCount();
    EXPECT_GE(After - Start, 30u);
    EXPECT_GE(Port().GetTickCount(), After);
}

} // namespace
