// The hex editor program's driver on X11: the program started as a child process on the case's
// server, its windows found by process id and title, keys sent with XTest.
#include "tests/e2e/ClockDriver.h"
#include "tests/e2e/HexEditDriver.h"
#include "tests/x11/X11TestSupport.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

#include <X11/keysym.h>

extern char** environ;

namespace {

class TX11HexEditDriver : public THexEditDriver, private TX11Observer
{
public:
    TX11HexEditDriver() { EXPECT_TRUE(OpenObserver()); }
    ~TX11HexEditDriver() override
    {
        if (FChild > 0) {
            kill(FChild, SIGKILL);
            waitpid(FChild, nullptr, 0);
        }
        CloseObserver();
    }

    void Start(const std::string& File) override
    {
        std::string Program = NIXIE_HEXEDIT, Argument = File;
        char* Argv[] = {Program.data(), Argument.data(), nullptr};
        ASSERT_EQ(posix_spawn(&FChild, Program.c_str(), nullptr, nullptr, Argv, environ), 0);
    }
    bool Running() override { return FChild > 0 && waitpid(FChild, nullptr, WNOHANG) == 0; }
    bool HasWindow(const std::string& Title) override { return WindowNamed(Title) != 0; }
    bool Focus(const std::string& Title) override
    {
        unsigned long Found = 0;
        if (!Eventually([&] { return (Found = WindowNamed(Title)) != 0; }))
            return false;
        XSetInputFocus(Observer, Found, RevertToParent, CurrentTime);
        XSync(Observer, False);
        return true;
    }
    void Press(TProgramKey Key) override
    {
        switch (Key) {
        case TProgramKey::Enter:
            return Stroke(XK_Return);
        case TProgramKey::Escape:
            return Stroke(XK_Escape);
        case TProgramKey::Tab:
            return Stroke(XK_Tab);
        case TProgramKey::F3:
            return Stroke(XK_F3);
        }
    }
    void Control(char Letter) override { Stroke(LetterKey(Letter), XK_Control_L); }
    void Alt(char Letter) override { Stroke(LetterKey(Letter), XK_Alt_L); }
    void Type(const std::string& Text) override
    {
        for (const char C : Text) {
            if (C >= 'A' && C <= 'Z')
                Stroke(LetterKey(C), XK_Shift_L);
            else
                Stroke(C == '/' ? XK_slash : C == '.' ? XK_period : C == '-' ? XK_minus : C);
        }
    }
    void CloseWindow(const std::string& Title) override
    {
        XEvent Close{};
        Close.xclient.type = ClientMessage;
        Close.xclient.window = WindowNamed(Title);
        Close.xclient.message_type = Intern("WM_PROTOCOLS");
        Close.xclient.format = 32;
        Close.xclient.data.l[0] = long(Intern("WM_DELETE_WINDOW"));
        Close.xclient.data.l[1] = CurrentTime;
        XSendEvent(Observer, Close.xclient.window, False, NoEventMask, &Close);
        XSync(Observer, False);
    }

private:
    // Latin-1 keysyms are the characters themselves; a letter's key is its small letter.
    static unsigned long LetterKey(char Letter) { return unsigned(Letter | 0x20); }
    void Stroke(unsigned long Keysym, unsigned long Held = 0)
    {
        if (Held)
            Key(Held, true);
        Key(Keysym, true);
        Key(Keysym, false);
        if (Held)
            Key(Held, false);
    }
    // The program's mapped top-level window of this title, or 0.
    unsigned long WindowNamed(const std::string& Title)
    {
        ::Window Root = 0, Parent = 0, *Children = nullptr;
        unsigned Count = 0;
        unsigned long Found = 0;
        XQueryTree(Observer, DefaultRootWindow(Observer), &Root, &Parent, &Children, &Count);
        for (unsigned I = 0; I < Count && !Found; ++I) {
            XWindowAttributes A{};
            const std::vector<long> Pid = ReadCardinals(Children[I], "_NET_WM_PID");
            if (Pid.size() == 1 && Pid[0] == FChild &&
                XGetWindowAttributes(Observer, Children[I], &A) && A.map_state == IsViewable &&
                ReadText(Children[I], "WM_NAME") == Title)
                Found = Children[I];
        }
        if (Children)
            XFree(Children);
        return Found;
    }

    pid_t FChild = -1;
};

} // namespace

std::unique_ptr<THexEditDriver> MakeHexEditDriver()
{
    return std::make_unique<TX11HexEditDriver>();
}
