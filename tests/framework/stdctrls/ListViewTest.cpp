// The report-style list view: filling inside an update, scrolling an item into view, clearing,
// sub-items in their columns, selection by mouse and keys, the wheel and the embedded bar.
#include "framework/stdctrls/ListView.h"

#include "framework/objects/FormReader.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/windows/Form.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A list at form (10, 10), 200 x 150, with columns of 60, 50 and 70 pixels, and a button-face
// form around it. Paints counts the list's paint messages.
class ListViewTest : public HeadlessFormTest
{
protected:
    static constexpr int Widths[] = {60, 50, 70};

    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm(TRect::FromSize(100, 50, 260, 200), clBtnFace);
        List = new TListView(Form);
        List->SetBounds(10, 10, 200, 150);
        List->SetParent(Form);
        for (const int W : Widths) {
            TListColumn* C = List->GetColumns()->Add();
            C->SetCaption("Col");
            C->SetWidth(W);
        }
        Other = new TListView(Form);
        Other->SetBounds(220, 10, 30, 30);
        Other->SetParent(Form);
        const TWndMethod Previous = List->GetWindowProc();
        List->SetWindowProc([this, Previous](TMessage& M) {
            Paints += M.Msg == WM_PAINT;
            Previous(M);
        });
        Form->Show();
        Pump();
    }
    void Fill(int Count)
    {
        for (int I = 0; I < Count; ++I) {
            TListItem* Item = List->GetItems()->Add();
            Item->SetCaption("Item " + std::to_string(I));
            Item->GetSubItems().Add("byte");
        }
    }
    void Key(unsigned VirtualKey)
    {
        WM().HandleKey(Form->GetHandle(), WM_KEYDOWN, VirtualKey, 0);
        Pump();
    }
    // The left of column C in form coordinates (inside the 2-pixel edge).
    int ColumnLeft(int C)
    {
        int X = 12;
        for (int I = 0; I < C; ++I)
            X += Widths[I];
        return X;
    }
    // The form columns from X0 to X1 of list row Index that hold pixels other than Background.
    std::vector<int> InkColumns(int Index, int X0, int X1, TColor Background = clWindow)
    {
        const TRect R = List->GetItemRect(Index).Offset(10, 10);
        std::vector<int> Columns;
        for (int X = X0; X < X1; ++X)
            for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y)
                if (At(X, Y) != ColorToRGB(Background)) {
                    Columns.push_back(X);
                    break;
                }
        return Columns;
    }
    int Bottom() { return List->GetHeight() - 2; } // the rows' bottom, inside the edge

    TListView* List = nullptr;
    TListView* Other = nullptr;
    int Paints = 0;
};

TEST_F(ListViewTest, FillingInsideAnUpdatePaintsOnceAndShowsTheLastItemInFull)
{
    Fill(5);
    Pump();
    Paints = 0;
    // As a log view refills itself: clear, add, bring the last into view, all in one update,
    // with the queue handled now and then meanwhile.
    TListItems& Items = *List->GetItems();
    Items.BeginUpdate();
    Items.Clear();
    for (int Block = 0; Block < 6; ++Block) {
        Fill(50);
        Pump();
    }
    Items[299]->MakeVisible(false);
    Pump();
    EXPECT_EQ(Paints, 0);
    Items.EndUpdate();
    Pump();
    EXPECT_EQ(Paints, 1);

    EXPECT_EQ(Items.GetCount(), 300);
    const TRect Last = List->GetItemRect(299);
    EXPECT_GE(Last.Top, 2 + List->GetHeaderHeight());
    EXPECT_LE(Last.Bottom, Bottom());
    EXPECT_GT(Last.Bottom + List->GetRowHeight(), Bottom()) << "no empty row below the last";
    const TScrollBar* Bar = List->GetScrollBar();
    ASSERT_TRUE(Bar->GetVisible());
    EXPECT_EQ(Bar->GetPosition(), Bar->GetMaxPosition());
    EXPECT_EQ(Bar->GetPosition(), List->GetTopIndex());
    EXPECT_EQ(Bar->GetThumbRect().Bottom, Bar->GetHeight() - Bar->GetWidth());
    EXPECT_FALSE(InkColumns(299, ColumnLeft(0), ColumnLeft(1)).empty());
}

