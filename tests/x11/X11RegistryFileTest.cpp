// The X11 port's registry file: what is set comes back from the file in a later process, the
// file is replaced atomically, and a file that cannot be written or read loses nothing.
#include "platform/posix/FileRegistry.h"
#include "platform/posix/PosixFiles.h"
#include "platform/x11/X11Platform.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <poll.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(const std::string& S, bool WithNul)
{
    std::vector<std::uint8_t> B(S.begin(), S.end());
    if (WithNul)
        B.push_back(0);
    return B;
}

std::string FileText(const fs::path& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

class X11RegistryFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Folder = fs::path(GetConfigHome()) /
                 ("registry-" +
                  std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        File = (Folder / "registry").string();
    }
    void TearDown() override
    {
        std::error_code Ignored;
        fs::permissions(Folder, fs::perms::owner_all, Ignored);
        fs::remove_all(Folder, Ignored);
    }

    // Sets a value through a key of its own, as a program would.
    static long Set(TFileRegistry& R, const std::string& Path, const std::string& Name,
                    std::uint32_t Type, const std::vector<std::uint8_t>& Data)
    {
        TRegistryKey Key = 0;
        if (const long E = R.CreateKey(Path, Key, nullptr); E != ERROR_SUCCESS)
            return E;
        const long Result = R.SetValue(Key, Name, Type, Data);
        R.CloseKey(Key);
        return Result;
    }
    static long Get(TFileRegistry& R, const std::string& Path, const std::string& Name,
                    std::uint32_t& Type, std::vector<std::uint8_t>& Data)
    {
        TRegistryKey Key = 0;
        if (const long E = R.OpenKey(Path, Key); E != ERROR_SUCCESS)
            return E;
        const long Result = R.QueryValue(Key, Name, Type, Data);
        R.CloseKey(Key);
        return Result;
    }

    fs::path Folder;
    std::string File;
};

struct TStoredCase
{
    const char* Label;
    std::string Name;
    std::uint32_t Type;
    std::vector<std::uint8_t> Data;
};

class X11RegistryStoredTest : public X11RegistryFileTest,
                              public testing::WithParamInterface<TStoredCase>
{};

TEST_P(X11RegistryStoredTest, ComesBackFromTheFile)
{
    const TStoredCase& C = GetParam();
    {
        TFileRegistry Writer(File);
        ASSERT_EQ(Set(Writer, "Software\\Nixie", C.Name, C.Type, C.Data), ERROR_SUCCESS);
    }
    TFileRegistry Reader(File); // as the next run of the program
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    ASSERT_EQ(Get(Reader, "Software\\Nixie", C.Name, Type, Data), ERROR_SUCCESS) << FileText(File);
    EXPECT_EQ(Type, C.Type);
    EXPECT_EQ(Data, C.Data);
}

std::vector<std::uint8_t> AllBytes()
{
    std::vector<std::uint8_t> B;
    for (int I = 0; I < 256; ++I)
        B.push_back(static_cast<std::uint8_t>(I));
    return B;
}

INSTANTIATE_TEST_SUITE_P(
    Values, X11RegistryStoredTest,
    testing::Values(
        TStoredCase{"Dword", "left", REG_DWORD, {0xFB, 0xFF, 0xFF, 0xFF}},
        TStoredCase{"ShortDword", "odd", REG_DWORD, {1, 2}},
        TStoredCase{"Text", "title", REG_SZ, Bytes("Nixie", true)},
        TStoredCase{"TextWithoutNul", "bare", REG_SZ, Bytes("bare", false)},
        TStoredCase{"TextWithInnerNul", "inner", REG_SZ, Bytes(std::string("a\0b", 3), true)},
        TStoredCase{"EmptyText", "empty", REG_SZ, Bytes("", true)},
        TStoredCase{"EscapesInText", "escapes", REG_SZ,
                    Bytes("quote \" back \\ line\nfeed\ttab \x7F end", true)},
        TStoredCase{"Utf8Text", "zeit", REG_SZ, Bytes("Zeit \xC3\xBC \xE6\x99\x82", true)},
        TStoredCase{"EveryByte", "blob", REG_BINARY, AllBytes()},
        TStoredCase{"EmptyBinary", "nothing", REG_BINARY, {}},
        TStoredCase{"OtherType", "multi", 7, Bytes(std::string("a\0b\0", 4), true)},
        TStoredCase{"NameWithQuotesAndBackslash", "a \"b\" \\c=d", REG_DWORD, {1, 0, 0, 0}},
        TStoredCase{"NameWithLineBreak", "two\nlines", REG_DWORD, {2, 0, 0, 0}},
        TStoredCase{"DefaultValue", "", REG_SZ, Bytes("default", true)}),
    [](const testing::TestParamInfo<TStoredCase>& Info) { return std::string(Info.param.Label); });

