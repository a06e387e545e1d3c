#include "tools/artgen/IconArt.h"

#include "tools/artgen/ArtLayer.h"
#include "tools/artgen/NixieDigitArt.h"
#include "tools/artgen/NixieFaceArt.h"
#include "tools/artgen/NixieTubeProfile.h"
#include "tools/artgen/Silhouette.h"
#include "tools/common/PngWriter.h"

#include <algorithm>
#include <cmath>

namespace {

// The two tubes show the digits 1 and 2, as the clock's first tubes do at noon.
constexpr int TubeDigits[2] = {1, 2};

// The two tubes cut from the face, with their digits lit as the clock lights them, and their
// outline.
struct TTubePair
{
    TBitmap Picture;
    TSilhouette Outline;
    int Left;
    int Top;
    int Width;
    int Height;
};

TTubePair PaintTubePair()
{
    const TBitmap Face = PaintNixieFace(true);
    const int W = Face.GetWidth();
    const int H = Face.GetHeight();
    const std::span<const int> Columns = NixieTubeColumns(true);
    const TTubeProfile& Profile = NixieTubeProfile(true);
    TTubePair Pair{Face, TSilhouette(W, H), Columns[0], 0, 0, 0};
    for (int Tube = 0; Tube < 2; ++Tube)
        Pair.Outline.AddShifted(NixieTubeSilhouette(true, Columns[std::size_t(Tube)], W, H), 0, 0);
    Pair.Top = Pair.Outline.GetFirstRow();
    Pair.Width = Columns[1] + Profile.GlassWidth - Pair.Left;
    Pair.Height = Pair.Outline.GetLastRow() + 1 - Pair.Top;
    const TDigitLayout& Layout = NixieDigitLayout(true);
    for (int Tube = 0; Tube < 2; ++Tube) {
        const TBitmap Digit = PaintNixieDigit(TubeDigits[Tube]).ToBitmap();
        for (int Y = 0; Y < Digit.GetHeight(); ++Y)
            for (int X = 0; X < Digit.GetWidth(); ++X)
                Pair.Picture.GetScanLine(Layout.Top + Y)[Layout.Columns[Tube] + X] =
                    Digit.GetScanLine(Y)[X];
    }
    return Pair;
}

// How much of the interval [A0, A1) the pixel [P, P + 1) covers.
double Overlap(double A0, double A1, int P)
{
    return std::max(0.0, std::min(A1, P + 1.0) - std::max(A0, double(P)));
}

} // namespace

TIconImage PaintIcon(int Size)
{
    static const TTubePair Pair = PaintTubePair();
    // The pair fills the height and stands in the middle; each icon pixel averages the face pixels
    // it covers, the colour weighted by how much of it lies inside the tubes.
    const double Scale = double(Size) / std::max(Pair.Width, Pair.Height);
    const double OffsetX = (Size - Pair.Width * Scale) / 2;
    const double OffsetY = (Size - Pair.Height * Scale) / 2;
    TIconImage Icon{Size, std::vector<std::uint32_t>(std::size_t(Size) * std::size_t(Size))};
    for (int Y = 0; Y < Size; ++Y) {
        const double SY0 = Pair.Top + (Y - OffsetY) / Scale;
        const double SY1 = Pair.Top + (Y + 1 - OffsetY) / Scale;
        for (int X = 0; X < Size; ++X) {
            const double SX0 = Pair.Left + (X - OffsetX) / Scale;
            const double SX1 = Pair.Left + (X + 1 - OffsetX) / Scale;
            TArtColor Sum;
            double Covered = 0;
            for (int FY = int(std::floor(SY0)); FY < SY1; ++FY) {
                const double WY = Overlap(SY0, SY1, FY);
                for (int FX = int(std::floor(SX0)); FX < SX1; ++FX) {
                    if (FY < 0 || FY >= Pair.Picture.GetHeight() || !Pair.Outline.Contains(FX, FY))
                        continue;
                    const double Weight = WY * Overlap(SX0, SX1, FX);
                    const TPixel P = Pair.Picture.GetScanLine(FY)[FX];
                    Sum.R += Weight * double(P >> 16 & 0xFF);
                    Sum.G += Weight * double(P >> 8 & 0xFF);
                    Sum.B += Weight * double(P & 0xFF);
                    Covered += Weight;
                }
            }
            if (Covered <= 0)
                continue;
            const std::uint32_t Alpha =
                std::uint32_t(QuantiseChannel(255 * Covered / ((SX1 - SX0) * (SY1 - SY0))));
            if (Alpha == 0)
                continue;
            Icon.Pixels[std::size_t(Y) * std::size_t(Size) + std::size_t(X)] =
                Alpha << 24 | std::uint32_t(QuantiseChannel(Sum.R / Covered)) << 16 |
                std::uint32_t(QuantiseChannel(Sum.G / Covered)) << 8 |
                std::uint32_t(QuantiseChannel(Sum.B / Covered));
        }
    }
    return Icon;
}

