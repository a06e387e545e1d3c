#include "framework/graphics/RegionData.h"

#include "framework/graphics/RegionBuilder.h"
#include "tests/framework/graphics/PixelGrid.h"
#include "tests/support/CaseName.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

void Put(TBytes& B, std::size_t Offset, std::uint32_t V)
{
    for (int I = 0; I < 4; ++I)
        B[Offset + std::size_t(I)] = std::uint8_t(V >> (8 * I));
}

// A valid block of two bands: (1,2,4,3) (6,2,8,3) and (0,3,9,5).
TBytes ValidBlock()
{
    return TRegionData::Encode(
        TRegion::FromRects(std::vector<TRect>{{1, 2, 4, 3}, {6, 2, 8, 3}, {0, 3, 9, 5}}));
}

} // namespace

TEST(RegionData, EncodesTheHeaderAndRectanglesLittleEndian)
{
    const TBytes Block =
        TRegionData::Encode(TRegion::FromRects(std::vector<TRect>{{-1, 2, 258, 3}, {5, 3, 6, 4}}));
    const TBytes Expected = {32, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 32, 0, 0, 0,
                             // bound
                             255, 255, 255, 255, 2, 0, 0, 0, 2, 1, 0, 0, 4, 0, 0, 0,
                             // rectangles
                             255, 255, 255, 255, 2, 0, 0, 0, 2, 1, 0, 0, 3, 0, 0, 0, //
                             5, 0, 0, 0, 3, 0, 0, 0, 6, 0, 0, 0, 4, 0, 0, 0};
    EXPECT_EQ(Block, Expected);
}

TEST(RegionData, EmptyRegionIsTheBareHeader)
{
    const TBytes Block = TRegionData::Encode(TRegion());
    ASSERT_EQ(Block.size(), 32u);
    EXPECT_EQ(Block, (TBytes{32, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                             0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(TRegionData::Decode(Block).IsEmpty());
}

TEST(RegionData, RoundTripsRandomRegions)
{
    std::mt19937 Rng(99);
    for (int Round = 0; Round < 300; ++Round) {
        const TPixelGrid G = RandomPicture(Rng, 40, 30);
        TRegionBuilder B;
        for (const TPixelGrid::TRun& R : G.Runs())
            B.AddRun(R.Y, R.X0, R.X1);
        TRegion Region = B.Finish();
        Region.Offset(-20, -7); // negative coordinates too
        const TBytes Block = TRegionData::Encode(Region);
        ASSERT_EQ(Block.size(), 32 + 16 * Region.GetRectCount());
        EXPECT_EQ(TRegionData::Decode(Block), Region);

        const TBytes Stream = TRegionData::EncodeStream(&Region);
        ASSERT_EQ(Stream.size(), 4 + Block.size());
        EXPECT_EQ(TBytes(Stream.begin() + 4, Stream.end()), Block);
        const auto Back = TRegionData::DecodeStream(Stream);
        ASSERT_TRUE(Back.has_value());
        EXPECT_EQ(*Back, Region);
    }
}

TEST(RegionData, StreamOfNoRegionIsALengthOfZero)
{
    const TBytes Stream = TRegionData::EncodeStream(nullptr);
    EXPECT_EQ(Stream, (TBytes{0, 0, 0, 0}));
    EXPECT_FALSE(TRegionData::DecodeStream(Stream).has_value());
}

struct THostileCase
{
    const char* Name;
    std::function<void(TBytes&)> Spoil;
    const char* Message; // part of the error's text
};

class RegionDataHostile : public testing::TestWithParam<THostileCase>
{};

TEST_P(RegionDataHostile, IsRejected)
{
    TBytes Block = ValidBlock();
    ASSERT_NO_THROW(TRegionData::Decode(Block));
    GetParam().Spoil(Block);
    try {
        TRegionData::Decode(Block);
        FAIL() << "accepted";
    } catch (const EInvalidRegionData& E) {
        EXPECT_NE(std::string(E.what()).find(GetParam().Message), std::string::npos) << E.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegionDataHostile,
    testing::Values(
        THostileCase{"Nothing", [](TBytes& B) { B.clear(); }, "shorter than its header"},
        THostileCase{"HalfHeader", [](TBytes& B) { B.resize(31); }, "shorter than its header"},
        THostileCase{"HeaderSize", [](TBytes& B) { Put(B, 0, 40); }, "header size 40"},
        THostileCase{"Kind", [](TBytes& B) { Put(B, 4, 2); }, "region kind 2"},
        THostileCase{"HugeCount",
                     [](TBytes& B) {
                         Put(B, 8, 0xFFFFFFFFu);
                         Put(B, 12, 0xFFFFFFF0u);
                     },
                     "beyond any region"},
        // A count the block cannot hold, with a list size that agrees with it.
        THostileCase{"CountBeyondBlock",
                     [](TBytes& B) {
                         Put(B, 8, 1000000);
                         Put(B, 12, 16000000);
                     },
                     "bytes for 1000000 rectangles"},
        THostileCase{"ListSize", [](TBytes& B) { Put(B, 12, 47); }, "rectangle list of 47"},
        THostileCase{"Truncated", [](TBytes& B) { B.pop_back(); }, "bytes for 3 rectangles"},
        THostileCase{"TrailingBytes", [](TBytes& B) { B.push_back(0); }, "bytes for 3 rectangles"},
        THostileCase{"EmptyRect", [](TBytes& B) { Put(B, 32 + 8, 1); }, "empty or inverted"},
        THostileCase{"InvertedRect", [](TBytes& B) { Put(B, 64 + 12, 1); }, "empty or inverted"},
        THostileCase{"UnsortedSpans",
                     [](TBytes& B) {
                         // Swap the first two rectangles.
                         for (std::size_t I = 0; I < 16; ++I)
                             std::swap(B[32 + I], B[48 + I]);
                     },
                     "overlap, touch or are unsorted"},
        THostileCase{"OverlappingBands", [](TBytes& B) { Put(B, 64 + 4, 2); },
                     "rectangle 2 (0, 2, 9, 5)"},
        THostileCase{"BoundTooSmall", [](TBytes& B) { Put(B, 16 + 8, 8); },
                     "bounding rectangle (0, 2, 8, 5) instead of (0, 2, 9, 5)"},
        THostileCase{"BoundTooLarge", [](TBytes& B) { Put(B, 16 + 4, 0); }, "bounding rectangle"},
        THostileCase{"EmptyWithBound",
                     [](TBytes& B) {
                         B.resize(32);
                         Put(B, 8, 0);
                         Put(B, 12, 0);
                     },
                     "instead of (0, 0, 0, 0)"}),
    ByName{});

TEST(RegionData, StreamLengthMustMatchItsPayload)
{
    TBytes Stream = TRegionData::EncodeStream(nullptr);
    Stream.push_back(0);
    EXPECT_THROW(TRegionData::DecodeStream(Stream), EInvalidRegionData);
    EXPECT_THROW(TRegionData::DecodeStream(TBytes{0, 0}), EInvalidRegionData);

    const TRegion R(TRect(1, 1, 2, 2));
    Stream = TRegionData::EncodeStream(&R);
    Put(Stream, 0, 0xFFFFFFFFu); // announces far more than it holds
    EXPECT_THROW(TRegionData::DecodeStream(Stream), EInvalidRegionData);
    Stream = TRegionData::EncodeStream(&R);
    Stream.pop_back();
    EXPECT_THROW(TRegionData::DecodeStream(Stream), EInvalidRegionData);
}
