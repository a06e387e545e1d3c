// The hex editor program's main window, headless: the title and status line follow the file and
// its changes, the menus' keys reach the editor and its dialogs, files are saved as typed, and
// every failure says why and keeps both the file and the changes. Unsaved changes are never
// dropped without asking.
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/Edit.h"
#include "framework/stdctrls/MenuItem.h"
#include "hexedit/Hexcontrol.h"
#include "programs/hexedit/Ffind.h"
#include "programs/hexedit/Fgoto.h"
#include "programs/hexedit/Fhexedit.h"
#include "tests/programs/HexDialogFixture.h"
#include "tests/support/ScratchFolder.h"

#include <cerrno>
#include <cstring>

namespace {

class HexEditProgramTest : public HexProgramTest<TFormHexEdit>
{
protected:
    void SetUp() override
    {
        HexProgramTest::SetUp();
        Path = Folder.Make("data.bin", Original);
    }
    TMenuItem* Item(const char* Name) { return Main->FindPart<TMenuItem>(Name); }
    std::uint8_t Byte(int Offset) const { return Main->HexEditor->GetByte(Offset); }

    TScratchFolder Folder;
    const TBytes Original = RandomBytes(100, 3);
    std::string Path;
};

TEST_F(HexEditProgramTest, TypedChangesMarkTheTitleAndSaveAsTyped)
{
    EXPECT_EQ(Main->GetCaption(), "Hex Editor");
    ASSERT_TRUE(Main->OpenFile(Path));
    EXPECT_EQ(Main->GetCaption(), "data.bin - Hex Editor");
    EXPECT_FALSE(Item("MenuEditUndo")->GetEnabled());
    Type("4a");
    Key(VK_RIGHT);
    EXPECT_EQ(Byte(0), 0x4A);
    EXPECT_EQ(Main->GetCaption(), "*data.bin - Hex Editor");
    EXPECT_EQ(Main->StatusLine->GetCaption().rfind(" Offset 00000002 of 00000064", 0), 0u)
        << Main->StatusLine->GetCaption();
    EXPECT_TRUE(Item("MenuEditUndo")->GetEnabled());
    EXPECT_EQ(Item("MenuEditUndo")->GetCaption().rfind("Undo", 0), 0u);
    Key('Z', ssCtrl);
    EXPECT_EQ(Byte(0), Original[0]);
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
    EXPECT_EQ(Main->GetCaption(), "data.bin - Hex Editor");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(HexEditProgramTest, FailuresSayWhyAndLoseNothing)
{
    ASSERT_TRUE(Main->OpenFile(Path));
    Type("ff");
    const std::string Missing = Folder / "missing.bin";
    AnswerBox();
    EXPECT_FALSE(Main->OpenFile(Missing));
    AnswerBox();
    EXPECT_FALSE(Main->SaveFile(Folder / "no-such-folder/data.bin"));
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0], "Cannot open \"" + Missing + "\". " + std::strerror(ENOENT));
    EXPECT_NE(Boxes[1].find(std::strerror(ENOENT)), std::string::npos) << Boxes[1];
    // The file on show, its changes and its name stay.
    EXPECT_EQ(Main->GetFilePath(), Path);
    EXPECT_EQ(Byte(0), 0xFF);
    EXPECT_EQ(Main->GetCaption(), "*data.bin - Hex Editor");
    EXPECT_EQ(FileContents(Path), Original);
}

struct TCloseCase
{
    const char* Name;
    bool Closes;
    bool Saved;
};

class HexEditCloseTest : public HexEditProgramTest, public testing::WithParamInterface<TCloseCase>
{};

TEST_P(HexEditCloseTest, AsksAboutUnsavedChanges)
{
    const TCloseCase& C = GetParam();
    ASSERT_TRUE(Main->OpenFile(Path));
    Type("00");
    AnswerBox(C.Name);
    Main->Close();
    Pump();
    EXPECT_EQ(Boxes, std::vector<std::string>{"Do you want to save the changes to data.bin?"});
    EXPECT_EQ(App->GetTerminated(), C.Closes) << C.Name;
    EXPECT_EQ(FileContents(Path)[0] == 0, C.Saved) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(Answers, HexEditCloseTest,
                         testing::Values(TCloseCase{"Yes", true, true},
                                         TCloseCase{"No", true, false},
                                         TCloseCase{"Cancel", false, false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(HexEditProgramTest, FindAndFindNextMoveTheCursorToEachHit)
{
    TBytes Bytes(64, 0x20);
    for (const int At : {10, 30, 50})
        Bytes[At] = 'k', Bytes[At + 1] = 'o';
    ASSERT_TRUE(Main->OpenFile(Folder.Make("text.bin", Bytes)));
    std::vector<int> Cursor;
    WhenOpen<TFormFind>([this](TFormFind&) {
        Type("KO");
        Key(VK_RETURN);
    });
    Key('F', ssCtrl);
    Cursor.push_back(Main->HexEditor->GetCursorOffset());
    for (int I = 0; I < 2; ++I) {
        Key(VK_F3);
        Cursor.push_back(Main->HexEditor->GetCursorOffset());
    }
    AnswerBox();
    Key(VK_F3);
    EXPECT_EQ(Cursor, (std::vector<int>{10, 30, 50}));
    EXPECT_EQ(Boxes, std::vector<std::string>{"Cannot find \"KO\"."});
    // Go to offset, in the offsets' base.
    WhenOpen<TFormGoto>([this](TFormGoto&) {
        Type("1f");
        Key(VK_RETURN);
    });
    Key('G', ssCtrl);
    EXPECT_EQ(Main->HexEditor->GetCursorOffset(), 0x1F);
}

TEST_F(HexEditProgramTest, TheViewMenuShowsAndSetsTheEditorsOptions)
{
    EXPECT_TRUE(Item("MenuViewGroup4")->GetChecked());
    EXPECT_TRUE(Item("MenuViewLine16")->GetChecked());
    const char* const Chosen[] = {
        "MenuViewDecimalValues", "MenuViewDecimalOffsets", "MenuViewLine32",  "MenuViewGroup2",
        "MenuViewPolkaDots",     "MenuViewSteadyCursor",   "MenuEditReadOnly"};
    for (const char* Name : Chosen)
        Item(Name)->Click();
    const THexEditor& E = *Main->HexEditor;
    EXPECT_EQ(std::vector<int>({E.GetBaseBytes(), E.GetBaseOffset(), E.GetBytesPerLine(),
                                E.GetBytesPerGroup(), E.GetPolkaDots(), E.GetCursorStyle(),
                                int(E.GetReadOnly())}),
              std::vector<int>({10, 10, 32, 2, 30, 1, 1}));
    for (const char* Name : Chosen)
        EXPECT_TRUE(Item(Name)->GetChecked()) << Name;
    for (const char* Name :
         {"MenuViewHexValues", "MenuViewHexOffsets", "MenuViewLine16", "MenuViewGroup4"})
        EXPECT_FALSE(Item(Name)->GetChecked()) << Name;
}

} // namespace
