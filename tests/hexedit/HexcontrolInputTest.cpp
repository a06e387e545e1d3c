// The hex editor driven by keys, characters and the mouse: where the cursor goes, what typing
// writes and records, what gets repainted, and the scroll bar that follows the cursor.
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/objects/PropInfo.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/ScrollBar.h"
#include "hexedit/Hexcontrol.h"
#include "hexedit/Numbase.h"
#include "tests/support/HeadlessApp.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// The editor with the view state a paint leaves set by hand, its input handlers in reach, and
// the area each paint was clipped to.
class TTestEditor : public THexEditor
{
public:
    using THexEditor::GetHitTest;
    using THexEditor::KeyDown;
    using THexEditor::KeyPress;
    using THexEditor::MouseDown;
    using THexEditor::THexEditor;

    // What painting Rows rows of CellHeight pixels from offset First leaves behind.
    void View(int First, int Rows, int CellHeight = 12)
    {
        FFirstVisibleOffset = First;
        FRowsPainted = Rows;
        FLastVisibleOffset = First + Rows * GetBytesPerLine() - 1;
        FCellHeight = CellHeight;
    }
    // Decimal cells of Group bytes, laid out as row painting lays them.
    void DecimalCells(int Group)
    {
        SetBaseBytes(10);
        SetBytesPerGroup(Group);
        FCellDigits = FDigitsPerCell = DecimalDigits(Group);
        FCellAdvance = Group;
    }
    void Key(unsigned K) { KeyDown(K, TShiftState{}); }
    void Type(const std::u32string& Keys)
    {
        for (char32_t K : Keys)
            KeyPress(K);
    }

    std::vector<TRect> Clips;

protected:
    void Paint() override
    {
        Clips.push_back(GetCanvas().GetClipRect());
        THexEditor::Paint();
    }
};

// An editor without a window: nothing paints, so the view state stays as a case sets it.
class HexInputTest : public HeadlessAppTest
{
protected:
    void SetUp() override
    {
        HeadlessAppTest::SetUp();
        Editor = std::make_unique<TTestEditor>(nullptr);
        Editor->OnCursorChange = [this](TObject*, int N) { Moves.push_back(N); };
    }
    int Changes() const { return Editor->GetChangeLog().GetChangeCount(); }
    TChangeEntry Newest() const
    {
        const TChangeEntry* E = Editor->GetChangeLog().LastChange();
        return E ? *E : TChangeEntry{-1};
    }

    std::unique_ptr<TTestEditor> Editor;
    std::vector<int> Moves;
};

TEST_F(HexInputTest, NavigationKeysMoveTheCursorByTheirTableAndClamp)
{
    const struct
    {
        unsigned Key;
        int From, Rows, To;
    } Cases[]{
        {VK_PRIOR, 400, 20, 80}, {VK_PRIOR, 400, 0, 400},   {VK_PRIOR, 100, 20, 0},
        {VK_NEXT, 400, 20, 720}, {VK_NEXT, 1000, 20, 1023}, {VK_END, 7, 0, 1023},
        {VK_HOME, 700, 0, 0},    {VK_LEFT, 9, 0, 8},        {VK_LEFT, 0, 0, 0},
        {VK_UP, 40, 0, 24},      {VK_UP, 10, 0, 0},         {VK_RIGHT, 9, 0, 10},
        {VK_DOWN, 40, 0, 56},    {VK_DOWN, 1020, 0, 1023},  {VK_TAB, 9, 0, 9},
        {'A', 9, 0, 9},
    };
    for (const auto& C : Cases) {
        Editor->MoveCursor(C.From);
        Editor->View(0, C.Rows);
        Moves.clear();
        Editor->Key(C.Key);
        EXPECT_EQ(Editor->GetCursorOffset(), C.To) << C.Key << " from " << C.From;
        EXPECT_EQ(Moves.size(), C.Key == VK_TAB || C.Key == 'A' ? 0u : 1u) << C.Key;
    }
}

TEST_F(HexInputTest, EndThenRightStaysOnTheLastByteButSealsAndReports)
{
    Editor->SetCursorPanel(0);
    Editor->Key(VK_END);
    Editor->Type(U"4");
    Moves.clear();
    Editor->Key(VK_RIGHT);
    EXPECT_EQ(Moves, std::vector<int>{1023});
    EXPECT_TRUE(Newest().IsSealed());
    EXPECT_EQ(Editor->GetDigitIndex(), 0);
}

