// Searching the data: the pattern is built from the stored text at every step, then found with
// the byte scans of ByteSearch.
#include "hexedit/ByteSearch.h"
#include "hexedit/Hexcontrol.h"
#include "hexedit/Numbase.h"
#include "hexedit/Strutil.h"

#include <vector>

int THexEditor::FindFirst(const std::string& Text, int Mode, int Flags)
{
    std::string Stored = FitUtf8(SkipSpace(Text.c_str()), SearchTextRoom);
    FSearchText = TrimSpace(Stored.data());
    FSearchMode = Mode;
    FSearchFlags = Flags;
    FSearchPosition = (Flags & SearchFromCursor) ? FCursorOffset : 0;
    return FindNext();
}

int THexEditor::FindNext()
{
    switch (FSearchMode) {
    case SearchCharacters:
        return FindNextAscii();
    case SearchDecimal:
        return FindNextDecimal();
    case SearchHex:
        return FindNextHex();
    default:
        return -1;
    }
}

int THexEditor::FindNextAscii()
{
    const auto* Pattern = reinterpret_cast<const std::uint8_t*>(FSearchText.data());
    return SearchStep(FData, FDataLength, FSearchPosition, Pattern, int(FSearchText.size()),
                      !(FSearchFlags & SearchMatchCase));
}

int THexEditor::FindNextDecimal()
{
    std::uint8_t Pattern[4];
    const int Length = NumberToBytes(FSearchText.c_str(), Pattern);
    return SearchStep(FData, FDataLength, FSearchPosition, Pattern, Length, false);
}

int THexEditor::FindNextHex()
{
    // Every byte the stored text can give: at most one for each character.
    std::vector<std::uint8_t> Pattern(FSearchText.size() + 1);
    const std::size_t Length = ParseHexBytes(FSearchText.c_str(), Pattern.data(), Pattern.size());
    if (Length == 0)
        return -1;
    return SearchStep(FData, FDataLength, FSearchPosition, Pattern.data(), int(Length), false);
}
