#include "tools/artgen/VfdFaceArt.h"

#include "tools/artgen/ArtLayer.h"
#include "tools/artgen/ArtRandom.h"
#include "tools/artgen/VfdDigitArt.h"
#include "tools/artgen/VfdFaceProfile.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr TDigitLayout LargeLayout{{88, 120, 177, 206, 267, 294}, 63, 25, 40};
constexpr TDigitLayout SmallLayout{{45, 57, 88, 103, 131, 146}, 31, 12, 19};

// For each frame pixel, the offset to the nearest pixel outside the frame's outline (within
// Reach), so the bevels can follow the rounded corners and know which way they face.
class TEdgeField
{
public:
    TEdgeField(const TVfdFaceProfile& P, int Reach)
        : FWidth(P.Width), FField(std::size_t(P.Width) * std::size_t(P.Height))
    {
        for (int Y = 0; Y < P.Height; ++Y) {
            for (int X = 0; X < P.Width; ++X) {
                TCell& C = FField[std::size_t(Y) * std::size_t(P.Width) + std::size_t(X)];
                if (!VfdFrameContains(P, X, Y))
                    continue;
                int Best = Reach * Reach + 1;
                for (int DY = -Reach; DY <= Reach; ++DY)
                    for (int DX = -Reach; DX <= Reach; ++DX) {
                        const int D2 = DX * DX + DY * DY;
                        if (D2 < Best && !VfdFrameContains(P, X + DX, Y + DY)) {
                            Best = D2;
                            C.DX = DX;
                            C.DY = DY;
                        }
                    }
                C.Distance = Best > Reach * Reach ? Reach + 1.0 : std::sqrt(double(Best));
            }
        }
    }

    struct TCell
    {
        double Distance = 0; // 1 next to the outside
        int DX = 0;
        int DY = 0;
    };
    const TCell& At(int X, int Y) const
    {
        return FField[std::size_t(Y) * std::size_t(FWidth) + std::size_t(X)];
    }

private:
    int FWidth;
    std::vector<TCell> FField;
};

// How much a slope facing away from the edge offset (DX, DY) catches the light from the upper
// left: 1 facing it, 0 turned away.
double Facing(int DX, int DY)
{
    const double L = std::sqrt(double(DX * DX + DY * DY));
    if (L == 0)
        return 0.5;
    return 0.5 + 0.5 * (-(DX + DY) / (L * 1.41421356));
}

constexpr TArtColor GlassBase{21, 21, 21};

void PaintFrame(TArtLayer& Layer, const TVfdFaceProfile& P, const TEdgeField& Field, double Scale)
{
    // Frame zones in large-face pixels from the outer edge: outline, outer bevel, flat, inner
    // bevel, then the glass.
    const double Outline = 1.0 * std::max(Scale, 1.0);
    const double OuterBevel = 3.2 * Scale;
    const double Flat = 9.0 * Scale;
    const double InnerBevel = 11.0 * Scale;
    for (int Y = 0; Y < P.Height; ++Y) {
        for (int X = 0; X < P.Width; ++X) {
            if (!VfdFrameContains(P, X, Y))
                continue;
            const TEdgeField::TCell& E = Field.At(X, Y);
            const double D = E.Distance;
            if (D > InnerBevel)
                continue;
            const double Face = Facing(E.DX, E.DY);
            // Brushed aluminium: lighter at the top, fine horizontal grain.
            const double V = double(Y - P.Frame.Top) / P.Frame.Height();
            const double Grain = PixelNoise(X / 3, Y, 0x6D65746Cu) - 0.5;
            TArtColor Metal = MixColor({186, 189, 194}, {122, 125, 131}, V);
            Metal = {Metal.R + Grain * 10, Metal.G + Grain * 10, Metal.B + Grain * 10};
            TArtColor C;
            if (D <= Outline) {
                C = MixColor({58, 60, 64}, {120, 122, 128}, Face * 0.7);
            } else if (D <= OuterBevel) {
                C = MixColor(ScaleColor(Metal, 0.55), {236, 238, 242}, Face);
            } else if (D <= Flat) {
                C = Metal;
            } else {
                // The inner bevel slopes down into the window: it faces the light where the
                // outer one turns away from it.
                C = MixColor({44, 45, 48}, ScaleColor(Metal, 1.1), 1.0 - Face);
            }
            Layer.Set(X, Y, C);
        }
    }
}

