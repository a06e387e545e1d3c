// The hex editor program as a Windows process of its own under Wine, driven by hardware keys
// (SendInput) as a user would: edits in both columns, undo and redo, find and find next, save,
// and the question on closing with changes.
#include "tests/e2e/ClockDriver.h"
#include "tests/support/ScratchFolder.h"
#include "tests/wine/PointerInput.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

// The build names the program by its Unix path, and Wine shows the Unix root as drive Z:.
std::wstring ProgramPath()
{
    std::wstring Path = L"Z:";
    for (const char C : std::string(NIXIE_HEXEDIT))
        Path += C == '/' ? L'\\' : wchar_t(static_cast<unsigned char>(C));
    return Path;
}

class WineHexEditProgramTest : public testing::Test
{
protected:
    void TearDown() override
    {
        ReleaseAllButtons();
        if (Process) {
            TerminateProcess(Process, 1);
            WaitForSingleObject(Process, 5000);
            CloseHandle(Process);
        }
    }

    void Start(const std::string& File)
    {
        const std::wstring Program = ProgramPath();
        std::wstring CommandLine = L"\"" + Program + L"\" \"";
        for (const char C : File)
            CommandLine += wchar_t(static_cast<unsigned char>(C));
        CommandLine += L"\"";
        STARTUPINFOW Startup{};
        Startup.cb = sizeof Startup;
        PROCESS_INFORMATION Info{};
        ASSERT_TRUE(CreateProcessW(Program.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &Startup, &Info))
            << GetLastError();
        Process = Info.hProcess;
        ProcessId = Info.dwProcessId;
        CloseHandle(Info.hThread);
    }
    bool Running() const { return WaitForSingleObject(Process, 0) == WAIT_TIMEOUT; }

    // The program's visible top-level window of this title, or null.
    HWND WindowNamed(const std::string& Title) const
    {
        struct TSearch
        {
            DWORD Pid;
            std::wstring Title;
            HWND Found;
        } Search{ProcessId, std::wstring(Title.begin(), Title.end()), nullptr};
        EnumWindows(
            [](HWND Wnd, LPARAM Data) -> BOOL {
                auto& S = *reinterpret_cast<TSearch*>(Data);
                DWORD Pid = 0;
                GetWindowThreadProcessId(Wnd, &Pid);
                wchar_t Text[256] = {};
                GetWindowTextW(Wnd, Text, 256);
                if (Pid == S.Pid && IsWindowVisible(Wnd) && S.Title == Text)
                    S.Found = Wnd;
                return S.Found == nullptr;
            },
            reinterpret_cast<LPARAM>(&Search));
        return Search.Found;
    }
    // Waits for the window of this title and brings it to the front, where keys go.
    HWND Focus(const std::string& Title)
    {
        HWND Found = nullptr;
        EXPECT_TRUE(Eventually([&] { return (Found = WindowNamed(Title)) != nullptr; }))
            << "no window \"" << Title << "\"";
        if (Found) {
            SetForegroundWindow(Found);
            EXPECT_TRUE(Eventually([&] { return IsForeground(Found); })) << Title;
            // Keys sent before the program has taken the activation may go nowhere.
            WaitForInputIdle(Process, 5000);
        }
        return Found;
    }

    void Press(unsigned short Key, std::initializer_list<unsigned short> Held = {})
    {
        for (const unsigned short H : Held)
            HoldKey(H, true);
        HoldKey(Key, true);
        HoldKey(Key, false);
        for (const unsigned short H : Held)
            HoldKey(H, false);
    }
    // Digits and letters, as their keys give them.
    void Type(const std::string& Text)
    {
        for (const char C : Text) {
            if (C >= 'a' && C <= 'z')
                Press(static_cast<unsigned short>(C - 32));
            else if (C >= 'A' && C <= 'Z')
                Press(static_cast<unsigned short>(C), {VK_SHIFT});
            else
                Press(static_cast<unsigned short>(C));
        }
    }
    std::string FileDiffers(const std::string& Path, const TBytes& Bytes)
    {
        if (Eventually([&] { return FileContents(Path) == Bytes; }))
            return "";
        const TBytes Now = FileContents(Path);
        std::string Diff = "size " + std::to_string(Now.size());
        for (std::size_t I = 0; I < std::min(Now.size(), Bytes.size()); ++I)
            if (Now[I] != Bytes[I])
                Diff += ", at " + std::to_string(I) + ": " + std::to_string(int(Now[I]));
        return Diff;
    }

