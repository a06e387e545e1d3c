// The hex editor program's main window, headless: the title and status line follow the file and
// its changes, the menus' keys reach the editor, files are saved as typed, and every failure says
// why and keeps both the file and the changes. Unsaved changes are never dropped without asking.
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MessageForm.h"
#include "framework/windows/Screen.h"
#include "hexedit/Hexcontrol.h"
#include "programs/hexedit/Fhexedit.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScratchFolder.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class HexEditProgramTest : public HeadlessAppTest
{
protected:
    void SetUp() override
    {
        HeadlessAppTest::SetUp();
        App->CreateForm(Form);
        Form->Show();
        Pump();
        Path = Folder.Make("data.bin", Original);
    }

    void Key(unsigned VirtualKey, TShiftState Shift = 0)
    {
        WM().HandleKey(Form->GetHandle(), WM_KEYDOWN, VirtualKey, Shift);
        WM().HandleKey(Form->GetHandle(), WM_KEYUP, VirtualKey, Shift);
        Pump();
    }
    void Type(const std::string& Text)
    {
        for (const char C : Text)
            WM().HandleChar(Form->GetHandle(), char32_t(C));
        Pump();
    }
    // Answers the next message box with the button of this caption, noting what the box said.
    void Answer(const std::string& Button)
    {
        Port().QueueEvent(
            [this, Button] {
                for (TForm* F : Screen().GetForms())
                    if (auto* Box = dynamic_cast<TMessageForm*>(F); Box && Box->GetVisible()) {
                        std::string Text;
                        for (const std::string& Line : Box->GetLines())
                            if (!Line.empty())
                                Text += (Text.empty() ? "" : " ") + Line;
                        Said.push_back(Text);
                        for (TButton* B : Box->GetButtons())
                            if (B->GetCaption() == Button)
                                B->Click();
                        return;
                    }
                Said.push_back("no box");
            },
            20);
    }
    TMenuItem* Item(const char* Name) { return Form->FindPart<TMenuItem>(Name); }

    TScratchFolder Folder;
    const TBytes Original = RandomBytes(100, 3);
    std::string Path;
    TFormHexEdit* Form = nullptr;
    std::vector<std::string> Said;
};

TEST_F(HexEditProgramTest, TypedChangesMarkTheTitleAndSaveAsTyped)
{
    EXPECT_EQ(Form->GetCaption(), "Hex Editor");
    ASSERT_TRUE(Form->OpenFile(Path));
    EXPECT_EQ(Form->GetCaption(), "data.bin - Hex Editor");
    EXPECT_FALSE(Item("MenuEditUndo")->GetEnabled());
    Type("4a");
    Key(VK_RIGHT);
    EXPECT_EQ(Form->HexEditor->GetByte(0), 0x4A);
    EXPECT_EQ(Form->GetCaption(), "*data.bin - Hex Editor");
    EXPECT_EQ(Form->StatusLine->GetCaption().rfind(" Offset 00000002 of 00000064", 0), 0u)
        << Form->StatusLine->GetCaption();
    EXPECT_TRUE(Item("MenuEditUndo")->GetEnabled());
    EXPECT_EQ(Item("MenuEditUndo")->GetCaption().rfind("Undo", 0), 0u);
    Key('Z', ssCtrl);
    EXPECT_EQ(Form->HexEditor->GetByte(0), Original[0]);
    EXPECT_TRUE(Item("MenuEditRedo")->GetEnabled());
    Key('Y', ssCtrl);
    // Redo puts the cursor back on the change; Tab takes it to the character column.
    Key(VK_RIGHT);
    Key(VK_TAB);
    Type("Z");
    Key('S', ssCtrl);
    TBytes Expected = Original;
    Expected[0] = 0x4A;
    Expected[1] = 'Z';
    EXPECT_EQ(FileContents(Path), Expected);
    EXPECT_EQ(Form->GetCaption(), "data.bin - Hex Editor");
    EXPECT_TRUE(Said.empty());
}

TEST_F(HexEditProgramTest, FailuresSayWhyAndLoseNothing)
{
    ASSERT_TRUE(Form->OpenFile(Path));
    Type("ff");
    const std::string Missing = Folder / "missing.bin";
    Answer("OK");
    EXPECT_FALSE(Form->OpenFile(Missing));
    Answer("OK");
    EXPECT_FALSE(Form->SaveFile(Folder / "no-such-folder/data.bin"));
    ASSERT_EQ(Said.size(), 2u);
    EXPECT_NE(Said[0].find("Cannot open \"" + Missing + "\". " + std::strerror(ENOENT)),
              std::string::npos)
        << Said[0];
    EXPECT_NE(Said[1].find(std::strerror(ENOENT)), std::string::npos) << Said[1];
    // The file on show, its changes and its name stay.
    EXPECT_EQ(Form->GetFilePath(), Path);
    EXPECT_EQ(Form->HexEditor->GetByte(0), 0xFF);
    EXPECT_EQ(Form->GetCaption(), "*data.bin - Hex Editor");
    EXPECT_EQ(FileContents(Path), Original);
}

struct TCloseCase
{
    const char* Name;
    const char* Button;
    bool Closes;
    bool Saved;
};

class HexEditCloseTest : public HexEditProgramTest, public testing::WithParamInterface<TCloseCase>
{};

TEST_P(HexEditCloseTest, AsksAboutUnsavedChanges)
{
    const TCloseCase& C = GetParam();
    ASSERT_TRUE(Form->OpenFile(Path));
    Type("00");
    Answer(C.Button);
    Form->Close();
    Pump();
    ASSERT_EQ(Said.size(), 1u);
    EXPECT_EQ(Said[0], "Do you want to save the changes to data.bin?");
    EXPECT_EQ(App->GetTerminated(), C.Closes) << C.Name;
    EXPECT_EQ(FileContents(Path)[0] == 0, C.Saved) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(Answers, HexEditCloseTest,
                         testing::Values(TCloseCase{"Yes", "Yes", true, true},
                                         TCloseCase{"No", "No", true, false},
                                         TCloseCase{"Cancel", "Cancel", false, false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(HexEditProgramTest, TheViewMenuShowsAndSetsTheEditorsOptions)
{
    EXPECT_TRUE(Item("MenuViewGroup4")->GetChecked());
    EXPECT_TRUE(Item("MenuViewLine16")->GetChecked());
    const char* const Chosen[] = {
        "MenuViewDecimalValues", "MenuViewDecimalOffsets", "MenuViewLine32",  "MenuViewGroup2",
        "MenuViewPolkaDots",     "MenuViewSteadyCursor",   "MenuEditReadOnly"};
    for (const char* Name : Chosen)
        Item(Name)->Click();
    const THexEditor& E = *Form->HexEditor;
    EXPECT_EQ(std::vector<int>({E.GetBaseBytes(), E.GetBaseOffset(), E.GetBytesPerLine(),
                                E.GetBytesPerGroup(), E.GetPolkaDots(), E.GetCursorStyle(),
                                int(E.GetReadOnly())}),
              std::vector<int>({10, 10, 32, 2, 1, 1, 1}));
    for (const char* Name : Chosen)
        EXPECT_TRUE(Item(Name)->GetChecked()) << Name;
    for (const char* Name :
         {"MenuViewHexValues", "MenuViewHexOffsets", "MenuViewLine16", "MenuViewGroup4"})
        EXPECT_FALSE(Item(Name)->GetChecked()) << Name;
}

} // namespace
