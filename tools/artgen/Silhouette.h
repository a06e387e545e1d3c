#pragma once

#include <span>
#include <vector>

// A horizontal run of pixels X0 <= x < X1.
struct TSpan
{
    int X0 = 0;
    int X1 = 0;
};

// The outline of a picture as runs per row. The faces are designed as silhouettes first, since
// their window outlines must come out at exact run and rectangle counts; painting then fills only
// pixels the silhouette holds.
class TSilhouette
{
public:
    TSilhouette(int Width, int Height);

    int GetWidth() const { return FWidth; }
    int GetHeight() const { return FHeight; }

    // Adds the run X0..X1 (exclusive) to rows Y0..Y1 (exclusive), clipped to the picture. Runs of
    // a row are kept sorted; touching or overlapping runs merge.
    void AddRun(int Y0, int Y1, int X0, int X1);
    // Adds every run of Part moved by (DX, DY).
    void AddShifted(const TSilhouette& Part, int DX, int DY);

    bool Contains(int X, int Y) const;
    std::span<const TSpan> GetRow(int Y) const { return FRows[std::size_t(Y)]; }
    // The rows that hold at least one run: [First, Last], or First > Last when there is none.
    int GetFirstRow() const;
    int GetLastRow() const;
    // Distance in pixels from (X, Y) to the nearest pixel outside, looking along the row only
    // (0 outside; 1 on an edge pixel).
    int RowDepth(int X, int Y) const;
    // The same, looking up and down the column.
    int ColumnDepth(int X, int Y) const;

private:
    int FWidth;
    int FHeight;
    std::vector<std::vector<TSpan>> FRows;
};
