#include "platform/posix/AutostartFolder.h"

#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <unistd.h>

namespace {

bool IsPlainName(const std::string& Name)
{
    return !Name.empty() && Name != "." && Name != ".." &&
           Name.find_first_of("/\r\n") == std::string::npos && Name.find('\0') == std::string::npos;
}

// The Name key is a string of its own: the same escapes without the '%' rule.
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

} // namespace

std::string TAutostartFolder::GetFolder()
{
    return GetConfigHome() + "/autostart";
}

std::string TAutostartFolder::GetEntryPath(const std::string& Name)
{
    return GetFolder() + "/" + Name + ".desktop";
}

std::string TAutostartFolder::EscapeExec(const std::string& CommandLine)
{
    std::string Out;
    for (char C : EscapeString(CommandLine)) {
        if (C == '%')
            Out += "%%";
        else
            Out += C;
    }
    return Out;
}

std::string TAutostartFolder::UnescapeExec(const std::string& Value)
{
    std::string Out;
    for (std::size_t I = 0; I < Value.size(); ++I) {
        const char C = Value[I];
        if (C == '%' && I + 1 < Value.size() && Value[I + 1] == '%') {
            Out += '%';
            ++I;
        } else if (C == '\\' && I + 1 < Value.size()) {
            const char E = Value[++I];
            Out += E == 'n' ? '\n' : E == 'r' ? '\r' : E == 't' ? '\t' : E == 's' ? ' ' : E;
        } else {
            Out += C;
        }
    }
    return Out;
}

bool TAutostartFolder::Set(const std::string& Name, const std::string& CommandLine)
{
    if (!IsPlainName(Name) || !MakeFolders(GetFolder(), 0700))
        return false;
    const std::string Entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=" +
                              EscapeString(Name) +
                              "\n"
                              "Exec=" +
                              EscapeExec(CommandLine) +
                              "\n"
                              "Terminal=false\n"
                              "X-GNOME-Autostart-enabled=true\n";
    return WriteFileAtomically(GetEntryPath(Name), Entry, 0644);
}

bool TAutostartFolder::Remove(const std::string& Name)
{
    if (!IsPlainName(Name))
        return false;
    return unlink(GetEntryPath(Name).c_str()) == 0 || errno == ENOENT;
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
