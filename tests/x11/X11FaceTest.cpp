// Each face of the clock on a form of this process, on the real server: a TfcImageForm shows it,
// the form's window is cut to its outline for drawing and for input, and inside the outline the
// screen shows the face's own pixels. A window made anew for another form style is cut again and
// still dragged by its face.
#include "framework/windows/WindowManager.h"
#include "tests/support/CaseName.h"
#include "tests/support/FaceForm.h"
#include "tests/x11/X11TestSupport.h"

#include <algorithm>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

class X11FaceFormTest : public X11AppTest
{
protected:
    void SetUp() override
    {
        fcImageForm::Register();
        X11AppTest::SetUp();
    }
};

class X11FaceTest : public X11FaceFormTest, public testing::WithParamInterface<TFaceCheck>
{};

TEST_P(X11FaceTest, TheWindowIsCutToTheFaceAndShowsIt)
{
    const TFaceCheck& C = GetParam();
    const TFaceForm Shaped(*App, {150, 130}, C.Id);
    const TBitmap& Face = Shaped.Face;
    ASSERT_EQ(Face.GetWidth(), C.Width);
    ASSERT_EQ(Face.GetHeight(), C.Height);
    TForm* Form = Shaped.Form;
    App->ProcessMessages();
    auto* Peer = static_cast<TX11Window*>(TWindowManager::Get().GetPeer(Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(DispatchUntil([&] { return Peer->IsMapped(); }));
    App->ProcessMessages();
    EXPECT_EQ(Peer->GetClientSize(), TPoint(C.Width, C.Height));

    const TRegion& Outline = Shaped.Outline;
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

// Where the server has a window's client area on the screen.
TPoint ServerOrigin(Display* D, unsigned long Window)
{
    int X = 0, Y = 0;
    ::Window Child = XNone;
    XTranslateCoordinates(D, Window, DefaultRootWindow(D), 0, 0, &X, &Y, &Child);
    return {X, Y};
}

// The form's window made anew to stay on top: the owner cuts it to the face again, the window
// asks to be kept above the others, and the face still drags it.
TEST_F(X11FaceFormTest, AWindowMadeAnewToStayOnTopIsCutToTheFaceAndDraggedByIt)
{
    const TFaceForm Shaped(*App, {150, 130}, FaceChecks[0].Id);
    TForm* Form = Shaped.Form;
    const HWND Old = Form->GetHandle();
    Form->SetFormStyle(fsStayOnTop);
    Shaped.Image->ApplyPictureRegion();
    ASSERT_NE(Form->GetHandle(), Old);
    auto* Peer = static_cast<TX11Window*>(TWindowManager::Get().GetPeer(Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(DispatchUntil([&] { return Peer->IsMapped(); }));
    const unsigned long Window = Peer->GetXWindow();

    const std::vector<TRect> Expected(Shaped.Outline.GetRects().begin(),
                                      Shaped.Outline.GetRects().end());
    EXPECT_EQ(ReadShape(Window, ShapeBounding), Expected);
    EXPECT_EQ(ReadShape(Window, ShapeInput), Expected);
    // No window manager runs on the test's server: the state property is what keeps it above.
    const std::vector<unsigned long> State = ReadAtoms(Window, "_NET_WM_STATE");
    EXPECT_NE(std::find(State.begin(), State.end(), Intern("_NET_WM_STATE_ABOVE")), State.end());

    // Pressed in the middle of the outline's widest band, released 40 right and 30 down: the
    // press grabs the pointer for the window until the release.
    const TRect Band = Shaped.WidestBand();
    const TPoint Origin = ServerOrigin(Observer, Window);
    const TPoint Press = Origin + TPoint{(Band.Left + Band.Right) / 2, Band.Top};
    const TPoint Step{40, 30};
    MovePointer(Press);
    PointerButton(1, true);
    MovePointer(Press + Step);
    PointerButton(1, false);
    EXPECT_TRUE(DispatchUntil([&] { return ServerOrigin(Observer, Window) == Origin + Step; }));
    EXPECT_EQ(Form->GetBoundsRect().TopLeft(), Origin + Step);
}

} // namespace
