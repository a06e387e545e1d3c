#include "framework/objects/FormParser.h"

#include "base/Exception.h"
#include "framework/objects/FormWriter.h"
#include "tests/support/CaseName.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

TFormValue ValueOf(const std::string& Text)
{
    const TFormObject O = TFormParser::Parse("object X: TX\n  P = " + Text + "\nend\n");
    EXPECT_EQ(O.Properties.size(), 1u);
    return O.Properties.empty() ? TFormValue() : O.Properties[0].Value;
}

// The message of the EReadError that parsing Text raises, or "" when it parses.
std::string ErrorOf(const std::string& Text)
{
    try {
        TFormParser::Parse(Text);
    } catch (const EReadError& E) {
        return E.GetMessage();
    }
    return "";
}

struct TValueCase
{
    const char* Text;
    TFormValue Expected;
};

TFormValue Str(const std::string& S)
{
    return TFormValue::FromString(S);
}

TFormValue Int(std::int64_t V)
{
    return TFormValue::FromInteger(V);
}

TFormValue Ident(const std::string& S)
{
    return TFormValue::FromIdent(S);
}

} // namespace

class FormParserValue : public testing::TestWithParam<TValueCase>
{};

TEST_P(FormParserValue, ReadsTheValueAsWritten)
{
    EXPECT_EQ(ValueOf(GetParam().Text), GetParam().Expected) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormParserValue,
    testing::Values(TValueCase{"0", Int(0)}, TValueCase{"-12", Int(-12)},
                    TValueCase{"$FF", Int(255)}, TValueCase{"-$10", Int(-16)},
                    TValueCase{"4294967295", Int(4294967295ll)},
                    TValueCase{"9223372036854775807", Int(INT64_MAX)},
                    TValueCase{"-9223372036854775808", Int(INT64_MIN)}, TValueCase{"''", Str("")},
                    TValueCase{"'It''s'", Str("It's")}, TValueCase{"''''", Str("'")},
                    TValueCase{"'a'#13#10'b'", Str("a\r\nb")}, TValueCase{"#65#$42'C'", Str("ABC")},
                    TValueCase{"'Ünïcödé'", Str("Ünïcödé")}, TValueCase{"#252", Str("ü")},
                    TValueCase{"#8364", Str("€")}, TValueCase{"#128512", Str("\xF0\x9F\x98\x80")},
                    TValueCase{"#0", Str(std::string(1, '\0'))},
                    TValueCase{"'ab' +\n    'cd' + #33", Str("abcd!")},
                    TValueCase{"clBtnFace", Ident("clBtnFace")}, TValueCase{"True", Ident("True")},
                    TValueCase{"Form2.Button1", Ident("Form2.Button1")},
                    TValueCase{"[]", TFormValue::FromSet({})},
                    TValueCase{"[akLeft, akTop]", TFormValue::FromSet({"akLeft", "akTop"})},
                    TValueCase{"[\n  a ,b\n]", TFormValue::FromSet({"a", "b"})},
                    TValueCase{"{}", TFormValue::FromBinary({})},
                    TValueCase{"{0aFF\n  10 02}", TFormValue::FromBinary({0x0A, 0xFF, 0x10, 0x02})},
                    TValueCase{"()", TFormValue::FromList({})},
                    TValueCase{"(\n 'Cyan'\n 'Red' 'Bl' + 'ue' 3 x)",
                               TFormValue::FromList({Str("Cyan"), Str("Red"), Str("Blue"), Int(3),
                                                     Ident("x")})}),
    [](const testing::TestParamInfo<TValueCase>& I) { return NumberedName(I, I.param.Text); });

