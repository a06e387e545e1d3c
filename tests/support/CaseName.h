#pragma once

// Names of parameterised cases as test listings and CTest show them: the case's own words, kept
// readable and stable, never a dump of its bytes.

#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

// The letters and digits of Text, any other run of characters one underscore between them.
inline std::string CaseWords(std::string_view Text)
{
    std::string Words;
    for (const char C : Text) {
        if (std::isalnum(static_cast<unsigned char>(C)))
            Words += C;
        else if (!Words.empty() && Words.back() != '_')
            Words += '_';
    }
    while (!Words.empty() && Words.back() == '_')
        Words.pop_back();
    return Words;
}

// Text as a case name: its words; "Empty" when it has none, and an N before a name that would
// begin with a digit (CTest would take a name of digits alone for the case's index).
inline std::string CaseName(std::string_view Text)
{
    std::string Name = CaseWords(Text);
    if (Name.empty())
        return "Empty";
    if (std::isdigit(static_cast<unsigned char>(Name.front())))
        Name.insert(Name.begin(), 'N');
    return Name;
}

// A whole number as a word of a name: Minus before a negative one.
inline std::string NumberWord(long long Value)
{
    return Value < 0 ? "Minus" + std::to_string(-Value) : std::to_string(Value);
}

// The name of a case of a table whose cases are told apart by their text alone, which need not
// make distinct names: its place in the table, then the first words of Text.
template <typename T>
std::string NumberedName(const testing::TestParamInfo<T>& Info, std::string_view Text)
{
    const std::string Words = CaseWords(Text.substr(0, 48));
    return "Case" + std::to_string(Info.index) + (Words.empty() ? "" : "_" + Words);
}

// The name generator of tables whose cases carry a Name.
struct ByName
{
    template <typename T>
    std::string operator()(const testing::TestParamInfo<T>& Info) const
    {
        return CaseName(Info.param.Name);
    }
};