// The glass and what shows through it, in large-face coordinates: the getter's mirror under the
// tip, a soft reflection above the digit row, a cooler tint towards the rim.
TArtColor GlassAt(double X, double Y)
{
    TArtColor C = GlassBase;
    const double Cool = std::clamp((std::fabs(Y - 82.5) - 26.0) / 18.0, 0.0, 1.0);
    C = MixColor(C, {15, 17, 20}, Cool);
    const double GX = (X - 190.5) / 24.0;
    const double GY = (Y - 46.0) / 5.0;
    const double Getter = std::fmax(0.0, 1.0 - GX * GX - GY * GY);
    C = MixColor(C, {74, 76, 82}, 0.8 * Getter * Getter);
    if (Y < 58) {
        const double Band = std::fmax(0.0, 1.0 - std::fabs(Y - 52.0 + (X - 190.0) * 0.03) / 4.0);
        C = MixColor(C, {90, 96, 104}, 0.12 * Band);
    }
    return C;
}

void PaintGlass(TArtLayer& Layer, const TVfdFaceProfile& P, const TEdgeField& Field, double Scale)
{
    const double InnerBevel = 11.0 * Scale;
    for (int Y = 0; Y < P.Height; ++Y) {
        for (int X = 0; X < P.Width; ++X) {
            if (!VfdFrameContains(P, X, Y) || Field.At(X, Y).Distance <= InnerBevel)
                continue;
            TArtColor Sum;
            for (int S = 0; S < 4; ++S) {
                const TArtColor C = GlassAt((X + 0.25 + 0.5 * (S & 1)) / Scale,
                                            (Y + 0.25 + 0.5 * (S >> 1)) / Scale);
                Sum = {Sum.R + C.R, Sum.G + C.G, Sum.B + C.B};
            }
            const double N = PixelNoise(X, Y, 0x676C6173u) - 0.5;
            TArtColor C = ScaleColor(Sum, 0.25);
            C = {C.R + N * 2.4, C.G + N * 2.4, C.B + N * 2.4};
            // The glass's own edge, just inside the frame, catches a thin line of light.
            if (Field.At(X, Y).Distance <= InnerBevel + 1.0)
                C = MixColor(C, {96, 100, 108}, 0.35);
            Layer.Set(X, Y, C);
        }
    }
}

// The row of a cell that a stretched cell row shows (the canvas's nearest-pixel mapping).
int SourceRow(int Row, int DrawnHeight)
{
    return Row * VfdCellHeight / DrawnHeight;
}

// The filament wires run the whole width of the window on the rows where the digit cells show
// them, anchored to a support post at each end.
void PaintFilaments(TArtLayer& Layer, const TVfdFaceProfile& P, const TEdgeField& Field,
                    const TDigitLayout& L, double Scale)
{
    const double InnerBevel = 11.0 * Scale;
    const int Left = int(std::lround(26 * Scale)) + P.Frame.Left;
    const int Right = P.Frame.Right - 1 - int(std::lround(26 * Scale));
    for (int Row = 0; Row < L.Height; ++Row) {
        const int Source = SourceRow(Row, L.Height);
        if (Source != 10 && Source != 28 && Source != 29)
            continue;
        const int Y = L.Top + Row;
        for (int X = Left; X <= Right; ++X)
            if (Field.At(X, Y).Distance > InnerBevel + 1.0)
                Layer.Set(X, Y, {31, 31, 30});
    }
    // The posts: short grey bars with a bright edge.
    const int PostTop = L.Top + int(std::lround(4 * Scale));
    const int PostBottom = L.Top + L.Height - int(std::lround(4 * Scale));
    for (int X : {Left, Right})
        for (int Y = PostTop; Y < PostBottom; ++Y) {
            Layer.Set(X, Y, {66, 66, 68});
            if (Scale >= 1)
                Layer.Set(X + (X == Left ? -1 : 1), Y, {40, 40, 42});
        }
}

// A small unlit dot of the separators between the digit pairs.
void PaintDot(TArtLayer& Layer, int X, int Y, int Size)
{
    for (int DY = 0; DY < Size; ++DY)
        for (int DX = 0; DX < Size; ++DX) {
            const bool Corner =
                Size > 2 && (DX == 0 || DX == Size - 1) && (DY == 0 || DY == Size - 1);
            if (!Corner)
                Layer.Set(X + DX, Y + DY, {48, 48, 48});
        }
}