TEST_F(HexInputTest, HexDigitsFillTheByteNibbleByNibbleInOneEntry)
{
    const struct
    {
        int Offset;
        std::u32string Keys;
        int Byte, Entries;
    } Cases[]{
        {0x100, U"41", 0x41, 1}, // byte 0x00
        {0x1AB, U"Ff", 0xFF, 1}, // F as f
        {0x17A, U"g1", 0x71, 1}, // g keeps the high nibble and skips it
        {0x27A, U"zq", 0x7A, 0}, // neither is a digit
    };
    Editor->SetCursorPanel(0);
    for (const auto& C : Cases) {
        Editor->DataChange(); // a fresh log
        Editor->MoveCursor(C.Offset);
        Editor->Type(C.Keys);
        EXPECT_EQ(Editor->GetByte(C.Offset), C.Byte) << C.Offset;
        EXPECT_EQ(Editor->GetCursorOffset(), C.Offset + 1);
        ASSERT_EQ(Changes(), C.Entries) << C.Offset;
        if (C.Entries) {
            EXPECT_EQ(Newest(), (TChangeEntry{0, 1, C.Offset, C.Offset & 0xFF, C.Byte}));
        }
    }
}

TEST_F(HexInputTest, DecimalDigitsEditTheGroupTextInPlace)
{
    const struct
    {
        int Group, Offset;
        std::uint32_t Before;
        std::u32string Keys;
        std::uint32_t After; // of the group
        int Cursor, DigitIndex;
    } Cases[]{
        {1, 0xFF, 255, U"9", 187, 0xFF, 1},           // 955 keeps its low byte
        {1, 0xFF, 255, U"900", 100, 0x100, 0},        // 955 -> 905 -> 900, then the next byte
        {1, 0xFF, 255, U"x", 255, 0xFF, 1},           // a non-digit only steps
        {2, 5, 0x0405, U"12345", 12345, 7, 0},        // the whole group from its first byte
        {4, 8, 0x80000000u, U"3", 3147483648u, 8, 1}, // unsigned text, not "-2147483648"
        {4, 8, 0xFFFFFFFFu, U"9", 705032703u, 8, 1},  // 9294967295: the low four bytes
    };
    for (const auto& C : Cases) {
        Editor->DecimalCells(C.Group);
        Editor->SetWord(C.Offset, C.Before);
        Editor->SetCursorPanel(0);
        Editor->MoveCursor(C.Offset);
        const int Before = Changes();
        Editor->Type(C.Keys);
        EXPECT_EQ(Editor->GetWord(C.Offset), C.After) << C.Group << " " << C.Offset;
        EXPECT_EQ(Editor->GetCursorOffset(), C.Cursor);
        EXPECT_EQ(Editor->GetDigitIndex(), C.DigitIndex);
        EXPECT_EQ(Changes(), Before + (C.After != C.Before));
        if (C.After != C.Before) {
            EXPECT_EQ(Newest().Offset, C.Offset / C.Group * C.Group);
        }
    }
}

TEST_F(HexInputTest, CharactersOverwriteAndStopOnTheLastByteOnlyPrintableAscii)
{
    Editor->MoveCursor(3);
    Editor->Type(U"A");
    EXPECT_EQ(Editor->GetByte(3), 'A');
    EXPECT_EQ(Editor->GetCursorOffset(), 4);
    Editor->MoveCursor(1023);
    Editor->Type(U"z~");
    EXPECT_EQ(Editor->GetByte(1023), '~');
    EXPECT_EQ(Editor->GetCursorOffset(), 1023);
    EXPECT_EQ(Changes(), 3);
    // U+0141's low byte is 'A': it must not pass for it.
    Editor->MoveCursor(10);
    Editor->Type(std::u32string{0x1F, 0x80, 0xE9, 0xFF, 0x141, 0x20AC});
    EXPECT_EQ(Editor->GetByte(10), 10);
    EXPECT_EQ(Changes(), 3);
    EXPECT_EQ(Editor->GetCursorOffset(), 10);
}

TEST_F(HexInputTest, ReadOnlyBlocksTypingButNotMovesOrUndo)
{
    Editor->MoveCursor(20);
    Editor->Type(U"Q");
    Editor->SetReadOnly(true);
    for (int Panel : {0, 1}) {
        Editor->SetCursorPanel(Panel);
        Editor->Type(U"4x");
        EXPECT_EQ(Editor->GetByte(21), 21);
        EXPECT_EQ(Editor->GetDigitIndex(), 0);
    }
    Editor->Key(VK_LEFT);
    EXPECT_EQ(Editor->GetCursorOffset(), 20);
    Editor->Undo();
    EXPECT_EQ(Editor->GetByte(20), 20);
}

