#include "tools/artgen/LedArt.h"

#include "tools/artgen/ArtGeometry.h"

#include <array>
#include <cmath>

namespace {

constexpr double Centre = 9.0;
constexpr double BezelRadius = 8.7;
constexpr double LensRadius = 7.1;

double Coverage(int X, int Y, double Radius, double CX = Centre, double CY = Centre)
{
    return PixelCoverage(X, Y, [&](double PX, double PY) {
        return (PX - CX) * (PX - CX) + (PY - CY) * (PY - CY) < Radius * Radius;
    });
}

} // namespace

TArtColor LedHue(int LedColor)
{
    static constexpr std::array<TArtColor, 4> Hues{
        {{255, 36, 24}, {48, 240, 72}, {40, 120, 255}, {255, 176, 16}}};
    return Hues[std::size_t(LedColor & 3)];
}

TBitmap PaintLed(const TArtColor& Hue, bool On)
{
    TArtLayer Led(LedSize, LedSize, {13, 13, 15});
    for (int Y = 0; Y < LedSize; ++Y) {
        for (int X = 0; X < LedSize; ++X) {
            const double PX = X + 0.5 - Centre;
            const double PY = Y + 0.5 - Centre;
            const double R = std::sqrt(PX * PX + PY * PY) / LensRadius;
            // The bezel: dark metal, lit from the upper left.
            const double Light = 0.5 - (PX + PY) / (4 * BezelRadius);
            const TArtColor Bezel = MixColor({30, 30, 34}, {104, 104, 110}, Light);
            Led.Blend(X, Y, Bezel, Coverage(X, Y, BezelRadius));
            TArtColor Lens;
            if (On) {
                // A lit die shines white-hot in the middle of a saturated lens.
                const double Hot = std::fmax(0.0, 1.0 - R * 1.7);
                Lens = MixColor(Hue, {255, 250, 240}, 0.75 * Hot * Hot);
                Lens = MixColor(Lens, ScaleColor(Hue, 0.72), R * R * 0.6);
            } else {
                // Unlit: the tinted plastic, dark, deepest at its rim.
                Lens = MixColor(MixColor({22, 22, 24}, Hue, 0.2), {10, 10, 12}, R * R * 0.7);
            }
            Led.Blend(X, Y, Lens, Coverage(X, Y, LensRadius));
            // The lens's specular spot, upper left.
            const double Spot = Coverage(X, Y, 1.7, Centre - 2.6, Centre - 2.8);
            Led.Blend(X, Y, {255, 255, 255}, Spot * (On ? 0.7 : 0.42));
        }
    }
    return Led.ToBitmap();
}
