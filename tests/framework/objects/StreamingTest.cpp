#include "base/Exception.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "tests/framework/objects/StreamingTestClasses.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

class Streaming : public testing::Test
{
protected:
    void SetUp() override
    {
        RegisterTestClasses();
        TestLog().clear();
        TTestItem::FailOnCount() = 0;
    }
    void TearDown() override { TTestItem::FailOnCount() = 0; }

    TTestItem* Item(TComponent& Root, const char* Name)
    {
        auto* I = dynamic_cast<TTestItem*>(Root.FindComponent(Name));
        EXPECT_NE(I, nullptr) << Name;
        return I;
    }
};

// The main window's description in the shape of the clock's: nested menu items, events bound to
// handlers, a reference to a component declared later and a system colour.
const char* const ClockLike = "object Form1: TTestForm\n"
                              "  Caption = 'Form1'\n"
                              "  ClientWidth = 300\n"
                              "  OnCreate = FormCreate\n"
                              "  object RidivAzoza1: TTestItem\n"
                              "    Color = clInactiveCaptionText\n"
                              "    Buddy = ImageListNixie\n"
                              "    Mode24 = 1\n"
                              "    OnMouse = ItemMouse\n"
                              "  end\n"
                              "  object ImageListNixie: TTestItem\n"
                              "    Count = 10\n"
                              "  end\n"
                              "  object PopupMenu1: TTestItem\n"
                              "    object Settings1: TTestItem\n"
                              "      Caption = 'Settings'\n"
                              "      OnClick = ItemClick\n"
                              "    end\n"
                              "    object N1: TTestItem\n"
                              "      Caption = '-'\n"
                              "    end\n"
                              "  end\n"
                              "  object TimerClock: TTestTimer\n"
                              "  end\n"
                              "end\n";

} // namespace

TEST_F(Streaming, ReadsComponentsInOrderWithTheirPropertiesNestingAndHandlers)
{
    TTestForm Form;
    TFormReader::ReadInto(Form, ClockLike);
    EXPECT_EQ(Form.GetName(), "Form1");
    EXPECT_EQ(Form.GetCaption(), "Form1");
    EXPECT_EQ(Form.GetClientWidth(), 300);
    ASSERT_EQ(Form.GetComponentCount(), 6);
    const char* Order[] = {"RidivAzoza1", "ImageListNixie", "PopupMenu1", "Settings1",
                           "N1",          "TimerClock"};
    for (int I = 0; I < 6; ++I)
        EXPECT_EQ(Form.GetComponent(I)->GetName(), Order[I]);

    TTestItem* Digits = Item(Form, "RidivAzoza1");
    EXPECT_EQ(Digits->GetColor(), clInactiveCaptionText);
    EXPECT_EQ(Digits->GetBuddy(), Item(Form, "ImageListNixie"));
    EXPECT_EQ(Item(Form, "Settings1")->GetParentItem(), Item(Form, "PopupMenu1"));
    EXPECT_EQ(Item(Form, "PopupMenu1")->GetParentItem(), nullptr);
    EXPECT_FALSE(Form.IsLoading());
    EXPECT_FALSE(Digits->IsLoading());

    TestLog().clear();
    Form.OnCreate(&Form);
    Item(Form, "Settings1")->OnClick(Item(Form, "Settings1"));
    Digits->OnMouse(Digits, 5, 6);
    EXPECT_EQ(TestLog(), (std::vector<std::string>{"FormCreate Form1", "ItemClick Settings1",
                                                   "ItemMouse RidivAzoza1 5,6"}));
}

TEST_F(Streaming, LoadedRunsAfterAllReferencesRootFirstThenInReadingOrder)
{
    TTestForm Form;
    TFormReader::ReadInto(Form, ClockLike);
    EXPECT_EQ(TestLog(),
              (std::vector<std::string>{"Form1:Loaded", "RidivAzoza1:Loaded buddy ImageListNixie",
                                        "ImageListNixie:Loaded", "PopupMenu1:Loaded",
                                        "Settings1:Loaded", "N1:Loaded"}));
    EXPECT_TRUE(Item(Form, "RidivAzoza1")->SawLoading());
}

