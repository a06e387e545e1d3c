// The hex editor program's driver under Wine: the program started as a Windows process of its
// own, its windows found by process and title, keys sent as hardware input (SendInput).
#include "tests/e2e/ClockDriver.h"
#include "tests/e2e/HexEditDriver.h"
#include "tests/wine/PointerInput.h"

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

struct TSearch
{
    DWORD Pid;
    std::wstring Title;
    HWND Found;
};

// Notes the process's visible window of the title sought; the system's calling convention, which
// a lambda lacks on 32-bit Windows.
BOOL CALLBACK NoteWindow(HWND Wnd, LPARAM Data)
{
    auto& S = *reinterpret_cast<TSearch*>(Data);
    DWORD Pid = 0;
    GetWindowThreadProcessId(Wnd, &Pid);
    wchar_t Text[256] = {};
    GetWindowTextW(Wnd, Text, 256);
    if (Pid == S.Pid && IsWindowVisible(Wnd) && S.Title == Text)
        S.Found = Wnd;
    return S.Found == nullptr;
}

class TWineHexEditDriver : public THexEditDriver
{
public:
    ~TWineHexEditDriver() override
    {
        ReleaseAllButtons();
        if (FProcess) {
            TerminateProcess(FProcess, 1);
            WaitForSingleObject(FProcess, 5000);
            CloseHandle(FProcess);
        }
    }

    void Start(const std::string& File) override
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
        FProcess = Info.hProcess;
        FProcessId = Info.dwProcessId;
        CloseHandle(Info.hThread);
    }
    bool Running() override { return WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT; }
    bool HasWindow(const std::string& Title) override { return WindowNamed(Title) != nullptr; }
    bool Focus(const std::string& Title) override
    {
        HWND Found = nullptr;
        if (!Eventually([&] { return (Found = WindowNamed(Title)) != nullptr; }))
            return false;
        SetForegroundWindow(Found);
        const bool Front = Eventually([&] { return IsForeground(Found); });
        // Keys sent before the program has taken the activation may go nowhere.
        WaitForInputIdle(FProcess, 5000);
        return Front;
    }
    void Press(TProgramKey Key) override
    {
        switch (Key) {
        case TProgramKey::Enter:
            return Stroke(VK_RETURN);
        case TProgramKey::Escape:
            return Stroke(VK_ESCAPE);
        case TProgramKey::Tab:
            return Stroke(VK_TAB);
        case TProgramKey::F3:
            return Stroke(VK_F3);
        }
    }
    void Control(char Letter) override { Stroke(LetterKey(Letter), VK_CONTROL); }
    void Alt(char Letter) override { Stroke(LetterKey(Letter), VK_MENU); }
    void Type(const std::string& Text) override
    {
        for (const char C : Text) {
            if (C >= 'A' && C <= 'Z')
                Stroke(LetterKey(C), VK_SHIFT);
            else if (C >= 'a' && C <= 'z')
                Stroke(LetterKey(C));
            else
                Stroke(C == '/'   ? VK_OEM_2
                       : C == '.' ? VK_OEM_PERIOD
                       : C == '-' ? VK_OEM_MINUS
                                  : static_cast<unsigned short>(C));
        }
    }
    void CloseWindow(const std::string& Title) override
    {
        PostMessageW(WindowNamed(Title), WM_CLOSE, 0, 0);
    }

private:
    // A letter's virtual key is its capital.
    static unsigned short LetterKey(char Letter)
    {
        return static_cast<unsigned short>(Letter & ~0x20);
    }
    static void Stroke(unsigned short Key, unsigned short Held = 0)
    {
        if (Held)
            HoldKey(Held, true);
        HoldKey(Key, true);
        HoldKey(Key, false);
        if (Held)
            HoldKey(Held, false);
    }
    // The program's visible top-level window of this title, or null.
    HWND WindowNamed(const std::string& Title) const
    {
        TSearch Search{FProcessId, std::wstring(Title.begin(), Title.end()), nullptr};
        EnumWindows(&NoteWindow, reinterpret_cast<LPARAM>(&Search));
        return Search.Found;
    }

    HANDLE FProcess = nullptr;
    DWORD FProcessId = 0;
};

} // namespace

std::unique_ptr<THexEditDriver> MakeHexEditDriver()
{
    return std::make_unique<TWineHexEditDriver>();
}
