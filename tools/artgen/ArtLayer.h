#pragma once

#include "framework/graphics/Bitmap.h"

#include <vector>

class TSilhouette;

// A colour with channels on the 0..255 scale, unclamped while painting.
struct TArtColor
{
    double R = 0;
    double G = 0;
    double B = 0;
};

constexpr TArtColor ArtRgb(double R, double G, double B)
{
    return {R, G, B};
}

// Linear mix: T = 0 gives A, T = 1 gives B.
TArtColor MixColor(const TArtColor& A, const TArtColor& B, double T);
TArtColor ScaleColor(const TArtColor& C, double Factor);

// A painting surface with fractional channels, so that layered glows and gradients round only
// once, when the picture is quantised. Only +, -, *, / and sqrt touch these values, which keeps
// the output the same on every build of the generator.
class TArtLayer
{
public:
    TArtLayer(int Width, int Height, const TArtColor& Fill = {});

    int GetWidth() const { return FWidth; }
    int GetHeight() const { return FHeight; }
    bool Inside(int X, int Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }

    // Reads outside the layer give black; writes outside are dropped.
    TArtColor Get(int X, int Y) const;
    void Set(int X, int Y, const TArtColor& C);
    // Covers the pixel with C at the given opacity (0..1).
    void Blend(int X, int Y, const TArtColor& C, double Alpha);
    // Adds light: channels grow by C * Amount.
    void AddLight(int X, int Y, const TArtColor& C, double Amount);
    // Darkens by a factor (0 keeps the pixel, 1 makes it black).
    void Darken(int X, int Y, double Amount);
    void FillRect(int X0, int Y0, int X1, int Y1, const TArtColor& C);

    // Copies Source with its top-left corner at (X, Y).
    void Paste(const TArtLayer& Source, int X, int Y);

    // The quantised picture as a 24-bit bitmap. With a mask, pixels outside it are black and
    // pixels inside never are: each inside pixel keeps at least MinSum as the sum of its channels,
    // so the picture's outline is exactly the mask.
    TBitmap ToBitmap(const TSilhouette* Mask = nullptr, int MinSum = 3) const;

private:
    int FWidth;
    int FHeight;
    std::vector<TArtColor> FPixels;
};

// The byte a channel value becomes: rounded to nearest and clamped to 0..255.
int QuantiseChannel(double V);
