#include "tools/artgen/ArtLayer.h"

#include "tools/artgen/Silhouette.h"

#include <algorithm>

TArtColor MixColor(const TArtColor& A, const TArtColor& B, double T)
{
    return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T};
}

TArtColor ScaleColor(const TArtColor& C, double Factor)
{
    return {C.R * Factor, C.G * Factor, C.B * Factor};
}

int QuantiseChannel(double V)
{
    if (!(V > 0))
        return 0;
    if (V >= 255)
        return 255;
    return int(V + 0.5);
}

TArtLayer::TArtLayer(int Width, int Height, const TArtColor& Fill)
    : FWidth(Width), FHeight(Height), FPixels(std::size_t(Width) * std::size_t(Height), Fill)
{}

TArtColor TArtLayer::Get(int X, int Y) const
{
    if (!Inside(X, Y))
        return {};
    return FPixels[std::size_t(Y) * std::size_t(FWidth) + std::size_t(X)];
}

void TArtLayer::Set(int X, int Y, const TArtColor& C)
{
    if (Inside(X, Y))
        FPixels[std::size_t(Y) * std::size_t(FWidth) + std::size_t(X)] = C;
}

void TArtLayer::Blend(int X, int Y, const TArtColor& C, double Alpha)
{
    if (!Inside(X, Y) || !(Alpha > 0))
        return;
    TArtColor& P = FPixels[std::size_t(Y) * std::size_t(FWidth) + std::size_t(X)];
    P = MixColor(P, C, std::min(Alpha, 1.0));
}

void TArtLayer::AddLight(int X, int Y, const TArtColor& C, double Amount)
{
    if (!Inside(X, Y))
        return;
    TArtColor& P = FPixels[std::size_t(Y) * std::size_t(FWidth) + std::size_t(X)];
    P.R += C.R * Amount;
    P.G += C.G * Amount;
    P.B += C.B * Amount;
}

void TArtLayer::Darken(int X, int Y, double Amount)
{
    if (!Inside(X, Y))
        return;
    TArtColor& P = FPixels[std::size_t(Y) * std::size_t(FWidth) + std::size_t(X)];
    P = ScaleColor(P, 1.0 - std::clamp(Amount, 0.0, 1.0));
}

void TArtLayer::FillRect(int X0, int Y0, int X1, int Y1, const TArtColor& C)
{
    for (int Y = std::max(Y0, 0); Y < std::min(Y1, FHeight); ++Y)
        for (int X = std::max(X0, 0); X < std::min(X1, FWidth); ++X)
            FPixels[std::size_t(Y) * std::size_t(FWidth) + std::size_t(X)] = C;
}

void TArtLayer::Paste(const TArtLayer& Source, int X, int Y)
{
    for (int SY = 0; SY < Source.FHeight; ++SY)
        for (int SX = 0; SX < Source.FWidth; ++SX)
            Set(X + SX, Y + SY, Source.Get(SX, SY));
}

TBitmap TArtLayer::ToBitmap(const TSilhouette* Mask, int MinSum) const
{
    TBitmap Result(FWidth, FHeight, TPixelFormat::pf24bit);
    for (int Y = 0; Y < FHeight; ++Y) {
        TPixel* Row = Result.GetScanLine(Y);
        for (int X = 0; X < FWidth; ++X) {
            if (Mask && !Mask->Contains(X, Y)) {
                Row[X] = 0;
                continue;
            }
            const TArtColor& C = FPixels[std::size_t(Y) * std::size_t(FWidth) + std::size_t(X)];
            int R = QuantiseChannel(C.R);
            int G = QuantiseChannel(C.G);
            int B = QuantiseChannel(C.B);
            if (Mask) {
                // Lift a too dark pixel evenly, so shading keeps its hue and never cuts a hole.
                const int Deficit = MinSum - (R + G + B);
                if (Deficit > 0) {
                    const int Step = (Deficit + 2) / 3;
                    R += Step;
                    G += Step;
                    B += Step;
                }
            }
            Row[X] = (TPixel(R) << 16) | (TPixel(G) << 8) | TPixel(B);
        }
    }
    return Result;
}
