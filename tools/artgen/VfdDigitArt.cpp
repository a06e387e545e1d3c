#include "tools/artgen/VfdDigitArt.h"

#include "tools/artgen/ArtRandom.h"

#include <array>

namespace {

// A segment drawn as pixel runs: rows From..To (inclusive) cover columns First..Last.
struct TSegmentRun
{
    int From;
    int To;
    int First;
    int Last;
};

struct TSegmentShape
{
    std::array<TSegmentRun, 5> Runs;
    int Count;
};

// The eight anodes of the cell, drawn pixel by pixel: the vertical bars lean to the right and
// every end is mitred so that neighbouring segments never touch.
constexpr std::array<TSegmentShape, 8> Shapes{{
    // a
    {{{{5, 5, 8, 14}, {6, 6, 7, 15}, {7, 7, 8, 14}}}, 3},
    // b
    {{{{5, 5, 18, 19}, {6, 10, 17, 19}, {11, 15, 16, 18}, {16, 16, 16, 17}}}, 4},
    // c
    {{{{21, 21, 16, 17}, {22, 24, 15, 17}, {25, 28, 14, 16}, {29, 31, 13, 15}, {32, 32, 14, 15}}},
     5},
    // d
    {{{{31, 31, 3, 11}, {32, 32, 2, 12}, {33, 33, 3, 11}}}, 3},
    // e
    {{{{21, 21, 5, 6}, {22, 23, 4, 6}, {24, 26, 3, 5}, {27, 28, 2, 4}, {29, 29, 2, 3}}}, 5},
    // f
    {{{{9, 9, 7, 8}, {10, 13, 6, 8}, {14, 16, 5, 7}, {17, 17, 5, 6}}}, 4},
    // g
    {{{{18, 18, 8, 14}, {19, 19, 7, 15}, {20, 20, 8, 14}}}, 3},
    // the decimal point, a round dot
    {{{{30, 30, 18, 21}, {31, 33, 17, 22}, {34, 34, 18, 21}}}, 3},
}};

// Lit segments of 0..9 and A, b, c, d, E, F (bit 0 = a ... bit 6 = g).
constexpr std::array<std::uint8_t, 16> LitTable{0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07,
                                                0x7F, 0x6F, 0x77, 0x7C, 0x58, 0x5E, 0x79, 0x71};

constexpr TArtColor Unlit{48, 48, 48};
constexpr TArtColor Background{21, 21, 21};
// The filament wires in front of the anodes catch a little light on these rows.
constexpr TArtColor Filament{31, 31, 30};

bool IsFilamentRow(int Y)
{
    return Y == 10 || Y == 28 || Y == 29;
}

} // namespace

std::uint8_t VfdLitSegments(int Digit)
{
    return LitTable[std::size_t(Digit & 15)];
}

bool VfdSegmentCovers(int Segment, int X, int Y)
{
    const TSegmentShape& S = Shapes[std::size_t(Segment)];
    for (int I = 0; I < S.Count; ++I) {
        const TSegmentRun& R = S.Runs[std::size_t(I)];
        if (Y >= R.From && Y <= R.To && X >= R.First && X <= R.Last)
            return true;
    }
    return false;
}

TArtLayer PaintVfdCell(std::uint8_t Mask, const TArtColor& Core)
{
    TArtLayer Cell(VfdCellWidth, VfdCellHeight);
    // Which segment covers each pixel (-1: none), and how near the nearest lit one is.
    std::array<std::array<int, VfdCellWidth>, VfdCellHeight> Owner{};
    for (int Y = 0; Y < VfdCellHeight; ++Y)
        for (int X = 0; X < VfdCellWidth; ++X) {
            Owner[std::size_t(Y)][std::size_t(X)] = -1;
            for (int S = 0; S < 8; ++S)
                if (VfdSegmentCovers(S, X, Y))
                    Owner[std::size_t(Y)][std::size_t(X)] = S;
        }
    auto LitAt = [&](int X, int Y) {
        if (X < 0 || Y < 0 || X >= VfdCellWidth || Y >= VfdCellHeight)
            return false;
        const int S = Owner[std::size_t(Y)][std::size_t(X)];
        return S >= 0 && S < 7 && (Mask >> S & 1);
    };
    for (int Y = 0; Y < VfdCellHeight; ++Y) {
        for (int X = 0; X < VfdCellWidth; ++X) {
            const int S = Owner[std::size_t(Y)][std::size_t(X)];
            if (S >= 0) {
                Cell.Set(X, Y, (S < 7 && (Mask >> S & 1)) ? Core : Unlit);
                continue;
            }
            // The glass between the anodes: near-black with a grain of a pixel's noise, the
            // filament rows a shade lighter, and a faint bloom around lit segments.
            TArtColor C = IsFilamentRow(Y) ? Filament : Background;
            const double N = PixelNoise(X, Y, 0x76666421u) - 0.5;
            C = {C.R + N * 2.4, C.G + N * 2.4, C.B + N * 2.4};
            double Bloom = 0;
            for (int DY = -2; DY <= 2; ++DY)
                for (int DX = -2; DX <= 2; ++DX)
                    if (LitAt(X + DX, Y + DY)) {
                        const int D2 = DX * DX + DY * DY;
                        const double B =
                            D2 <= 1 ? 0.26 : (D2 <= 2 ? 0.17 : (D2 <= 5 ? 0.07 : 0.03));
                        Bloom = B > Bloom ? B : Bloom;
                    }
            Cell.Set(X, Y, MixColor(C, Core, Bloom));
        }
    }
    return Cell;
}

TBitmap PaintVfdStrip(const TArtColor& Core, int CellsPerRow)
{
    const int Rows = (VfdDigitCount + CellsPerRow - 1) / CellsPerRow;
    TArtLayer Strip(CellsPerRow * VfdCellWidth, Rows * VfdCellHeight);
    for (int Digit = 0; Digit < VfdDigitCount; ++Digit)
        Strip.Paste(PaintVfdCell(VfdLitSegments(Digit), Core), (Digit % CellsPerRow) * VfdCellWidth,
                    (Digit / CellsPerRow) * VfdCellHeight);
    return Strip.ToBitmap();
}
