// The headless port's scripted world: files, profiles, shell, screen frames, events and windows.
#include "platform/headless/HeadlessPlatform.h"

#include "platform/headless/HeadlessWindow.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

namespace {

struct TFileCase
{
    const char* Added;
    const char* Folder; // current folder when asking
    const char* Asked;
    bool Exists;
};

class HeadlessFileTest : public testing::TestWithParam<TFileCase>
{};

TEST_P(HeadlessFileTest, ComparesPathsAsWindowsDoes)
{
    THeadlessPlatform Port;
    Port.SetCurrentFolder("C:\\Start");
    Port.AddFile(GetParam().Added);
    Port.SetCurrentFolder(GetParam().Folder);
    EXPECT_EQ(Port.FileExists(GetParam().Asked), GetParam().Exists);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, HeadlessFileTest,
    testing::Values(
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Start", "C:\\Start\\divaduva.html", true},
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Start", "c:\\START\\DivaDuva.HTML", true},
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Start", "C:/Start/divaduva.html", true},
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Start", "divaduva.html", true},
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Other", "divaduva.html", false},
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Start\\", "divaduva.html", true},
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Start", "C:\\Start\\divaduva.htm", false},
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Start", "C:\\Start\\\\divaduva.html", false},
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Start", "C:\\Start", false},
        TFileCase{"C:\\Start\\divaduva.html", "C:\\Start", "", false},
        // Added relative to the folder current at the time.
        TFileCase{"manual.htm", "C:\\Other", "C:\\Start\\manual.htm", true}),
    [](const testing::TestParamInfo<TFileCase>& I) {
        return NumberedName(I, std::string(I.param.Asked) + " in " + I.param.Folder);
    });

TEST(HeadlessFiles, RemovedFilesAreGone)
{
    THeadlessPlatform Port;
    Port.AddFile("C:\\Nixie\\divaduva.htm");
    Port.RemoveFile("c:\\nixie\\DIVADUVA.htm");
    EXPECT_FALSE(Port.FileExists("C:\\Nixie\\divaduva.htm"));
}

TEST(HeadlessProfiles, BareNamesLiveInTheWindowsFolder)
{
    THeadlessPlatform Port;
    ASSERT_TRUE(Port.WriteProfileEntry("QXRidivAzoza", "QXRidivAzoza", "type", "2"));
    EXPECT_TRUE(Port.FileExists("C:\\Windows\\QXRidivAzoza"));
    EXPECT_FALSE(Port.FileExists("C:\\Nixie\\QXRidivAzoza"));
    EXPECT_EQ(Port.ReadProfileEntry("C:\\WINDOWS\\qxridivazoza", "QXRidivAzoza", "type", "0"), "2");
    EXPECT_EQ(Port.GetProfiles().GetFileText(Port.ResolveProfilePath("QXRidivAzoza")),
              "[QXRidivAzoza]\r\ntype=2\r\n");
    EXPECT_FALSE(Port.WriteProfileEntry("", "S", "K", "V"));
}

TEST(HeadlessProfiles, RemovingTheFileDropsItsEntries)
{
    THeadlessPlatform Port;
    ASSERT_TRUE(Port.WriteProfileEntry("C:\\Nixie\\nixie.ini", "S", "K", "V"));
    Port.RemoveFile("C:\\Nixie\\nixie.ini");
    EXPECT_EQ(Port.ReadProfileEntry("C:\\Nixie\\nixie.ini", "S", "K", "gone"), "gone");
}

TEST(HeadlessShell, RecordsEveryOpenInOrder)
{
    THeadlessPlatform Port;
    EXPECT_TRUE(Port.ShellOpen("C:\\Nixie\\divaduva.html"));
    Port.SetShellOpenResult(false);
    EXPECT_FALSE(Port.ShellOpen("http://example.com/"));
    EXPECT_EQ(Port.GetShellOpens(),
              (std::vector<std::string>{"C:\\Nixie\\divaduva.html", "http://example.com/"}));
    Port.ClearShellOpens();
    EXPECT_TRUE(Port.GetShellOpens().empty());
}

TEST(HeadlessScreen, XorFramesCancelInPairs)
{
    THeadlessPlatform Port;
    const TRect A{10, 10, 110, 60};
    const TRect B{20, 10, 120, 60};
    Port.DrawScreenFrame(A, 3);
    Port.DrawScreenFrame(B, 3);
    Port.DrawScreenFrame(A, 3); // erases A
    Port.DrawScreenFrame(B, 1); // another frame: B of thickness 3 stays
    using TFrame = THeadlessPlatform::TScreenFrame;
    EXPECT_EQ(Port.GetScreenFrames().size(), 4u);
    EXPECT_EQ(Port.GetVisibleScreenFrames(), (std::vector<TFrame>{{B, 3}, {B, 1}}));
    Port.DrawScreenFrame(B, 3);
    Port.DrawScreenFrame(B, 1);
    EXPECT_TRUE(Port.GetVisibleScreenFrames().empty());
    Port.ClearScreenFrames();
    EXPECT_TRUE(Port.GetScreenFrames().empty());
}

TEST(HeadlessScreen, SettingsAreWhatTestsSet)
{
    THeadlessPlatform Port;
    Port.SetScreenSize({800, 600});
    Port.SetScreenBitsPerPixel(8);
    Port.SetCursorPos({-3, 700});
    Port.SetFullWindowDrag(false);
    EXPECT_EQ(Port.GetScreenSize(), (TPoint{800, 600}));
    EXPECT_EQ(Port.GetScreenBitsPerPixel(), 8);
    EXPECT_EQ(Port.GetCursorPos(), (TPoint{-3, 700}));
    EXPECT_FALSE(Port.GetFullWindowDrag());
}

TEST(HeadlessEvents, WaitingLetsTimePassUntilTheNextEvent)
{
    THeadlessPlatform Port;
    std::vector<std::string> Log;
    Port.QueueEvent([&] { Log.push_back("down@" + std::to_string(Port.GetTickCount())); });
    Port.QueueEvent([&] { Log.push_back("up@" + std::to_string(Port.GetTickCount())); }, 300);

    EXPECT_TRUE(Port.WaitEvents(250));  // the first is due at once
    EXPECT_FALSE(Port.WaitEvents(250)); // nothing due within 250 ms: the time passes
    EXPECT_EQ(Port.GetTickCount(), 250u);
    EXPECT_TRUE(Port.WaitEvents(250)); // due at 300: the wait ends there
    EXPECT_EQ(Port.GetTickCount(), 300u);
    EXPECT_EQ(Log, (std::vector<std::string>{"down@0", "up@300"}));
    EXPECT_EQ(Port.GetQueuedEventCount(), 0u);

    // Nothing queued: a timed wait passes its time, an endless one returns at once.
    EXPECT_FALSE(Port.WaitEvents(100));
    EXPECT_EQ(Port.GetTickCount(), 400u);
    EXPECT_FALSE(Port.WaitEvents(-1));
    EXPECT_EQ(Port.GetTickCount(), 400u);
}

TEST(HeadlessEvents, DeliversOneEventPerWaitInOrder)
{
    THeadlessPlatform Port;
    std::vector<int> Log;
    Port.QueueEvent([&] { Log.push_back(1); }, 50);
    Port.QueueEvent([&] { Log.push_back(2); }); // never before the one queued earlier
    EXPECT_TRUE(Port.WaitEvents(-1));
    EXPECT_EQ(Log, (std::vector<int>{1}));
    EXPECT_EQ(Port.GetTickCount(), 50u);
    EXPECT_TRUE(Port.WaitEvents(0));
    EXPECT_EQ(Log, (std::vector<int>{1, 2}));
}

TEST(HeadlessEvents, WakeEndsTheNextWaitWithoutPassingTime)
{
    THeadlessPlatform Port;
    Port.Wake();
    EXPECT_FALSE(Port.WaitEvents(1000));
    EXPECT_EQ(Port.GetTickCount(), 0u);
    EXPECT_FALSE(Port.WaitEvents(1000));
    EXPECT_EQ(Port.GetTickCount(), 1000u);
}

class TRecordingEvents : public TPlatformWindowEvents
{
public:
    void HandleInput(const TInputEvent& Event) override { Inputs.push_back(Event); }
    std::vector<TInputEvent> Inputs;
};

TEST(HeadlessWindows, KeepWhatIsPresented)
{
    THeadlessPlatform Port;
    TRecordingEvents Events;
    TPlatformWindowParams Params;
    Params.Bounds = TRect::FromSize(100, 50, 4, 3);
    auto Window = Port.CreateNativeWindow(Params, &Events);
    ASSERT_NE(Window, nullptr);
    ASSERT_EQ(Port.GetWindows().size(), 1u);
    THeadlessWindow& W = *Port.GetWindows()[0];
    EXPECT_EQ(W.GetClientSize(), (TPoint{4, 3}));

    // A 5 x 3 back buffer with a stride of 6; the pixel value encodes its place.
    std::vector<TPixel> Buffer(6 * 3);
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 6; ++X)
            Buffer[Y * 6 + X] = static_cast<TPixel>(0x100 * Y + X + 1);
    const TPixelView View{Buffer.data(), 5, 3, 6};
    W.Present(View, {1, 1, 10, 10}, {}); // clipped to the window's 4 x 3 client area
    EXPECT_EQ(W.GetPresentedRects(), (std::vector<TRect>{{1, 1, 4, 3}}));
    EXPECT_EQ(W.GetScreenPixel(0, 0), 0u);
    EXPECT_EQ(W.GetScreenPixel(1, 1), 0x102u);
    EXPECT_EQ(W.GetScreenPixel(3, 2), 0x204u);
    EXPECT_EQ(W.GetScreenPixel(4, 2), 0u) << "outside the client area";

