#include "hexedit/Strutil.h"

#include <cstring>

namespace {

// Spelled out rather than std::isspace: that one is undefined for negative chars (bytes of a
// UTF-8 text) and follows the locale.
bool IsSpace(char C)
{
    return C == ' ' || C == '\t' || C == '\n' || C == '\v' || C == '\f' || C == '\r';
}

} // namespace

const char* SkipSpace(const char* Text)
{
    if (Text == nullptr)
        return nullptr;
    while (IsSpace(*Text))
        ++Text;
    return Text;
}

char* SkipSpace(char* Text)
{
    return const_cast<char*>(SkipSpace(static_cast<const char*>(Text)));
}

char* TrimSpace(char* Text)
{
    if (Text == nullptr)
        return nullptr;
    // Walk back by length, never before the first character: an empty text has nothing to cut.
    std::size_t Length = std::strlen(Text);
    while (Length > 0 && IsSpace(Text[Length - 1]))
        Text[--Length] = '\0';
    return SkipSpace(Text);
}

std::string FitUtf8(std::string_view Text, std::size_t Room)
{
    if (Text.size() <= Room)
        return std::string(Text);
    std::size_t Cut = Room;
    while (Cut > 0 && (static_cast<unsigned char>(Text[Cut]) & 0xC0) == 0x80)
        --Cut;
    return std::string(Text.substr(0, Cut));
}
