#pragma once

#include "tools/artgen/ArtGeometry.h"

// A honeycomb like the anode mesh of a nixie tube or the grid of a VFD: how near a point lies to
// the walls of hexagonal cells of the given pitch (distance between cell centres).
class THexMesh
{
public:
    THexMesh(double Pitch, TArtPoint Origin) : FPitch(Pitch), FOrigin(Origin) {}

    // Half the difference of the distances to the two nearest cell centres: 0 on a wall, rising
    // to about Pitch / 2 at a centre.
    double WallDistance(TArtPoint P) const;
    // The fraction of the pixel (X, Y) that lies within HalfWidth of a wall.
    double WallCoverage(int X, int Y, double HalfWidth) const;

private:
    double FPitch;
    TArtPoint FOrigin;
};
