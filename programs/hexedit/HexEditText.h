#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The dialogs' reading of typed numbers, stricter than the editor's own: a text it would read as
// some other number is refused instead.

// Text without the blanks (spaces, tabs, line breaks) at either end.
std::string TrimBlanks(const std::string& Text);

// The value of Text, blanks at the ends aside, when it is nothing but digits of Base (10 or 16)
// or, with HexPrefix, "0x" or "0X" and hexadecimal digits; values past 32 bits read as 2^32.
std::optional<std::uint64_t> ReadWholeNumber(const std::string& Text, int Base, bool HexPrefix);

// Whether Text holds hexadecimal digits, and nothing but them, blanks and the separators , ; : -.
bool IsHexByteText(const std::string& Text);
