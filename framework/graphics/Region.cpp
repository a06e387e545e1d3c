// Regions in banded canonical form.
//
// A region is a list of rectangles (right and bottom excluded) that obeys these invariants:
//
//   1. No rectangle is empty.
//   2. Rectangles are grouped in bands: a band is a maximal run of consecutive rectangles with the
//      same Top; every rectangle of a band has the band's Bottom as well.
//   3. Within a band rectangles are sorted by Left, and each starts strictly right of the previous
//      one's Right: spans neither overlap nor touch.
//   4. Bands are sorted by Top and do not overlap (a band's Top >= the previous band's Bottom).
//   5. Two touching bands (Top == previous Bottom) never hold the same list of spans; such rows
//      belong to one band. Rows without any pixel have no band.
//
// Together these make the form unique: every set of pixels has exactly one canonical list, so
// equality is comparison of the lists, and what the platform's region union yields (and what a
// region data block stores) is the same list, band by band, left to right. FBounds caches the
// bounding rectangle, (0, 0, 0, 0) when the list is empty.
//
// All set operations are one sweep over both operands from top to bottom. The sweep cuts the
// plane into horizontal slices where the set of bands under it does not change, combines the
// spans of the one or two bands of each slice (a merge of two sorted lists) and appends the
// result as a band. Slices that produce the same spans as the band just above them are folded
// into it (invariant 5); that fold is what keeps the result canonical without a second pass.
// The Bottom of the band being folded into is written once, when the band is closed.

#include "framework/graphics/Region.h"

#include <algorithm>
#include <cassert>
#include <climits>

namespace {

// The end of the band starting at P.
const TRect* BandEnd(const TRect* P, const TRect* End)
{
    const int Top = P->Top;
    while (P != End && P->Top == Top)
        ++P;
    return P;
}

// Appends bands to a vector, folding a band into the open band above it when the two touch and
// hold the same spans. Spans of one band are added left to right and must neither overlap nor
// touch.
class TBandWriter
{
public:
    explicit TBandWriter(std::vector<TRect>& Out) : FOut(Out) {}

    void BeginBand(int Top, int Bottom)
    {
        FStart = FOut.size();
        FTop = Top;
        FBottom = Bottom;
    }

    void AddSpan(int Left, int Right) { FOut.push_back({Left, FTop, Right, FBottom}); }

    void CopySpans(const TRect* Begin, const TRect* End)
    {
        for (const TRect* P = Begin; P != End; ++P)
            FOut.push_back({P->Left, FTop, P->Right, FBottom});
    }

    void EndBand()
    {
        const std::size_t Count = FOut.size() - FStart;
        if (Count == 0)
            return;
        if (FOpenCount == Count && FOpenBottom == FTop && SameSpans()) {
            FOpenBottom = FBottom;
            FOut.resize(FStart);
            return;
        }
        CloseOpenBand();
        FOpenStart = FStart;
        FOpenCount = Count;
        FOpenBottom = FBottom;
    }

    void Finish() { CloseOpenBand(); }

private:
    bool SameSpans() const
    {
        const TRect* A = FOut.data() + FOpenStart;
        const TRect* B = FOut.data() + FStart;
        for (std::size_t I = 0; I < FOpenCount; ++I)
            if (A[I].Left != B[I].Left || A[I].Right != B[I].Right)
                return false;
        return true;
    }

    void CloseOpenBand()
    {
        if (FOpenCount == 0)
            return;
        TRect* P = FOut.data() + FOpenStart;
        if (P->Bottom != FOpenBottom)
            for (std::size_t I = 0; I < FOpenCount; ++I)
                P[I].Bottom = FOpenBottom;
    }

