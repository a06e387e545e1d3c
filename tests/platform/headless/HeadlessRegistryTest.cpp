// What only the headless registry offers: a fresh profile, removal of keys under open handles,
// failure injection and the inspection helpers that application tests use.
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>
#include <set>

namespace {

const std::string RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::vector<std::uint8_t> Dword(std::uint32_t V)
{
    return {static_cast<std::uint8_t>(V), static_cast<std::uint8_t>(V >> 8),
            static_cast<std::uint8_t>(V >> 16), static_cast<std::uint8_t>(V >> 24)};
}

TEST(HeadlessRegistry, FreshProfileHasTheRunKeyAndNothingElseOpen)
{
    THeadlessPlatform Port;
    EXPECT_TRUE(Port.GetRegistry().KeyExists(RunKey));
    EXPECT_TRUE(Port.GetRegistry().KeyExists("software\\microsoft"));
    EXPECT_TRUE(Port.GetRegistry().GetValueNames(RunKey).empty());
    EXPECT_FALSE(Port.GetRegistry().KeyExists("Software\\Tolvane"));
    EXPECT_EQ(Port.GetRegistry().GetOpenKeyCount(), 0u);
}

TEST(HeadlessRegistry, CountsOpenHandles)
{
    THeadlessPlatform Port;
    TRegistryKey A = 0;
    TRegistryKey B = 0;
    ASSERT_EQ(Port.CreateRegistryKey(TRegistryRoot::CurrentUser, "Software\\Tolvane\\QXRidivAzoza",
                                     A, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(Port.OpenRegistryKey(TRegistryRoot::CurrentUser, "Software\\Tolvane", B),
              ERROR_SUCCESS);
    EXPECT_EQ(Port.GetRegistry().GetOpenKeyCount(), 2u);
    Port.CloseRegistryKey(A);
    Port.CloseRegistryKey(B);
    EXPECT_EQ(Port.GetRegistry().GetOpenKeyCount(), 0u);
}

TEST(HeadlessRegistry, HandlesAreNeverReused)
{
    THeadlessPlatform Port;
    std::set<TRegistryKey> Seen;
    for (int I = 0; I < 100; ++I) {
        TRegistryKey Key = 0;
        ASSERT_EQ(Port.OpenRegistryKey(TRegistryRoot::CurrentUser, RunKey, Key), ERROR_SUCCESS);
        EXPECT_TRUE(Seen.insert(Key).second);
        Port.CloseRegistryKey(Key);
    }
}

TEST(HeadlessRegistry, RemovedKeysLeaveStaleHandles)
{
    THeadlessPlatform Port;
    TRegistryKey Key = 0;
    ASSERT_EQ(Port.CreateRegistryKey(TRegistryRoot::CurrentUser, "Software\\Tolvane\\Store\\Deep",
                                     Key, nullptr),
              ERROR_SUCCESS);
    EXPECT_TRUE(Port.GetRegistry().RemoveKey("software\\TOLVANE"));
    EXPECT_FALSE(Port.GetRegistry().KeyExists("Software\\Tolvane\\Store"));
    EXPECT_FALSE(Port.GetRegistry().RemoveKey("Software\\Tolvane"));
    EXPECT_FALSE(Port.GetRegistry().RemoveKey(""));

    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    EXPECT_EQ(Port.SetRegistryValue(Key, "x", REG_DWORD, Dword(1)), ERROR_KEY_DELETED);
    EXPECT_EQ(Port.QueryRegistryValue(Key, "x", Type, Data), ERROR_KEY_DELETED);
    EXPECT_EQ(Port.DeleteRegistryValue(Key, "x"), ERROR_KEY_DELETED);
    EXPECT_EQ(Port.CloseRegistryKey(Key), ERROR_SUCCESS);

    // A key made again at the same place starts empty.
    std::uint32_t Disposition = 0;
    ASSERT_EQ(Port.CreateRegistryKey(TRegistryRoot::CurrentUser, "Software\\Tolvane\\Store\\Deep",
                                     Key, &Disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(Disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(Port.QueryRegistryValue(Key, "x", Type, Data), ERROR_FILE_NOT_FOUND);
    Port.CloseRegistryKey(Key);
}

TEST(HeadlessRegistry, InjectedFailureStopsCreateAndOpen)
{
    THeadlessPlatform Port;
    Port.GetRegistry().SetFailure(ERROR_ACCESS_DENIED);
    TRegistryKey Key = 77;
    std::uint32_t Disposition = 77;
    EXPECT_EQ(
        Port.CreateRegistryKey(TRegistryRoot::CurrentUser, "Software\\Tolvane", Key, &Disposition),
        ERROR_ACCESS_DENIED);
    EXPECT_EQ(Key, 0u);
    EXPECT_EQ(Disposition, 0u);
    EXPECT_EQ(Port.OpenRegistryKey(TRegistryRoot::CurrentUser, RunKey, Key), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Port.GetRegistry().KeyExists("Software\\Tolvane"));
    EXPECT_EQ(Port.SetLoginItem("QXRidivAzoza", {"C:\\x.exe", {}}), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Port.GetRegistry().GetValueNames(RunKey), std::vector<std::string>{});

    Port.GetRegistry().SetFailure(ERROR_SUCCESS);
    EXPECT_EQ(Port.CreateRegistryKey(TRegistryRoot::CurrentUser, "Software\\Tolvane", Key, nullptr),
              ERROR_SUCCESS);
    Port.CloseRegistryKey(Key);
}

TEST(HeadlessRegistry, NamesKeepTheirCaseAndOrder)
{
    THeadlessPlatform Port;
    TRegistryKey Key = 0;
    ASSERT_EQ(Port.CreateRegistryKey(TRegistryRoot::CurrentUser, "Software\\Tolvane\\QXRidivAzoza",
                                     Key, nullptr),
              ERROR_SUCCESS);
    for (const char* Name : {"viewertop", "viewerleft", "alwaysontop", "24hour"})
        Port.SetRegistryValue(Key, Name, REG_DWORD, Dword(1));
    Port.SetRegistryValue(Key, "VIEWERTOP", REG_DWORD, Dword(2)); // same value, same place
    Port.CloseRegistryKey(Key);
    EXPECT_EQ(Port.GetRegistry().GetValueNames("software\\tolvane\\qxridivazoza"),
              (std::vector<std::string>{"viewertop", "viewerleft", "alwaysontop", "24hour"}));
    EXPECT_EQ(Port.GetRegistry().GetSubKeyNames("Software\\Tolvane"),
              (std::vector<std::string>{"QXRidivAzoza"}));
}

TEST(HeadlessRegistry, KeepsExactlyTheBytesGiven)
{
    // So that application tests see a forgotten terminating NUL or a short DWORD.
    THeadlessPlatform Port;
    TRegistryKey Key = 0;
    ASSERT_EQ(Port.CreateRegistryKey(TRegistryRoot::CurrentUser, "Software\\Tolvane", Key, nullptr),
              ERROR_SUCCESS);
    const std::vector<std::uint8_t> NoNul{'a', 'b'};
    const std::vector<std::uint8_t> Short{7, 0};
    Port.SetRegistryValue(Key, "text", REG_SZ, NoNul);
    Port.SetRegistryValue(Key, "short", REG_DWORD, Short);
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    ASSERT_EQ(Port.QueryRegistryValue(Key, "text", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Data, NoNul);
    ASSERT_EQ(Port.QueryRegistryValue(Key, "short", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Type, REG_DWORD);
    EXPECT_EQ(Data, Short);
    Port.CloseRegistryKey(Key);
}

TEST(HeadlessRegistry, EmptyPathIsTheRoot)
{
    THeadlessPlatform Port;
    TRegistryKey Key = 0;
    ASSERT_EQ(Port.OpenRegistryKey(TRegistryRoot::CurrentUser, "", Key), ERROR_SUCCESS);
    Port.SetRegistryValue(Key, "rootvalue", REG_DWORD, Dword(1));
    Port.CloseRegistryKey(Key);
    EXPECT_EQ(Port.GetRegistry().GetValueNames(""), (std::vector<std::string>{"rootvalue"}));
}

// A key the saved registry could not hold again is never made: 512 levels of 255-byte names at
// most, as in Windows; a path beyond that opens nothing either.
TEST(HeadlessRegistry, KeysBeyondTheWindowsLimitsAreRefused)
{
    const auto Levels = [](std::size_t Count, const std::string& Name) {
        std::string Path = Name;
        for (std::size_t I = 1; I < Count; ++I)
            Path += "\\" + Name;
        return Path;
    };
    const struct
    {
        std::string Path;
        long Expected;
    } Cases[] = {{Levels(512, "k"), ERROR_SUCCESS},
                 {Levels(513, "k"), ERROR_INVALID_PARAMETER},
                 {Levels(512, "k") + "\\", ERROR_SUCCESS},
                 {"k\\" + std::string(255, 'n'), ERROR_SUCCESS},
                 {"k\\" + std::string(256, 'n'), ERROR_INVALID_PARAMETER}};
    for (const auto& C : Cases) {
        THeadlessPlatform Port;
        TRegistryKey Key = 0;
        EXPECT_EQ(Port.CreateRegistryKey(TRegistryRoot::CurrentUser, C.Path, Key, nullptr),
                  C.Expected)
            << C.Path.size();
        Port.CloseRegistryKey(Key);
        EXPECT_EQ(Port.OpenRegistryKey(TRegistryRoot::CurrentUser, C.Path, Key), C.Expected);
        Port.CloseRegistryKey(Key);
        // A refused path leaves no key on its way behind.
        EXPECT_EQ(Port.GetRegistry().KeyExists("k"), C.Expected == ERROR_SUCCESS);
    }
}

// The bytes of a REG_SZ value of the Run key, as the clock's own code reads them.
std::optional<std::vector<std::uint8_t>> RunValue(THeadlessPlatform& Port, const std::string& Name)
{
    TRegistryKey Key = 0;
    if (Port.OpenRegistryKey(TRegistryRoot::CurrentUser, RunKey, Key) != ERROR_SUCCESS)
        return std::nullopt;
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    const long Result = Port.QueryRegistryValue(Key, Name, Type, Data);
    Port.CloseRegistryKey(Key);
    if (Result != ERROR_SUCCESS || Type != REG_SZ)
        return std::nullopt;
    return Data;
}

std::vector<std::uint8_t> WithNul(const std::string& Text)
{
    std::vector<std::uint8_t> Bytes(Text.begin(), Text.end());
    Bytes.push_back(0);
    return Bytes;
}

struct TRunCase
{
    TLoginCommand Command;
    std::string Text;
};

TEST(HeadlessLoginItems, AreTheQuotedProgramAndItsArgumentsInTheRunKey)
{
    const TRunCase Cases[] = {
        {{"C:\\Nixie\\Nixie.exe", {"-autominimize"}}, "\"C:\\Nixie\\Nixie.exe\" -autominimize"},
        {{"C:\\Program Files\\Nixie\\Nixie.exe", {}}, "\"C:\\Program Files\\Nixie\\Nixie.exe\""},
        {{"C:\\N\xC3\xBC.exe", {"-a", "b c"}}, "\"C:\\N\xC3\xBC.exe\" -a b c"},
    };
    for (const TRunCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        THeadlessPlatform Port;
        EXPECT_EQ(Port.SetLoginItem("QXRidivAzoza", Case.Command), ERROR_SUCCESS);
        EXPECT_EQ(RunValue(Port, "qxridivazoza"), WithNul(Case.Text));
        EXPECT_EQ(Port.GetLoginItem("QXRidivAzoza"), Case.Text);
        EXPECT_EQ(Port.GetRegistry().GetOpenKeyCount(), 0u) << "the Run key is closed again";
    }
}

TEST(HeadlessLoginItems, RemovalDeletesOnlyTheirValue)
{
    THeadlessPlatform Port;
    const std::string Other = "other.exe";
    TRegistryKey Key = 0;
    ASSERT_EQ(Port.OpenRegistryKey(TRegistryRoot::CurrentUser, RunKey, Key), ERROR_SUCCESS);
    Port.SetRegistryValue(Key, "Other", REG_SZ, WithNul(Other));
    Port.CloseRegistryKey(Key);
    EXPECT_EQ(Port.GetLoginItem("Other"), Other) << "a value written by the clock itself";

    ASSERT_EQ(Port.SetLoginItem("QXRidivAzoza", {"C:\\Nixie.exe", {}}), ERROR_SUCCESS);
    EXPECT_EQ(Port.RemoveLoginItem("QXRidivAzoza"), ERROR_SUCCESS);
    EXPECT_EQ(Port.GetLoginItem("QXRidivAzoza"), std::nullopt);
    EXPECT_EQ(Port.RemoveLoginItem("QXRidivAzoza"), ERROR_SUCCESS) << "already gone is no error";
    EXPECT_EQ(Port.GetRegistry().GetValueNames(RunKey), (std::vector<std::string>{"Other"}));
    EXPECT_EQ(Port.GetRegistry().GetOpenKeyCount(), 0u);
}

TEST(HeadlessLoginItems, AnEmptyProgramWritesNothing)
{
    THeadlessPlatform Port;
    ASSERT_EQ(Port.SetLoginItem("QXRidivAzoza", {"C:\\Nixie.exe", {"-autominimize"}}),
              ERROR_SUCCESS);
    EXPECT_EQ(Port.SetLoginItem("QXRidivAzoza", {"", {"-autominimize"}}), ERROR_SUCCESS);
    EXPECT_EQ(Port.SetLoginItem("Empty", {}), ERROR_SUCCESS);
    EXPECT_EQ(Port.GetRegistry().GetValueNames(RunKey), (std::vector<std::string>{"QXRidivAzoza"}));
    EXPECT_EQ(Port.GetLoginItem("QXRidivAzoza"), "\"C:\\Nixie.exe\" -autominimize");
}

TEST(HeadlessLoginItems, AMissingRunKeyIsNeverMade)
{
    THeadlessPlatform Port;
    ASSERT_TRUE(Port.GetRegistry().RemoveKey(RunKey));
    EXPECT_EQ(Port.SetLoginItem("QXRidivAzoza", {"C:\\Nixie.exe", {}}), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Port.RemoveLoginItem("QXRidivAzoza"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Port.GetLoginItem("QXRidivAzoza"), std::nullopt);
    EXPECT_FALSE(Port.GetRegistry().KeyExists(RunKey));
    EXPECT_EQ(Port.GetRegistry().GetOpenKeyCount(), 0u);
}

TEST(HeadlessLoginItems, NonTextValuesAreNoItems)
{
    THeadlessPlatform Port;
    TRegistryKey Key = 0;
    ASSERT_EQ(Port.OpenRegistryKey(TRegistryRoot::CurrentUser, RunKey, Key), ERROR_SUCCESS);
    Port.SetRegistryValue(Key, "Number", REG_DWORD, Dword(1));
    Port.CloseRegistryKey(Key);
    EXPECT_EQ(Port.GetLoginItem("Number"), std::nullopt);
}

} // namespace
