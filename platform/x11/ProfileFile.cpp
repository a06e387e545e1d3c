#include "platform/x11/ProfileFile.h"

#include "platform/x11/PosixFiles.h"

#include <cerrno>
#include <optional>
#include <vector>

namespace {

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

std::string Trim(const std::string& S)
{
    std::size_t First = 0;
    std::size_t Last = S.size();
    while (First < Last && IsBlank(S[First]))
        ++First;
    while (Last > First && IsBlank(S[Last - 1]))
        --Last;
    return S.substr(First, Last - First);
}

bool SameName(const std::string& A, const std::string& B)
{
    if (A.size() != B.size())
        return false;
    for (std::size_t I = 0; I < A.size(); ++I) {
        char X = A[I], Y = B[I];
        if (X >= 'A' && X <= 'Z')
            X = static_cast<char>(X - 'A' + 'a');
        if (Y >= 'A' && Y <= 'Z')
            Y = static_cast<char>(Y - 'A' + 'a');
        if (X != Y)
            return false;
    }
    return true;
}

bool HasLineBreak(const std::string& S)
{
    return S.find_first_of("\r\n") != std::string::npos;
}

// A file as its lines, without their line ends.
struct TLines
{
    std::vector<std::string> Lines;
    bool Crlf = false;
};

TLines SplitLines(const std::string& Text)
{
    TLines L;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        std::size_t End = Text.find('\n', Start);
        if (End == std::string::npos)
            End = Text.size();
        std::string Line = Text.substr(Start, End - Start);
        if (!Line.empty() && Line.back() == '\r') {
            Line.pop_back();
            L.Crlf = true;
        }
        L.Lines.push_back(std::move(Line));
        Start = End + 1;
    }
    return L;
}

// The section a line opens, if it opens one.
std::optional<std::string> SectionOf(const std::string& Line)
{
    const std::string T = Trim(Line);
    if (T.empty() || T[0] != '[')
        return std::nullopt;
    const std::size_t Close = T.find(']');
    return Trim(T.substr(1, (Close == std::string::npos ? T.size() : Close) - 1));
}

// The key and raw value of an entry line, if it is one.
bool EntryOf(const std::string& Line, std::string& Key, std::string& Value)
{
    const std::size_t Equals = Line.find('=');
    if (Equals == std::string::npos || Trim(Line).starts_with(";"))
        return false;
    Key = Trim(Line.substr(0, Equals));
    Value = Line.substr(Equals + 1);
    return true;
}

} // namespace

std::string TProfileFile::Read(const std::string& Path, const std::string& Section,
                               const std::string& Key, const std::string& Default)
{
    std::string Fallback = Default;
    while (!Fallback.empty() && IsBlank(Fallback.back()))
        Fallback.pop_back();
    const std::optional<std::string> Text = ReadWholeFile(Path);
    if (!Text)
        return Fallback;
    bool InSection = false;
    bool SeenSection = false;
    for (const std::string& Line : SplitLines(*Text).Lines) {
        if (const std::optional<std::string> Name = SectionOf(Line)) {
            if (SeenSection && InSection)
                break; // only the first matching section counts
            InSection = SameName(*Name, Section);
            SeenSection = SeenSection || InSection;
            continue;
        }
        std::string K, V;
        if (InSection && EntryOf(Line, K, V) && SameName(K, Key)) {
            V = Trim(V);
            if (V.size() >= 2 && (V.front() == '"' || V.front() == '\'') && V.back() == V.front())
                V = V.substr(1, V.size() - 2);
            return V;
        }
    }
    return Fallback;
}

bool TProfileFile::Write(const std::string& Path, const std::string& Section,
                         const std::string& Key, const std::string& Value)
{
    if (Path.empty() || HasLineBreak(Section) || HasLineBreak(Key) || HasLineBreak(Value))
        return false;
    std::optional<std::string> Text = ReadWholeFile(Path);
    if (!Text && errno != ENOENT)
        return false; // unreadable: rewriting it would lose what it holds
    TLines File = SplitLines(Text.value_or(std::string()));
    std::vector<std::string>& Lines = File.Lines;
    const std::string Entry = Key + "=" + Value;

    std::size_t SectionLine = Lines.size();
    for (std::size_t I = 0; I < Lines.size(); ++I)
        if (const std::optional<std::string> Name = SectionOf(Lines[I]);
            Name && SameName(*Name, Section)) {
            SectionLine = I;
            break;
        }
    if (SectionLine == Lines.size()) {
        Lines.push_back("[" + Section + "]");
        Lines.push_back(Entry);
    } else {
        // Replace the key in the section, or add it after the section's last entry.
        std::size_t Insert = SectionLine + 1;
        bool Replaced = false;
        for (std::size_t I = SectionLine + 1; I < Lines.size() && !SectionOf(Lines[I]); ++I) {
            std::string K, V;
            if (EntryOf(Lines[I], K, V)) {
                if (SameName(K, Key)) {
                    Lines[I] = K + "=" + Value; // the key keeps the spelling it has
                    Replaced = true;
                    break;
                }
                Insert = I + 1;
            }
        }
        if (!Replaced)
            Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(Insert), Entry);
    }
    std::string Out;
    for (const std::string& Line : Lines)
        Out += Line + (File.Crlf ? "\r\n" : "\n");
    return WriteFileAtomically(Path, Out, 0644);
}
