// The per-user registry of the installed port. The same cases run against the headless port's
// model on the build machine and against the real registry under Wine, which keeps the model
// honest.
#include "platform/Platform.h"
#include "tests/platform/PortSupport.h"
#include "tests/support/CaseName.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::string TestRoot = "Software\\NixieTest";

TPlatform& Port()
{
    return TPlatform::Get();
}

// Text as Win32 callers store it: with its terminating NUL. (Text without one comes back as
// given from Windows and from the headless port, but Wine adds the NUL.)
std::vector<std::uint8_t> Text(const std::string& S)
{
    std::vector<std::uint8_t> B(S.begin(), S.end());
    B.push_back(0);
    return B;
}

std::vector<std::uint8_t> Dword(std::uint32_t V)
{
    return {static_cast<std::uint8_t>(V), static_cast<std::uint8_t>(V >> 8),
            static_cast<std::uint8_t>(V >> 16), static_cast<std::uint8_t>(V >> 24)};
}

class RegistryTest : public testing::Test
{
protected:
    void SetUp() override { RemoveRegistryTree(TestRoot); }
    void TearDown() override
    {
        for (TRegistryKey Key : FOpen)
            Port().CloseRegistryKey(Key);
        RemoveRegistryTree(TestRoot);
    }

    TRegistryKey Create(const std::string& Path, std::uint32_t* Disposition = nullptr)
    {
        TRegistryKey Key = 0;
        EXPECT_EQ(Port().CreateRegistryKey(TRegistryRoot::CurrentUser, Path, Key, Disposition),
                  ERROR_SUCCESS)
            << Path;
        EXPECT_NE(Key, 0u);
        FOpen.push_back(Key);
        return Key;
    }
    long Open(const std::string& Path, TRegistryKey& Key)
    {
        const long Result = Port().OpenRegistryKey(TRegistryRoot::CurrentUser, Path, Key);
        if (Result == ERROR_SUCCESS)
            FOpen.push_back(Key);
        return Result;
    }
    long Close(TRegistryKey Key)
    {
        std::erase(FOpen, Key);
        return Port().CloseRegistryKey(Key);
    }

    std::vector<TRegistryKey> FOpen;
};

TEST_F(RegistryTest, CreateReportsWhetherTheKeyIsNew)
{
    std::uint32_t Disposition = 0;
    Create(TestRoot + "\\Store", &Disposition);
    EXPECT_EQ(Disposition, REG_CREATED_NEW_KEY);
    Create(TestRoot + "\\Store", &Disposition);
    EXPECT_EQ(Disposition, REG_OPENED_EXISTING_KEY);
    Create(TestRoot + "\\STORE", &Disposition);
    EXPECT_EQ(Disposition, REG_OPENED_EXISTING_KEY);
    // Creating a deeper key creates the keys on the way.
    Create(TestRoot + "\\A\\B\\C", &Disposition);
    EXPECT_EQ(Disposition, REG_CREATED_NEW_KEY);
    Create(TestRoot + "\\A\\B", &Disposition);
    EXPECT_EQ(Disposition, REG_OPENED_EXISTING_KEY);
}

struct TOpenCase
{
    const char* Created; // below TestRoot
    const char* Opened;  // below TestRoot, or a full path when it starts with '!'
    long Expected;
};

class RegistryOpenTest : public RegistryTest, public testing::WithParamInterface<TOpenCase>
{};