    TScratchFolder Folder;
    HANDLE Process = nullptr;
    DWORD ProcessId = 0;
};

TEST_F(WineHexEditProgramTest, EditsUndoRedoFindAndSaveAsTyped)
{
    TBytes Bytes(64, ' ');
    for (const int At : {10, 30, 50})
        Bytes[At] = 'k', Bytes[At + 1] = 'o';
    const std::string Path = Folder.Make("data.bin", Bytes);
    Start(Path);
    ASSERT_NE(Focus("data.bin - Hex Editor"), nullptr);
    Type("41"); // the first byte, in the hex column
    ASSERT_NE(Focus("*data.bin - Hex Editor"), nullptr);
    Press(VK_TAB); // to the character column, on the second byte
    Type("Z");
    Press('Z', {VK_CONTROL}); // undo the Z
    Press('Z', {VK_CONTROL}); // and the 41
    Press('Y', {VK_CONTROL}); // redo the 41
    Press('F', {VK_CONTROL});
    Focus("Find");
    Type("KO");
    Press(VK_RETURN);
    // Keys typed before the dialog is gone would reach it, or the still disabled main window.
    ASSERT_TRUE(Eventually([&] { return WindowNamed("Find") == nullptr; }));
    Focus("*data.bin - Hex Editor");
    Type("X"); // at the first hit
    Press(VK_F3);
    Type("Y"); // at the second
    Press('S', {VK_CONTROL});
    TBytes Expected = Bytes;
    Expected[0] = 0x41;
    Expected[10] = 'X';
    Expected[30] = 'Y';
    EXPECT_EQ(FileDiffers(Path, Expected), "");
    EXPECT_TRUE(Eventually([&] { return WindowNamed("data.bin - Hex Editor") != nullptr; }));
}

TEST_F(WineHexEditProgramTest, ClosingWithChangesAsksAndCancelKeepsTheWindowAndASaveRefusedKeepsAll)
{
    const TBytes Bytes = RandomBytes(300, 7);
    const std::string Path = Folder.Make("data.bin", Bytes);
    Start(Path);
    const HWND Main = Focus("data.bin - Hex Editor");
    ASSERT_NE(Main, nullptr);
    Type("00");
    ASSERT_NE(Focus("*data.bin - Hex Editor"), nullptr);
    PostMessageW(Main, WM_CLOSE, 0, 0); // the close box
    ASSERT_NE(Focus("Hex Editor"), nullptr);
    Press(VK_ESCAPE);
    EXPECT_TRUE(Eventually([&] { return WindowNamed("Hex Editor") == nullptr; }));
    EXPECT_TRUE(Running());
    EXPECT_EQ(WindowNamed("*data.bin - Hex Editor"), Main);
    // A save the system refuses: the file became read-only meanwhile. (The system's Save As
    // dialog itself refuses a folder nobody may write, before the program sees the name.)
    namespace fs = std::filesystem;
    fs::permissions(Utf8Path(Path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    Focus("*data.bin - Hex Editor");
    Press('S', {VK_CONTROL});
    ASSERT_NE(Focus("Hex Editor"), nullptr); // the error
    Press(VK_RETURN);
    EXPECT_TRUE(Eventually([&] { return WindowNamed("Hex Editor") == nullptr; }));
    EXPECT_TRUE(Running());
    EXPECT_EQ(WindowNamed("*data.bin - Hex Editor"), Main);
    EXPECT_EQ(FileContents(Path), Bytes);
}

} // namespace