TEST_F(Streaming, WritesBackTheSameDescription)
{
    TTestForm Form;
    TFormReader::ReadInto(Form, ClockLike);
    // Declared order, defined properties last, and the items' Mode24 of 1 (not the default 0).
    const std::string Expected = "object Form1: TTestForm\n"
                                 "  Caption = 'Form1'\n"
                                 "  ClientWidth = 300\n"
                                 "  OnCreate = FormCreate\n"
                                 "  object RidivAzoza1: TTestItem\n"
                                 "    Mode24 = 1\n"
                                 "    Color = clInactiveCaptionText\n"
                                 "    Buddy = ImageListNixie\n"
                                 "    OnMouse = ItemMouse\n"
                                 "    RegionData = {\n"
                                 "      00000000}\n"
                                 "  end\n"
                                 "  object ImageListNixie: TTestItem\n"
                                 "    Mode24 = 1\n"
                                 "    Count = 10\n"
                                 "    RegionData = {\n"
                                 "      00000000}\n"
                                 "  end\n"
                                 "  object PopupMenu1: TTestItem\n"
                                 "    Mode24 = 1\n"
                                 "    RegionData = {\n"
                                 "      00000000}\n"
                                 "    object Settings1: TTestItem\n"
                                 "      Mode24 = 1\n"
                                 "      Caption = 'Settings'\n"
                                 "      OnClick = ItemClick\n"
                                 "      RegionData = {\n"
                                 "        00000000}\n"
                                 "    end\n"
                                 "    object N1: TTestItem\n"
                                 "      Mode24 = 1\n"
                                 "      Caption = '-'\n"
                                 "      RegionData = {\n"
                                 "        00000000}\n"
                                 "    end\n"
                                 "  end\n"
                                 "  object TimerClock: TTestTimer\n"
                                 "  end\n"
                                 "end\n";
    const std::string Written = TFormWriter::WriteComponent(Form);
    EXPECT_EQ(Written, Expected);
    TTestForm Again;
    TFormReader::ReadInto(Again, Written);
    EXPECT_EQ(TFormWriter::WriteComponent(Again), Written);
}

TEST_F(Streaming, AStoredZeroThatIsTheDefaultComesBackAsTheConstructorsValue)
{
    TTestForm Form;
    Form.SetName("Form1");
    auto* Digits = new TTestItem(&Form);
    Digits->SetName("RidivAzoza1");
    Digits->SetMode24(0);
    Digits->SetCount(0);
    const std::string Text = TFormWriter::WriteComponent(Form);
    EXPECT_EQ(Text.find("Mode24"), std::string::npos) << Text;

    TTestForm Back;
    TFormReader::ReadInto(Back, Text);
    EXPECT_EQ(Item(Back, "RidivAzoza1")->GetMode24(), 1);
    EXPECT_EQ(Item(Back, "RidivAzoza1")->GetCount(), 0);
}

TEST_F(Streaming, OmitsDefaultsButWritesEverythingElseInItsOwnSpelling)
{
    TTestForm Form;
    Form.SetName("Form1");
    auto* A = new TTestItem(&Form);
    A->SetName("A");
    A->SetMode24(1);
    A->SetValue(4294967295u);
    A->SetEnabled(false);
    A->SetAlign(TTestAlign::alClient);
    A->SetAnchors({akRight, akBottom});
    A->SetColor(RGB(0x40, 0x80, 0xFF));
    A->SetCaption("It's\r\n");
    A->SetLines({"Nixie Large", "", "Vfd"});
    A->SetBuddy(A);
    A->OnClick = TNotifyEvent::Method(Form, "ItemClick");
    A->GetFont().Name = "Tahoma";
    A->GetFont().Style = {fsBold, fsUnderline};
    A->GetPicture().ResourceId = 71;
    A->SetRegionData({1, 2});
    A->SetExtra(-3);
    EXPECT_EQ(TFormWriter::WriteComponent(Form), "object Form1: TTestForm\n"
                                                 "  object A: TTestItem\n"
                                                 "    Mode24 = 1\n"
                                                 "    Value = 4294967295\n"
                                                 "    Enabled = False\n"
                                                 "    Align = alClient\n"
                                                 "    Anchors = [akRight, akBottom]\n"
                                                 "    Color = $00FF8040\n"
                                                 "    Caption = 'It''s'#13#10\n"
                                                 "    Lines = (\n"
                                                 "      'Nixie Large'\n"
                                                 "      ''\n"
                                                 "      'Vfd')\n"
                                                 "    Buddy = A\n"
                                                 "    OnClick = ItemClick\n"
                                                 "    Font.Name = 'Tahoma'\n"
                                                 "    Font.Style = [fsBold, fsUnderline]\n"
                                                 "    Picture = 71\n"
                                                 "    RegionData = {\n"
                                                 "      020000000102}\n"
                                                 "    Extra = -3\n"
                                                 "  end\n"
                                                 "end\n");
}

