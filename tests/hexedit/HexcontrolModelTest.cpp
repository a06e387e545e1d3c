#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/stdctrls/ScrollBar.h"
#include "hexedit/Hexcontrol.h"
#include "tests/hexedit/HexEditorModel.h"
#include "tests/support/HeadlessApp.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using HexEditorModelTest = HeadlessAppTest;

TEST_F(HexEditorModelTest, FollowsThePlainModelThroughRandomOperations)
{
    // Owned by a form but not on it: no window, so the repaints cost nothing.
    auto* Editor = new THexEditor(new TForm(App.get()));
    TEditorModel Model;
    std::mt19937 Random(14);
    // Phases that fill the log, drain it by undoing, redo, and mix, so that drops, merges and a
    // full redo log all happen.
    const unsigned Weights[4][5] = {
        {30, 55, 75, 78, 80}, {0, 0, 2, 100, 100}, {2, 4, 6, 20, 95}, {20, 40, 60, 75, 90}};
    int Phase = 0, PhaseLeft = 0;
    for (int Step = 0; Step < 100000; ++Step) {
        if (PhaseLeft-- <= 0) {
            Phase = int(Random() % 4);
            PhaseLeft = int(Random() % 4000);
        }
        // A small window of offsets so that edits meet again, now and then the ends and beyond.
        int Offset = int(Random() % 48);
        if (Random() % 16 == 0)
            Offset = int(Random() % 12) + 1018;
        if (Random() % 64 == 0)
            Offset = -int(Random() % 3) - 1;
        const std::uint32_t Value = Random();
        const unsigned Pick = Random() % 100;
        const unsigned* W = Weights[Phase];
        int Touched = Offset;
        if (Pick < W[0]) {
            Editor->SetByte(Offset, std::uint8_t(Value));
            Model.SetByte(Offset, std::uint8_t(Value));
        } else if (Pick < W[1]) {
            const int Group = int(Random() % 4) + 1;
            Editor->SetBytesPerGroup(Group);
            Model.Group = Group;
            if (Offset >= 0) { // negative offsets are the editor's own choice, tested elsewhere
                Editor->SetWord(Offset, Value);
                Model.SetWord(Offset, Value);
                Touched = Offset / Group * Group;
            }
        } else if (Pick < W[2]) {
            Editor->MoveCursor(Offset);
            Model.MoveCursor(Offset);
        } else if (Pick < W[3]) {
            Touched =
                Model.Log.ChangeCount > 0 ? Model.Log.Changes[Model.Log.ChangeCount - 1].Offset : 0;
            Editor->Undo();
            Model.Undo();
        } else if (Pick < W[4]) {
            Touched = Model.Log.RedoCount > 0 ? Model.Log.Redo[Model.Log.RedoCount - 1].Offset : 0;
            Editor->Redo();
            Model.Redo();
        } else {
            Touched = Model.Cursor;
            Editor->SetCursorByte(std::uint8_t(Value));
            Model.SetByte(Model.Cursor, std::uint8_t(Value));
        }
        const TChangeLog& Log = Editor->GetChangeLog();
        ASSERT_EQ(Log.GetChangeCount(), Model.Log.ChangeCount) << "step " << Step;
        ASSERT_EQ(Log.GetRedoCount(), Model.Log.RedoCount) << "step " << Step;
        ASSERT_EQ(Editor->GetCursorOffset(), Model.Cursor) << "step " << Step;
        for (int I = Touched; I < Touched + 4; ++I)
            ASSERT_EQ(Editor->GetByte(I), Model.GetByte(I)) << "step " << Step << " @" << I;
        if (Model.Log.ChangeCount > 0) {
            ASSERT_EQ(*Log.LastChange(), Model.Log.Changes[Model.Log.ChangeCount - 1])
                << "step " << Step;
        }
        if (Step % 1000 == 0) {
            ASSERT_EQ(Model.Difference(*Editor), "") << "step " << Step;
        }
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(Model.Difference(*Editor), "");
    EXPECT_GT(Model.Log.Drops, 100);
    EXPECT_GT(Model.Log.Merges, 100);
    EXPECT_EQ(Model.Log.MostRedo, TChangeLogModel::Size);
}

TEST_F(HexEditorModelTest, KeysCharactersAndClicksThroughTheWindowFollowTheModel)
{
    auto* Form = new TForm(App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 700, 300);
    auto* Editor = new THexEditor(Form);
    Editor->SetParent(Form);
    Editor->GetFont().SetName("Courier New");
    Editor->SetBounds(0, 0, 680, 300);
    auto* Bar = new TScrollBar(Form);
    Bar->SetKind(sbVertical);
    Bar->SetParent(Form);
    Bar->SetBounds(680, 0, 17, 300);
    Editor->SetScrollBar(Bar);
    Form->Show();
    Editor->SetFocus();
    Pump();
    TBitmap Probe(1, 1);
    TCanvas C(Probe);
    C.SetFont(Editor->GetFont());
    const int W = C.TextWidth("A"), H = C.TextHeight("A");
    ASSERT_EQ(C.TextWidth("0123456789ABCDEF."), 17 * W) << "the test font is not monospace";

    TViewModel Model;
    Model.Rows = (300 - 10 - 1) / H;
    ASSERT_EQ(Editor->GetRowsPainted(), Model.Rows);
    std::mt19937 Random(15);
    const HWND Window = Form->GetHandle();
    const unsigned Keys[] = {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
    const char Typed[] = "0123456789abcdefABCDEFgz~ ";
    int Clicks = 0, Scrolls = 0;
    for (int Step = 0; Step < 4000; ++Step) {
        const unsigned Pick = Random() % 100;
        const int Before = Model.Position;
        if (Pick < 35) {
            // Navigation keys weighted towards the small moves.
            const unsigned K = Keys[Random() % 3 ? 4 + Random() % 4 : Random() % 4];
            WM().HandleKey(Window, WM_KEYDOWN, K, 0);
            WM().HandleKey(Window, WM_KEYUP, K, 0);
            Model.Key(K);
        } else if (Pick < 80) {
            const char Ch = Typed[Random() % (sizeof Typed - 1)];
            WM().HandleChar(Window, char32_t(Ch));
            Model.Char(Ch);
        } else if (Pick < 97) {
            // A click in the middle of a cell of a painted row, either panel.
            const int Row = int(Random() % unsigned(Model.Rows)), Byte = int(Random() % 16);
            const int Panel = int(Random() % 2);
            const int Values = 12 + 8 * W + 20;
            const int X = Panel == 0 ? Values + Byte * 2 * W + Byte / 4 * W + W
                                     : Values + 35 * W + 20 + Byte * W + W / 2;
            const TPoint At{X, 10 + Row * H + H / 2};
            WM().HandleMouse(Window, WM_LBUTTONDOWN, MK_LBUTTON, At);
            WM().HandleMouse(Window, WM_LBUTTONUP, 0, At);
            Model.Click(Row, Byte, Panel);
            ++Clicks;
        } else {
            // Undo and redo move the cursor to the entry they recall, when there is one.
            const bool Redo = Pick == 99;
            Model.RecallAndShow(Redo);
            Redo ? Editor->Redo() : Editor->Undo();
        }
        Pump();
        Scrolls += Model.Position != Before;
        ASSERT_EQ(Editor->GetCursorOffset(), Model.Cursor) << "step " << Step;
        ASSERT_EQ(Editor->GetCursorPanel(), Model.Panel) << "step " << Step;
        ASSERT_EQ(Editor->GetDigitIndex(), Model.Digit) << "step " << Step;
        ASSERT_EQ(Bar->GetPosition(), Model.Position) << "step " << Step;
        ASSERT_EQ(Editor->GetChangeLog().GetChangeCount(), Model.Log.ChangeCount)
            << "step " << Step;
        ASSERT_EQ(Editor->GetChangeLog().GetRedoCount(), Model.Log.RedoCount) << "step " << Step;
        ASSERT_EQ(Editor->GetByte(Model.Cursor), Model.GetByte(Model.Cursor)) << "step " << Step;
        if (Step % 500 == 0) {
            ASSERT_EQ(Model.Difference(*Editor), "") << "step " << Step;
        }
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(Model.Difference(*Editor), "");
    EXPECT_GT(Clicks, 400);
    EXPECT_GT(Scrolls, 40);
}

} // namespace
