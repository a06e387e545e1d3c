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
    char Folder[] = "/tmp/nixie-x11-tests-XXXXXX";
    if (!mkdtemp(Folder)) {
        std::perror("x11_tests: mkdtemp");
        return 1;
    }
    setenv("XDG_CONFIG_HOME", Folder, 1);
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
    std::error_code Ignored;
    std::filesystem::remove_all(Folder, Ignored);
    return Result;
}
