// Test entry of the X11 port: every test runs on the real port, with a configuration folder of
// its own (so the registry, profiles and login items of the tests never touch the user's) and
// the display of $DISPLAY. Without a display the window tests skip and say so.
#include "platform/x11/X11Platform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Death tests run this again in a child that ends without cleaning up: it uses the folder
    // of the run that started it.
    const char* Inherited = std::getenv("NIXIE_X11_TEST_HOME");
    std::string Folder = Inherited ? Inherited : "";
    const bool Owned = Folder.empty();
    if (Owned) {
        char Template[] = "/tmp/nixie-x11-tests-XXXXXX";
        if (!mkdtemp(Template)) {
            std::perror("x11_tests: mkdtemp");
            return 1;
        }
        Folder = Template;
        setenv("NIXIE_X11_TEST_HOME", Template, 1);
    }
    setenv("XDG_CONFIG_HOME", Folder.c_str(), 1);
    int Result = 0;
    {
        TX11Platform Port;
        std::string Problem;
        if (!Port.OpenDisplay({}, Problem))
            std::fprintf(stderr, "x11_tests: no X display (%s): the window tests are skipped\n",
                         Problem.c_str());
        TPlatform::Set(&Port);
        Result = RUN_ALL_TESTS();
        TPlatform::Set(nullptr);
    }
    if (Owned) {
        std::error_code Ignored;
        std::filesystem::remove_all(Folder, Ignored);
    }
    return Result;
}
