#include "framework/graphics/ImageList.h"

#include "base/Exception.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

// A bitmap whose pixel (X, Y) is Base + X * 256 + Y: every pixel tells where it came from.
TBitmap Numbered(int Width, int Height, TPixel Base = 0x100000)
{
    TBitmap B(Width, Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            B.GetScanLine(Y)[X] = Base + TPixel(X) * 256 + TPixel(Y);
    return B;
}

// The mask of an image as rows of '#' (transparent) and '.' (opaque).
std::string MaskOf(const TImageList& List, int Index)
{
    TBitmap Mask;
    List.GetMask(Index, Mask);
    std::string Rows;
    for (int Y = 0; Y < Mask.GetHeight(); ++Y) {
        for (int X = 0; X < Mask.GetWidth(); ++X)
            Rows += Mask.GetPixel(X, Y) == clWhite ? '#' : '.';
        Rows += Y + 1 < Mask.GetHeight() ? "|" : "";
    }
    return Rows;
}

TEST(ImageList, AddCutsAnImageIntoWholeCellsWithTheirMasks)
{
    TImageList List(3, 3);
    EXPECT_EQ(List.Add(Numbered(2, 3), nullptr), -1) << "narrower than a cell";
    // Eleven columns, two rows: three whole cells, each missing its bottom row; a 4 x 1 mask
    // with light pixels at 0 (white) and 3 (pale grey); beyond the mask all is opaque.
    TBitmap Mask(4, 1);
    const TColor MaskRow[] = {clWhite, RGB(100, 100, 100), clBlack, RGB(200, 200, 200)};
    for (int X = 0; X < 4; ++X)
        Mask.SetPixel(X, 0, MaskRow[X]);
    EXPECT_EQ(List.Add(Numbered(11, 2), &Mask), 0);
    ASSERT_EQ(List.GetCount(), 3);
    EXPECT_EQ(MaskOf(List, 0), "#..|...|###");
    EXPECT_EQ(MaskOf(List, 1), "#..|...|###");
    EXPECT_EQ(MaskOf(List, 2), "...|...|###");
    TBitmap Cell;
    List.GetBitmap(2, Cell);
    EXPECT_EQ(Cell.GetScanLine(1)[2], 0x100000u + 8 * 256 + 1);
    EXPECT_EQ(Cell.GetPixel(0, 2), clWhite);

    EXPECT_EQ(List.AddMasked(Numbered(3, 3), RGB(0x10, 0x01, 0x00)), 3) << "pixel (1, 0)";
    EXPECT_EQ(MaskOf(List, 3), ".#.|...|...");
    List.SetSize(3, 3);
    EXPECT_EQ(List.GetCount(), 4) << "the same cell size keeps the images";
    List.SetHeight(4);
    EXPECT_EQ(List.GetCount(), 0);
    EXPECT_THROW(List.SetWidth(0), EInvalidGraphic);
}

TEST(ImageList, GetBitmapGivesTheImageThroughItsMaskOnAWhiteCell)
{
    TImageList List(23, 41);
    TBitmap Mask(230, 41);
    for (TPixel& P : Mask.GetPixels())
        P = 0; // a new bitmap is white: all transparent
    Mask.SetPixel(4, 5, clWhite);
    List.Add(Numbered(230, 41), &Mask);
    ASSERT_EQ(List.GetCount(), 10);
    // 10 of a 10-image list (a hexadecimal A from a decimal set), negative and extreme indices.
    for (int Index : {0, 10, 15, -1, INT_MIN, INT_MAX}) {
        TBitmap Cell(50, 60);
        for (TPixel& P : Cell.GetPixels())
            P = 0x123456; // whatever the target held before is gone
        List.GetBitmap(Index, Cell);
        ASSERT_EQ(Cell.GetWidth(), 23);
        ASSERT_EQ(Cell.GetHeight(), 41);
        for (int Y = 0; Y < 41; ++Y)
            for (int X = 0; X < 23; ++X) {
                const bool Drawn = Index == 0 && !(X == 4 && Y == 5);
                ASSERT_EQ(Cell.GetScanLine(Y)[X], Drawn ? 0x100000 + TPixel(X * 256 + Y) : 0xFFFFFF)
                    << "image " << Index << " at " << X << ", " << Y;
            }
    }
}

TEST(ImageList, StripWithFourCellsARowAndAPartialLastRow)
{
    // 10 images of 3 x 2, four a row: three rows, the last holding two.
    const TBitmap Strip = Numbered(12, 6);
    TImageList List(3, 2);
    List.Add(Numbered(3, 2), nullptr);
    EXPECT_THROW(List.LoadFromStrip(Strip, 4, 13), EInvalidGraphic);
    EXPECT_THROW(List.LoadFromStrip(Strip, 5, 1), EInvalidGraphic) << "too narrow";
    EXPECT_THROW(List.LoadFromStrip(Strip, 0, 1), EInvalidGraphic);
    EXPECT_EQ(List.GetCount(), 1) << "a refused strip keeps the list";
    List.LoadFromStrip(Strip, 4);
    EXPECT_EQ(List.GetCount(), 12) << "without a count: every cell";

    List.LoadFromStrip(Strip, 4, 10);
    ASSERT_EQ(List.GetCount(), 10);
    TBitmap Cell;
    for (int I = 0; I < 10; ++I) {
        List.GetBitmap(I, Cell);
        for (int Y = 0; Y < 2; ++Y)
            for (int X = 0; X < 3; ++X)
                ASSERT_EQ(Cell.GetScanLine(Y)[X], Strip.GetScanLine(I / 4 * 2 + Y)[I % 4 * 3 + X])
                    << "image " << I << " at " << X << ", " << Y;
        EXPECT_EQ(MaskOf(List, I), "...|...");
    }
    TBitmap Back;
    List.SaveToStrip(Back, 4);
    ASSERT_EQ(Back.GetWidth(), 12);
    ASSERT_EQ(Back.GetHeight(), 6);
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 12; ++X)
            EXPECT_EQ(Back.GetScanLine(Y)[X],
                      Y >= 4 && X >= 6 ? 0xFFFFFFu : Strip.GetScanLine(Y)[X]);
}

