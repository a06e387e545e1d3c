#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One property value of a form description as written: an integer, a string, an identifier
// (enumeration value, True/False, a component or method name, possibly dotted), a set of names,
// a binary block or a list of scalar values.
class TFormValue
{
public:
    enum TKind
    {
        vkInteger,
        vkString,
        vkIdent,
        vkSet,
        vkBinary,
        vkList
    };

    TFormValue() = default;
    // Hex only changes the spelling ($0000FF00), as colours are written.
    static TFormValue FromInteger(std::int64_t Value, bool Hex = false);
    static TFormValue FromString(std::string Value);
    static TFormValue FromIdent(std::string Value);
    static TFormValue FromSet(std::vector<std::string> Elements);
    static TFormValue FromBinary(std::vector<std::uint8_t> Bytes);
    static TFormValue FromList(std::vector<TFormValue> Items);

    TKind GetKind() const { return FKind; }
    std::int64_t GetInteger() const { return FInteger; }
    bool IsHex() const { return FHex; }
    // The text of a string or an identifier.
    const std::string& GetText() const { return FText; }
    const std::vector<std::string>& GetElements() const { return FElements; }
    const std::vector<std::uint8_t>& GetBytes() const { return FBytes; }
    const std::vector<TFormValue>& GetItems() const { return FItems; }

    // "an integer", "a string", ...: for messages about a value of the wrong kind.
    const char* DescribeKind() const;
    // Whether this is the identifier Ident (case-insensitive).
    bool IsIdent(const char* Ident) const;

    friend bool operator==(const TFormValue& A, const TFormValue& B);

private:
    TKind FKind = vkInteger;
    std::int64_t FInteger = 0;
    bool FHex = false;
    std::string FText;
    std::vector<std::string> FElements;
    std::vector<std::uint8_t> FBytes;
    std::vector<TFormValue> FItems;
};
