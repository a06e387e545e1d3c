// The edit box: editing keys on UTF-8 text, MaxLength, ReadOnly, the clipboard keys through the
// headless clipboard, the mouse, Tab with AutoSelect, scrolling, its look and its description.
#include "framework/stdctrls/Edit.h"

#include "framework/objects/FormReader.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/windows/Form.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// An edit box at form (10, 10), 100 x 21, focused; its text starts 3 pixels in (2 of border, 1
// of margin).
class EditTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        Port().ClearClipboard();
        MakeForm(TRect::FromSize(100, 50, 200, 60), clBtnFace);
        Edit = new TEdit(Form);
        Edit->SetBounds(10, 10, 100, 21);
        Edit->SetParent(Form);
        Edit->OnChange = [this](TObject*) { ++Changes; };
        Form->Show();
        Edit->SetFocus();
        Pump();
    }
    void Key(unsigned VirtualKey, TShiftState Shift = 0)
    {
        WM().HandleKey(Form->GetHandle(), WM_KEYDOWN, VirtualKey, Shift);
        WM().HandleKey(Form->GetHandle(), WM_KEYUP, VirtualKey, Shift);
        Pump();
    }
    void Type(const std::u32string& Text)
    {
        for (char32_t C : Text)
            WM().HandleChar(Form->GetHandle(), C);
        Pump();
    }
    // Form x of the boundary after the first Chars bytes of the text.
    int BoundaryX(const std::string& Prefix)
    {
        TCanvas& C = Edit->GetCanvas();
        C.SetFont(Edit->GetFont());
        return 10 + 3 + C.TextWidth(Prefix);
    }

    TEdit* Edit = nullptr;
    int Changes = 0;
};

// A key with its shift state, or characters typed.
struct TStep
{
    TStep(unsigned AKey, TShiftState AShift = 0) : Key(AKey), Shift(AShift) {}
    TStep(const char32_t* ATyped) : Typed(ATyped) {}
    unsigned Key = 0;
    TShiftState Shift = 0;
    std::u32string Typed;
};

struct TEditCase
{
    const char* Name;
    const char* Text;
    int SelStart, SelLength;
    std::vector<TStep> Steps;
    const char* Expected;
    int ExpectedStart, ExpectedLength;
};

// "aé€😀b": characters of one, two, three and four bytes.
const TEditCase EditCases[] = {
    {"LeftStepsOverWholeCharacters", "aé€😀b", 5, 0, {{VK_LEFT}, {VK_LEFT}}, "aé€😀b", 3, 0},
    {"ShiftLeftSelectsOneCharacter", "aé€😀b", 3, 0, {{VK_LEFT, ssShift}}, "aé€😀b", 2, 1},
    {"RightStepsOverFourBytes", "😀😀", 0, 0, {{VK_RIGHT}}, "😀😀", 1, 0},
    {"BackspaceDeletesOneCharacter", "aé€", 3, 0, {{VK_BACK}}, "aé", 2, 0},
    {"DeleteDeletesOneCharacter", "é€x", 0, 0, {{VK_DELETE}}, "€x", 0, 0},
    {"DeleteDeletesTheSelection", "hello world", 0, 6, {{VK_DELETE}}, "world", 0, 0},
    {"BackspaceAtTheStartDoesNothing", "ab", 0, 0, {{VK_BACK}}, "ab", 0, 0},
    {"TypingReplacesTheSelection", "hello", 1, 3, {{U"Ж😀"}}, "hЖ😀o", 3, 0},
    {"ControlCharactersAreNotTyped", "ab", 1, 0, {{U"\b\r\x1b\x01"}}, "ab", 1, 0},
    {"CtrlRightGoesToTheNextWord",
     "one two  three",
     0,
     0,
     {{VK_RIGHT, ssCtrl}, {VK_RIGHT, ssCtrl}},
     "one two  three",
     9,
     0},
    {"CtrlShiftLeftSelectsAWord",
     "one two  three",
     9,
     0,
     {{VK_LEFT, ssCtrl | ssShift}},
     "one two  three",
     4,
     5},
    {"ShiftEndSelectsToTheEnd", "abcé", 1, 0, {{VK_END, ssShift}}, "abcé", 1, 3},
    {"ShiftHomeSelectsToTheStart", "abcé", 2, 0, {{VK_HOME, ssShift}}, "abcé", 0, 2},
    {"LeftCollapsesASelection", "abcd", 1, 2, {{VK_LEFT}}, "abcd", 1, 0},
    {"RightCollapsesASelection", "abcd", 1, 2, {{VK_RIGHT}}, "abcd", 3, 0},
    {"CtrlASelectsAll", "abé", 1, 0, {{'A', ssCtrl}}, "abé", 0, 3},
};

