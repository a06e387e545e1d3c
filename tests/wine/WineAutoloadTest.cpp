// Starting at login on Windows: the clock's Run value names this very executable, quoted, with
// -autominimize, and goes again when the option is off; the settings dialog's Auto-Load check box
// puts it there and takes it away, as the system's own reg tool reads it.
#include "app/Autoload.h"
#include "tests/e2e/ClockFixture.h"
#include "tests/wine/WineClockDriver.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace {

constexpr const wchar_t* RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* ValueName = L"QXRidivAzoza";

// The value's type and every stored character, the terminating zero included; none when missing.
std::optional<std::pair<DWORD, std::wstring>> RunValue()
{
    std::wstring Data(4096, L'\0');
    DWORD Type = REG_NONE;
    DWORD Size = static_cast<DWORD>(Data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, ValueName, RRF_RT_ANY | RRF_NOEXPAND, &Type,
                     Data.data(), &Size) != ERROR_SUCCESS)
        return std::nullopt;
    Data.resize(Size / sizeof(wchar_t));
    return std::pair{Type, Data};
}

TEST(WineAutoload, TheRunValueStartsThisExecutableAndGoesAgain)
{
    // Every Windows profile has the Run key; a new Wine prefix may lack it.
    HKEY Run = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &Run, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(Run);
    std::wstring Module(MAX_PATH * 4, L'\0');
    Module.resize(GetModuleFileNameW(nullptr, Module.data(), DWORD(Module.size())));
    ASSERT_FALSE(Module.empty());

    EXPECT_EQ(SetRunAtLogin(1, "QXRidivAzoza"), ERROR_SUCCESS);
    EXPECT_EQ(RunValue(), std::pair(DWORD(REG_SZ), L"\"" + Module + L"\" -autominimize" + L'\0'));
    EXPECT_EQ(SetRunAtLogin(0, "QXRidivAzoza"), ERROR_SUCCESS);
    EXPECT_EQ(RunValue(), std::nullopt);
    EXPECT_EQ(SetRunAtLogin(0, "QXRidivAzoza"), ERROR_SUCCESS) << "already gone is no error";
}

// What `reg query` of the clock's Run value prints, and its exit code; none when reg did not run
// or did not end.
struct TRegOutput
{
    DWORD ExitCode = 0;
    std::string Text;
};

std::optional<TRegOutput> QueryRunValue()
{
    SECURITY_ATTRIBUTES Inherit{sizeof Inherit, nullptr, TRUE};
    HANDLE Read = nullptr;
    HANDLE Write = nullptr;
    if (!CreatePipe(&Read, &Write, &Inherit, 0))
        return std::nullopt;
    SetHandleInformation(Read, HANDLE_FLAG_INHERIT, 0);
    std::wstring CommandLine =
        L"reg.exe query \"HKCU\\" + std::wstring(RunKeyPath) + L"\" /v " + ValueName;
    STARTUPINFOW Startup{};
    Startup.cb = sizeof Startup;
    Startup.dwFlags = STARTF_USESTDHANDLES;
    Startup.hStdOutput = Write;
    Startup.hStdError = Write;
    Startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION Info{};
    const bool Started = CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &Startup, &Info);
    CloseHandle(Write); // the pipe ends when reg's copy of it closes
    std::optional<TRegOutput> Result;
    if (Started) {
        // Its few lines fit in the pipe, so it ends without a reader; a reg that hangs is ended.
        if (WaitForSingleObject(Info.hProcess, 15000) == WAIT_OBJECT_0) {
            Result.emplace();
            char Buffer[4096];
            DWORD Got = 0;
            while (ReadFile(Read, Buffer, sizeof Buffer, &Got, nullptr) && Got > 0)
                Result->Text.append(Buffer, Got);
            GetExitCodeProcess(Info.hProcess, &Result->ExitCode);
        } else {
            TerminateProcess(Info.hProcess, 1);
        }
        CloseHandle(Info.hThread);
        CloseHandle(Info.hProcess);
    }
    CloseHandle(Read);
    return Result;
}

// The data of the value's REG_SZ line; none when reg lists no such line.
std::optional<std::string> RunValueData(const TRegOutput& Output)
{
    const std::string Name = "QXRidivAzoza";
    const std::string Type = "REG_SZ";
    std::size_t Line = 0;
    while (Line < Output.Text.size()) {
        std::size_t End = Output.Text.find('\n', Line);
        if (End == std::string::npos)
            End = Output.Text.size();
        std::string L = Output.Text.substr(Line, End - Line);
        Line = End + 1;
        while (!L.empty() && (L.back() == '\r' || L.back() == ' '))
            L.pop_back();
        const std::size_t At = L.find(Name);
        const std::size_t TypeAt = L.find(Type);
        if (At == std::string::npos || TypeAt == std::string::npos || TypeAt < At)
            continue;
        const std::size_t Data = L.find_first_not_of(' ', TypeAt + Type.size());
        return Data == std::string::npos ? "" : L.substr(Data);
    }
    return std::nullopt;
}

class WineAutoloadDialogTest : public ClockTest
{
protected:
    TStartup Startup() const override { return {{{"title", 0}, {"autoload", 0}}, true}; }
    void TearDown() override
    {
        ClockTest::TearDown();
        SetRunAtLogin(0, "QXRidivAzoza");
    }
    // Opens the settings, clicks Auto-Load and confirms.
    void ToggleAutoLoad()
    {
        const std::optional<TRect> Dialog = OpenSettings();
        ASSERT_TRUE(Dialog) << "no settings dialog appeared";
        ASSERT_TRUE(ClickSetting(*Dialog, "CheckBoxAutoLoad"));
        ASSERT_TRUE(ClickSetting(*Dialog, "ButtonOk"));
        ASSERT_TRUE(Driver->AwaitWindowGone("Clock Settings")) << "the dialog stays open";
    }
};

TEST_F(WineAutoloadDialogTest, TheCheckBoxWritesTheRunValueAndOkWithoutItRemovesIt)
{
    HKEY Run = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &Run, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(Run);
    ASSERT_EQ(SetRunAtLogin(0, "QXRidivAzoza"), ERROR_SUCCESS);
    std::string Executable;
    for (const wchar_t C : ClockExecutable())
        Executable += static_cast<char>(C); // the build's paths are ASCII
    const std::string Expected = "\"" + Executable + "\" -autominimize";

    ASSERT_NO_FATAL_FAILURE(ToggleAutoLoad());
    std::optional<TRegOutput> Output;
    EXPECT_TRUE(Eventually([&] {
        Output = QueryRunValue();
        return Output && Output->ExitCode == 0 && RunValueData(*Output) == Expected;
    })) << "reg shows "
        << (Output ? Output->Text : "nothing (it did not run)") << "\nnot " << Expected;

    ASSERT_NO_FATAL_FAILURE(ToggleAutoLoad());
    EXPECT_TRUE(Eventually([&] {
        Output = QueryRunValue();
        return Output && Output->ExitCode != 0 && !RunValueData(*Output);
    })) << "reg still shows "
        << (Output ? Output->Text : "nothing (it did not run)");
}

} // namespace
