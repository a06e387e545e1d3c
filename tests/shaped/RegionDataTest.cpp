#include "framework/graphics/RegionData.h"

#include "framework/objects/FormWriter.h"
#include "framework/objects/MemoryStream.h"
#include "tests/shaped/ShapedTestSupport.h"

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& B, std::size_t At)
{
    return std::uint32_t(B.at(At)) | std::uint32_t(B.at(At + 1)) << 8 |
           std::uint32_t(B.at(At + 2)) << 16 | std::uint32_t(B.at(At + 3)) << 24;
}

TRect RectAt(const std::vector<std::uint8_t>& B, std::size_t At)
{
    return {std::int32_t(Le32(B, At)), std::int32_t(Le32(B, At + 4)), std::int32_t(Le32(B, At + 8)),
            std::int32_t(Le32(B, At + 12))};
}

void PutLe32(std::vector<std::uint8_t>& B, std::size_t At, std::uint32_t V)
{
    for (int I = 0; I < 4; ++I)
        B.at(At + std::size_t(I)) = std::uint8_t(V >> (8 * I));
}

TRegion FaceOutline()
{
    const TBitmap Face = LoadBitmapResource(71);
    return *CreateRegionFromBitmap(&Face, clBlack);
}

std::vector<std::uint8_t> FacePayload()
{
    const TRegion Outline = FaceOutline();
    return TRegionData::EncodeStream(&Outline);
}

const TFormObject* FindObject(const TFormObject& Root, const std::string& Name)
{
    for (const TFormObject& C : Root.Children)
        if (C.Name == Name)
            return &C;
    return nullptr;
}

const TFormValue* FindProperty(const TFormObject& O, const std::string& Name)
{
    for (const TFormObject::TProperty& P : O.Properties)
        if (P.Name == Name)
            return &P.Value;
    return nullptr;
}

class RegionData : public ShapedTest
{};

TEST_F(RegionData, TheFacesPayloadIsLaidOutByteForByte)
{
    TShapedTestForm* Form = ReadForm("", 71);
    TMemoryStream Stream;
    ImageOf(Form)->WriteRegionData(Stream);
    const std::vector<std::uint8_t> B = Stream.TakeData();
    ASSERT_EQ(B.size(), 2148u);
    EXPECT_EQ(Le32(B, 0), 2144u); // N
    EXPECT_EQ(Le32(B, 4), 32u);   // header size
    EXPECT_EQ(Le32(B, 8), 1u);    // rectangles
    EXPECT_EQ(Le32(B, 12), 132u); // C
    EXPECT_EQ(Le32(B, 16), 2112u);
    EXPECT_EQ(RectAt(B, 20), TRect(5, 28, 276, 115));
    EXPECT_EQ(RectAt(B, 36), TRect(21, 28, 26, 29));
    EXPECT_EQ(RectAt(B, 2148 - 16), TRect(255, 114, 267, 115));
    // Every rectangle in the banded order of the outline the picture gives.
    const TRegion Outline = FaceOutline();
    for (std::size_t I = 0; I < 132; ++I)
        ASSERT_EQ(RectAt(B, 36 + 16 * I), Outline.GetRects()[I]) << I;
}

TEST_F(RegionData, TheStoredFacePayloadDecodesToTheComputedOutline)
{
    const std::vector<std::uint8_t> Payload = FacePayload();
    TShapedTestForm* Form = ReadForm("    RegionData = " + HexBlock(Payload) + "\n", 71);
    TfcImageForm* Image = ImageOf(Form);
    ASSERT_TRUE(Image->GetRegion());
    EXPECT_EQ(*Image->GetRegion(), FaceOutline());
    EXPECT_EQ(WM().GetWindowRgn(Form->GetHandle()), FaceOutline());
    // The native window got the same rectangles.
    const auto& Shape = Port().GetWindows().back()->GetShape();
    ASSERT_TRUE(Shape);
    EXPECT_EQ(Shape->size(), 132u);
    // The form kept the client size of its own description.
    EXPECT_EQ(Form->GetClientWidth(), 300);
    EXPECT_EQ(Form->GetClientHeight(), 120);
}

TEST_F(RegionData, AStoredOutlineIsAppliedAsStoredNotRecomputed)
{
    const TRegion Stored(TRect(1, 2, 30, 40));
    TShapedTestForm* Form =
        ReadForm("    RegionData = " + HexBlock(TRegionData::EncodeStream(&Stored)) + "\n", 71);
    EXPECT_EQ(ImageOf(Form)->GetRegion(), Stored);
    EXPECT_EQ(WM().GetWindowRgn(Form->GetHandle()), Stored);
}

TEST_F(RegionData, ACountOfZeroComputesTheOutlineAtLoad)
{
    TShapedTestForm* Form = ReadForm("    RegionData = {00000000}\n", 71);
    EXPECT_EQ(ImageOf(Form)->GetRegion(), FaceOutline());
    EXPECT_EQ(WM().GetWindowRgn(Form->GetHandle()), FaceOutline());
}

struct THostileCase
{
    const char* Name;
    std::vector<std::uint8_t> Payload;
};

