// The Find dialog: filled from the last search, worked by keys and clicks, answering with the
// request or leaving it; no search for blanks or for numbers the editor would misread.
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CheckBox.h"
#include "framework/stdctrls/Edit.h"
#include "framework/stdctrls/RadioGroup.h"
#include "programs/hexedit/Ffind.h"
#include "tests/programs/HexDialogFixture.h"
#include "tests/support/CaseName.h"

namespace {

class FindDialogTest : public HexDialogTest
{
protected:
    bool Find(const std::function<void(TFormFind&)>& Act)
    {
        WhenOpen<TFormFind>(Act);
        return TFormFind::Execute(Request);
    }
    void ClickItem(TRadioGroup* Group, int Index)
    {
        const TRect R = Group->GetItemRect(Index);
        Click(Group, R.TopLeft() + TPoint{4, R.Height() / 2});
    }

    TFindRequest Request{"last", THexEditor::SearchCharacters, false, false};
};

TEST_F(FindDialogTest, OpensFilledFromTheLastSearchAndCancelLeavesIt)
{
    Request = {" 4d 5a", THexEditor::SearchHex, true, true};
    const bool Found = Find([this](TFormFind& D) {
        EXPECT_EQ(D.GetCaption(), "Find");
        ExpectCentredOverTheMainForm();
        EXPECT_TRUE(D.EditFindWhat->Focused());
        EXPECT_EQ(D.EditFindWhat->GetSelText(), " 4d 5a");
        EXPECT_EQ(D.RadioGroupMode->GetItemIndex(), 2);
        EXPECT_TRUE(D.CheckBoxMatchCase->GetChecked());
        EXPECT_FALSE(D.CheckBoxMatchCase->GetEnabled());
        EXPECT_TRUE(D.CheckBoxFromCursor->GetChecked());
        Type("new");
        Click(D.CheckBoxFromCursor);
        Click(D.ButtonCancel);
    });
    EXPECT_FALSE(Found);
    EXPECT_EQ(Request.Text, " 4d 5a");
    EXPECT_EQ(Request.Mode, THexEditor::SearchHex);
    EXPECT_TRUE(Request.FromCursor);
}

TEST_F(FindDialogTest, TabVisitsTheControlsTopToBottom)
{
    Find([this](TFormFind& D) {
        std::vector<TWinControl*> Visited;
        for (int I = 0; I < 6; ++I) {
            Key(VK_TAB);
            for (TWinControl* W : std::initializer_list<TWinControl*>{
                     D.EditFindWhat, D.RadioGroupMode, D.CheckBoxMatchCase, D.CheckBoxFromCursor,
                     D.ButtonFind, D.ButtonCancel})
                if (W->Focused())
                    Visited.push_back(W);
        }
        EXPECT_EQ(Visited, (std::vector<TWinControl*>{D.RadioGroupMode, D.CheckBoxMatchCase,
                                                      D.CheckBoxFromCursor, D.ButtonFind,
                                                      D.ButtonCancel, D.EditFindWhat}));
        Key(VK_ESCAPE);
    });
}

TEST_F(FindDialogTest, MatchCaseIsOnlyForCharacters)
{
    Request.MatchCase = true;
    const bool Found = Find([this](TFormFind& D) {
        std::vector<bool> Enabled;
        for (int Item : {1, 2, 0, 2}) {
            ClickItem(D.RadioGroupMode, Item);
            Enabled.push_back(D.CheckBoxMatchCase->GetEnabled());
        }
        EXPECT_EQ(Enabled, (std::vector<bool>{false, false, true, false}));
        D.EditFindWhat->SetFocus();
        Type("ff");
        Key(VK_RETURN);
    });
    ASSERT_TRUE(Found);
    // The box keeps its check for the next search for characters, but this one goes without.
    EXPECT_TRUE(Request.MatchCase);
    EXPECT_EQ(Request.Flags(), 0);
}

TEST_F(FindDialogTest, BlankTextCannotBeSearchedFor)
{
    const bool Found = Find([this](TFormFind& D) {
        Type("   ");
        EXPECT_FALSE(D.ButtonFind->GetEnabled());
        Key(VK_RETURN);
        EXPECT_EQ(D.GetModalResult(), mrNone);
        Type("x");
        EXPECT_TRUE(D.ButtonFind->GetEnabled());
        Key(VK_RETURN);
    });
    EXPECT_TRUE(Found);
    EXPECT_EQ(Request.Text, "   x");
}

// Choices made with keys and clicks, confirmed by Enter or the Find button.
struct TChoiceCase
{
    const char* Name;
    int Item; // the mode's radio button, clicked
    const char* Text;
    bool ClickMatchCase, ClickFromCursor, ByEnter;
    TFindRequest Expected;
    int Flags;
};

class FindDialogChoice : public FindDialogTest, public testing::WithParamInterface<TChoiceCase>
{};

TEST_P(FindDialogChoice, AnswersWithTheRequest)
{
    const TChoiceCase& C = GetParam();
    const bool Found = Find([this, &C](TFormFind& D) {
        ClickItem(D.RadioGroupMode, C.Item);
        if (C.ClickMatchCase)
            Click(D.CheckBoxMatchCase);
        if (C.ClickFromCursor)
            Click(D.CheckBoxFromCursor);
        D.EditFindWhat->SetFocus();
        Type(C.Text);
        if (C.ByEnter)
            Key(VK_RETURN);
        else
            Click(D.ButtonFind);
    });
    ASSERT_TRUE(Found);
    EXPECT_EQ(Request.Text, C.Expected.Text);
    EXPECT_EQ(Request.Mode, C.Expected.Mode);
    EXPECT_EQ(Request.MatchCase, C.Expected.MatchCase);
    EXPECT_EQ(Request.FromCursor, C.Expected.FromCursor);
    EXPECT_EQ(Request.Flags(), C.Flags);
}

constexpr int Case = THexEditor::SearchMatchCase, Cursor = THexEditor::SearchFromCursor;

INSTANTIATE_TEST_SUITE_P(
    Cases, FindDialogChoice,
    testing::Values(
        TChoiceCase{"Characters", 0, "Abc", false, false, true, {"Abc", 1, false, false}, 0},
        TChoiceCase{
            "CharactersInTheirCase", 0, "Abc", true, false, false, {"Abc", 1, true, false}, Case},
        TChoiceCase{"CharactersFromTheCursorInTheirCase",
                    0,
                    "a b",
                    true,
                    true,
                    true,
                    {"a b", 1, true, true},
                    Case | Cursor},
        TChoiceCase{
            "DecimalFromTheCursor", 1, "258", false, true, false, {"258", 2, false, true}, Cursor},
        TChoiceCase{
            "DecimalInHexadecimal", 1, "0x1F", false, false, true, {"0x1F", 2, false, false}, 0},
        TChoiceCase{
            "HexBytes", 2, "4D,5A 90", false, false, true, {"4D,5A 90", 3, false, false}, 0},
        // The box is disabled in this mode: the click does nothing.
        TChoiceCase{
            "HexBytesFromTheCursor", 2, "ff", true, true, true, {"ff", 3, false, true}, Cursor}),
    ByName{});

// Texts the editor would read as another number, or as no bytes: a message, and the dialog stays.
struct TRefusedCase
{
    const char* Name;
    int Item;
    const char* Text;
};

class FindDialogRefused : public FindDialogTest, public testing::WithParamInterface<TRefusedCase>
{};

TEST_P(FindDialogRefused, SaysWhyAndStaysOpenWithTheTextSelected)
{
    const TRefusedCase& C = GetParam();
    Find([this, &C](TFormFind& D) {
        ClickItem(D.RadioGroupMode, C.Item);
        D.EditFindWhat->SetFocus();
        Type(C.Text);
        AnswerBox();
        Key(VK_RETURN);
        const std::string Message =
            C.Item == 1 ? "\"" + std::string(C.Text) +
                              "\" is not a number from -2147483648 to 4294967295 (or 0x0 to "
                              "0xFFFFFFFF)."
                        : "\"" + std::string(C.Text) +
                              "\" is not a row of hexadecimal bytes, such as 4D 5A 90.";
        EXPECT_EQ(Boxes, (std::vector<std::string>{Message}));
        EXPECT_EQ(D.GetModalResult(), mrNone);
        EXPECT_TRUE(D.EditFindWhat->Focused());
        EXPECT_EQ(D.EditFindWhat->GetSelText(), C.Text);
        Key(VK_ESCAPE);
    });
    EXPECT_EQ(Request.Text, "last");
}

INSTANTIATE_TEST_SUITE_P(Cases, FindDialogRefused,
                         testing::Values(TRefusedCase{"DecimalWithLetters", 1, "12a"},
                                         TRefusedCase{"DecimalPast32Bits", 1, "4294967296"},
                                         TRefusedCase{"NegativePast32Bits", 1, "-2147483649"},
                                         TRefusedCase{"HexadecimalPast32Bits", 1, "0x100000000"},
                                         TRefusedCase{"SignedHexadecimal", 1, "-0x10"},
                                         TRefusedCase{"BlankAfterTheSign", 1, "- 5"},
                                         TRefusedCase{"HexBytesWithOtherLetters", 2, "4D 5G"},
                                         TRefusedCase{"HexBytesWithoutDigits", 2, "xyz"}),
                         ByName{});

} // namespace
