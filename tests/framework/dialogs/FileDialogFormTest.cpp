// The framework's own Open and Save As dialog, driven by keys and clicks in a folder of the
// test's: moving between folders, hidden files, choosing by list, by name and by path, and the
// boxes that refuse a missing file or ask before replacing one.
#include "framework/dialogs/FileDialogForm.h"

#include "base/Utf8.h"
#include "framework/dialogs/OpenDialog.h"
#include "framework/dialogs/SaveDialog.h"
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/Edit.h"
#include "framework/stdctrls/ListView.h"
#include "framework/stdctrls/MessageForm.h"
#include "framework/windows/Screen.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScratchFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

// A step of a script run while the dialog is up: "=text" types text, "Enter", "Esc", "Tab",
// "Back", "Down" press a key, "dbl:NAME" double-clicks the item NAME, "box:CAPTION" notes the
// message box's text and clicks its button, "look" notes the folder and both lists, "rm:NAME"
// removes a folder behind the dialog's back. "@" stands for the test's folder in typed text and
// in the notes.
struct TDialogCase
{
    const char* Name;
    bool Save;
    std::vector<std::string> Script;
    std::string Chosen; // relative to the test's folder; empty when the dialog is cancelled
    std::vector<std::string> Notes;
};

const std::map<std::string, unsigned> Keys = {{"Enter", VK_RETURN}, {"Esc", VK_ESCAPE},
                                              {"Tab", VK_TAB},      {"Back", VK_BACK},
                                              {"Down", VK_DOWN},    {"End", VK_END}};

class FileDialogForm : public HeadlessAppTest, public testing::WithParamInterface<TDialogCase>
{
protected:
    void SetUp() override
    {
        RegisterStandardControls();
        HeadlessAppTest::SetUp();
        for (const char* Name : {"b.txt", "A.bin", ".hidden",
                                 "\xC3\xBCn\xC3\xAF"
                                 "code.txt",
                                 "sub/inner.dat", "Zeta/z", ".secret/s"}) {
            std::filesystem::create_directories(
                Utf8Path(Folder / Name).parent_path()); // folders come with their files
            Folder.Make(Name, {1});
        }
    }