TEST(FormParser, ReadsObjectsPropertiesAndNestingWithLines)
{
    const TFormObject O = TFormParser::Parse("\xEF\xBB\xBF"
                                             "object Form1: TForm1\n"
                                             "  Caption = 'Form1'\n"
                                             "  Font.Name = 'Tahoma'\n"
                                             "  object PopupMenu1: TPopupMenu\n"
                                             "    object Settings1: TMenuItem\n"
                                             "      Caption = 'Settings'\n"
                                             "    end\n"
                                             "    object TMenuItem\n"
                                             "    end\n"
                                             "  end\n"
                                             "  OBJECT Timer: TTimer END\n"
                                             "END");
    EXPECT_EQ(O.Name, "Form1");
    EXPECT_EQ(O.ClassName, "TForm1");
    ASSERT_EQ(O.Properties.size(), 2u);
    EXPECT_EQ(O.Properties[1].Name, "Font.Name");
    EXPECT_EQ(O.Properties[1].Line, 3);
    ASSERT_EQ(O.Children.size(), 2u);
    const TFormObject& Menu = O.Children[0];
    EXPECT_EQ(Menu.Line, 4);
    ASSERT_EQ(Menu.Children.size(), 2u);
    EXPECT_EQ(Menu.Children[0].Name, "Settings1");
    EXPECT_EQ(Menu.Children[0].Properties[0].Value, Str("Settings"));
    EXPECT_EQ(Menu.Children[1].Name, "");
    EXPECT_EQ(Menu.Children[1].ClassName, "TMenuItem");
    EXPECT_EQ(O.Children[1].Name, "Timer");
}

struct TErrorCase
{
    const char* Text;
    const char* Message; // the whole message, line included
};

class FormParserError : public testing::TestWithParam<TErrorCase>
{};

TEST_P(FormParserError, NamesTheLineAndTheFault)
{
    EXPECT_EQ(ErrorOf(GetParam().Text), GetParam().Message) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FormParserError,
    testing::Values(
        TErrorCase{"", "Line 1: 'object' expected"},
        TErrorCase{"thing X: TX end", "Line 1: 'object' expected"},
        TErrorCase{"object X: TX\n  A = 1\n",
                   "Line 3: 'end' expected for the object begun at line 1"},
        TErrorCase{"object X: TX\n  A = 'abc\nend", "Line 2: Unterminated string"},
        TErrorCase{"object X: TX\n\n  A 1\nend", "Line 3: '=' expected after A"},
        TErrorCase{"object X: TX\n  A =\nend", "Line 3: Value expected for A"},
        TErrorCase{"object X: TX\n  A = {12 3\nend",
                   "Line 3: Invalid character 'n' in a binary value"},
        TErrorCase{"object X: TX\n  A = {12 3", "Line 2: Unterminated binary value"},
        TErrorCase{"object X: TX\n  A = {123}\nend",
                   "Line 2: A binary value needs an even number of hexadecimal digits"},
        TErrorCase{"object X: TX\n  A = ('a'\nend", "Line 3: Unterminated list"},
        TErrorCase{"object X: TX\n  A = ('a' [x])\nend", "Line 2: List item or ')' expected"},
        TErrorCase{"object X: TX\n  A = [a b]\nend", "Line 2: ',' or ']' expected in a set"},
        TErrorCase{"object X: TX\n  A = [a, 1]\nend", "Line 2: Set element expected"},
        TErrorCase{"object X: TX\n  A = 9223372036854775808\nend", "Line 2: Number out of range"},
        TErrorCase{"object X: TX\n  A = 1.5\nend", "Line 2: Invalid number: unexpected '.'"},
        TErrorCase{"object X: TX\n  A = 12ab\nend", "Line 2: Invalid number: unexpected 'a'"},
        TErrorCase{"object X: TX\n  A = #1114112\nend", "Line 2: Number out of range"},
        TErrorCase{"object X: TX\n  A = #55296\nend",
                   "Line 2: Character code #55296 is a surrogate"},
        TErrorCase{"object X: TX\n  A = #x\nend", "Line 2: Character code expected after '#'"},
        TErrorCase{"object X: TX\n  A = 'a' + 1\nend", "Line 2: String expected after '+'"},
        TErrorCase{"object X: TX\n  A = @\nend", "Line 2: Unexpected character '@'"},
        TErrorCase{"object X: TX\n  \x01 = 1\nend", "Line 2: Unexpected character #1"},
        TErrorCase{"object X: TX\n  5 = 1\nend",
                   "Line 2: Property name, 'object' or 'end' expected"},
        TErrorCase{"object X: 7\nend", "Line 1: a class name expected"},
        TErrorCase{"object X.Y: TX\nend", "Line 1: a component or class name expected"},
        TErrorCase{"object X: TX\nend\nend", "Line 3: Text after the end of the form description"}),
    [](const testing::TestParamInfo<TErrorCase>& I) { return NumberedName(I, I.param.Message); });

