#include "platform/posix/AutostartFolder.h"

#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <string_view>
#include <unistd.h>

namespace {

bool IsPlainName(const std::string& Name)
{
    return !Name.empty() && Name != "." && Name != ".." &&
           Name.find_first_of("/\r\n") == std::string::npos && Name.find('\0') == std::string::npos;
}

// The escapes of a string value: the Name key, and Exec once its '%' are doubled.
std::string EscapeString(const std::string& Text)
{
    std::string Out;
    for (char C : Text) {
        switch (C) {
        case '\\':
            Out += "\\\\";
            break;
        case '\n':
            Out += "\\n";
            break;
        case '\r':
            Out += "\\r";
            break;
        case '\t':
            Out += "\\t";
            break;
        default:
            Out += C;
        }
    }
    // A leading blank would be lost to the reader's trimming.
    if (!Out.empty() && Out[0] == ' ')
        Out.replace(0, 1, "\\s");
    return Out;
}

// Characters that the desktop reads as more than themselves outside double quotes.
constexpr std::string_view Reserved = " \t\n\"'\\><~|&;$*?#()`";

// A word of the Exec value: in double quotes when it needs them (an empty word too, which would
// vanish otherwise), where '"', '`', '$' and '\\' take a backslash.
std::string QuoteWord(const std::string& Word, bool Always)
{
    if (!Always && !Word.empty() && Word.find_first_of(Reserved) == std::string::npos)
        return Word;
    std::string Out = "\"";
    for (char C : Word) {
        if (C == '"' || C == '`' || C == '$' || C == '\\')
            Out += '\\';
        Out += C;
    }
    return Out + "\"";
}

} // namespace

std::string TAutostartFolder::GetFolder()
{
    return GetConfigHome() + "/autostart";
}

std::string TAutostartFolder::GetEntryPath(const std::string& Name)
{
    return GetFolder() + "/" + Name + ".desktop";
}

std::string TAutostartFolder::FormatExec(const TLoginCommand& Command)
{
    std::string Words = QuoteWord(Command.Program, true);
    for (const std::string& Argument : Command.Arguments)
        Words += " " + QuoteWord(Argument, false);
    std::string Line;
    for (char C : Words) {
        if (C == '%')
            Line += "%%";
        else
            Line += C;
    }
    return EscapeString(Line);
}

std::string TAutostartFolder::UnescapeExec(const std::string& Value)
{
    // The string escapes were applied last, so they come off first: "\\%%" is a backslash and
    // a '%'.
    std::string Line;
    for (std::size_t I = 0; I < Value.size(); ++I) {
        const char C = Value[I];
        if (C == '\\' && I + 1 < Value.size()) {
            const char E = Value[++I];
            Line += E == 'n' ? '\n' : E == 'r' ? '\r' : E == 't' ? '\t' : E == 's' ? ' ' : E;
        } else {
            Line += C;
        }
    }
    std::string Out;
    for (std::size_t I = 0; I < Line.size(); ++I) {
        Out += Line[I];
        if (Line[I] == '%' && I + 1 < Line.size() && Line[I + 1] == '%')
            ++I;
    }
    return Out;
}

long TAutostartFolder::Set(const std::string& Name, const TLoginCommand& Command)
{
    if (!IsPlainName(Name))
        return ERROR_INVALID_NAME;
    if (Command.Program.empty())
        return ERROR_SUCCESS;
    if (!MakeFolders(GetFolder(), 0700))
        return ERROR_ACCESS_DENIED;
    const std::string Entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=" +
                              EscapeString(Name) +
                              "\n"
                              "Exec=" +
                              FormatExec(Command) +
                              "\n"
                              "Terminal=false\n"
                              "X-GNOME-Autostart-enabled=true\n";
    return WriteFileAtomically(GetEntryPath(Name), Entry, 0644) ? ERROR_SUCCESS
                                                                : ERROR_ACCESS_DENIED;
}

long TAutostartFolder::Remove(const std::string& Name)
{
    if (!IsPlainName(Name))
        return ERROR_INVALID_NAME;
    // ENOTDIR: the folder is a file, so there is no entry in it either.
    if (unlink(GetEntryPath(Name).c_str()) == 0 || errno == ENOENT || errno == ENOTDIR)
        return ERROR_SUCCESS;
    return ERROR_ACCESS_DENIED;
}

std::optional<std::string> TAutostartFolder::Get(const std::string& Name)
{
    if (!IsPlainName(Name))
        return std::nullopt;
    const std::optional<std::string> Text = ReadWholeFile(GetEntryPath(Name));
    if (!Text)
        return std::nullopt;
    bool InEntry = false;
    std::size_t Start = 0;
    while (Start < Text->size()) {
        std::size_t End = Text->find('\n', Start);
        if (End == std::string::npos)
            End = Text->size();
        std::string Line = Text->substr(Start, End - Start);
        Start = End + 1;
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        if (Line.starts_with("["))
            InEntry = Line == "[Desktop Entry]";
        else if (InEntry && Line.starts_with("Exec="))
            return UnescapeExec(Line.substr(5));
    }
    return std::nullopt;
}
