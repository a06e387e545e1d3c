#include "tools/artgen/NixieFaceArt.h"

#include "tools/artgen/ArtLayer.h"
#include "tools/artgen/ArtRandom.h"
#include "tools/artgen/HexMesh.h"
#include "tools/artgen/NixieGlyphs.h"
#include "tools/artgen/NixieTubeProfile.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr TDigitLayout LargeLayout{{10, 53, 110, 152, 207, 248}, 50, 23, 41};
constexpr TDigitLayout SmallLayout{{5, 27, 55, 76, 103, 124}, 24, 11, 22};

// A smooth bump: 1 at 0 falling to 0 at |T| = 1.
double Bump(double T)
{
    T = std::fabs(T);
    if (T >= 1)
        return 0;
    const double U = 1 - T * T;
    return U * U;
}

// The inside of one cold tube in the large tube's coordinates (X from the glass's left edge,
// Y the face row), behind the glass: the dark envelope, the anode box with its mesh, the mica
// spacers and the stack of cold cathodes, lit faintly by the neighbouring digits' glow.
class TTubeInterior
{
public:
    explicit TTubeInterior(double CellLeft) : FCellLeft(CellLeft), FMesh(3.6, {0.7, 0.4})
    {
        for (int Digit = 0; Digit < 10; ++Digit) {
            const double Shift = (Digit % 3 - 1) * 0.35;
            for (TPolyline& L : NixieGlyph(Digit, CellLeft + 5.5 + Shift, 54.0 + Shift, 12.0, 33.0))
                FCathodes.push_back(std::move(L));
        }
    }

    TArtColor At(double X, double Y) const
    {
        TArtColor C{21, 18, 18};
        // The neon of the lit numeral warms the anode box around the digit cell.
        const double CellRight = FCellLeft + 23;
        const double OutX = std::max({0.0, FCellLeft - X, X - CellRight});
        const double OutY = std::max({0.0, 50.0 - Y, Y - 91.0});
        const double Warm = 1.0 / (1.0 + (OutX * OutX + OutY * OutY) / 5.0);
        C = MixColor(C, {84, 34, 12}, 0.7 * Warm);
        // The mica spacers above and below the stack: milky, lit along their edges.
        for (double Top : {44.0, 94.0}) {
            if (Y >= Top && Y < Top + 2.5 && X >= 1.5 && X < 32.5) {
                // Their inner edges face the glowing digit and take on its colour.
                const double Edge = (Y < Top + 0.8) ? 1.0 : 0.6;
                const bool Inner = Top < 60 ? Y >= Top + 1.7 : Y < Top + 0.8;
                C = MixColor(C, Inner ? TArtColor{176, 126, 98} : TArtColor{150, 146, 140},
                             0.42 * Edge);
            }
        }
        // The support rods holding the stack.
        for (double Rod : {3.2, 30.8})
            if (std::fabs(X - Rod) < 0.55 && Y > 40 && Y < 101)
                C = MixColor(C, {120, 112, 104}, 0.55);
        // The stack's lead-out wires run down through the bottom seal to the leads.
        for (double Wire : {10.0, 23.0})
            if (std::fabs(X - Wire) < 0.5 && Y > 96 && Y < 104)
                C = MixColor(C, {128, 124, 118}, 0.5);
        // The cold cathodes: dull nickel wire.
        if (Y > 50 && Y < 91) {
            const double D = DistanceToLines(FCathodes, {X, Y});
            if (D < 0.5)
                C = MixColor(C, {112, 92, 78}, 0.34);
        }
        // The anode mesh in front of the stack: bright wire with a little of the glow on it.
        if (Y > 46.5 && Y < 93.5 && X > 2.0 && X < 32.0) {
            if (FMesh.WallDistance({X, Y}) < 0.24)
                C = MixColor(C, {104, 84, 70}, 0.42);
        }
        // The getter's silvering on the inside of the dome.
        if (Y < 40) {
            const double G = Bump((X - 17.0) / 15.0) * Bump((Y - 33.0) / 6.0);
            C = MixColor(C, {96, 96, 102}, 0.5 * G);
        }
        return C;
    }

private:
    double FCellLeft;
    THexMesh FMesh;
    std::vector<TPolyline> FCathodes;
};

// Design coordinates are those of the large tube; the small face samples them at half scale.
TArtColor SampleInterior(const TTubeInterior& Inside, int X, int Y, double Scale, int GlassLeft)
{
    const int N = Scale < 1 ? 4 : 3;
    TArtColor Sum;
    for (int SY = 0; SY < N; ++SY) {
        for (int SX = 0; SX < N; ++SX) {
            const double DX = (X - GlassLeft + (SX + 0.5) / N) / Scale;
            const double DY = (Y + (SY + 0.5) / N) / Scale;
            const TArtColor C = Inside.At(DX, DY);
            Sum.R += C.R;
            Sum.G += C.G;
            Sum.B += C.B;
        }
    }
    return ScaleColor(Sum, 1.0 / (N * N));
}

