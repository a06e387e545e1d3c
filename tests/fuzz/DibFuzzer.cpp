// The BMP and DIB decoder on any bytes: a clear EInvalidGraphic or a bitmap, and a bitmap it
// decodes survives its own encoding unchanged.

#include "framework/graphics/Bitmap.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TBitmap Decoded;
    try {
        Decoded.LoadFromBytes(std::span(Data, Size));
    } catch (const EInvalidGraphic&) {
        FuzzCheck(Decoded.GetWidth() == 0 && Decoded.GetHeight() == 0,
                  "a failed decode changed the bitmap");
        return 0;
    }
    if (Decoded.GetWidth() == 0 || Decoded.GetHeight() == 0)
        return 0;
    TBitmap Again;
    Again.LoadFromBytes(Decoded.SaveToBytes());
    FuzzCheck(Again.GetWidth() == Decoded.GetWidth() && Again.GetHeight() == Decoded.GetHeight(),
              "the encoded bitmap has another size");
    for (int Y = 0; Y < Decoded.GetHeight(); ++Y)
        for (int X = 0; X < Decoded.GetWidth(); ++X)
            FuzzCheck(Again.GetPixel(X, Y) == Decoded.GetPixel(X, Y),
                      "pixel " + std::to_string(X) + "," + std::to_string(Y) + " changed");
    return 0;
}
