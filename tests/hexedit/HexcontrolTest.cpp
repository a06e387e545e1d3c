#include "hexedit/Hexcontrol.h"

#include "framework/objects/ClassRegistry.h"
#include "framework/objects/PropInfo.h"
#include "framework/stdctrls/MenuItem.h"
#include "tests/support/HeadlessApp.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Counts the paints, so that "repaints at once" can be seen.
class TCountingEditor : public THexEditor
{
public:
    using THexEditor::THexEditor;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        THexEditor::Paint();
    }
};

class HexEditorTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm({0, 0, 200, 100});
        Editor = new TCountingEditor(Form);
        Editor->SetParent(Form);
        Editor->SetBounds(0, 0, 200, 100);
        Form->Show();
        Pump();
    }

    // The newest change entry; the test fails when there is none.
    TChangeEntry Newest() const
    {
        const TChangeEntry* E = Editor->GetChangeLog().LastChange();
        EXPECT_NE(E, nullptr);
        return E ? *E : TChangeEntry{};
    }
    int Changes() const { return Editor->GetChangeLog().GetChangeCount(); }
    int Redos() const { return Editor->GetChangeLog().GetRedoCount(); }

    TCountingEditor* Editor = nullptr;
};

TEST_F(HexEditorTest, ANewControlShowsTheDemoBufferWithTheCursorOnOffset5)
{
    EXPECT_EQ(Editor->GetSize(), 1024);
    for (int I = 0; I < 1024; ++I)
        ASSERT_EQ(Editor->GetByte(I), I % 256) << I;
    EXPECT_EQ(Editor->GetCursorOffset(), 5);
    EXPECT_EQ(Editor->GetCursorPanel(), 1);
    EXPECT_TRUE(Editor->GetTabStop());
    EXPECT_FALSE(Editor->GetReadOnly());
    EXPECT_EQ(Editor->GetScrollBar(), nullptr);
    EXPECT_EQ(Editor->GetMessage() + Editor->GetFileName(), "");
    EXPECT_EQ(Changes() + Redos(), 0);
}

TEST_F(HexEditorTest, EachPropertyStartsAtItsValueStoresAnyValueAndRepaints)
{
    const std::pair<const char*, int> Properties[]{
        {"DoRed", 0},         {"DoGreen", -1},      {"DoBlue", 255},   {"BarWidth", 6},
        {"BytesPerLine", 16}, {"BytesPerGroup", 4}, {"ByteDigits", 2}, {"BaseBytes", 16},
        {"BaseOffset", 16},   {"CursorStyle", 0},   {"PolkaDots", 0},  {"ColorByte", 0},
        {"ColorCursor", 0},   {"ColorChange", 0},   {"ColorAscii", 0}};
    for (const auto& [Name, Value] : Properties) {
        const TPropInfo* Prop = ClassInfoOf<THexEditor>().FindProperty(Name);
        ASSERT_NE(Prop, nullptr) << Name;
        EXPECT_EQ(Prop->GetOrdinal(*Editor), Value) << Name;
        EXPECT_EQ(Prop->GetDefault(), 0) << Name;
        const int Before = Editor->Paints;
        Prop->SetOrdinal(*Editor, 0x1234567);
        EXPECT_EQ(Prop->GetOrdinal(*Editor), 0x1234567) << Name;
        EXPECT_EQ(Editor->Paints, Before + 1) << Name;
    }
}

TEST_F(HexEditorTest, IsOnTheAdditionalPalettePage)
{
    HexEditor::Register();
    const auto Classes = TClassRegistry::GetPaletteClasses("Additional");
    EXPECT_EQ(std::count(Classes.begin(), Classes.end(), &ClassInfoOf<THexEditor>()), 1);
}

// ---- Bytes and groups -----------------------------------------------------------------------

