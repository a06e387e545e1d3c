#include "framework/objects/FormValue.h"

#include "framework/objects/PropInfo.h"

#include <utility>

TFormValue TFormValue::FromInteger(std::int64_t Value, bool Hex)
{
    TFormValue V;
    V.FKind = vkInteger;
    V.FInteger = Value;
    V.FHex = Hex;
    return V;
}

TFormValue TFormValue::FromString(std::string Value)
{
    TFormValue V;
    V.FKind = vkString;
    V.FText = std::move(Value);
    return V;
}

TFormValue TFormValue::FromIdent(std::string Value)
{
    TFormValue V;
    V.FKind = vkIdent;
    V.FText = std::move(Value);
    return V;
}

TFormValue TFormValue::FromSet(std::vector<std::string> Elements)
{
    TFormValue V;
    V.FKind = vkSet;
    V.FElements = std::move(Elements);
    return V;
}

TFormValue TFormValue::FromBinary(std::vector<std::uint8_t> Bytes)
{
    TFormValue V;
    V.FKind = vkBinary;
    V.FBytes = std::move(Bytes);
    return V;
}

TFormValue TFormValue::FromList(std::vector<TFormValue> Items)
{
    TFormValue V;
    V.FKind = vkList;
    V.FItems = std::move(Items);
    return V;
}

const char* TFormValue::DescribeKind() const
{
    switch (FKind) {
    case vkInteger:
        return "an integer";
    case vkString:
        return "a string";
    case vkIdent:
        return "an identifier";
    case vkSet:
        return "a set";
    case vkBinary:
        return "a binary block";
    case vkList:
        return "a list";
    }
    return "a value";
}

bool TFormValue::IsIdent(const char* Ident) const
{
    return FKind == vkIdent && SameIdent(FText, Ident);
}

bool operator==(const TFormValue& A, const TFormValue& B)
{
    // The spelling of an integer is not part of its value.
    return A.FKind == B.FKind && A.FInteger == B.FInteger && A.FText == B.FText &&
           A.FElements == B.FElements && A.FBytes == B.FBytes && A.FItems == B.FItems;
}