TEST_F(HexInputTest, ALinkedBarBringsTheCursorsRowIntoView)
{
    TScrollBar Bar(nullptr);
    Editor->SetScrollBar(&Bar);
    EXPECT_EQ(Bar.GetMax(), 63);
    Editor->View(0, 20);
    Editor->MoveCursor(19 * 16 + 3);
    EXPECT_EQ(Bar.GetPosition(), 0);
    Editor->Key(VK_DOWN); // row 20 becomes the bottom row
    EXPECT_EQ(Bar.GetPosition(), 1);
    Editor->View(20 * 16, 20);
    Editor->Key(VK_UP); // row 19 is above the view: it becomes the top row
    EXPECT_EQ(Bar.GetPosition(), 19);
    Editor->View(0, 0); // no rows painted yet: nothing to follow
    Editor->Key(VK_END);
    EXPECT_EQ(Bar.GetPosition(), 19);
    Editor->SetScrollBar(nullptr);
}

TEST_F(HexInputTest, NeitherTheEditorNorTheBarIsLeftDangling)
{
    auto* Bar = new TScrollBar(nullptr);
    Editor->SetScrollBar(Bar);
    delete Bar;
    EXPECT_EQ(Editor->GetScrollBar(), nullptr);
    Editor->View(0, 20);
    Editor->MoveCursor(900); // follows no bar
    int HostCalls = 0;
    Bar = new TScrollBar(nullptr);
    Bar->OnChange = [&](TObject*) { ++HostCalls; };
    Editor->SetScrollBar(Bar);
    Editor.reset();
    Bar->SetPosition(5);
    EXPECT_EQ(HostCalls, 1);
    delete Bar;
}

// ---- On a form ------------------------------------------------------------------------------

// A host form whose bar handler a description names.
class TBarForm : public TForm
{
    PUBLISHED_CLASS(TBarForm, TForm)

public:
    using TForm::TForm;
    int BarChanges = 0;
    void BarChange(TObject*) { ++BarChanges; }
    static void DeclareClass(TClassDeclaration<TBarForm>& D)
    {
        D.RegisterMethod("BarChange", &TBarForm::BarChange);
    }
};

class HexInputFormTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        Host = new TBarForm(App.get());
        Form = Host;
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 320, 200);
        Form->SetName("HexForm");
        Editor = new TTestEditor(Form);
        Editor->SetName("Hex");
        Editor->SetParent(Form);
        Editor->SetBounds(0, 0, 200, 200);
        Bar = new TScrollBar(Form);
        Bar->SetName("Bar");
        Bar->SetKind(sbVertical);
        Bar->SetParent(Form);
        Bar->SetBounds(200, 0, 17, 200);
        Bar->OnChange = TNotifyEvent::Method(*Host, "BarChange");
        Form->Show();
        Pump();
        Editor->SetFocus();
        Pump();
    }
    void Key(unsigned K)
    {
        WM().HandleKey(Form->GetHandle(), WM_KEYDOWN, K, 0);
        WM().HandleKey(Form->GetHandle(), WM_KEYUP, K, 0);
        Pump();
    }
    // The clip of each paint that Action causes.
    std::vector<TRect> PaintedBy(const std::function<void()>& Action)
    {
        Pump();
        Editor->Clips.clear();
        Action();
        Pump();
        return Editor->Clips;
    }
    using TRects = std::vector<TRect>;

    TBarForm* Host = nullptr;
    TTestEditor* Editor = nullptr;
    TScrollBar* Bar = nullptr;
};

TEST_F(HexInputFormTest, InADialogArrowsAndCharactersReachTheEditorAndTabMovesOn)
{
    EXPECT_EQ(Editor->Perform(WM_GETDLGCODE, 0, 0), 0x81);
    Editor->MoveCursor(40);
    Key(VK_RIGHT);
    Key(VK_DOWN);
    EXPECT_EQ(Editor->GetCursorOffset(), 57);
    EXPECT_TRUE(Editor->Focused());
    WM().HandleChar(Form->GetHandle(), U'Z');
    Pump();
    EXPECT_EQ(Editor->GetByte(57), 'Z');
    Key(VK_TAB);
    EXPECT_TRUE(Bar->Focused());
}

