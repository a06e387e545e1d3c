#pragma once

#include "base/HexDigit.h"

#include <cstddef>
#include <cstdint>

// Texts to numbers and byte strings, in hexadecimal and decimal. A null text reads as empty.

// "0x" or "0X" at the very start: ParseHex of the rest. Otherwise the decimal conversion of
// strtoul on a 32-bit unsigned long: leading white space and one sign allowed, digits up to the
// first non-digit, 0 without digits, a minus negating modulo 2^32, and 0xFFFFFFFF for a magnitude
// beyond 32 bits (whatever the sign).
std::uint32_t ParseNumber(const char* Text);

// Every hexadecimal digit of Text shifted in from the right (value * 16 + digit), every other
// character skipped; digits beyond the last eight are shifted out.
std::uint32_t ParseHex(const char* Text);

// After leading white space, two adjacent hexadecimal digits form a byte, a digit standing
// alone is a byte of its own and any other character ends the byte being built. Writes at most
// Capacity bytes to Out (the rest of the text is read no further) and returns how many it wrote.
std::size_t ParseHexBytes(const char* Text, std::uint8_t* Out, std::size_t Capacity);

// ParseNumber(Text) in as few of 1, 2 or 4 bytes as hold it, most significant first; returns
// the count. A negative decimal text wraps to a large value and so takes 4 bytes.
int NumberToBytes(const char* Text, std::uint8_t (&Out)[4]);

// The decimal digits of the largest unsigned value of a group of GroupSize bytes: 3, 5, 8, 10
// for 1 to 4; 3 for any other size.
int DecimalDigits(int GroupSize);