    // The form on top: a message box over the dialog, or the dialog.
    static TForm* Top()
    {
        TForm* Found = nullptr;
        for (TForm* F : Screen().GetForms())
            if (F->GetVisible() && (!Found || dynamic_cast<TMessageForm*>(F)))
                Found = F;
        return Found;
    }
    std::string Relative(const std::string& Path) const
    {
        return std::filesystem::relative(Utf8Path(Path), Utf8Path(Folder.GetPath()))
            .generic_string();
    }
    static std::string Joined(const std::vector<std::string>& Parts)
    {
        std::string S;
        for (const std::string& P : Parts)
            S += (S.empty() ? "" : ", ") + P;
        return S;
    }
    static std::vector<std::string> Captions(TListView* List)
    {
        std::vector<std::string> Names;
        for (int I = 0; I < List->GetItems()->GetCount(); ++I)
            Names.push_back((*List->GetItems())[I]->GetCaption());
        return Names;
    }
    void Step(const std::string& S)
    {
        TForm* Form = Top();
        auto* Dialog = dynamic_cast<TFileDialogForm*>(Form);
        if (S.starts_with("box:")) {
            auto* Box = dynamic_cast<TMessageForm*>(Form);
            if (!Box) {
                Notes.push_back("no box");
                return;
            }
            std::string Text;
            for (const std::string& L : Box->GetLines())
                Text += (Text.empty() ? "" : " ") + L;
            // The test's folder differs from run to run.
            if (const std::size_t At = Text.find(Folder.GetPath()); At != std::string::npos)
                Text.replace(At, Folder.GetPath().size(), "@");
            Notes.push_back(Text);
            for (TButton* B : Box->GetButtons())
                if (B->GetCaption() == S.substr(4)) {
                    const TPoint P{B->GetLeft() + 5, B->GetTop() + 5};
                    WM().HandleMouse(Box->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, P);
                    WM().HandleMouse(Box->GetHandle(), WM_LBUTTONUP, 0, P);
                }
        } else if (!Dialog) {
            Notes.push_back("no dialog for " + S);
        } else if (S == "look") {
            const std::string Selected =
                Dialog->GetFolderList()->GetSelected()
                    ? " [" + Dialog->GetFolderList()->GetSelected()->GetCaption() + "]"
                    : "";
            Notes.push_back(Relative(Dialog->GetPathBox()->GetText()) + ": " +
                            Joined(Captions(Dialog->GetFolderList())) + Selected + " | " +
                            Joined(Captions(Dialog->GetFileList())));
        } else if (S.starts_with("rm:")) {
            std::filesystem::remove_all(Utf8Path(Folder / S.substr(3)));
        } else if (S.starts_with("dbl:")) {
            for (TListView* List : {Dialog->GetFolderList(), Dialog->GetFileList()}) {
                const std::vector<std::string> Names = Captions(List);
                const auto It = std::find(Names.begin(), Names.end(), S.substr(4));
                if (It == Names.end())
                    continue;
                const TRect R = List->GetItemRect(int(It - Names.begin()));
                const TPoint P =
                    List->ClientToScreen({R.Left + 5, R.Top + 3}) - Dialog->ClientToScreen({0, 0});
                for (UINT Msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                    WM().HandleMouse(Dialog->GetHandle(), Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                                     P);
            }
        } else if (S.starts_with("=")) {
            std::string Text = S.substr(1);
            if (Text.starts_with("@"))
                Text = Folder.GetPath() + Text.substr(1);
            for (char32_t C : DecodeUtf8(Text))
                WM().HandleChar(Dialog->GetHandle(), C);
        } else {
            WM().HandleKey(Dialog->GetHandle(), WM_KEYDOWN, Keys.at(S), 0);
            WM().HandleKey(Dialog->GetHandle(), WM_KEYUP, Keys.at(S), 0);
        }
    }
    // Runs the dialog through Script; true when it chose a file, whose path is in Chosen.
    bool Run(TOpenDialog& Dialog, const std::vector<std::string>& Script)
    {
        int Delay = 10;
        for (const std::string& S : Script)
            Port().QueueEvent([this, S] { Step(S); }, Delay += 10);
        Dialog.SetInitialDir(Folder.GetPath());
        return Dialog.Execute();
    }

    TScratchFolder Folder;
    std::vector<std::string> Notes;
};

const std::string Root = ".: .., sub, Zeta | A.bin, b.txt, \xC3\xBCn\xC3\xAF"
                         "code.txt";

TEST_P(FileDialogForm, ScriptEndsWithTheFileChosen)
{
    const TDialogCase& C = GetParam();
    TOpenDialog Open(nullptr);
    TSaveDialog Save(nullptr);
    TOpenDialog& Dialog = C.Save ? Save : Open;
    const bool Chosen = Run(Dialog, C.Script);
    EXPECT_EQ(Notes, C.Notes);
    EXPECT_EQ(Chosen, !C.Chosen.empty());
    if (Chosen) {
        EXPECT_EQ(Relative(Dialog.GetFileName()), C.Chosen);
        EXPECT_TRUE(Utf8Path(Dialog.GetFileName()).is_absolute());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileDialogForm,
    testing::Values(
        TDialogCase{"HiddenFilesAreLeftOutAndEscCancels", false, {"look", "Esc"}, "", {Root}},
        TDialogCase{"EnterGoesIntoAFolderAndBackspaceUp",
                    false,
                    {"Tab", "Tab", "Down", "Down", "Enter", "look", "Back", "look", "Esc"},
                    "",
                    {"sub: .. | inner.dat", ".: .., sub, Zeta [sub] | A.bin, b.txt, "
                                            "\xC3\xBCn\xC3\xAF"
                                            "code.txt"}},
        TDialogCase{"DotDotGoesUp",
                    false,
                    {"=sub", "Enter", "Tab", "Tab", "Down", "Enter", "look", "Esc"},
                    "",
                    {".: .., sub, Zeta [sub] | A.bin, b.txt, \xC3\xBCn\xC3\xAF"
                     "code.txt"}},
        TDialogCase{"EnterOnAFileChoosesIt", false, {"Tab", "Down", "Enter"}, "A.bin", {}},
        TDialogCase{"ALetterFindsTheNextName", false, {"Tab", "=B", "Enter"}, "b.txt", {}},
        TDialogCase{"ALetterFindsANonAsciiName",
                    false,
                    {"Tab", "=\xC3\xBC", "Enter"},
                    "\xC3\xBCn\xC3\xAF"
                    "code.txt",
                    {}},
        TDialogCase{"ATypedNameIsChosen", false, {"=b.txt", "Enter"}, "b.txt", {}},
        TDialogCase{"ATypedNonAsciiName",
                    false,
                    {"=\xC3\xBCn\xC3\xAF"
                     "code.txt",
                     "Enter"},
                    "\xC3\xBCn\xC3\xAF"
                    "code.txt",
                    {}},
        TDialogCase{"ATypedRelativePath", false, {"=sub/inner.dat", "Enter"}, "sub/inner.dat", {}},
        TDialogCase{
            "ATypedAbsolutePath", false, {"=@/sub/inner.dat", "Enter"}, "sub/inner.dat", {}},
        TDialogCase{"ATypedFolderIsEntered",
                    false,
                    {"=sub", "Enter", "look", "=inner.dat", "Enter"},
                    "sub/inner.dat",
                    {"sub: .. | inner.dat"}},
        TDialogCase{
            "DoubleClicksEnterAndChoose", false, {"dbl:sub", "dbl:inner.dat"}, "sub/inner.dat", {}},
        TDialogCase{"AMissingFileIsRefused",
                    false,
                    {"=nothing.txt", "Enter", "box:OK", "look", "Esc"},
                    "",
                    {"nothing.txt File not found. Check the file name and try again.", Root}},
        TDialogCase{"AFolderGoneIsReportedAndTheDialogStays",
                    false,
                    {"rm:Zeta", "Tab", "Tab", "End", "Enter", "box:OK", "look", "Esc"},
                    "",
                    {"@/Zeta is not accessible.  No such file or directory",
                     ".: .., sub, Zeta [Zeta] | A.bin, b.txt, \xC3\xBCn\xC3\xAF"
                     "code.txt"}},
        TDialogCase{"SaveAsksBeforeReplacing",
                    true,
                    {"=b.txt", "Enter", "box:No", "Enter", "box:Yes"},
                    "b.txt",
                    {"b.txt already exists. Do you want to replace it?",
                     "b.txt already exists. Do you want to replace it?"}},
        TDialogCase{"SaveTakesANewName", true, {"=new.dat", "Enter"}, "new.dat", {}},
        TDialogCase{"SaveRefusesAMissingFolder",
                    true,
                    {"=none/new.dat", "Enter", "box:OK", "Esc"},
                    "",
                    {"none/new.dat Path does not exist. Check the path and try again."}}),
    ByName{});

} // namespace