namespace {

void PutLittleEndian(std::vector<std::uint8_t>& Out, std::uint32_t V, int Bytes)
{
    for (int I = 0; I < Bytes; ++I)
        Out.push_back(std::uint8_t(V >> (8 * I)));
}

} // namespace

std::vector<std::uint8_t> EncodeIconFile()
{
    // The directory, then each image as a device-independent bitmap of twice its height: the
    // colour rows bottom up in blue, green, red, alpha, then the mask rows (a set bit is
    // transparent), each mask row padded to four bytes.
    std::vector<std::vector<std::uint8_t>> Images;
    for (int Size : IconSizes) {
        const TIconImage Icon = PaintIcon(Size);
        const int MaskRow = (Size + 31) / 32 * 4;
        std::vector<std::uint8_t> Image;
        for (std::uint32_t V : {40u, std::uint32_t(Size), std::uint32_t(2 * Size)})
            PutLittleEndian(Image, V, 4);
        PutLittleEndian(Image, 1, 2);  // planes
        PutLittleEndian(Image, 32, 2); // bits a pixel
        PutLittleEndian(Image, 0, 4);  // no compression
        PutLittleEndian(Image, std::uint32_t(Size * Size * 4 + MaskRow * Size), 4);
        for (int I = 0; I < 4; ++I)
            PutLittleEndian(Image, 0, 4); // resolution and palette: none
        for (int Y = Size - 1; Y >= 0; --Y)
            for (int X = 0; X < Size; ++X)
                PutLittleEndian(Image, Icon.Pixels[std::size_t(Y * Size + X)], 4);
        for (int Y = Size - 1; Y >= 0; --Y) {
            std::vector<std::uint8_t> Row(std::size_t(MaskRow), 0);
            for (int X = 0; X < Size; ++X)
                if (Icon.Pixels[std::size_t(Y * Size + X)] >> 24 == 0)
                    Row[std::size_t(X / 8)] |= std::uint8_t(0x80 >> (X % 8));
            Image.insert(Image.end(), Row.begin(), Row.end());
        }
        Images.push_back(std::move(Image));
    }
    std::vector<std::uint8_t> Out;
    PutLittleEndian(Out, 0, 2);
    PutLittleEndian(Out, 1, 2); // an icon, not a cursor
    PutLittleEndian(Out, std::uint32_t(Images.size()), 2);
    std::uint32_t Offset = std::uint32_t(6 + 16 * Images.size());
    for (std::size_t I = 0; I < Images.size(); ++I) {
        const int Size = IconSizes[I];
        Out.push_back(std::uint8_t(Size)); // below 256, so the byte holds it
        Out.push_back(std::uint8_t(Size));
        Out.push_back(0); // no palette
        Out.push_back(0);
        PutLittleEndian(Out, 1, 2);
        PutLittleEndian(Out, 32, 2);
        PutLittleEndian(Out, std::uint32_t(Images[I].size()), 4);
        PutLittleEndian(Out, Offset, 4);
        Offset += std::uint32_t(Images[I].size());
    }
    for (const std::vector<std::uint8_t>& Image : Images)
        Out.insert(Out.end(), Image.begin(), Image.end());
    return Out;
}

std::vector<std::uint8_t> EncodeIconPng(int Size)
{
    const TIconImage Icon = PaintIcon(Size);
    return TPngWriter::EncodeWithAlpha(Size, Size, Icon.Pixels);
}
