#include "base/Exception.h"
#include "framework/graphics/ImageList.h"
#include "framework/objects/ClassRegistry.h"
#include "tests/framework/graphics/GraphicsStreamingSupport.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace GraphicsTest;

class ImageListStreaming : public testing::Test
{
protected:
    void SetUp() override { RegisterGraphicsClasses(); }
};

// A list of random cells and masks, the model of what every image must look like afterwards.
struct TListModel
{
    int Width = 0, Height = 0;
    std::vector<std::vector<TPixel>> Pixels;
    std::vector<std::vector<bool>> Transparent;

    void Build(std::mt19937& Random, TImageList& List)
    {
        Width = int(Random() % 6) + 1;
        Height = int(Random() % 6) + 1;
        List.SetSize(Width, Height);
        const int Count = int(Random() % 9) + 1;
        for (int I = 0; I < Count; ++I) {
            TBitmap Image(Width, Height), Mask(Width, Height);
            std::vector<TPixel> P;
            std::vector<bool> T;
            for (int Y = 0; Y < Height; ++Y)
                for (int X = 0; X < Width; ++X) {
                    const TPixel Pixel = TPixel(Random() & 0xFFFFFF);
                    const bool Clear = Random() % 3 == 0;
                    Image.GetScanLine(Y)[X] = Pixel;
                    Mask.SetPixel(X, Y, Clear ? clWhite : clBlack);
                    P.push_back(Pixel);
                    T.push_back(Clear);
                }
            List.Add(Image, &Mask);
            Pixels.push_back(P);
            Transparent.push_back(T);
        }
    }

    void Check(const TImageList& List) const
    {
        ASSERT_EQ(List.GetWidth(), Width);
        ASSERT_EQ(List.GetHeight(), Height);
        ASSERT_EQ(List.GetCount(), int(Pixels.size()));
        for (int I = 0; I < List.GetCount(); ++I) {
            TBitmap Cell, Mask;
            List.GetBitmap(I, Cell);
            List.GetMask(I, Mask);
            for (int Y = 0; Y < Height; ++Y)
                for (int X = 0; X < Width; ++X) {
                    const std::size_t K = std::size_t(Y * Width + X);
                    const bool Clear = Transparent[std::size_t(I)][K];
                    ASSERT_EQ(Cell.GetScanLine(Y)[X], Clear ? 0xFFFFFFu : Pixels[std::size_t(I)][K])
                        << "image " << I << " at " << X << ", " << Y;
                    ASSERT_EQ(Mask.GetPixel(X, Y), Clear ? clWhite : clBlack);
                }
        }
    }
};

TImageList& OnlyList(TComponent& Root)
{
    return dynamic_cast<TImageList&>(*Root.GetComponent(0));
}

TEST_F(ImageListStreaming, DataRoundTrips)
{
    std::mt19937 Random(99);
    for (int Round = 0; Round < 40; ++Round) {
        TGraphicsHolder Holder;
        auto* List = new TImageList(&Holder);
        List->SetName("Images");
        TListModel Model;
        Model.Build(Random, *List);
        const TFormObject O = TFormWriter::Describe(Holder);
        ASSERT_EQ(O.Children.size(), 1u);
        std::set<std::string> Expected = {"Data"};
        if (Model.Width != 16)
            Expected.insert("Width");
        if (Model.Height != 16)
            Expected.insert("Height");
        EXPECT_EQ(WrittenNames(O.Children[0]), Expected);
        std::string Text;
        const auto Copy = RoundTrip(Holder, &Text);
        ASSERT_EQ(Copy->GetComponentCount(), 1);
        Model.Check(OnlyList(*Copy));
        EXPECT_EQ(TFormWriter::WriteComponent(*Copy), Text) << "round " << Round;
    }
}

