#pragma once

#include "framework/graphics/Bitmap.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// The committed art as the tests read it: files under resources/ and their manifest lines.
namespace ArtTest {

inline std::string ResourcePath(const std::string& File)
{
    // Appended step by step: GCC 12 warns falsely of a string sum of this shape (array-bounds).
    std::string Path = NIXIE_SOURCE_DIR;
    Path += "/resources/";
    Path += File;
    return Path;
}

inline std::vector<std::uint8_t> ReadFile(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// A manifest line split into its fields.
struct TManifestEntry
{
    int Id = 0;
    std::string Kind;
    std::string Name;
    std::string File;
    std::vector<int> Params;
};

inline std::vector<TManifestEntry> ReadManifest()
{
    std::ifstream In(ResourcePath("Resources.list"));
    std::vector<TManifestEntry> Entries;
    std::string Line;
    while (std::getline(In, Line)) {
        if (Line.empty() || Line[0] == '#')
            continue;
        std::istringstream Fields(Line);
        TManifestEntry E;
        if (!(Fields >> E.Id >> E.Kind >> E.Name >> E.File))
            continue;
        int P;
        while (Fields >> P)
            E.Params.push_back(P);
        Entries.push_back(E);
    }
    return Entries;
}

inline std::optional<TManifestEntry> FindEntry(const std::string& Name)
{
    for (const TManifestEntry& E : ReadManifest())
        if (E.Name == Name)
            return E;
    return std::nullopt;
}

inline TBitmap LoadCommitted(const std::string& Name)
{
    TBitmap B;
    const std::optional<TManifestEntry> E = FindEntry(Name);
    if (E)
        B.LoadFromFile(ResourcePath(E->File));
    return B;
}

struct TRgb
{
    int R, G, B;
};

inline TRgb RgbAt(const TBitmap& B, int X, int Y)
{
    const TPixel P = B.GetScanLine(Y)[X];
    return {int(P >> 16 & 0xFF), int(P >> 8 & 0xFF), int(P & 0xFF)};
}

inline bool IsBlack(const TBitmap& B, int X, int Y)
{
    return (B.GetScanLine(Y)[X] & 0xFFFFFF) == 0;
}

} // namespace ArtTest
