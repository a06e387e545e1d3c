// Each face of the clock on a form of this process, on the real server: a TfcImageForm shows it,
// the form's window is cut to its outline for drawing and for input, and inside the outline the
// screen shows the face's own pixels.
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"
#include "shaped/fcImageForm.h"
#include "tests/e2e/ClockFace.h"
#include "tests/support/CaseName.h"
#include "tests/x11/X11TestSupport.h"

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

class X11FaceTest : public X11AppTest, public testing::WithParamInterface<TFaceCheck>
{
protected:
    void SetUp() override
    {
        fcImageForm::Register();
        X11AppTest::SetUp();
    }
};

TEST_P(X11FaceTest, TheWindowIsCutToTheFaceAndShowsIt)
{
    const TFaceCheck& C = GetParam();
    const TBitmap Face = LoadBitmapResource(C.Id);
    ASSERT_EQ(Face.GetWidth(), C.Width);
    ASSERT_EQ(Face.GetHeight(), C.Height);

    auto* Form = new TForm(App.get());
    Form->SetBounds(150, 130, 400, 200);
    auto* Image = new TfcImageForm(Form);
    Image->SetParent(Form);
    TPicture Picture;
    Picture.SetBitmap(Face);
    Image->SetPicture(&Picture);
    Image->ApplyPictureRegion();
    Form->Show();
    App->ProcessMessages();
    auto* Peer = static_cast<TX11Window*>(TWindowManager::Get().GetPeer(Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(DispatchUntil([&] { return Peer->IsMapped(); }));
    App->ProcessMessages();
    EXPECT_EQ(Peer->GetClientSize(), TPoint(C.Width, C.Height));

    const TRegion Outline = OutlineOf(Face);
    const std::vector<TRect> Expected(Outline.GetRects().begin(), Outline.GetRects().end());
    EXPECT_EQ(Expected.size(), C.Rects);
    EXPECT_EQ(ReadShape(Peer->GetXWindow(), ShapeBounding), Expected);
    EXPECT_EQ(ReadShape(Peer->GetXWindow(), ShapeInput), Expected);

    const std::vector<TPixel> Shown = ReadPixels(Peer->GetXWindow(), {0, 0, C.Width, C.Height});
    ASSERT_EQ(Shown.size(), std::size_t(C.Width * C.Height));
    int Wrong = 0;
    for (int Y = 0; Y < C.Height; ++Y)
        for (int X = 0; X < C.Width; ++X)
            if (Outline.Contains({X, Y}) &&
                Shown[std::size_t(Y * C.Width + X)] != (Face.GetScanLine(Y)[X] & 0xFFFFFF) &&
                Wrong++ < 5)
                ADD_FAILURE() << "pixel (" << X << ", " << Y << ") is not the face's";
    EXPECT_EQ(Wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Faces, X11FaceTest, testing::ValuesIn(FaceChecks), ByName{});

} // namespace
