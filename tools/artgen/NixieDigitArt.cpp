#include "tools/artgen/NixieDigitArt.h"

#include "tools/artgen/ArtRandom.h"
#include "tools/artgen/HexMesh.h"
#include "tools/artgen/NixieGlyphs.h"

#include <algorithm>
#include <array>

namespace {

// The numeral's box in the cell: centred, most of the cell's height.
constexpr double GlyphLeft = 5.5;
constexpr double GlyphTop = 4.0;
constexpr double GlyphWidth = 12.0;
constexpr double GlyphHeight = 33.0;
// Half the width of the white-hot core of a lit cathode.
constexpr double CoreRadius = 1.3;

// Glow brightness (0 dark, 1 next to the core) to colour: the deep brown-red of the dark mesh
// through the orange of the neon to the pale rim of the core.
TArtColor GlowColor(double T)
{
    struct TStop
    {
        double T;
        TArtColor C;
    };
    static constexpr std::array<TStop, 6> Stops{{{0.0, {60, 25, 5}},
                                                 {0.3, {112, 50, 24}},
                                                 {0.5, {190, 93, 72}},
                                                 {0.75, {236, 124, 90}},
                                                 {0.9, {250, 168, 118}},
                                                 {1.0, {253, 222, 190}}}};
    T = std::clamp(T, 0.0, 1.0);
    for (std::size_t I = 1; I < Stops.size(); ++I)
        if (T <= Stops[I].T)
            return MixColor(Stops[I - 1].C, Stops[I].C,
                            (T - Stops[I - 1].T) / (Stops[I].T - Stops[I - 1].T));
    return Stops.back().C;
}

constexpr TArtColor CoreColor{254, 251, 240};

std::vector<TPolyline> Glyph(int Digit, double DX = 0, double DY = 0)
{
    return NixieGlyph(Digit, GlyphLeft + DX, GlyphTop + DY, GlyphWidth, GlyphHeight);
}

// The cathodes stand one behind the other, a little apart, so each unlit one peeks out beside
// the lit one by a fraction of a pixel.
TArtPoint CathodeShift(int Digit)
{
    static constexpr std::array<TArtPoint, 10> Shift{{{0.0, 0.0},
                                                      {0.3, -0.2},
                                                      {-0.3, 0.2},
                                                      {0.2, 0.3},
                                                      {-0.2, -0.3},
                                                      {0.4, 0.1},
                                                      {-0.4, -0.1},
                                                      {0.1, 0.4},
                                                      {-0.1, -0.4},
                                                      {0.3, 0.3}}};
    return Shift[std::size_t(Digit)];
}

const THexMesh& AnodeMesh()
{
    static const THexMesh Mesh(3.6, {1.3, 0.9});
    return Mesh;
}

} // namespace

TArtLayer PaintNixieDigit(int Digit)
{
    TArtLayer Cell(NixieCellWidth, NixieCellHeight);
    const std::vector<TPolyline> Lit = Glyph(Digit);
    std::vector<TPolyline> Unlit;
    for (int Other = 0; Other < NixieDigitCount; ++Other) {
        if (Other == Digit)
            continue;
        const TArtPoint S = CathodeShift(Other);
        for (TPolyline& L : Glyph(Other, S.X, S.Y))
            Unlit.push_back(std::move(L));
    }
    for (int Y = 0; Y < NixieCellHeight; ++Y) {
        for (int X = 0; X < NixieCellWidth; ++X) {
            const TArtPoint P{X + 0.5, Y + 0.5};
            const double D = DistanceToLines(Lit, P);
            // The neon's glow: a halo round the lit cathode over a haze that fills the tube,
            // strongest in its middle.
            // The haze is brightest over the cathode stack and fades towards the glass.
            const double OutX =
                std::max({0.0, GlyphLeft - 0.5 - P.X, P.X - (GlyphLeft + GlyphWidth + 0.5)});
            const double OutY = std::max({0.0, GlyphTop - P.Y, P.Y - (GlyphTop + GlyphHeight)});
            const double Haze = 0.83 / (1.0 + (OutX * OutX + OutY * OutY) / 3.0);
            const double Halo = 1.0 / (1.0 + (D / 2.6) * (D / 2.6));
            double T = Haze + (1.0 - Haze) * Halo * 0.95;
            // Unlit cathodes stand in the glow as dark wires, shadowed more the further they
            // lie from the lit one.
            const double U = PixelCoverage(X, Y, [&](double SX, double SY) {
                return DistanceToLines(Unlit, {SX, SY}) < 0.6;
            });
            T *= 1.0 - U * 0.6 * std::min(1.0, D / 2.5);
            // The mesh in front dims everything a little, the light of the core included.
            const double M = AnodeMesh().WallCoverage(X, Y, 0.22);
            T *= 1.0 - M * 0.3;
            T += (PixelNoise(X, Y, 0x6E697869u + std::uint32_t(Digit)) - 0.5) * 0.03;
            TArtColor C = GlowColor(T);
            const double Core = PixelCoverage(X, Y, [&](double SX, double SY) {
                return DistanceToLines(Lit, {SX, SY}) < CoreRadius;
            });
            C = MixColor(C, CoreColor, Core * (1.0 - M * 0.08));
            Cell.Set(X, Y, C);
        }
    }
    return Cell;
}

TBitmap PaintNixieStrip(int CellsPerRow)
{
    const int Rows = (NixieDigitCount + CellsPerRow - 1) / CellsPerRow;
    TArtLayer Strip(CellsPerRow * NixieCellWidth, Rows * NixieCellHeight);
    for (int Digit = 0; Digit < NixieDigitCount; ++Digit)
        Strip.Paste(PaintNixieDigit(Digit), (Digit % CellsPerRow) * NixieCellWidth,
                    (Digit / CellsPerRow) * NixieCellHeight);
    return Strip.ToBitmap();
}