class EditKeyTest : public EditTest, public testing::WithParamInterface<TEditCase>
{};

TEST_P(EditKeyTest, EditsAsWindowsDoes)
{
    const TEditCase& C = GetParam();
    Edit->SetText(C.Text);
    Edit->SetSelStart(C.SelStart);
    Edit->SetSelLength(C.SelLength);
    Pump();
    for (const TStep& S : C.Steps)
        S.Key ? Key(S.Key, S.Shift) : Type(S.Typed);
    EXPECT_EQ(Edit->GetText(), C.Expected);
    EXPECT_EQ(Edit->GetSelStart(), C.ExpectedStart);
    EXPECT_EQ(Edit->GetSelLength(), C.ExpectedLength);
}

INSTANTIATE_TEST_SUITE_P(Keys, EditKeyTest, testing::ValuesIn(EditCases), ByName());

TEST_F(EditTest, MaxLengthCountsCharactersOfTypingAndPasting)
{
    Edit->SetMaxLength(3);
    Type(U"éé€x");
    EXPECT_EQ(Edit->GetText(), "éé€");
    Edit->SetSelStart(1);
    Edit->SetSelLength(1);
    Port().PutClipboardText("😀😀");
    Key('V', ssCtrl);
    EXPECT_EQ(Edit->GetText(), "é😀€") << "the pasted text is cut to the room the selection left";
    Edit->SetSelStart(3);
    Type(U"z");
    EXPECT_EQ(Edit->GetText(), "é😀€");
}

TEST_F(EditTest, ReadOnlyRefusesChangesButCopies)
{
    Edit->SetText("keep me");
    Edit->SetReadOnly(true);
    Changes = 0;
    Port().PutClipboardText("other");
    Edit->SelectAll();
    Type(U"x");
    Key(VK_BACK);
    Key(VK_DELETE);
    Key('V', ssCtrl);
    Key('X', ssCtrl);
    EXPECT_EQ(Edit->GetText(), "keep me");
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Port().GetClipboardText(), "other") << "cut is refused, so nothing is copied";
    Key(VK_LEFT, ssShift);
    Key(VK_INSERT, ssCtrl);
    EXPECT_EQ(Port().GetClipboardText(), "keep m");
}

TEST_F(EditTest, ClipboardKeysRoundTrip)
{
    Edit->SetText("héllo wörld");
    Edit->SetSelStart(6);
    Edit->SetSelLength(5);
    Key('C', ssCtrl);
    EXPECT_EQ(Port().GetClipboardText(), "wörld");
    Key(VK_HOME);
    Key(VK_INSERT, ssShift);
    EXPECT_EQ(Edit->GetText(), "wörldhéllo wörld");
    EXPECT_EQ(Edit->GetSelStart(), 5);
    Key(VK_END, ssShift);
    Key(VK_DELETE, ssShift);
    EXPECT_EQ(Edit->GetText(), "wörld");
    EXPECT_EQ(Port().GetClipboardText(), "héllo wörld");
    Key('X', ssCtrl); // nothing selected: the clipboard stays
    EXPECT_EQ(Port().GetClipboardText(), "héllo wörld");
    Port().PutClipboardText("a\r\nb\nc\rd");
    Key('V', ssCtrl);
    EXPECT_EQ(Edit->GetText(), "wörlda b c d") << "line breaks become spaces";
}

TEST_F(EditTest, OnChangeFiresOncePerChange)
{
    Edit->SetText("ab");
    Type(U"c");
    Key(VK_LEFT);
    Key(VK_BACK);
    Edit->SetText("ac");
    EXPECT_EQ(Changes, 3) << "moving the caret and setting the same text are no changes";
}