TEST_F(HexEditorTest, GroupsAreBigEndianAndOneEntryEach)
{
    const struct
    {
        int Group, Offset;
        std::uint32_t Value;
        std::vector<std::pair<int, int>> Bytes; // offset, byte after the write
        int EntryOffset;
        std::uint32_t Word; // read back
    } Cases[]{
        {2, 5, 0xA1B2, {{3, 3}, {4, 0xA1}, {5, 0xB2}, {6, 6}}, 4, 0xA1B2},
        {4, 9, 0x11223344, {{8, 0x11}, {9, 0x22}, {10, 0x33}, {11, 0x44}, {12, 12}}, 8, 0x11223344},
        {1, 7, 0x1234, {{6, 6}, {7, 0x34}, {8, 8}}, 7, 0x34},
        {0, 7, 0x1234, {{6, 6}, {7, 0x34}, {8, 8}}, 7, 0x34},  // taken as groups of one byte
        {-3, 7, 0x1234, {{6, 6}, {7, 0x34}, {8, 8}}, 7, 0x34}, // likewise
        {6, 13, 0xAABBCCDD, {{12, 0}, {13, 0}, {14, 0xAA}, {17, 0xDD}, {18, 18}}, 12, 0xAABBCCDD},
        {4, 1022, 0x01020304, {{1020, 1}, {1021, 2}, {1022, 3}, {1023, 4}}, 1020, 0x01020304}};
    for (const auto& C : Cases) {
        Editor->SetNull();
        for (int I = 0; I < 32; ++I)
            Editor->SetByte(I, std::uint8_t(I));
        Editor->MoveCursor(0);
        const int Before = Changes();
        Editor->SetBytesPerGroup(C.Group);
        Editor->SetWord(C.Offset, C.Value);
        for (const auto& [Offset, Byte] : C.Bytes)
            EXPECT_EQ(Editor->GetByte(Offset), Byte) << "group " << C.Group << " @" << Offset;
        EXPECT_EQ(Changes(), Before + 1) << "group " << C.Group;
        EXPECT_EQ(Newest(),
                  (TChangeEntry{1, 0, C.EntryOffset, Newest().OldValue, std::int32_t(C.Value)}));
        EXPECT_EQ(Editor->GetWord(C.Offset), C.Word) << "group " << C.Group;
    }
}

TEST_F(HexEditorTest, OffsetsOutsideTheDataReadZeroAndWriteNothing)
{
    Editor->SetBytesPerGroup(4);
    for (int Offset : {-1, -3, INT_MIN, 1024, INT_MAX}) {
        EXPECT_EQ(Editor->GetByte(Offset), 0) << Offset;
        Editor->SetByte(Offset, 0xEE);
        EXPECT_EQ(Changes(), 0) << Offset;
        if (Offset < 0) {
            EXPECT_EQ(Editor->GetWord(Offset), 0u) << Offset;
            Editor->SetWord(Offset, 0xEEEEEEEE);
            EXPECT_EQ(Changes(), 0) << Offset;
        }
    }
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(Editor->GetByte(I), I);
    // A size beyond the buffer does not reach past it; a huge group costs no more than the data.
    Editor->SetSize(5000);
    EXPECT_EQ(Editor->GetByte(3000), 0);
    Editor->SetByte(3000, 1);
    EXPECT_EQ(Changes(), 0);
    Editor->SetBytesPerGroup(INT_MAX);
    Editor->SetWord(10, 0x01020304);
    EXPECT_EQ(Editor->GetByte(10), 0);
    EXPECT_EQ(Editor->GetWord(INT_MAX - 1), 0u);
}

// ---- Texts ----------------------------------------------------------------------------------

TEST_F(HexEditorTest, FormatsBytesAndGroupsByTheBase)
{
    // Base 10 groups take the width that row painting left: each setter repaints.
    const struct
    {
        int Base, Group;
        std::uint32_t Value;
        const char *Byte, *Word;
    } Cases[]{{16, 1, 0xAB, "AB", "AB"},
              {16, 2, 0x1F, "1F", "001F"},
              {16, 4, 0x1F, "1F", "0000001F"},
              {16, 0, 0x5, "05", "05"},
              {16, 3, 0x123, "123", "000123"},
              {10, 4, 7, "007", "0000000007"},
              {10, 1, 255, "255", "255"},
              {10, 2, 12345, "12345", "12345"},
              {8, 4, 5, "", ""}};
    for (const auto& C : Cases) {
        Editor->SetBaseBytes(C.Base);
        Editor->SetBytesPerGroup(C.Group);
        std::string Byte = "x", Word = "x";
        Editor->FormatByte(C.Value, Byte);
        Editor->FormatWord(C.Value, Word);
        EXPECT_EQ(Byte, C.Byte) << C.Base << "/" << C.Group << " " << C.Value;
        EXPECT_EQ(Word, C.Word) << C.Base << "/" << C.Group << " " << C.Value;
    }
}

TEST_F(HexEditorTest, FormatsAndDecodesOffsetsByTheBase)
{
    const struct
    {
        int Base, Offset;
        const char *Text, *Decoded;
    } Cases[]{
        {16, 0x1F, "0000001F", "1f"}, {10, 31, "0000000031", "31"}, {8, 31, "0000000031", "0x1F"}};
    for (const auto& C : Cases) {
        Editor->SetBaseOffset(C.Base);
        std::string Text;
        Editor->FormatOffset(C.Offset, Text);
        EXPECT_EQ(Text, C.Text);
        EXPECT_EQ(Editor->DecodeOffset(C.Decoded), C.Offset) << C.Decoded;
    }
}