TEST_F(ListViewTest, ClearEmptiesTheListAndHidesTheBar)
{
    Fill(40);
    List->GetItems()->GetItem(39)->MakeVisible(false);
    List->SetItemIndex(39);
    Pump();
    ASSERT_TRUE(List->GetScrollBar()->GetVisible());
    ASSERT_GT(List->GetTopIndex(), 0);
    List->GetItems()->Clear();
    Pump();
    EXPECT_EQ(List->GetItems()->GetCount(), 0);
    EXPECT_FALSE(List->GetScrollBar()->GetVisible());
    EXPECT_EQ(List->GetTopIndex(), 0);
    EXPECT_EQ(List->GetItemIndex(), -1);
    int Ink = 0;
    for (int Y = 12 + List->GetHeaderHeight(); Y < 10 + Bottom(); ++Y)
        for (int X = 12; X < 10 + 198; ++X)
            Ink += At(X, Y) != ColorToRGB(clWindow);
    EXPECT_EQ(Ink, 0);
}

TEST_F(ListViewTest, EachTextStaysInItsColumn)
{
    // Row 0 fills the three columns; row 1 has a text far wider than the second column and
    // nothing in the third.
    TListItem* A = List->GetItems()->Add();
    A->SetCaption("AAAA");
    A->GetSubItems().Add("BBBB");
    A->GetSubItems().Add("CCCC");
    List->GetItems()->Add()->GetSubItems().Add("WWWWWWWWWWWWWWWWWWWW");
    Pump();
    const struct
    {
        int Row, Column;
        bool Ink;
    } Cells[] = {{0, 0, true},  {0, 1, true}, {0, 2, true},
                 {1, 0, false}, {1, 1, true}, {1, 2, false}};
    for (const auto& C : Cells) {
        const int Left = ColumnLeft(C.Column), Right = ColumnLeft(C.Column + 1);
        const std::vector<int> Ink = InkColumns(C.Row, Left, Right);
        ASSERT_EQ(!Ink.empty(), C.Ink) << C.Row << "," << C.Column;
        if (C.Ink) {
            EXPECT_GE(Ink.front(), Left + 2) << "a margin before the text";
            EXPECT_LT(Ink.back(), Right);
        }
    }
    // The wide text reaches its column's right edge and is cut there.
    EXPECT_GE(InkColumns(1, ColumnLeft(1), ColumnLeft(2)).back(), ColumnLeft(2) - 4);
}

