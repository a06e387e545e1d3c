#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

// A block of bytes from the system's memory, given back through the routine of whoever
// allocated it. Move-only. An empty block (no data) stands for memory that could not be had; a
// block of size 0 still has data.
class TByteBlock
{
public:
    using TRelease = void (*)(std::uint8_t* Data, std::size_t Size);

    TByteBlock() = default;
    TByteBlock(std::uint8_t* Data, std::size_t Size, TRelease Release)
        : FData(Data), FSize(Size), FRelease(Release)
    {}
    TByteBlock(TByteBlock&& Other) noexcept
        : FData(std::exchange(Other.FData, nullptr)), FSize(std::exchange(Other.FSize, 0)),
          FRelease(Other.FRelease)
    {}
    TByteBlock& operator=(TByteBlock&& Other) noexcept
    {
        if (this != &Other) {
            Reset();
            FData = std::exchange(Other.FData, nullptr);
            FSize = std::exchange(Other.FSize, 0);
            FRelease = Other.FRelease;
        }
        return *this;
    }
    TByteBlock(const TByteBlock&) = delete;
    TByteBlock& operator=(const TByteBlock&) = delete;
    ~TByteBlock() { Reset(); }

    std::uint8_t* GetData() const { return FData; }
    std::size_t GetSize() const { return FSize; }
    explicit operator bool() const { return FData != nullptr; }

    void Reset()
    {
        if (FData && FRelease)
            FRelease(FData, FSize);
        FData = nullptr;
        FSize = 0;
    }

private:
    std::uint8_t* FData = nullptr;
    std::size_t FSize = 0;
    TRelease FRelease = nullptr;
};
