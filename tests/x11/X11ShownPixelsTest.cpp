// Presenting only what the server does not already show: the bookkeeping against a model of the
// server's pixels, and real windows whose pixels are read back after exposures and screen frames.
#include "platform/x11/X11ShownPixels.h"

#include "platform/x11/X11Presenter.h"
#include "tests/x11/X11TestSupport.h"

#include <random>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

// The server as the bookkeeping must see it: pixels, and whether each is known at all.
struct TServerModel
{
    int Width, Height;
    std::vector<TPixel> Pixels;
    std::vector<bool> Known;

    TServerModel(int W, int H)
        : Width(W), Height(H), Pixels(std::size_t(W * H)), Known(std::size_t(W * H), false)
    {}
    void Forget(const TRect& R)
    {
        const TRect C = R.Intersect({0, 0, Width, Height});
        for (int Y = C.Top; Y < C.Bottom; ++Y)
            for (int X = C.Left; X < C.Right; ++X)
                Known[std::size_t(Y * Width + X)] = false;
    }
    void Receive(const std::vector<TPixel>& Buffer, const TRect& R)
    {
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) {
                Pixels[std::size_t(Y * Width + X)] = Buffer[std::size_t(Y * Width + X)];
                Known[std::size_t(Y * Width + X)] = true;
            }
    }
    bool Shows(const std::vector<TPixel>& Buffer, int X, int Y) const
    {
        const std::size_t I = std::size_t(Y * Width + X);
        return Known[I] && Pixels[I] == Buffer[I];
    }
};

TRect RandomRect(std::mt19937& Rng, int W, int H)
{
    // Now and then beyond the area, to see the clipping.
    std::uniform_int_distribution<int> X(-5, W + 5), Y(-5, H + 5);
    const int A = X(Rng), B = X(Rng), C = Y(Rng), D = Y(Rng);
    return {std::min(A, B), std::min(C, D), std::max(A, B) + 1, std::max(C, D) + 1};
}

TEST(X11ShownPixels, SendsWhatTheServerLacksAndNothingElse)
{
    constexpr int W = 70, H = 45;
    std::mt19937 Rng(1913);
    std::vector<TPixel> Buffer(W * H);
    for (TPixel& P : Buffer)
        P = Rng() & 0xFFFFFF;
    TServerModel Server(W, H);
    TX11ShownPixels Shown;
    Shown.Reset({W, H});
    const TPixelView View{Buffer.data(), W, H, W};
    // The bounds of the pixels painted since they were last all given, as the window manager
    // keeps them for the back buffer.
    TRect Painted{0, 0, W, H};
    for (int Step = 0; Step < 400; ++Step) {
        const int Action = int(Rng() % 4);
        const TRect R = RandomRect(Rng, W, H);
        if (Action == 0) {
            Shown.Forget(R);
            Server.Forget(R);
            continue;
        }
        if (Action == 1) {
            // Paint: a few pixels, some of them with the value they already had.
            for (int I = 0; I < 12; ++I) {
                const std::size_t At = Rng() % Buffer.size();
                if (Rng() % 3)
                    Buffer[At] = Rng() & 0xFFFFFF;
                Painted = Painted.Union(TRect::FromSize(int(At % W), int(At / W), 1, 1));
            }
        }
        const TRect Asked = R.Intersect({0, 0, W, H});
        const std::vector<TRect> Sent = Shown.TakeChanges(View, R, Painted.Intersect(R));
        if (Painted.Intersect(Asked) == Painted)
            Painted = {};
        // Only what was asked for; banded and never twice the same pixel.
        std::vector<int> Covered(W * H, 0);
        for (const TRect& S : Sent) {
            ASSERT_FALSE(S.IsEmpty());
            ASSERT_EQ(S.Intersect(Asked), S) << "step " << Step;
            for (int Y = S.Top; Y < S.Bottom; ++Y)
                for (int X = S.Left; X < S.Right; ++X)
                    ++Covered[std::size_t(Y * W + X)];
        }
        for (int V : Covered)
            ASSERT_LE(V, 1) << "step " << Step;
        // Nothing needless: every rectangle sent has a pixel the server lacked in its first and
        // in its last column, and the rectangles of a band have one in its first and last row.
        auto Lacking = [&](const TRect& Part) {
            for (int Y = Part.Top; Y < Part.Bottom; ++Y)
                for (int X = Part.Left; X < Part.Right; ++X)
                    if (!Server.Shows(Buffer, X, Y))
                        return true;
            return false;
        };
        for (const TRect& S : Sent) {
            EXPECT_TRUE(Lacking({S.Left, S.Top, S.Left + 1, S.Bottom})) << "step " << Step;
            EXPECT_TRUE(Lacking({S.Right - 1, S.Top, S.Right, S.Bottom})) << "step " << Step;
            bool First = false, Last = false;
            for (const TRect& B : Sent)
                if (B.Top == S.Top && B.Bottom == S.Bottom) {
                    First = First || Lacking({B.Left, B.Top, B.Right, B.Top + 1});
                    Last = Last || Lacking({B.Left, B.Bottom - 1, B.Right, B.Bottom});
                }
            EXPECT_TRUE(First && Last) << "step " << Step;
        }
        for (const TRect& S : Sent)
            Server.Receive(Buffer, S);
        for (int Y = Asked.Top; Y < Asked.Bottom; ++Y)
            for (int X = Asked.Left; X < Asked.Right; ++X)
                ASSERT_TRUE(Server.Shows(Buffer, X, Y))
                    << "(" << X << ", " << Y << ") was not sent at step " << Step;
        // Asked again at once: all there.
        EXPECT_TRUE(Shown.TakeChanges(View, R, Painted).empty()) << "step " << Step;
    }
}

