// The Windows port's Open and Save As dialogs under Wine: the common dialog comes up with the
// title given, and a helper thread answers it as the user would (a name typed into the file name
// box, then OK or Cancel); the port returns the full UTF-8 path, or the cancel.
#include "platform/win32/Win32Platform.h"
#include "tests/support/CaseName.h"
#include "tests/support/ScratchFolder.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <windows.h>
// The control IDs of the common dialogs.
#include <dlgs.h>

namespace {

struct TFindDialog
{
    DWORD Thread;
    HWND Found = nullptr;
};

// Notes the first visible dialog-class window; the system's calling convention, which a lambda
// lacks on 32-bit Windows.
BOOL CALLBACK NoteFileDialog(HWND Wnd, LPARAM Data)
{
    wchar_t Class[16] = {};
    GetClassNameW(Wnd, Class, 16);
    if (std::wstring(Class) != L"#32770" || !IsWindowVisible(Wnd))
        return TRUE;
    reinterpret_cast<TFindDialog*>(Data)->Found = Wnd;
    return FALSE;
}

// The dialog among the top-level windows of the thread that runs it.
HWND FindFileDialog(DWORD Thread)
{
    TFindDialog Find{Thread};
    EnumThreadWindows(Thread, &NoteFileDialog, reinterpret_cast<LPARAM>(&Find));
    return Find.Found;
}

// The file name box: a combo box in the Explorer-style dialog of newer systems, an edit box in
// older ones.
HWND FileNameBox(HWND Dialog)
{
    for (int Id : {cmb13, edt1})
        if (HWND Box = GetDlgItem(Dialog, Id))
            return Box;
    return nullptr;
}

struct TNativeCase
{
    const char* Name;
    bool Save;
    std::string Typed; // UTF-8
    int Button;
    TFileDialogOutcome Outcome;
};

class Win32FileDialog : public testing::TestWithParam<TNativeCase>
{};

TEST_P(Win32FileDialog, TheAnswerTypedIntoTheDialogComesBack)
{
    const TNativeCase& C = GetParam();
    TScratchFolder Folder;
    Folder.Make("donn\xC3\xA9"
                "es.bin",
                {1, 2});
    std::atomic<bool> Answered = false;
    std::wstring Title;
    const DWORD Runner = GetCurrentThreadId();
    std::thread Helper([&] {
        // Up to half a minute for Wine to bring the dialog up; then give up and let the test fail.
        for (int Try = 0; Try < 600 && !Answered; ++Try) {
            HWND Dialog = FindFileDialog(Runner);
            HWND Box = Dialog ? FileNameBox(Dialog) : nullptr;
            if (!Box) {
                Sleep(50);
                continue;
            }
            wchar_t Text[64] = {};
            GetWindowTextW(Dialog, Text, 64);
            Title = Text;
            const int Length = MultiByteToWideChar(CP_UTF8, 0, C.Typed.c_str(), -1, nullptr, 0);
            std::wstring Typed(std::size_t(Length), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, C.Typed.c_str(), -1, Typed.data(), Length);
            SendMessageW(Box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Typed.c_str()));
            PostMessageW(Dialog, WM_COMMAND, MAKEWPARAM(C.Button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(Dialog, C.Button)));
            Answered = true;
        }
    });
    TFileDialogParams Params;
    Params.Save = C.Save;
    Params.Title = "Pick a file";
    Params.Folder = Folder.GetPath();
    const TFileDialogResult Result = TPlatform::Get().RunFileDialog(Params);
    Answered = true;
    Helper.join();
    EXPECT_EQ(Title, L"Pick a file");
    EXPECT_EQ(Result.Outcome, C.Outcome);
    if (C.Outcome == TFileDialogOutcome::Chosen) {
        std::error_code Code;
        // The same folder, however the system spells it.
        EXPECT_TRUE(std::filesystem::equivalent(Utf8Path(Result.Path).parent_path(),
                                                Utf8Path(Folder.GetPath()), Code))
            << Result.Path;
        EXPECT_EQ(Utf8Path(Result.Path).filename(), Utf8Path(C.Typed)) << Result.Path;
    } else {
        EXPECT_EQ(Result.Path, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32FileDialog,
                         testing::Values(TNativeCase{"OpenNonAsciiName", false,
                                                     "donn\xC3\xA9"
                                                     "es.bin",
                                                     IDOK, TFileDialogOutcome::Chosen},
                                         TNativeCase{"SaveNewName", true, "new.bin", IDOK,
                                                     TFileDialogOutcome::Chosen},
                                         TNativeCase{"Cancel", false,
                                                     "donn\xC3\xA9"
                                                     "es.bin",
                                                     IDCANCEL, TFileDialogOutcome::Cancelled}),
                         ByName{});

} // namespace
