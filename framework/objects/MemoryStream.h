#pragma once

#include "framework/objects/Stream.h"

#include <cstdint>
#include <span>
#include <vector>

// A stream over a growable byte buffer held in memory.
class TMemoryStream : public TStream
{
public:
    TMemoryStream() = default;
    // Starts with a copy of Bytes, positioned at the beginning.
    explicit TMemoryStream(std::span<const std::uint8_t> Bytes) : FData(Bytes.begin(), Bytes.end())
    {}

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::uint64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::uint64_t GetSize() const override { return FData.size(); }

    // Truncates or zero-extends the buffer; the position stays within it.
    void SetSize(std::size_t SizeBytes);
    void Clear();
    std::span<const std::uint8_t> GetData() const { return FData; }
    std::vector<std::uint8_t> TakeData();

private:
    std::vector<std::uint8_t> FData;
    std::size_t FPosition = 0;
};
