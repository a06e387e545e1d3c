// The hex editor's files on the machine's own file system, and its logs as list rows: what a
// load or save gives back, what it keeps when it fails, and the newest 256 entries in view.
#include "framework/stdctrls/ListItem.h"
#include "framework/stdctrls/ListItems.h"
#include "framework/stdctrls/ListView.h"
#include "hexedit/Hexcontrol.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScratchFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class HexEditorFilesTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm({0, 0, 400, 300});
        Editor = new THexEditor(Form);
        Editor->SetParent(Form);
        Editor->OnDirtyChange = [this](TObject*, bool Dirty) { LastDirty = Dirty; };
        Form->Show();
        Pump();
    }
    TBytes Shown() const { return {Editor->GetData(), Editor->GetData() + Editor->GetSize()}; }
    // A change of byte 7 recorded in the log, the cursor moved off offset 0.
    void Edit()
    {
        Editor->MoveCursor(7);
        Editor->SetCursorByte(0xAB);
    }

    TScratchFolder Folder;
    THexEditor* Editor = nullptr;
    std::optional<bool> LastDirty;
};

TEST_F(HexEditorFilesTest, ALoadShowsTheFileOrKeepsTheDataAndAlwaysResets)
{
    TBytes Bytes(3000);
    for (std::size_t I = 0; I < Bytes.size(); ++I)
        Bytes[I] = std::uint8_t(I * 7 + 3);
    const std::string Good = Folder.Make("good.bin", Bytes), Empty = Folder.Make("empty.bin", {});
    // Larger than a 32-bit signed size, without taking the disk: a sparse file.
    const std::string Huge = Folder / "huge.bin";
    const int Fd = open(Huge.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(ftruncate(Fd, off_t(3) << 30), 0);
    close(Fd);
    const struct
    {
        std::string Path;
        int Result;
        TBytes Shows; // empty: the data on show before
    } Cases[] = {{Good, 0, Bytes},
                 {Empty, 0, {}},
                 {Folder / "missing", 3, {}},
                 {Folder.GetPath(), 3, {}},
                 {Huge, 3, {}}};
    for (const auto& C : Cases) {
        Editor->SetNull();
        Editor->SetMessage("Start here");
        Edit();
        const TBytes Before = Shown();
        EXPECT_EQ(Editor->LoadFromFile(C.Path), C.Result) << C.Path;
        EXPECT_EQ(Shown(), C.Result == 0 ? C.Shows : Before) << C.Path;
        EXPECT_EQ(Editor->GetFileName(), C.Result == 0 ? C.Path : "(null)") << C.Path;
        EXPECT_EQ(Editor->GetMessage().empty(), C.Result == 0) << C.Path;
        EXPECT_EQ(Editor->GetCursorOffset(), 0) << C.Path;
        EXPECT_EQ(Editor->GetChangeLog().GetChangeCount(), 0) << C.Path;
    }
}

TEST_F(HexEditorFilesTest, ASaveReplacesTheFileOrLeavesItWhole)
{
    const TBytes Old(5000, 0x11);
    const std::string Path = Folder.Make("saved.bin", Old);
    ASSERT_EQ(Editor->LoadFromFile(Path), 0);
    Edit();
    Editor->SetDirty(1);
    // Nowhere to write: the name and the dirty flag stay.
    EXPECT_EQ(Editor->SaveToFile(Folder / "no/folder/x.bin"), 3);
    EXPECT_EQ(Editor->GetFileName(), Path);
    EXPECT_EQ(LastDirty, true);
    // A disk that fills halfway, as a file size limit makes it.
    int Full = -1;
    {
        const TFileSizeLimit Disk(4096);
        ASSERT_TRUE(Disk.IsApplied());
        Full = Editor->SaveToFile(Path);
    }
    EXPECT_EQ(Full, 2);
    EXPECT_EQ(FileContents(Path), Old);
    EXPECT_EQ(LastDirty, true);
    // Saved: the file holds the edit, the editor is clean and keeps its log and cursor.
    const std::string Copy = Folder / "copy \xC3\xBC.bin";
    EXPECT_EQ(Editor->SaveToFile(Copy), 0);
    EXPECT_EQ(FileContents(Copy), Shown());
    EXPECT_EQ(FileContents(Copy)[7], 0xAB);
    EXPECT_EQ(Editor->GetFileName(), Copy);
    EXPECT_EQ(LastDirty, false);
    EXPECT_EQ(Editor->GetChangeLog().GetChangeCount(), 1);
    EXPECT_EQ(Editor->GetCursorOffset(), 7);
}

TEST_F(HexEditorFilesTest, TheLogViewsShowTheNewest256EntriesWithTheLastInView)
{
    auto* List = new TListView(Form);
    List->SetParent(Form);
    List->SetBounds(0, 0, 300, 200);
    for (const char* Caption : {"Offset", "Type", "Old", "New"})
        List->GetColumns()->Add()->SetCaption(Caption);
    Editor->SetBytesPerGroup(2);
    for (int I = 0; I < 300; ++I) {
        Editor->MoveCursor(I);
        if (I % 2)
            Editor->SetCursorWord(std::uint32_t(0x1200 + I));
        else
            Editor->SetCursorByte(std::uint8_t(I));
    }
    Editor->ChangeLogToListView(List);
    Pump();
    TListItems& Items = *List->GetItems();
    ASSERT_EQ(Items.GetCount(), 256);
    const auto Row = [&](int I) {
        std::vector<std::string> Texts{Items.GetItem(I)->GetCaption()};
        for (int S = 0; S < Items.GetItem(I)->GetSubItems().GetCount(); ++S)
            Texts.push_back(Items.GetItem(I)->GetSubItems()[S]);
        return Texts;
    };
    // Entry 44 (a byte at offset 44) first, entry 299 (the group at 298) last.
    EXPECT_EQ(Row(0), (std::vector<std::string>{"0000002C", "byte", "2C", "2C"}));
    EXPECT_EQ(Row(255), (std::vector<std::string>{"0000012A", "word", "2A2B", "132B"}));
    EXPECT_LE(List->GetItemRect(255).Bottom, List->GetClientRect().Bottom);
    EXPECT_GT(List->GetTopIndex(), 0);

    Editor->Undo();
    Editor->RedoLogToListView(List);
    ASSERT_EQ(Items.GetCount(), 1);
    EXPECT_EQ(Row(0)[0], "0000012A");
}

} // namespace
