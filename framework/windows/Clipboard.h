#pragma once

#include <string>

// The system clipboard as controls use it: text only, UTF-8, through the current port.
class TClipboard
{
public:
    // The clipboard's text; empty when it holds none.
    static std::string GetAsText();
    // Replaces the clipboard's contents with Text; false when the system refused it.
    static bool SetAsText(const std::string& Text);
    // True when the clipboard holds text (possibly empty).
    static bool HasText();
};