// The Data block of a three-image list, for the corruption cases.
std::vector<std::uint8_t> SampleData()
{
    TGraphicsHolder Holder;
    auto* List = new TImageList(&Holder);
    List->SetName("Images");
    std::mt19937 Random(5);
    TListModel Model;
    while (Model.Pixels.size() < 3) {
        List->Clear();
        Model = TListModel();
        Model.Build(Random, *List);
    }
    return FindValue(TFormWriter::Describe(Holder).Children[0], "Data")->GetBytes();
}

void PutUInt32(std::vector<std::uint8_t>& Bytes, std::size_t At, std::uint32_t Value)
{
    for (int I = 0; I < 4; ++I)
        Bytes[At + std::size_t(I)] = std::uint8_t(Value >> (8 * I));
}

struct TCorruptCase
{
    const char* Name;
    void (*Corrupt)(std::vector<std::uint8_t>& Bytes);
    const char* MessagePart;
};

void PrintTo(const TCorruptCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class ImageListData : public testing::TestWithParam<TCorruptCase>
{
protected:
    void SetUp() override { RegisterGraphicsClasses(); }
};

// A damaged block is refused with an error that says what is wrong, never read past, and the
// read leaves no image list behind.
TEST_P(ImageListData, RefusesADamagedBlock)
{
    std::vector<std::uint8_t> Bytes = SampleData();
    GetParam().Corrupt(Bytes);
    TFormObject Child;
    Child.Name = "Images";
    Child.ClassName = "TImageList";
    Child.Line = 2;
    Child.Properties.push_back({"Data", TFormValue::FromBinary(Bytes), 3});
    TFormObject Root;
    Root.Name = "Holder";
    Root.ClassName = "TGraphicsHolder";
    Root.Line = 1;
    Root.Children.push_back(Child);
    TGraphicsHolder Holder;
    try {
        TFormReader::ReadInto(Holder, Root);
        FAIL() << "read without error";
    } catch (const Exception& E) {
        EXPECT_NE(E.GetMessage().find(GetParam().MessagePart), std::string::npos) << E.GetMessage();
    }
    EXPECT_EQ(Holder.GetComponentCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageListData,
    testing::Values(
        TCorruptCase{"Signature", [](std::vector<std::uint8_t>& B) { B[0] ^= 1; }, "signature"},
        TCorruptCase{"Empty", [](std::vector<std::uint8_t>& B) { B.clear(); }, "Line 3"},
        TCorruptCase{"CutShort", [](std::vector<std::uint8_t>& B) { B.pop_back(); },
                     "cut short in its masks"},
        TCorruptCase{"ExtraByte", [](std::vector<std::uint8_t>& B) { B.push_back(0); },
                     "1 bytes more"},
        TCorruptCase{"ZeroWidth", [](std::vector<std::uint8_t>& B) { PutUInt32(B, 4, 0); },
                     "cells of 0 x"},
        TCorruptCase{"HugeHeight",
                     [](std::vector<std::uint8_t>& B) { PutUInt32(B, 8, 0x7FFFFFFF); },
                     "x 2147483647 pixels"},
        TCorruptCase{"NoCellsARow", [](std::vector<std::uint8_t>& B) { PutUInt32(B, 16, 0); },
                     "0 a row"},
        TCorruptCase{"MoreImagesThanTheStripHolds",
                     [](std::vector<std::uint8_t>& B) { PutUInt32(B, 12, 9); }, "not 9"},
        TCorruptCase{"ImageBlockLongerThanTheData",
                     [](std::vector<std::uint8_t>& B) { PutUInt32(B, 20, 0xFFFFFFF0); },
                     "cut short in its images"},
        TCorruptCase{"ImagesButNoCount", [](std::vector<std::uint8_t>& B) { PutUInt32(B, 12, 0); },
                     "strips but no images"}),
    ByName{});

// Whatever image strip the program embeds, by name: its cells as its parameters lay them out,
// written back as the reference while unchanged and as Data once an image is deleted.
TEST_F(ImageListStreaming, ReferenceToAnEmbeddedStrip)
{
    const TResourceEntry* Entry = FirstResource("strip");
    if (!Entry)
        GTEST_SKIP() << "the program embeds no image strip";
    std::istringstream Params(Entry->Parameters);
    int CellWidth = 0, CellHeight = 0, Count = 0, PerRow = 0;
    ASSERT_TRUE(Params >> CellWidth >> CellHeight >> Count >> PerRow) << Entry->Parameters;
    TBitmap Strip;
    Strip.LoadFromBytes(Entry->Data);

    TGraphicsHolder Holder;
    TFormReader::ReadInto(Holder, std::string("object Holder: TGraphicsHolder\n"
                                              "  object Digits: TImageList\n    Bitmap = ") +
                                      Entry->Name + "\n  end\nend\n");
    TImageList& List = OnlyList(Holder);
    ASSERT_EQ(List.GetWidth(), CellWidth);
    ASSERT_EQ(List.GetHeight(), CellHeight);
    ASSERT_EQ(List.GetCount(), Count);
    EXPECT_EQ(List.GetResourceReference(), Entry->Name);
    // Copied before its strip is cut into images, a list still cuts the same images.
    TImageList Duplicate(List);
    for (const TImageList* L : {&List, &Duplicate})
        for (int I = 0; I < Count; ++I) {
            TBitmap Cell, Mask;
            L->GetBitmap(I, Cell);
            L->GetMask(I, Mask);
            const int Left = I % PerRow * CellWidth, Top = I / PerRow * CellHeight;
            for (int Y = 0; Y < CellHeight; ++Y)
                for (int X = 0; X < CellWidth; ++X) {
                    ASSERT_EQ(Cell.GetPixel(X, Y), Strip.GetPixel(Left + X, Top + Y))
                        << "image " << I << " at " << X << ", " << Y;
                    ASSERT_EQ(Mask.GetPixel(X, Y), clBlack) << "image " << I;
                }
        }

    const TFormObject O = TFormWriter::Describe(Holder).Children[0];
    const TFormValue* Bitmap = FindValue(O, "Bitmap");
    ASSERT_NE(Bitmap, nullptr) << TFormWriter::Format(O);
    EXPECT_EQ(*Bitmap, TFormValue::FromIdent(Entry->Name));
    EXPECT_EQ(FindValue(O, "Data"), nullptr);
    const auto Copy = RoundTrip(Holder);
    EXPECT_EQ(OnlyList(*Copy).GetCount(), Count);

    EXPECT_EQ(Duplicate.GetResourceReference(), Entry->Name);
    EXPECT_EQ(Duplicate.GetOwner(), nullptr);
    EXPECT_EQ(Duplicate.GetName(), "");

    List.Delete(Count - 1);
    EXPECT_EQ(List.GetResourceReference(), "");
    const TFormObject Edited = TFormWriter::Describe(Holder).Children[0];
    EXPECT_EQ(FindValue(Edited, "Bitmap"), nullptr);
    EXPECT_NE(FindValue(Edited, "Data"), nullptr);
    EXPECT_EQ(OnlyList(*RoundTrip(Holder)).GetCount(), Count - 1);
}

TEST_F(ImageListStreaming, IsARegisteredComponent)
{
    const TClassInfo& Class = FindClass("TImageList");
    EXPECT_TRUE(Class.IsComponentClass());
    ASSERT_TRUE(Class.CanCreate());
    std::unique_ptr<TComponent> Created(TFormReader::ReadComponent(
        "object Digits: TImageList\n  Width = 23\n  Height = 41\nend\n", nullptr));
    auto* List = dynamic_cast<TImageList*>(Created.get());
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->GetName(), "Digits");
    EXPECT_EQ(List->GetWidth(), 23);
    EXPECT_EQ(List->GetHeight(), 41);
    EXPECT_FALSE(List->IsLoading());

    TGraphicsHolder Owner;
    auto* Owned = new TImageList(&Owner);
    EXPECT_EQ(Owner.GetComponentCount(), 1);
    EXPECT_EQ(Owned->GetOwner(), &Owner);
}

} // namespace
