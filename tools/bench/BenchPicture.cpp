#include "tools/bench/BenchPicture.h"

#include <algorithm>
#include <bit>
#include <random>

void TBenchPicture::Set(int X, int Y, bool Opaque)
{
    if (X < 0 || Y < 0 || X >= Width || Y >= Height)
        return;
    Pixels[std::size_t(Y) * std::size_t(Width) + std::size_t(X)] = Opaque ? 0x00C0A080u : 0u;
}

void TBenchPicture::Finish()
{
    WordsPerRow = (Width + 31) / 32;
    Mask.assign(std::size_t(WordsPerRow) * std::size_t(Height), 0);
    Runs.clear();
    for (int Y = 0; Y < Height; ++Y) {
        const std::uint32_t* Row = Pixels.data() + std::size_t(Y) * std::size_t(Width);
        for (int X = 0; X < Width; ++X)
            if (Row[X] != 0)
                Mask[std::size_t(Y) * std::size_t(WordsPerRow) + std::size_t(X / 32)] |=
                    1u << (X % 32);
        int X = 0;
        while (X < Width) {
            while (X < Width && Row[X] == 0)
                ++X;
            if (X == Width)
                break;
            const int Start = X;
            while (X < Width && Row[X] != 0)
                ++X;
            Runs.push_back({Y, Start, X});
        }
    }
}

TBenchPicture MakeFacePicture()
{
    TBenchPicture P;
    P.Name = "Face/300x120";
    P.Width = 300;
    P.Height = 120;
    P.Pixels.assign(300u * 120u, 0);
    constexpr int TubeWidth = 40, Radius = 20, Top = 24, Bottom = 100;
    for (int Tube = 0; Tube < 6; ++Tube) {
        // Hours, minutes and seconds in pairs, a wider gap between the pairs.
        const int Left = 8 + Tube * 44 + (Tube / 2) * 10;
        const int CX2 = 2 * Left + TubeWidth - 1; // twice the centre, to stay on whole numbers
        for (int Y = Top; Y < Bottom; ++Y)
            for (int X = Left; X < Left + TubeWidth; ++X) {
                const int DX = 2 * X - CX2, DY = 2 * (Y - (Top + Radius));
                if (Y >= Top + Radius || DX * DX + DY * DY <= 4 * Radius * Radius)
                    P.Set(X, Y, true);
            }
        // A glass tip on top and four pins below.
        for (int Y = Top - 4; Y < Top; ++Y)
            for (int X = Left + 18; X < Left + 22; ++X)
                P.Set(X, Y, true);
        for (int Pin = 0; Pin < 4; ++Pin)
            for (int Y = Bottom; Y < Bottom + 10 + Pin % 2 * 3; ++Y)
                for (int X = Left + 5 + Pin * 9; X < Left + 8 + Pin * 9; ++X)
                    P.Set(X, Y, true);
    }
    P.Finish();
    return P;
}

TBenchPicture MakeBlobPicture(int Width, int Height, unsigned Seed)
{
    TBenchPicture P;
    P.Name = "Blobs/" + std::to_string(Width) + "x" + std::to_string(Height);
    P.Width = Width;
    P.Height = Height;
    P.Pixels.assign(std::size_t(Width) * std::size_t(Height), 0);
    std::mt19937 Rng(Seed);
    auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
    // One blob for every 6400 pixels, of radii up to 40 pixels: the same look at every size.
    const long Count = long(Width) * Height / 6400;
    for (long I = 0; I < Count; ++I) {
        const int CX = Pick(0, Width - 1), CY = Pick(0, Height - 1);
        const int RX = Pick(2, 40), RY = Pick(2, 40);
        const bool Opaque = Pick(0, 5) != 0;
        for (int Y = std::max(0, CY - RY); Y <= std::min(Height - 1, CY + RY); ++Y) {
            const double DY = double(Y - CY) / RY;
            for (int X = std::max(0, CX - RX); X <= std::min(Width - 1, CX + RX); ++X) {
                const double DX = double(X - CX) / RX;
                if (DX * DX + DY * DY <= 1.0)
                    P.Set(X, Y, Opaque);
            }
        }
    }
    P.Finish();
    return P;
}

namespace {

// The first pixel at or after X whose bit is set (Invert = 0) or clear (Invert = ~0),
// word by word; WordsPerRow * 32 when there is none.
int NextBit(const std::uint32_t* Row, int Words, int X, std::uint32_t Invert)
{
    int W = X >> 5;
    std::uint32_t Bits = (Row[W] ^ Invert) & (~0u << (X & 31));
    while (Bits == 0) {
        if (++W == Words)
            return Words * 32;
        Bits = Row[W] ^ Invert;
    }
    return W * 32 + std::countr_zero(Bits);
}

} // namespace

void ScanMask(const TBenchPicture& P, TRegionBuilder& Builder)
{
    const int Words = P.WordsPerRow;
    for (int Y = 0; Y < P.Height; ++Y) {
        const std::uint32_t* Row = P.Mask.data() + std::size_t(Y) * std::size_t(Words);
        Builder.BeginRow(Y);
        int X = 0;
        while (X < P.Width) {
            // Padding bits are clear: a set bit is always inside the row, a clear one may be
            // past its end.
            const int Start = NextBit(Row, Words, X, 0);
            if (Start >= P.Width)
                break;
            X = std::min(P.Width, NextBit(Row, Words, Start, ~0u));
            Builder.AddRun(Start, X);
        }
    }
}

void ScanPixels(const TBenchPicture& P, std::uint32_t Transparent, TRegionBuilder& Builder)
{
    for (int Y = 0; Y < P.Height; ++Y) {
        const std::uint32_t* Row = P.Pixels.data() + std::size_t(Y) * std::size_t(P.Width);
        Builder.BeginRow(Y);
        int X = 0;
        while (X < P.Width) {
            while (X < P.Width && Row[X] == Transparent)
                ++X;
            if (X == P.Width)
                break;
            const int Start = X;
            while (X < P.Width && Row[X] != Transparent)
                ++X;
            Builder.AddRun(Start, X);
        }
    }
}
