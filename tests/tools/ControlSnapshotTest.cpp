#include "tools/snapshot/ControlSnapshot.h"

#include "base/Exception.h"
#include "hexedit/Hexcontrol.h"
#include "programs/hexedit/Fhexedit.h"
#include "tests/support/HeadlessApp.h"

#include <cstdio>
#include <fstream>
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

TEST_F(ControlSnapshotTest, SetsPartsOfAProgramsFormThenOpensTypesAndFinds)
{
    const std::string Path = ::testing::TempDir() + "snapshot-sample.bin";
    std::ofstream(Path, std::ios::binary) << "abcdef Nixie Nixie";
    TControlSnapshot S{"TFormHexEdit", 0, 0, {{"HexEditor.ColorChange", "clRed"}}};
    S.OpenFile = Path;
    S.Typed = "4e49";
    S.Find = "Nixie";
    auto* Form = dynamic_cast<TFormHexEdit*>(ShowControlSnapshot(*App, S));
    ASSERT_NE(Form, nullptr);
    const THexEditor& Editor = *Form->HexEditor;
    EXPECT_EQ(Editor.GetColorChange(), clRed);
    EXPECT_EQ(Editor.GetSize(), 18);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Editor.GetData()), 3), "NIc");
    EXPECT_EQ(Editor.GetCursorOffset(), 7); // the first hit, not the one after the typing
    std::remove(Path.c_str());
}

TEST_F(ControlSnapshotTest, FindsAPartInsideAnotherOnTheForm)
{
    TForm* Form = ShowControlSnapshot(*App, {"TFormGallery", 0, 0, {}});
    // DigitsHex lies at 8, 8 inside PanelHex, which lies at 476, 28 on the form.
    EXPECT_EQ(PartBounds(Form, "DigitsHex"), TRect::FromSize(484, 36, 200, 40));
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
                 {{"TFormGallery", 0, 0, {{"Color", "clRed"}}}, "form"},
                 {{"TFormHexEdit", 0, 0, {{"HexEditor.Stripes", "1"}}}, "Stripes"},
                 {{"TFormHexEdit", 0, 0, {}, "/no/such/file"}, "/no/such/file"},
                 {{"TFormGallery", 0, 0, {}, "", "", "Nixie"}, "--find"},
                 {{"TFormHexEdit", 0, 0, {}, "", "", "Nixie"}, "Nixie"}};
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
