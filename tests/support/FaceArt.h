#pragma once

// The clock's four face pictures with the check values of each, and any picture of the
// program's embedded bitmap resources.

#include "framework/graphics/Bitmap.h"
#include "framework/objects/Resources.h"

#include <cstddef>
#include <ostream>

struct TFaceCheck
{
    const char* Name; // of the resource
    int Id;
    int Width, Height;
    int Runs;          // of pixels that are not black, row by row
    std::size_t Rects; // of the outline, in banded form
};

inline constexpr TFaceCheck FaceChecks[] = {
    {"FaceVfdSmall", 69, 190, 79, 81, 15},
    {"FaceVfdLarge", 70, 381, 158, 163, 33},
    {"FaceNixieLarge", 71, 300, 120, 528, 132},
    {"FaceNixieSmall", 72, 150, 60, 258, 84},
};

inline void PrintTo(const TFaceCheck& C, std::ostream* Out)
{
    *Out << C.Name;
}

// The embedded bitmap resource Id; empty when there is none.
inline TBitmap LoadBitmapResource(int Id)
{
    TBitmap B;
    if (const TResourceEntry* E = TResources::Find("bitmap", Id))
        B.LoadFromBytes(E->Data);
    return B;
}
