#include "base/Exception.h"
#include "framework/objects/FormParser.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "tests/framework/objects/StreamingTestClasses.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

struct TReadErrorCase
{
    const char* Body; // the lines between "object F: TTestForm" and the last "end"
    const char* Message;
    int FailMode = 0; // TTestItem::FailOnCount
};

// Two components that read well come first, so that every failure has something to undo.
std::string Describe(const char* Body)
{
    return std::string("object F: TTestForm\n"
                       "  object Good1: TTestItem\n    Buddy = Good2\n  end\n"
                       "  object Good2: TTestItem\n    object Inner: TTestItem\n    end\n"
                       "  end\n") +
           Body + "end\n";
}

} // namespace

class StreamingError : public testing::TestWithParam<TReadErrorCase>
{
protected:
    void SetUp() override { RegisterTestClasses(); }
    void TearDown() override { TTestItem::FailOnCount() = 0; }
};

TEST_P(StreamingError, NamesTheLineAndUndoesTheRead)
{
    const int Items = TTestItem::LiveCount();
    TTestForm Form;
    TTestItem::FailOnCount() = GetParam().FailMode;
    try {
        TFormReader::ReadInto(Form, Describe(GetParam().Body));
        FAIL() << "read without error";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.GetMessage(), GetParam().Message);
    }
    EXPECT_EQ(TTestItem::LiveCount(), Items);
    EXPECT_EQ(Form.GetComponentCount(), 0);
    EXPECT_FALSE(Form.IsLoading());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StreamingError,
    testing::Values(
        TReadErrorCase{"  object A: TNope\n  end\n", "Line 9: Class TNope not found"},
        TReadErrorCase{"  object A: TTestFont\n  end\n",
                       "Line 9: TTestFont is not a component class"},
        TReadErrorCase{"  object A: TTestAbstract\n  end\n",
                       "Line 9: Class TTestAbstract cannot be created"},
        TReadErrorCase{"  object A: TTestItem\n    Nope = 1\n  end\n",
                       "Line 10: Property A.Nope does not exist"},
        TReadErrorCase{"  object A: TTestItem\n    Font.Nope = 1\n  end\n",
                       "Line 10: Property A.Font.Nope does not exist"},
        TReadErrorCase{"  object A: TTestItem\n    Count.X = 1\n  end\n",
                       "Line 10: Property A.Count has no sub-properties"},
        TReadErrorCase{"  object A: TTestItem\n    Count = 'x'\n  end\n",
                       "Line 10: Invalid value for A.Count: an integer expected, not a string"},
        TReadErrorCase{"  object A: TTestItem\n    Count = 2147483648\n  end\n",
                       "Line 10: Value 2147483648 out of range for A.Count"},
        TReadErrorCase{"  object A: TTestItem\n    Value = -1\n  end\n",
                       "Line 10: Value -1 out of range for A.Value"},
        TReadErrorCase{"  object A: TTestItem\n    Enabled = 1\n  end\n",
                       "Line 10: Invalid value for A.Enabled: True or False expected, not an "
                       "integer"},
        TReadErrorCase{"  object A: TTestItem\n    Align = alMiddle\n  end\n",
                       "Line 10: Invalid value alMiddle for A.Align"},
        TReadErrorCase{"  object A: TTestItem\n    Anchors = [akLeft, akUp]\n  end\n",
                       "Line 10: Invalid set element akUp for A.Anchors"},
        TReadErrorCase{"  object A: TTestItem\n    Anchors = akLeft\n  end\n",
                       "Line 10: Invalid value for A.Anchors: a set expected, not an identifier"},
        TReadErrorCase{"  object A: TTestItem\n    Color = clMauve\n  end\n",
                       "Line 10: Invalid colour clMauve for A.Color"},
        TReadErrorCase{"  object A: TTestItem\n    Color = 4294967296\n  end\n",
                       "Line 10: Colour value out of range for A.Color"},
        TReadErrorCase{"  object A: TTestItem\n    OnClick = Nope\n  end\n",
                       "Line 10: The method Nope does not exist in TTestForm"},
        TReadErrorCase{"  object A: TTestItem\n    OnClick = ItemMouse\n  end\n",
                       "Line 10: The method ItemMouse does not fit the event A.OnClick"},
        TReadErrorCase{"  object A: TTestItem\n    OnClick = 'ItemClick'\n  end\n",
                       "Line 10: Invalid value for A.OnClick: a method name expected, not a "
                       "string"},
        TReadErrorCase{"  object A: TTestItem\n    Buddy = Ghost\n  end\n",
                       "Line 10: Unresolved reference to Ghost in A.Buddy"},
        TReadErrorCase{"  object A: TTestItem\n    Buddy = T\n  end\n"
                       "  object T: TTestTimer\n  end\n",
                       "Line 10: T is a TTestTimer, which A.Buddy (a TTestItem) cannot take"},
        TReadErrorCase{"  object Good1: TTestItem\n  end\n",
                       "Line 9: Naming Good1: A component named Good1 already exists"},
        TReadErrorCase{"  object A: TTestItem\n    RegionData = 5\n  end\n",
                       "Line 10: Invalid value for A.RegionData: a binary block expected, not an "
                       "integer"},
        TReadErrorCase{"  object A: TTestItem\n    RegionData = {05000000AA}\n  end\n",
                       "Line 10: Error reading A.RegionData: RegionData: 5 bytes announced, 1 "
                       "present"},
        TReadErrorCase{"  object A: TTestItem\n    RegionData = {FFFFFFFF}\n  end\n",
                       "Line 10: Error reading A.RegionData: RegionData: 4294967295 bytes "
                       "announced, 0 present"},
        TReadErrorCase{"  object A: TTestItem\n    RegionData = {0500}\n  end\n",
                       "Line 10: Error reading A.RegionData: Stream read error: 4 bytes wanted, "
                       "2 left"},
        TReadErrorCase{"  object A: TTestItem\n    Count = 3\n  end\n",
                       "Line 10: Error reading A.Count: Count refused", 1},
        TReadErrorCase{"  object A: TTestItem\n    Picture = 500\n  end\n",
                       "Line 10: Invalid value 500 for A.Picture"},
        TReadErrorCase{"  object A: TTestItem\n    Font = 'x'\n  end\n",
                       "Line 10: Invalid value for A.Font: give its sub-properties, or a "
                       "resource"},
        TReadErrorCase{"  object A: TTestItem\n    Lines = ('a' 1)\n  end\n",
                       "Line 10: Invalid value for A.Lines: the list holds an integer"},
        TReadErrorCase{"  object A: TTestItem\n    Extra = {00}\n    Caption = 'x\n  end\n",
                       "Line 11: Unterminated string"}),
    [](const testing::TestParamInfo<TReadErrorCase>& I) {
        return NumberedName(I, I.param.Message);
    });