TEST_F(HexInputFormTest, AClickPlacesTheCursorAndPanelByTheCellUnderIt)
{
    // A row of cells below the control, where no paint puts one: one character cell, a gap,
    // one value cell.
    THitRow* Row = Editor->GetHitTest().FindOrAddRow(5000, 5011, true);
    Row->AddCell(10, 17, 40, 1);
    Row->AddCell(30, 45, 41, 0);
    Editor->SetCursorPanel(0);
    Editor->Type(U"4");
    ASSERT_EQ(Editor->GetDigitIndex(), 1);
    Editor->MouseDown(TMouseButton::Left, TShiftState{}, 45, 5011);
    EXPECT_EQ(Editor->GetCursorOffset(), 41);
    EXPECT_EQ(Editor->GetDigitIndex(), 0);
    Editor->MouseDown(TMouseButton::Right, TShiftState{}, 12, 5005);
    EXPECT_EQ(Editor->GetCursorOffset(), 40);
    EXPECT_EQ(Editor->GetCursorPanel(), 1);
    Editor->MouseDown(TMouseButton::Middle, TShiftState{}, 30, 5000);
    EXPECT_EQ(Editor->GetCursorOffset(), 41);
    EXPECT_EQ(Editor->GetCursorPanel(), 0);
    EXPECT_EQ(Editor->GetMouseOffset(20, 5005), -1);
    Editor->MouseDown(TMouseButton::Left, TShiftState{}, 20, 5005); // the gap: nothing moves
    EXPECT_EQ(Editor->GetCursorOffset(), 41);
    Bar->SetFocus();
    Pump();
    Click(Editor);
    EXPECT_TRUE(Editor->Focused());
}

TEST_F(HexInputFormTest, ADigitRepaintsItsRowAndAMoveTheRowsItLeavesAndEnters)
{
    constexpr int Height = 12;
    const auto Row = [&](int R) { return TRect{0, 10 + R * Height, 200, 10 + (R + 1) * Height}; };
    Editor->SetCursorPanel(0);
    Editor->MoveCursor(16 * 3 + 5);
    Editor->View(0, 15, Height);
    EXPECT_EQ(PaintedBy([&] { Editor->Type(U"4"); }), TRects{Row(3)});
    Editor->View(0, 15, Height);
    // The clip is the bounds of the two rows.
    const TRects Both = PaintedBy([&] { Editor->MoveCursor(16 * 5); });
    ASSERT_EQ(Both.size(), 1u);
    EXPECT_EQ(Both[0].Top, Row(3).Top);
    EXPECT_EQ(Both[0].Bottom, Row(5).Bottom);
    // A character edit moves on within its row: that row only.
    Editor->SetCursorPanel(1);
    Editor->View(0, 15, Height);
    EXPECT_EQ(PaintedBy([&] { Editor->Type(U"a"); }), TRects{Row(5)});
}

TEST_F(HexInputFormTest, ScrollingRepaintsTheWholeEditor)
{
    Editor->SetScrollBar(Bar);
    Editor->View(0, 15);
    EXPECT_EQ(PaintedBy([&] { Bar->SetPosition(3); }), TRects{Editor->GetClientRect()});
    Editor->View(3 * 16, 15);
    EXPECT_EQ(PaintedBy([&] { Editor->MoveCursor(0); }), TRects{Editor->GetClientRect()});
    EXPECT_EQ(Bar->GetPosition(), 0);
    EXPECT_EQ(Host->BarChanges, 2);
    Editor->SetScrollBar(nullptr); // the host's handler goes back by its name
    EXPECT_EQ(Bar->OnChange.GetMethodName(), "BarChange");
    EXPECT_EQ(PaintedBy([&] { Bar->SetPosition(5); }), TRects{});
}

TEST_F(HexInputFormTest, AFormDescriptionKeepsEveryPropertyAndTheBar)
{
    RegisterStandardControls();
    HexEditor::Register();
    Editor->SetScrollBar(Bar);
    Editor->SetDoubleBuffered(true);
    const auto& Properties = ClassInfoOf<THexEditor>().GetProperties();
    for (const TPropInfo& P : Properties)
        if (P.IsOrdinal())
            P.SetOrdinal(*Editor, P.GetName() == "BarWidth" ? 0 : 3);
    const std::string Text = TFormWriter::WriteComponent(*Form);
    EXPECT_EQ(Text.find("BarWidth"), std::string::npos);
    EXPECT_NE(Text.find("OnChange = BarChange"), std::string::npos);
    auto* Copy = new TBarForm(App.get());
    TFormReader::ReadInto(*Copy, Text);
    auto* Read = dynamic_cast<THexEditor*>(Copy->FindComponent("Hex"));
    ASSERT_NE(Read, nullptr);
    for (const TPropInfo& P : Properties) {
        if (P.IsOrdinal() && P.GetName() != "BarWidth") {
            EXPECT_EQ(P.GetOrdinal(*Read), P.GetOrdinal(*Editor)) << P.GetName();
        }
    }
    EXPECT_EQ(Read->GetBarWidth(), 6); // 0 is not stored
    EXPECT_TRUE(Read->GetDoubleBuffered());
    ASSERT_EQ(Read->GetScrollBar(), Copy->FindComponent("Bar"));
    EXPECT_EQ(Read->GetScrollBar()->GetMax(), 1024 / 3 - 1);
    Read->GetScrollBar()->SetPosition(9);
    EXPECT_EQ(Copy->BarChanges, 1);
    delete Copy;
}

} // namespace
