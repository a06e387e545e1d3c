#include "framework/graphics/RegionData.h"

#include <cstdio>
#include <string>

namespace {

void PutUInt32(std::vector<std::uint8_t>& Out, std::uint32_t V)
{
    Out.push_back(std::uint8_t(V));
    Out.push_back(std::uint8_t(V >> 8));
    Out.push_back(std::uint8_t(V >> 16));
    Out.push_back(std::uint8_t(V >> 24));
}

void PutInt32(std::vector<std::uint8_t>& Out, int V)
{
    PutUInt32(Out, static_cast<std::uint32_t>(V));
}

void PutRect(std::vector<std::uint8_t>& Out, const TRect& R)
{
    PutInt32(Out, R.Left);
    PutInt32(Out, R.Top);
    PutInt32(Out, R.Right);
    PutInt32(Out, R.Bottom);
}

std::uint32_t GetUInt32(const std::uint8_t* P)
{
    return std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8 | std::uint32_t(P[2]) << 16 |
           std::uint32_t(P[3]) << 24;
}

int GetInt32(const std::uint8_t* P)
{
    return static_cast<std::int32_t>(GetUInt32(P)); // two's complement, as C++20 defines it
}

TRect GetRect(const std::uint8_t* P)
{
    return {GetInt32(P), GetInt32(P + 4), GetInt32(P + 8), GetInt32(P + 12)};
}

[[noreturn]] void Fail(const std::string& Why)
{
    throw EInvalidRegionData("Invalid region data: " + Why);
}

std::string RectText(const TRect& R)
{
    // Formatted into a buffer: chains of string + trip a false -Wrestrict of GCC 12 at -O3.
    char Text[64];
    std::snprintf(Text, sizeof Text, "(%d, %d, %d, %d)", R.Left, R.Top, R.Right, R.Bottom);
    return Text;
}

} // namespace

std::vector<std::uint8_t> TRegionData::Encode(const TRegion& Region)
{
    const std::span<const TRect> Rects = Region.GetRects();
    std::vector<std::uint8_t> Out;
    Out.reserve(HeaderSizeBytes + RectSizeBytes * Rects.size());
    PutUInt32(Out, HeaderSizeBytes);
    PutUInt32(Out, KindRectangles);
    PutUInt32(Out, std::uint32_t(Rects.size()));
    PutUInt32(Out, std::uint32_t(RectSizeBytes * Rects.size()));
    PutRect(Out, Region.GetBounds());
    for (const TRect& R : Rects)
        PutRect(Out, R);
    return Out;
}

TRegion TRegionData::Decode(std::span<const std::uint8_t> Block)
{
    if (Block.size() < HeaderSizeBytes)
        Fail("block of " + std::to_string(Block.size()) + " bytes is shorter than its header");
    const std::uint8_t* P = Block.data();
    if (GetUInt32(P) != HeaderSizeBytes)
        Fail("header size " + std::to_string(GetUInt32(P)) + " instead of 32");
    if (GetUInt32(P + 4) != KindRectangles)
        Fail("region kind " + std::to_string(GetUInt32(P + 4)) + " instead of 1 (rectangles)");
    const std::uint32_t Count = GetUInt32(P + 8);
    if (Count > MaxRectCount)
        Fail("count of " + std::to_string(Count) + " rectangles is beyond any region");
    // 64-bit arithmetic: neither product can wrap after the bound on Count.
    const std::uint64_t ListBytes = std::uint64_t(RectSizeBytes) * Count;
    if (GetUInt32(P + 12) != ListBytes)
        Fail("rectangle list of " + std::to_string(GetUInt32(P + 12)) + " bytes for " +
             std::to_string(Count) + " rectangles");
    if (Block.size() != HeaderSizeBytes + ListBytes)
        Fail("block of " + std::to_string(Block.size()) + " bytes for " + std::to_string(Count) +
             " rectangles");
    const TRect Bound = GetRect(P + 16);

    std::vector<TRect> Rects;
    Rects.reserve(Count);
    for (std::uint32_t I = 0; I < Count; ++I)
        Rects.push_back(GetRect(P + HeaderSizeBytes + RectSizeBytes * I));
    if (const auto Fault = TRegion::FindCanonicalFault(Rects))
        Fail(std::string("rectangle ") + std::to_string(Fault->Index) + " " +
             RectText(Rects[Fault->Index]) + ": " + Fault->Reason);
    const TRect Actual = TRegion::ComputeBounds(Rects);
    if (Bound != Actual)
        Fail("bounding rectangle " + RectText(Bound) + " instead of " + RectText(Actual));
    return TRegion(std::move(Rects), Actual);
}

std::vector<std::uint8_t> TRegionData::EncodeStream(const TRegion* Region)
{
    std::vector<std::uint8_t> Out;
    if (!Region) {
        PutUInt32(Out, 0);
        return Out;
    }
    const std::vector<std::uint8_t> Block = Encode(*Region);
    Out.reserve(4 + Block.size());
    PutUInt32(Out, std::uint32_t(Block.size()));
    Out.insert(Out.end(), Block.begin(), Block.end());
    return Out;
}

std::optional<TRegion> TRegionData::DecodeStream(std::span<const std::uint8_t> Payload)
{
    if (Payload.size() < 4)
        Fail("stream of " + std::to_string(Payload.size()) + " bytes lacks its length");
    const std::uint32_t Length = GetUInt32(Payload.data());
    if (Payload.size() - 4 != Length)
        Fail("stream announces " + std::to_string(Length) + " bytes but holds " +
             std::to_string(Payload.size() - 4));
    if (Length == 0)
        return std::nullopt;
    return Decode(Payload.subspan(4));
}