TEST(StreamingError, TheRootMustBeOfTheDescribedClass)
{
    RegisterTestClasses();
    TTestForm Form;
    try {
        TFormReader::ReadInto(Form, "object F: TTestDerivedForm\nend");
        FAIL();
    } catch (const EReadError& E) {
        EXPECT_EQ(E.GetMessage(),
                  "Line 1: The description is of TTestDerivedForm, which a TTestForm is not");
    }
    // A form of a derived class reads a description of its base class.
    TTestDerivedForm Derived;
    EXPECT_NO_THROW(TFormReader::ReadInto(Derived, "object F: TTestForm\nend"));
}

TEST(StreamingError, OtherExceptionsPassThroughUnchangedAfterTheUndo)
{
    RegisterTestClasses();
    const int Items = TTestItem::LiveCount();
    TTestForm Form;
    TTestItem::FailOnCount() = 2;
    EXPECT_THROW(TFormReader::ReadInto(Form, Describe("  object A: TTestItem\n    Count = 1\n"
                                                      "  end\n")),
                 EOutOfResources);
    TTestItem::FailOnCount() = 0;
    EXPECT_EQ(TTestItem::LiveCount(), Items);
}

TEST(StreamingError, AFailedReadComponentDestroysTheRootItCreated)
{
    RegisterTestClasses();
    const int Forms = TTestForm::LiveCount();
    const int Items = TTestItem::LiveCount();
    TComponent Application(nullptr);
    EXPECT_THROW(TFormReader::ReadComponent(Describe("  object A: TNope\n  end\n"), &Application),
                 EReadError);
    EXPECT_EQ(Application.GetComponentCount(), 0);
    EXPECT_EQ(TTestForm::LiveCount(), Forms);
    EXPECT_EQ(TTestItem::LiveCount(), Items);
    EXPECT_THROW(TFormReader::ReadComponent("object X: TTestFont\nend", &Application), EReadError);
    EXPECT_THROW(TFormReader::ReadComponent("object X: TNope\nend", &Application), EReadError);
}

