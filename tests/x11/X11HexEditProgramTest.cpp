// The hex editor program as a process of its own on a real server, driven by XTest keys as a
// user would: edits in both columns, undo and redo, find and find next, save, the question on
// closing with changes, and a save the system refuses.
#include "tests/support/ScratchFolder.h"
#include "tests/x11/X11TestSupport.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

#include <X11/keysym.h>

extern char** environ;

namespace {

class X11HexEditProgramTest : public X11Test
{
protected:
    void TearDown() override
    {
        if (Child > 0) {
            kill(Child, SIGKILL);
            waitpid(Child, nullptr, 0);
        }
        X11Test::TearDown();
    }

    // Starts the program on File, its output going to a log beside it.
    void Start(const std::string& File)
    {
        std::string Program = NIXIE_HEXEDIT, Argument = File;
        char* Argv[] = {Program.data(), Argument.data(), nullptr};
        posix_spawn_file_actions_t Files;
        posix_spawn_file_actions_init(&Files);
        const std::string Log = Folder / "hexedit.log";
        posix_spawn_file_actions_addopen(&Files, 1, Log.c_str(), O_WRONLY | O_CREAT, 0600);
        posix_spawn_file_actions_adddup2(&Files, 1, 2);
        ASSERT_EQ(posix_spawn(&Child, Program.c_str(), &Files, nullptr, Argv, environ), 0);
        posix_spawn_file_actions_destroy(&Files);
    }
    bool Running() const { return Child > 0 && waitpid(Child, nullptr, WNOHANG) == 0; }