TEST_P(RegistryOpenTest, OpensWhatExists)
{
    const TOpenCase& C = GetParam();
    Create(TestRoot + "\\" + C.Created);
    const std::string Path =
        C.Opened[0] == '!' ? std::string(C.Opened + 1) : TestRoot + "\\" + C.Opened;
    TRegistryKey Key = 12345;
    EXPECT_EQ(Open(Path, Key), C.Expected) << Path;
    if (C.Expected == ERROR_SUCCESS)
        EXPECT_NE(Key, 0u);
    else
        EXPECT_EQ(Key, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RegistryOpenTest,
    testing::Values(TOpenCase{"Store", "Store", ERROR_SUCCESS},
                    TOpenCase{"Store", "sToRe", ERROR_SUCCESS},
                    TOpenCase{"Store", "Other", ERROR_FILE_NOT_FOUND},
                    TOpenCase{"Store", "Store\\Deeper", ERROR_FILE_NOT_FOUND},
                    TOpenCase{"A\\B\\C", "A\\B", ERROR_SUCCESS},
                    TOpenCase{"A\\B\\C", "a\\b\\c", ERROR_SUCCESS},
                    TOpenCase{"Trailing\\", "Trailing", ERROR_SUCCESS},
                    TOpenCase{"Store", "Store\\", ERROR_SUCCESS},
                    TOpenCase{"Zeit \xC3\xBC\xC3\xA4\xE6\x99\x82",
                              "Zeit \xC3\xBC\xC3\xA4\xE6\x99\x82", ERROR_SUCCESS},
                    TOpenCase{"Store", "!\\Software\\NixieTest\\Store", ERROR_BAD_PATHNAME}),
    [](const testing::TestParamInfo<TOpenCase>& I) {
        return NumberedName(I, std::string(I.param.Created) + " opened as " + I.param.Opened);
    });

struct TValueCase
{
    const char* Label;
    std::uint32_t Type;
    std::vector<std::uint8_t> Data;
};

class RegistryValueTest : public RegistryTest, public testing::WithParamInterface<TValueCase>
{};

TEST_P(RegistryValueTest, RoundTripsTypeAndBytes)
{
    const TValueCase& C = GetParam();
    const TRegistryKey Key = Create(TestRoot + "\\Values");
    ASSERT_EQ(Port().SetRegistryValue(Key, "value", C.Type, C.Data), ERROR_SUCCESS);
    // Read through a second handle after the first is closed: the value is in the store.
    ASSERT_EQ(Close(Key), ERROR_SUCCESS);
    TRegistryKey Again = 0;
    ASSERT_EQ(Open(TestRoot + "\\values", Again), ERROR_SUCCESS);
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data{9, 9};
    ASSERT_EQ(Port().QueryRegistryValue(Again, "VALUE", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Type, C.Type);
    EXPECT_EQ(Data, C.Data);
}

INSTANTIATE_TEST_SUITE_P(
    Types, RegistryValueTest,
    testing::Values(TValueCase{"DwordZero", REG_DWORD, Dword(0)},
                    TValueCase{"DwordMinusFive", REG_DWORD, Dword(0xFFFFFFFBu)},
                    TValueCase{"DwordTopBit", REG_DWORD, Dword(0x80000000u)},
                    TValueCase{"DwordCentre", REG_DWORD, Dword(384)},
                    TValueCase{"RunCommand", REG_SZ,
                               Text("\"C:\\Program Files\\Nixie\\Nixie.exe\" -autominimize")},
                    TValueCase{"EmptyText", REG_SZ, Text("")},
                    TValueCase{"Utf8Text", REG_SZ,
                               Text("Zeit \xC3\xBC\xC3\xA4 \xE6\x99\x82\xE8\xA8\x88")},
                    TValueCase{"Binary", REG_BINARY, {1, 2, 3, 0, 255}},
                    TValueCase{"EmptyBinary", REG_BINARY, {}}),
    [](const testing::TestParamInfo<TValueCase>& Info) { return std::string(Info.param.Label); });

TEST_F(RegistryTest, MissingValuesAreNotFound)
{
    const TRegistryKey Key = Create(TestRoot + "\\Values");
    std::uint32_t Type = REG_DWORD;
    std::vector<std::uint8_t> Data{1, 2, 3, 4};
    EXPECT_EQ(Port().QueryRegistryValue(Key, "viewertop", Type, Data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Port().DeleteRegistryValue(Key, "viewertop"), ERROR_FILE_NOT_FOUND);

    ASSERT_EQ(Port().SetRegistryValue(Key, "viewertop", REG_DWORD, Dword(7)), ERROR_SUCCESS);
    EXPECT_EQ(Port().DeleteRegistryValue(Key, "ViewerTop"), ERROR_SUCCESS);
    EXPECT_EQ(Port().QueryRegistryValue(Key, "viewertop", Type, Data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Port().DeleteRegistryValue(Key, "viewertop"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, SettingAgainReplacesTypeAndData)
{
    const TRegistryKey Key = Create(TestRoot + "\\Values");
    ASSERT_EQ(Port().SetRegistryValue(Key, "type", REG_DWORD, Dword(2)), ERROR_SUCCESS);
    ASSERT_EQ(Port().SetRegistryValue(Key, "TYPE", REG_SZ, Text("seven")), ERROR_SUCCESS);
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    ASSERT_EQ(Port().QueryRegistryValue(Key, "Type", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Type, REG_SZ);
    EXPECT_EQ(Data, Text("seven"));
}

TEST_F(RegistryTest, ValuesBelongToTheirKey)
{
    const TRegistryKey A = Create(TestRoot + "\\A");
    const TRegistryKey B = Create(TestRoot + "\\A\\B");
    ASSERT_EQ(Port().SetRegistryValue(A, "x", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    ASSERT_EQ(Port().SetRegistryValue(B, "x", REG_DWORD, Dword(2)), ERROR_SUCCESS);
    ASSERT_EQ(Port().SetRegistryValue(A, "", REG_DWORD, Dword(3)), ERROR_SUCCESS);
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    ASSERT_EQ(Port().QueryRegistryValue(A, "x", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Data, Dword(1));
    ASSERT_EQ(Port().QueryRegistryValue(B, "x", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Data, Dword(2));
    ASSERT_EQ(Port().QueryRegistryValue(A, "", Type, Data), ERROR_SUCCESS);
    EXPECT_EQ(Data, Dword(3));
    EXPECT_EQ(Port().QueryRegistryValue(B, "", Type, Data), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, ClosedAndInvalidHandlesAreRejected)
{
    const TRegistryKey Key = Create(TestRoot + "\\Values");
    ASSERT_EQ(Close(Key), ERROR_SUCCESS);
    EXPECT_EQ(Close(Key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Close(0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Close(0x7FFF0001), ERROR_INVALID_HANDLE);

    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    EXPECT_EQ(Port().QueryRegistryValue(Key, "x", Type, Data), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Port().SetRegistryValue(Key, "x", REG_DWORD, Dword(1)), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Port().DeleteRegistryValue(Key, "x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Port().SetRegistryValue(0, "x", REG_DWORD, Dword(1)), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, EveryOpenGivesItsOwnHandle)
{
    const TRegistryKey First = Create(TestRoot + "\\Values");
    TRegistryKey Second = 0;
    ASSERT_EQ(Open(TestRoot + "\\Values", Second), ERROR_SUCCESS);
    EXPECT_NE(First, Second);
    ASSERT_EQ(Close(First), ERROR_SUCCESS);
    // The other handle still works.
    EXPECT_EQ(Port().SetRegistryValue(Second, "x", REG_DWORD, Dword(1)), ERROR_SUCCESS);
}

} // namespace