TEST(X11ShownPixels, NearbyChangesGoInOneRectangleDistantOnesApart)
{
    constexpr int W = 100, H = 10;
    std::vector<TPixel> Buffer(W * H, 0x102030);
    TX11ShownPixels Shown;
    Shown.Reset({W, H});
    const TPixelView View{Buffer.data(), W, H, W};
    const std::vector<TRect> Whole{{0, 0, W, H}};
    ASSERT_EQ(Shown.TakeChanges(View, {0, 0, W, H}, {0, 0, W, H}), Whole);

    const int Near = 10 + TX11ShownPixels::MergeGapPixels - 1; // a gap one short of the limit
    const int Far = Near + 1 + TX11ShownPixels::MergeGapPixels;
    for (int X : {10, Near + 1, Far + 1})
        Buffer[std::size_t(3 * W + X)] = 0xFFFFFF;
    Buffer[std::size_t(4 * W + 10)] = 0xFFFFFF;
    Buffer[std::size_t(8 * W + 50)] = 0xFFFFFF;
    const std::vector<TRect> Expected{
        {10, 3, Near + 2, 5}, {Far + 1, 3, Far + 2, 5}, {50, 8, 51, 9}};
    EXPECT_EQ(Shown.TakeChanges(View, {0, 0, W, H}, {0, 0, W, H}), Expected);
}

TEST(X11ShownPixels, ANewSizeKnowsNothing)
{
    std::vector<TPixel> Buffer(20 * 20, 0x445566);
    TX11ShownPixels Shown;
    Shown.Reset({20, 20});
    const TPixelView View{Buffer.data(), 20, 20, 20};
    Shown.TakeChanges(View, {0, 0, 20, 20}, {0, 0, 20, 20});
    Shown.Reset({20, 20});
    const std::vector<TRect> All{{5, 5, 8, 9}};
    EXPECT_EQ(Shown.TakeChanges(View, {5, 5, 8, 9}, {}), All);
}

// A window of the port with a known picture on it.
class X11ShownWindowTest : public X11Test
{
protected:
    static constexpr int W = 120, H = 80;
    void SetUp() override
    {
        X11Test::SetUp();
        if (IsSkipped())
            return;
        Window = MakeWindow(TRect::FromSize(200, 150, W, H));
        ShowAndWait(*Window);
        PumpPending(); // the exposure of mapping
        Buffer.resize(W * H);
        for (std::size_t I = 0; I < Buffer.size(); ++I)
            Buffer[I] = static_cast<TPixel>(I * 2654435761u) & 0xFFFFFF;
        Present({0, 0, W, H});
        Recorder.Events.clear();
    }
    void TearDown() override
    {
        Window.reset();
        X11Test::TearDown();
    }
    // Presents Rect of Buffer; the pixels that went to the server.
    std::uint64_t Present(const TRect& Rect)
    {
        const std::uint64_t Before = X11Port().GetPresenter()->GetCounts().Pixels;
        Window->Present({Buffer.data(), W, H, W}, Rect, Rect);
        return X11Port().GetPresenter()->GetCounts().Pixels - Before;
    }
    std::vector<TPixel> OnScreen() { return ReadPixels(Window->GetXWindow(), {0, 0, W, H}); }

    std::unique_ptr<TX11Window> Window;
    std::vector<TPixel> Buffer;
};

TEST_F(X11ShownWindowTest, PresentingTheSamePixelsAgainSendsNothing)
{
    EXPECT_EQ(Present({0, 0, W, H}), 0u);
    Buffer[std::size_t(30 * W + 40)] = 0x00FF00;
    EXPECT_EQ(Present({0, 0, W, H}), 1u);
    EXPECT_EQ(OnScreen(), Buffer);
}

TEST_F(X11ShownWindowTest, AnExposedPartGoesAgain)
{
    // Another client says the part is lost (with no background, nothing is cleared).
    XClearArea(Observer, Window->GetXWindow(), 10, 20, 30, 15, True);
    XSync(Observer, False);
    ASSERT_TRUE(PumpUntil([&] { return Recorder.Has(TRecordedEvent::Exposed); }));
    EXPECT_EQ(Present({0, 0, W, H}), 30u * 15u);
}

TEST_F(X11ShownWindowTest, PixelsPresentedUnderAScreenFrameAreRightOnceItIsErased)
{
    // The face drag inverts a frame over the window while the clock keeps presenting its digits.
    const TRect Frame = TRect::FromSize(190, 170, 80, 40);
    X11Port().DrawScreenFrame(Frame, 3);
    for (std::size_t I = 0; I < Buffer.size(); I += 7)
        Buffer[I] ^= 0x0F0F0F;
    Present({0, 0, W, H});
    X11Port().DrawScreenFrame(Frame, 3);
    EXPECT_GT(Present({0, 0, W, H}), 0u); // the frame's pixels under the window, again
    EXPECT_EQ(OnScreen(), Buffer);
}

} // namespace
