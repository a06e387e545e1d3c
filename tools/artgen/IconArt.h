#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The programs' icon: the first two tubes of the Nixie Large face, lit, on a transparent ground,
// drawn at the square sizes the desktops ask for.
constexpr std::array<int, 5> IconSizes{16, 24, 32, 48, 64};

// One size of the icon: Size x Size pixels 0xAARRGGBB (alpha 0 is transparent), top row first.
struct TIconImage
{
    int Size = 0;
    std::vector<std::uint32_t> Pixels;
};

TIconImage PaintIcon(int Size);

// The Windows icon file holding every size (32-bit images with their transparency masks), and the
// PNG picture of one size for the Linux desktops' icon theme.
std::vector<std::uint8_t> EncodeIconFile();
std::vector<std::uint8_t> EncodeIconPng(int Size);
