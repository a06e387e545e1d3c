#include "hexedit/Numbase.h"

#include "hexedit/Strutil.h"

namespace {

constexpr std::uint32_t MaxValue = 0xFFFFFFFFu;

// Decimal digits without std::strtoul: its unsigned long is 64 bits here and 32 bits on
// Windows, so the same text would give different values. This one gives the 32-bit answer on
// every platform and never overflows while reading a long run of digits.
std::uint32_t ParseDecimal(const char* Text)
{
    const char* P = SkipSpace(Text);
    bool Negative = false;
    if (*P == '+' || *P == '-') {
        Negative = *P == '-';
        ++P;
    }
    std::uint64_t Magnitude = 0;
    bool OutOfRange = false;
    for (; *P >= '0' && *P <= '9'; ++P) {
        if (!OutOfRange) {
            Magnitude = Magnitude * 10 + static_cast<std::uint64_t>(*P - '0');
            OutOfRange = Magnitude > MaxValue;
        }
    }
    if (OutOfRange)
        return MaxValue;
    const auto Value = static_cast<std::uint32_t>(Magnitude);
    return Negative ? 0u - Value : Value;
}

} // namespace

std::uint32_t ParseNumber(const char* Text)
{
    if (Text == nullptr)
        return 0;
    if (Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X'))
        return ParseHex(Text + 2);
    return ParseDecimal(Text);
}

std::uint32_t ParseHex(const char* Text)
{
    std::uint32_t Value = 0;
    if (Text == nullptr)
        return Value;
    for (; *Text != '\0'; ++Text) {
        const int Digit = HexDigitValue(*Text);
        if (Digit >= 0)
            Value = (Value << 4) | static_cast<std::uint32_t>(Digit);
    }
    return Value;
}

std::size_t ParseHexBytes(const char* Text, std::uint8_t* Out, std::size_t Capacity)
{
    std::size_t Count = 0;
    if (Text == nullptr || Out == nullptr)
        return Count;
    int Digits = 0;
    unsigned Value = 0;
    // A byte is written when it ends; a full buffer ends the reading, so a text with more bytes
    // than the caller has room for is cut short instead of overrunning the buffer.
    for (const char* P = SkipSpace(Text); *P != '\0' && Count < Capacity; ++P) {
        const int Digit = HexDigitValue(*P);
        if (Digits == 2 || Digit < 0) {
            if (Digits > 0)
                Out[Count++] = static_cast<std::uint8_t>(Value);
            Digits = 0;
            Value = 0;
        }
        if (Digit >= 0 && Count < Capacity) {
            Value = Value * 16 + static_cast<unsigned>(Digit);
            ++Digits;
        }
    }
    if (Digits > 0 && Count < Capacity)
        Out[Count++] = static_cast<std::uint8_t>(Value);
    return Count;
}

int NumberToBytes(const char* Text, std::uint8_t (&Out)[4])
{
    const std::uint32_t Value = ParseNumber(Text);
    const int Count = Value < 0x100u ? 1 : Value < 0x10000u ? 2 : 4;
    for (int I = 0; I < Count; ++I)
        Out[I] = static_cast<std::uint8_t>(Value >> (8 * (Count - 1 - I)));
    return Count;
}

int DecimalDigits(int GroupSize)
{
    switch (GroupSize) {
    case 2:
        return 5;
    case 3:
        return 8;
    case 4:
        return 10;
    default:
        return 3;
    }
}
