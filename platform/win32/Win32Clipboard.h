#pragma once

#include <optional>
#include <string>

// The Windows clipboard's text as CF_UNICODETEXT, converted from and to UTF-8. Owner is the
// window that owns what is put (EmptyClipboard needs one for SetClipboardData to succeed).
bool PutWin32ClipboardText(void* Owner, const std::string& Utf8);
std::optional<std::string> GetWin32ClipboardText(void* Owner);
