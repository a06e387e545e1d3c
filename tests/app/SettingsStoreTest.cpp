#include "app/SettingsStore.h"

#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

constexpr const char* KeyPath = "Software\\Tolvane\\StoreTest";

class SettingsStoreTest : public testing::Test
{
protected:
    void SetUp() override { Port().GetRegistry().RemoveKey("Software\\Tolvane"); }
    void TearDown() override
    {
        Port().GetRegistry().SetFailure(ERROR_SUCCESS);
        Port().GetRegistry().RemoveKey("Software\\Tolvane");
    }

    static void Put(const std::string& Name, std::uint32_t Type, std::vector<std::uint8_t> Data)
    {
        TRegistryKey Key = 0;
        ASSERT_EQ(Port().CreateRegistryKey(TRegistryRoot::CurrentUser, KeyPath, Key, nullptr),
                  ERROR_SUCCESS);
        Port().SetRegistryValue(Key, Name, Type, Data);
        Port().CloseRegistryKey(Key);
    }
};

TEST_F(SettingsStoreTest, AFirstOpenCreatesTheKeyAndStoresEveryDefaultItReads)
{
    SettingsStore S;
    OpenSettingsStore("ignored.ini", "StoreTest", S, 1);
    EXPECT_EQ(S.Disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(S.Section, "StoreTest");
    EXPECT_EQ(ReadSettingInt(S, "a", 7), 7);
    EXPECT_EQ(ReadSettingInt(S, "b", -5), -5);
    CloseSettingsStore(S);
    EXPECT_EQ(Port().GetRegistry().GetOpenKeyCount(), 0u);

    OpenSettingsStore(nullptr, "StoreTest", S, 1);
    EXPECT_EQ(S.Disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(S.ProfileFile, "");
    // The stored values win over new defaults; a signed value comes back with its sign.
    EXPECT_EQ(ReadSettingInt(S, "a", 1), 7);
    EXPECT_EQ(ReadSettingInt(S, "b", 1), -5);
    // In a key that existed, a missing value gives its default and stays missing.
    EXPECT_EQ(ReadSettingInt(S, "c", 3), 3);
    WriteSettingInt(S, "a", INT32_MIN);
    EXPECT_EQ(ReadSettingInt(S, "a", 0), INT32_MIN);
    CloseSettingsStore(S);
    EXPECT_EQ(Port().GetRegistry().GetValueNames(KeyPath), (std::vector<std::string>{"a", "b"}));
}

struct TStoredCase
{
    const char* Name;
    std::uint32_t Type;
    std::vector<std::uint8_t> Data;
    std::int32_t Expected;
};

class SettingsStoreValueTest : public SettingsStoreTest,
                               public testing::WithParamInterface<TStoredCase>
{};

// Only what the store writes itself counts as a value; anything else leaves the default.
TEST_P(SettingsStoreValueTest, ReadsOnlyFourByteDwords)
{
    Put("v", GetParam().Type, GetParam().Data);
    SettingsStore S;
    OpenSettingsStore(nullptr, "StoreTest", S, 1);
    EXPECT_EQ(ReadSettingInt(S, "v", 99), GetParam().Expected);
    CloseSettingsStore(S);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsStoreValueTest,
    testing::Values(TStoredCase{"Dword", REG_DWORD, {0x34, 0x12, 0, 0}, 0x1234},
                    TStoredCase{"NegativeDword", REG_DWORD, {0xFB, 0xFF, 0xFF, 0xFF}, -5},
                    TStoredCase{"EightBytes", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 99},
                    TStoredCase{"TwoBytes", REG_DWORD, {1, 0}, 99},
                    TStoredCase{"Text", REG_SZ, {'4', '2', '3', 0}, 99},
                    TStoredCase{"Binary", REG_BINARY, {1, 0, 0, 0}, 99}),
    ByName{});

TEST_F(SettingsStoreTest, AStoreThatCannotBeOpenedGivesDefaultsAndLosesWrites)
{
    Port().GetRegistry().SetFailure(ERROR_ACCESS_DENIED);
    SettingsStore S;
    OpenSettingsStore(nullptr, "StoreTest", S, 1);
    EXPECT_EQ(ReadSettingInt(S, "a", 4), 4);
    WriteSettingInt(S, "a", 5);
    CloseSettingsStore(S);
    Port().GetRegistry().SetFailure(ERROR_SUCCESS);
    EXPECT_FALSE(Port().GetRegistry().KeyExists(KeyPath));
}

struct TProfileCase
{
    const char* Name;
    const char* Stored; // null: no entry
    std::int32_t Expected;
};

class SettingsProfileTest : public testing::TestWithParam<TProfileCase>
{};

// Profile entries are decimal text read by their leading digits, as the C library reads a long.
TEST_P(SettingsProfileTest, ReadsTheLeadingNumber)
{
    const std::string File = std::string("store-") + GetParam().Name + ".ini";
    SettingsStore S;
    OpenSettingsStore(File.c_str(), "Clock", S, 0);
    EXPECT_EQ(S.Key, 0u);
    if (GetParam().Stored)
        Port().WriteProfileEntry(File, "Clock", "type", GetParam().Stored);
    EXPECT_EQ(ReadSettingInt(S, "type", -3), GetParam().Expected);
    CloseSettingsStore(S);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsProfileTest,
    testing::Values(TProfileCase{"Missing", nullptr, -3}, TProfileCase{"Plain", "42", 42},
                    TProfileCase{"Negative", "-17", -17}, TProfileCase{"Trailing", "12abc", 12},
                    TProfileCase{"Blanks", "  8", 8}, TProfileCase{"NoDigits", "abc", 0},
                    TProfileCase{"Empty", "", 0}, TProfileCase{"Huge", "99999999999", INT32_MAX},
                    TProfileCase{"HugeNegative", "-99999999999", INT32_MIN}),
    ByName{});

TEST(SettingsProfile, WritesDecimalTextAndNeverTheRegistry)
{
    SettingsStore S;
    OpenSettingsStore("store-write.ini", "Clock", S, 0);
    WriteSettingInt(S, "viewerleft", -40);
    WriteSettingInt(S, "type", 3);
    CloseSettingsStore(S);
    EXPECT_EQ(Port().ReadProfileEntry("store-write.ini", "Clock", "viewerleft", ""), "-40");
    EXPECT_EQ(Port().ReadProfileEntry("store-write.ini", "clock", "TYPE", ""), "3");
    EXPECT_FALSE(Port().GetRegistry().KeyExists("Software\\Tolvane\\Clock"));
}

} // namespace
