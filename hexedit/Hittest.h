#pragma once

#include <cstddef>
#include <deque>
#include <vector>

// The table that maps the screen cells the hex editor painted back to byte offsets and panels.
// Rows are known by their exact pixel span and kept in the order they were added; where rows or
// cells overlap, the last one added wins. Bounds are client pixels, both ends inclusive.
//
// The table grows rather than stopping at 128 rows or 128 cells a row: a tall control with a
// small font, a long line or many font changes keep every painted cell clickable. It allocates
// only when a row is added or a row outgrows 128 cells; repainting a known row does not. Rows
// already handed out stay where they are when the table grows.

struct THitCell
{
    int Left = 0;
    int Right = 0;
    int Offset = 0; // the byte shown, or the first byte of a decimal group
    int Panel = 0;  // 0 value cells, 1 character column
};

class THitRow
{
public:
    THitRow(int ATop, int ABottom);

    int Top;
    int Bottom;

    // Cell count := 0.
    void ClearRow() { FCells.clear(); }
    // Appends a cell.
    void AddCell(int Left, int Right, int Offset, int Panel);

    std::size_t GetCellCount() const { return FCells.size(); }
    const THitCell& GetCell(std::size_t Index) const { return FCells[Index]; }

private:
    std::vector<THitCell> FCells;
};

class THitTest
{
public:
    static constexpr std::size_t CellRoom = 128;

    // Row count := 0.
    void Clear() { FRows.clear(); }
    // The last row spanning exactly Top to Bottom; failing that, with Create a new empty row with
    // these bounds, else null. Never null when Create is set.
    THitRow* FindOrAddRow(int Top, int Bottom, bool Create);
    // The last cell with Left <= X <= Right of the last row with Top <= Y <= Bottom, or null.
    const THitCell* Find(int X, int Y) const;

    std::size_t GetRowCount() const { return FRows.size(); }
    const THitRow& GetRow(std::size_t Index) const { return FRows[Index]; }

private:
    std::deque<THitRow> FRows;
};