// The glass in front: bright at its rim, where the light grazes it, with two tall reflections
// of a window to the upper left and a soft one across the dome.
void PaintGlass(TArtLayer& Layer, const TSilhouette& Tube, int X, int Y, double Scale,
                int GlassLeft, int GlassWidth)
{
    const int Depth = Tube.RowDepth(X, Y);
    const int Top = Tube.ColumnDepth(X, Y);
    const double U = (X - GlassLeft + 0.5) / GlassWidth;
    const double DY = (Y + 0.5) / Scale;
    const double RimLight = Depth == 1 ? 0.55 * Scale : (Depth == 2 ? 0.18 * Scale * Scale : 0.0);
    // Beside the digit the glass reflects its glow.
    const TArtColor Rim = MixColor({128, 134, 142}, {170, 112, 84}, 0.7 * Bump((DY - 70.5) / 26.0));
    Layer.Blend(X, Y, Rim, RimLight);
    if (Top == 1 && DY < 45)
        Layer.Blend(X, Y, {150, 156, 164}, 0.45);
    const double Tall = Bump((DY - 68.0) / 36.0);
    Layer.AddLight(X, Y, {200, 208, 220}, 0.32 * Bump((U - 0.2) / 0.085) * Tall);
    Layer.AddLight(X, Y, {200, 208, 220}, 0.1 * Bump((U - 0.84) / 0.05) * Tall);
    Layer.AddLight(X, Y, {200, 208, 220}, 0.22 * Bump((U - 0.4) / 0.2) * Bump((DY - 35.5) / 2.2));
}

void PaintTip(TArtLayer& Layer, int X, int Y, int Left, int Right)
{
    const double U = (X - Left + 0.5) / (Right - Left);
    TArtColor C = MixColor({70, 72, 78}, {168, 172, 178}, Bump((U - 0.38) / 0.45));
    Layer.Set(X, Y, C);
}

// The two leads between the bottom seal and the socket: bright tinned wire.
void PaintLead(TArtLayer& Layer, int X, int Y, int Left, int Right)
{
    const double U = (X - Left + 0.5) / (Right - Left);
    Layer.Set(X, Y, MixColor({86, 84, 80}, {196, 194, 188}, Bump((U - 0.35) / 0.6)));
}

// The socket: a chromed collar, then brown-black bakelite narrowing to its foot.
void PaintSocket(TArtLayer& Layer, int X, int Y, int Left, int Right, double DY)
{
    const double U = (X - Left + 0.5) / (Right - Left);
    TArtColor C;
    if (DY < 107) {
        C = MixColor({70, 70, 74}, {214, 216, 220}, Bump((U - 0.3) / 0.5));
        C = MixColor(C, {40, 40, 44}, DY < 106 ? 0.0 : 0.25);
    } else {
        C = MixColor({26, 20, 17}, {78, 64, 56}, 0.8 * Bump((U - 0.28) / 0.22));
        C = MixColor(C, {16, 12, 10}, std::clamp((DY - 108) / 7.0, 0.0, 0.6));
    }
    Layer.Set(X, Y, C);
}

} // namespace

const TDigitLayout& NixieDigitLayout(bool Large)
{
    return Large ? LargeLayout : SmallLayout;
}

TSilhouette NixieFaceSilhouette(bool Large)
{
    const int W = Large ? 300 : 150;
    const int H = Large ? 120 : 60;
    TSilhouette Face(W, H);
    for (int Column : NixieTubeColumns(Large))
        Face.AddShifted(NixieTubeSilhouette(Large, Column, W, H), 0, 0);
    return Face;
}

TBitmap PaintNixieFace(bool Large)
{
    const int W = Large ? 300 : 150;
    const int H = Large ? 120 : 60;
    const double Scale = Large ? 1.0 : 0.5;
    const TTubeProfile& Profile = NixieTubeProfile(Large);
    const TDigitLayout& Layout = NixieDigitLayout(true);
    TArtLayer Layer(W, H);
    TSilhouette Face(W, H);
    for (int Tube = 0; Tube < 6; ++Tube) {
        const int GlassLeft = NixieTubeColumns(Large)[std::size_t(Tube)];
        const int LargeLeft = NixieTubeColumns(true)[std::size_t(Tube)];
        const TSilhouette Shape = NixieTubeSilhouette(Large, GlassLeft, W, H);
        Face.AddShifted(Shape, 0, 0);
        const TTubeInterior Inside(Layout.Columns[Tube] - LargeLeft);
        for (int Y = 0; Y < H; ++Y) {
            const TTubePart Part = NixieTubePartAt(Large, Y);
            for (const TSpan& S : Shape.GetRow(Y)) {
                for (int X = S.X0; X < S.X1; ++X) {
                    switch (Part) {
                    case TTubePart::Tip:
                        PaintTip(Layer, X, Y, S.X0, S.X1);
                        break;
                    case TTubePart::Glass:
                        Layer.Set(X, Y, SampleInterior(Inside, X, Y, Scale, GlassLeft));
                        PaintGlass(Layer, Shape, X, Y, Scale, GlassLeft, Profile.GlassWidth);
                        break;
                    case TTubePart::Leads:
                        PaintLead(Layer, X, Y, S.X0, S.X1);
                        break;
                    case TTubePart::Socket:
                        PaintSocket(Layer, X, Y, GlassLeft, GlassLeft + Profile.GlassWidth,
                                    (Y + 0.5) / Scale);
                        break;
                    }
                }
            }
        }
    }
    return Layer.ToBitmap(&Face, 9);
}
