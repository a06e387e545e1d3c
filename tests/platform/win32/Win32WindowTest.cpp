// The Windows port's form windows under Wine: styles and frames, presenting pixels, outlines,
// the translation of window messages into events, capture, waiting and waking.
#include "platform/win32/Win32Window.h"

#include "framework/graphics/Region.h"
#include "platform/win32/Win32Platform.h"
#include "tests/platform/win32/Win32TestWindow.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <random>
#include <thread>
#include <windows.h>

namespace {

TWin32Platform& Port()
{
    return Win32Port();
}

void Pump()
{
    PumpEvents();
}

TPlatformWindowParams Borderless(const TRect& Bounds)
{
    return BorderlessParams(Bounds);
}

// A test window with its HWND at hand.
struct TOpenWindow : TTestWindow
{
    explicit TOpenWindow(const TPlatformWindowParams& Params, TWin32Platform& Platform = Port())
        : TTestWindow(Params, Platform), Wnd(static_cast<HWND>(Handle))
    {}
    HWND Wnd;
};

DWORD StyleOf(HWND Wnd)
{
    return static_cast<DWORD>(GetWindowLongPtrW(Wnd, GWL_STYLE));
}
DWORD ExStyleOf(HWND Wnd)
{
    return static_cast<DWORD>(GetWindowLongPtrW(Wnd, GWL_EXSTYLE));
}

// The frame as the system draws it: where the client area lies inside the outer rectangle.
TRect MeasuredFrame(HWND Wnd)
{
    RECT Outer{};
    RECT Client{};
    GetWindowRect(Wnd, &Outer);
    GetClientRect(Wnd, &Client);
    POINT Origin{0, 0};
    ClientToScreen(Wnd, &Origin);
    return {Origin.x - Outer.left, Origin.y - Outer.top, Outer.right - (Origin.x + Client.right),
            Outer.bottom - (Origin.y + Client.bottom)};
}

// ---- Frames and styles ----------------------------------------------------------------------

struct TFrameCase
{
    const char* Name;
    TWindowFrame Frame;
    bool Popup;
    DWORD StyleWanted;
    DWORD StyleRefused;
    DWORD ExStyleWanted;
    DWORD ExStyleRefused;
};

class Win32FrameTest : public testing::TestWithParam<TFrameCase>
{};

TEST_P(Win32FrameTest, HasTheStylesAndTheFrameItReports)
{
    const TFrameCase& C = GetParam();
    TPlatformWindowParams P = Borderless({120, 90, 360, 270});
    P.Frame = C.Frame;
    P.Popup = C.Popup;
    TOpenWindow W(P);
    ASSERT_NE(W.Wnd, nullptr);
    EXPECT_EQ(StyleOf(W.Wnd) & C.StyleWanted, C.StyleWanted);
    EXPECT_EQ(StyleOf(W.Wnd) & C.StyleRefused, 0u);
    EXPECT_EQ(ExStyleOf(W.Wnd) & C.ExStyleWanted, C.ExStyleWanted);
    EXPECT_EQ(ExStyleOf(W.Wnd) & C.ExStyleRefused, 0u);
    EXPECT_FALSE(IsWindowVisible(W.Wnd)) << "shown only when asked";

    // Owned by the application window: no task-bar button of its own.
    EXPECT_EQ(GetWindow(W.Wnd, GW_OWNER), static_cast<HWND>(Port().GetApplicationWindowHandle()));
    EXPECT_EQ(W.Window->GetBounds(), P.Bounds);
    const TRect Frame = W.Window->GetClientOffset();
    EXPECT_EQ(Frame, MeasuredFrame(W.Wnd));
    if (C.Frame == TWindowFrame::None || C.Popup)
        EXPECT_EQ(Frame, TRect{});
    else
        EXPECT_GT(Frame.Top, Frame.Bottom) << "the caption is part of the top";
}

INSTANTIATE_TEST_SUITE_P(
    Frames, Win32FrameTest,
    testing::Values(
        TFrameCase{"None", TWindowFrame::None, false, WS_POPUP, WS_CAPTION | WS_THICKFRAME, 0,
                   WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST},
        TFrameCase{"Dialog", TWindowFrame::Dialog, false, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                   WS_THICKFRAME, WS_EX_DLGMODALFRAME, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE},
        TFrameCase{"Sizeable", TWindowFrame::Sizeable, false, WS_CAPTION | WS_THICKFRAME, 0, 0,
                   WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE},
        TFrameCase{"Popup", TWindowFrame::None, true, WS_POPUP, WS_CAPTION,
                   WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, 0},
        TFrameCase{"PopupIgnoresFrame", TWindowFrame::Dialog, true, WS_POPUP, WS_CAPTION,
                   WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, 0}),
    ByName{});

TEST(Win32Window, StayOnTopIsTheTopmostStyle)
{
    for (const bool AtCreation : {false, true}) {
        SCOPED_TRACE(AtCreation);
        TPlatformWindowParams P = Borderless({10, 10, 50, 50});
        P.StayOnTop = AtCreation;
        TOpenWindow W(P);
        ASSERT_NE(W.Wnd, nullptr);
        EXPECT_EQ((ExStyleOf(W.Wnd) & WS_EX_TOPMOST) != 0, AtCreation);
        for (const bool On : {true, false, true, false}) {
            W.Window->SetStayOnTop(On);
            EXPECT_EQ((ExStyleOf(W.Wnd) & WS_EX_TOPMOST) != 0, On);
        }
    }
}

TEST(Win32Window, TitlesAreUtf8Inside)
{
    TPlatformWindowParams P = Borderless({10, 10, 50, 50});
    P.Title = "Nixie \xE6\x99\x82\xF0\x9F\x98\x80";
    TOpenWindow W(P);
    ASSERT_NE(W.Wnd, nullptr);
    wchar_t Text[64] = {};
    GetWindowTextW(W.Wnd, Text, 64);
    EXPECT_EQ(std::wstring(Text), L"Nixie \u6642\U0001F600");
    W.Window->SetTitle("Zeit \xC3\xBC");
    GetWindowTextW(W.Wnd, Text, 64);
    EXPECT_EQ(std::wstring(Text), L"Zeit \u00FC");
}

TEST(Win32Window, SetBoundsMovesTheOuterRectangle)
{
    TPlatformWindowParams P = Borderless({10, 10, 50, 50});
    P.Frame = TWindowFrame::Dialog;
    TOpenWindow W(P);
    ASSERT_NE(W.Wnd, nullptr);
    W.Window->SetBounds({200, 150, 460, 330});
    RECT R{};
    GetWindowRect(W.Wnd, &R);
    EXPECT_EQ((TRect{R.left, R.top, R.right, R.bottom}), (TRect{200, 150, 460, 330}));
    EXPECT_EQ(W.Window->GetBounds(), (TRect{200, 150, 460, 330}));
}

TEST(Win32Window, DestroyingThePeerDestroysTheWindow)
{
    auto W = std::make_unique<TOpenWindow>(Borderless({10, 10, 50, 50}));
    const HWND Wnd = W->Wnd;
    ASSERT_TRUE(IsWindow(Wnd));
    W->Window.reset();
    EXPECT_FALSE(IsWindow(Wnd));
}

TEST(Win32Window, WindowsOutlivingThePortAreGoneAndQuiet)
{
    auto Local = std::make_unique<TWin32Platform>();
    TOpenWindow W(Borderless({10, 10, 50, 50}), *Local);
    ASSERT_NE(W.Wnd, nullptr);
    W.Window->Show(true);
    Local.reset();
    EXPECT_FALSE(IsWindow(W.Wnd));
    EXPECT_EQ(static_cast<TWin32Window&>(*W.Window).GetHandle(), nullptr);
    W.Events.Log.clear();
    // None of these may reach a window that is gone.
    W.Window->Show(true);
    W.Window->SetBounds({0, 0, 5, 5});
    W.Window->SetShape(std::vector<TRect>{{0, 0, 2, 2}});
    W.Window->SetTaskbarButton(true);
    W.Window->SetCapture(true);
    W.Window.reset();
    EXPECT_TRUE(W.Events.Log.empty());
}

// ---- Presenting -----------------------------------------------------------------------------

TPixel ScreenPixel(HWND Wnd, int X, int Y)
{
    HDC DC = GetDC(Wnd);
    const COLORREF C = GetPixel(DC, X, Y);
    ReleaseDC(Wnd, DC);
    return (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C);
}

std::vector<TPixel> RandomPixels(std::size_t Count, std::uint32_t Seed)
{
    std::mt19937 Random(Seed);
    std::vector<TPixel> Pixels(Count);
    for (TPixel& P : Pixels)
        P = Random() & 0xFFFFFF;
    return Pixels;
}

class Win32PresentTest : public testing::Test
{
protected:
    static constexpr int Width = 40;
    static constexpr int Height = 30;
    static constexpr int Stride = 48; // wider than the picture, as a sub-view would be

