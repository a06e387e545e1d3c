// The radio group: ItemIndex's limits, the column-by-column layout as clicks find it, the arrow
// keys, the classic look, and a form description with a check box and a radio group.
#include "framework/stdctrls/RadioGroup.h"

#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/stdctrls/CheckBox.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/windows/Form.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A form at (100, 50) in the face colour with the group "Group" at (10, 10), 200 x 100, first in
// the tab order, and a check box after it. With the default font the caption band is 13 pixels
// high, so the items share group (2, 13) to (198, 98).
class RadioGroupTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm(TRect::FromSize(100, 50, 260, 140), clBtnFace);
        Group = new TRadioGroup(Form);
        Group->SetName("Group");
        Group->SetCaption("Group");
        Group->SetBounds(10, 10, 200, 100);
        Group->SetTabOrder(0);
        Group->SetParent(Form);
        Group->OnClick = [this](TObject*) { ++Clicks; };
        Next = new TCheckBox(Form);
        Next->SetBounds(10, 115, 80, 17);
        Next->SetTabOrder(1);
        Next->SetParent(Form);
        Form->Show();
        Pump();
    }
    static std::vector<std::string> Names(int Count)
    {
        std::vector<std::string> Items;
        for (int I = 0; I < Count; ++I)
            Items.push_back("Item" + std::to_string(I));
        return Items;
    }
    void Key(unsigned VirtualKey)
    {
        WM().HandleKey(Form->GetHandle(), WM_KEYDOWN, VirtualKey, 0);
        WM().HandleKey(Form->GetHandle(), WM_KEYUP, VirtualKey, 0);
        Pump();
    }
    // The pixels of form column X between rows Top and Bottom that are not the face.
    int InkInColumn(int X, int Top, int Bottom)
    {
        int Ink = 0;
        for (int Y = Top; Y < Bottom; ++Y)
            Ink += At(X, Y) != ColorToRGB(clBtnFace);
        return Ink;
    }

    TRadioGroup* Group = nullptr;
    TCheckBox* Next = nullptr;
    int Clicks = 0;
};

struct TIndexCase
{
    const char* Name;
    int Count;
    int Value;
    int Expected;
};

class RadioGroupIndex : public RadioGroupTest, public testing::WithParamInterface<TIndexCase>
{};

