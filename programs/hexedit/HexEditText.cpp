#include "programs/hexedit/HexEditText.h"

#include "hexedit/Numbase.h"

#include <algorithm>

namespace {

bool IsBlank(char C)
{
    return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\v' || C == '\f';
}

constexpr std::uint64_t Past32Bits = std::uint64_t(1) << 32;

} // namespace

std::string TrimBlanks(const std::string& Text)
{
    std::size_t From = 0, To = Text.size();
    while (From < To && IsBlank(Text[From]))
        ++From;
    while (To > From && IsBlank(Text[To - 1]))
        --To;
    return Text.substr(From, To - From);
}

std::optional<std::uint64_t> ReadWholeNumber(const std::string& Text, int Base, bool HexPrefix)
{
    std::string T = TrimBlanks(Text);
    if (HexPrefix && T.size() >= 2 && T[0] == '0' && (T[1] == 'x' || T[1] == 'X')) {
        T.erase(0, 2);
        Base = 16;
    }
    if (T.empty())
        return std::nullopt;
    std::uint64_t Value = 0;
    for (char C : T) {
        const int Digit = HexDigitValue(C);
        if (Digit < 0 || Digit >= Base)
            return std::nullopt;
        // Capped, so that a long run of digits cannot wrap round to a small value.
        Value = std::min(Value * std::uint64_t(Base) + std::uint64_t(Digit), Past32Bits);
    }
    return Value;
}

bool IsHexByteText(const std::string& Text)
{
    bool Digits = false;
    for (char C : Text) {
        if (HexDigitValue(C) >= 0)
            Digits = true;
        else if (!IsBlank(C) && C != ',' && C != ';' && C != ':' && C != '-')
            return false;
    }
    return Digits;
}