TEST_F(X11RegistryFileTest, EmptyKeysAndOddKeyNamesSurvive)
{
    const std::string Odd = "Software\\[Odd] 100% \xC3\xBC\\new\nline";
    {
        TFileRegistry Writer(File);
        TRegistryKey Key = 0;
        ASSERT_EQ(Writer.CreateKey(Odd, Key, nullptr), ERROR_SUCCESS);
        Writer.CloseKey(Key);
    }
    TFileRegistry Reader(File);
    TRegistryKey Key = 0;
    std::uint32_t Disposition = 0;
    ASSERT_EQ(Reader.CreateKey(Odd, Key, &Disposition), ERROR_SUCCESS) << FileText(File);
    EXPECT_EQ(Disposition, REG_OPENED_EXISTING_KEY);
    Reader.CloseKey(Key);
}

TEST_F(X11RegistryFileTest, RandomTreesComeBackWhole)
{
    // Seeded: the same tree every run, checked against a plain map of what was set.
    std::mt19937 Random(20240611);
    std::map<std::pair<std::string, std::string>,
             std::pair<std::uint32_t, std::vector<std::uint8_t>>>
        Expected;
    {
        TFileRegistry Writer(File);
        for (int I = 0; I < 150; ++I) {
            const std::string Path =
                "Software\\K" + std::to_string(Random() % 7) + "\\S" + std::to_string(Random() % 3);
            std::string Name = "v" + std::to_string(Random() % 20);
            const std::uint32_t Type = std::uniform_int_distribution<std::uint32_t>(0, 7)(Random);
            std::vector<std::uint8_t> Data(Random() % 12);
            for (std::uint8_t& B : Data)
                B = static_cast<std::uint8_t>(Random());
            ASSERT_EQ(Set(Writer, Path, Name, Type, Data), ERROR_SUCCESS);
            Expected[{Path, Name}] = {Type, Data};
        }
    }
    TFileRegistry Reader(File);
    for (const auto& [Where, Value] : Expected) {
        std::uint32_t Type = 0;
        std::vector<std::uint8_t> Data;
        ASSERT_EQ(Get(Reader, Where.first, Where.second, Type, Data), ERROR_SUCCESS)
            << Where.first << " " << Where.second;
        EXPECT_EQ(Type, Value.first) << Where.first << " " << Where.second;
        EXPECT_EQ(Data, Value.second) << Where.first << " " << Where.second;
    }
}

