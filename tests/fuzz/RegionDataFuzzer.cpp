// The region data block and region stream readers on any bytes: a clear EInvalidRegionData or a
// region, and since only canonical blocks are accepted, the region encodes to the very bytes read.

#include "framework/graphics/RegionData.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::span<const std::uint8_t> Bytes(Data, Size);
    try {
        const TRegion Region = TRegionData::Decode(Bytes);
        const auto Encoded = TRegionData::Encode(Region);
        FuzzCheck(std::ranges::equal(Encoded, Bytes), "a block read does not encode back");
    } catch (const EInvalidRegionData&) {
    }
    try {
        const auto Region = TRegionData::DecodeStream(Bytes);
        const auto Encoded = TRegionData::EncodeStream(Region ? &*Region : nullptr);
        FuzzCheck(std::ranges::equal(Encoded, Bytes), "a stream read does not encode back");
    } catch (const EInvalidRegionData&) {
    }
    return 0;
}