TEST_F(EditTest, ClickDragAndDoubleClickSelect)
{
    Edit->SetText("ab cd");
    Mouse(WM_LBUTTONDOWN, {BoundaryX("ab") + 1, 20}, ssLeft);
    Mouse(WM_LBUTTONUP, {BoundaryX("ab") + 1, 20});
    EXPECT_EQ(Edit->GetCaretPos(), 2);
    Mouse(WM_LBUTTONDOWN, {BoundaryX("a") - 1, 20}, ssLeft);
    Mouse(WM_MOUSEMOVE, {BoundaryX("ab c"), 20}, ssLeft);
    Mouse(WM_LBUTTONUP, {BoundaryX("ab c"), 20});
    EXPECT_EQ(Edit->GetSelStart(), 1);
    EXPECT_EQ(Edit->GetSelLength(), 3);
    Mouse(WM_LBUTTONDBLCLK, {BoundaryX("ab c"), 20}, ssLeft);
    Mouse(WM_LBUTTONUP, {BoundaryX("ab c"), 20});
    EXPECT_EQ(Edit->GetSelText(), "cd");
}

TEST_F(EditTest, TabSelectsAllOnlyWithAutoSelect)
{
    auto* Second = new TEdit(Form);
    Second->SetBounds(10, 35, 100, 21);
    Second->SetParent(Form);
    Second->SetText("second");
    Pump();
    Key(VK_TAB);
    ASSERT_TRUE(Second->Focused()) << "Tab is not the box's key";
    EXPECT_EQ(Second->GetSelLength(), 6);
    Second->SetAutoSelect(false);
    Second->SetSelStart(2);
    Key(VK_TAB, ssShift);
    Key(VK_TAB);
    EXPECT_EQ(Second->GetSelStart(), 2);
    EXPECT_EQ(Second->GetSelLength(), 0);
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretInView)
{
    Edit->SetText(std::string(60, 'm'));
    Key(VK_END);
    EXPECT_GT(Edit->GetScrollOffset(), 0);
    const int CaretX = BoundaryX(Edit->GetText()) - Edit->GetScrollOffset();
    EXPECT_GE(CaretX, 13);
    EXPECT_LT(CaretX, 10 + 97);
    Key(VK_HOME);
    EXPECT_EQ(Edit->GetScrollOffset(), 0);
}

TEST_F(EditTest, PaintsBorderCaretAndSelection)
{
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(11, 11), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(At(109, 30), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(13, 15), ColorToRGB(clWindowText)) << "the caret of an empty box";
    EXPECT_EQ(At(14, 15), ColorToRGB(clWindow));

    Edit->SetText("WW");
    Edit->SelectAll();
    Pump();
    const int End = BoundaryX("WW");
    EXPECT_EQ(At(13, 13), ColorToRGB(clHighlight));
    int Ink = 0;
    for (int X = 13; X < End; ++X)
        for (int Y = 13; Y < 28; ++Y)
            Ink += At(X, Y) == ColorToRGB(clHighlightText);
    EXPECT_GT(Ink, 0) << "the selected text in the highlight's text colour";
    EXPECT_EQ(At(End, 15), ColorToRGB(clWindowText)) << "the caret at the selection's end";
    EXPECT_EQ(At(End + 2, 15), ColorToRGB(clWindow));

    Edit->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(End + 2, 15), ColorToRGB(clBtnFace));
    EXPECT_NE(At(13, 13), ColorToRGB(clHighlight));
}

TEST_F(EditTest, ADescriptionReadsBack)
{
    RegisterStandardControls();
    const char* const Text = "object Form1: TForm\n"
                             "  object Edit1: TEdit\n"
                             "    Text = 'zwölf'\n"
                             "    MaxLength = 8\n"
                             "    ReadOnly = True\n"
                             "    AutoSelect = False\n"
                             "  end\n"
                             "end\n";
    TForm Read(nullptr);
    TFormReader::ReadInto(Read, Text);
    auto* E = dynamic_cast<TEdit*>(Read.FindComponent("Edit1"));
    ASSERT_NE(E, nullptr);
    EXPECT_EQ(E->GetText(), "zwölf");
    EXPECT_EQ(E->GetMaxLength(), 8);
    EXPECT_TRUE(E->GetReadOnly());
    EXPECT_FALSE(E->GetAutoSelect());
    EXPECT_TRUE(E->GetTabStop());
    EXPECT_EQ(E->GetColor(), clWindow);
}

} // namespace