TEST_F(HexEditorTest, RowAsciiShowsControlBytesAsDots)
{
    const struct
    {
        int Offset, PerLine;
        std::string Row;
    } Cases[]{{0, 16, "................"},
              {0x40, 16, "@ABCDEFGHIJKLMNO"},
              {0x7C, 8, "|}~\x7F\x80\x81\x82\x83"},
              {1020, 8, "\xFC\xFD\xFE\xFF...."},
              {-2, 4, "...."}};
    for (const auto& C : Cases) {
        Editor->SetBytesPerLine(C.PerLine);
        std::string Row;
        Editor->GetRowAscii(C.Offset, Row);
        EXPECT_EQ(Row, C.Row) << C.Offset;
    }
}

TEST_F(HexEditorTest, LongTextsAreCutAtACharacterBoundary)
{
    const std::string Accent = "\xC3\xA9"; // two bytes
    Editor->ChangeFileName(std::string(1030, 'a') + Accent);
    EXPECT_EQ(Editor->GetFileName(), std::string(1030, 'a'));
    Editor->ChangeFileName(std::string(1029, 'a') + Accent);
    EXPECT_EQ(Editor->GetFileName(), std::string(1029, 'a') + Accent);
    Editor->SetMessage((std::string(1022, 'm') + Accent).c_str());
    EXPECT_EQ(Editor->GetMessage(), std::string(1022, 'm'));
    Editor->SetMessage(nullptr);
    EXPECT_EQ(Editor->GetMessage(), "");
}

// ---- Life cycle and events ------------------------------------------------------------------

TEST_F(HexEditorTest, NullAndNotLoadedStatesEmptyTheLogsAndNameTheData)
{
    std::vector<std::string> Names;
    std::vector<bool> Dirty;
    std::vector<int> Sizes;
    int Updates = 0;
    Editor->OnFileNameChange = [&](TObject*, const std::string& N) { Names.push_back(N); };
    Editor->OnDirtyChange = [&](TObject*, bool D) { Dirty.push_back(D); };
    Editor->OnSizeChange = [&](TObject*, int N) { Sizes.push_back(N); };
    Editor->OnChangeLogUpdate = [&](TObject*) { ++Updates; };
    Editor->SetByte(3, 9);
    Editor->SetNotLoaded();
    EXPECT_EQ(Changes(), 0);
    EXPECT_EQ(Editor->GetByte(3), 0);
    EXPECT_EQ(Editor->GetFileName(), "(null)");
    EXPECT_EQ(Editor->GetMessage(), "Start by using the File menu to open a file");
    EXPECT_EQ(Names, std::vector<std::string>{"(null)"});
    EXPECT_EQ(Dirty, std::vector<bool>{false});
    EXPECT_EQ(Sizes, std::vector<int>{1024});
    EXPECT_EQ(Updates, 2); // the change, then the emptied logs
    Editor->AllocData(3);
    EXPECT_EQ(Editor->GetSize(), 3);
    Editor->SetByte(2, 0x55);
    EXPECT_EQ(Editor->GetByte(2), 0x55);
    EXPECT_EQ(Editor->GetByte(3), 0);
    Editor->FreeData();
    EXPECT_EQ(Sizes, (std::vector<int>{1024, 3, 1024}));
    EXPECT_EQ(Editor->GetByte(2), 0);
    Editor->SetDirty(0);
    Editor->SetDirty(0);
    Editor->SetDirty(5);
    EXPECT_EQ(Dirty, (std::vector<bool>{false, false, false, true}));
}

TEST_F(HexEditorTest, MoveCursorClampsSealsAndReports)
{
    std::vector<int> Moves;
    Editor->OnCursorChange = [&](TObject*, int N) { Moves.push_back(N); };
    for (const auto& [To, Expected] : std::vector<std::pair<int, int>>{
             {7, 7}, {-5, 0}, {2000, 1023}, {1023, 1023}, {INT_MIN, 0}}) {
        Editor->MoveCursor(To);
        EXPECT_EQ(Editor->GetCursorOffset(), Expected) << To;
    }
    EXPECT_EQ(Moves, (std::vector<int>{7, 0, 1023, 1023, 0}));
    Editor->SetCursorPanel(1); // the same panel: no move
    EXPECT_EQ(Moves.size(), 5u);
    Editor->SetCursorPanel(0);
    EXPECT_EQ(Moves.size(), 6u);
    Editor->AllocData(0);
    Editor->MoveCursor(4); // empty data pins the cursor to 0
    EXPECT_EQ(Editor->GetCursorOffset(), 0);
}

