#pragma once

#include "framework/graphics/Region.h"

#include <climits>
#include <cstddef>
#include <vector>

// Builds a region from the runs of a picture's rows in one pass, in time linear in the number of
// runs: rows are fed top to bottom (each row once, rows without runs simply skipped), the runs of
// a row left to right. Touching runs of a row coalesce, and a row whose spans equal the rows just
// above it joins their band. Input out of that order is a caller's fault and throws
// std::invalid_argument (in every build), since it would otherwise yield a broken region.
class TRegionBuilder
{
public:
    // Room for this many runs before any reallocation.
    void Reserve(std::size_t Runs) { FRects.reserve(Runs); }

    // Starts row Y; Y must be greater than every row begun before.
    void BeginRow(int Y);

    // Adds the pixels X0 <= x < X1 of the current row. X0 must not lie left of the previous
    // run's end; an empty run (X0 == X1) adds nothing.
    void AddRun(int X0, int X1)
    {
        if (X1 <= X0 || X0 < FRowRight) [[unlikely]] {
            CheckRun(X0, X1);
            if (X0 == X1)
                return;
        }
        if (X0 == FRowRight && FRects.size() > FRowStart) {
            FRects.back().Right = X1;
        } else {
            FRects.push_back({X0, FRowY, X1, FRowY + 1});
        }
        FRowRight = X1;
    }

    // Starts row Y when it is not the current row, then adds the run.
    void AddRun(int Y, int X0, int X1)
    {
        if (Y != FRowY || !FInRow)
            BeginRow(Y);
        AddRun(X0, X1);
    }

    // The region of every run added; the builder is then empty and can be used again.
    TRegion Finish();

private:
    void EndRow();
    void CloseOpenBand();
    void CheckRun(int X0, int X1) const;

    std::vector<TRect> FRects;
    bool FInRow = false;
    int FRowY = 0;
    std::size_t FRowStart = 0; // first rectangle of the current row
    // The end of the current row's last run, where the next run may start at the earliest;
    // outside a row it bars every run.
    int FRowRight = INT_MAX;
    // The band the next row may join: its first rectangle, its span count and its bottom, which
    // its rectangles receive only when it is closed.
    std::size_t FOpenStart = 0;
    std::size_t FOpenCount = 0;
    int FOpenBottom = 0;
    int FMinLeft = 0;
    int FMaxRight = 0;
};
