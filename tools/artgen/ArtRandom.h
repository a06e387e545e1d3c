#pragma once

#include <cstdint>

// A small fixed-seed generator (xorshift32), so the art comes out the same on every library and
// compiler; std::random distributions promise no such thing.
class TArtRandom
{
public:
    explicit TArtRandom(std::uint32_t Seed) : FState(Seed ? Seed : 0x9E3779B9u) {}

    std::uint32_t Next()
    {
        FState ^= FState << 13;
        FState ^= FState >> 17;
        FState ^= FState << 5;
        return FState;
    }
    // A whole number in 0..Bound-1 (Bound > 0).
    int Below(int Bound) { return int(Next() % std::uint32_t(Bound)); }
    // A value in [0, 1) with 24 bits of resolution.
    double Unit() { return double(Next() >> 8) / 16777216.0; }
    // A value in [-1, 1).
    double Signed() { return Unit() * 2.0 - 1.0; }

private:
    std::uint32_t FState;
};

// A repeatable noise value in [0, 1) for a pixel, independent of the order pixels are painted in.
inline double PixelNoise(int X, int Y, std::uint32_t Seed)
{
    std::uint32_t H = std::uint32_t(X) * 0x8DA6B343u ^ std::uint32_t(Y) * 0xD8163841u ^ Seed;
    H ^= H >> 15;
    H *= 0x2C1B3C6Du;
    H ^= H >> 12;
    H *= 0x297A2D39u;
    H ^= H >> 15;
    return double(H >> 8) / 16777216.0;
}