// Masked draws at random places, at the edges and far outside, against a pixel-by-pixel oracle.
TEST(ImageList, DrawIsClippedToTheTarget)
{
    std::mt19937 Rng(99);
    const TBitmap Image = Numbered(5, 4);
    TBitmap Mask(5, 4);
    for (TPixel& P : Mask.GetPixels())
        P = Rng() % 3 == 0 ? 0xFFFFFF : 0;
    TImageList List(5, 4);
    List.Add(Image, &Mask);

    const int Far[] = {INT_MIN, INT_MIN + 3, -6, -5, -4, -1, 0, 3, 6, 7, INT_MAX - 2, INT_MAX};
    for (int Round = 0; Round < 300; ++Round) {
        const int X = Round < 144 ? Far[Round % 12] : int(Rng() % 17) - 7;
        const int Y = Round < 144 ? Far[Round / 12] : int(Rng() % 15) - 6;
        TBitmap Target(7, 6);
        for (TPixel& P : Target.GetPixels())
            P = 0x0A0B0C;
        List.Draw(Target, X, Y, 0);
        List.Draw(Target, X, Y, 1); // not held: draws nothing
        for (int TY = 0; TY < 6; ++TY)
            for (int TX = 0; TX < 7; ++TX) {
                const long long SX = static_cast<long long>(TX) - X;
                const long long SY = static_cast<long long>(TY) - Y;
                const bool Inside = SX >= 0 && SX < 5 && SY >= 0 && SY < 4;
                const bool Drawn = Inside && Mask.GetPixel(int(SX), int(SY)) == clBlack;
                ASSERT_EQ(Target.GetScanLine(TY)[TX],
                          Drawn ? Image.GetScanLine(int(SY))[SX] : 0x0A0B0C)
                    << "drawn at " << X << ", " << Y << "; pixel " << TX << ", " << TY;
            }
    }
}

// A mask strip laid out as the image strip: its light pixels are transparent, and beyond its
// edges every pixel is opaque; the masks come back out in the same layout.
TEST(ImageList, StripWithAMaskStripAndBack)
{
    // 6 images of 2 x 2, three a row; the mask covers only the first 5 columns and 3 rows.
    const TBitmap Strip = Numbered(6, 4);
    TBitmap Mask(5, 3, TPixelFormat::pf1bit);
    const char* MaskRows[] = {"#.#..", "..##.", "#...#"};
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 5; ++X)
            Mask.SetPixel(X, Y, MaskRows[Y][X] == '#' ? clWhite : clBlack);
    TImageList List(2, 2);
    List.LoadFromStrip(Strip, 3, 5, &Mask);
    ASSERT_EQ(List.GetCount(), 5);
    EXPECT_EQ(MaskOf(List, 0), "#.|..");
    EXPECT_EQ(MaskOf(List, 1), "#.|##");
    EXPECT_EQ(MaskOf(List, 2), "..|..") << "column 5 lies beyond the mask";
    EXPECT_EQ(MaskOf(List, 3), "#.|..") << "row 3 lies beyond the mask";
    EXPECT_EQ(MaskOf(List, 4), "..|..");

    TBitmap MaskBack;
    List.SaveMaskToStrip(MaskBack, 3);
    EXPECT_EQ(MaskBack.GetPixelFormat(), TPixelFormat::pf1bit);
    ASSERT_EQ(MaskBack.GetWidth(), 6);
    ASSERT_EQ(MaskBack.GetHeight(), 4);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 6; ++X) {
            const bool InMask = X < 5 && Y < 3 && MaskRows[Y][X] == '#';
            const bool NoImage = X >= 4 && Y >= 2; // the sixth slot is empty
            EXPECT_EQ(MaskBack.GetPixel(X, Y), InMask || NoImage ? clWhite : clBlack)
                << X << ", " << Y;
        }

    TImageList Copy(List);
    EXPECT_EQ(Copy.GetOwner(), nullptr);
    List.Clear();
    ASSERT_EQ(Copy.GetCount(), 5) << "the copy holds its own images";
    EXPECT_EQ(MaskOf(Copy, 1), "#.|##");
}

} // namespace

TEST(ImageList, OnlyAnImageWithoutTransparentPixelsIsGivenAsItIs)
{
    TImageList List(4, 3);
    TBitmap Mask(8, 3);
    for (TPixel& P : Mask.GetPixels())
        P = 0;
    Mask.SetPixel(6, 2, clWhite); // one transparent pixel in the second image
    List.Add(Numbered(8, 3), &Mask);
    List.AddMasked(Numbered(4, 3), TColor(0x123456)); // no pixel has the mask colour
    for (int Index : {0, 2}) {
        const TBitmap* Image = List.GetOpaqueImage(Index);
        ASSERT_NE(Image, nullptr) << Index;
        TBitmap Cell;
        List.GetBitmap(Index, Cell);
        EXPECT_TRUE(std::equal(Cell.GetPixels().begin(), Cell.GetPixels().end(),
                               Image->GetPixels().begin(), Image->GetPixels().end()));
        EXPECT_FALSE(Image->GetTransparent());
    }
    for (int Index : {1, 3, -1})
        EXPECT_EQ(List.GetOpaqueImage(Index), nullptr) << Index;
}
