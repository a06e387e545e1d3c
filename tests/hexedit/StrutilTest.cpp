#include "hexedit/Strutil.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(StrutilTest, SkipSpaceAndTrimSpace)
{
    const struct
    {
        std::string Text;
        std::string Skipped;
        std::string Trimmed;
    } Cases[] = {
        {"", "", ""},
        {"   ", "", ""},
        {" \t\n\v\f\r", "", ""},
        {"abc", "abc", "abc"},
        {"  a b  ", "a b  ", "a b"},
        {"\tx\r\n", "x\r\n", "x"},
        {"\xC3\xA9 ", "\xC3\xA9 ", "\xC3\xA9"},
        {"\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0"},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(std::string(SkipSpace(C.Text.c_str())), C.Skipped) << '"' << C.Text << '"';
        std::string Buffer = C.Text;
        const char* Trimmed = TrimSpace(Buffer.data());
        EXPECT_EQ(std::string(Trimmed), C.Trimmed) << '"' << C.Text << '"';
        // The trailing blanks are cut in the caller's own buffer.
        EXPECT_EQ(std::string(Buffer.c_str()).size(),
                  C.Text.find_first_not_of(" \t\n\v\f\r") == std::string::npos
                      ? 0
                      : C.Text.find_last_not_of(" \t\n\v\f\r") + 1)
            << '"' << C.Text << '"';
    }
}

TEST(StrutilTest, TrimSpaceWritesNothingBeforeTheText)
{
    // An empty text right after a blank: the blank is not the text's to cut.
    char Buffer[] = {' ', '\0'};
    EXPECT_EQ(std::string(TrimSpace(Buffer + 1)), "");
    EXPECT_EQ(Buffer[0], ' ');
}

TEST(StrutilTest, NullTextGivesNull)
{
    EXPECT_EQ(SkipSpace(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(TrimSpace(nullptr), nullptr);
}

} // namespace
