#include "shaped/RegionFromBitmap.h"

#include "framework/graphics/RegionBuilder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Each row is turned into words of 64 "opaque" bits first and the runs are then read off the
// words with bit scans, so that a row costs one pass over its pixels plus a step per run, and
// uniform stretches (most of a face) cost a word test per 64 pixels. A bitmap holds its pixels as
// 0x00RRGGBB with the unused byte clear, so whole pixels are compared with the key.

namespace {

constexpr TPixel RgbBits = 0x00FFFFFFu;
constexpr int WordBits = 64;

// The surface pixel (0x00RRGGBB) of an RGB colour (0x00BBGGRR).
constexpr TPixel KeyPixel(TColor Color)
{
    return ((Color & 0xFFu) << 16) | (Color & 0xFF00u) | ((Color >> 16) & 0xFFu);
}

int WordCount(int Width)
{
    return (Width + WordBits - 1) / WordBits;
}

// The first pixel at or after X whose bit is set (Invert 0) or clear (Invert ~0), or Words * 64
// when there is none. With MsbFirst the leftmost pixel of a word is its most significant bit,
// otherwise its least significant one.
template <bool MsbFirst>
int NextBit(const std::uint64_t* Row, int Words, int X, std::uint64_t Invert)
{
    int W = X / WordBits;
    const int Shift = X % WordBits;
    std::uint64_t Bits = (Row[W] ^ Invert) & (MsbFirst ? ~0ull >> Shift : ~0ull << Shift);
    while (Bits == 0) {
        if (++W == Words)
            return Words * WordBits;
        Bits = Row[W] ^ Invert;
    }
    return W * WordBits + (MsbFirst ? std::countl_zero(Bits) : std::countr_zero(Bits));
}

// Feeds the runs of set bits of row Y to the builder; bits at and past Width are clear.
template <bool MsbFirst>
void AddRowRuns(const std::uint64_t* Row, int Words, int Width, int Y, TRegionBuilder& Builder)
{
    int X = 0;
    while (X < Width) {
        const int Start = NextBit<MsbFirst>(Row, Words, X, 0);
        if (Start >= Width)
            return;
        X = std::min(Width, NextBit<MsbFirst>(Row, Words, Start, ~0ull));
        Builder.AddRun(Y, Start, X);
    }
}

// Eight flag bytes (0 or 1) as one word, the first in the low byte.
std::uint64_t LoadFlags(const std::uint8_t* Flags)
{
    std::uint64_t Word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&Word, Flags, sizeof Word);
    } else {
        for (int I = 0; I < 8; ++I)
            Word |= std::uint64_t(Flags[I]) << (8 * I);
    }
    return Word;
}

// Bit I set when pixel I of the 64 at Pixels is opaque. Counting the transparent ones is a loop
// the compiler turns into vector compares, and it settles the uniform words (most of them). A
// mixed word takes a flag byte a pixel (vector compares again), and eight flags at a time are
// gathered into a byte by one multiplication: flag I of the eight lands in bit I of the top byte.
std::uint64_t OpaqueBits(const TPixel* Pixels, TPixel Key)
{
    int Transparent = 0;
    for (int I = 0; I < WordBits; ++I)
        Transparent += Pixels[I] == Key;
    if (Transparent == WordBits)
        return 0;
    if (Transparent == 0)
        return ~0ull;
    std::uint8_t Opaque[WordBits];
    for (int I = 0; I < WordBits; ++I)
        Opaque[I] = Pixels[I] != Key;
    std::uint64_t Bits = 0;
    for (int Group = 0; Group < WordBits / 8; ++Group)
        Bits |= ((LoadFlags(Opaque + Group * 8) * 0x0102040810204080ull) >> 56) << (8 * Group);
    return Bits;
}