    std::vector<TRect>& FOut;
    std::size_t FStart = 0;
    int FTop = 0;
    int FBottom = 0;
    std::size_t FOpenStart = 0;
    std::size_t FOpenCount = 0;
    int FOpenBottom = 0;
};

void UnionSpans(const TRect* A, const TRect* AEnd, const TRect* B, const TRect* BEnd,
                TBandWriter& W)
{
    // Take spans in order of Left from either list, growing the current span while the next one
    // overlaps or touches it.
    auto Next = [&]() -> const TRect* {
        if (A != AEnd && (B == BEnd || A->Left <= B->Left))
            return A++;
        return B++;
    };
    const TRect* First = Next();
    int Left = First->Left;
    int Right = First->Right;
    while (A != AEnd || B != BEnd) {
        const TRect* S = Next();
        if (S->Left <= Right) {
            Right = std::max(Right, S->Right);
        } else {
            W.AddSpan(Left, Right);
            Left = S->Left;
            Right = S->Right;
        }
    }
    W.AddSpan(Left, Right);
}

void IntersectSpans(const TRect* A, const TRect* AEnd, const TRect* B, const TRect* BEnd,
                    TBandWriter& W)
{
    while (A != AEnd && B != BEnd) {
        const int Left = std::max(A->Left, B->Left);
        const int Right = std::min(A->Right, B->Right);
        if (Left < Right)
            W.AddSpan(Left, Right);
        if (A->Right < B->Right)
            ++A;
        else if (B->Right < A->Right)
            ++B;
        else {
            ++A;
            ++B;
        }
    }
}

void SubtractSpans(const TRect* A, const TRect* AEnd, const TRect* B, const TRect* BEnd,
                   TBandWriter& W)
{
    for (; A != AEnd; ++A) {
        int Left = A->Left;
        // Spans of B wholly left of what remains of this span of A take nothing from it (nor
        // from any later one).
        while (B != BEnd && B->Right <= Left)
            ++B;
        while (B != BEnd && B->Left < A->Right) {
            if (B->Left > Left)
                W.AddSpan(Left, B->Left);
            Left = B->Right;
            if (Left >= A->Right)
                break;
            ++B;
        }
        if (Left < A->Right)
            W.AddSpan(Left, A->Right);
    }
}

} // namespace

TRegion::TRegion(const TRect& Rect)
{
    if (!Rect.IsEmpty()) {
        FRects.push_back(Rect);
        FBounds = Rect;
    }
}

TRegion::TRegion(std::vector<TRect>&& Rects, const TRect& Bounds)
    : FRects(std::move(Rects)), FBounds(Bounds)
{
    assert(SelfCheck());
}

void TRegion::Combine(std::span<const TRect> A, std::span<const TRect> B, TOp Op,
                      std::vector<TRect>& Out)
{
    TBandWriter W(Out);
    const TRect* PA = A.data();
    const TRect* EA = PA + A.size();
    const TRect* PB = B.data();
    const TRect* EB = PB + B.size();
    const TRect* BandA = PA != EA ? BandEnd(PA, EA) : EA;
    const TRect* BandB = PB != EB ? BandEnd(PB, EB) : EB;

    int Y = INT_MAX;
    if (PA != EA)
        Y = PA->Top;
    if (PB != EB)
        Y = std::min(Y, PB->Top);

    while (PA != EA || PB != EB) {
        // Bands that end at or above the sweep are done.
        if (PA != EA && PA->Bottom <= Y) {
            PA = BandA;
            BandA = PA != EA ? BandEnd(PA, EA) : EA;
            continue;
        }
        if (PB != EB && PB->Bottom <= Y) {
            PB = BandB;
            BandB = PB != EB ? BandEnd(PB, EB) : EB;
            continue;
        }
        if (Op == TOp::Intersect && (PA == EA || PB == EB))
            break;
        if (Op == TOp::Subtract && PA == EA)
            break;

        const bool OnA = PA != EA && PA->Top <= Y;
        const bool OnB = PB != EB && PB->Top <= Y;
        // The slice ends where a band under the sweep ends or the next one begins.
        int YEnd = INT_MAX;
        if (PA != EA)
            YEnd = OnA ? PA->Bottom : PA->Top;
        if (PB != EB)
            YEnd = std::min(YEnd, OnB ? PB->Bottom : PB->Top);
        if (!OnA && !OnB) {
            Y = YEnd;
            continue;
        }

        W.BeginBand(Y, YEnd);
        switch (Op) {
        case TOp::Union:
            if (OnA && OnB)
                UnionSpans(PA, BandA, PB, BandB, W);
            else if (OnA)
                W.CopySpans(PA, BandA);
            else
                W.CopySpans(PB, BandB);
            break;
        case TOp::Intersect:
            if (OnA && OnB)
                IntersectSpans(PA, BandA, PB, BandB, W);
            break;
        case TOp::Subtract:
            if (OnA && OnB)
                SubtractSpans(PA, BandA, PB, BandB, W);
            else if (OnA)
                W.CopySpans(PA, BandA);
            break;
        }
        W.EndBand();
        Y = YEnd;
    }
    W.Finish();
}

