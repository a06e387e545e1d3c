#pragma once

#include <cstdint>
#include <initializer_list>

// A set of the values of an enumeration whose ordinals run from 0 to 63, held as a bit mask
// (bit n = ordinal n), like the sets of published properties (Anchors, Options, ComponentState).
template <typename E>
class TSet
{
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> Elements)
    {
        for (E Element : Elements)
            Include(Element);
    }

    static constexpr TSet FromBits(std::uint64_t Bits)
    {
        TSet Result;
        Result.FBits = Bits;
        return Result;
    }
    constexpr std::uint64_t GetBits() const { return FBits; }

    constexpr bool Contains(E Element) const { return (FBits & Bit(Element)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E Element)
    {
        FBits |= Bit(Element);
        return *this;
    }
    constexpr TSet& Exclude(E Element)
    {
        FBits &= ~Bit(Element);
        return *this;
    }

    friend constexpr TSet operator+(TSet A, TSet B) { return FromBits(A.FBits | B.FBits); }
    friend constexpr TSet operator-(TSet A, TSet B) { return FromBits(A.FBits & ~B.FBits); }
    friend constexpr TSet operator*(TSet A, TSet B) { return FromBits(A.FBits & B.FBits); }
    friend constexpr bool operator==(TSet A, TSet B) = default;

private:
    static constexpr std::uint64_t Bit(E Element)
    {
        return std::uint64_t(1) << static_cast<unsigned>(Element);
    }

    std::uint64_t FBits = 0;
};
