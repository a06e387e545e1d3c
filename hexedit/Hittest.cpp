#include "hexedit/Hittest.h"

THitRow::THitRow(int ATop, int ABottom) : Top(ATop), Bottom(ABottom)
{
    // The usual line fits without allocating while it is painted; ClearRow keeps the room.
    FCells.reserve(THitTest::CellRoom);
}

void THitRow::AddCell(int Left, int Right, int Offset, int Panel)
{
    FCells.push_back({Left, Right, Offset, Panel});
}

THitRow* THitTest::FindOrAddRow(int Top, int Bottom, bool Create)
{
    for (auto Row = FRows.rbegin(); Row != FRows.rend(); ++Row)
        if (Row->Top == Top && Row->Bottom == Bottom)
            return &*Row;
    if (!Create)
        return nullptr;
    // A deque keeps the rows handed out earlier in place while it grows.
    return &FRows.emplace_back(Top, Bottom);
}

const THitCell* THitTest::Find(int X, int Y) const
{
    for (auto Row = FRows.rbegin(); Row != FRows.rend(); ++Row) {
        if (Row->Top <= Y && Y <= Row->Bottom) {
            for (std::size_t I = Row->GetCellCount(); I-- > 0;) {
                const THitCell& Cell = Row->GetCell(I);
                if (Cell.Left <= X && X <= Cell.Right)
                    return &Cell;
            }
            return nullptr;
        }
    }
    return nullptr;
}
