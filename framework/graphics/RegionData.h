#pragma once

#include "base/Exception.h"
#include "framework/graphics/Region.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A region data block or region stream that is malformed, truncated or not canonical.
class EInvalidRegionData : public Exception
{
public:
    using Exception::Exception;
};

// The platform's region data block (RGNDATA), little-endian: a 32-byte header {header size 32,
// kind 1 = rectangles, count C, list size 16 * C, bounding rectangle} followed by C rectangles
// (left, top, right, bottom; signed 32-bit each) in canonical banded order. An empty region is
// the bare header with C = 0 and bound (0, 0, 0, 0).
//
// The region stream, the payload of a stored outline, is a 4-byte length N and then N bytes of
// region data block; N = 0 stores no outline at all.
//
// Decoding trusts nothing: every field, the length, each rectangle, the order and the bound are
// checked, and any fault throws EInvalidRegionData naming it. Nothing is allocated from a count
// before the block has been seen to hold that many rectangles.
class TRegionData
{
public:
    static constexpr std::size_t HeaderSizeBytes = 32;
    static constexpr std::size_t RectSizeBytes = 16;
    static constexpr std::uint32_t KindRectangles = 1;
    // More rectangles than any picture of ours could need; beyond it a count is taken as hostile.
    static constexpr std::uint32_t MaxRectCount = 16u * 1024u * 1024u;

    // Exactly 32 + 16 * C bytes.
    static std::vector<std::uint8_t> Encode(const TRegion& Region);
    // The whole of Block must be one region data block.
    static TRegion Decode(std::span<const std::uint8_t> Block);

    // No region (null) writes the length 0.
    static std::vector<std::uint8_t> EncodeStream(const TRegion* Region);
    // The whole of Payload must be one stream; a length of 0 gives no region.
    static std::optional<TRegion> DecodeStream(std::span<const std::uint8_t> Payload);
};