TEST_P(RadioGroupIndex, IsHeldToTheItems)
{
    const TIndexCase& C = GetParam();
    Group->SetItems(Names(C.Count));
    Group->SetItemIndex(C.Value);
    EXPECT_EQ(Group->GetItemIndex(), C.Expected);
    EXPECT_EQ(Clicks, C.Expected == -1 ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, RadioGroupIndex,
                         testing::Values(TIndexCase{"BelowZero", 4, -5, -1},
                                         TIndexCase{"First", 4, 0, 0}, TIndexCase{"Last", 4, 3, 3},
                                         TIndexCase{"PastTheLast", 4, 9, 3},
                                         TIndexCase{"NoItemsZero", 0, 0, -1},
                                         TIndexCase{"NoItemsPositive", 0, 2, -1},
                                         TIndexCase{"NoItemsNegative", 0, -3, -1}),
                         ByName{});

struct THitCase
{
    const char* Name;
    int Count;
    int Columns;
    TPoint At; // in the group
    int Expected;
};

class RadioGroupLayout : public RadioGroupTest, public testing::WithParamInterface<THitCase>
{};

TEST_P(RadioGroupLayout, AClickSelectsTheItemUnderIt)
{
    const THitCase& C = GetParam();
    Group->SetItems(Names(C.Count));
    Group->SetColumns(C.Columns);
    Next->SetFocus();
    Pump();
    Mouse(WM_LBUTTONDOWN, {10 + C.At.X, 10 + C.At.Y}, ssLeft);
    Mouse(WM_LBUTTONUP, {10 + C.At.X, 10 + C.At.Y});
    EXPECT_EQ(Group->GetItemIndex(), C.Expected);
    EXPECT_EQ(Clicks, C.Expected == -1 ? 0 : 1);
    EXPECT_TRUE(Group->Focused());
}

// Four items in two columns: 0 and 1 on the left, 2 and 3 on the right, the rows split at 55.
// Three in three columns: one row, the columns split at 67 and 132. Three in two: the right
// column holds item 2 alone.
INSTANTIATE_TEST_SUITE_P(Cases, RadioGroupLayout,
                         testing::Values(THitCase{"FourInTwoTopLeft", 4, 2, {30, 30}, 0},
                                         THitCase{"FourInTwoBottomLeft", 4, 2, {30, 80}, 1},
                                         THitCase{"FourInTwoTopRight", 4, 2, {150, 30}, 2},
                                         THitCase{"FourInTwoBottomRight", 4, 2, {150, 80}, 3},
                                         THitCase{"FourInTwoOnTheCaption", 4, 2, {30, 5}, -1},
                                         THitCase{"ThreeInThreeFirst", 3, 3, {30, 50}, 0},
                                         THitCase{"ThreeInThreeSecond", 3, 3, {100, 50}, 1},
                                         THitCase{"ThreeInThreeThird", 3, 3, {170, 50}, 2},
                                         THitCase{"ThreeInTwoLastAlone", 3, 2, {150, 30}, 2},
                                         THitCase{"ThreeInTwoEmptyCell", 3, 2, {150, 80}, -1}),
                         ByName{});

TEST_F(RadioGroupTest, ArrowsMoveTheSelectionStoppingAtTheEndsAndTabLeaves)
{
    Group->SetItems(Names(4));
    Group->SetColumns(2);
    Group->SetFocus();
    std::vector<int> Seen;
    for (const unsigned K :
         {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_UP, VK_LEFT, VK_UP, VK_LEFT}) {
        Key(K);
        Seen.push_back(Group->GetItemIndex());
    }
    EXPECT_EQ(Seen, (std::vector<int>{0, 1, 2, 3, 3, 2, 1, 0, 0}));
    EXPECT_EQ(Clicks, 7);
    EXPECT_TRUE(Group->Focused());
    Key(VK_TAB);
    EXPECT_TRUE(Next->Focused());
}

TEST_F(RadioGroupTest, TheEtchedFrameAndTheSelectedDot)
{
    // Two items without captions in one column: item 1's button is at group (6, 70), its dot
    // the 4 x 4 square from (10, 74). The frame's top line is at 6, half the caption band.
    Group->SetItems({"", ""});
    Group->SetItemIndex(1);
    Pump();
    const TColor Shadow = ColorToRGB(clBtnShadow), Light = ColorToRGB(clBtnHighlight);
    const struct
    {
        int X, Y;
        TColor Color;
    } Expected[] = {{3, 6, Shadow},
                    {3, 7, Light},
                    {0, 50, Shadow},
                    {1, 50, Light},
                    {198, 50, Shadow},
                    {199, 50, Light},
                    {100, 98, Shadow},
                    {100, 99, Light},
                    {11, 70, Shadow},
                    {11, 81, Light},
                    {8, 75, ColorToRGB(clWindow)}};
    for (const auto& E : Expected)
        EXPECT_EQ(At(10 + E.X, 10 + E.Y), E.Color) << E.X << "," << E.Y;
    // Inside the buttons (item 0's at group (6, 28)), away from their dark inner rings, only
    // the selected one's dot is in the text colour.
    TRect Ink{1000, 1000, -1, -1};
    for (const int Top : {28, 70})
        for (int Y = Top + 3; Y < Top + 9; ++Y)
            for (int X = 9; X < 15; ++X)
                if (At(10 + X, 10 + Y) == ColorToRGB(clWindowText))
                    Ink = {std::min(Ink.Left, X), std::min(Ink.Top, Y), std::max(Ink.Right, X + 1),
                           std::max(Ink.Bottom, Y + 1)};
    EXPECT_EQ(Ink, (TRect{10, 74, 14, 78}));
}

TEST_F(RadioGroupTest, TheFocusRectangleMarksTheSelectedItemWhileFocused)
{
    // Form column 31 is one left of the item captions; item 0's cell is rows 23 to 65, item 1's
    // rows 65 to 108.
    Group->SetItems({"A", "B"});
    Group->SetItemIndex(1);
    Next->SetFocus();
    Pump();
    EXPECT_EQ(InkInColumn(31, 23, 108), 0);
    Group->SetFocus();
    Pump();
    EXPECT_EQ(InkInColumn(31, 23, 65), 0);
    EXPECT_GT(InkInColumn(31, 65, 108), 3);
}

TEST_F(RadioGroupTest, ADescriptionWithACheckBoxAndARadioGroupReadsBack)
{
    RegisterStandardControls();
    // ItemIndex before Items: the index holds once the items are there.
    const char* const Text = "object Form1: TForm\n"
                             "  object CheckBox1: TCheckBox\n"
                             "    Caption = 'Tick'\n"
                             "    Checked = True\n"
                             "    TabOrder = 1\n"
                             "  end\n"
                             "  object RadioGroup1: TRadioGroup\n"
                             "    Caption = 'Pick'\n"
                             "    ItemIndex = 2\n"
                             "    Columns = 2\n"
                             "    Items.Strings = (\n"
                             "      'One'\n"
                             "      'Two'\n"
                             "      'Three')\n"
                             "  end\n"
                             "end\n";
    TForm Read(nullptr);
    TFormReader::ReadInto(Read, Text);
    auto* Check = dynamic_cast<TCheckBox*>(Read.FindComponent("CheckBox1"));
    auto* Radio = dynamic_cast<TRadioGroup*>(Read.FindComponent("RadioGroup1"));
    ASSERT_NE(Check, nullptr);
    ASSERT_NE(Radio, nullptr);
    EXPECT_TRUE(Check->GetChecked());
    EXPECT_EQ(Check->GetCaption(), "Tick");
    EXPECT_EQ(Check->GetTabOrder(), 1);
    EXPECT_EQ(Radio->GetItems(), (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(Radio->GetColumns(), 2);
    EXPECT_EQ(Radio->GetItemIndex(), 2);
    EXPECT_EQ(Radio->GetCaption(), "Pick");

    const std::string Written = TFormWriter::WriteComponent(Read);
    TForm Again(nullptr);
    TFormReader::ReadInto(Again, Written);
    EXPECT_EQ(TFormWriter::WriteComponent(Again), Written);
    EXPECT_NE(Written.find("'Three'"), std::string::npos) << Written;
}

} // namespace