void PrintTo(const THostileCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

std::vector<THostileCase> HostileCases()
{
    const std::vector<std::uint8_t> Good = FacePayload();
    const auto Patch = [&](std::size_t At, std::uint32_t V) {
        std::vector<std::uint8_t> B = Good;
        PutLe32(B, At, V);
        return B;
    };
    std::vector<std::uint8_t> Short(Good.begin(), Good.end() - 1);
    std::vector<std::uint8_t> Unsorted = Good;
    std::swap_ranges(Unsorted.begin() + 36, Unsorted.begin() + 52, Unsorted.begin() + 52);
    return {
        {"CountFarBeyondTheStream", Patch(0, 0x7FFFFFF0u)},
        {"CountOneBeyondTheStream", Patch(0, 2145)},
        {"BlockCutShort", Short},
        {"CountCutShort", {0x01, 0x00}},
        {"Empty", {}},
        {"HeaderSizeNot32", Patch(4, 31)},
        {"KindNotRectangles", Patch(8, 2)},
        {"RectangleCountLargerThanTheBlock", Patch(12, 133)},
        {"ListSizeWrong", Patch(16, 2128)},
        {"BoundsWrong", Patch(24, 27)},
        {"RectanglesOutOfOrder", Unsorted},
    };
}

class RegionDataHostile : public RegionData, public testing::WithParamInterface<THostileCase>
{};

TEST_P(RegionDataHostile, LeavesNoOutlineAndLosesNothingElseOfTheForm)
{
    TShapedTestForm* Form = nullptr;
    ASSERT_NO_THROW(Form = ReadForm("    TransparentColor = clRed\n"
                                    "    RegionData = " +
                                        HexBlock(GetParam().Payload) +
                                        "\n"
                                        "    Tag = 3\n"
                                        "  end\n"
                                        "  object After: TfcImageForm\n"
                                        "    DragTolerance = 7\n",
                                    71));
    TfcImageForm* Image = ImageOf(Form);
    EXPECT_FALSE(Image->GetRegion());
    EXPECT_FALSE(WM().GetWindowRgn(Form->GetHandle()));
    EXPECT_EQ(Image->GetTransparentColor(), clRed);
    EXPECT_EQ(Image->GetTag(), 3);
    EXPECT_EQ(Image->GetPicture().GetWidth(), 300);
    EXPECT_EQ(Form->GetCaption(), "Shaped");
    auto* After = dynamic_cast<TfcImageForm*>(Form->FindComponent("After"));
    ASSERT_NE(After, nullptr);
    EXPECT_EQ(After->GetDragTolerance(), 7);
}

INSTANTIATE_TEST_SUITE_P(Payloads, RegionDataHostile, testing::ValuesIn(HostileCases()), ByName{});

TEST_F(RegionData, SavingAlwaysWritesTheOutlineRecomputedFromThePicture)
{
    const TRegion Stale(TRect(0, 0, 3, 3));
    TShapedTestForm* Form =
        ReadForm("    RegionData = " + HexBlock(TRegionData::EncodeStream(&Stale)) + "\n", 71);
    const TFormObject Written = TFormWriter::Describe(*Form);
    const TFormObject* Image = FindObject(Written, "Image");
    ASSERT_NE(Image, nullptr);
    ASSERT_FALSE(Image->Properties.empty());
    EXPECT_EQ(Image->Properties.back().Name, "RegionData");
    EXPECT_EQ(Image->Properties.back().Value.GetBytes(), FacePayload());
    // And the window has that outline too now.
    EXPECT_EQ(WM().GetWindowRgn(Form->GetHandle()), FaceOutline());

    // Always written properties, and the defaults left out.
    const TFormValue* Tolerance = FindProperty(*Image, "DragTolerance");
    ASSERT_NE(Tolerance, nullptr);
    EXPECT_EQ(Tolerance->GetInteger(), 5);
    EXPECT_EQ(FindProperty(*Image, "TransparentColor"), nullptr);
    EXPECT_EQ(FindProperty(*Image, "Options"), nullptr);
    ASSERT_NE(FindProperty(*Image, "Align"), nullptr);
    EXPECT_EQ(FindProperty(*Image, "Align")->GetText(), "alClient");
    ASSERT_NE(FindProperty(*Image, "Picture"), nullptr);
    EXPECT_EQ(FindProperty(*Image, "Picture")->GetInteger(), 71);
}

TEST_F(RegionData, WithoutAnOutlineSavingWritesJustTheCountZero)
{
    TShapedTestForm* Form = ReadForm("    TransparentColor = clRed\n", 0, 20, 10);
    const TFormObject Written = TFormWriter::Describe(*Form);
    const TFormObject* Image = FindObject(Written, "Image");
    ASSERT_NE(Image, nullptr);
    const TFormValue* Data = FindProperty(*Image, "RegionData");
    ASSERT_NE(Data, nullptr);
    EXPECT_EQ(Data->GetBytes(), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST_F(RegionData, AWrittenFormReadsBackWithTheSameOutlineAndOptions)
{
    TShapedTestForm* Form = ReadForm("    Options = [ifUseWindowsDrag]\n"
                                     "    TransparentColor = clWhite\n",
                                     71);
    const std::string Text = TFormWriter::WriteComponent(*Form);
    auto* Copy = new TShapedTestForm(App.get());
    TFormReader::ReadInto(*Copy, Text);
    TfcImageForm* Image = ImageOf(Copy);
    EXPECT_TRUE(Image->GetOptions().Contains(ifUseWindowsDrag));
    EXPECT_EQ(Image->GetTransparentColor(), clWhite);
    EXPECT_EQ(Image->GetRegion(), ImageOf(Form)->GetRegion());
    const TFormObject Original = TFormWriter::Describe(*Form);
    const TFormObject Again = TFormWriter::Describe(*Copy);
    ASSERT_NE(FindObject(Again, "Image"), nullptr);
    EXPECT_EQ(TFormWriter::Format(*FindObject(Again, "Image")),
              TFormWriter::Format(*FindObject(Original, "Image")));
    // The hook is the control's own and no part of the description.
    EXPECT_EQ(Again.Children.size(), 1u);
}

} // namespace
