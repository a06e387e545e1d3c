// Finding the manual: the places in their order, the separators between folder and name,
// and the one message when there is no manual.
#include "app/Viewdoc.h"

#include "framework/stdctrls/MessageForm.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct TBox
{
    std::string Text;
    std::string Caption;
    unsigned Flags;
};
std::vector<TBox> Boxes;

int RecordBox(const std::string& Text, const std::string& Caption, unsigned Flags)
{
    Boxes.push_back({Text, Caption, Flags});
    return IDOK;
}

// Started in C:\Start with the executable in C:\Program\Nixie.exe; the files of each case exist.
class ViewdocTest : public HeadlessAppTest
{
protected:
    void SetUp() override
    {
        HeadlessAppTest::SetUp();
        Boxes.clear();
        TApplication::SetMessageBoxFunction(&RecordBox);
        Port().ClearShellOpens();
        Port().SetCurrentFolder("C:\\Start");
        Port().SetExecutablePath("C:\\Program\\Nixie.exe");
    }
    void TearDown() override
    {
        for (const std::string& File : Files)
            Port().RemoveFile(File);
        Port().SetCurrentFolder("C:\\Nixie");
        Port().SetExecutablePath("C:\\Nixie\\Nixie.exe");
        TApplication::SetMessageBoxFunction(&TMessageForm::Execute);
        HeadlessAppTest::TearDown();
    }
    void Have(const std::vector<std::string>& Paths)
    {
        Files = Paths;
        for (const std::string& File : Files)
            Port().AddFile(File);
    }
    std::vector<std::string> Files;
};

struct TSearchCase
{
    const char* Name;
    const char* FirstFolder;
    std::vector<std::string> Files;
    const char* Opened; // null: none
};

class ViewdocSearch : public ViewdocTest, public testing::WithParamInterface<TSearchCase>
{};

TEST_P(ViewdocSearch, OpensTheFirstCandidateThatExists)
{
    const TSearchCase& C = GetParam();
    Have(C.Files);
    const int Found = ViewDocumentation("divaduva", C.FirstFolder, 1);
    EXPECT_EQ(Found, C.Opened ? 1 : 0);
    EXPECT_EQ(Port().GetShellOpens(),
              C.Opened ? std::vector<std::string>{C.Opened} : std::vector<std::string>{});
    EXPECT_TRUE(Boxes.empty()); // quiet
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ViewdocSearch,
    testing::Values(
        TSearchCase{"HtmlBeforeHtm",
                    "C:\\Docs",
                    {"C:\\Docs\\divaduva.htm", "C:\\Docs\\divaduva.html"},
                    "C:\\Docs\\divaduva.html"},
        TSearchCase{"FirstFolderBeforeTheCurrentOne",
                    "C:\\Docs",
                    {"C:\\Start\\divaduva.html", "C:\\Docs\\divaduva.htm"},
                    "C:\\Docs\\divaduva.htm"},
        TSearchCase{"CurrentFolderBeforeTheExecutables",
                    "C:\\Docs",
                    {"C:\\Program\\divaduva.html", "C:\\Start\\divaduva.htm"},
                    "divaduva.htm"},
        TSearchCase{"OnlyBesideTheExecutable",
                    "C:\\Docs",
                    {"C:\\Program\\divaduva.htm"},
                    "C:\\Program\\divaduva.htm"},
        TSearchCase{"ExecutablesFolderBeforeTheInstalledPlace",
                    "C:\\Docs",
                    {"C:\\Program\\..\\share\\nixie\\divaduva.html", "C:\\Program\\divaduva.htm"},
                    "C:\\Program\\divaduva.htm"},
        TSearchCase{"InstalledPlaceLast",
                    "C:\\Docs",
                    {"C:\\Program\\..\\share\\nixie\\divaduva.htm"},
                    "C:\\Program\\..\\share\\nixie\\divaduva.htm"},
        TSearchCase{"FolderEndingInABackslash", "C:\\", {"C:\\divaduva.html"}, "C:\\divaduva.html"},
        TSearchCase{"FolderEndingInAColon", "D:", {"D:divaduva.html"}, "D:divaduva.html"},
        TSearchCase{"NoFirstFolder",
                    "",
                    {"\\divaduva.html", "C:\\Program\\divaduva.html"},
                    "C:\\Program\\divaduva.html"},
        TSearchCase{"Nowhere", "C:\\Docs", {"C:\\Docs\\divaduva.txt"}, nullptr}),
    ByName{});

TEST_F(ViewdocTest, AnExecutableAtADriveRootIsSearchedAtThatRoot)
{
    Port().SetExecutablePath("E:\\Nixie.exe");
    Have({"E:\\divaduva.html"});
    EXPECT_EQ(ViewDocumentation("divaduva", "C:\\Docs", 1), 1);
    EXPECT_EQ(Port().GetShellOpens(), std::vector<std::string>{"E:\\divaduva.html"});
}

TEST_F(ViewdocTest, AnInstalledLinuxProgramFindsItsManualInShareNixie)
{
    Port().SetExecutablePath("/usr/bin/nixie");
    Have({"/usr/bin/../share/nixie/divaduva.html"});
    EXPECT_EQ(ViewDocumentation("divaduva", "/home/user", 1), 1);
    EXPECT_EQ(Port().GetShellOpens(),
              std::vector<std::string>{"/usr/bin/../share/nixie/divaduva.html"});
}

TEST_F(ViewdocTest, AFileTheShellCannotOpenStillEndsTheSearchWithoutAMessage)
{
    Port().SetShellOpenResult(false);
    Have({"C:\\Docs\\divaduva.html"});
    EXPECT_EQ(ViewDocumentation("divaduva", "C:\\Docs", 0), 1);
    Port().SetShellOpenResult(true);
    EXPECT_EQ(Port().GetShellOpens().size(), 1u);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(ViewdocTest, NoManualSaysSoOnceUnlessQuiet)
{
    EXPECT_EQ(ViewDocumentation("divaduva", "C:\\Docs", 0), 0);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Unable to find documentation");
    EXPECT_EQ(Boxes[0].Caption, "error");
    EXPECT_EQ(Boxes[0].Flags, MB_OK);
    EXPECT_TRUE(Port().GetShellOpens().empty());
}

TEST(JoinPathTest, AddsABackslashOnlyWhereNoSeparatorEndsTheFolder)
{
    EXPECT_EQ(JoinPath("C:\\Docs", "a.html"), "C:\\Docs\\a.html");
    EXPECT_EQ(JoinPath("C:\\", "a.html"), "C:\\a.html");
    EXPECT_EQ(JoinPath("C:", "a.html"), "C:a.html");
    EXPECT_EQ(JoinPath("/usr/share/nixie/", "a.html"), "/usr/share/nixie/a.html");
    EXPECT_EQ(JoinPath("", "a.html"), "\\a.html");
}

} // namespace
