#include "tools/common/PngWriter.h"

#include <fstream>
#include <stdexcept>
#include <zlib.h>

namespace {

void PutBigEndian(std::vector<std::uint8_t>& Out, std::uint32_t V)
{
    Out.push_back(std::uint8_t(V >> 24));
    Out.push_back(std::uint8_t(V >> 16));
    Out.push_back(std::uint8_t(V >> 8));
    Out.push_back(std::uint8_t(V));
}

void PutChunk(std::vector<std::uint8_t>& Out, const char* Type,
              const std::vector<std::uint8_t>& Data)
{
    PutBigEndian(Out, std::uint32_t(Data.size()));
    const std::size_t Start = Out.size();
    Out.insert(Out.end(), Type, Type + 4);
    Out.insert(Out.end(), Data.begin(), Data.end());
    // The checksum covers the chunk type and data, not the length.
    const uLong Crc = crc32(0L, Out.data() + Start, uInt(Out.size() - Start));
    PutBigEndian(Out, std::uint32_t(Crc));
}

std::vector<std::uint8_t> EncodePng(int Width, int Height, std::span<const std::uint32_t> Pixels,
                                    bool Alpha)
{
    if (Width <= 0 || Height <= 0 || Pixels.size() < std::size_t(Width) * std::size_t(Height))
        throw std::invalid_argument("PNG: the pixels do not fill the picture");

    // Each row: filter type 0 (none), then red, green, blue (and alpha) per pixel.
    std::vector<std::uint8_t> Raw;
    Raw.reserve(std::size_t(Height) * (std::size_t(Width) * (Alpha ? 4 : 3) + 1));
    for (int Y = 0; Y < Height; ++Y) {
        Raw.push_back(0);
        for (int X = 0; X < Width; ++X) {
            const std::uint32_t P = Pixels[std::size_t(Y) * std::size_t(Width) + std::size_t(X)];
            Raw.push_back(std::uint8_t(P >> 16));
            Raw.push_back(std::uint8_t(P >> 8));
            Raw.push_back(std::uint8_t(P));
            if (Alpha)
                Raw.push_back(std::uint8_t(P >> 24));
        }
    }
    uLongf PackedSize = compressBound(uLong(Raw.size()));
    std::vector<std::uint8_t> Packed(PackedSize);
    if (compress2(Packed.data(), &PackedSize, Raw.data(), uLong(Raw.size()), 9) != Z_OK)
        throw std::runtime_error("PNG: compression failed");
    Packed.resize(PackedSize);

    std::vector<std::uint8_t> Out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> Header;
    PutBigEndian(Header, std::uint32_t(Width));
    PutBigEndian(Header, std::uint32_t(Height));
    // 8 bits, RGB (6: with alpha), deflate, no filter choice, no interlace.
    Header.insert(Header.end(), {8, std::uint8_t(Alpha ? 6 : 2), 0, 0, 0});
    PutChunk(Out, "IHDR", Header);
    PutChunk(Out, "IDAT", Packed);
    PutChunk(Out, "IEND", {});
    return Out;
}

} // namespace

std::vector<std::uint8_t> TPngWriter::Encode(int Width, int Height,
                                             std::span<const std::uint32_t> Pixels)
{
    return EncodePng(Width, Height, Pixels, false);
}

std::vector<std::uint8_t> TPngWriter::EncodeWithAlpha(int Width, int Height,
                                                      std::span<const std::uint32_t> Pixels)
{
    return EncodePng(Width, Height, Pixels, true);
}

void TPngWriter::SaveToFile(const std::string& Path, int Width, int Height,
                            std::span<const std::uint32_t> Pixels)
{
    const std::vector<std::uint8_t> Data = Encode(Width, Height, Pixels);
    std::ofstream File(Path, std::ios::binary);
    File.write(reinterpret_cast<const char*>(Data.data()), std::streamsize(Data.size()));
    if (!File)
        throw std::runtime_error("PNG: cannot write " + Path);
}