TEST_F(X11RegistryFileTest, ReplacesTheFileInsteadOfWritingIntoIt)
{
    TFileRegistry R(File);
    ASSERT_EQ(Set(R, "Software\\Nixie", "first", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    const std::string Before = FileText(File);
    // A second name for the old file: rewriting in place would change what it shows.
    fs::create_hard_link(File, Folder / "old");
    ASSERT_EQ(Set(R, "Software\\Nixie", "second", REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);
    EXPECT_EQ(FileText(Folder / "old"), Before);
    EXPECT_NE(FileText(File), Before);
    EXPECT_NE(FileText(File).find("\"second\"=dword:00000002"), std::string::npos);
    // Nothing half-written is left beside it, and the settings are the user's alone.
    std::vector<std::string> Names;
    for (const fs::directory_entry& E : fs::directory_iterator(Folder))
        Names.push_back(E.path().filename().string());
    std::sort(Names.begin(), Names.end());
    EXPECT_EQ(Names, (std::vector<std::string>{"old", "registry"}));
    struct stat Info
    {};
    ASSERT_EQ(stat(File.c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 0777, 0600u);
}

TEST_F(X11RegistryFileTest, AChangeTheFileCannotTakeIsUndone)
{
    TFileRegistry R(File);
    ASSERT_EQ(Set(R, "Software\\Nixie", "kept", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    TRegistryKey Key = 0;
    ASSERT_EQ(R.OpenKey("Software\\Nixie", Key), ERROR_SUCCESS);
    // The folder becomes a file: nothing can be written there, whoever we are.
    fs::rename(Folder, Folder.string() + ".moved");
    {
        std::ofstream(Folder) << "in the way";
    }

    EXPECT_EQ(R.SetValue(Key, "kept", REG_DWORD, std::vector<std::uint8_t>{2, 0, 0, 0}),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(R.SetValue(Key, "new", REG_DWORD, std::vector<std::uint8_t>{3, 0, 0, 0}),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(R.DeleteValue(Key, "kept"), ERROR_ACCESS_DENIED);
    std::uint32_t Disposition = 9;
    TRegistryKey Created = 5;
    EXPECT_EQ(R.CreateKey("Software\\Other\\Deeper", Created, &Disposition), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Created, 0u);

    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    EXPECT_EQ(R.QueryValue(Key, "kept", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(R.QueryValue(Key, "new", Type, Data), ERROR_FILE_NOT_FOUND);
    TRegistryKey Missing = 0;
    EXPECT_EQ(R.OpenKey("Software\\Other", Missing), ERROR_FILE_NOT_FOUND);
    R.CloseKey(Key);

    fs::remove(Folder);
    fs::rename(Folder.string() + ".moved", Folder);
}

TEST_F(X11RegistryFileTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    fs::create_directory(File); // exists, yet reads fail
    TFileRegistry R(File);
    EXPECT_EQ(Set(R, "Software\\Nixie", "x", REG_DWORD, {1, 0, 0, 0}), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(fs::is_directory(File));
}

TEST_F(X11RegistryFileTest, DamagedLinesAreSkippedAndTheOriginalKept)
{
    const std::string Damaged = "[Software\\Nixie]\n"
                                "\"good\"=dword:0000002a\n"
                                "this line means nothing\n"
                                "\"short\"=dword:12\n"
                                "\"text\"=\"fine\"\n";
    {
        std::ofstream(File, std::ios::binary) << Damaged;
    }
    TFileRegistry R(File);
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    ASSERT_EQ(Get(R, "Software\\Nixie", "good", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Data, (std::vector<std::uint8_t>{42, 0, 0, 0}));
    ASSERT_EQ(Get(R, "Software\\Nixie", "text", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Data, Bytes("fine", true));
    EXPECT_EQ(Get(R, "Software\\Nixie", "short", Type, Data), ERROR_FILE_NOT_FOUND);

    ASSERT_EQ(Set(R, "Software\\Nixie", "later", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    EXPECT_EQ(FileText(File + ".damaged"), Damaged);
}

struct TDamageCase
{
    const char* Name;
    std::string Lines; // between a good key and another good key
    int Bad;           // lines that made no sense
};

std::string Repeated(const std::string& Part, std::size_t Count)
{
    std::string Out;
    for (std::size_t I = 0; I < Count; ++I)
        Out += Part;
    return Out;
}

class X11RegistryDamageTest : public X11RegistryFileTest,
                              public testing::WithParamInterface<TDamageCase>
{};

// Whatever lies between two good keys, they come back whole, nothing of the damage lands in
// them, and the damaged file is kept.
TEST_P(X11RegistryDamageTest, SkipsTheDamageAndKeepsTheRest)
{
    const TDamageCase& C = GetParam();
    const std::string Text = "[Software\\Nixie]\n\"good\"=dword:0000002a\n" + C.Lines +
                             "[Software\\Other]\n\"after\"=\"fine\"\n";
    {
        std::ofstream(File, std::ios::binary) << Text;
    }
    EXPECT_EQ(TFileRegistry(File + ".unused").Parse(Text), C.Bad);
    TFileRegistry R(File);
    EXPECT_EQ(R.GetValueNames("Software\\Nixie"), std::vector<std::string>{"good"});
    EXPECT_EQ(R.GetValueNames("Software\\Other"), std::vector<std::string>{"after"});
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    ASSERT_EQ(Get(R, "Software\\Nixie", "good", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Data, (std::vector<std::uint8_t>{42, 0, 0, 0}));
    ASSERT_EQ(Set(R, "Software\\Nixie", "later", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    EXPECT_EQ(FileText(File + ".damaged") == Text, C.Bad > 0);
    EXPECT_EQ(TFileRegistry(File).GetValueNames("Software\\Nixie"),
              (std::vector<std::string>{"good", "later"}));
}

INSTANTIATE_TEST_SUITE_P(
    Files, X11RegistryDamageTest,
    testing::Values(
        TDamageCase{"BinaryJunk", std::string("\x00\xff\x80[\x01\"\\\n\x7f=\xfe\n", 12), 2},
        TDamageCase{"TruncatedValues",
                    "\"a\"=hex(3):0\n\"b\"=hex(3):00,\n\"c\"=\"abc\n\"d\n\"e\"=dword:0000\n", 5},
        TDamageCase{"AbsurdLengthsAndTypes",
                    "\"a\"=hex(123456789):00\n\"b\"=hex():00\n\"c\"=dword:0000002a0\n"
                    "\"d\"=dword:\"0000002a\"\n\"e\"=hex(4):\"x\"\n",
                    5},
        // The values under a key line that made no sense belong to no key.
        TDamageCase{"TruncatedKey", "[Software\\Nix\n\"stray\"=dword:00000001\n", 2},
        TDamageCase{"BadEscapeInKey", "[Software\\Nix%zz]\n\"stray\"=dword:00000001\n", 2},
        TDamageCase{"KeyTooDeep", "[" + Repeated("k\\", 513) + "]\n\"stray\"=dword:00000001\n", 2},
        TDamageCase{"KeyNameTooLong",
                    "[Software\\" + std::string(256, 'k') + "]\n\"stray\"=dword:00000001\n", 2},
        TDamageCase{"KeyAtTheLimits", "[" + Repeated(std::string(255, 'k') + "\\", 512) + "]\n", 0},
        TDamageCase{"EnormousTruncatedLine", "\"big\"=hex(3):" + Repeated("00,", 1 << 20) + "0\n",
                    1}),
    [](const testing::TestParamInfo<TDamageCase>& Info) { return std::string(Info.param.Name); });

// The clock's settings as SaveSettings writes them, one value after the other, each write
// replacing the file: a writer killed at any moment leaves a file that reads without a damaged
// line and holds at least the last sequence the writer reported finished (the one it was in the
// middle of may be there in part). Every sequence writes one counter into all the values.
constexpr const char* ClockKey = "Software\\Tolvane\\QXRidivAzoza";
constexpr const char* ClockValues[] = {"viewertop",   "viewerleft", "viewerwidth", "viewerheight",
                                       "alwaysontop", "hidetask",   "24hour",      "autoload",
                                       "type",        "vdfcolor",   "title"};

std::vector<std::uint8_t> Counter(std::uint32_t N)
{
    return {std::uint8_t(N), std::uint8_t(N >> 8), std::uint8_t(N >> 16), std::uint8_t(N >> 24)};
}

// Writes sequences From, From + 1, ... (Count of them), telling Report after each one; ends the
// child process.
[[noreturn]] void WriteSequences(const std::string& File, std::uint32_t From, int Count, int Report)
{
    TFileRegistry R(File);
    TRegistryKey Key = 0;
    if (R.CreateKey(ClockKey, Key, nullptr) != ERROR_SUCCESS)
        _exit(2);
    for (std::uint32_t N = From; N < From + std::uint32_t(Count); ++N) {
        for (const char* Name : ClockValues)
            if (R.SetValue(Key, Name, REG_DWORD, Counter(N)) != ERROR_SUCCESS)
                _exit(3);
        if (write(Report, &N, sizeof N) != sizeof N)
            _exit(4);
    }
    _exit(0);
}

// The next report of the writer; none once it has ended (or after a bound that only guards
// against a writer that hangs).
std::optional<std::uint32_t> NextReport(int Fd)
{
    pollfd P{Fd, POLLIN, 0};
    std::uint32_t N = 0;
    if (poll(&P, 1, 10000) != 1 || read(Fd, &N, sizeof N) != sizeof N)
        return std::nullopt;
    return N;
}

TEST_F(X11RegistryFileTest, AWriterKilledAtAnyMomentLeavesTheLastFinishedWrite)
{
    {
        TFileRegistry First(File);
        for (const char* Name : ClockValues)
            ASSERT_EQ(Set(First, ClockKey, Name, REG_DWORD, Counter(0)), ERROR_SUCCESS);
    }
    std::mt19937 Random(1977);  // seeded: the same kills every run
    std::uint32_t Finished = 0; // the last sequence a writer reported
    std::uint32_t Highest = 0;  // the highest counter in the file
    int Killed = 0;
    for (int Round = 0; Round < 200; ++Round) {
        int Report[2];
        ASSERT_EQ(pipe(Report), 0);
        const std::uint32_t From = Highest + 1;
        const pid_t Writer = fork();
        ASSERT_GE(Writer, 0);
        if (Writer == 0) {
            close(Report[0]);
            WriteSequences(File, From, 200, Report[1]);
        }
        close(Report[1]);
        // Maybe a finished sequence first, then a pause that lands anywhere in the next one (a
        // sequence takes a few milliseconds: one file written and synced per value).
        const int Wait = int(Random() % 2);
        const auto Pause = std::chrono::microseconds(Random() % 4000);
        for (int I = 0; I < Wait; ++I)
            if (const std::optional<std::uint32_t> N = NextReport(Report[0]))
                Finished = *N;
        std::this_thread::sleep_for(Pause);
        kill(Writer, SIGKILL);
        int Status = 0;
        ASSERT_EQ(waitpid(Writer, &Status, 0), Writer);
        while (const std::optional<std::uint32_t> N = NextReport(Report[0]))
            Finished = *N;
        close(Report[0]);
        if (WIFSIGNALED(Status))
            ++Killed;
        else
            ASSERT_EQ(WEXITSTATUS(Status), 0) << "the writer failed in round " << Round;

        const std::string Text = FileText(File);
        ASSERT_EQ(TFileRegistry(File).Parse(Text), 0) << "round " << Round << ":\n" << Text;
        TFileRegistry Next(File); // as the clock's next start reads it
        for (const char* Name : ClockValues) {
            std::uint32_t Type = 0;
            std::vector<std::uint8_t> Data;
            ASSERT_EQ(Get(Next, ClockKey, Name, Type, Data), ERROR_SUCCESS)
                << Name << " in round " << Round << ":\n"
                << Text;
            ASSERT_EQ(Type, REG_DWORD);
            ASSERT_EQ(Data.size(), 4u);
            const std::uint32_t N = *DwordOf(Data);
            ASSERT_GE(N, Finished) << Name << " lost a finished write in round " << Round;
            // Nothing beyond the sequence the writer was in the middle of.
            ASSERT_LE(N, std::max(From, Finished + 1)) << Name << " in round " << Round;
            Highest = std::max(Highest, N);
        }
    }
    // Most writers died in the middle: they had 200 sequences to write.
    EXPECT_GT(Killed, 150);
}

TEST_F(X11RegistryFileTest, AnOldTemporaryFileOfADeadWriterIsSweptAway)
{
    const auto Touch = [&](const std::string& Name, std::chrono::seconds Age) {
        std::ofstream(Folder / Name) << "[Software\\Half";
        fs::last_write_time(Folder / Name, fs::file_time_type::clock::now() - Age);
    };
    Touch("registry.a1B2c3", std::chrono::hours(2));   // left by a writer killed long ago
    Touch("registry.d4E5f6", std::chrono::seconds(0)); // a writer may be at it right now
    Touch("registry.damaged", std::chrono::hours(2));
    Touch("registry.old", std::chrono::hours(2));
    TFileRegistry Registry(File);
    TRegistryKey Key = 0;
    EXPECT_EQ(Registry.OpenKey("Software", Key), ERROR_FILE_NOT_FOUND);
    std::vector<std::string> Left;
    for (const auto& Entry : fs::directory_iterator(Folder))
        Left.push_back(Entry.path().filename().string());
    std::sort(Left.begin(), Left.end());
    EXPECT_EQ(Left,
              (std::vector<std::string>{"registry.d4E5f6", "registry.damaged", "registry.old"}));
}

TEST(X11RegistryDefault, LivesInTheConfigurationFolder)
{
    TX11Platform& Port = static_cast<TX11Platform&>(TPlatform::Get());
    const std::string Expected = GetConfigHome() + "/nixie/registry";
    EXPECT_EQ(Port.GetRegistry().GetFilePath(), Expected);
    TRegistryKey Key = 0;
    ASSERT_EQ(
        Port.CreateRegistryKey(TRegistryRoot::CurrentUser, "Software\\NixieDefault", Key, nullptr),
        ERROR_SUCCESS);
    const std::vector<std::uint8_t> Value{7, 0, 0, 0};
    ASSERT_EQ(Port.SetRegistryValue(Key, "seven", REG_DWORD, Value), ERROR_SUCCESS);
    Port.CloseRegistryKey(Key);
    EXPECT_NE(FileText(Expected).find("[Software\\NixieDefault]\n\"seven\"=dword:00000007\n"),
              std::string::npos)
        << FileText(Expected);
    EXPECT_TRUE(Port.GetRegistry().RemoveKey("Software\\NixieDefault"));
    EXPECT_EQ(FileText(Expected).find("NixieDefault"), std::string::npos);
}

} // namespace
