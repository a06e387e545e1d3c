#include "tools/artgen/ArtGeometry.h"

#include <cmath>

void AppendCubic(TPolyline& Line, TArtPoint P0, TArtPoint P1, TArtPoint P2, TArtPoint P3, int Steps)
{
    if (Line.empty())
        Line.push_back(P0);
    for (int I = 1; I <= Steps; ++I) {
        const double T = double(I) / Steps;
        const double U = 1.0 - T;
        const double A = U * U * U;
        const double B = 3.0 * U * U * T;
        const double C = 3.0 * U * T * T;
        const double D = T * T * T;
        Line.push_back(
            {A * P0.X + B * P1.X + C * P2.X + D * P3.X, A * P0.Y + B * P1.Y + C * P2.Y + D * P3.Y});
    }
}

TPolyline EllipseLine(TArtPoint C, double RX, double RY, int Steps)
{
    // The usual four-arc approximation of a circle, within 0.03 % of the radius.
    const double K = 0.5522847498;
    TPolyline Line;
    AppendCubic(Line, {C.X + RX, C.Y}, {C.X + RX, C.Y + K * RY}, {C.X + K * RX, C.Y + RY},
                {C.X, C.Y + RY}, Steps);
    AppendCubic(Line, {C.X, C.Y + RY}, {C.X - K * RX, C.Y + RY}, {C.X - RX, C.Y + K * RY},
                {C.X - RX, C.Y}, Steps);
    AppendCubic(Line, {C.X - RX, C.Y}, {C.X - RX, C.Y - K * RY}, {C.X - K * RX, C.Y - RY},
                {C.X, C.Y - RY}, Steps);
    AppendCubic(Line, {C.X, C.Y - RY}, {C.X + K * RX, C.Y - RY}, {C.X + RX, C.Y - K * RY},
                {C.X + RX, C.Y}, Steps);
    return Line;
}

double DistanceToSegment(TArtPoint P, TArtPoint A, TArtPoint B)
{
    const double DX = B.X - A.X;
    const double DY = B.Y - A.Y;
    const double Length2 = DX * DX + DY * DY;
    double T = 0;
    if (Length2 > 0) {
        T = ((P.X - A.X) * DX + (P.Y - A.Y) * DY) / Length2;
        T = T < 0 ? 0 : (T > 1 ? 1 : T);
    }
    const double EX = A.X + T * DX - P.X;
    const double EY = A.Y + T * DY - P.Y;
    return std::sqrt(EX * EX + EY * EY);
}

double DistanceToLines(const std::vector<TPolyline>& Lines, TArtPoint P)
{
    double Best = 1e9;
    for (const TPolyline& Line : Lines) {
        if (Line.size() == 1) {
            Best = std::fmin(Best, DistanceToSegment(P, Line[0], Line[0]));
            continue;
        }
        for (std::size_t I = 1; I < Line.size(); ++I)
            Best = std::fmin(Best, DistanceToSegment(P, Line[I - 1], Line[I]));
    }
    return Best;
}
