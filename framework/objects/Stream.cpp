#include "framework/objects/Stream.h"

#include "base/Exception.h"

#include <cstdint>
#include <limits>

void TStream::SetPosition(std::uint64_t Position)
{
    if (Position > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
        Position = std::uint64_t(std::numeric_limits<std::int64_t>::max());
    Seek(std::int64_t(Position), TSeekOrigin::soBeginning);
}

std::uint64_t TStream::GetRemaining()
{
    const std::uint64_t Position = GetPosition();
    const std::uint64_t Size = GetSize();
    return Position < Size ? Size - Position : 0;
}

void TStream::ReadBuffer(void* Buffer, std::size_t Count)
{
    if (Count == 0)
        return;
    if (GetRemaining() < Count)
        throw EReadError("Stream read error: " + std::to_string(Count) + " bytes wanted, " +
                         std::to_string(GetRemaining()) + " left");
    if (Read(Buffer, Count) != Count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::size_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError("Stream write error");
}

std::uint32_t TStream::ReadUInt32()
{
    std::uint8_t Bytes[4];
    ReadBuffer(Bytes, sizeof Bytes);
    return std::uint32_t(Bytes[0]) | (std::uint32_t(Bytes[1]) << 8) |
           (std::uint32_t(Bytes[2]) << 16) | (std::uint32_t(Bytes[3]) << 24);
}

void TStream::WriteUInt32(std::uint32_t Value)
{
    const std::uint8_t Bytes[4] = {std::uint8_t(Value), std::uint8_t(Value >> 8),
                                   std::uint8_t(Value >> 16), std::uint8_t(Value >> 24)};
    WriteBuffer(Bytes, sizeof Bytes);
}
