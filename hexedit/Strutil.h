#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// White space in search texts: blank, tab, line feed, vertical tab, form feed and carriage
// return, whatever the locale and whatever the sign of char.

// The first character of Text that is not white space (Text's terminating zero if all of it
// is). A null Text gives null.
const char* SkipSpace(const char* Text);
char* SkipSpace(char* Text);

// Cuts Text's trailing white space off in place (a zero over each trailing blank), then gives
// SkipSpace(Text). A text of white space only becomes empty. A null Text gives null.
char* TrimSpace(char* Text);

// Text cut to at most Room bytes without splitting a UTF-8 character: a cut that would land on a
// continuation byte moves back to the start of that character.
std::string FitUtf8(std::string_view Text, std::size_t Room);
