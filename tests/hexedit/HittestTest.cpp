#include "hexedit/Hittest.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

// Two rows of three cells with a gap after the second, as painting adds them.
THitTest TwoRows()
{
    THitTest Table;
    for (int Line = 0; Line < 2; ++Line) {
        THitRow* Row = Table.FindOrAddRow(Line * 10, Line * 10 + 7, true);
        Row->ClearRow();
        Row->AddCell(5, 14, Line * 16, 0);
        Row->AddCell(15, 24, Line * 16 + 1, 0);
        Row->AddCell(30, 35, Line * 16, 1);
    }
    return Table;
}

TEST(HittestTest, FindTheCellUnderAPoint)
{
    const THitTest Table = TwoRows();
    const struct
    {
        int X, Y;
        std::optional<int> Offset;
        int Panel;
    } Cases[] = {
        {5, 0, 0, 0},
        {14, 7, 0, 0},
        {15, 3, 1, 0},
        {24, 13, 17, 0},
        {30, 17, 16, 1},
        {4, 3, std::nullopt, 0},   // left of the first cell
        {27, 3, std::nullopt, 0},  // between value cells and characters
        {10, 8, std::nullopt, 0},  // between two rows' spans
        {10, 18, std::nullopt, 0}, // below the last row
        {36, 0, std::nullopt, 0},
    };
    for (const auto& C : Cases) {
        const THitCell* Cell = Table.Find(C.X, C.Y);
        ASSERT_EQ(Cell != nullptr, C.Offset.has_value()) << C.X << "," << C.Y;
        if (Cell != nullptr) {
            EXPECT_EQ(Cell->Offset, *C.Offset) << C.X << "," << C.Y;
            EXPECT_EQ(Cell->Panel, C.Panel) << C.X << "," << C.Y;
        }
    }
}

TEST(HittestTest, RowsAreFoundByTheirExactSpan)
{
    THitTest Table = TwoRows();
    EXPECT_EQ(Table.FindOrAddRow(0, 6, false), nullptr);
    EXPECT_EQ(Table.FindOrAddRow(1, 7, false), nullptr);
    THitRow* Row = Table.FindOrAddRow(10, 17, false);
    ASSERT_NE(Row, nullptr);
    EXPECT_EQ(Row->GetCellCount(), 3u);
    EXPECT_EQ(Table.FindOrAddRow(10, 17, true), Row);
    EXPECT_EQ(Table.GetRowCount(), 2u);
    Row->ClearRow();
    EXPECT_EQ(Table.Find(16, 12), nullptr);
    Table.Clear();
    EXPECT_EQ(Table.GetRowCount(), 0u);
    EXPECT_EQ(Table.FindOrAddRow(0, 7, false), nullptr);
    EXPECT_EQ(Table.Find(5, 0), nullptr);
}

TEST(HittestTest, TheLastRowAndTheLastCellWin)
{
    THitTest Table = TwoRows();
    // A later layout (a taller font) whose first row overlaps both rows of the first.
    THitRow* Taller = Table.FindOrAddRow(0, 15, true);
    Taller->AddCell(0, 40, 100, 0);
    Taller->AddCell(20, 22, 101, 1);
    EXPECT_EQ(Table.Find(5, 12)->Offset, 100);
    EXPECT_EQ(Table.Find(21, 0)->Offset, 101);
    EXPECT_EQ(Table.Find(21, 17)->Offset, 17); // past the taller row, the older row answers
    // The latest of two rows with the same span is the one found.
    EXPECT_EQ(Table.FindOrAddRow(0, 15, true), Taller);
}

TEST(HittestTest, BeyondTheUsualRoomEveryRowAndCellIsKept)
{
    constexpr int Rows = 3 * 128 + 5, Cells = 2 * 128 + 3;
    THitTest Table;
    THitRow* First = Table.FindOrAddRow(0, 0, true);
    First->AddCell(0, 0, -7, 1);
    for (int Y = 1; Y < Rows; ++Y) {
        THitRow* Row = Table.FindOrAddRow(Y, Y, true);
        ASSERT_NE(Row, nullptr) << Y;
        for (int X = 0; X < Cells; ++X)
            Row->AddCell(X * 2, X * 2, Y * 1000 + X, 0);
    }
    EXPECT_EQ(Table.GetRowCount(), static_cast<std::size_t>(Rows));
    // The first row handed out is still the table's own and still answers.
    EXPECT_EQ(Table.FindOrAddRow(0, 0, false), First);
    EXPECT_EQ(Table.Find(0, 0)->Offset, -7);
    for (int Y = 1; Y < Rows; Y += 37)
        for (int X = 0; X < Cells; X += 19) {
            ASSERT_NE(Table.Find(X * 2, Y), nullptr) << X << "," << Y;
            EXPECT_EQ(Table.Find(X * 2, Y)->Offset, Y * 1000 + X);
            EXPECT_EQ(Table.Find(X * 2 + 1, Y), nullptr);
        }
}

} // namespace
