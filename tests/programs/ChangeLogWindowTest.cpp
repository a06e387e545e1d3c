// The change log window: the editor's changes over its redo entries, two lists sharing the window
// at any size, hidden by its close box, and a double click asking to go to a row's offset.
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/ListView.h"
#include "programs/hexedit/Fchangelog.h"
#include "tests/programs/HexDialogFixture.h"

#include <vector>

namespace {

using TRows = std::vector<std::vector<std::string>>;

TRows Rows(TListView* List)
{
    TRows Result;
    TListItems& Items = *List->GetItems();
    for (int I = 0; I < Items.GetCount(); ++I) {
        Result.push_back({Items[I]->GetCaption()});
        for (const std::string& S : Items[I]->GetSubItems().GetStrings())
            Result.back().push_back(S);
    }
    return Result;
}

class ChangeLogWindowTest : public HexDialogTest
{
protected:
    void SetUp() override
    {
        HexDialogTest::SetUp();
        Editor = new THexEditor(Form); // the demo data: byte i is i % 256
        Log = new TFormChangeLog(Form);
        Log->Show();
        Pump();
    }
    // Where a control is in the window's client area.
    TRect InLog(TControl* C) const
    {
        const TPoint P = C->ClientToScreen({0, 0}) - Log->ClientToScreen({0, 0});
        return TRect::FromSize(P.X, P.Y, C->GetWidth(), C->GetHeight());
    }

    THexEditor* Editor = nullptr;
    TFormChangeLog* Log = nullptr;
};

TEST_F(ChangeLogWindowTest, ListsTheChangesOverTheRedoEntries)
{
    EXPECT_EQ(Log->GetCaption(), "Change log");
    for (TListView* List : {Log->ListChanges, Log->ListRedo}) {
        std::vector<std::string> Captions;
        for (int I = 0; I < List->GetColumns()->GetCount(); ++I)
            Captions.push_back(List->GetColumns()->GetItem(I)->GetCaption());
        EXPECT_EQ(Captions, (std::vector<std::string>{"Offset", "Type", "Old value", "New value"}));
    }
    Editor->SetByte(0x10, 0xAB);
    Editor->SetWord(0x20, 0x11223344);
    Editor->SetByte(0x3FF, 0);
    Editor->Undo();
    Log->Refresh(*Editor);
    EXPECT_EQ(Rows(Log->ListChanges), (TRows{{"00000010", "byte", "10", "AB"},
                                             {"00000020", "word", "20212223", "11223344"}}));
    EXPECT_EQ(Rows(Log->ListRedo), (TRows{{"000003FF", "byte", "FF", "00"}}));
    Editor->Undo();
    Editor->Undo();
    Log->Refresh(*Editor);
    EXPECT_EQ(Rows(Log->ListChanges), TRows{});
    EXPECT_EQ(Rows(Log->ListRedo).size(), 3u);
}

TEST_F(ChangeLogWindowTest, TheListsShareTheWindowAtAnySize)
{
    for (const TPoint Size : {TPoint{300, 320}, TPoint{460, 600}, TPoint{200, 160}}) {
        Log->SetClientWidth(Size.X);
        Log->SetClientHeight(Size.Y);
        Pump();
        const TRect Changes = InLog(Log->ListChanges), Redo = InLog(Log->ListRedo);
        EXPECT_EQ(Changes.Left, 8);
        EXPECT_EQ(Changes.Right, Size.X - 8);
        EXPECT_EQ(Redo.Left, 8);
        EXPECT_EQ(Redo.Right, Size.X - 8);
        EXPECT_EQ(Redo.Bottom, Size.Y - 8);
        EXPECT_LT(Changes.Bottom, InLog(Log->LabelRedo).Top);
        EXPECT_LT(InLog(Log->LabelRedo).Bottom, Redo.Top);
        EXPECT_NEAR(Changes.Height(), Redo.Height(), 2) << Size.X << " x " << Size.Y;
    }
}

TEST_F(ChangeLogWindowTest, TheCloseBoxHidesItAndShowBringsItBack)
{
    Editor->SetByte(1, 2);
    Log->Refresh(*Editor);
    WM().PostMessage(Log->GetHandle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(Log->GetVisible());
    Log->Show();
    Pump();
    EXPECT_TRUE(Log->GetVisible());
    EXPECT_EQ(Rows(Log->ListChanges).size(), 1u);
}

TEST_F(ChangeLogWindowTest, ADoubleClickOnARowAsksToGoToItsOffset)
{
    std::vector<int> Offsets;
    Log->OnGotoOffset = [&](TObject* Sender, int Offset) {
        EXPECT_EQ(Sender, Log);
        Offsets.push_back(Offset);
    };
    Editor->SetByte(0x12, 1);
    Editor->SetByte(0x345, 1);
    Editor->Undo();
    Log->Refresh(*Editor);
    for (TListView* List : {Log->ListChanges, Log->ListRedo}) {
        const TRect Row = List->GetItemRect(0);
        const TPoint P = InLog(List).TopLeft() + Row.TopLeft() + TPoint{10, Row.Height() / 2};
        for (UINT Msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            WM().HandleMouse(Log->GetHandle(), Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, P);
        Pump();
    }
    // A double click below the rows selects none and asks nothing.
    const TPoint Below =
        InLog(Log->ListChanges).TopLeft() + TPoint{20, InLog(Log->ListChanges).Height() - 10};
    for (UINT Msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        WM().HandleMouse(Log->GetHandle(), Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, Below);
    Pump();
    EXPECT_EQ(Offsets, (std::vector<int>{0x12, 0x345}));
}

} // namespace
