#include "tools/artgen/HexMesh.h"

#include <cmath>

double THexMesh::WallDistance(TArtPoint P) const
{
    const double RowStep = FPitch * 0.8660254037844386;
    const double LX = P.X - FOrigin.X;
    const double LY = P.Y - FOrigin.Y;
    const int Row = int(std::floor(LY / RowStep));
    double D1 = 1e9;
    double D2 = 1e9;
    for (int J = Row - 1; J <= Row + 2; ++J) {
        const double Shift = (J & 1) ? FPitch / 2 : 0;
        const int Col = int(std::floor((LX - Shift) / FPitch));
        for (int I = Col - 1; I <= Col + 2; ++I) {
            const double DX = LX - (I * FPitch + Shift);
            const double DY = LY - J * RowStep;
            const double D = std::sqrt(DX * DX + DY * DY);
            if (D < D1) {
                D2 = D1;
                D1 = D;
            } else if (D < D2) {
                D2 = D;
            }
        }
    }
    return (D2 - D1) / 2;
}

double THexMesh::WallCoverage(int X, int Y, double HalfWidth) const
{
    return PixelCoverage(X, Y, [&](double PX, double PY) {
        return WallDistance({PX, PY}) < HalfWidth;
    });
}
