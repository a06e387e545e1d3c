#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// One embedded resource, as the build lays it out (see cmake/EmbedResources.cmake).
struct TResourceEntry
{
    int Id;
    const char* Kind;
    const char* Name;
    const char* Parameters; // space-separated, kind-specific
    std::span<const std::uint8_t> Data;
};

extern const TResourceEntry GResourceTable[];
extern const std::size_t GResourceCount;