TEST_F(Streaming, PictureReferencesGoThroughThePicturesOwnHook)
{
    TTestForm Form;
    TFormReader::ReadInto(Form, "object F: TTestForm\n"
                                "  object A: TTestItem\n    Picture = 71\n  end\n"
                                "  object B: TTestItem\n    Picture = Res12\n  end\n"
                                "  object C: TTestItem\n    Picture.Data = {CAFE}\n  end\n"
                                "end");
    EXPECT_EQ(Item(Form, "A")->GetPicture().ResourceId, 71);
    EXPECT_EQ(Item(Form, "B")->GetPicture().ResourceId, 12);
    EXPECT_TRUE(Item(Form, "B")->GetPicture().NamedReference);
    EXPECT_EQ(Item(Form, "C")->GetPicture().Bytes, (std::vector<std::uint8_t>{0xCA, 0xFE}));
    const std::string Text = TFormWriter::WriteComponent(Form);
    EXPECT_NE(Text.find("Picture = Res12\n"), std::string::npos);
    EXPECT_NE(Text.find("Picture.Data = {\n      CAFE}\n"), std::string::npos);
}

TEST_F(Streaming, ReadsBinaryDataInItsPlaceAfterThePublishedProperties)
{
    TTestForm Form;
    TFormReader::ReadInto(Form, "object F: TTestForm\n"
                                "  object A: TTestItem\n"
                                "    Caption = 'x'\n"
                                "    RegionData = {\n"
                                "      03000000\n"
                                "      AABBCC}\n"
                                "    Extra = 7\n"
                                "  end\n"
                                "end");
    EXPECT_EQ(Item(Form, "A")->GetRegionData(), (std::vector<std::uint8_t>{0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(Item(Form, "A")->GetExtra(), 7);
}

TEST_F(Streaming, ReadComponentCreatesTheNamedRootClass)
{
    TComponent Application(nullptr);
    TComponent* Root = TFormReader::ReadComponent(
        "object Dialog: TTestDerivedForm\n  OnCreate = ButtonOkClick\nend", &Application);
    ASSERT_NE(dynamic_cast<TTestDerivedForm*>(Root), nullptr);
    EXPECT_EQ(Root->GetOwner(), &Application);
    EXPECT_EQ(Root->GetName(), "Dialog");
    // A second instance of the same description gets a name of its own.
    TComponent* Second =
        TFormReader::ReadComponent("object Dialog: TTestDerivedForm\nend", &Application);
    EXPECT_EQ(Second->GetName(), "Dialog_1");
    TestLog().clear();
    dynamic_cast<TTestForm*>(Root)->OnCreate(Root);
    EXPECT_EQ(TestLog(), std::vector<std::string>{"ButtonOkClick Dialog"});
}

TEST_F(Streaming, WritingMarksTheComponentsWhileItWritesAndAsksStoredPredicates)
{
    TTestForm Form;
    Form.SetName("F");
    auto* A = new TTestItem(&Form);
    A->SetName("A");
    A->SetTag(5);
    TTestItem::SawWriting() = false;
    EXPECT_NE(TFormWriter::WriteComponent(Form).find("    Tag = 5\n"), std::string::npos);
    EXPECT_TRUE(TTestItem::SawWriting());
    EXPECT_FALSE(A->GetComponentState().Contains(csWriting));
    EXPECT_FALSE(Form.GetComponentState().Contains(csWriting));
    A->SetTag(-1);
    EXPECT_EQ(TFormWriter::WriteComponent(Form).find("Tag"), std::string::npos);

    // Handlers assigned from code are not part of the description.
    A->OnClick = [](TObject*) {};
    EXPECT_EQ(TFormWriter::WriteComponent(Form).find("OnClick"), std::string::npos);
}

TEST_F(Streaming, WriterRefusesStateTheSyntaxCannotExpress)
{
    TTestForm Form;
    Form.SetName("F");
    auto* A = new TTestItem(&Form);
    A->SetName("A");
    A->SetAlign(static_cast<TTestAlign>(9));
    EXPECT_THROW(TFormWriter::WriteComponent(Form), EWriteError);
    A->SetAlign(TTestAlign::alNone);

    TTestItem Elsewhere(nullptr); // unnamed and unowned
    A->SetBuddy(&Elsewhere);
    EXPECT_THROW(TFormWriter::WriteComponent(Form), EWriteError);
    Elsewhere.SetName("Far");
    EXPECT_THROW(TFormWriter::WriteComponent(Form), EWriteError); // its owner has no name
    TComponent Other(nullptr);
    Other.SetName("Form2");
    Other.InsertComponent(&Elsewhere);
    EXPECT_NE(TFormWriter::WriteComponent(Form).find("Buddy = Form2.Far\n"), std::string::npos);
    Other.RemoveComponent(&Elsewhere);
}

TEST_F(Streaming, ResolvesReferencesToOtherRootsThroughTheGlobalFinder)
{
    TTestForm Form2;
    Form2.SetName("Form2");
    auto* Far = new TTestItem(&Form2);
    Far->SetName("Far");
    const std::string Text = "object F: TTestForm\n"
                             "  object A: TTestItem\n    Buddy = Form2.Far\n  end\nend";
    TTestForm Without;
    EXPECT_THROW(TFormReader::ReadInto(Without, Text), EReadError);
    TFormReader::SetFindGlobalComponent(
        [&](std::string_view Name) -> TComponent* { return Name == "Form2" ? &Form2 : nullptr; });
    TTestForm With;
    TFormReader::ReadInto(With, Text);
    TFormReader::SetFindGlobalComponent(nullptr);
    EXPECT_EQ(Item(With, "A")->GetBuddy(), Far);
    delete Far; // the free notification clears the reference across roots
    EXPECT_EQ(Item(With, "A")->GetBuddy(), nullptr);
}

TEST_F(Streaming, ComponentsReadIntoADesignedRootAreDesignedToo)
{
    TTestForm Form;
    Form.SetDesigning(true);
    TFormReader::ReadInto(Form, ClockLike);
    EXPECT_TRUE(Item(Form, "Settings1")->IsDesigning());
    EXPECT_TRUE(Form.FindComponent("TimerClock")->IsDesigning());
}

TEST(Filer, ALaterDefinitionOfTheSameNameReplacesTheEarlier)
{
    TFiler Filer(true);
    Filer.DefineProperty(
        "Extra", nullptr, [] { return TFormValue::FromInteger(1); }, true);
    Filer.DefineBinaryProperty("Data", nullptr, nullptr, false);
    Filer.DefineProperty(
        "EXTRA", nullptr, [] { return TFormValue::FromInteger(2); }, false);
    ASSERT_EQ(Filer.GetDefinitions().size(), 2u);
    EXPECT_FALSE(Filer.GetDefinitions()[0].HasData);
    EXPECT_EQ(Filer.GetDefinitions()[0].WriteValue().GetInteger(), 2);
    EXPECT_TRUE(Filer.Find("data")->Binary);
    EXPECT_EQ(Filer.Find("Nope"), nullptr);
    EXPECT_THROW(Filer.DefineProperty("Not valid", nullptr, nullptr, true), EComponentError);
}

TEST_F(Streaming, IntegersWithNamesAreWrittenByNameAndReadEitherWay)
{
    TTestForm Form;
    TFormReader::ReadInto(Form, "object F: TTestForm\n"
                                "  object A: TTestItem\n    Tag = crHandPoint\n  end\n"
                                "  object B: TTestItem\n    Tag = -2\n  end\n"
                                "  object C: TTestItem\n    Tag = -3\n  end\n"
                                "end");
    EXPECT_EQ(Item(Form, "A")->GetTag(), -21);
    EXPECT_EQ(Item(Form, "B")->GetTag(), -2);
    const std::string Text = TFormWriter::WriteComponent(Form);
    EXPECT_NE(Text.find("    Tag = crHandPoint\n"), std::string::npos);
    EXPECT_NE(Text.find("    Tag = crCross\n"), std::string::npos);
    EXPECT_NE(Text.find("    Tag = -3\n"), std::string::npos);
    TTestForm Bad;
    EXPECT_THROW(
        TFormReader::ReadInto(Bad, "object F: TTestForm\n  object A: TTestItem\n    Tag = crNope\n"
                                   "  end\nend"),
        EReadError);
    // Properties without names take only numbers.
    EXPECT_THROW(TFormReader::ReadInto(
                     Bad, "object F: TTestForm\n  object A: TTestItem\n    Count = crCross\n"
                          "  end\nend"),
                 EReadError);
}
