#pragma once

#include "framework/graphics/Bitmap.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One picture the generator draws, with its line in resources/Resources.list.
struct TArtResource
{
    int Id;           // the resource number (0 for image strips, which go by name)
    const char* Kind; // "bitmap" or "strip"
    const char* Name;
    const char* File;   // relative to resources/
    const char* Params; // a strip's cell width, cell height, image count and cells per row
    TBitmap (*Paint)();
};

// Every picture of the program, faces, digit strips and LEDs, in manifest order.
std::span<const TArtResource> ArtResources();

// A file the generator writes that the executables do not embed: the programs' icon, for the
// Windows resource script and for the Linux desktops' icon theme.
struct TArtFile
{
    const char* File; // relative to resources/
    std::vector<std::uint8_t> (*Encode)();
};
std::span<const TArtFile> ArtFiles();

// The manifest line of a resource: "ID KIND NAME FILE [PARAMS]".
std::string ManifestLine(const TArtResource& Resource);

// The cells a strip lays out in a row (as the common-controls image-list stream does).
constexpr int StripCellsPerRow = 4;
