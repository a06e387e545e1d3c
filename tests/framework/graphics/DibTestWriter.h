#pragma once

// A DIB written the long way, field by field, independently of the codec under test: the oracle
// that decoding is checked against, and the base that hostile-input cases corrupt.

#include "base/Color.h"

#include <cstdint>
#include <vector>

namespace DibTest {

using TBytes = std::vector<std::uint8_t>;

inline void Put(TBytes& Out, std::uint32_t Value, int Bytes = 4)
{
    for (int I = 0; I < Bytes; ++I)
        Out.push_back(std::uint8_t(Value >> (8 * I)));
}

inline std::uint32_t Get32(const TBytes& In, std::size_t At)
{
    return In[At] | (In[At + 1] << 8) | (In[At + 2] << 16) | (std::uint32_t(In[At + 3]) << 24);
}

// Values holds, per pixel and top row first, a colour-table index (1 to 8 bits) or a 0xRRGGBB
// value (24 and 32 bits; the unused byte of a 32-bit pixel gets Alpha).
struct TDibWriter
{
    int Width = 1, Height = 1;
    unsigned Bits = 24;
    bool TopDown = false, FileHeader = true, BitFields = false;
    std::uint32_t HeaderSize = 40;
    std::uint8_t Alpha = 0;
    std::vector<std::uint32_t> Palette, Values;

    TBytes Build() const
    {
        TBytes Info;
        Put(Info, HeaderSize);
        Put(Info, std::uint32_t(Width));
        Put(Info, std::uint32_t(TopDown ? -Height : Height));
        Put(Info, 1, 2);
        Put(Info, Bits, 2);
        for (std::uint32_t V : {BitFields ? 3u : 0u, 0u, 2835u, 2835u, 0u, 0u})
            Put(Info, V);
        Info[32] = std::uint8_t(Palette.size()); // colours used: 0 (all) or fewer than 256
        // The masks end a 40-byte header (three of them) or sit inside a larger one (four).
        for (std::uint32_t Mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
            Put(Info, Mask);
        Info.resize(HeaderSize + (BitFields && HeaderSize == 40 ? 12 : 0), 0xEE);
        for (std::uint32_t C : Palette)
            Put(Info, C);

        const std::size_t Stride = (std::size_t(Width) * Bits + 31) / 32 * 4;
        TBytes Pixels(Stride * std::size_t(Height), 0);
        for (int Y = 0; Y < Height; ++Y) {
            std::uint8_t* Row = &Pixels[Stride * std::size_t(TopDown ? Y : Height - 1 - Y)];
            for (int X = 0; X < Width; ++X) {
                const std::uint32_t V = Values[std::size_t(Y * Width + X)];
                if (Bits < 24) {
                    const unsigned Bit = unsigned(X) * Bits;
                    Row[Bit / 8] |= std::uint8_t(V << (8 - Bits - Bit % 8));
                    continue;
                }
                std::uint8_t* P = Row + std::size_t(X) * (Bits / 8);
                P[0] = std::uint8_t(V), P[1] = std::uint8_t(V >> 8), P[2] = std::uint8_t(V >> 16);
                if (Bits == 32)
                    P[3] = Alpha;
            }
        }

        TBytes Out;
        if (FileHeader) {
            Out = {'B', 'M'};
            Put(Out, std::uint32_t(14 + Info.size() + Pixels.size()));
            Put(Out, 0);
            Put(Out, std::uint32_t(14 + Info.size()));
        }
        Out.insert(Out.end(), Info.begin(), Info.end());
        Out.insert(Out.end(), Pixels.begin(), Pixels.end());
        return Out;
    }

    // What a correct decoder gives for (X, Y): an index past a short table reads black.
    TPixel Expected(int X, int Y) const
    {
        const std::uint32_t V = Values[std::size_t(Y * Width + X)];
        if (Bits >= 24)
            return V & 0xFFFFFF;
        return V < Palette.size() ? Palette[V] & 0xFFFFFF : 0;
    }
};

} // namespace DibTest
