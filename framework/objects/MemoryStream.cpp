#include "framework/objects/MemoryStream.h"

#include <algorithm>
#include <cstring>

std::size_t TMemoryStream::Read(void* Buffer, std::size_t Count)
{
    const std::size_t Available = FPosition < FData.size() ? FData.size() - FPosition : 0;
    const std::size_t N = std::min(Count, Available);
    if (N != 0)
        std::memcpy(Buffer, FData.data() + FPosition, N);
    FPosition += N;
    return N;
}

std::size_t TMemoryStream::Write(const void* Buffer, std::size_t Count)
{
    if (Count == 0)
        return 0;
    if (FData.size() - FPosition < Count)
        FData.resize(FPosition + Count);
    std::memcpy(FData.data() + FPosition, Buffer, Count);
    FPosition += Count;
    return Count;
}

std::uint64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    std::int64_t Base = 0;
    if (Origin == TSeekOrigin::soCurrent)
        Base = std::int64_t(FPosition);
    else if (Origin == TSeekOrigin::soEnd)
        Base = std::int64_t(FData.size());
    const std::int64_t Size = std::int64_t(FData.size());
    // Offsets from a base inside the buffer cannot overflow once clamped against its size.
    const std::int64_t Target = Offset < -Base ? 0 : (Offset > Size - Base ? Size : Base + Offset);
    FPosition = std::size_t(Target);
    return FPosition;
}

void TMemoryStream::SetSize(std::size_t SizeBytes)
{
    FData.resize(SizeBytes);
    FPosition = std::min(FPosition, SizeBytes);
}

void TMemoryStream::Clear()
{
    FData.clear();
    FPosition = 0;
}

std::vector<std::uint8_t> TMemoryStream::TakeData()
{
    std::vector<std::uint8_t> Result = std::move(FData);
    FData.clear();
    FPosition = 0;
    return Result;
}
