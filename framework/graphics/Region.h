#pragma once

#include "base/Point.h"
#include "base/Rect.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Where and why a list of rectangles breaks the banded canonical form (see Region.cpp).
struct TRegionFault
{
    std::size_t Index; // the first rectangle at fault (the list's size for a fault of the whole)
    const char* Reason;
};

// A set of pixels held as rectangles in banded canonical form: two regions are equal exactly when
// their rectangle lists are. Every operation keeps the form; the rectangles live in one vector.
class TRegion
{
public:
    TRegion() = default;
    explicit TRegion(const TRect& Rect);

    // The union of any rectangles, in any order, overlapping or not; empty ones add nothing.
    static TRegion FromRects(std::span<const TRect> Rects);

    // In-place set operations, one sweep over both operands each.
    TRegion& Union(const TRegion& Other);
    TRegion& Union(const TRect& Rect);
    TRegion& Intersect(const TRegion& Other);
    TRegion& Intersect(const TRect& Rect);
    TRegion& Subtract(const TRegion& Other);
    TRegion& Subtract(const TRect& Rect);
    // Coordinates must stay within int after the move.
    TRegion& Offset(int DX, int DY);
    void Clear();

    bool IsEmpty() const { return FRects.empty(); }
    // (0, 0, 0, 0) for an empty region.
    const TRect& GetBounds() const { return FBounds; }
    std::span<const TRect> GetRects() const { return FRects; }
    std::size_t GetRectCount() const { return FRects.size(); }
    // Counted on each call: linear in the number of rectangles.
    std::size_t GetBandCount() const;
    bool Contains(TPoint P) const;

    bool operator==(const TRegion& Other) const { return FRects == Other.FRects; }

    // True when the rectangles are canonical and the bounds match them; linear.
    bool SelfCheck() const;
    // The first fault of Rects against the canonical form, or none when they are canonical.
    static std::optional<TRegionFault> FindCanonicalFault(std::span<const TRect> Rects);
    // The bounding rectangle of canonical rectangles; (0, 0, 0, 0) for none.
    static TRect ComputeBounds(std::span<const TRect> Rects);

private:
    friend class TRegionBuilder;
    friend class TRegionData;

    // Adopts rectangles already in canonical form.
    TRegion(std::vector<TRect>&& Rects, const TRect& Bounds);

    enum class TOp
    {
        Union,
        Intersect,
        Subtract
    };
    TRegion& Apply(TOp Op, std::span<const TRect> Other);
    static void Combine(std::span<const TRect> A, std::span<const TRect> B, TOp Op,
                        std::vector<TRect>& Out);

    std::vector<TRect> FRects;
    TRect FBounds;
};