void PaintWindow(TArtLayer& Layer, const TDigitLayout& L, double Scale)
{
    // The unlit digits, exactly as the digit cells draw them, stretched the canvas's way for the
    // small face, so that a lit digit drawn over its cell leaves no seam.
    const TArtLayer Cold = PaintVfdCell(0, {48, 48, 48});
    for (int Digit = 0; Digit < 6; ++Digit)
        for (int Row = 0; Row < L.Height; ++Row)
            for (int Col = 0; Col < L.Width; ++Col)
                Layer.Set(L.Columns[Digit] + Col, L.Top + Row,
                          Cold.Get(Col * VfdCellWidth / L.Width, SourceRow(Row, L.Height)));
    // Separator dots between hours, minutes and seconds, leaning with the digits.
    const int Size = Scale >= 1 ? 4 : 2;
    for (int Pair = 0; Pair < 2; ++Pair) {
        const int GapLeft = L.Columns[Pair * 2 + 1] + L.Width;
        const int GapRight = L.Columns[Pair * 2 + 2];
        const int Centre = (GapLeft + GapRight) / 2;
        PaintDot(Layer, Centre - Size / 2 + int(std::lround(2 * Scale)),
                 L.Top + int(std::lround(13 * Scale)), Size);
        PaintDot(Layer, Centre - Size / 2 - int(std::lround(1 * Scale)),
                 L.Top + int(std::lround(25 * Scale)), Size);
    }
}

// The annunciators left of the digits, AM above PM, unlit like the digits: a 3 x 5 pixel
// lettering on the large face, a dash each on the small one.
void PaintAnnunciators(TArtLayer& Layer, const TDigitLayout& L, double Scale)
{
    static const char* const Letters[3][5] = {
        {".#.", "#.#", "###", "#.#", "#.#"},
        {"#...#", "##.##", "#.#.#", "#...#", "#...#"},
        {"##.", "#.#", "##.", "#..", "#.."},
    };
    const int Left = L.Columns[0] - int(std::lround(30 * Scale));
    for (int Line = 0; Line < 2; ++Line) {
        const int Top = L.Top + int(std::lround((Line == 0 ? 9 : 23) * Scale));
        if (Scale < 1) {
            for (int X = 0; X < 4; ++X)
                Layer.Set(Left + X, Top + 1, {48, 48, 48});
            continue;
        }
        int X = Left;
        for (int Letter : {Line == 0 ? 0 : 2, 1}) {
            const char* const* Rows = Letters[Letter];
            int Width = 0;
            for (int Row = 0; Row < 5; ++Row)
                for (int Col = 0; Rows[Row][Col] != '\0'; ++Col) {
                    Width = std::max(Width, Col + 1);
                    if (Rows[Row][Col] == '#')
                        Layer.Set(X + Col, Top + Row, {48, 48, 48});
                }
            X += Width + 1;
        }
    }
}

void PaintTip(TArtLayer& Layer, const TSilhouette& Shape, const TVfdFaceProfile& P)
{
    for (int Y = P.TipTop; Y < P.Frame.Top; ++Y)
        for (const TSpan& S : Shape.GetRow(Y))
            for (int X = S.X0; X < S.X1; ++X) {
                const double U = (X - S.X0 + 0.5) / (S.X1 - S.X0);
                const double Hi = std::fmax(0.0, 1.0 - std::fabs(U - 0.38) / 0.4);
                Layer.Set(X, Y, MixColor({84, 88, 94}, {196, 200, 206}, Hi));
            }
}

void PaintPins(TArtLayer& Layer, const TVfdFaceProfile& P)
{
    const int Left = -(P.PinWidth / 2);
    for (int Centre : P.PinCentres)
        for (int Row = 0; Row < P.PinRows; ++Row)
            for (int I = 0; I < P.PinWidth; ++I) {
                const double U = (I + 0.5) / P.PinWidth;
                const double Hi = std::fmax(0.0, 1.0 - std::fabs(U - 0.4) / 0.55);
                TArtColor C = MixColor({78, 76, 70}, {226, 222, 210}, Hi);
                // The frame's shadow on the pins just below it.
                if (Row == 0)
                    C = ScaleColor(C, 0.6);
                Layer.Set(Centre + Left + I, P.Frame.Bottom + Row, C);
            }
}

} // namespace

const TDigitLayout& VfdDigitLayout(bool Large)
{
    return Large ? LargeLayout : SmallLayout;
}

TSilhouette VfdFaceSilhouette(bool Large)
{
    return VfdFaceSilhouette(VfdFaceProfile(Large));
}

TBitmap PaintVfdFace(bool Large)
{
    const TVfdFaceProfile& P = VfdFaceProfile(Large);
    const double Scale = Large ? 1.0 : 0.5;
    const TSilhouette Shape = VfdFaceSilhouette(P);
    TArtLayer Layer(P.Width, P.Height);
    const TEdgeField Field(P, 14);
    PaintFrame(Layer, P, Field, Scale);
    PaintGlass(Layer, P, Field, Scale);
    PaintFilaments(Layer, P, Field, VfdDigitLayout(Large), Scale);
    PaintWindow(Layer, VfdDigitLayout(Large), Scale);
    PaintAnnunciators(Layer, VfdDigitLayout(Large), Scale);
    PaintTip(Layer, Shape, P);
    PaintPins(Layer, P);
    return Layer.ToBitmap(&Shape, 9);
}