TEST_F(ListViewTest, TheHeaderIsARowOfRaisedButtons)
{
    const int Y = 12 + List->GetHeaderHeight() / 2;
    for (int C = 0; C < 3; ++C) {
        EXPECT_EQ(At(ColumnLeft(C), Y), ColorToRGB(clBtnHighlight)) << C;
        EXPECT_EQ(At(ColumnLeft(C + 1) - 1, Y), ColorToRGB(cl3DDkShadow)) << C;
        int Ink = 0;
        for (int X = ColumnLeft(C) + 2; X < ColumnLeft(C + 1) - 2; ++X)
            for (int YY = 14; YY < 10 + List->GetHeaderHeight(); ++YY)
                Ink += At(X, YY) != ColorToRGB(clBtnFace);
        EXPECT_GT(Ink, 5) << "the caption of column " << C;
    }
    // The sunken edge around it all.
    EXPECT_EQ(At(10, 80), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(11, 80), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(At(209, 80), ColorToRGB(clBtnHighlight));
}

TEST_F(ListViewTest, WithoutColumnHeadersTheRowsStartAtTheTop)
{
    Fill(3);
    const int Header = List->GetHeaderHeight();
    List->SetShowColumnHeaders(false);
    Pump();
    EXPECT_EQ(List->GetHeaderHeight(), 0);
    EXPECT_EQ(List->GetItemRect(0).Top, 2);
    EXPECT_EQ(List->ItemAt({20, 3}), 0);
    // Where the header's raised buttons were, the first row shows.
    for (int C = 0; C < 3; ++C)
        EXPECT_EQ(At(ColumnLeft(C), 12 + Header / 2), ColorToRGB(clWindow)) << C;
    EXPECT_GE(InkColumns(0, ColumnLeft(0), ColumnLeft(1)).size(), 5u);
}

enum TAction
{
    ClickRow2,
    ClickRow5,
    ClickBelowTheRows,
    Down,
    Up,
    End,
    Home,
    PageDown
};

struct TSelectCase
{
    const char* Name;
    std::vector<TAction> Actions;
    int ItemIndex;
};

class ListViewSelect : public ListViewTest, public testing::WithParamInterface<TSelectCase>
{};

TEST_P(ListViewSelect, ClicksAndKeysMoveTheSelection)
{
    Fill(30);
    Pump();
    for (const TAction A : GetParam().Actions) {
        switch (A) {
        case ClickRow2:
        case ClickRow5: {
            const TRect R = List->GetItemRect(List->GetTopIndex() + (A == ClickRow2 ? 2 : 5));
            Click(List, TPoint{R.Left + 150, R.Top + 3});
            break;
        }
        case ClickBelowTheRows:
            Click(Other);
            break;
        case Down:
            Key(VK_DOWN);
            break;
        case Up:
            Key(VK_UP);
            break;
        case End:
            Key(VK_END);
            break;
        case Home:
            Key(VK_HOME);
            break;
        case PageDown:
            Key(VK_NEXT);
            break;
        }
    }
    const int Index = GetParam().ItemIndex;
    EXPECT_EQ(List->GetItemIndex(), Index);
    if (Index < 0)
        return;
    // The selected row is in view, in the highlight colour while the list has the focus.
    const TRect R = List->GetItemRect(Index);
    ASSERT_GE(R.Top, 2 + List->GetHeaderHeight());
    ASSERT_LE(R.Bottom, Bottom());
    const TColor Expected = ColorToRGB(List->Focused() ? clHighlight : clWindow);
    EXPECT_EQ(At(10 + R.Left + 170, 10 + R.Top + 3), Expected);
    if (Index > List->GetTopIndex()) {
        EXPECT_EQ(At(10 + R.Left + 170, 10 + R.Top - 3), ColorToRGB(clWindow));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListViewSelect,
    testing::Values(TSelectCase{"Click", {ClickRow5}, 5},
                    TSelectCase{"ClickThenDown", {ClickRow5, Down, Down}, 7},
                    TSelectCase{"ClickThenUp", {ClickRow2, Up, Up, Up, Up}, 0},
                    TSelectCase{"EndScrollsToTheLast", {ClickRow2, End}, 29},
                    TSelectCase{"HomeAfterEnd", {ClickRow2, End, Home}, 0},
                    TSelectCase{"DownPastTheBottomScrolls", {ClickRow5, PageDown, Down, Down}, 14},
                    TSelectCase{"ClickOnAScrolledList", {ClickRow2, End, ClickRow2}, 24},
                    TSelectCase{"FocusElsewhereKeepsIt", {ClickRow5, ClickBelowTheRows}, 5}),
    ByName{});

TEST_F(ListViewTest, TheWheelAndTheBarScrollTheRows)
{
    Fill(50);
    Pump();
    const auto Wheel = [&](int Notches) {
        WM().SendMessage(List->GetHandle(), WM_MOUSEWHEEL,
                         WPARAM(std::uint16_t(-120 * Notches)) << 16, 0);
        Pump();
    };
    Wheel(1);
    EXPECT_EQ(List->GetTopIndex(), 3);
    Wheel(2);
    EXPECT_EQ(List->GetTopIndex(), 9);
    Wheel(-1);
    EXPECT_EQ(List->GetTopIndex(), 6);
    EXPECT_EQ(List->GetScrollBar()->GetPosition(), 6);
    Wheel(-5);
    EXPECT_EQ(List->GetTopIndex(), 0);
    Wheel(100);
    EXPECT_EQ(List->GetTopIndex(), 50 - List->GetVisibleRowCount());
    // The bar's up arrow, at the list's top right inside the edge.
    TScrollBar* Bar = List->GetScrollBar();
    Click(Bar, TPoint{8, 8});
    EXPECT_EQ(List->GetTopIndex(), 49 - List->GetVisibleRowCount());
    EXPECT_FALSE(Bar->Focused());
}

TEST_F(ListViewTest, ADescriptionHoldsOne)
{
    RegisterStandardControls();
    TForm Read(nullptr);
    TFormReader::ReadInto(Read, "object Form1: TForm\n"
                                "  object Log: TListView\n"
                                "    Width = 220\n"
                                "    TabStop = False\n"
                                "  end\n"
                                "end\n");
    auto* L = dynamic_cast<TListView*>(Read.FindComponent("Log"));
    ASSERT_NE(L, nullptr);
    EXPECT_EQ(L->GetWidth(), 220);
    EXPECT_FALSE(L->GetTabStop());
}

} // namespace
