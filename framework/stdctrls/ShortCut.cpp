#include "framework/stdctrls/ShortCut.h"

#include <cctype>
#include <utility>

namespace {

// The keys whose names are not their character (letters and digits are their own names).
constexpr std::pair<unsigned, const char*> KeyNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
    {0xBB, "="},    {0xBC, ","},     {0xBD, "-"},     {0xBE, "."},    {0xBF, "/"},
};

constexpr unsigned FirstFunctionKey = 0x70; // VK_F1
constexpr int FunctionKeys = 24;

bool SameText(std::string_view A, std::string_view B)
{
    if (A.size() != B.size())
        return false;
    for (std::size_t I = 0; I < A.size(); ++I)
        if (std::tolower(static_cast<unsigned char>(A[I])) !=
            std::tolower(static_cast<unsigned char>(B[I])))
            return false;
    return true;
}

std::string KeyName(unsigned Key)
{
    if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))
        return std::string(1, char(Key));
    if (Key >= FirstFunctionKey && Key < FirstFunctionKey + FunctionKeys)
        return "F" + std::to_string(Key - FirstFunctionKey + 1);
    for (const auto& [Code, Name] : KeyNames)
        if (Code == Key)
            return Name;
    return {};
}

unsigned KeyOfName(std::string_view Name)
{
    if (Name.size() == 1) {
        const char C = char(std::toupper(static_cast<unsigned char>(Name[0])));
        if ((C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9'))
            return unsigned(C);
    }
    for (const auto& [Code, Text] : KeyNames)
        if (SameText(Name, Text))
            return Code;
    for (int F = 1; F <= FunctionKeys; ++F)
        if (SameText(Name, "F" + std::to_string(F)))
            return FirstFunctionKey + unsigned(F - 1);
    return 0;
}

} // namespace

TShortCut ShortCut(unsigned Key, TShiftState Shift)
{
    return {Key, Shift & ssKeys};
}

std::string ShortCutToText(TShortCut Value)
{
    const std::string Name = KeyName(Value.Key);
    if (Name.empty())
        return {};
    std::string Text;
    if (Value.Shift & ssCtrl)
        Text += "Ctrl+";
    if (Value.Shift & ssShift)
        Text += "Shift+";
    if (Value.Shift & ssAlt)
        Text += "Alt+";
    return Text + Name;
}

TShortCut TextToShortCut(std::string_view Text)
{
    TShortCut Result;
    // The key's own name may be "+"-free only; modifiers come before it, each ending in '+'.
    for (;;) {
        const std::size_t Plus = Text.find('+');
        if (Plus == std::string_view::npos || Plus + 1 == Text.size())
            break;
        const std::string_view Modifier = Text.substr(0, Plus);
        if (SameText(Modifier, "Ctrl"))
            Result.Shift |= ssCtrl;
        else if (SameText(Modifier, "Shift"))
            Result.Shift |= ssShift;
        else if (SameText(Modifier, "Alt"))
            Result.Shift |= ssAlt;
        else
            return {};
        Text.remove_prefix(Plus + 1);
    }
    Result.Key = KeyOfName(Text);
    return Result.Key ? Result : TShortCut{};
}