    // Waits for Done, a generous bound against hanging.
    static bool WaitUntil(const std::function<bool()>& Done)
    {
        for (int I = 0; I < 500; ++I) {
            if (Done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return Done();
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
            if (Pid.size() == 1 && Pid[0] == Child &&
                XGetWindowAttributes(Observer, Children[I], &A) && A.map_state == IsViewable &&
                ReadText(Children[I], "WM_NAME") == Title)
                Found = Children[I];
        }
        if (Children)
            XFree(Children);
        return Found;
    }
    // Waits for the window of this title and gives it the keyboard, as a window manager would.
    unsigned long Focus(const std::string& Title)
    {
        unsigned long Found = 0;
        EXPECT_TRUE(WaitUntil([&] { return (Found = WindowNamed(Title)) != 0; }))
            << "no window \"" << Title << "\"";
        if (Found) {
            XSetInputFocus(Observer, Found, RevertToParent, CurrentTime);
            XSync(Observer, False);
        }
        return Found;
    }

    void Press(unsigned long Keysym, std::initializer_list<unsigned long> Held = {})
    {
        for (const unsigned long H : Held)
            Key(H, true);
        Key(Keysym, true);
        Key(Keysym, false);
        for (const unsigned long H : Held)
            Key(H, false);
    }
    void Type(const std::string& Text)
    {
        for (const char C : Text) {
            const bool Upper = C >= 'A' && C <= 'Z';
            const unsigned long Sym =
                C == '/'   ? XK_slash
                : C == '.' ? XK_period
                : C == '-' ? XK_minus
                           : XStringToKeysym(std::string(1, Upper ? C + 32 : C).c_str());
            if (Upper)
                Press(Sym, {XK_Shift_L});
            else
                Press(Sym);
        }
    }
    // Waits for the file to hold Bytes; the differing offsets, as found, when it does not.
    std::string FileDiffers(const std::string& Path, const TBytes& Bytes)
    {
        if (WaitUntil([&] { return FileContents(Path) == Bytes; }))
            return "";
        const TBytes Now = FileContents(Path);
        std::string Diff = "size " + std::to_string(Now.size());
        for (std::size_t I = 0; I < std::min(Now.size(), Bytes.size()); ++I)
            if (Now[I] != Bytes[I])
                Diff += ", at " + std::to_string(I) + ": " + std::to_string(int(Now[I]));
        return Diff;
    }

    TScratchFolder Folder;
    pid_t Child = -1;
};

TEST_F(X11HexEditProgramTest, EditsUndoRedoFindAndSaveAsTyped)
{
    TBytes Bytes(64, ' ');
    for (const int At : {10, 30, 50})
        Bytes[At] = 'k', Bytes[At + 1] = 'o';
    const std::string Path = Folder.Make("data.bin", Bytes);
    Start(Path);
    const unsigned long Main = Focus("data.bin - Hex Editor");
    ASSERT_NE(Main, 0u);
    Type("41"); // the first byte, in the hex column
    ASSERT_NE(Focus("*data.bin - Hex Editor"), 0u);
    Press(XK_Tab); // to the character column, on the second byte
    Type("Z");
    Press(XK_z, {XK_Control_L}); // undo the Z
    Press(XK_z, {XK_Control_L}); // and the 41
    Press(XK_y, {XK_Control_L}); // redo the 41
    Press(XK_f, {XK_Control_L});
    Focus("Find");
    Type("KO");
    Press(XK_Return);
    // Keys typed before the dialog is gone would reach it, or the still disabled main window.
    ASSERT_TRUE(WaitUntil([&] { return WindowNamed("Find") == 0; }));
    Focus("*data.bin - Hex Editor");
    Type("X"); // at the first hit
    Press(XK_F3);
    Type("Y"); // at the second
    Press(XK_s, {XK_Control_L});
    TBytes Expected = Bytes;
    Expected[0] = 0x41;
    Expected[10] = 'X';
    Expected[30] = 'Y';
    EXPECT_EQ(FileDiffers(Path, Expected), "");
    EXPECT_TRUE(WaitUntil([&] { return WindowNamed("data.bin - Hex Editor") == Main; }));
}

TEST_F(X11HexEditProgramTest, ClosingWithChangesAsksAndCancelKeepsTheWindowAndASaveRefusedKeepsAll)
{
    const TBytes Bytes = RandomBytes(300, 7);
    const std::string Path = Folder.Make("data.bin", Bytes);
    Start(Path);
    const unsigned long Main = Focus("data.bin - Hex Editor");
    ASSERT_NE(Main, 0u);
    Type("00");
    Focus("*data.bin - Hex Editor");
    // The close box, as the window manager reports it.
    XEvent Close{};
    Close.xclient.type = ClientMessage;
    Close.xclient.window = Main;
    Close.xclient.message_type = Intern("WM_PROTOCOLS");
    Close.xclient.format = 32;
    Close.xclient.data.l[0] = long(Intern("WM_DELETE_WINDOW"));
    Close.xclient.data.l[1] = CurrentTime;
    XSendEvent(Observer, Main, False, NoEventMask, &Close);
    XSync(Observer, False);
    ASSERT_NE(Focus("Hex Editor"), 0u); // the question
    Press(XK_Escape);
    EXPECT_TRUE(WaitUntil([&] { return WindowNamed("Hex Editor") == 0; }));
    EXPECT_TRUE(Running());
    EXPECT_EQ(WindowNamed("*data.bin - Hex Editor"), Main);
    // Save As, by the menu's keys, into a folder nobody may create files in (/sys refuses even
    // the administrator, whom permission bits would not stop).
    Focus("*data.bin - Hex Editor");
    Press(XK_f, {XK_Alt_L});
    Type("a");
    ASSERT_NE(Focus("Save As"), 0u);
    Press(XK_a, {XK_Control_L});
    Type("/sys/data.bin");
    Press(XK_Return);
    ASSERT_TRUE(WaitUntil([&] { return WindowNamed("Save As") == 0; }));
    ASSERT_NE(Focus("Hex Editor"), 0u); // the error
    Press(XK_Return);
    EXPECT_TRUE(WaitUntil([&] { return WindowNamed("Hex Editor") == 0; }));
    EXPECT_TRUE(Running());
    EXPECT_EQ(WindowNamed("*data.bin - Hex Editor"), Main);
    EXPECT_EQ(FileContents(Path), Bytes);
}

} // namespace
