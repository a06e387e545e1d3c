#pragma once

#include <optional>
#include <string>

// Login items of the X11 port: desktop entries in $XDG_CONFIG_HOME/autostart, NAME.desktop for
// the item NAME, which desktops start at login. The command line is kept exactly: Exec holds it
// with the escapes of the desktop entry format ("%%" for '%', "\\\\" for '\\', "\\n" ...), so
// reading the item back gives what was set. A name that is not a plain file name (empty, ".",
// "..", or with a '/') is refused rather than written somewhere else.
class TAutostartFolder
{
public:
    static std::string GetFolder();
    static std::string GetEntryPath(const std::string& Name);
    static bool Set(const std::string& Name, const std::string& CommandLine);
    // True when the item is gone afterwards (also when there was none).
    static bool Remove(const std::string& Name);
    static std::optional<std::string> Get(const std::string& Name);

    // The desktop entry format's escapes of an Exec value, and back.
    static std::string EscapeExec(const std::string& CommandLine);
    static std::string UnescapeExec(const std::string& Value);
};
