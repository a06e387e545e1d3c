#pragma once

#include <cstddef>
#include <cstdint>

// Finding a byte pattern in a buffer with the C library's scans (memchr, memmem) rather than a
// compare at every offset. FoldCase makes the ASCII letters A-Z and a-z match either case; every
// other byte matches only itself.

// The lowest start S with First <= S and S + Length <= End at which Pattern lies in Data, or -1.
// An empty pattern lies at First when First <= End.
std::ptrdiff_t FindPattern(const std::uint8_t* Data, std::size_t First, std::size_t End,
                           const std::uint8_t* Pattern, std::size_t Length, bool FoldCase);

// One step of the hex editor's search: the starts Position + 1, Position + 2, ... are examined
// while start + Length stays below Size. A hit is returned and becomes the Position; without
// one Position is left past the last start examined, max(Position + 1, Size - Length), and -1
// comes back.
int SearchStep(const std::uint8_t* Data, int Size, int& Position, const std::uint8_t* Pattern,
               int Length, bool FoldCase);
