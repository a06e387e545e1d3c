#pragma once

#include "base/Point.h"

#include <algorithm>

// A rectangle in pixels with the right and bottom edges excluded, as everywhere in the system.
// A rectangle whose right is not greater than its left (or bottom not greater than top) is empty.
struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int ALeft, int ATop, int ARight, int ABottom)
        : Left(ALeft), Top(ATop), Right(ARight), Bottom(ABottom)
    {}

    static constexpr TRect FromSize(int X, int Y, int Width, int Height)
    {
        return {X, Y, X + Width, Y + Height};
    }

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }

    constexpr bool Contains(TPoint P) const
    {
        return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom;
    }

    // The common part; empty rectangles intersect nothing.
    constexpr TRect Intersect(const TRect& O) const
    {
        TRect R{std::max(Left, O.Left), std::max(Top, O.Top), std::min(Right, O.Right),
                std::min(Bottom, O.Bottom)};
        return R.IsEmpty() ? TRect{} : R;
    }

    // The smallest rectangle holding both; an empty operand adds nothing.
    constexpr TRect Union(const TRect& O) const
    {
        if (IsEmpty())
            return O.IsEmpty() ? TRect{} : O;
        if (O.IsEmpty())
            return *this;
        return {std::min(Left, O.Left), std::min(Top, O.Top), std::max(Right, O.Right),
                std::max(Bottom, O.Bottom)};
    }

    constexpr TRect Offset(int DX, int DY) const
    {
        return {Left + DX, Top + DY, Right + DX, Bottom + DY};
    }

    constexpr bool operator==(const TRect&) const = default;
};
