#include "base/Utf8.h"

#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <random>

struct TUtf8Case
{
    const char* Name;
    std::string Bytes;
    std::u32string Codes;
};

class Utf8Decode : public testing::TestWithParam<TUtf8Case>
{};

TEST_P(Utf8Decode, Decodes)
{
    EXPECT_EQ(DecodeUtf8(GetParam().Bytes), GetParam().Codes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Decode,
    testing::Values(TUtf8Case{"Ascii", "Az~", U"Az~"}, TUtf8Case{"Empty", "", U""},
                    TUtf8Case{"TwoBytes", "\xC3\xA9", U"\u00E9"},
                    TUtf8Case{"ThreeBytes", "\xE2\x82\xAC", U"\u20AC"},
                    TUtf8Case{"FourBytes", "\xF0\x9F\x98\x80", U"\U0001F600"},
                    TUtf8Case{"Highest", "\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
                    TUtf8Case{"EmbeddedNul", std::string("a\0b", 3), std::u32string(U"a\0b", 3)},
                    TUtf8Case{"StrayContinuation",
                              "\x80"
                              "A",
                              U"\uFFFDA"},
                    TUtf8Case{"TruncatedAtEnd", "A\xE2\x82", U"A\uFFFD"},
                    TUtf8Case{"TruncatedBeforeAscii",
                              "\xE2\x82"
                              "A",
                              U"\uFFFDA"},
                    TUtf8Case{"OverlongTwo", "\xC0\xAF", U"\uFFFD\uFFFD"},
                    TUtf8Case{"OverlongThree", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
                    TUtf8Case{"Surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
                    TUtf8Case{"AboveMaximum", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
                    TUtf8Case{"InvalidLeads", "\xF5\xFF\xFE", U"\uFFFD\uFFFD\uFFFD"},
                    TUtf8Case{"LeadThenLead", "\xC3\xC3\xA9", U"\uFFFD\u00E9"}),
    ByName{});

// Random code points encoded by the textbook rule decode back; random bytes never fail and
// every byte is accounted for (no more code points than bytes).
TEST(Utf8, RoundTripsAndSurvivesNoise)
{
    std::mt19937 Random(11);
    for (int I = 0; I < 2000; ++I) {
        char32_t C = Random() % 0x110000;
        if (C >= 0xD800 && C <= 0xDFFF)
            continue;
        std::string S;
        if (C < 0x80) {
            S += char(C);
        } else if (C < 0x800) {
            S += char(0xC0 | (C >> 6));
            S += char(0x80 | (C & 0x3F));
        } else if (C < 0x10000) {
            S += char(0xE0 | (C >> 12));
            S += char(0x80 | ((C >> 6) & 0x3F));
            S += char(0x80 | (C & 0x3F));
        } else {
            S += char(0xF0 | (C >> 18));
            S += char(0x80 | ((C >> 12) & 0x3F));
            S += char(0x80 | ((C >> 6) & 0x3F));
            S += char(0x80 | (C & 0x3F));
        }
        ASSERT_EQ(DecodeUtf8(S), std::u32string(1, C));
    }
    for (int I = 0; I < 500; ++I) {
        std::string Noise(Random() % 32, '\0');
        for (char& Ch : Noise)
            Ch = char(Random());
        const std::u32string Codes = DecodeUtf8(Noise);
        ASSERT_LE(Codes.size(), Noise.size());
        for (char32_t C : Codes)
            ASSERT_TRUE(C < 0xD800 || (C > 0xDFFF && C <= 0x10FFFF));
    }
}
