// Private profile files of the installed port: the headless port's model on the build machine,
// GetPrivateProfileString and WritePrivateProfileString under Wine.
#include "platform/Platform.h"
#include "tests/platform/PortSupport.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

namespace {

TPlatform& Port()
{
    return TPlatform::Get();
}

class ProfileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        File = GetScratchFolder() + "\\nixie-profile-test.ini";
        RemoveScratchFile(File);
    }
    void TearDown() override { RemoveScratchFile(File); }
    std::string File;
};

TEST_F(ProfileTest, MissingFileGivesTheDefault)
{
    EXPECT_EQ(Port().ReadProfileEntry(File, "QXRidivAzoza", "type", "3"), "3");
    EXPECT_FALSE(Port().FileExists(File));
}

TEST_F(ProfileTest, WrittenEntriesReadBackWithoutRegardToCase)
{
    ASSERT_TRUE(Port().WriteProfileEntry(File, "QXRidivAzoza", "viewertop", "-5"));
    ASSERT_TRUE(Port().WriteProfileEntry(File, "QXRidivAzoza", "type", "2"));
    EXPECT_TRUE(Port().FileExists(File));
    EXPECT_EQ(Port().ReadProfileEntry(File, "QXRidivAzoza", "viewertop", "0"), "-5");
    EXPECT_EQ(Port().ReadProfileEntry(File, "qxridivazoza", "VIEWERTOP", "0"), "-5");
    EXPECT_EQ(Port().ReadProfileEntry(File, "QXRidivAzoza", "type", "0"), "2");
    EXPECT_EQ(Port().ReadProfileEntry(File, "QXRidivAzoza", "title", "1"), "1");
    EXPECT_EQ(Port().ReadProfileEntry(File, "Other", "type", "0"), "0");
}

TEST_F(ProfileTest, WritingAgainReplacesTheEntryOfItsSectionOnly)
{
    ASSERT_TRUE(Port().WriteProfileEntry(File, "One", "key", "first"));
    ASSERT_TRUE(Port().WriteProfileEntry(File, "Two", "key", "second"));
    ASSERT_TRUE(Port().WriteProfileEntry(File, "ONE", "KEY", "third"));
    EXPECT_EQ(Port().ReadProfileEntry(File, "One", "key", ""), "third");
    EXPECT_EQ(Port().ReadProfileEntry(File, "Two", "key", ""), "second");
}

struct TTextCase
{
    const char* Written;
    const char* Read;
};

class ProfileTextTest : public ProfileTest, public testing::WithParamInterface<TTextCase>
{};

TEST_P(ProfileTextTest, ReadsAsGetPrivateProfileStringDoes)
{
    ASSERT_TRUE(Port().WriteProfileEntry(File, "Section", "Key", GetParam().Written));
    EXPECT_EQ(Port().ReadProfileEntry(File, "Section", "Key", "default"), GetParam().Read);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProfileTextTest,
    testing::Values(TTextCase{"42", "42"}, TTextCase{"", ""}, TTextCase{"  spaced  ", "spaced"},
                    TTextCase{"\"quoted\"", "quoted"},
                    TTextCase{"C:\\Program Files\\x.htm", "C:\\Program Files\\x.htm"},
                    TTextCase{"Zeit \xC3\xBC \xE6\x99\x82", "Zeit \xC3\xBC \xE6\x99\x82"}),
    [](const testing::TestParamInfo<TTextCase>& I) { return NumberedName(I, I.param.Written); });

TEST_F(ProfileTest, LineBreaksAreRefusedSoNoOtherEntryCanBePlanted)
{
    ASSERT_TRUE(Port().WriteProfileEntry(File, "Section", "Key", "kept"));
    for (const char* Bad : {"1\n[Other]\nplanted=1", "1\rplanted=1", "1\r\nplanted=1"}) {
        EXPECT_FALSE(Port().WriteProfileEntry(File, "Section", "Key", Bad)) << Bad;
        EXPECT_FALSE(Port().WriteProfileEntry(File, "Section", Bad, "1")) << Bad;
        EXPECT_FALSE(Port().WriteProfileEntry(File, Bad, "Key", "1")) << Bad;
    }
    EXPECT_EQ(Port().ReadProfileEntry(File, "Section", "Key", ""), "kept");
    EXPECT_EQ(Port().ReadProfileEntry(File, "Section", "planted", "none"), "none");
    EXPECT_EQ(Port().ReadProfileEntry(File, "Other", "planted", "none"), "none");
}

TEST_F(ProfileTest, DefaultLosesTrailingBlanks)
{
    EXPECT_EQ(Port().ReadProfileEntry(File, "Section", "Missing", "  def  "), "  def");
}

TEST_F(ProfileTest, FileNamesMayHoldAnyCharacter)
{
    const std::string Other = GetScratchFolder() + "\\nixie \xC3\xBC\xE6\x99\x82.ini";
    RemoveScratchFile(Other);
    ASSERT_TRUE(Port().WriteProfileEntry(Other, "S", "K", "V"));
    EXPECT_TRUE(Port().FileExists(Other));
    EXPECT_EQ(Port().ReadProfileEntry(Other, "S", "K", ""), "V");
    RemoveScratchFile(Other);
    EXPECT_FALSE(Port().FileExists(Other));
}

} // namespace