    void SetUp() override
    {
        W = std::make_unique<TOpenWindow>(Borderless(TRect::FromSize(80, 70, Width, Height)));
        ASSERT_NE(W->Wnd, nullptr);
        W->Window->Show(false);
        Pump();
    }

    TPixelView View(const std::vector<TPixel>& Pixels) const
    {
        return {Pixels.data(), Width, Height, Stride};
    }

    // Each pixel of the window against the picture that should show there.
    void ExpectScreen(const std::vector<TPixel>& Inside, const std::vector<TPixel>& Outside,
                      const TRect& Where)
    {
        int Wrong = 0;
        for (int Y = 0; Y < Height; ++Y)
            for (int X = 0; X < Width; ++X) {
                const auto& Source = Where.Contains({X, Y}) ? Inside : Outside;
                const TPixel Expected = Source[static_cast<std::size_t>(Y * Stride + X)];
                const TPixel Got = ScreenPixel(W->Wnd, X, Y);
                if (Got != Expected && ++Wrong <= 5)
                    ADD_FAILURE() << "at " << X << "," << Y << ": " << std::hex << Got
                                  << " instead of " << Expected;
            }
        EXPECT_EQ(Wrong, 0);
    }

    std::unique_ptr<TOpenWindow> W;
};

TEST_F(Win32PresentTest, CopiesExactlyTheRectangleAsked)
{
    const auto First = RandomPixels(Stride * Height, 1);
    const auto Second = RandomPixels(Stride * Height, 2);
    W->Window->Present(View(First), {0, 0, Width, Height}, {0, 0, Width, Height});
    ExpectScreen(First, First, {});
    const TRect Part{7, 5, 23, 19};
    W->Window->Present(View(Second), Part, Part);
    ExpectScreen(Second, First, Part);
}

TEST_F(Win32PresentTest, ClipsToTheBuffer)
{
    const auto First = RandomPixels(Stride * Height, 3);
    const auto Second = RandomPixels(Stride * Height, 4);
    W->Window->Present(View(First), {0, 0, Width, Height}, {0, 0, Width, Height});
    // Reaching past the buffer's edges (and its width, into the stride) shows only the buffer.
    W->Window->Present(View(Second), {30, -10, 90, 12}, {30, -10, 90, 12});
    ExpectScreen(Second, First, {30, 0, Width, 12});
    W->Window->Present(View(Second), {Width, 0, Stride, Height}, {Width, 0, Stride, Height});
    W->Window->Present(TPixelView{}, {0, 0, Width, Height}, {0, 0, Width, Height});
    ExpectScreen(Second, First, {30, 0, Width, 12});
}

TEST_F(Win32PresentTest, ExposureIsPresentedThroughThePaint)
{
    const auto First = RandomPixels(Stride * Height, 5);
    const auto Second = RandomPixels(Stride * Height, 6);
    W->Window->Present(View(First), {0, 0, Width, Height}, {0, 0, Width, Height});
    W->Events.OnExpose = [&](const TRect& R) { W->Window->Present(View(Second), R, R); };
    W->Events.Log.clear();
    const RECT Damage{3, 4, 17, 9};
    InvalidateRect(W->Wnd, &Damage, TRUE);
    UpdateWindow(W->Wnd);
    EXPECT_EQ(W->Events.Log, std::vector<std::string>{"expose 3,4,17,9"});
    EXPECT_FALSE(GetUpdateRect(W->Wnd, nullptr, FALSE)) << "WM_PAINT validates";
    ExpectScreen(Second, First, {3, 4, 17, 9});
    EXPECT_EQ(SendMessageW(W->Wnd, WM_ERASEBKGND, 0, 0), 1) << "nothing is ever erased";
}

// ---- Outlines -------------------------------------------------------------------------------

std::vector<TRect> WindowRegionRects(HWND Wnd, int* Kind)
{
    HRGN Region = CreateRectRgn(0, 0, 0, 0);
    *Kind = GetWindowRgn(Wnd, Region);
    std::vector<TRect> Rects;
    if (*Kind != ERROR) {
        const DWORD Bytes = GetRegionData(Region, 0, nullptr);
        std::vector<DWORD> Buffer((Bytes + 3) / 4 + 1);
        auto* Data = reinterpret_cast<RGNDATA*>(Buffer.data());
        if (GetRegionData(Region, Bytes, Data) == Bytes) {
            const auto* R = reinterpret_cast<const RECT*>(Data->Buffer);
            for (DWORD I = 0; I < Data->rdh.nCount; ++I)
                Rects.push_back({R[I].left, R[I].top, R[I].right, R[I].bottom});
        }
    }
    DeleteObject(Region);
    return Rects;
}

TRegion RandomOutline(std::uint32_t Seed)
{
    std::mt19937 Random(Seed);
    std::vector<TRect> Parts;
    for (int I = 0; I < 25; ++I) {
        const int X = static_cast<int>(Random() % 180);
        const int Y = static_cast<int>(Random() % 100);
        Parts.push_back(TRect::FromSize(X, Y, 1 + static_cast<int>(Random() % 40),
                                        1 + static_cast<int>(Random() % 30)));
    }
    return TRegion::FromRects(Parts);
}

class Win32ShapeTest : public testing::TestWithParam<TWindowFrame>
{};

TEST_P(Win32ShapeTest, TheWindowRegionIsTheOutline)
{
    TPlatformWindowParams P = Borderless({100, 100, 330, 260});
    P.Frame = GetParam();
    TOpenWindow W(P);
    ASSERT_NE(W.Wnd, nullptr);
    const TRect Frame = W.Window->GetClientOffset();
    for (std::uint32_t Seed = 1; Seed <= 8; ++Seed) {
        SCOPED_TRACE(Seed);
        TRegion Outline = RandomOutline(Seed);
        const auto Rects = Outline.GetRects();
        W.Window->SetShape(std::vector<TRect>(Rects.begin(), Rects.end()));
        // The system's canonical form is the same banded one, in window coordinates.
        Outline.Offset(Frame.Left, Frame.Top);
        int Kind = 0;
        const auto Got = WindowRegionRects(W.Wnd, &Kind);
        EXPECT_EQ(Kind, Outline.GetRectCount() == 1 ? SIMPLEREGION : COMPLEXREGION);
        const auto Want = Outline.GetRects();
        EXPECT_EQ(Got, std::vector<TRect>(Want.begin(), Want.end()));
    }

    W.Window->SetShape(std::vector<TRect>{});
    int Kind = 0;
    EXPECT_TRUE(WindowRegionRects(W.Wnd, &Kind).empty());
    EXPECT_EQ(Kind, NULLREGION) << "an empty outline leaves nothing of the window";

    W.Window->SetShape(std::nullopt);
    WindowRegionRects(W.Wnd, &Kind);
    EXPECT_EQ(Kind, ERROR) << "no outline: the window is its rectangle again";
}

INSTANTIATE_TEST_SUITE_P(Frames, Win32ShapeTest,
                         testing::Values(TWindowFrame::None, TWindowFrame::Dialog),
                         [](const testing::TestParamInfo<TWindowFrame>& I) {
                             return std::string(I.param == TWindowFrame::None ? "Borderless"
                                                                              : "Dialog");
                         });

TEST(Win32Shape, OverlappingAndEmptyRectanglesUnite)
{
    TOpenWindow W(Borderless({100, 100, 200, 200}));
    ASSERT_NE(W.Wnd, nullptr);
    W.Window->SetShape(std::vector<TRect>{{0, 0, 10, 10}, {5, 5, 15, 15}, {3, 3, 3, 9}});
    const std::vector<TRect> Parts{{0, 0, 10, 10}, {5, 5, 15, 15}};
    const TRegion Want = TRegion::FromRects(Parts);
    int Kind = 0;
    const auto Got = WindowRegionRects(W.Wnd, &Kind);
    EXPECT_EQ(Got, std::vector<TRect>(Want.GetRects().begin(), Want.GetRects().end()));
}

} // namespace
