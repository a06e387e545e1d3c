#include "platform/x11/X11ShownPixels.h"

#include <algorithm>
#include <cstring>

namespace {

// Marks a pixel the server may show differently. Our pixels are 0x00RRGGBB; should a picture
// ever hold this value, it is merely sent each time.
constexpr TPixel Unknown = 0xFF000000u;

std::size_t Index(int X, int Y, int Width)
{
    return static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width) +
           static_cast<std::size_t>(X);
}

} // namespace

void TX11ShownPixels::Reset(TPoint Size)
{
    FSize = {std::max(0, Size.X), std::max(0, Size.Y)};
    if (FSize.X == 0 || FSize.Y == 0) {
        // Nothing shown, nothing kept: a hidden window gives its copy back.
        std::vector<TPixel>().swap(FPixels);
        std::vector<std::uint8_t>().swap(FRowUnknown);
        FSize = {};
        return;
    }
    FPixels.assign(static_cast<std::size_t>(FSize.X) * static_cast<std::size_t>(FSize.Y), Unknown);
    FRowUnknown.assign(static_cast<std::size_t>(FSize.Y), 1);
}

void TX11ShownPixels::Forget(const TRect& Rect)
{
    const TRect R = Rect.Intersect({0, 0, FSize.X, FSize.Y});
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        std::fill_n(FPixels.begin() + static_cast<std::ptrdiff_t>(Index(R.Left, Y, FSize.X)),
                    R.Width(), Unknown);
        FRowUnknown[static_cast<std::size_t>(Y)] = 1;
    }
}

std::vector<TRect> TX11ShownPixels::TakeChanges(const TPixelView& View, const TRect& Rect,
                                                const TRect& Changed)
{
    std::vector<TRect> Out;
    const TRect R =
        Rect.Intersect({0, 0, FSize.X, FSize.Y}).Intersect({0, 0, View.Width, View.Height});
    if (R.IsEmpty() || !View.Pixels)
        return Out;
    // Known rows are compared only where View may have changed; rows holding pixels nobody
    // knows are compared across the whole of R.
    const TRect C = R.Intersect(Changed);
    const auto Width = static_cast<std::size_t>(R.Width());
    FColumns.assign(Width, 0);
    int GroupTop = -1;
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        std::uint8_t& RowUnknown = FRowUnknown[static_cast<std::size_t>(Y)];
        bool RowChanged = false;
        if (RowUnknown)
            RowChanged = TakeRow(View, Y, R.Left, R.Right, R.Left, true);
        else if (Y >= C.Top && Y < C.Bottom)
            RowChanged = TakeRow(View, Y, C.Left, C.Right, R.Left, false);
        if (RowUnknown) {
            const TPixel* Row = FPixels.data() + Index(0, Y, FSize.X);
            RowUnknown = std::find(Row, Row + FSize.X, Unknown) != Row + FSize.X;
        }
        if (RowChanged && GroupTop < 0)
            GroupTop = Y;
        if (!RowChanged && GroupTop >= 0) {
            AddColumnRuns(GroupTop, Y, R.Left, Out);
            GroupTop = -1;
        }
    }
    if (GroupTop >= 0)
        AddColumnRuns(GroupTop, R.Bottom, R.Left, Out);
    return Out;
}

bool TX11ShownPixels::TakeRow(const TPixelView& View, int Y, int Left, int Right, int ColumnsLeft,
                              bool MayHoldUnknown)
{
    if (Left >= Right)
        return false;
    const auto Width = static_cast<std::size_t>(Right - Left);
    TPixel* Shown = FPixels.data() + Index(Left, Y, FSize.X);
    const TPixel* New = View.Pixels + Index(Left, Y, View.StridePixels);
    std::uint8_t* Columns = FColumns.data() + (Left - ColumnsLeft);
    bool Any = false;
    if (MayHoldUnknown) {
        for (std::size_t X = 0; X < Width; ++X)
            if (Shown[X] != New[X] || Shown[X] == Unknown) {
                Columns[X] = 1;
                Any = true;
            }
    } else if (std::memcmp(Shown, New, Width * sizeof(TPixel)) != 0) {
        // Mostly a digit or two changed: skip equal runs a block at a time (a fixed-size memcmp
        // is inlined), then mark the columns that differ.
        constexpr std::size_t Block = 8;
        std::size_t X = 0;
        for (; X + Block <= Width; X += Block)
            if (std::memcmp(Shown + X, New + X, Block * sizeof(TPixel)) != 0)
                for (std::size_t I = X; I < X + Block; ++I)
                    Columns[I] |= static_cast<std::uint8_t>(Shown[I] != New[I]);
        for (; X < Width; ++X)
            Columns[X] |= static_cast<std::uint8_t>(Shown[X] != New[X]);
        Any = true;
    }
    if (Any)
        std::memcpy(Shown, New, Width * sizeof(TPixel));
    return Any;
}

void TX11ShownPixels::AddColumnRuns(int Top, int Bottom, int Left, std::vector<TRect>& Out)
{
    const int Width = static_cast<int>(FColumns.size());
    int X = 0;
    while (X < Width) {
        while (X < Width && !FColumns[static_cast<std::size_t>(X)])
            ++X;
        if (X == Width)
            break;
        const int Start = X;
        int End = X; // one past the last changed column of the run
        while (X < Width) {
            if (FColumns[static_cast<std::size_t>(X)]) {
                End = ++X;
                continue;
            }
            int Gap = X;
            while (Gap < Width && !FColumns[static_cast<std::size_t>(Gap)])
                ++Gap;
            if (Gap == Width || Gap - X >= MergeGapPixels)
                break;
            X = Gap;
        }
        Out.push_back({Left + Start, Top, Left + End, Bottom});
        X = End;
    }
    std::fill(FColumns.begin(), FColumns.end(), std::uint8_t{0});
}
