#pragma once

#include "tools/artgen/Silhouette.h"

#include <span>

// What a row of a nixie tube's outline belongs to; the painter shades each part differently.
enum class TTubePart
{
    Tip,    // the sealed-off exhaust tip on the dome
    Glass,  // the envelope, dome to bottom seal
    Leads,  // the bare leads between the seal and the socket
    Socket, // the socket the tube stands in
};

// One band of a tube's outline: Rows rows holding the columns First..Last (inclusive, from the
// glass's left edge), and a second run SecondFirst..SecondLast when SecondFirst >= 0.
struct TTubeBand
{
    int Rows;
    int First;
    int Last;
    int SecondFirst;
    int SecondLast;
    TTubePart Part;
};

// The outline of one tube of the large (34-pixel glass) or small (17-pixel glass) face, from its
// top row down, with the face row that top lies on.
struct TTubeProfile
{
    int GlassWidth;
    int TopRow;
    std::span<const TTubeBand> Bands;
};

const TTubeProfile& NixieTubeProfile(bool Large);

// The glass columns of the six tubes on the face.
std::span<const int> NixieTubeColumns(bool Large);

// The tube at its place on a face of FaceWidth x FaceHeight.
TSilhouette NixieTubeSilhouette(bool Large, int GlassLeft, int FaceWidth, int FaceHeight);

// The part a face row belongs to within a tube (Glass for rows outside the tube).
TTubePart NixieTubePartAt(bool Large, int Row);
