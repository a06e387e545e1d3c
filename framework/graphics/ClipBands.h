#pragma once

#include "base/Rect.h"

#include <algorithm>
#include <span>
#include <vector>

// The pixels of a set of rectangles as rows of disjoint, sorted spans, grouped into bands of rows
// that share their spans. Overlapping rectangles count once, so a drawing operation that walks
// the spans touches every pixel at most once (which XOR drawing relies on).
class TClipBands
{
public:
    TClipBands() = default;
    explicit TClipBands(std::span<const TRect> Rects) { Assign(Rects); }

    // Replaces the set; empty rectangles add nothing.
    void Assign(std::span<const TRect> Rects);
    // Keeps only the part inside Rect.
    void Intersect(const TRect& Rect);

    bool IsEmpty() const { return FBands.empty(); }
    TRect GetBounds() const { return FBounds; }
    bool Contains(int X, int Y) const;
    // Whether every pixel of Rect is in the set (an empty Rect is).
    bool ContainsRect(const TRect& Rect) const;
    // The set's rectangles, band by band, left to right.
    std::vector<TRect> GetRects() const;

    // Calls Fn(Left, Right) for each part of the span [X0, X1) of row Y inside the set, left to
    // right, right excluded.
    template <typename F>
    void ForEachSpan(int Y, int X0, int X1, F&& Fn) const
    {
        const TBand* Band = FindBand(Y);
        if (!Band || X0 >= X1)
            return;
        for (const TSpan& S : Band->Spans) {
            if (S.Right <= X0)
                continue;
            if (S.Left >= X1)
                break;
            Fn(std::max(S.Left, X0), std::min(S.Right, X1));
        }
    }

private:
    struct TSpan
    {
        int Left = 0;
        int Right = 0;
        bool operator==(const TSpan&) const = default;
    };
    struct TBand
    {
        int Top = 0;
        int Bottom = 0;
        std::vector<TSpan> Spans;
    };

    const TBand* FindBand(int Y) const;

    std::vector<TBand> FBands; // by Top; disjoint
    TRect FBounds;
};
