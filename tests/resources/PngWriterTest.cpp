#include "tools/common/PngWriter.h"

#include <gtest/gtest.h>
#include <random>
#include <zlib.h>

namespace {

std::uint32_t Be32(const std::vector<std::uint8_t>& B, std::size_t At)
{
    return std::uint32_t(B[At]) << 24 | std::uint32_t(B[At + 1]) << 16 |
           std::uint32_t(B[At + 2]) << 8 | std::uint32_t(B[At + 3]);
}

// The PNG checksum, bit by bit as the format defines it.
std::uint32_t Crc(const std::uint8_t* Data, std::size_t Size)
{
    std::uint32_t C = 0xFFFFFFFFu;
    for (std::size_t I = 0; I < Size; ++I) {
        C ^= Data[I];
        for (int K = 0; K < 8; ++K)
            C = (C & 1) ? (C >> 1) ^ 0xEDB88320u : C >> 1;
    }
    return C ^ 0xFFFFFFFFu;
}

TEST(PngWriter, WritesCheckedChunksWhoseImageInflatesToThePixels)
{
    std::mt19937 Rng(77);
    for (int Case = 0; Case < 20; ++Case) {
        const int W = 1 + int(Rng() % 50);
        const int H = 1 + int(Rng() % 20);
        std::vector<std::uint32_t> Pixels(std::size_t(W * H));
        for (std::uint32_t& P : Pixels)
            P = Rng() & 0xFFFFFF;
        const std::vector<std::uint8_t> Png = TPngWriter::Encode(W, H, Pixels);
        const std::uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        ASSERT_GT(Png.size(), 8u);
        ASSERT_TRUE(std::equal(Signature, Signature + 8, Png.begin()));

        std::vector<std::string> Types;
        std::vector<std::uint8_t> Image;
        std::size_t At = 8;
        while (At + 12 <= Png.size()) {
            const std::uint32_t Length = Be32(Png, At);
            ASSERT_LE(At + 12 + Length, Png.size());
            Types.emplace_back(Png.begin() + long(At) + 4, Png.begin() + long(At) + 8);
            EXPECT_EQ(Be32(Png, At + 8 + Length), Crc(Png.data() + At + 4, Length + 4))
                << Types.back();
            if (Types.back() == "IHDR") {
                EXPECT_EQ(Be32(Png, At + 8), std::uint32_t(W));
                EXPECT_EQ(Be32(Png, At + 12), std::uint32_t(H));
                EXPECT_EQ(Png[At + 16], 8);
                EXPECT_EQ(Png[At + 17], 2);
            }
            if (Types.back() == "IDAT")
                Image.insert(Image.end(), Png.begin() + long(At) + 8,
                             Png.begin() + long(At) + 8 + long(Length));
            At += 12 + Length;
        }
        EXPECT_EQ(At, Png.size());
        ASSERT_EQ(Types.front(), "IHDR");
        ASSERT_EQ(Types.back(), "IEND");

        std::vector<std::uint8_t> Raw(std::size_t(H) * (std::size_t(W) * 3 + 1));
        uLongf RawSize = uLongf(Raw.size());
        ASSERT_EQ(uncompress(Raw.data(), &RawSize, Image.data(), uLong(Image.size())), Z_OK);
        ASSERT_EQ(RawSize, Raw.size());
        for (int Y = 0; Y < H; ++Y) {
            const std::uint8_t* Row = Raw.data() + std::size_t(Y) * (std::size_t(W) * 3 + 1);
            EXPECT_EQ(Row[0], 0);
            for (int X = 0; X < W; ++X) {
                const std::uint32_t P = Pixels[std::size_t(Y * W + X)];
                ASSERT_EQ(Row[1 + X * 3], std::uint8_t(P >> 16));
                ASSERT_EQ(Row[2 + X * 3], std::uint8_t(P >> 8));
                ASSERT_EQ(Row[3 + X * 3], std::uint8_t(P));
            }
        }
    }
}

TEST(PngWriter, RefusesPixelsThatDoNotFillThePicture)
{
    std::vector<std::uint32_t> Pixels(5);
    EXPECT_THROW(TPngWriter::Encode(3, 2, Pixels), std::invalid_argument);
    EXPECT_THROW(TPngWriter::Encode(0, 2, Pixels), std::invalid_argument);
}

} // namespace