TEST_F(HexEditorTest, TheCursorSettersReportEvenPastTheEnd)
{
    int Reports = 0;
    Editor->OnCursorByteChange = [&](TObject*) { ++Reports; };
    Editor->MoveCursor(9);
    Editor->SetCursorByte(0x41);
    Editor->SetCursorByte(0x42);
    EXPECT_EQ(Changes(), 1); // two writes without a move: one entry
    EXPECT_EQ(Newest(), (TChangeEntry{0, 0, 9, 9, 0x42}));
    Editor->SetBytesPerGroup(2);
    Editor->SetCursorWord(0x0102);
    EXPECT_EQ(Editor->GetCursorWord(), 0x0102u);
    Editor->SetSize(9); // the cursor now stands past the end
    Editor->SetCursorByte(1);
    EXPECT_EQ(Reports, 4);
}

// ---- Undo and redo --------------------------------------------------------------------------

TEST_F(HexEditorTest, AMoveToTheSameOffsetOpensANewEntry)
{
    Editor->SetByte(0x1F, 0x41);
    Editor->MoveCursor(0x1F);
    Editor->SetByte(0x1F, 0x42);
    ASSERT_EQ(Changes(), 2);
    TMenuItem UndoItem(nullptr), RedoItem(nullptr);
    Editor->ChangeLogToMenuItem(&UndoItem, &RedoItem);
    EXPECT_EQ(UndoItem.GetCaption(), "Undo 0000001F: 41 --> 42");
    EXPECT_TRUE(UndoItem.GetEnabled());
    EXPECT_EQ(RedoItem.GetCaption(), "Redo");
    EXPECT_FALSE(RedoItem.GetEnabled());
    Editor->Undo();
    Editor->ChangeLogToMenuItem(&UndoItem, &RedoItem);
    EXPECT_EQ(UndoItem.GetCaption(), "Undo 0000001F: 1F --> 41");
    EXPECT_EQ(RedoItem.GetCaption(), "Redo 0000001F: 41 --> 42");
    EXPECT_TRUE(RedoItem.GetEnabled());
    Editor->SetBytesPerGroup(2);
    Editor->SetWord(0x20, 0xBEEF);
    Editor->ChangeLogToMenuItem(&UndoItem, &RedoItem);
    EXPECT_EQ(UndoItem.GetCaption(), "Undo 00000020: 2021 --> BEEF");
    EXPECT_EQ(RedoItem.GetCaption(), "Redo"); // a fresh edit forgets what could be redone
    EXPECT_FALSE(RedoItem.GetEnabled());
}

TEST_F(HexEditorTest, UndoThenRedoRestoresDataCursorAndCounts)
{
    for (int I = 0; I < 3; ++I) {
        Editor->MoveCursor(100 + I);
        Editor->SetCursorByte(std::uint8_t(0xA0 + I));
    }
    Editor->MoveCursor(500);
    const std::vector<std::uint8_t> Before(Editor->GetData(), Editor->GetData() + 1024);
    int Updates = 0;
    Editor->OnChangeLogUpdate = [&](TObject*) { ++Updates; };
    Editor->Undo();
    EXPECT_EQ(Editor->GetByte(102), 102);
    EXPECT_EQ(Editor->GetCursorOffset(), 102);
    EXPECT_EQ(Changes(), 2);
    EXPECT_EQ(Redos(), 1);
    Editor->Redo();
    EXPECT_EQ(std::vector<std::uint8_t>(Editor->GetData(), Editor->GetData() + 1024), Before);
    EXPECT_EQ(Editor->GetCursorOffset(), 102);
    EXPECT_EQ(Changes(), 3);
    EXPECT_EQ(Redos(), 0);
    EXPECT_EQ(Updates, 2);
    Editor->Redo(); // nothing to redo: no effect and no event
    EXPECT_EQ(Updates, 2);
}

TEST_F(HexEditorTest, AFullLogDropsTheOldestBeforeMerging)
{
    for (int I = 0; I < 1024; ++I) {
        Editor->MoveCursor(I);
        Editor->SetCursorByte(0xFF);
    }
    ASSERT_EQ(Changes(), 1024);
    Editor->SetCursorByte(0x77); // the newest entry's byte, no move
    EXPECT_EQ(Changes(), 1023);
    EXPECT_EQ(Newest(), (TChangeEntry{0, 0, 1023, 1023 % 256, 0x77}));
    EXPECT_EQ(Editor->GetChangeLog().GetChange(0).Offset, 1);
}

TEST_F(HexEditorTest, The1025thChangePushesTheFirstOutOfReach)
{
    for (int I = 0; I < 1025; ++I) {
        Editor->MoveCursor(I % 1024);
        Editor->SetCursorByte(std::uint8_t(0x80 ^ Editor->GetCursorByte()));
    }
    for (int I = 0; I < 1024; ++I)
        Editor->Undo();
    EXPECT_EQ(Changes(), 0);
    // Byte 0 changed twice (changes 1 and 1025): only the second was undone.
    EXPECT_EQ(Editor->GetByte(0), 0x80);
    for (int I = 1; I < 1024; ++I)
        ASSERT_EQ(Editor->GetByte(I), I % 256) << I;
}

} // namespace
