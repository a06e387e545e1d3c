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

std::vector<TRect> TX11ShownPixels::TakeChanges(const TPixelView& View, const TRect& Rect)
{
    std::vector<TRect> Out;
    const TRect R =
        Rect.Intersect({0, 0, FSize.X, FSize.Y}).Intersect({0, 0, View.Width, View.Height});
    if (R.IsEmpty() || !View.Pixels)
        return Out;
    const auto Width = static_cast<std::size_t>(R.Width());
    FColumns.assign(Width, 0);
    int GroupTop = -1;
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        TPixel* Shown = FPixels.data() + Index(R.Left, Y, FSize.X);
        const TPixel* New = View.Pixels + Index(R.Left, Y, View.StridePixels);
        bool Changed = false;
        std::uint8_t& RowUnknown = FRowUnknown[static_cast<std::size_t>(Y)];
        if (RowUnknown || std::memcmp(Shown, New, Width * sizeof(TPixel)) != 0) {
            for (std::size_t X = 0; X < Width; ++X)
                if (Shown[X] != New[X] || Shown[X] == Unknown) {
                    FColumns[X] = 1;
                    Changed = true;
                }
            std::memcpy(Shown, New, Width * sizeof(TPixel));
            if (RowUnknown) {
                const TPixel* Row = FPixels.data() + Index(0, Y, FSize.X);
                RowUnknown = std::find(Row, Row + FSize.X, Unknown) != Row + FSize.X;
            }
        }
        if (Changed && GroupTop < 0)
            GroupTop = Y;
        if (!Changed && GroupTop >= 0) {
            AddColumnRuns(GroupTop, Y, R.Left, Out);
            GroupTop = -1;
        }
    }
    if (GroupTop >= 0)
        AddColumnRuns(GroupTop, R.Bottom, R.Left, Out);
    return Out;
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
