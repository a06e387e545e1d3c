#include "platform/win32/Win32FileDialog.h"

#include "platform/win32/WideString.h"

#include <algorithm>
#include <windows.h>
// The common dialogs and their error codes need the types of <windows.h> declared first.
#include <cderr.h>
#include <commdlg.h>

namespace {
// The longest path Windows knows, in UTF-16 code units, with its terminating NUL.
constexpr std::size_t PathBufferSize = 32768;

// The filter list as the dialog reads it: description and patterns, each ended by a NUL, and one
// NUL more after the last pair.
std::wstring FilterList(const TFileDialogParams& Params)
{
    std::wstring List;
    for (const auto& [Description, Patterns] : Params.Filters) {
        if (Patterns.empty())
            continue;
        List += Utf8ToWide(Description.empty() ? Patterns : Description);
        List += L'\0';
        List += Utf8ToWide(Patterns);
        List += L'\0';
    }
    if (List.empty())
        List = std::wstring(L"All files (*.*)\0*.*\0", 20);
    return List + L'\0';
}

// A NUL inside would cut the text where the system reads it: keep what comes before.
std::wstring Terminated(const std::string& Utf8)
{
    std::wstring Text = Utf8ToWide(Utf8);
    Text.resize(std::min(Text.size(), Text.find(L'\0')));
    return Text;
}
} // namespace

TFileDialogResult RunWin32FileDialog(const TFileDialogParams& Params, void* Owner)
{
    const std::wstring Filters = FilterList(Params);
    const std::wstring Title = Terminated(Params.Title);
    const std::wstring Folder = Terminated(Params.Folder);
    std::wstring Name = Terminated(Params.FileName);
    for (int Attempt = 0;; ++Attempt) {
        std::wstring Buffer(PathBufferSize, L'\0');
        // A preset name longer than the buffer could never be answered in it: start empty.
        if (Name.size() < PathBufferSize)
            Buffer.replace(0, Name.size(), Name);
        OPENFILENAMEW Ofn{};
        Ofn.lStructSize = sizeof(Ofn);
        Ofn.hwndOwner = static_cast<HWND>(Owner);
        Ofn.lpstrFilter = Filters.c_str();
        Ofn.nFilterIndex = 1;
        Ofn.lpstrFile = Buffer.data();
        Ofn.nMaxFile = DWORD(Buffer.size());
        Ofn.lpstrInitialDir = Folder.empty() ? nullptr : Folder.c_str();
        Ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
        // A save is not tried out by the dialog (which would make and delete a file in the
        // folder): the caller's own write says why it failed and leaves the old file whole.
        Ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER |
                    (Params.Save ? OFN_OVERWRITEPROMPT | OFN_NOTESTFILECREATE : OFN_FILEMUSTEXIST);
        const BOOL Chosen = Params.Save ? GetSaveFileNameW(&Ofn) : GetOpenFileNameW(&Ofn);
        if (Chosen) {
            Buffer.resize(Buffer.find(L'\0'));
            return {TFileDialogOutcome::Chosen, WideToUtf8(Buffer)};
        }
        const DWORD Error = CommDlgExtendedError();
        if (Error == 0)
            return {TFileDialogOutcome::Cancelled, {}};
        // The system refuses a preset name it cannot parse before the dialog shows: drop it and
        // let the user type one.
        if (Error == FNERR_INVALIDFILENAME && Attempt == 0 && !Name.empty()) {
            Name.clear();
            continue;
        }
        return {TFileDialogOutcome::NoNativeDialog, {}};
    }
}
