// The program and the X connection as a whole: the executable's word when there is no display,
// and the end of the program when the server goes away.
#include "platform/x11/X11Display.h"
#include "tests/x11/X11TestSupport.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

struct TRun
{
    int ExitCode = -1;
    std::string Output; // stdout and stderr
};

// Runs the clock's executable with DISPLAY set to Display (unset when empty).
TRun RunClock(const std::string& Display)
{
    const std::string Command =
        (Display.empty() ? std::string("env -u DISPLAY ") : "env DISPLAY='" + Display + "' ") +
        "'" NIXIE_APP "' 2>&1";
    TRun Run;
    FILE* Pipe = popen(Command.c_str(), "r");
    if (!Pipe)
        return Run;
    std::array<char, 256> Buffer{};
    while (std::fgets(Buffer.data(), Buffer.size(), Pipe))
        Run.Output += Buffer.data();
    const int Ended = pclose(Pipe);
    Run.ExitCode = WIFEXITED(Ended) ? WEXITSTATUS(Ended) : -1;
    return Run;
}

TEST(X11Program, WithoutADisplaySaysWhatToDo)
{
    const TRun Unset = RunClock("");
    EXPECT_EQ(Unset.ExitCode, 2);
    EXPECT_EQ(Unset.Output, "nixie: cannot open the X display (DISPLAY is not set); set DISPLAY "
                            "or run under Xvfb\n");
    const TRun Nobody = RunClock(":1999");
    EXPECT_EQ(Nobody.ExitCode, 2);
    EXPECT_EQ(Nobody.Output, "nixie: cannot open the X display (\":1999\" does not answer); set "
                             "DISPLAY or run under Xvfb\n");
}

TEST_F(X11Test, WindowsWithoutListenersStillWork)
{
    TPlatformWindowParams Params;
    Params.Bounds = TRect::FromSize(10, 10, 40, 30);
    auto Window = X11Port().CreateNativeWindow(Params, nullptr);
    ShowAndWait(static_cast<TX11Window&>(*Window));
    MovePointer({20, 20});
    PointerButton(1, true);
    PointerButton(1, false);
    PumpPending();
    Window->Hide();
    EXPECT_TRUE(PumpUntil([&] { return !static_cast<TX11Window&>(*Window).IsMapped(); }));
}

TEST_F(X11Test, LosingTheServerEndsTheProgramWithAMessage)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    const std::string Name = DisplayString(Observer);
    EXPECT_EXIT(
        {
            TX11Platform Port;
            std::string Problem;
            if (!Port.OpenDisplay(Name, Problem))
                std::_Exit(3);
            TPlatformWindowParams Params;
            Params.Bounds = TRect::FromSize(0, 0, 10, 10);
            auto Window = Port.CreateNativeWindow(Params, nullptr);
            XSync(Port.GetDisplay()->Get(), False);
            // Another client makes the server drop our connection.
            _XDisplay* Other = XOpenDisplay(Name.c_str());
            XKillClient(Other, static_cast<TX11Window&>(*Window).GetXWindow());
            XSync(Other, False);
            for (;;)
                Port.WaitEvents(100);
        },
        testing::ExitedWithCode(1), "nixie: lost the connection to the X display");
}

} // namespace
