#include "tools/artgen/Silhouette.h"

#include <algorithm>

TSilhouette::TSilhouette(int Width, int Height)
    : FWidth(Width), FHeight(Height), FRows(std::size_t(Height))
{}

void TSilhouette::AddRun(int Y0, int Y1, int X0, int X1)
{
    X0 = std::max(X0, 0);
    X1 = std::min(X1, FWidth);
    if (X1 <= X0)
        return;
    for (int Y = std::max(Y0, 0); Y < std::min(Y1, FHeight); ++Y) {
        std::vector<TSpan>& Row = FRows[std::size_t(Y)];
        Row.push_back({X0, X1});
        std::sort(Row.begin(), Row.end(),
                  [](const TSpan& A, const TSpan& B) { return A.X0 < B.X0; });
        std::vector<TSpan> Merged;
        for (const TSpan& S : Row) {
            if (!Merged.empty() && S.X0 <= Merged.back().X1)
                Merged.back().X1 = std::max(Merged.back().X1, S.X1);
            else
                Merged.push_back(S);
        }
        Row = std::move(Merged);
    }
}

void TSilhouette::AddShifted(const TSilhouette& Part, int DX, int DY)
{
    for (int Y = 0; Y < Part.FHeight; ++Y)
        for (const TSpan& S : Part.FRows[std::size_t(Y)])
            AddRun(Y + DY, Y + DY + 1, S.X0 + DX, S.X1 + DX);
}

bool TSilhouette::Contains(int X, int Y) const
{
    if (Y < 0 || Y >= FHeight)
        return false;
    for (const TSpan& S : FRows[std::size_t(Y)])
        if (X >= S.X0 && X < S.X1)
            return true;
    return false;
}

int TSilhouette::GetFirstRow() const
{
    for (int Y = 0; Y < FHeight; ++Y)
        if (!FRows[std::size_t(Y)].empty())
            return Y;
    return FHeight;
}

int TSilhouette::GetLastRow() const
{
    for (int Y = FHeight - 1; Y >= 0; --Y)
        if (!FRows[std::size_t(Y)].empty())
            return Y;
    return -1;
}

int TSilhouette::RowDepth(int X, int Y) const
{
    if (Y < 0 || Y >= FHeight)
        return 0;
    for (const TSpan& S : FRows[std::size_t(Y)])
        if (X >= S.X0 && X < S.X1)
            return std::min(X - S.X0, S.X1 - 1 - X) + 1;
    return 0;
}

int TSilhouette::ColumnDepth(int X, int Y) const
{
    if (!Contains(X, Y))
        return 0;
    int Up = 0;
    while (Contains(X, Y - Up - 1))
        ++Up;
    int Down = 0;
    while (Contains(X, Y + Down + 1))
        ++Down;
    return std::min(Up, Down) + 1;
}
