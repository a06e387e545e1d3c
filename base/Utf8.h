#pragma once

#include <string>
#include <string_view>

// Decodes UTF-8 into code points. Malformed input never stops the decoding: each maximal
// ill-formed subsequence (a stray continuation byte, a truncated sequence, an overlong form, a
// surrogate, anything above U+10FFFF) becomes one U+FFFD and decoding resumes after it.
std::u32string DecodeUtf8(std::string_view Utf8);
