// The context menu's Users Manual on X11: the manual in the folder the clock started in goes to
// xdg-open (a recording stand-in first on the PATH) as one argument, spaces and all; an installed
// clock finds it in share/nixie/; with no manual anywhere, a message box titled "error" says so
// and Enter closes it.
#include "platform/posix/PosixFiles.h"
#include "tests/e2e/ClockFixture.h"
#include "tests/x11/X11ClockDriver.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class X11ClockManualTest : public ClockTest
{
protected:
    void BeforeStart() override
    {
        std::string Template = (fs::temp_directory_path() / "nixie-manual-XXXXXX").string();
        ASSERT_NE(mkdtemp(Template.data()), nullptr);
        Root = Template;
        StartFolder = Root / "start folder";
        const fs::path Bin = Root / "bin";
        fs::create_directories(StartFolder);
        fs::create_directories(Bin);
        Record = Root / "xdg-open.args";
        // Its argument count, then each argument on a line; renamed into place when whole.
        const fs::path Script = Bin / "xdg-open";
        std::ofstream(Script)
            << "#!/bin/sh\n"
            << "{ echo \"$#\"; for A in \"$@\"; do printf '%s\\n' \"$A\"; done; } >"
            << " '" << Record.string() << ".part'\n"
            << "mv '" << Record.string() << ".part' '" << Record.string() << "'\n";
        fs::permissions(Script, fs::perms::owner_all);
        // The build puts the manual beside its clock: a case without one runs a copy of the
        // clock (and its font module) from a folder of its own, an installed one from bin/ with
        // the module in lib/nixie/ and the manual in share/nixie/.
        std::string Program;
        const fs::path Build = fs::path(NIXIE_APP).parent_path();
        if (GetLayout() == TLayout::Alone) {
            const fs::path Alone = Root / "clock";
            fs::create_directories(Alone);
            for (const char* File : {"nixie", "nixie-fonts.so"})
                fs::copy_file(Build / File, Alone / File);
            Program = (Alone / "nixie").string();
        } else if (GetLayout() == TLayout::Installed) {
            for (const char* Folder : {"bin", "lib/nixie", "share/nixie"})
                fs::create_directories(Root / "usr" / Folder);
            fs::copy_file(Build / "nixie", Root / "usr/bin/nixie");
            fs::copy_file(Build / "nixie-fonts.so", Root / "usr/lib/nixie/nixie-fonts.so");
            fs::copy_file(Build / "divaduva.html", Root / "usr/share/nixie/divaduva.html");
            Program = (Root / "usr/bin/nixie").string();
        }
        const char* Path = std::getenv("PATH");
        SetLaunchOf(*Driver, StartFolder.string(),
                    {"PATH=" + Bin.string() + (Path ? std::string(":") + Path : "")}, Program);
    }

    enum class TLayout
    {
        Build,    // the build's clock, its manual beside it
        Alone,    // a copy of the clock without a manual
        Installed // bin/nixie, lib/nixie/nixie-fonts.so, share/nixie/divaduva.html
    };
    virtual TLayout GetLayout() const { return TLayout::Build; }

    void TearDown() override
    {
        ClockTest::TearDown();
        std::error_code Ignored;
        if (!Root.empty())
            fs::remove_all(Root, Ignored);
    }

    fs::path Root;
    fs::path StartFolder;
    fs::path Record;
};

TEST_F(X11ClockManualTest, TheManualInTheStartFolderGoesToXdgOpenAsOneArgument)
{
    const fs::path Manual = StartFolder / "divaduva.html";
    std::ofstream(Manual) << "<html></html>\n";
    ASSERT_TRUE(ChooseFromTheMenu("UsersManual1"));
    std::optional<std::string> Arguments;
    ASSERT_TRUE(Eventually([&] {
        return (Arguments = ReadWholeFile(Record.string())).has_value();
    })) << "xdg-open was not run; the clock said: "
        << Driver->Describe();
    EXPECT_EQ(*Arguments, "1\n" + fs::canonical(Manual).string() + "\n");
}

class X11ClockNoManualTest : public X11ClockManualTest
{
protected:
    TLayout GetLayout() const override { return TLayout::Alone; }
};

class X11ClockInstalledManualTest : public X11ClockManualTest
{
protected:
    TLayout GetLayout() const override { return TLayout::Installed; }
};

TEST_F(X11ClockInstalledManualTest, AnInstalledClockOpensTheManualInShareNixie)
{
    ASSERT_TRUE(ChooseFromTheMenu("UsersManual1"));
    std::optional<std::string> Arguments;
    ASSERT_TRUE(Eventually([&] {
        return (Arguments = ReadWholeFile(Record.string())).has_value();
    })) << "xdg-open was not run; the clock said: "
        << Driver->Describe();
    ASSERT_EQ(Arguments->substr(0, 2), "1\n");
    const fs::path Opened = Arguments->substr(2, Arguments->size() - 3);
    EXPECT_EQ(fs::canonical(Opened), fs::canonical(Root / "usr/share/nixie/divaduva.html"));
}

TEST_F(X11ClockNoManualTest, WithNoManualAnywhereAMessageBoxSaysSo)
{
    // Neither the start folder (which is also the current one) nor the clock's has one.
    ASSERT_TRUE(fs::exists(fs::path(NIXIE_APP).parent_path() / "divaduva.html"));
    ASSERT_TRUE(ChooseFromTheMenu("UsersManual1"));
    const std::optional<TRect> Box = Driver->AwaitWindow("error");
    ASSERT_TRUE(Box) << "no message box came";
    EXPECT_FALSE(fs::exists(Record)) << "xdg-open was run";
    ASSERT_TRUE(Driver->PressKey(TKey::Enter));
    EXPECT_TRUE(Driver->AwaitWindowGone("error")) << "Enter does not close the message box";
}

} // namespace
