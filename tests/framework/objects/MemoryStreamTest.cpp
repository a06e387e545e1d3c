#include "framework/objects/MemoryStream.h"

#include "base/Exception.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

TEST(MemoryStream, WritesAndReadsLittleEndianValues)
{
    TMemoryStream S;
    S.WriteUInt32(0x11223344u);
    S.WriteInt32(-2);
    EXPECT_EQ(std::vector<std::uint8_t>(S.GetData().begin(), S.GetData().end()),
              (std::vector<std::uint8_t>{0x44, 0x33, 0x22, 0x11, 0xFE, 0xFF, 0xFF, 0xFF}));
    S.SetPosition(0);
    EXPECT_EQ(S.ReadUInt32(), 0x11223344u);
    EXPECT_EQ(S.ReadInt32(), -2);
    EXPECT_EQ(S.GetRemaining(), 0u);
}

TEST(MemoryStream, AShortReadThrowsAndConsumesNothing)
{
    const std::uint8_t Bytes[] = {1, 2, 3};
    TMemoryStream S(Bytes);
    S.SetPosition(1);
    std::uint8_t Out[4] = {};
    EXPECT_THROW(S.ReadBuffer(Out, 3), EReadError);
    EXPECT_EQ(S.GetPosition(), 1u);
    EXPECT_THROW(S.ReadUInt32(), EReadError);
    EXPECT_EQ(S.Read(Out, 4), 2u); // the plain read takes what there is
    EXPECT_EQ(Out[0], 2);
    EXPECT_EQ(Out[1], 3);
}

TEST(MemoryStream, SeeksAreClampedToTheData)
{
    const std::uint8_t Bytes[] = {1, 2, 3, 4, 5};
    TMemoryStream S(Bytes);
    struct TSeek
    {
        std::int64_t Offset;
        TSeekOrigin Origin;
        std::uint64_t Expected;
    };
    const TSeek Seeks[] = {{2, TSeekOrigin::soBeginning, 2},  {1, TSeekOrigin::soCurrent, 3},
                           {-10, TSeekOrigin::soCurrent, 0},  {99, TSeekOrigin::soCurrent, 5},
                           {-1, TSeekOrigin::soEnd, 4},       {INT64_MIN, TSeekOrigin::soEnd, 0},
                           {INT64_MAX, TSeekOrigin::soEnd, 5}};
    for (const TSeek& K : Seeks)
        EXPECT_EQ(S.Seek(K.Offset, K.Origin), K.Expected) << K.Offset;
}

TEST(MemoryStream, OverwritesInPlaceAndGrowsAtTheEnd)
{
    TMemoryStream S;
    const std::uint8_t A[] = {1, 2, 3, 4};
    S.WriteBuffer(A, 4);
    S.SetPosition(2);
    const std::uint8_t B[] = {9, 9, 9};
    S.WriteBuffer(B, 3);
    EXPECT_EQ(S.GetSize(), 5u);
    EXPECT_EQ(S.TakeData(), (std::vector<std::uint8_t>{1, 2, 9, 9, 9}));
    EXPECT_EQ(S.GetSize(), 0u);
    S.SetSize(3);
    EXPECT_EQ(S.GetSize(), 3u);
}