TEST(FormParser, RefusesNestingBeyondTheLimitWithoutExhaustingTheStack)
{
    std::string Deep;
    for (int I = 0; I < 100000; ++I)
        Deep += "object A: T\n";
    const std::string Message = ErrorOf(Deep);
    EXPECT_EQ(Message, "Line " + std::to_string(TFormParser::MaxNesting + 1) +
                           ": Objects nested more than " + std::to_string(TFormParser::MaxNesting) +
                           " deep");

    std::string AtLimit;
    for (int I = 0; I < TFormParser::MaxNesting; ++I)
        AtLimit += "object A: T\n";
    for (int I = 0; I < TFormParser::MaxNesting; ++I)
        AtLimit += "end\n";
    EXPECT_EQ(ErrorOf(AtLimit), "");
}

TEST(FormParser, ReadsAHugeBinaryBlock)
{
    const std::size_t Size = std::size_t(4) << 20;
    std::string Text = "object X: TX\n  Data = {";
    Text.reserve(Text.size() + Size * 2 + 16);
    for (std::size_t I = 0; I < Size; ++I) {
        static const char Hex[] = "0123456789ABCDEF";
        Text += Hex[(I >> 4) & 15];
        Text += Hex[I & 15];
    }
    Text += "}\nend";
    const TFormObject O = TFormParser::Parse(Text);
    const auto& Bytes = O.Properties.at(0).Value.GetBytes();
    ASSERT_EQ(Bytes.size(), Size);
    EXPECT_EQ(Bytes[0x1234], 0x34);
    EXPECT_EQ(Bytes[Size - 1], 0xFF);
}

TEST(FormParser, SurvivesRandomMutationsOfAValidDescription)
{
    const std::string Valid = "object Form1: TForm1\n"
                              "  Caption = 'It''s'#13#10'ü' + 'x'\n"
                              "  Anchors = [akLeft, akTop]\n"
                              "  Items = (\n    'a'\n    3)\n"
                              "  Data = {\n    0A0B0C}\n"
                              "  Left = -$10\n"
                              "  object B: TB\n    Ref = Form2.C\n  end\n"
                              "end\n";
    const std::string Alphabet = "'#$[](){}=:,+.-_ \n\r\tobjectend0123456789AFaz\x80\xFF";
    std::mt19937 Random(20260602);
    int Parsed = 0;
    for (int Round = 0; Round < 20000; ++Round) {
        std::string Text = Valid;
        const int Edits = 1 + int(Random() % 4);
        for (int E = 0; E < Edits; ++E) {
            const std::size_t At = Random() % (Text.size() + 1);
            switch (Random() % 3) {
            case 0:
                Text.insert(At, 1, Alphabet[Random() % Alphabet.size()]);
                break;
            case 1:
                if (At < Text.size())
                    Text.erase(At, 1);
                break;
            default:
                Text = Text.substr(0, At);
                break;
            }
        }
        try {
            TFormParser::Parse(Text);
            ++Parsed;
        } catch (const EReadError& Error) {
            EXPECT_EQ(Error.GetMessage().rfind("Line ", 0), 0u) << Error.GetMessage();
        }
    }
    // Some mutations (inside strings, to digits) still parse; most do not.
    EXPECT_GT(Parsed, 0);
    EXPECT_LT(Parsed, 20000);
}

