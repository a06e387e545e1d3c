#include "base/Color.h"

#include <gtest/gtest.h>

TEST(Color, RgbPutsRedInTheLowByte)
{
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(GetRValue(0x00563412u), 0x12);
    EXPECT_EQ(GetBValue(0x00563412u), 0x56);
}

TEST(Color, SystemColoursResolveToTheClassicScheme)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clInactiveCaptionText), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clWindow), RGB(255, 255, 255));
    EXPECT_EQ(ColorToRGB(clHighlight), RGB(10, 36, 106));
    EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), RGB(1, 2, 3));
}

TEST(Color, PixelsSwapRedAndBlue)
{
    EXPECT_EQ(ColorToPixel(RGB(0x12, 0x34, 0x56)), 0x00123456u);
    EXPECT_EQ(PixelToColor(0x00123456u), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(PixelToColor(ColorToPixel(clBtnShadow)), RGB(128, 128, 128));
}
