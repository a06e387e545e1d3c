#pragma once

#include "base/Rect.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

// A plain set of pixels on a small grid, the slow and obvious model that region tests hold
// regions against: its canonical rectangles come straight from the rows (spans of each row,
// consecutive rows with equal spans joined), sharing no code with TRegion.
class TPixelGrid
{
public:
    // The grid covers Origin.X <= x < Origin.X + Width (the same for y).
    TPixelGrid(int Width, int Height, TPoint Origin = {}) : FW(Width), FH(Height), FOrigin(Origin)
    {
        FPixels.assign(std::size_t(Width) * std::size_t(Height), 0);
    }

    int Width() const { return FW; }
    int Height() const { return FH; }

    bool Get(int X, int Y) const
    {
        X -= FOrigin.X;
        Y -= FOrigin.Y;
        if (X < 0 || Y < 0 || X >= FW || Y >= FH)
            return false;
        return FPixels[std::size_t(Y) * std::size_t(FW) + std::size_t(X)] != 0;
    }

    void Set(int X, int Y, bool On)
    {
        X -= FOrigin.X;
        Y -= FOrigin.Y;
        if (X < 0 || Y < 0 || X >= FW || Y >= FH)
            return;
        FPixels[std::size_t(Y) * std::size_t(FW) + std::size_t(X)] = On ? 1 : 0;
    }

    // Rectangles outside the grid are clipped to it; tests keep theirs inside.
    void Fill(const TRect& R, bool On = true)
    {
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Set(X, Y, On);
    }

    struct TRun
    {
        int Y, X0, X1;
    };

    // Maximal runs of set pixels, rows top to bottom, runs left to right.
    std::vector<TRun> Runs() const
    {
        std::vector<TRun> Out;
        for (int Y = FOrigin.Y; Y < FOrigin.Y + FH; ++Y) {
            int X = FOrigin.X;
            const int End = FOrigin.X + FW;
            while (X < End) {
                while (X < End && !Get(X, Y))
                    ++X;
                if (X == End)
                    break;
                const int Start = X;
                while (X < End && Get(X, Y))
                    ++X;
                Out.push_back({Y, Start, X});
            }
        }
        return Out;
    }

    std::vector<TRect> CanonicalRects() const
    {
        std::vector<std::vector<TRun>> Rows(static_cast<std::size_t>(FH));
        for (const TRun& R : Runs())
            Rows[std::size_t(R.Y - FOrigin.Y)].push_back(R);
        auto SameSpans = [](const std::vector<TRun>& A, const std::vector<TRun>& B) {
            if (A.size() != B.size())
                return false;
            for (std::size_t I = 0; I < A.size(); ++I)
                if (A[I].X0 != B[I].X0 || A[I].X1 != B[I].X1)
                    return false;
            return true;
        };
        std::vector<TRect> Out;
        int Row = 0;
        while (Row < FH) {
            if (Rows[std::size_t(Row)].empty()) {
                ++Row;
                continue;
            }
            int End = Row + 1;
            while (End < FH && SameSpans(Rows[std::size_t(End)], Rows[std::size_t(Row)]))
                ++End;
            for (const TRun& R : Rows[std::size_t(Row)])
                Out.push_back({R.X0, Row + FOrigin.Y, R.X1, End + FOrigin.Y});
            Row = End;
        }
        return Out;
    }

private:
    int FW, FH;
    TPoint FOrigin;
    std::vector<std::uint8_t> FPixels;
};

// Random pictures of the kinds region code meets: blobs, noise, stripes and lone pixels.
inline TPixelGrid RandomPicture(std::mt19937& Rng, int Width, int Height)
{
    TPixelGrid G(Width, Height);
    auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
    switch (Pick(0, 3)) {
    case 0: // blobs: filled ellipses, some cut out again
        for (int I = Pick(1, 8); I > 0; --I) {
            const int CX = Pick(0, Width - 1), CY = Pick(0, Height - 1);
            const int RX = Pick(1, Width / 2 + 1), RY = Pick(1, Height / 2 + 1);
            const bool On = Pick(0, 4) != 0;
            for (int Y = CY - RY; Y <= CY + RY; ++Y)
                for (int X = CX - RX; X <= CX + RX; ++X) {
                    const double DX = double(X - CX) / RX, DY = double(Y - CY) / RY;
                    if (DX * DX + DY * DY <= 1.0)
                        G.Set(X, Y, On);
                }
        }
        break;
    case 1: { // noise of a random density
        const int Percent = Pick(1, 99);
        for (int Y = 0; Y < Height; ++Y)
            for (int X = 0; X < Width; ++X)
                G.Set(X, Y, Pick(0, 99) < Percent);
        break;
    }
    case 2: { // stripes, vertical or horizontal, with a few breaks
        const int Period = Pick(2, 6), Width1 = Pick(1, Period - 1);
        const bool Vertical = Pick(0, 1) != 0;
        for (int Y = 0; Y < Height; ++Y)
            for (int X = 0; X < Width; ++X)
                G.Set(X, Y, ((Vertical ? X : Y) % Period) < Width1 && Pick(0, 30) != 0);
        break;
    }
    default: // single pixels
        for (int I = Pick(0, 12); I > 0; --I)
            G.Set(Pick(0, Width - 1), Pick(0, Height - 1), true);
        break;
    }
    return G;
}

// Random rectangles inside [0, Extent) squared, of varied sizes, some empty or inverted.
inline std::vector<TRect> RandomRects(std::mt19937& Rng, int Count, int Extent)
{
    auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
    const int MaxSize = Pick(1, Extent);
    std::vector<TRect> Out;
    for (int I = 0; I < Count; ++I) {
        const int L = Pick(0, Extent - 1), T = Pick(0, Extent - 1);
        TRect R{L, T, std::min(Extent, L + Pick(1, MaxSize)),
                std::min(Extent, T + Pick(1, MaxSize))};
        switch (Pick(0, 9)) {
        case 0:
            R.Right = R.Left; // empty
            break;
        case 1:
            std::swap(R.Top, R.Bottom); // inverted
            break;
        default:
            break;
        }
        Out.push_back(R);
    }
    return Out;
}
