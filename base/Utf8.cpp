#include "base/Utf8.h"

#include <cstdint>

std::u32string DecodeUtf8(std::string_view Utf8)
{
    constexpr char32_t Replacement = 0xFFFD;
    std::u32string Result;
    Result.reserve(Utf8.size());
    std::size_t I = 0;
    while (I < Utf8.size()) {
        const auto Lead = std::uint8_t(Utf8[I]);
        if (Lead < 0x80) {
            Result.push_back(Lead);
            ++I;
            continue;
        }
        int Length = 0;
        char32_t Code = 0;
        // The accepted range of the second byte excludes overlong forms, surrogates and values
        // beyond U+10FFFF, so that a sequence is refused as soon as it cannot become valid.
        std::uint8_t Low = 0x80;
        std::uint8_t High = 0xBF;
        if (Lead >= 0xC2 && Lead <= 0xDF) {
            Length = 2;
            Code = Lead & 0x1F;
        } else if (Lead >= 0xE0 && Lead <= 0xEF) {
            Length = 3;
            Code = Lead & 0x0F;
            if (Lead == 0xE0)
                Low = 0xA0;
            else if (Lead == 0xED)
                High = 0x9F;
        } else if (Lead >= 0xF0 && Lead <= 0xF4) {
            Length = 4;
            Code = Lead & 0x07;
            if (Lead == 0xF0)
                Low = 0x90;
            else if (Lead == 0xF4)
                High = 0x8F;
        } else {
            Result.push_back(Replacement);
            ++I;
            continue;
        }
        std::size_t J = I + 1;
        bool Valid = true;
        for (int K = 1; K < Length; ++K, ++J) {
            if (J >= Utf8.size()) {
                Valid = false;
                break;
            }
            const auto Byte = std::uint8_t(Utf8[J]);
            const std::uint8_t Min = K == 1 ? Low : 0x80;
            const std::uint8_t Max = K == 1 ? High : 0xBF;
            if (Byte < Min || Byte > Max) {
                Valid = false;
                break;
            }
            Code = (Code << 6) | (Byte & 0x3F);
        }
        Result.push_back(Valid ? Code : Replacement);
        I = J;
    }
    return Result;
}