namespace {

std::string RandomText(std::mt19937& Random)
{
    // Quotes, control characters, UTF-8 and bytes that are not UTF-8 at all.
    static const std::vector<std::string> Pieces = {"a",    "Z",    " ",  "'",
                                                    "''",   "\r\n", "\t", std::string(1, '\0'),
                                                    "\x7F", "ü",    "€",  "\xF0\x9F\x98\x80",
                                                    "\xFF", "#13",  "end"};
    std::string S;
    const int N = int(Random() % 12);
    for (int I = 0; I < N; ++I)
        S += Pieces[Random() % Pieces.size()];
    return S;
}

std::string RandomIdent(std::mt19937& Random)
{
    static const char First[] = "ABCXYZabcxyz_";
    static const char Rest[] = "ABCabc019_";
    std::string S(1, First[Random() % (sizeof First - 1)]);
    const int N = int(Random() % 8);
    for (int I = 0; I < N; ++I)
        S += Rest[Random() % (sizeof Rest - 1)];
    // (No first letter of a keyword: 'end' and 'object' would be read as structure.)
    return S;
}

TFormValue RandomValue(std::mt19937& Random)
{
    switch (Random() % 6) {
    case 0: {
        const std::int64_t V = std::int64_t(Random()) - std::int64_t(Random());
        return TFormValue::FromInteger(V * std::int64_t(Random() % 3 + 1));
    }
    case 1:
        return TFormValue::FromString(RandomText(Random));
    case 2:
        return TFormValue::FromIdent(RandomIdent(Random) +
                                     (Random() % 4 == 0 ? "." + RandomIdent(Random) : ""));
    case 3: {
        std::vector<std::string> E;
        for (int I = int(Random() % 4); I > 0; --I)
            E.push_back(RandomIdent(Random));
        return TFormValue::FromSet(E);
    }
    case 4: {
        std::vector<std::uint8_t> B(Random() % 80);
        for (auto& Byte : B)
            Byte = std::uint8_t(Random());
        return TFormValue::FromBinary(B);
    }
    default: {
        std::vector<TFormValue> Items;
        for (int I = int(Random() % 4); I > 0; --I)
            Items.push_back(Random() % 2 ? TFormValue::FromString(RandomText(Random))
                                         : TFormValue::FromInteger(int(Random() % 100)));
        return TFormValue::FromList(Items);
    }
    }
}

TFormObject RandomObject(std::mt19937& Random, int Depth)
{
    TFormObject O;
    O.Name = Random() % 5 == 0 ? "" : RandomIdent(Random);
    O.ClassName = "T" + RandomIdent(Random);
    for (int I = int(Random() % 5); I > 0; --I)
        O.Properties.push_back(
            {RandomIdent(Random) + (Random() % 5 == 0 ? "." + RandomIdent(Random) : ""),
             RandomValue(Random), 0});
    if (Depth < 4)
        for (int I = int(Random() % 3); I > 0; --I)
            O.Children.push_back(RandomObject(Random, Depth + 1));
    return O;
}

void ExpectSame(const TFormObject& A, const TFormObject& B)
{
    EXPECT_EQ(A.Name, B.Name);
    EXPECT_EQ(A.ClassName, B.ClassName);
    ASSERT_EQ(A.Properties.size(), B.Properties.size());
    for (std::size_t I = 0; I < A.Properties.size(); ++I) {
        EXPECT_EQ(A.Properties[I].Name, B.Properties[I].Name);
        EXPECT_EQ(A.Properties[I].Value, B.Properties[I].Value) << A.Properties[I].Name;
    }
    ASSERT_EQ(A.Children.size(), B.Children.size());
    for (std::size_t I = 0; I < A.Children.size(); ++I)
        ExpectSame(A.Children[I], B.Children[I]);
}

} // namespace

TEST(FormParser, ReadsBackWhatTheFormatterWrites)
{
    std::mt19937 Random(7);
    for (int Round = 0; Round < 300; ++Round) {
        const TFormObject Original = RandomObject(Random, 0);
        const std::string Text = TFormWriter::Format(Original);
        SCOPED_TRACE(Text);
        const TFormObject Back = TFormParser::Parse(Text);
        ExpectSame(Original, Back);
        EXPECT_EQ(TFormWriter::Format(Back), Text);
    }
}

TEST(FormWriter, FormatsBinaryBlocksThirtyTwoBytesALineAndListsOneItemALine)
{
    TFormObject O;
    O.Name = "Form1";
    O.ClassName = "TForm1";
    std::vector<std::uint8_t> Bytes(40);
    for (std::size_t I = 0; I < Bytes.size(); ++I)
        Bytes[I] = std::uint8_t(I * 7);
    O.Properties.push_back({"Data", TFormValue::FromBinary(Bytes), 0});
    O.Properties.push_back({"Items", TFormValue::FromList({Str("Cyan"), Str("It's")}), 0});
    O.Properties.push_back({"Color", TFormValue::FromInteger(0x00FF8040, true), 0});
    TFormObject Child;
    Child.ClassName = "TMenuItem";
    Child.Properties.push_back({"Caption", Str("a\tb"), 0});
    O.Children.push_back(Child);
    EXPECT_EQ(TFormWriter::Format(O),
              "object Form1: TForm1\n"
              "  Data = {\n"
              "    00070E151C232A31383F464D545B626970777E858C939AA1A8AFB6BDC4CBD2D9\n"
              "    E0E7EEF5FC030A11}\n"
              "  Items = (\n"
              "    'Cyan'\n"
              "    'It''s')\n"
              "  Color = $00FF8040\n"
              "  object TMenuItem\n"
              "    Caption = 'a'#9'b'\n"
              "  end\n"
              "end\n");
}
