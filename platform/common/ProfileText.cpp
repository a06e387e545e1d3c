#include "platform/common/ProfileText.h"

#include <vector>

namespace {

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

std::string_view Trim(std::string_view S)
{
    while (!S.empty() && IsBlank(S.front()))
        S.remove_prefix(1);
    while (!S.empty() && IsBlank(S.back()))
        S.remove_suffix(1);
    return S;
}

bool SameName(std::string_view A, std::string_view B)
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

// A file as its lines, without their line ends.
struct TLines
{
    std::vector<std::string_view> Lines;
    bool Crlf = false;
};

TLines SplitLines(std::string_view Text)
{
    TLines L;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        std::size_t End = Text.find('\n', Start);
        if (End == std::string_view::npos)
            End = Text.size();
        std::string_view Line = Text.substr(Start, End - Start);
        if (!Line.empty() && Line.back() == '\r') {
            Line.remove_suffix(1);
            L.Crlf = true;
        }
        L.Lines.push_back(Line);
        Start = End + 1;
    }
    return L;
}

// The section a line opens, if it opens one.
std::optional<std::string_view> SectionOf(std::string_view Line)
{
    const std::string_view T = Trim(Line);
    if (T.empty() || T[0] != '[')
        return std::nullopt;
    const std::size_t Close = T.find(']');
    return Trim(T.substr(1, (Close == std::string_view::npos ? T.size() : Close) - 1));
}

// The key and raw value of an entry line, if it is one.
bool EntryOf(std::string_view Line, std::string_view& Key, std::string_view& Value)
{
    const std::size_t Equals = Line.find('=');
    if (Equals == std::string_view::npos || Trim(Line).starts_with(";"))
        return false;
    Key = Trim(Line.substr(0, Equals));
    Value = Line.substr(Equals + 1);
    return true;
}

} // namespace

bool HasProfileLineBreak(std::string_view S)
{
    return S.find_first_of("\r\n") != std::string_view::npos;
}

std::string ReadProfileText(std::string_view Text, std::string_view Section, std::string_view Key,
                            std::string_view Default)
{
    while (!Default.empty() && IsBlank(Default.back()))
        Default.remove_suffix(1);
    bool InSection = false;
    bool SeenSection = false;
    for (const std::string_view Line : SplitLines(Text).Lines) {
        if (const std::optional<std::string_view> Name = SectionOf(Line)) {
            if (SeenSection && InSection)
                break; // only the first matching section counts
            InSection = SameName(*Name, Section);
            SeenSection = SeenSection || InSection;
            continue;
        }
        std::string_view K, V;
        if (InSection && EntryOf(Line, K, V) && SameName(K, Key)) {
            V = Trim(V);
            if (V.size() >= 2 && (V.front() == '"' || V.front() == '\'') && V.back() == V.front())
                V = V.substr(1, V.size() - 2);
            return std::string(V);
        }
    }
    return std::string(Default);
}

std::optional<std::string> WriteProfileText(std::string_view Text, std::string_view Section,
                                            std::string_view Key, std::string_view Value,
                                            std::string_view NewFileLineEnd)
{
    if (HasProfileLineBreak(Section) || HasProfileLineBreak(Key) || HasProfileLineBreak(Value))
        return std::nullopt;
    const TLines File = SplitLines(Text);
    std::vector<std::string> Lines(File.Lines.begin(), File.Lines.end());
    const std::string Entry = std::string(Key) + "=" + std::string(Value);

    std::size_t SectionLine = Lines.size();
    for (std::size_t I = 0; I < Lines.size(); ++I)
        if (const std::optional<std::string_view> Name = SectionOf(Lines[I]);
            Name && SameName(*Name, Section)) {
            SectionLine = I;
            break;
        }
    if (SectionLine == Lines.size()) {
        Lines.push_back("[" + std::string(Section) + "]");
        Lines.push_back(Entry);
    } else {
        // Replace the key in the section, or add it after the section's last entry.
        std::size_t Insert = SectionLine + 1;
        bool Replaced = false;
        for (std::size_t I = SectionLine + 1; I < Lines.size() && !SectionOf(Lines[I]); ++I) {
            std::string_view K, V;
            if (EntryOf(Lines[I], K, V)) {
                if (SameName(K, Key)) {
                    Lines[I] =
                        std::string(K) + "=" + std::string(Value); // the key keeps its spelling
                    Replaced = true;
                    break;
                }
                Insert = I + 1;
            }
        }
        if (!Replaced)
            Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(Insert), Entry);
    }
    const std::string_view LineEnd = File.Lines.empty() ? NewFileLineEnd
                                     : File.Crlf        ? std::string_view("\r\n")
                                                        : std::string_view("\n");
    std::string Out;
    for (const std::string& Line : Lines) {
        Out += Line;
        Out += LineEnd;
    }
    return Out;
}
