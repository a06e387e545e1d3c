#include "tools/snapshot/ControlSnapshot.h"

#include "base/Exception.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class ControlSnapshotTest : public HeadlessAppTest
{
protected:
    void SetUp() override
    {
        HeadlessAppTest::SetUp();
        RegisterControlFamily();
    }
    // A pixel of the snapshot's form as painted.
    TColor At(TForm* Form, int X, int Y)
    {
        return WM().GetBackBuffer(Form->GetHandle())->GetPixel(X, Y);
    }
};

TEST_F(ControlSnapshotTest, DrawsTheControlWithItsPropertiesAtItsSize)
{
    TForm* Form = ShowControlSnapshot(
        *App,
        {"TVelmoraPanel", 60, 30, {{"BarWidth", "4"}, {"DoGreen", "0"}, {"Color", "clBlue"}}});
    Pump();
    EXPECT_EQ(Form->GetClientWidth(), 60);
    EXPECT_EQ(Form->GetClientHeight(), 30);
    EXPECT_EQ(At(Form, 1, 15), clRed);   // the band's middle line
    EXPECT_EQ(At(Form, 30, 15), clBlue); // the fill
}

TEST_F(ControlSnapshotTest, DrawsAProgramsFormAsItOpens)
{
    TForm* Form = ShowControlSnapshot(*App, {"TFormGallery", 0, 0, {}});
    Pump();
    EXPECT_EQ(Form->GetClientWidth(), 716);
    EXPECT_EQ(At(Form, 2, 2), ColorToRGB(clBtnFace));
}

TEST_F(ControlSnapshotTest, NamesWhatItCannotDraw)
{
    const struct
    {
        TControlSnapshot Snapshot;
        std::string Named;
    } Cases[] = {{{"TNoSuchControl", 0, 0, {}}, "TNoSuchControl"},
                 {{"TImageList", 0, 0, {}}, "TImageList"},
                 {{"TRidivAzoza", 0, 0, {}}, "size"},
                 {{"TVelmoraPanel", 0, 0, {{"Stripes", "1"}}}, "Stripes"},
                 {{"TVelmoraPanel", 0, 0, {{"BarWidth", "wide"}}}, "BarWidth"},
                 {{"TFormGallery", 0, 0, {{"Color", "clRed"}}}, "form"}};
    for (const auto& C : Cases) {
        try {
            ShowControlSnapshot(*App, C.Snapshot);
            ADD_FAILURE() << C.Named << " was drawn";
        } catch (const Exception& E) {
            EXPECT_NE(std::string(E.what()).find(C.Named), std::string::npos) << E.what();
        }
    }
}

} // namespace
