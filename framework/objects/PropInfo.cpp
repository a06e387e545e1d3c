#include "framework/objects/PropInfo.h"

#include <cstdint>
#include <limits>
#include <utility>

TPropInfo::TPropInfo(std::string Name, TPropKind Kind) : FName(std::move(Name)), FKind(Kind) {}

bool TPropInfo::IsOrdinal() const
{
    switch (FKind) {
    case TPropKind::Integer:
    case TPropKind::Unsigned:
    case TPropKind::Boolean:
    case TPropKind::Enumeration:
    case TPropKind::Set:
    case TPropKind::Color:
        return true;
    default:
        return false;
    }
}

TPropInfo& TPropInfo::Default(std::int64_t Value)
{
    FDefault = Value;
    return *this;
}

TPropInfo& TPropInfo::AlwaysStored()
{
    FAlwaysStored = true;
    return *this;
}

TPropInfo& TPropInfo::Stored(std::function<bool(const TPersistent&)> IsStored)
{
    FStored = std::move(IsStored);
    return *this;
}

TPropInfo& TPropInfo::Idents(std::vector<std::pair<std::int64_t, std::string>> Map)
{
    FIdents = std::move(Map);
    return *this;
}

bool TPropInfo::OrdinalToIdent(std::int64_t Value, std::string& Ident) const
{
    for (const auto& [V, Name] : FIdents)
        if (V == Value) {
            Ident = Name;
            return true;
        }
    return false;
}

bool TPropInfo::IdentToOrdinal(std::string_view Ident, std::int64_t& Value) const
{
    for (const auto& [V, Name] : FIdents)
        if (SameIdent(Name, Ident)) {
            Value = V;
            return true;
        }
    return false;
}

bool TPropInfo::IsStored(const TPersistent& Instance) const
{
    return !FStored || FStored(Instance);
}

int TPropInfo::IndexOfName(std::string_view Name) const
{
    for (std::size_t I = 0; I < FNames.size(); ++I)
        if (SameIdent(FNames[I], Name))
            return int(I);
    return -1;
}

std::int64_t TPropInfo::GetMinOrdinal() const
{
    switch (FKind) {
    case TPropKind::Integer:
        return std::numeric_limits<std::int32_t>::min();
    default:
        return 0;
    }
}

std::int64_t TPropInfo::GetMaxOrdinal() const
{
    switch (FKind) {
    case TPropKind::Integer:
        return std::numeric_limits<std::int32_t>::max();
    case TPropKind::Unsigned:
    case TPropKind::Color:
        return std::numeric_limits<std::uint32_t>::max();
    case TPropKind::Boolean:
        return 1;
    case TPropKind::Enumeration:
        return std::int64_t(FNames.size()) - 1;
    case TPropKind::Set:
        return (std::int64_t(1) << FNames.size()) - 1;
    default:
        return 0;
    }
}

namespace {

bool IsIdentStart(char C)
{
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}

bool IsIdentChar(char C)
{
    return IsIdentStart(C) || (C >= '0' && C <= '9');
}

char Lower(char C)
{
    return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C;
}

struct TColorName
{
    TColor Color;
    const char* Name;
};

// The standard colours first, so that a colour with two names is written by the first.
constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
};

} // namespace

bool IsValidIdent(std::string_view Text)
{
    if (Text.empty() || !IsIdentStart(Text[0]))
        return false;
    for (char C : Text)
        if (!IsIdentChar(C))
            return false;
    return true;
}

bool SameIdent(std::string_view A, std::string_view B)
{
    if (A.size() != B.size())
        return false;
    for (std::size_t I = 0; I < A.size(); ++I)
        if (Lower(A[I]) != Lower(B[I]))
            return false;
    return true;
}

bool ColorToIdent(TColor Color, std::string& Ident)
{
    for (const TColorName& N : ColorNames)
        if (N.Color == Color) {
            Ident = N.Name;
            return true;
        }
    return false;
}

bool IdentToColor(std::string_view Ident, TColor& Color)
{
    for (const TColorName& N : ColorNames)
        if (SameIdent(N.Name, Ident)) {
            Color = N.Color;
            return true;
        }
    return false;
}
