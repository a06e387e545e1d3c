#pragma once

#include <cstddef>
#include <cstdint>

enum class TSeekOrigin
{
    soBeginning,
    soCurrent,
    soEnd
};

// A sequence of bytes with a position: what binary properties of a form description are read
// from and written to. Positions and sizes are in bytes.
class TStream
{
public:
    virtual ~TStream() = default;

    // Copies at most Count bytes from the position on and returns how many there were.
    virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
    // Writes Count bytes at the position and returns how many were written.
    virtual std::size_t Write(const void* Buffer, std::size_t Count) = 0;
    // Moves the position (clamped to 0 .. size) and returns the new one.
    virtual std::uint64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
    virtual std::uint64_t GetSize() const = 0;

    std::uint64_t GetPosition() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::uint64_t Position);
    // The bytes between the position and the end: the most a reader may ask for.
    std::uint64_t GetRemaining();

    // Reads exactly Count bytes or throws EReadError (consuming nothing of a short tail).
    void ReadBuffer(void* Buffer, std::size_t Count);
    // Writes exactly Count bytes or throws EWriteError.
    void WriteBuffer(const void* Buffer, std::size_t Count);

    // Little-endian 32-bit values, the byte order of the region data block.
    std::uint32_t ReadUInt32();
    std::int32_t ReadInt32() { return std::int32_t(ReadUInt32()); }
    void WriteUInt32(std::uint32_t Value);
    void WriteInt32(std::int32_t Value) { WriteUInt32(std::uint32_t(Value)); }
};
