#include "base/Exception.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/Pen.h"
#include "framework/graphics/Picture.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/objects/Resources.h"
#include "tests/framework/graphics/GraphicsStreamingSupport.h"
#include "tests/support/CaseName.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace GraphicsTest;

// The state of the font, pen and brush, kept apart from the objects: the oracle of what a
// description must hold. The member initialisers are the documented defaults.
struct TDrawingState
{
    TColor FontColor = clWindowText;
    int FontHeight = -11;
    std::string FontName = "MS Sans Serif";
    unsigned FontStyle = 0;
    TColor PenColor = clBlack;
    TPenMode PenMode = TPenMode::pmCopy;
    TPenStyle PenStyle = TPenStyle::psSolid;
    int PenWidth = 1;
    TColor BrushColor = clWhite;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;

    bool operator==(const TDrawingState&) const = default;

    void ApplyTo(TGraphicsHolder& H) const
    {
        H.Font.SetColor(FontColor);
        H.Font.SetHeight(FontHeight);
        H.Font.SetName(FontName);
        H.Font.SetStyle(FontStyle);
        H.Pen.SetColor(PenColor);
        H.Pen.SetMode(PenMode);
        H.Pen.SetStyle(PenStyle);
        H.Pen.SetWidth(PenWidth);
        H.Brush.SetColor(BrushColor);
        H.Brush.SetStyle(BrushStyle);
    }

    static TDrawingState Of(const TGraphicsHolder& H)
    {
        return {H.Font.GetColor(),  H.Font.GetHeight(), H.Font.GetName(), H.Font.GetStyle(),
                H.Pen.GetColor(),   H.Pen.GetMode(),    H.Pen.GetStyle(), H.Pen.GetWidth(),
                H.Brush.GetColor(), H.Brush.GetStyle()};
    }

    // The property names a description must write: those that differ from the defaults.
    std::set<std::string> Changed() const
    {
        const TDrawingState D;
        std::set<std::string> Names;
        const auto Add = [&](bool Differs, const char* Name) {
            if (Differs)
                Names.insert(Name);
        };
        Add(FontColor != D.FontColor, "Font.Color");
        Add(FontHeight != D.FontHeight, "Font.Height");
        Add(FontName != D.FontName, "Font.Name");
        Add(FontStyle != D.FontStyle, "Font.Style");
        Add(PenColor != D.PenColor, "Pen.Color");
        Add(PenMode != D.PenMode, "Pen.Mode");
        Add(PenStyle != D.PenStyle, "Pen.Style");
        Add(PenWidth != D.PenWidth, "Pen.Width");
        Add(BrushColor != D.BrushColor, "Brush.Color");
        Add(BrushStyle != D.BrushStyle, "Brush.Style");
        return Names;
    }
};
class GraphicsStreaming : public testing::Test
{
protected:
    void SetUp() override { RegisterGraphicsClasses(); }
};

TEST_F(GraphicsStreaming, UnchangedObjectsWriteNothing)
{
    TGraphicsHolder Holder;
    new TImageList(&Holder);
    Holder.GetComponent(0)->SetName("Images");
    const TFormObject O = TFormWriter::Describe(Holder);
    EXPECT_TRUE(O.Properties.empty()) << TFormWriter::Format(O);
    ASSERT_EQ(O.Children.size(), 1u);
    EXPECT_EQ(O.Children[0].ClassName, "TImageList");
    EXPECT_TRUE(O.Children[0].Properties.empty()) << TFormWriter::Format(O);
}

struct TValueCase
{
    const char* Name;
    void (*Change)(TDrawingState& S);
    const char* Property;
    TFormValue Expected;
};

