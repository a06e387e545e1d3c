#include "framework/graphics/RegionBuilder.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

void TRegionBuilder::BeginRow(int Y)
{
    if (FInRow) {
        if (Y <= FRowY)
            throw std::invalid_argument("region builder: rows must be fed top to bottom");
        EndRow();
    }
    if (Y == INT_MAX)
        throw std::invalid_argument("region builder: row out of range");
    FInRow = true;
    FRowY = Y;
    FRowStart = FRects.size();
    FRowRight = INT_MIN;
}

void TRegionBuilder::CheckRun(int X0, int X1) const
{
    if (!FInRow)
        throw std::invalid_argument("region builder: run outside a row");
    if (X1 < X0)
        throw std::invalid_argument("region builder: inverted run");
    if (X0 < FRowRight)
        throw std::invalid_argument("region builder: runs of a row must be fed left to right");
}

void TRegionBuilder::EndRow()
{
    FInRow = false;
    FRowRight = INT_MAX;
    const std::size_t Count = FRects.size() - FRowStart;
    if (Count == 0)
        return;
    if (Count == FOpenCount && FOpenBottom == FRowY) {
        const TRect* Open = FRects.data() + FOpenStart;
        const TRect* Row = FRects.data() + FRowStart;
        std::size_t I = 0;
        while (I < Count && Open[I].Left == Row[I].Left && Open[I].Right == Row[I].Right)
            ++I;
        if (I == Count) {
            FOpenBottom = FRowY + 1;
            FRects.resize(FRowStart);
            return;
        }
    }
    CloseOpenBand();
    if (FRowStart == 0) {
        FMinLeft = FRects[FRowStart].Left;
        FMaxRight = FRects.back().Right;
    } else {
        FMinLeft = std::min(FMinLeft, FRects[FRowStart].Left);
        FMaxRight = std::max(FMaxRight, FRects.back().Right);
    }
    FOpenStart = FRowStart;
    FOpenCount = Count;
    FOpenBottom = FRowY + 1;
}

void TRegionBuilder::CloseOpenBand()
{
    TRect* P = FRects.data() + FOpenStart;
    for (std::size_t I = 0; I < FOpenCount; ++I)
        P[I].Bottom = FOpenBottom;
}

TRegion TRegionBuilder::Finish()
{
    if (FInRow)
        EndRow();
    CloseOpenBand();
    TRect Bounds;
    if (!FRects.empty())
        Bounds = {FMinLeft, FRects.front().Top, FMaxRight, FRects.back().Bottom};
    TRegion Result(std::move(FRects), Bounds);
    *this = TRegionBuilder();
    return Result;
}
