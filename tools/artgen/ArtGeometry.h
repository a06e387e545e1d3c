#pragma once

#include <vector>

struct TArtPoint
{
    double X = 0;
    double Y = 0;
};

using TPolyline = std::vector<TArtPoint>;

// Appends the cubic Bezier curve P0..P3 to Line as Steps straight pieces (P0 is added only when
// Line is empty, so curves chain).
void AppendCubic(TPolyline& Line, TArtPoint P0, TArtPoint P1, TArtPoint P2, TArtPoint P3,
                 int Steps = 24);
// A closed ellipse as four cubic quarters, starting at its rightmost point.
TPolyline EllipseLine(TArtPoint Centre, double RadiusX, double RadiusY, int StepsPerQuarter = 16);

double DistanceToSegment(TArtPoint P, TArtPoint A, TArtPoint B);
// The distance from P to the nearest point of any of the lines (a large value for none).
double DistanceToLines(const std::vector<TPolyline>& Lines, TArtPoint P);

// The fraction of the pixel (X, Y) (its square X..X+1, Y..Y+1) for which Inside holds, sampled
// on a 4 x 4 grid.
template <typename TInside>
double PixelCoverage(int X, int Y, TInside Inside)
{
    int Hits = 0;
    for (int SY = 0; SY < 4; ++SY)
        for (int SX = 0; SX < 4; ++SX)
            if (Inside(X + (SX + 0.5) / 4.0, Y + (SY + 0.5) / 4.0))
                ++Hits;
    return Hits / 16.0;
}