TRegion& TRegion::Apply(TOp Op, std::span<const TRect> Other)
{
    std::vector<TRect> Out;
    Out.reserve(Op == TOp::Intersect ? std::min(FRects.size(), Other.size()) * 2
                                     : FRects.size() + Other.size());
    Combine(FRects, Other, Op, Out);
    FRects = std::move(Out);
    FBounds = ComputeBounds(FRects);
    assert(SelfCheck());
    return *this;
}

TRegion& TRegion::Union(const TRegion& Other)
{
    if (Other.IsEmpty())
        return *this;
    if (IsEmpty())
        return *this = Other;
    return Apply(TOp::Union, Other.FRects);
}

TRegion& TRegion::Union(const TRect& Rect)
{
    if (Rect.IsEmpty())
        return *this;
    return Apply(TOp::Union, std::span<const TRect>(&Rect, 1));
}

TRegion& TRegion::Intersect(const TRegion& Other)
{
    return Apply(TOp::Intersect, Other.FRects);
}

TRegion& TRegion::Intersect(const TRect& Rect)
{
    if (Rect.IsEmpty()) {
        Clear();
        return *this;
    }
    return Apply(TOp::Intersect, std::span<const TRect>(&Rect, 1));
}

TRegion& TRegion::Subtract(const TRegion& Other)
{
    if (Other.IsEmpty() || IsEmpty())
        return *this;
    return Apply(TOp::Subtract, Other.FRects);
}

TRegion& TRegion::Subtract(const TRect& Rect)
{
    if (Rect.IsEmpty() || IsEmpty())
        return *this;
    return Apply(TOp::Subtract, std::span<const TRect>(&Rect, 1));
}

TRegion& TRegion::Offset(int DX, int DY)
{
    for (TRect& R : FRects)
        R = R.Offset(DX, DY);
    if (!IsEmpty())
        FBounds = FBounds.Offset(DX, DY);
    assert(SelfCheck());
    return *this;
}

void TRegion::Clear()
{
    FRects.clear();
    FBounds = {};
}

TRegion TRegion::FromRects(std::span<const TRect> Rects)
{
    // Sorted by top, neighbours mostly lie in neighbouring rows, so merging single rectangles
    // pairwise, then pairs of pairs and so on, mostly appends bands: a merge sort over regions.
    std::vector<TRect> Cur;
    Cur.reserve(Rects.size());
    for (const TRect& R : Rects)
        if (!R.IsEmpty())
            Cur.push_back(R);
    if (Cur.empty())
        return {};
    std::sort(Cur.begin(), Cur.end(), [](const TRect& A, const TRect& B) {
        return A.Top != B.Top ? A.Top < B.Top : A.Left < B.Left;
    });

    // Segment I of Cur is [Ends[I - 1], Ends[I]); every segment is a canonical region.
    std::vector<std::size_t> Ends(Cur.size());
    for (std::size_t I = 0; I < Ends.size(); ++I)
        Ends[I] = I + 1;
    std::vector<TRect> Next;
    std::vector<std::size_t> NextEnds;
    while (Ends.size() > 1) {
        Next.clear();
        Next.reserve(Cur.size());
        NextEnds.clear();
        std::size_t Begin = 0;
        for (std::size_t I = 0; I < Ends.size(); I += 2) {
            const std::span<const TRect> A(Cur.data() + Begin, Ends[I] - Begin);
            if (I + 1 < Ends.size()) {
                const std::span<const TRect> B(Cur.data() + Ends[I], Ends[I + 1] - Ends[I]);
                Combine(A, B, TOp::Union, Next);
                Begin = Ends[I + 1];
            } else {
                Next.insert(Next.end(), A.begin(), A.end());
                Begin = Ends[I];
            }
            NextEnds.push_back(Next.size());
        }
        std::swap(Cur, Next);
        std::swap(Ends, NextEnds);
    }
    const TRect Bounds = ComputeBounds(Cur);
    return TRegion(std::move(Cur), Bounds);
}

