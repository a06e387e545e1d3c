#include "base/Exception.h"
#include "framework/graphics/Bitmap.h"
#include "tests/framework/graphics/DibTestWriter.h"
#include "tests/support/CaseName.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <span>
#include <string>
#include <utility>

namespace {

using namespace DibTest;

class DibDecode : public testing::TestWithParam<unsigned>
{};

// Random pictures in every header size, row order, colour-table length and mask layout.
TEST_P(DibDecode, MatchesAnIndependentWriterOnRandomPictures)
{
    const unsigned Bits = GetParam();
    const std::uint32_t HeaderSizes[] = {40, 108, 124};
    std::mt19937 Rng(20240 + Bits);
    for (int Case = 0; Case < 60; ++Case) {
        TDibWriter W;
        W.Bits = Bits;
        W.Width = 1 + int(Rng() % 37);
        W.Height = 1 + int(Rng() % 9);
        W.TopDown = Rng() % 2;
        W.FileHeader = Rng() % 3 != 0;
        W.HeaderSize = HeaderSizes[Rng() % 3];
        W.BitFields = Bits == 32 && Rng() % 2;
        W.Alpha = std::uint8_t(Rng());
        const std::uint32_t Range = Bits <= 8 ? 1u << Bits : 1u << 24;
        if (Bits <= 8)
            W.Palette.resize(Rng() % 2 ? Range : 1 + Rng() % Range);
        // Half the 1-bit pictures are black and white, the only ones that stay two-tone.
        const bool TwoTone = Bits == 1 && Rng() % 2;
        for (std::uint32_t& C : W.Palette)
            C = TwoTone ? (Rng() % 2 ? 0xFFFFFFu : 0u) : Rng() & 0xFFFFFF;
        for (int I = 0; I < W.Width * W.Height; ++I)
            W.Values.push_back(Rng() % Range);
        SCOPED_TRACE(testing::Message()
                     << "case " << Case << ": " << W.Width << " x " << W.Height
                     << (W.TopDown ? " top-down" : "") << ", header " << W.HeaderSize);
        const TBytes File = W.Build();
        TBitmap B;
        B.LoadFromBytes(File);
        // Loaded as a resource, the picture is decoded at first use, once for all its copies.
        TBitmap Resource;
        Resource.LoadFromResourceBytes(File);
        const TBitmap Copy = Resource;
        ASSERT_EQ(Resource.GetPixelFormat(), B.GetPixelFormat());
        ASSERT_EQ(Copy.GetScanLine(0), std::as_const(Resource).GetScanLine(0));
        ASSERT_TRUE(std::ranges::equal(Copy.GetPixels(), B.GetPixels()));
        ASSERT_EQ(B.GetWidth(), W.Width);
        ASSERT_EQ(B.GetHeight(), W.Height);
        EXPECT_EQ(B.GetPixelFormat(), Bits == 24 ? TPixelFormat::pf24bit
                                      : TwoTone  ? TPixelFormat::pf1bit
                                                 : TPixelFormat::pf32bit);
        // Saved in its own format and read again, the picture is the same.
        TBitmap Again;
        Again.LoadFromBytes(B.SaveToBytes());
        for (int Y = 0; Y < W.Height; ++Y)
            for (int X = 0; X < W.Width; ++X) {
                ASSERT_EQ(B.GetScanLine(Y)[X], W.Expected(X, Y)) << "at " << X << ", " << Y;
                ASSERT_EQ(Again.GetScanLine(Y)[X], W.Expected(X, Y))
                    << "again at " << X << ", " << Y;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(BitCounts, DibDecode, testing::Values(1u, 4u, 8u, 24u, 32u),
                         [](const testing::TestParamInfo<unsigned>& I) {
                             return "Bits" + std::to_string(I.param);
                         });

// A valid 5 x 3 picture. In a file the info header starts at 14: 10 pixel offset, 18 width,
// 22 height, 26 planes, 28 bits, 30 compression, 46 colours used, 54 the first colour mask.
TBytes Valid(unsigned Bits, bool FileHeader = true, bool BitFields = false)
{
    TDibWriter W;
    W.Width = 5, W.Height = 3, W.Bits = Bits, W.FileHeader = FileHeader, W.BitFields = BitFields;
    if (Bits <= 8)
        W.Palette.assign(std::size_t(1) << Bits, 0x808080);
    W.Values.assign(15, 1);
    return W.Build();
}

struct THostileCase
{
    const char* Name;
    TBytes Data;
    std::size_t At = 0; // where Value is written,
    unsigned Bytes = 0; // in this many bytes (8: width and height together)
    std::uint64_t Value = 0;
    long Length = 0;     // > 0: cut to this length; < 0: drop this many bytes from the end
    const char* Message; // a part of the message that names the fault
};

void PrintTo(const THostileCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

std::uint64_t Size(std::int32_t Width, std::int32_t Height)
{
    return std::uint32_t(Width) | (std::uint64_t(std::uint32_t(Height)) << 32);
}

const TBytes File1 = Valid(1), File4 = Valid(4), File8 = Valid(8), File24 = Valid(24);

const THostileCase HostileCases[] = {
    {"Nothing", {}, 0, 0, 0, 0, "too short"},
    {"SignatureOnly", {'B', 'M'}, 0, 0, 0, 0, "file header is truncated"},
    {"NotABitmap", {'G', 'I', 'F', '8', '9', 'a', 0, 0}, 0, 0, 0, 0, "neither a BMP file nor"},
    {"FileHeaderOnly", File24, 0, 0, 0, 14, "info header is missing"},
    {"InfoHeaderCut", File24, 0, 0, 0, 40, "info header is truncated"},
    {"CoreHeader", File24, 14, 4, 12, 0, "12 bytes is not supported"},
    {"HugeHeaderSize", File24, 14, 4, 0xFFFFFFF0u, 0, "is not supported"},
    {"OffBitsOnePastEnd", File24, 10, 4, 54 + 3 * 16 + 1, 0, "lies past the end"},
    {"OffBitsHuge", File24, 10, 4, 0xFFFFFFFFu, 0, "lies past the end"},
    {"OffBitsInsideInfoHeader", File24, 10, 4, 20, 0, "inside the headers"},
    {"OffBitsInsideColourTable", File8, 10, 4, 154, 0, "inside the headers"},
    {"PixelsOneByteShort", File24, 0, 0, 0, -1, "pixel data is truncated (47 of 48"},
    {"BareDibPixelsShort", Valid(32, false), 0, 0, 0, -4, "pixel data is truncated"},
    {"ZeroWidth", File24, 18, 4, 0, 0, "width is 0"},
    {"NegativeWidth", File24, 18, 4, std::uint32_t(-5), 0, "width is -5"},
    {"ZeroHeight", File24, 22, 4, 0, 0, "height is 0"},
    {"MinimumIntHeight", File24, 22, 4, 0x80000000u, 0, "height is -2147483648"},
    {"ProductOverflowsInt", File1, 18, 8, Size(0x7FFFFFFF, 0x7FFFFFFF), 0, "too large"},
    {"ProductWrapsToZero", File1, 18, 8, Size(65536, -65536), 0, "too large"},
    {"OneRowAboveTheLimit", File1, 18, 8, Size(16385, 16384), 0, "too large"},
    {"TallThinPictureWithoutData", File1, 18, 8, Size(1, 1 << 28), 0, "pixel data is truncated"},
    {"TwoPlanes", File24, 26, 2, 2, 0, "plane count is 2"},
    {"Rle8", File8, 30, 4, 1, 0, "RLE8 compression is not supported"},
    {"Rle4", File4, 30, 4, 2, 0, "RLE4 compression is not supported"},
    {"Png", File24, 30, 4, 5, 0, "PNG compression"},
    {"UnknownCompression", File24, 30, 4, 99, 0, "unknown (99) compression"},
    {"SixteenBits", File24, 28, 2, 16, 0, "16 bits per pixel are not supported"},
    {"ZeroBits", File24, 28, 2, 0, 0, "0 bits per pixel"},
    {"BitFieldsOnTwentyFourBits", File24, 30, 4, 3, 0, "for 24 bits per pixel"},
    {"BitFieldsInRgbaOrder", Valid(32, true, true), 54, 4, 0xFF, 0, "colour masks of BGRX"},
    {"BitFieldsMasksCut", Valid(32, false, true), 0, 0, 0, 48, "colour masks run past the end"},
    {"ColourTableCut", Valid(8, false), 0, 0, 0, 40 + 1023, "colour table runs past the end"},
    {"ColourTableTooLargeForBits", File1, 46, 4, 3, 0, "colour table of 3 entries"},
    {"ColourTableCountAbsurd", Valid(24, false), 32, 4, 0xFFFFFFFFu, 0, "data is truncated"},
};

class DibHostile : public testing::TestWithParam<THostileCase>
{};

TEST_P(DibHostile, ThrowsInvalidGraphicNamingTheFaultAndKeepsTheBitmap)
{
    const THostileCase& C = GetParam();
    TBytes Data = C.Data;
    for (unsigned I = 0; I < C.Bytes; ++I)
        Data.at(C.At + I) = std::uint8_t(C.Value >> (8 * I));
    if (C.Length != 0)
        Data.resize(C.Length > 0 ? std::size_t(C.Length) : Data.size() - std::size_t(-C.Length));
    for (const bool AsResource : {false, true}) {
        TBitmap B(1, 1);
        try {
            if (AsResource)
                B.LoadFromResourceBytes(Data);
            else
                B.LoadFromBytes(Data);
            FAIL() << "decoded " << B.GetWidth() << " x " << B.GetHeight();
        } catch (const EInvalidGraphic& E) {
            EXPECT_NE(E.GetMessage().find(C.Message), std::string::npos) << E.GetMessage();
        }
        EXPECT_EQ(B.GetWidth(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DibHostile, testing::ValuesIn(HostileCases), ByName{});

TEST(DibHostile, EveryCutOfAValidFileIsRefused)
{
    for (const TBytes& File :
         {File1, File4, Valid(8, false), File24, Valid(32, true, true), Valid(32, false, true)}) {
        for (std::size_t Length = 0; Length < File.size(); ++Length) {
            TBitmap B;
            EXPECT_THROW(B.LoadFromBytes(std::span(File.data(), Length)), EInvalidGraphic)
                << Length << " of " << File.size();
        }
        TBitmap B;
        EXPECT_NO_THROW(B.LoadFromBytes(File));
    }
}

// Under a sanitizer this finds reads past the buffer; everywhere it finds exceptions of the
// wrong kind and decodes larger than the data could hold.
TEST(DibHostile, RandomlyCorruptedHeadersDecodeOrThrowInvalidGraphic)
{
    std::mt19937 Rng(4711);
    const TBytes Files[] = {File1, Valid(8, false), File24, Valid(32, true, true)};
    for (int Round = 0; Round < 4000; ++Round) {
        TBytes D = Files[Rng() % 4];
        for (int I = 0, Changes = 1 + int(Rng() % 4); I < Changes; ++I)
            D[Rng() % std::min<std::size_t>(D.size(), 70)] =
                Rng() % 3 == 0 ? 0xFF : std::uint8_t(Rng());
        TBitmap B;
        try {
            B.LoadFromBytes(D);
            EXPECT_LE(std::uint64_t(B.GetWidth()) * std::uint64_t(B.GetHeight()), D.size() * 8);
        } catch (const EInvalidGraphic&) {
        }
    }
}

} // namespace
