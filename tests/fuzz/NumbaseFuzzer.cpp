// The number and byte-string readers on any text, against the C library and against each other:
// ParseNumber's decimal reading is strtoull's, narrowed to 32 bits as the reader promises;
// NumberToBytes holds ParseNumber's value in as few bytes as it fits; ParseHexBytes stays within
// the room it is given and reads the same bytes whatever room is left after them.

#include "hexedit/Numbase.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Decimal text as the C library reads it: white space, one sign, then strtoull of the digits
// alone (so that its own sign handling is never used); beyond 32 bits the largest value.
std::uint32_t DecimalOracle(const char* Text)
{
    while (*Text == ' ' || (*Text >= '\t' && *Text <= '\r'))
        ++Text;
    const bool Negative = *Text == '-';
    if (*Text == '+' || *Text == '-')
        ++Text;
    if (*Text < '0' || *Text > '9')
        return 0;
    errno = 0;
    const unsigned long long Magnitude = std::strtoull(Text, nullptr, 10);
    if (errno == ERANGE || Magnitude > 0xFFFFFFFFull)
        return 0xFFFFFFFFu;
    const auto Value = static_cast<std::uint32_t>(Magnitude);
    return Negative ? 0u - Value : Value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string Text(reinterpret_cast<const char*>(Data), Size); // stops at a NUL
    const char* C = Text.c_str();

    const std::uint32_t Number = ParseNumber(C);
    const bool Hex = C[0] == '0' && (C[1] == 'x' || C[1] == 'X');
    FuzzCheck(Number == (Hex ? ParseHex(C + 2) : DecimalOracle(C)), "ParseNumber");

    std::uint8_t Bytes[4] = {};
    const int Count = NumberToBytes(C, Bytes);
    const int Fewest = Number > 0xFFFF ? 4 : Number > 0xFF ? 2 : 1;
    FuzzCheck(Count == Fewest, "NumberToBytes count");
    std::uint32_t Joined = 0;
    for (int I = 0; I < Count; ++I)
        Joined = Joined << 8 | Bytes[I];
    FuzzCheck(Joined == Number, "NumberToBytes value");

    // Guard bytes after the room catch a write past it.
    std::uint8_t Full[512 + 8], Cut[512 + 8];
    std::fill(std::begin(Full), std::end(Full), 0xA5);
    std::fill(std::begin(Cut), std::end(Cut), 0xA5);
    const std::size_t All = ParseHexBytes(C, Full, 512);
    FuzzCheck(All <= 512, "ParseHexBytes wrote more than its room");
    const std::size_t Room = All / 2;
    const std::size_t Some = ParseHexBytes(C, Cut, Room);
    FuzzCheck(Some == Room, "ParseHexBytes stopped short of its room");
    FuzzCheck(std::equal(Cut, Cut + Room, Full), "ParseHexBytes read other bytes with less room");
    FuzzCheck(std::all_of(Full + All, std::end(Full), [](std::uint8_t B) { return B == 0xA5; }) &&
                  std::all_of(Cut + Room, std::end(Cut), [](std::uint8_t B) { return B == 0xA5; }),
              "ParseHexBytes wrote past its count");
    return 0;
}