    // Growing keeps what was presented.
    W.SetBounds(TRect::FromSize(0, 0, 6, 4));
    EXPECT_EQ(W.GetScreenPixel(3, 2), 0x204u);
    EXPECT_EQ(W.GetScreenPixel(5, 3), 0u);

    const TInputEvent Press{.Kind = TInputKind::MouseDown,
                            .Client = {2, 1},
                            .Button = TMouseButton::Left,
                            .Modifiers = {TInputModifier::Alt, TInputModifier::LeftButton}};
    W.GetEvents()->HandleInput(Press);
    EXPECT_EQ(Events.Inputs, std::vector<TInputEvent>{Press});

    Window.reset();
    EXPECT_TRUE(Port.GetWindows().empty());
}

TEST(HeadlessWindows, RecordStateChanges)
{
    THeadlessPlatform Port;
    TPlatformWindowParams Params;
    Params.Bounds = {0, 0, 300, 200};
    Params.Frame = TWindowFrame::Dialog;
    auto A = Port.CreateNativeWindow(Params, nullptr);
    auto B = Port.CreateNativeWindow(Params, nullptr);
    THeadlessWindow& WA = *Port.GetWindows()[0];
    THeadlessWindow& WB = *Port.GetWindows()[1];

    EXPECT_EQ(WA.GetClientOffset(), THeadlessWindow::GetFrameThickness(TWindowFrame::Dialog));
    EXPECT_FALSE(WA.IsVisible());
    WA.Show(true);
    WB.Show(false);
    EXPECT_TRUE(WA.IsVisible());
    EXPECT_EQ(Port.GetActiveWindow(), &WA);
    WB.Activate();
    EXPECT_EQ(Port.GetActiveWindow(), &WB);
    WB.Hide();
    EXPECT_EQ(Port.GetActiveWindow(), nullptr);

    WA.SetCapture(true);
    WB.SetCapture(true);
    WA.SetCapture(false); // not the holder: no change
    EXPECT_EQ(Port.GetCaptureWindow(), &WB);

    WA.SetTitle("Clock");
    WA.SetStayOnTop(true);
    WA.SetTaskbarButton(false);
    WA.SetCursor(TCursorShape::Hand);
    WA.SetShape(std::vector<TRect>{{5, 28, 276, 115}});
    EXPECT_EQ(WA.GetParams().Title, "Clock");
    EXPECT_TRUE(WA.GetParams().StayOnTop);
    EXPECT_FALSE(WA.GetParams().TaskbarButton);
    EXPECT_EQ(WA.GetCursor(), TCursorShape::Hand);
    ASSERT_TRUE(WA.GetShape().has_value());
    EXPECT_EQ(WA.GetShape()->size(), 1u);
    WA.SetShape(std::nullopt);
    EXPECT_FALSE(WA.GetShape().has_value());

    B.reset();
    EXPECT_EQ(Port.GetCaptureWindow(), nullptr);
}

TEST(HeadlessWindows, MayOutliveThePort)
{
    std::unique_ptr<TPlatformWindow> Window;
    {
        THeadlessPlatform Port;
        Window = Port.CreateNativeWindow({}, nullptr);
    }
    Window->Show(true);
    Window->SetCapture(true);
    Window.reset();
    SUCCEED() << "no use of the destroyed port";
}

} // namespace
