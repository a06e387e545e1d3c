#pragma once

// A point in pixels. Value type shared by every layer, the platform interface included.
struct TPoint
{
    int X = 0;
    int Y = 0;

    constexpr TPoint() = default;
    constexpr TPoint(int AX, int AY) : X(AX), Y(AY) {}

    constexpr bool operator==(const TPoint&) const = default;
    constexpr TPoint operator+(TPoint O) const { return {X + O.X, Y + O.Y}; }
    constexpr TPoint operator-(TPoint O) const { return {X - O.X, Y - O.Y}; }
};
