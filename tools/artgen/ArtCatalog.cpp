#include "tools/artgen/ArtCatalog.h"

#include "tools/artgen/IconArt.h"
#include "tools/artgen/LedArt.h"
#include "tools/artgen/NixieDigitArt.h"
#include "tools/artgen/NixieFaceArt.h"
#include "tools/artgen/VfdDigitArt.h"
#include "tools/artgen/VfdFaceArt.h"

#include <array>

namespace {

TBitmap NixieSmall()
{
    return PaintNixieFace(false);
}
TBitmap NixieLarge()
{
    return PaintNixieFace(true);
}
TBitmap VfdLarge()
{
    return PaintVfdFace(true);
}
TBitmap VfdSmall()
{
    return PaintVfdFace(false);
}
TBitmap NixieDigits()
{
    return PaintNixieStrip(StripCellsPerRow);
}
TBitmap VfdBlue()
{
    return PaintVfdStrip({0, 90, 255}, StripCellsPerRow);
}
TBitmap VfdCyan()
{
    return PaintVfdStrip({0, 255, 255}, StripCellsPerRow);
}
TBitmap VfdRed()
{
    return PaintVfdStrip({255, 0, 0}, StripCellsPerRow);
}

template <int Color, bool On>
TBitmap Led()
{
    return PaintLed(LedHue(Color), On);
}

constexpr std::array<TArtResource, 16> Resources{{
    {72, "bitmap", "FaceNixieSmall", "bitmaps/face-nixie-small.bmp", "", NixieSmall},
    {71, "bitmap", "FaceNixieLarge", "bitmaps/face-nixie-large.bmp", "", NixieLarge},
    {70, "bitmap", "FaceVfdLarge", "bitmaps/face-vfd-large.bmp", "", VfdLarge},
    {69, "bitmap", "FaceVfdSmall", "bitmaps/face-vfd-small.bmp", "", VfdSmall},
    {0, "strip", "ImageListNixie", "bitmaps/digits-nixie.bmp", "23 41 10 4", NixieDigits},
    {0, "strip", "ImageListVfd", "bitmaps/digits-vfd-blue.bmp", "25 40 16 4", VfdBlue},
    {0, "strip", "ImageListVfdG", "bitmaps/digits-vfd-cyan.bmp", "25 40 16 4", VfdCyan},
    {0, "strip", "ImageListVfdR", "bitmaps/digits-vfd-red.bmp", "25 40 16 4", VfdRed},
    {89, "bitmap", "LedRedOff", "bitmaps/led-red-off.bmp", "", Led<0, false>},
    {88, "bitmap", "LedRedOn", "bitmaps/led-red-on.bmp", "", Led<0, true>},
    {79, "bitmap", "LedGreenOff", "bitmaps/led-green-off.bmp", "", Led<1, false>},
    {80, "bitmap", "LedGreenOn", "bitmaps/led-green-on.bmp", "", Led<1, true>},
    {77, "bitmap", "LedBlueOff", "bitmaps/led-blue-off.bmp", "", Led<2, false>},
    {78, "bitmap", "LedBlueOn", "bitmaps/led-blue-on.bmp", "", Led<2, true>},
    {75, "bitmap", "LedAmberOff", "bitmaps/led-amber-off.bmp", "", Led<3, false>},
    {76, "bitmap", "LedAmberOn", "bitmaps/led-amber-on.bmp", "", Led<3, true>},
}};

template <int Size>
std::vector<std::uint8_t> IconPng()
{
    return EncodeIconPng(Size);
}

constexpr std::array<TArtFile, IconSizes.size() + 1> Files{{
    {"icons/nixie.ico", EncodeIconFile},
    {"icons/nixie-16.png", IconPng<16>},
    {"icons/nixie-24.png", IconPng<24>},
    {"icons/nixie-32.png", IconPng<32>},
    {"icons/nixie-48.png", IconPng<48>},
    {"icons/nixie-64.png", IconPng<64>},
}};

} // namespace

std::span<const TArtResource> ArtResources()
{
    return Resources;
}

std::span<const TArtFile> ArtFiles()
{
    return Files;
}

std::string ManifestLine(const TArtResource& R)
{
    std::string Line = std::to_string(R.Id) + " " + R.Kind + " " + R.Name + " " + R.File;
    if (R.Params[0] != '\0')
        Line += std::string(" ") + R.Params;
    return Line;
}
