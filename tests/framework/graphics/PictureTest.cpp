#include "framework/graphics/Picture.h"

#include "base/Exception.h"
#include "tests/support/CaseName.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TBitmap Sample(int Width, int Height, TColor Corner)
{
    TBitmap B(Width, Height, TPixelFormat::pf24bit);
    B.SetPixel(0, Height - 1, Corner);
    return B;
}

// Counts notifications and records what the picture looked like when each arrived.
struct TWatch
{
    explicit TWatch(TPicture& Picture)
    {
        Picture.SetOnChange([this, &Picture](TPicture* Sender) {
            Senders.push_back(Sender);
            Widths.push_back(Picture.GetWidth());
        });
    }
    std::vector<TPicture*> Senders;
    std::vector<int> Widths;
};

struct TChangeCase
{
    const char* Name;
    bool StartWithGraphic;
    std::function<void(TPicture&)> Change;
    int Notifications;
    bool HasGraphicAfter;
    int WidthAfter;
};

void PrintTo(const TChangeCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class PictureChange : public testing::TestWithParam<TChangeCase>
{};

// Every change notifies once, after the change: a handler already sees the new graphic.
TEST_P(PictureChange, NotifiesOnceAfterTheChange)
{
    const TChangeCase& C = GetParam();
    TPicture Picture;
    if (C.StartWithGraphic)
        Picture.SetBitmap(Sample(7, 3, clRed));
    TWatch Watch(Picture);
    C.Change(Picture);
    ASSERT_EQ(int(Watch.Senders.size()), C.Notifications);
    for (std::size_t I = 0; I < Watch.Senders.size(); ++I) {
        EXPECT_EQ(Watch.Senders[I], &Picture);
        EXPECT_EQ(Watch.Widths[I], C.WidthAfter);
    }
    EXPECT_EQ(Picture.HasGraphic(), C.HasGraphicAfter);
    EXPECT_EQ(Picture.GetWidth(), C.WidthAfter);
}

const TChangeCase ChangeCases[] = {
    {"SetBitmap", false, [](TPicture& P) { P.SetBitmap(Sample(5, 2, clRed)); }, 1, true, 5},
    {"AssignPicture", true,
     [](TPicture& P) {
         TPicture Other;
         Other.SetBitmap(Sample(9, 9, clBlue));
         P.Assign(&Other);
     },
     1, true, 9},
    {"AssignNull", true, [](TPicture& P) { P.Assign(nullptr); }, 1, false, 0},
    {"AssignEmptyPicture", true,
     [](TPicture& P) {
         TPicture Empty;
         P.Assign(&Empty);
     },
     1, false, 0},
    {"AssignItself", true, [](TPicture& P) { P.Assign(&P); }, 1, true, 7},
    {"Clear", true, [](TPicture& P) { P.Clear(); }, 1, false, 0},
    {"LoadFromBytes", false,
     [](TPicture& P) { P.LoadFromBytes(Sample(4, 4, clLime).SaveToBytes()); }, 1, true, 4},
    {"FailedLoadChangesNothing", true,
     [](TPicture& P) {
         const std::vector<std::uint8_t> Junk = {'B', 'M', 1, 2, 3};
         EXPECT_THROW(P.LoadFromBytes(Junk), EInvalidGraphic);
     },
     0, true, 7},
    {"FailedFileLoadChangesNothing", true,
     [](TPicture& P) { EXPECT_THROW(P.LoadFromFile("/nonexistent/face.bmp"), EFileError); }, 0,
     true, 7},
    {"GetBitmapOfAnEmptyPicture", false, [](TPicture& P) { P.GetBitmap(); }, 1, true, 0},
    {"GetBitmapOfABitmap", true, [](TPicture& P) { P.GetBitmap(); }, 0, true, 7},
    {"ChangedAfterAnEditInPlace", true,
     [](TPicture& P) {
         P.GetBitmap().SetSize(2, 2);
         P.Changed();
     },
     1, true, 2},
};

INSTANTIATE_TEST_SUITE_P(Cases, PictureChange, testing::ValuesIn(ChangeCases), ByName{});

TEST(Picture, HoldsAnIndependentCopyAndNeverAPalette)
{
    TPicture A;
    EXPECT_EQ(A.GetGraphic(), nullptr);
    EXPECT_EQ(A.GetHeight(), 0);
    TBitmap Source = Sample(3, 2, clRed);
    Source.SetTransparent(true);
    A.SetBitmap(Source);
    Source.SetPixel(0, 1, clBlue);
    TPicture B;
    B.Assign(&A);
    A.GetBitmap().SetPixel(0, 1, clLime);
    EXPECT_EQ(B.GetBitmap().GetPixel(0, 1), clRed);
    EXPECT_EQ(B.GetHeight(), 2);
    EXPECT_EQ(B.GetBitmap().GetPixelFormat(), TPixelFormat::pf24bit);
    EXPECT_TRUE(B.GetGraphic()->GetTransparent()) << "the copy keeps the flag, until";
    B.GetGraphic()->SetTransparent(false); // what a picture's owner does to draw it opaque
    EXPECT_FALSE(B.GetGraphic()->GetTransparent());
    EXPECT_EQ(B.GetPalette(), 0u);
    B.Clear();
    EXPECT_THROW(B.SaveToFile("unused.bmp"), EInvalidGraphic) << "nothing to save";
}

} // namespace