TEST(StreamingError, NestingBeyondTheLimitIsRefusedWhenTheTreeIsBuiltInCode)
{
    RegisterTestClasses();
    const int Items = TTestItem::LiveCount();
    TFormObject Root;
    Root.Name = "F";
    Root.ClassName = "TTestForm";
    TFormObject* Level = &Root;
    for (int I = 0; I <= TFormParser::MaxNesting + 1; ++I) {
        Level->Children.emplace_back();
        Level = &Level->Children.back();
        Level->Name = "I" + std::to_string(I);
        Level->ClassName = "TTestItem";
        Level->Line = I + 2;
    }
    TTestForm Form;
    EXPECT_THROW(TFormReader::ReadInto(Form, Root), EReadError);
    EXPECT_EQ(TTestItem::LiveCount(), Items);
}

TEST(StreamingError, RandomMutationsEitherReadOrFailCleanly)
{
    RegisterTestClasses();
    const std::string Valid = "object F: TTestForm\n"
                              "  Caption = 'x'\n"
                              "  OnCreate = FormCreate\n"
                              "  object A: TTestItem\n"
                              "    Count = 12\n"
                              "    Anchors = [akRight]\n"
                              "    Color = clBtnFace\n"
                              "    Lines = (\n      'a'\n      'b')\n"
                              "    Buddy = B\n"
                              "    OnMouse = ItemMouse\n"
                              "    Font.Style = [fsBold]\n"
                              "    Picture = Res7\n"
                              "    RegionData = {\n      02000000ABCD}\n"
                              "    object B: TTestItem\n"
                              "      Align = alTop\n"
                              "    end\n"
                              "  end\n"
                              "end\n";
    const std::string Alphabet = "'#$[](){}=:,+.-_ \nobjectendABF0123456789";
    std::mt19937 Random(424242);
    const int Items = TTestItem::LiveCount();
    int Read = 0;
    for (int Round = 0; Round < 3000; ++Round) {
        std::string Text = Valid;
        for (int E = 1 + int(Random() % 3); E > 0; --E) {
            const std::size_t At = Random() % (Text.size() + 1);
            if (Random() % 2)
                Text.insert(At, 1, Alphabet[Random() % Alphabet.size()]);
            else if (At < Text.size())
                Text.erase(At, 1);
        }
        TTestForm Form;
        try {
            TFormReader::ReadInto(Form, Text);
            ++Read;
            // Whatever was read can be written and read again.
            TTestForm Again;
            TFormReader::ReadInto(Again, TFormWriter::WriteComponent(Form));
        } catch (const EReadError& Error) {
            EXPECT_EQ(Error.GetMessage().rfind("Line ", 0), 0u) << Error.GetMessage();
            EXPECT_EQ(Form.GetComponentCount(), 0);
        }
    }
    EXPECT_EQ(TTestItem::LiveCount(), Items);
    EXPECT_GT(Read, 0);
}
