#include "hexedit/Numbase.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

struct TNumberCase
{
    const char* Text;
    std::uint32_t Value;
};

TEST(NumbaseTest, ParseNumberExamples)
{
    const TNumberCase Cases[] = {
        {"255", 255},
        {"0xff", 255},
        {"0XFF", 255},
        {" 0x10", 0},
        {"-1", 0xFFFFFFFFu},
        {"", 0},
        {"abc", 0},
        {"  +42z", 42},
        {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0xFFFFFFFFu},
        {"-4294967296", 0xFFFFFFFFu},
        {"99999999999999999999999", 0xFFFFFFFFu},
        {"-2147483648", 0x80000000u},
        {"0x", 0},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(ParseNumber(C.Text), C.Value) << '"' << C.Text << '"';
    EXPECT_EQ(ParseNumber(nullptr), 0u);
}

TEST(NumbaseTest, ParseHexExamples)
{
    const TNumberCase Cases[] = {
        {"12 34", 0x1234}, {"0x1F", 0x1F},   {"123456789", 0x23456789}, {"", 0},
        {"xyz", 0},        {"aBcD", 0xABCD}, {"ffffffff1", 0xFFFFFFF1},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(ParseHex(C.Text), C.Value) << '"' << C.Text << '"';
}

TEST(NumbaseTest, HexDigitValueOfEveryCharacter)
{
    const std::string Digits = "0123456789abcdef", Upper = "ABCDEF";
    for (int C = CHAR_MIN; C <= CHAR_MAX; ++C) {
        const auto Ch = static_cast<char>(C);
        int Expected = -1;
        if (const auto Pos = Digits.find(Ch); Ch != '\0' && Pos != std::string::npos)
            Expected = static_cast<int>(Pos);
        else if (const auto UpperPos = Upper.find(Ch); Ch != '\0' && UpperPos != std::string::npos)
            Expected = 10 + static_cast<int>(UpperPos);
        EXPECT_EQ(HexDigitValue(Ch), Expected) << C;
    }
}

TEST(NumbaseTest, ParseHexBytesExamples)
{
    const struct
    {
        const char* Text;
        std::vector<std::uint8_t> Bytes;
    } Cases[] = {
        {"41 4 2", {0x41, 0x04, 0x02}},
        {"414", {0x41, 0x04}},
        {"ghost", {}},
        {"  \t4142", {0x41, 0x42}},
        {"", {}},
        {"F,e0", {0x0F, 0xE0}},
    };
    for (const auto& C : Cases) {
        std::uint8_t Out[16] = {};
        const std::size_t Count = ParseHexBytes(C.Text, Out, sizeof Out);
        EXPECT_EQ(std::vector<std::uint8_t>(Out, Out + Count), C.Bytes) << '"' << C.Text << '"';
    }
}

TEST(NumbaseTest, ParseHexBytesStopsAtTheBuffersEnd)
{
    for (std::size_t Capacity = 0; Capacity <= 4; ++Capacity) {
        std::uint8_t Out[8];
        std::fill(std::begin(Out), std::end(Out), 0xEE);
        const std::size_t Count = ParseHexBytes("01 02 3 0405", Out, Capacity);
        EXPECT_EQ(Count, Capacity);
        for (std::size_t I = 0; I < Count; ++I)
            EXPECT_EQ(Out[I], I + 1);
        for (std::size_t I = Capacity; I < sizeof Out; ++I)
            EXPECT_EQ(Out[I], 0xEE) << "byte " << I << " written with room for " << Capacity;
    }
}

TEST(NumbaseTest, NumberToBytesExamples)
{
    const struct
    {
        const char* Text;
        std::vector<std::uint8_t> Bytes;
    } Cases[] = {
        {"0", {0}},
        {"255", {0xFF}},
        {"256", {0x01, 0x00}},
        {"0xffff", {0xFF, 0xFF}},
        {"0x10000", {0x00, 0x01, 0x00, 0x00}},
        {"-1", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"0x12345678", {0x12, 0x34, 0x56, 0x78}},
    };
    for (const auto& C : Cases) {
        std::uint8_t Out[4] = {};
        const int Count = NumberToBytes(C.Text, Out);
        EXPECT_EQ(std::vector<std::uint8_t>(Out, Out + Count), C.Bytes) << '"' << C.Text << '"';
    }
}

TEST(NumbaseTest, DecimalDigitsHoldTheLargestGroupValue)
{
    for (int Size = 1; Size <= 4; ++Size) {
        const unsigned long long Largest = (1ull << (8 * Size)) - 1;
        EXPECT_EQ(DecimalDigits(Size), static_cast<int>(std::to_string(Largest).size()));
    }
    for (const int Size : {-1, 0, 5, 8})
        EXPECT_EQ(DecimalDigits(Size), 3) << Size;
}

// A random text over characters that matter to the parsers, sometimes in the shape of a number.
std::string RandomText(std::mt19937& Random)
{
    static const std::string Alphabet = "0123456789012345678901234567890123456789abcdefABCDEFxXg"
                                        " \t\n\v\f\r+-.,\xC3\xA9";
    static const char* Prefixes[] = {"", "", " ", "-", "+", "0x", "0X", " -", "\t+", "--", "0"};
    std::string Text = Prefixes[Random() % std::size(Prefixes)];
    for (std::size_t N = Random() % 24; N > 0; --N)
        Text += Alphabet[Random() % Alphabet.size()];
    return Text;
}

// The C library's reading of the decimal text, as strtoul reads it into a 32-bit unsigned long.
std::uint32_t LibraryDecimal(const std::string& Text)
{
    errno = 0;
    const unsigned long long Value = std::strtoull(Text.c_str(), nullptr, 10);
    const bool OutOfRange = errno == ERANGE;
    const std::size_t First = Text.find_first_not_of(" \t\n\v\f\r");
    const bool Negative = First != std::string::npos && Text[First] == '-';
    const unsigned long long Magnitude = Negative ? 0ull - Value : Value;
    if (OutOfRange || Magnitude > 0xFFFFFFFFull)
        return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(Value);
}

// The hexadecimal digits of Text, the last eight of them, as strtoul reads them.
std::uint32_t LibraryHex(const std::string& Text)
{
    std::string Digits;
    for (const char C : Text)
        if (std::isxdigit(static_cast<unsigned char>(C)))
            Digits += C;
    if (Digits.size() > 8)
        Digits.erase(0, Digits.size() - 8);
    return static_cast<std::uint32_t>(std::strtoul(Digits.c_str(), nullptr, 16));
}

TEST(NumbaseTest, ParseNumberReadsAsTheCLibrary)
{
    std::mt19937 Random(1414);
    int Decimals = 0;
    for (int I = 0; I < 200000; ++I) {
        const std::string Text = RandomText(Random);
        const bool Hex = Text.size() >= 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X');
        const std::uint32_t Expected = Hex ? LibraryHex(Text.substr(2)) : LibraryDecimal(Text);
        ASSERT_EQ(ParseNumber(Text.c_str()), Expected) << '"' << Text << '"';
        if (Hex)
            continue;
        ++Decimals;
        // Where a signed 32-bit reading holds the value, strtol agrees modulo 2^32.
        errno = 0;
        const long Signed = std::strtol(Text.c_str(), nullptr, 10);
        if (errno == 0 && Signed >= INT32_MIN && Signed <= INT32_MAX) {
            ASSERT_EQ(ParseNumber(Text.c_str()), static_cast<std::uint32_t>(Signed)) << Text;
        }
    }
    EXPECT_GT(Decimals, 100000);
}

// Maximal runs of hexadecimal digits after the leading white space, each cut into pairs from
// its left, an odd last digit a byte of its own.
std::vector<std::uint8_t> RunsAsBytes(const std::string& Text)
{
    std::vector<std::uint8_t> Bytes;
    std::size_t P = Text.find_first_not_of(" \t\n\v\f\r");
    while (P != std::string::npos && P < Text.size()) {
        const std::size_t Start = P;
        while (P < Text.size() && std::isxdigit(static_cast<unsigned char>(Text[P])))
            ++P;
        for (std::size_t K = Start; K < P; K += 2)
            Bytes.push_back(static_cast<std::uint8_t>(
                std::stoul(Text.substr(K, std::min<std::size_t>(2, P - K)), nullptr, 16)));
        if (P == Start)
            ++P;
    }
    return Bytes;
}

TEST(NumbaseTest, ParseHexBytesCutsDigitRunsIntoPairs)
{
    std::mt19937 Random(4142);
    for (int I = 0; I < 100000; ++I) {
        const std::string Text = RandomText(Random);
        std::vector<std::uint8_t> Out(Text.size() + 1, 0);
        const std::size_t Count = ParseHexBytes(Text.c_str(), Out.data(), Out.size());
        Out.resize(Count);
        ASSERT_EQ(Out, RunsAsBytes(Text)) << '"' << Text << '"';
    }
}

} // namespace
