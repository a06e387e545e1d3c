#include "app/Autoload.h"

#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The Run value's type and bytes, as the system would read them; none when missing.
std::optional<std::pair<std::uint32_t, std::string>> RunValue(const std::string& Name)
{
    TRegistryKey Key = 0;
    if (Port().OpenRegistryKey(TRegistryRoot::CurrentUser, RunKey, Key) != ERROR_SUCCESS)
        return std::nullopt;
    std::uint32_t Type = REG_NONE;
    std::vector<std::uint8_t> Data;
    const long Result = Port().QueryRegistryValue(Key, Name, Type, Data);
    Port().CloseRegistryKey(Key);
    if (Result != ERROR_SUCCESS)
        return std::nullopt;
    return std::pair{Type, std::string(Data.begin(), Data.end())};
}

class AutoloadTest : public testing::Test
{
protected:
    void SetUp() override { Port().SetExecutablePath("C:\\Program Files\\Nixie\\nixie.exe"); }
    void TearDown() override
    {
        SetRunAtLogin(0, "QXRidivAzoza");
        Port().SetExecutablePath("C:\\Nixie\\Nixie.exe");
    }
};

TEST_F(AutoloadTest, WritesTheQuotedPathWithItsArgumentAndRemovesIt)
{
    EXPECT_EQ(SetRunAtLogin(1, "QXRidivAzoza"), ERROR_SUCCESS);
    // REG_SZ with its terminating zero counted in the size.
    const std::string Expected =
        std::string("\"C:\\Program Files\\Nixie\\nixie.exe\" -autominimize") + '\0';
    EXPECT_EQ(RunValue("QXRidivAzoza"), std::pair(REG_SZ, Expected));

    // A value removed by hand comes back; a moved executable is written anew.
    EXPECT_EQ(SetRunAtLogin(0, "QXRidivAzoza"), ERROR_SUCCESS);
    EXPECT_EQ(RunValue("QXRidivAzoza"), std::nullopt);
    EXPECT_EQ(SetRunAtLogin(0, "QXRidivAzoza"), ERROR_SUCCESS) << "already gone is no error";
    Port().SetExecutablePath("D:\\Clock\\nixie.exe");
    EXPECT_EQ(SetRunAtLogin(7, "QXRidivAzoza"), ERROR_SUCCESS);
    EXPECT_EQ(RunValue("QXRidivAzoza"),
              std::pair(REG_SZ, std::string("\"D:\\Clock\\nixie.exe\" -autominimize") + '\0'));
}

TEST_F(AutoloadTest, AMissingRunKeyIsNeverCreated)
{
    ASSERT_TRUE(Port().GetRegistry().RemoveKey(RunKey));
    EXPECT_EQ(SetRunAtLogin(1, "QXRidivAzoza"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SetRunAtLogin(0, "QXRidivAzoza"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Port().GetRegistry().KeyExists(RunKey));
    TRegistryKey Key = 0;
    ASSERT_EQ(Port().CreateRegistryKey(TRegistryRoot::CurrentUser, RunKey, Key, nullptr),
              ERROR_SUCCESS);
    Port().CloseRegistryKey(Key);
}

TEST_F(AutoloadTest, WithoutAnExecutableNameNothingIsWritten)
{
    Port().SetExecutablePath("");
    EXPECT_EQ(SetRunAtLogin(1, "QXRidivAzoza"), ERROR_SUCCESS);
    EXPECT_EQ(RunValue("QXRidivAzoza"), std::nullopt);
}

} // namespace
