#pragma once

#include "platform/Platform.h"

#include <optional>
#include <string>

// Login items of the X11 port: desktop entries in $XDG_CONFIG_HOME/autostart, NAME.desktop for
// the item NAME, which desktops start at login. Exec runs the program with its arguments, each
// word quoted by the desktop entry rules where it needs it (the program always), so that any path
// or argument arrives as it was given. A name that is not a plain file name (empty, ".", "..", or
// with a '/') is refused with ERROR_INVALID_NAME rather than written somewhere else.
class TAutostartFolder
{
public:
    static std::string GetFolder();
    static std::string GetEntryPath(const std::string& Name);
    // ERROR_ACCESS_DENIED when the folder cannot be made or the entry not written (the entry is
    // then as it was). An empty Program writes nothing.
    static long Set(const std::string& Name, const TLoginCommand& Command);
    // ERROR_SUCCESS when the item is gone afterwards (also when there was none).
    static long Remove(const std::string& Name);
    // The command line of the entry's Exec value, or none without an entry.
    static std::optional<std::string> Get(const std::string& Name);

    // The Exec value that runs Command: the quoted words, '%' doubled, and the escapes of a
    // string value ("\\\\" for '\\', "\\n" for a line break, ...).
    static std::string FormatExec(const TLoginCommand& Command);
    // The command line an Exec value holds: the string escapes and the doubled '%' undone, the
    // quoting kept.
    static std::string UnescapeExec(const std::string& Value);
};
