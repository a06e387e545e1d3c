#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Encodes true-colour PNG files for previews, snapshots and icons: 8 bits a channel, one
// compressed image stream. Pixels are 0x00RRGGBB (0xAARRGGBB with alpha), the top row first.
class TPngWriter
{
public:
    static std::vector<std::uint8_t> Encode(int Width, int Height,
                                            std::span<const std::uint32_t> Pixels);
    // With the alpha channel: 0 is transparent, 255 opaque.
    static std::vector<std::uint8_t> EncodeWithAlpha(int Width, int Height,
                                                     std::span<const std::uint32_t> Pixels);
    // Throws std::runtime_error when the file cannot be written.
    static void SaveToFile(const std::string& Path, int Width, int Height,
                           std::span<const std::uint32_t> Pixels);
};