void PrintTo(const TValueCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class GraphicsValue : public testing::TestWithParam<TValueCase>
{};

// One changed value is written alone, spelled as a form description spells it, and reads back.
TEST_P(GraphicsValue, IsWrittenAloneAndReadsBack)
{
    const TValueCase& C = GetParam();
    TDrawingState State;
    C.Change(State);
    TGraphicsHolder Holder;
    State.ApplyTo(Holder);
    const TFormObject O = TFormWriter::Describe(Holder);
    ASSERT_EQ(O.Properties.size(), 1u) << TFormWriter::Format(O);
    EXPECT_EQ(O.Properties[0].Name, C.Property);
    EXPECT_EQ(O.Properties[0].Value, C.Expected) << TFormWriter::Format(O);
    const auto Copy = RoundTrip(Holder);
    EXPECT_EQ(TDrawingState::Of(*Copy), State);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GraphicsValue,
    testing::Values(
        TValueCase{"FontColor", [](TDrawingState& S) { S.FontColor = clRed; }, "Font.Color",
                   TFormValue::FromIdent("clRed")},
        TValueCase{"FontColorWithoutName", [](TDrawingState& S) { S.FontColor = 0x123456; },
                   "Font.Color", TFormValue::FromInteger(0x123456, true)},
        TValueCase{"FontHeight", [](TDrawingState& S) { S.FontHeight = -15; }, "Font.Height",
                   TFormValue::FromInteger(-15)},
        TValueCase{"FontHeightZero", [](TDrawingState& S) { S.FontHeight = 0; }, "Font.Height",
                   TFormValue::FromInteger(0)},
        TValueCase{"FontName", [](TDrawingState& S) { S.FontName = "Arial"; }, "Font.Name",
                   TFormValue::FromString("Arial")},
        TValueCase{"FontNameEmpty", [](TDrawingState& S) { S.FontName.clear(); }, "Font.Name",
                   TFormValue::FromString("")},
        TValueCase{"FontStyle", [](TDrawingState& S) { S.FontStyle = fsBold | fsStrikeOut; },
                   "Font.Style", TFormValue::FromSet({"fsBold", "fsStrikeOut"})},
        TValueCase{"PenColor", [](TDrawingState& S) { S.PenColor = clBtnFace; }, "Pen.Color",
                   TFormValue::FromIdent("clBtnFace")},
        TValueCase{"PenMode", [](TDrawingState& S) { S.PenMode = TPenMode::pmNotXor; }, "Pen.Mode",
                   TFormValue::FromIdent("pmNotXor")},
        TValueCase{"PenModeFirst", [](TDrawingState& S) { S.PenMode = TPenMode::pmBlack; },
                   "Pen.Mode", TFormValue::FromIdent("pmBlack")},
        TValueCase{"PenStyle", [](TDrawingState& S) { S.PenStyle = TPenStyle::psClear; },
                   "Pen.Style", TFormValue::FromIdent("psClear")},
        TValueCase{"PenWidth", [](TDrawingState& S) { S.PenWidth = 3; }, "Pen.Width",
                   TFormValue::FromInteger(3)},
        TValueCase{"BrushColor", [](TDrawingState& S) { S.BrushColor = clNavy; }, "Brush.Color",
                   TFormValue::FromIdent("clNavy")},
        TValueCase{"BrushStyle", [](TDrawingState& S) { S.BrushStyle = TBrushStyle::bsClear; },
                   "Brush.Style", TFormValue::FromIdent("bsClear")}),
    ByName{});

// Random states against the model: exactly the changed properties are written, reading gives
// the same state, and writing that again the same text.
TEST_F(GraphicsStreaming, RandomStatesRoundTrip)
{
    std::mt19937 Random(20240607);
    const auto Pick = [&](int N) { return int(Random() % unsigned(N)); };
    const TColor Colors[] = {clBlack,     clWhite, clWindowText, clBtnFace,  clRed,
                             0x00010203u, clNavy,  clHighlight,  0x00FFFFFEu};
    const char* Names[] = {"MS Sans Serif", "Arial", "", "Courier New", "Sans \xC3\xBC"};
    for (int Round = 0; Round < 200; ++Round) {
        TDrawingState S;
        const auto Maybe = [&] { return Pick(3) == 0; };
        if (Maybe())
            S.FontColor = Pick(2) ? Colors[Pick(9)] : TColor(Random() & 0xFFFFFF);
        if (Maybe())
            S.FontHeight = Pick(201) - 100;
        if (Maybe())
            S.FontName = Names[Pick(5)];
        if (Maybe())
            S.FontStyle = unsigned(Pick(16));
        if (Maybe())
            S.PenColor = Colors[Pick(9)];
        if (Maybe())
            S.PenMode = TPenMode(Pick(16));
        if (Maybe())
            S.PenStyle = TPenStyle(Pick(6));
        if (Maybe())
            S.PenWidth = Pick(12) - 1;
        if (Maybe())
            S.BrushColor = Colors[Pick(9)];
        if (Maybe())
            S.BrushStyle = TBrushStyle(Pick(2));

        TGraphicsHolder Holder;
        S.ApplyTo(Holder);
        EXPECT_EQ(WrittenNames(TFormWriter::Describe(Holder)), S.Changed()) << "round " << Round;
        std::string Text;
        const auto Copy = RoundTrip(Holder, &Text);
        EXPECT_EQ(TDrawingState::Of(*Copy), S) << Text;
        EXPECT_EQ(TFormWriter::WriteComponent(*Copy), Text);
    }
}

TEST_F(GraphicsStreaming, FontSizeIsReadAsHeightButNeverWritten)
{
    TGraphicsHolder Holder;
    TFormReader::ReadInto(Holder, "object Holder: TGraphicsHolder\n  Font.Size = 10\nend\n");
    EXPECT_EQ(Holder.Font.GetHeight(), -13);
    const TFormObject O = TFormWriter::Describe(Holder);
    EXPECT_EQ(WrittenNames(O), std::set<std::string>{"Font.Height"});

    TGraphicsHolder Later;
    TFormReader::ReadInto(Later, "object Holder: TGraphicsHolder\n  Font.Size = 10\n"
                                 "  Font.Height = -20\nend\n");
    EXPECT_EQ(Later.Font.GetHeight(), -20) << "the later value wins";
}

TEST_F(GraphicsStreaming, StyleBitsWithoutNamesAreNotWrittenSilently)
{
    TGraphicsHolder Holder;
    Holder.Font.SetStyle(fsItalic | 0x40);
    EXPECT_THROW(TFormWriter::WriteComponent(Holder), EWriteError);
    TGraphicsHolder Reader;
    EXPECT_THROW(TFormReader::ReadInto(
                     Reader, "object Holder: TGraphicsHolder\n  Font.Style = [fsHeavy]\nend\n"),
                 EReadError);
}

TEST_F(GraphicsStreaming, AssignTakesOnlyItsOwnKind)
{
    TGraphicsHolder A, B;
    TDrawingState S;
    S.FontName = "Arial";
    S.PenWidth = 5;
    S.BrushColor = clLime;
    S.ApplyTo(A);
    int FontChanges = 0;
    B.Font.SetOnChange([&](TFont*) { ++FontChanges; });
    B.Font.Assign(static_cast<const TPersistent*>(&A.Font));
    B.Pen.Assign(static_cast<const TPersistent*>(&A.Pen));
    B.Brush.Assign(static_cast<const TPersistent*>(&A.Brush));
    EXPECT_EQ(TDrawingState::Of(B), S);
    EXPECT_EQ(FontChanges, 1);

    EXPECT_THROW(B.Font.Assign(static_cast<const TPersistent*>(&A.Pen)), EConvertError);
    EXPECT_THROW(B.Pen.Assign(static_cast<const TPersistent*>(&A.Brush)), EConvertError);
    EXPECT_THROW(B.Brush.Assign(static_cast<const TPersistent*>(nullptr)), EConvertError);
    EXPECT_THROW(B.Picture.Assign(&A.Font), EConvertError);
    EXPECT_EQ(FontChanges, 1) << "a refused source changes nothing";
    EXPECT_EQ(TDrawingState::Of(B), S);
}

// Pictures without a resource are written as their BMP bytes and read back pixel for pixel.
TEST_F(GraphicsStreaming, PictureDataRoundTrips)
{
    std::mt19937 Random(7);
    const TPixelFormat Formats[] = {TPixelFormat::pf1bit, TPixelFormat::pf24bit,
                                    TPixelFormat::pf32bit};
    for (int Round = 0; Round < 30; ++Round) {
        const TPixelFormat Format = Formats[Round % 3];
        TBitmap B(int(Random() % 9) + 1, int(Random() % 9) + 1, Format);
        for (TPixel& P : B.GetPixels())
            P = Format == TPixelFormat::pf1bit ? (Random() % 2 ? 0xFFFFFFu : 0u)
                                               : TPixel(Random() & 0xFFFFFF);
        TGraphicsHolder Holder;
        Holder.Picture.SetBitmap(B);
        const TFormObject O = TFormWriter::Describe(Holder);
        const TFormValue* Data = FindValue(O, "Picture.Data");
        ASSERT_NE(Data, nullptr) << TFormWriter::Format(O);
        EXPECT_EQ(O.Properties.size(), 1u);
        EXPECT_EQ(Data->GetKind(), TFormValue::vkBinary);
        const auto Copy = RoundTrip(Holder);
        ASSERT_TRUE(Copy->Picture.HasGraphic());
        EXPECT_TRUE(SameBitmap(*Copy->Picture.GetGraphic(), B)) << "round " << Round;
        EXPECT_TRUE(Copy->Picture.GetReference().empty());
    }
}

TEST_F(GraphicsStreaming, PictureWithoutGraphicOrWithAnEmptyOne)
{
    TGraphicsHolder Holder;
    EXPECT_TRUE(TFormWriter::Describe(Holder).Properties.empty());
    Holder.Picture.GetBitmap(); // an empty bitmap: still a graphic
    const TFormObject O = TFormWriter::Describe(Holder);
    const TFormValue* Data = FindValue(O, "Picture.Data");
    ASSERT_NE(Data, nullptr);
    EXPECT_TRUE(Data->GetBytes().empty());
    const auto Copy = RoundTrip(Holder);
    EXPECT_TRUE(Copy->Picture.HasGraphic());
    EXPECT_EQ(Copy->Picture.GetWidth(), 0);

    TGraphicsHolder Bad;
    EXPECT_THROW(TFormReader::ReadInto(Bad, "object Holder: TGraphicsHolder\n"
                                            "  Picture.Data = {424D0000}\nend\n"),
                 EInvalidGraphic);
    EXPECT_FALSE(Bad.Picture.HasGraphic());
}

struct TMissingCase
{
    const char* Name;
    const char* Body;
    const char* Message;
};

void PrintTo(const TMissingCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class MissingResource : public testing::TestWithParam<TMissingCase>
{
protected:
    void SetUp() override { RegisterGraphicsClasses(); }
};

// A reference to a resource the program lacks names the line, the property and the resource,
// and leaves nothing of the read behind.
TEST_P(MissingResource, IsAReadErrorNamingIt)
{
    TGraphicsHolder Holder;
    try {
        TFormReader::ReadInto(Holder, std::string("object Holder: TGraphicsHolder\n") +
                                          GetParam().Body + "end\n");
        FAIL() << "read without error";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.GetMessage(), GetParam().Message);
    }
    EXPECT_FALSE(Holder.Picture.HasGraphic());
    EXPECT_EQ(Holder.GetComponentCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingResource,
    testing::Values(
        TMissingCase{"PictureByName", "  Picture = NoSuchFace\n",
                     "Line 2: Error reading Holder.Picture: The program holds no bitmap resource "
                     "NoSuchFace"},
        TMissingCase{"PictureByNumber", "  Picture = 99999\n",
                     "Line 2: Error reading Holder.Picture: The program holds no bitmap resource "
                     "99999"},
        TMissingCase{"PictureByNegativeNumber", "  Picture = -71\n",
                     "Line 2: Error reading Holder.Picture: The program holds no bitmap resource "
                     "-71"},
        TMissingCase{"StripByName",
                     "  object Digits: TImageList\n    Bitmap = NoSuchDigits\n  end\n",
                     "Line 3: Error reading Digits.Bitmap: The program holds no image strip "
                     "resource NoSuchDigits"},
        TMissingCase{"StripByUnnumberedId", "  object Digits: TImageList\n    Bitmap = 0\n  end\n",
                     "Line 3: Error reading Digits.Bitmap: The program holds no image strip "
                     "resource 0"},
        TMissingCase{"StripAsAString",
                     "  object Digits: TImageList\n    Bitmap = 'Digits'\n  end\n",
                     "Line 3: Error reading Digits.Bitmap: An image strip resource name or "
                     "number expected, not a string"}),
    ByName{});

// Whatever bitmap the program embeds: referred to by number and by name (in any case), it is
// loaded, written back as the same reference while unchanged, and as Data once edited.
TEST_F(GraphicsStreaming, PictureReferenceToAnEmbeddedBitmap)
{
    const TResourceEntry* Entry = FirstResource("bitmap");
    if (!Entry)
        GTEST_SKIP() << "the program embeds no bitmap";
    TBitmap Expected;
    Expected.LoadFromBytes(Entry->Data);

    std::string Lower = Entry->Name;
    std::transform(Lower.begin(), Lower.end(), Lower.begin(),
                   [](char C) { return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C; });
    struct TSpelling
    {
        std::string Read;
        TFormValue Written;
    };
    std::vector<TSpelling> Spellings = {{Entry->Name, TFormValue::FromIdent(Entry->Name)},
                                        {Lower, TFormValue::FromIdent(Entry->Name)}};
    if (Entry->Id > 0)
        Spellings.push_back({std::to_string(Entry->Id), TFormValue::FromInteger(Entry->Id)});
    for (const TSpelling& S : Spellings) {
        TGraphicsHolder Holder;
        int Changes = 0;
        Holder.Picture.SetOnChange([&](TPicture*) { ++Changes; });
        TFormReader::ReadInto(Holder,
                              "object Holder: TGraphicsHolder\n  Picture = " + S.Read + "\nend\n");
        EXPECT_EQ(Changes, 1) << S.Read;
        ASSERT_TRUE(Holder.Picture.HasGraphic());
        EXPECT_TRUE(SameBitmap(*Holder.Picture.GetGraphic(), Expected)) << S.Read;
        const TFormObject O = TFormWriter::Describe(Holder);
        ASSERT_EQ(O.Properties.size(), 1u) << TFormWriter::Format(O);
        EXPECT_EQ(O.Properties[0].Name, "Picture");
        EXPECT_EQ(O.Properties[0].Value, S.Written) << S.Read;

        // A copy stands for the same resource; an edit without Changed is still noticed.
        TPicture Copy;
        Copy.Assign(&Holder.Picture);
        EXPECT_EQ(Copy.GetReference(), Holder.Picture.GetReference());
        Holder.Picture.GetBitmap().SetPixel(0, 0, Expected.GetPixel(0, 0) ^ 0x010101);
        EXPECT_EQ(Holder.Picture.GetReference(), "");
        const auto Edited = RoundTrip(Holder);
        EXPECT_TRUE(SameBitmap(*Edited->Picture.GetGraphic(), *Holder.Picture.GetGraphic()));
        Copy.Changed();
        EXPECT_EQ(Copy.GetReference(), "") << "Changed forgets the resource";
    }
}

} // namespace
