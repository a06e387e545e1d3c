#include "framework/graphics/ClipBands.h"

void TClipBands::Assign(std::span<const TRect> Rects)
{
    FBands.clear();
    FBounds = {};
    std::vector<TRect> Sorted;
    Sorted.reserve(Rects.size());
    std::vector<int> Edges;
    for (const TRect& R : Rects) {
        if (R.IsEmpty())
            continue;
        Sorted.push_back(R);
        Edges.push_back(R.Top);
        Edges.push_back(R.Bottom);
    }
    std::sort(Sorted.begin(), Sorted.end(),
              [](const TRect& A, const TRect& B) { return A.Top < B.Top; });
    std::sort(Edges.begin(), Edges.end());
    Edges.erase(std::unique(Edges.begin(), Edges.end()), Edges.end());

    // A sweep from top to bottom: the rectangles that span the current band are the active ones.
    std::vector<TRect> Active;
    std::size_t Next = 0;
    std::vector<TSpan> Spans;
    for (std::size_t E = 0; E + 1 < Edges.size(); ++E) {
        const int Top = Edges[E];
        const int Bottom = Edges[E + 1];
        std::erase_if(Active, [Top](const TRect& R) { return R.Bottom <= Top; });
        while (Next < Sorted.size() && Sorted[Next].Top <= Top)
            Active.push_back(Sorted[Next++]);
        Spans.clear();
        for (const TRect& R : Active)
            Spans.push_back({R.Left, R.Right});
        std::sort(Spans.begin(), Spans.end(),
                  [](const TSpan& A, const TSpan& B) { return A.Left < B.Left; });
        std::vector<TSpan> Merged;
        for (const TSpan& S : Spans) {
            if (!Merged.empty() && S.Left <= Merged.back().Right)
                Merged.back().Right = std::max(Merged.back().Right, S.Right);
            else
                Merged.push_back(S);
        }
        if (Merged.empty())
            continue;
        if (!FBands.empty() && FBands.back().Bottom == Top && FBands.back().Spans == Merged) {
            FBands.back().Bottom = Bottom;
        } else {
            FBands.push_back({Top, Bottom, std::move(Merged)});
        }
        FBounds = FBounds.Union(
            {FBands.back().Spans.front().Left, Top, FBands.back().Spans.back().Right, Bottom});
    }
}

void TClipBands::Intersect(const TRect& Rect)
{
    std::vector<TRect> Parts;
    for (const TRect& R : GetRects()) {
        const TRect Part = R.Intersect(Rect);
        if (!Part.IsEmpty())
            Parts.push_back(Part);
    }
    Assign(Parts);
}

bool TClipBands::Contains(int X, int Y) const
{
    const TBand* Band = FindBand(Y);
    if (!Band)
        return false;
    for (const TSpan& S : Band->Spans) {
        if (X < S.Left)
            return false;
        if (X < S.Right)
            return true;
    }
    return false;
}

bool TClipBands::ContainsRect(const TRect& Rect) const
{
    if (Rect.IsEmpty())
        return true;
    for (int Y = Rect.Top; Y < Rect.Bottom;) {
        const TBand* Band = FindBand(Y);
        if (!Band)
            return false;
        const auto Holds = [&](const TSpan& S) {
            return S.Left <= Rect.Left && Rect.Right <= S.Right;
        };
        if (std::none_of(Band->Spans.begin(), Band->Spans.end(), Holds))
            return false;
        Y = Band->Bottom;
    }
    return true;
}

std::vector<TRect> TClipBands::GetRects() const
{
    std::vector<TRect> Rects;
    for (const TBand& B : FBands)
        for (const TSpan& S : B.Spans)
            Rects.push_back({S.Left, B.Top, S.Right, B.Bottom});
    return Rects;
}

const TClipBands::TBand* TClipBands::FindBand(int Y) const
{
    auto It = std::upper_bound(FBands.begin(), FBands.end(), Y,
                               [](int Value, const TBand& B) { return Value < B.Bottom; });
    if (It == FBands.end() || Y < It->Top)
        return nullptr;
    return &*It;
}
