#include "framework/graphics/Bitmap.h"

#include "base/Exception.h"
#include "framework/graphics/Canvas.h"
#include "tests/framework/graphics/DibTestWriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>

namespace {

using namespace DibTest;

TEST(BitmapStorage, ResizingKeepsThePixelsInsideAndFillsNewOnesWhite)
{
    TBitmap B(3, 2);
    B.SetPixel(1, 1, RGB(1, 2, 3));
    B.SetSize(2, 4);
    EXPECT_EQ(B.GetScanLine(1)[1], 0x010203u) << "pixels are 0x00RRGGBB";
    EXPECT_EQ(B.GetPixel(1, 3), clWhite);
    EXPECT_EQ(B.GetPixel(2, 0), clBlack) << "outside reads black";
    EXPECT_THROW(B.SetSize(-1, 2), EInvalidGraphic);
}

TEST(BitmapStorage, ACopyWrittenByAnyPathLeavesTheOtherAsItWas)
{
    TBitmap A(2, 2);
    A.SetPixel(0, 0, RGB(9, 9, 9));
    TBitmap B(A);
    TBitmap C;
    C = A;
    B.SetPixel(0, 0, RGB(1, 1, 1));
    C.GetCanvas().SetPixel(1, 1, RGB(2, 2, 2));
    A.GetScanLine(0)[1] = 0x030303u;
    EXPECT_EQ(A.GetPixel(0, 0), RGB(9, 9, 9));
    EXPECT_EQ(A.GetPixel(1, 1), clWhite);
    EXPECT_EQ(B.GetPixel(0, 0), RGB(1, 1, 1));
    EXPECT_EQ(B.GetPixel(1, 0), clWhite);
    EXPECT_EQ(C.GetPixel(1, 1), RGB(2, 2, 2));
    EXPECT_EQ(C.GetPixel(1, 0), clWhite);
    EXPECT_EQ(std::as_const(A).GetScanLine(0)[1], 0x030303u);
}

TEST(DibEncode, TinyTwentyFourBitPictureHasExactBytes)
{
    TBitmap B(3, 2, TPixelFormat::pf24bit);
    for (int I = 0; I < 6; ++I)
        B.SetPixel(I % 3, I / 3,
                   RGB(std::uint8_t(3 * I + 1), std::uint8_t(3 * I + 2), std::uint8_t(3 * I + 3)));
    const TBytes Expected = {
        'B', 'M', 78, 0,  0,  0,  0,  0,  0,    0,    54, 0, 0,    0, // file header
        40,  0,   0,  0,  3,  0,  0,  0,  2,    0,    0,  0, 1,    0,
        24,  0, // size, width, height, planes, bits
        0,   0,   0,  0,  24, 0,  0,  0,  0xC4, 0x0E, 0,  0, 0xC4, 0x0E,
        0,   0,                                              // BI_RGB, image size, 3780 ppm
        0,   0,   0,  0,  0,  0,  0,  0,                     // colours used, important
        12,  11,  10, 15, 14, 13, 18, 17, 16,   0,    0,  0, // the bottom row first, blue green red
        3,   2,   1,  6,  5,  4,  9,  8,  7,    0,    0,  0, // then the top row, padded to 12 bytes
    };
    EXPECT_EQ(B.SaveToBytes(), Expected);
    EXPECT_THROW(TBitmap(3, 0).SaveToBytes(), EInvalidGraphic) << "an empty bitmap has no BMP form";
}

TEST(DibEncode, OneBitHasABlackAndWhiteTableAndTakesTheNearerOfThem)
{
    const TColor Row[] = {clWhite, clBlack,  RGB(128, 128, 127), RGB(127, 128, 127),
                          clRed,   clYellow, clSilver,           clGray,
                          clNavy};
    TBitmap B(9, 1, TPixelFormat::pf1bit);
    for (int X = 0; X < 9; ++X)
        B.SetPixel(X, 0, Row[X]);
    const TBytes Data = B.SaveToBytes();
    ASSERT_EQ(Data.size(), 14u + 40 + 8 + 4);
    EXPECT_EQ(Get32(Data, 10), 62u);
    EXPECT_EQ(Data[28], 1) << "bits per pixel";
    EXPECT_EQ(Get32(Data, 54), 0u);
    EXPECT_EQ(Get32(Data, 58), 0xFFFFFFu);
    // White, black, light, dark, red (dark), yellow, silver, grey (light), navy: 1010 0111, 0.
    EXPECT_EQ(std::vector(Data.begin() + 62, Data.end()), TBytes({0xA7, 0x00, 0, 0}));
}

struct TRoundTripCase
{
    TPixelFormat Format;
    unsigned Bits;
};

void PrintTo(const TRoundTripCase& C, std::ostream* Out)
{
    *Out << C.Bits << " bits";
}

class DibRoundTrip : public testing::TestWithParam<TRoundTripCase>
{};

TEST_P(DibRoundTrip, KeepsPixelsSizeAndFormatAndWritesBottomUpPaddedRows)
{
    const TRoundTripCase& C = GetParam();
    std::mt19937 Rng(77 + C.Bits);
    for (int Width : {1, 2, 3, 5, 8, 9, 33}) {
        for (int Height = 1; Height <= 4; ++Height) {
            TBitmap B(Width, Height, C.Format);
            for (TPixel& P : B.GetPixels())
                P = C.Bits == 1 ? (Rng() % 2 ? 0xFFFFFF : 0) : Rng() & 0xFFFFFF;
            const TBytes Data = B.SaveToBytes();
            const std::size_t Image = (std::size_t(Width) * C.Bits + 31) / 32 * 4 * Height;
            const std::size_t Headers = C.Bits == 1 ? 62 : 54;
            ASSERT_EQ(Data.size(), Headers + Image);
            EXPECT_EQ(Get32(Data, 2), Data.size());
            EXPECT_EQ(Get32(Data, 10), Headers);
            EXPECT_EQ(Get32(Data, 22), std::uint32_t(Height)) << "positive: bottom-up";
            EXPECT_EQ(Get32(Data, 34), Image);
            if (C.Bits == 32) {
                EXPECT_EQ(Data[Headers + 3], 0) << "the unused byte";
            }

            TBitmap Back;
            Back.LoadFromBytes(Data);
            EXPECT_EQ(Back.GetWidth(), Width);
            EXPECT_EQ(Back.GetHeight(), Height);
            EXPECT_EQ(Back.GetPixelFormat(), C.Format);
            EXPECT_TRUE(std::ranges::equal(B.GetPixels(), Back.GetPixels()))
                << Width << " x " << Height;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, DibRoundTrip,
                         testing::Values(TRoundTripCase{TPixelFormat::pf24bit, 24},
                                         TRoundTripCase{TPixelFormat::pf32bit, 32},
                                         TRoundTripCase{TPixelFormat::pf1bit, 1}),
                         [](const testing::TestParamInfo<TRoundTripCase>& I) {
                             return "Bits" + std::to_string(I.param.Bits);
                         });

TEST(DibRoundTrip, TopDownInputSavesBottomUpWithTheSamePixels)
{
    TDibWriter W;
    W.Width = 1, W.Height = 2, W.TopDown = true, W.Values = {0x010203, 0x040506};
    TBitmap B;
    B.LoadFromBytes(W.Build());
    const TBytes Out = B.SaveToBytes();
    EXPECT_EQ(TBytes(Out.begin() + 54, Out.end()), TBytes({6, 5, 4, 0, 3, 2, 1, 0}));
}

TEST(BitmapFile, SavesAndLoadsUnderAUtf8NameAndReportsFailures)
{
    const auto Folder = std::filesystem::temp_directory_path() / "nixie-bitmap-file-test";
    std::filesystem::create_directories(Folder);
    const auto PathOf = [&](const char8_t* Name) {
        const std::u8string Utf8 = (Folder / Name).u8string();
        return std::string(Utf8.begin(), Utf8.end());
    };
    const std::string Path = PathOf(u8"Zifferblatt-\u00fc-\u6642.bmp");
    TBitmap B(3, 1, TPixelFormat::pf24bit);
    B.SetPixel(2, 0, clTeal);
    B.SaveToFile(Path);
    EXPECT_TRUE(std::filesystem::exists(Folder / u8"Zifferblatt-\u00fc-\u6642.bmp"));
    TBitmap Back;
    Back.LoadFromFile(Path);
    EXPECT_EQ(Back.SaveToBytes(), B.SaveToBytes());

    EXPECT_THROW(Back.LoadFromFile(PathOf(u8"absent.bmp")), EFileError);
    EXPECT_THROW(B.SaveToFile(PathOf(u8"no-folder/x.bmp")), EFileError);
    std::ofstream(Folder / "text.bmp") << "BM, but not really";
    try {
        Back.LoadFromFile(PathOf(u8"text.bmp"));
        ADD_FAILURE() << "decoded a text file";
    } catch (const EInvalidGraphic& E) {
        EXPECT_NE(E.GetMessage().find(PathOf(u8"text.bmp")), std::string::npos) << E.GetMessage();
    }
    EXPECT_EQ(Back.GetPixel(2, 0), clTeal);
    std::filesystem::remove_all(Folder);
}

} // namespace
