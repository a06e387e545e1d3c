#include "framework/objects/FormParser.h"

#include "base/Exception.h"
#include "base/HexDigit.h"
#include "framework/objects/PropInfo.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

[[noreturn]] void Fail(int Line, const std::string& Message)
{
    throw EReadError("Line " + std::to_string(Line) + ": " + Message);
}

enum class TTokenKind
{
    End,
    Ident,
    Integer,
    String,
    Symbol
};

struct TToken
{
    TTokenKind Kind = TTokenKind::End;
    int Line = 1;
    std::string Text; // identifier or string contents
    std::int64_t Integer = 0;
    char Symbol = 0;

    bool IsKeyword(const char* Keyword) const
    {
        return Kind == TTokenKind::Ident && SameIdent(Text, Keyword);
    }
    bool Is(char C) const { return Kind == TTokenKind::Symbol && Symbol == C; }
};

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

bool IsIdentStart(char C)
{
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}

bool IsIdentChar(char C)
{
    return IsIdentStart(C) || IsDigit(C);
}

std::string ShowChar(char C)
{
    const auto U = static_cast<unsigned char>(C);
    if (U >= 32 && U < 127)
        return std::string("'") + C + "'";
    return "#" + std::to_string(U);
}

void AppendUtf8(std::string& Out, std::uint32_t Code)
{
    if (Code < 0x80) {
        Out += char(Code);
    } else if (Code < 0x800) {
        Out += char(0xC0 | (Code >> 6));
        Out += char(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        Out += char(0xE0 | (Code >> 12));
        Out += char(0x80 | ((Code >> 6) & 0x3F));
        Out += char(0x80 | (Code & 0x3F));
    } else {
        Out += char(0xF0 | (Code >> 18));
        Out += char(0x80 | ((Code >> 12) & 0x3F));
        Out += char(0x80 | ((Code >> 6) & 0x3F));
        Out += char(0x80 | (Code & 0x3F));
    }
}

class TLexer
{
public:
    explicit TLexer(std::string_view Text) : FText(Text)
    {
        if (FText.substr(0, 3) == "\xEF\xBB\xBF")
            FPos = 3;
    }

    int GetLine() const { return FLine; }

    TToken Next()
    {
        SkipSpace();
        TToken T;
        T.Line = FLine;
        if (AtEnd())
            return T;
        const char C = Peek();
        if (IsIdentStart(C)) {
            T.Kind = TTokenKind::Ident;
            T.Text = ReadDottedIdent();
        } else if (IsDigit(C) || C == '$' ||
                   (C == '-' && FPos + 1 < FText.size() &&
                    (IsDigit(FText[FPos + 1]) || FText[FPos + 1] == '$'))) {
            T.Kind = TTokenKind::Integer;
            T.Integer = ReadInteger();
        } else if (C == '\'' || C == '#') {
            T.Kind = TTokenKind::String;
            T.Text = ReadString();
        } else if (std::string_view("=:[](){},+").find(C) != std::string_view::npos) {
            T.Kind = TTokenKind::Symbol;
            T.Symbol = C;
            ++FPos;
        } else {
            Fail(FLine, "Unexpected character " + ShowChar(C));
        }
        return T;
    }

    TToken PeekToken()
    {
        const std::size_t Pos = FPos;
        const int Line = FLine;
        TToken T = Next();
        FPos = Pos;
        FLine = Line;
        return T;
    }

    // The hexadecimal digits up to the closing brace (the opening one has been read).
    std::vector<std::uint8_t> ReadBinary(int StartLine)
    {
        std::vector<std::uint8_t> Bytes;
        int High = -1;
        for (;;) {
            if (AtEnd())
                Fail(StartLine, "Unterminated binary value");
            const char C = FText[FPos++];
            if (C == '}')
                break;
            if (C == '\n') {
                ++FLine;
                continue;
            }
            if (C == ' ' || C == '\t' || C == '\r')
                continue;
            const int V = HexDigitValue(C);
            if (V < 0)
                Fail(FLine, "Invalid character " + ShowChar(C) + " in a binary value");
            if (High < 0) {
                High = V;
            } else {
                Bytes.push_back(std::uint8_t(High * 16 + V));
                High = -1;
            }
        }
        if (High >= 0)
            Fail(FLine, "A binary value needs an even number of hexadecimal digits");
        return Bytes;
    }

private:
    bool AtEnd() const { return FPos >= FText.size(); }
    char Peek() const { return FText[FPos]; }

    void SkipSpace()
    {
        while (!AtEnd()) {
            const char C = Peek();
            if (C == '\n')
                ++FLine;
            else if (C != ' ' && C != '\t' && C != '\r')
                return;
            ++FPos;
        }
    }

    std::string ReadDottedIdent()
    {
        const std::size_t Start = FPos;
        for (;;) {
            while (!AtEnd() && IsIdentChar(Peek()))
                ++FPos;
            if (FPos + 1 < FText.size() && Peek() == '.' && IsIdentStart(FText[FPos + 1]))
                ++FPos;
            else
                break;
        }
        return std::string(FText.substr(Start, FPos - Start));
    }

    // Decimal or $hexadecimal digits into a magnitude no greater than Limit.
    std::uint64_t ReadDigits(std::uint64_t Limit)
    {
        const bool Hex = Peek() == '$';
        if (Hex)
            ++FPos;
        const std::uint64_t Base = Hex ? 16 : 10;
        std::uint64_t Value = 0;
        std::size_t Count = 0;
        while (!AtEnd()) {
            const int D = Hex ? HexDigitValue(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1);
            if (D < 0)
                break;
            if (Value > (Limit - std::uint64_t(D)) / Base)
                Fail(FLine, "Number out of range");
            Value = Value * Base + std::uint64_t(D);
            ++FPos;
            ++Count;
        }
        if (Count == 0)
            Fail(FLine, "Digits expected");
        if (!AtEnd() && (IsIdentChar(Peek()) || Peek() == '.'))
            Fail(FLine, "Invalid number: unexpected " + ShowChar(Peek()));
        return Value;
    }

    std::int64_t ReadInteger()
    {
        const bool Negative = Peek() == '-';
        if (Negative)
            ++FPos;
        const std::uint64_t Max = std::uint64_t(INT64_MAX) + (Negative ? 1 : 0);
        const std::uint64_t Magnitude = ReadDigits(Max);
        if (!Negative)
            return std::int64_t(Magnitude);
        return Magnitude == std::uint64_t(INT64_MAX) + 1 ? INT64_MIN : -std::int64_t(Magnitude);
    }

    // Adjacent quoted runs and #code characters: 'It''s'#13#10'ok'.
    std::string ReadString()
    {
        std::string Out;
        while (!AtEnd() && (Peek() == '\'' || Peek() == '#')) {
            if (Peek() == '#') {
                ++FPos;
                if (AtEnd() || !(IsDigit(Peek()) || Peek() == '$'))
                    Fail(FLine, "Character code expected after '#'");
                const std::uint64_t Code = ReadDigits(0x10FFFF);
                if (Code >= 0xD800 && Code <= 0xDFFF)
                    Fail(FLine, "Character code #" + std::to_string(Code) + " is a surrogate");
                AppendUtf8(Out, std::uint32_t(Code));
                continue;
            }
            ++FPos;
            for (;;) {
                if (AtEnd() || Peek() == '\n' || Peek() == '\r')
                    Fail(FLine, "Unterminated string");
                const char C = FText[FPos++];
                if (C != '\'') {
                    Out += C;
                } else if (!AtEnd() && Peek() == '\'') {
                    Out += '\'';
                    ++FPos;
                } else {
                    break;
                }
            }
        }
        return Out;
    }

    std::string_view FText;
    std::size_t FPos = 0;
    int FLine = 1;
};

class TParser
{
public:
    explicit TParser(std::string_view Text) : FLexer(Text) {}

    TFormObject ParseRoot()
    {
        TFormObject Root = ParseObject(FLexer.Next(), 1);
        const TToken After = FLexer.Next();
        if (After.Kind != TTokenKind::End)
            Fail(After.Line, "Text after the end of the form description");
        return Root;
    }

private:
    TFormObject ParseObject(const TToken& Keyword, int Depth)
    {
        if (!Keyword.IsKeyword("object"))
            Fail(Keyword.Line, "'object' expected");
        if (Depth > TFormParser::MaxNesting)
            Fail(Keyword.Line,
                 "Objects nested more than " + std::to_string(TFormParser::MaxNesting) + " deep");
        TFormObject Object;
        Object.Line = Keyword.Line;
        const std::string First = ExpectSimpleIdent("a component or class name");
        if (FLexer.PeekToken().Is(':')) {
            FLexer.Next();
            Object.Name = First;
            Object.ClassName = ExpectSimpleIdent("a class name");
        } else {
            Object.ClassName = First;
        }
        for (;;) {
            TToken T = FLexer.Next();
            if (T.Kind == TTokenKind::End)
                Fail(T.Line,
                     "'end' expected for the object begun at line " + std::to_string(Object.Line));
            if (T.IsKeyword("end"))
                break;
            if (T.IsKeyword("object")) {
                Object.Children.push_back(ParseObject(T, Depth + 1));
                continue;
            }
            if (T.Kind != TTokenKind::Ident)
                Fail(T.Line, "Property name, 'object' or 'end' expected");
            TFormObject::TProperty P;
            P.Name = std::move(T.Text);
            P.Line = T.Line;
            const TToken Eq = FLexer.Next();
            if (!Eq.Is('='))
                Fail(Eq.Line, "'=' expected after " + P.Name);
            P.Value = ParseValue(P.Name);
            Object.Properties.push_back(std::move(P));
        }
        return Object;
    }

    std::string ExpectSimpleIdent(const char* What)
    {
        const TToken T = FLexer.Next();
        if (T.Kind != TTokenKind::Ident || !IsValidIdent(T.Text))
            Fail(T.Line, std::string(What) + " expected");
        return T.Text;
    }

    // A string token and any '+' continuations.
    std::string ParseStringExpr(TToken T)
    {
        std::string Text = std::move(T.Text);
        while (FLexer.PeekToken().Is('+')) {
            FLexer.Next();
            TToken More = FLexer.Next();
            if (More.Kind != TTokenKind::String)
                Fail(More.Line, "String expected after '+'");
            Text += More.Text;
        }
        return Text;
    }

    TFormValue ParseValue(const std::string& Property)
    {
        TToken T = FLexer.Next();
        switch (T.Kind) {
        case TTokenKind::Integer:
            return TFormValue::FromInteger(T.Integer);
        case TTokenKind::String:
            return TFormValue::FromString(ParseStringExpr(std::move(T)));
        case TTokenKind::Ident:
            if (T.IsKeyword("end") || T.IsKeyword("object"))
                break;
            return TFormValue::FromIdent(std::move(T.Text));
        case TTokenKind::Symbol:
            if (T.Symbol == '[')
                return ParseSet();
            if (T.Symbol == '(')
                return ParseList();
            if (T.Symbol == '{')
                return TFormValue::FromBinary(FLexer.ReadBinary(T.Line));
            break;
        case TTokenKind::End:
            break;
        }
        Fail(T.Line, "Value expected for " + Property);
    }

    TFormValue ParseSet()
    {
        std::vector<std::string> Elements;
        TToken T = FLexer.Next();
        if (T.Is(']'))
            return TFormValue::FromSet(std::move(Elements));
        for (;;) {
            if (T.Kind != TTokenKind::Ident || !IsValidIdent(T.Text))
                Fail(T.Line, "Set element expected");
            Elements.push_back(std::move(T.Text));
            const TToken Sep = FLexer.Next();
            if (Sep.Is(']'))
                break;
            if (!Sep.Is(','))
                Fail(Sep.Line, "',' or ']' expected in a set");
            T = FLexer.Next();
        }
        return TFormValue::FromSet(std::move(Elements));
    }

    TFormValue ParseList()
    {
        std::vector<TFormValue> Items;
        for (;;) {
            TToken T = FLexer.Next();
            if (T.Is(')'))
                break;
            if (T.Kind == TTokenKind::Integer)
                Items.push_back(TFormValue::FromInteger(T.Integer));
            else if (T.Kind == TTokenKind::String)
                Items.push_back(TFormValue::FromString(ParseStringExpr(std::move(T))));
            else if (T.Kind == TTokenKind::End || T.IsKeyword("end") || T.IsKeyword("object"))
                Fail(T.Line, "Unterminated list");
            else if (T.Kind == TTokenKind::Ident)
                Items.push_back(TFormValue::FromIdent(std::move(T.Text)));
            else
                Fail(T.Line, "List item or ')' expected");
        }
        return TFormValue::FromList(std::move(Items));
    }

    TLexer FLexer;
};

} // namespace

TFormObject TFormParser::Parse(std::string_view Text)
{
    return TParser(Text).ParseRoot();
}