std::size_t TRegion::GetBandCount() const
{
    std::size_t Count = 0;
    for (std::size_t I = 0; I < FRects.size(); ++I)
        if (I == 0 || FRects[I].Top != FRects[I - 1].Top)
            ++Count;
    return Count;
}

bool TRegion::Contains(TPoint P) const
{
    if (!FBounds.Contains(P))
        return false;
    // Bottoms never decrease along the list, so the first rectangle ending below P opens the
    // only band that can hold it.
    const auto Band = std::upper_bound(FRects.begin(), FRects.end(), P.Y,
                                       [](int Y, const TRect& R) { return Y < R.Bottom; });
    if (Band == FRects.end() || Band->Top > P.Y)
        return false;
    const auto BandStop = std::upper_bound(Band, FRects.end(), Band->Top,
                                           [](int Top, const TRect& R) { return Top < R.Top; });
    const auto Span =
        std::upper_bound(Band, BandStop, P.X, [](int X, const TRect& R) { return X < R.Right; });
    return Span != BandStop && Span->Left <= P.X;
}

TRect TRegion::ComputeBounds(std::span<const TRect> Rects)
{
    if (Rects.empty())
        return {};
    TRect B{INT_MAX, Rects.front().Top, INT_MIN, Rects.back().Bottom};
    // Within a band the first rectangle has the smallest left and the last the largest right.
    for (std::size_t I = 0; I < Rects.size(); ++I) {
        if (I == 0 || Rects[I].Top != Rects[I - 1].Top)
            B.Left = std::min(B.Left, Rects[I].Left);
        if (I + 1 == Rects.size() || Rects[I + 1].Top != Rects[I].Top)
            B.Right = std::max(B.Right, Rects[I].Right);
    }
    return B;
}

std::optional<TRegionFault> TRegion::FindCanonicalFault(std::span<const TRect> Rects)
{
    std::size_t PrevBand = 0; // start of the band before the current one
    std::size_t Band = 0;     // start of the current band
    bool HavePrev = false;
    auto SameSpans = [&](std::size_t End) {
        // Does the band [Band, End) hold the spans of the band [PrevBand, Band)?
        if (End - Band != Band - PrevBand)
            return false;
        for (std::size_t I = 0; I < End - Band; ++I)
            if (Rects[PrevBand + I].Left != Rects[Band + I].Left ||
                Rects[PrevBand + I].Right != Rects[Band + I].Right)
                return false;
        return true;
    };
    for (std::size_t I = 0; I < Rects.size(); ++I) {
        const TRect& R = Rects[I];
        if (R.IsEmpty())
            return TRegionFault{I, "empty or inverted rectangle"};
        if (I == 0)
            continue;
        const TRect& P = Rects[I - 1];
        if (R.Top == P.Top) {
            if (R.Bottom != P.Bottom)
                return TRegionFault{I, "rectangles of one band differ in height"};
            if (R.Left <= P.Right)
                return TRegionFault{I, "rectangles of one band overlap, touch or are unsorted"};
            continue;
        }
        // A new band starts at I.
        if (R.Top < P.Bottom)
            return TRegionFault{I, "bands overlap or are unsorted"};
        if (HavePrev && Rects[PrevBand].Bottom == Rects[Band].Top && SameSpans(I))
            return TRegionFault{Band, "touching bands hold the same spans"};
        HavePrev = true;
        PrevBand = Band;
        Band = I;
    }
    if (HavePrev && Rects[PrevBand].Bottom == Rects[Band].Top && SameSpans(Rects.size()))
        return TRegionFault{Band, "touching bands hold the same spans"};
    return std::nullopt;
}

bool TRegion::SelfCheck() const
{
    return !FindCanonicalFault(FRects) && FBounds == ComputeBounds(FRects);
}