// 24 bits a pixel: each pixel value compared with the key as it is.
void ScanPixels(const TBitmap& Bitmap, TPixel Key, TRegionBuilder& Builder)
{
    const int Width = Bitmap.GetWidth();
    const int Words = WordCount(Width);
    const int FullWords = Width / WordBits;
    std::vector<std::uint64_t> Row(std::size_t(Words), 0);
    std::array<TPixel, WordBits> Tail;
    Tail.fill(Key);
    for (int Y = 0; Y < Bitmap.GetHeight(); ++Y) {
        const TPixel* Pixels = Bitmap.GetScanLine(Y);
        for (int W = 0; W < FullWords; ++W)
            Row[std::size_t(W)] = OpaqueBits(Pixels + std::size_t(W) * WordBits, Key);
        if (FullWords < Words) {
            const int Rest = Width - FullWords * WordBits;
            if (FullWords > 0) {
                // The last 64 pixels of the row, of which the word keeps the last Rest.
                Row[std::size_t(FullWords)] =
                    OpaqueBits(Pixels + Width - WordBits, Key) >> (WordBits - Rest);
            } else {
                // A row narrower than a word, padded with the key.
                std::copy(Pixels, Pixels + Width, Tail.begin());
                Row[0] = OpaqueBits(Tail.data(), Key);
            }
        }
        AddRowRuns<false>(Row.data(), Words, Width, Y, Builder);
    }
}

// The two-colour mask of a bitmap as a monochrome bitmap lays it out: each row a bit string of
// whole 16-bit units, the leftmost pixel in the most significant bit of its byte; a bit is 1
// where the pixel has the transparent colour (and in the padding).
struct TMask
{
    int Width = 0;
    int Height = 0;
    std::size_t RowBytes = 0;
    std::vector<std::uint8_t> Bits;
};

TMask MakeMask(const TBitmap& Bitmap, TPixel Key)
{
    TMask Mask;
    Mask.Width = Bitmap.GetWidth();
    Mask.Height = Bitmap.GetHeight();
    Mask.RowBytes = (std::size_t(Mask.Width) + 15) / 16 * 2;
    Mask.Bits.assign(Mask.RowBytes * std::size_t(Mask.Height), 0xFF);
    for (int Y = 0; Y < Mask.Height; ++Y) {
        const TPixel* Pixels = Bitmap.GetScanLine(Y);
        std::uint8_t* Out = Mask.Bits.data() + Mask.RowBytes * std::size_t(Y);
        for (int X = 0; X < Mask.Width; X += 8) {
            std::uint8_t Byte = 0xFF; // the padding after the last pixel stays transparent
            for (int I = 0; I < 8 && X + I < Mask.Width; ++I)
                if (Pixels[X + I] != Key)
                    Byte = std::uint8_t(Byte & ~(0x80u >> I));
            Out[X / 8] = Byte;
        }
    }
    return Mask;
}

// Any other format: the runs of 0 bits of the mask, read eight bytes at a time.
void ScanMask(const TMask& Mask, TRegionBuilder& Builder)
{
    const int Words = WordCount(Mask.Width);
    std::vector<std::uint64_t> Row(std::size_t(Words), 0);
    for (int Y = 0; Y < Mask.Height; ++Y) {
        const std::uint8_t* In = Mask.Bits.data() + Mask.RowBytes * std::size_t(Y);
        for (int W = 0; W < Words; ++W) {
            std::uint64_t Transparent = 0;
            for (std::size_t B = 0; B < 8; ++B) {
                const std::size_t At = std::size_t(W) * 8 + B;
                Transparent = Transparent << 8 | (At < Mask.RowBytes ? In[At] : 0xFFu);
            }
            Row[std::size_t(W)] = ~Transparent;
        }
        AddRowRuns<true>(Row.data(), Words, Mask.Width, Y, Builder);
    }
}

} // namespace

std::optional<TRegion> CreateRegionFromBitmap(const TBitmap* Bitmap, TColor TransparentColor)
{
    if (!Bitmap || Bitmap->GetWidth() <= 0 || Bitmap->GetHeight() <= 0)
        return std::nullopt;
    if (TransparentColor > RgbBits)
        return TRegion(TRect(0, 0, Bitmap->GetWidth(), Bitmap->GetHeight()));
    const TPixel Key = KeyPixel(TransparentColor);
    TRegionBuilder Builder;
    if (Bitmap->GetPixelFormat() == TPixelFormat::pf24bit)
        ScanPixels(*Bitmap, Key, Builder);
    else
        ScanMask(MakeMask(*Bitmap, Key), Builder);
    TRegion Region = Builder.Finish();
    if (Region.IsEmpty())
        return std::nullopt;
    return Region;
}
