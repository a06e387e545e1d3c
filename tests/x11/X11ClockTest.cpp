// What the clock's executable does on an X server beyond the scenarios every port shares: it
// stays out of the task bar, a drag by its face draws the moving outline on the root window (and
// a press within the drag tolerance draws none), and its menu is written with the fonts of its
// font module.
#include "platform/posix/PosixFiles.h"
#include "tests/e2e/ClockFixture.h"
#include "tests/x11/X11ClockDriver.h"

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

class X11ClockTest : public ClockTest
{
protected:
    TX11Observer& X11() { return ObserverOf(*Driver); }
    // The root window's pixel at a screen point: what shows where the clock's window is not.
    TPixel RootPixel(TPoint At)
    {
        const std::vector<TPixel> P =
            X11().ReadPixels(DefaultRootWindow(X11().Observer), TRect::FromSize(At.X, At.Y, 1, 1));
        return P.empty() ? 0xFF000000 : P[0];
    }
};

TEST_F(X11ClockTest, KeepsOutOfTheTaskBar)
{
    const unsigned long Skip = X11().Intern("_NET_WM_STATE_SKIP_TASKBAR");
    EXPECT_TRUE(Eventually([&] {
        for (unsigned long State : X11().ReadAtoms(MainWindowOf(*Driver), "_NET_WM_STATE"))
            if (State == Skip)
                return true;
        return false;
    }));
}

TEST_F(X11ClockTest, DraggingTheFaceDrawsAnOutlineUntilTheRelease)
{
    const TPoint Offset{60, 40};
    // The outline (the window's bounds) has its bottom-right corner beyond the window before and
    // outside its face after: there the screen shows the root, inverted while the outline is up.
    const TPoint Corner = Home + Offset + Face->Window - TPoint{1, 1};
    const TPixel Before = RootPixel(Corner);
    const TPoint From = FacePoint();
    PressAndMove(From, StepsBetween(From, From + Offset, 4), [](TPoint) { return true; });
    EXPECT_TRUE(Eventually([&] { return RootPixel(Corner) == (Before ^ 0xFFFFFF); }))
        << "no outline appeared";
    EXPECT_EQ(Origin(), Home) << "the window moved while the button was held";
    ASSERT_TRUE(Driver->EndDrag());
    EXPECT_TRUE(AwaitOrigin(Home + Offset)) << testing::PrintToString(Origin());
    EXPECT_EQ(RootPixel(Corner), Before) << "the outline stayed on the screen";
}

TEST_F(X11ClockTest, APressWithinTheToleranceDrawsNoOutline)
{
    // An outline of this drag would begin above the window, where the root shows.
    const TPoint Corner = Home + TPoint{5, -5};
    const TPixel Before = RootPixel(Corner);
    const TPoint From = FacePoint();
    PressAndMove(From, {From + TPoint{-3, 2}, From + TPoint{5, -5}}, [](TPoint) { return true; });
    ASSERT_TRUE(Driver->EndDrag());
    // A right click where the pointer rests: once its menu is up, the press has been handled.
    ASSERT_TRUE(Driver->Click(TClick::Right));
    ASSERT_TRUE(Driver->AwaitMenu()) << "no menu appeared";
    EXPECT_EQ(Origin(), Home);
    EXPECT_EQ(RootPixel(Corner), Before) << "an outline was left on the screen";
}

TEST_F(X11ClockTest, ADamagedSettingsFileKeepsWhatItCanAndTheClockStarts)
{
    Driver->Kill();
    const std::string File = RegistryFileOf(*Driver);
    const std::string Damaged = "[Software\\Tolvane\\QXRidivAzoza]\n"
                                "\"viewerleft\"=dword:00000064\n"
                                "\"viewertop\"=dword:0000005\n"
                                "\x01\xFE half a line \"title\"=\n"
                                "\"title\"=dword:00000000\n"
                                "\"type\"=dword:000000";
    ASSERT_TRUE(WriteFileAtomically(File, Damaged, 0600));
    StartClock();
    // What could be read counts; the rest takes its default.
    EXPECT_TRUE(AwaitOrigin({100, Driver->GetScreenSize().Y / 2})) << Driver->Describe();
    EXPECT_NE(Driver->Describe().find("damaged lines skipped"), std::string::npos)
        << Driver->Describe();
    // The first write keeps the damaged file beside and replaces it with a sound one.
    ASSERT_EQ(QuitFromTheMenu(), std::optional<long>(0)) << Driver->Describe();
    EXPECT_EQ(ReadWholeFile(File + ".damaged"), Damaged);
    const std::optional<TStoredSettings> Stored = Driver->ReadSettings();
    ASSERT_TRUE(Stored);
    EXPECT_EQ(Stored->at("viewerleft"), Dword(100));
    EXPECT_EQ(Stored->at("title"), Dword(0));
    EXPECT_EQ(Stored->at("type"), Dword(0));
}

TEST_F(X11ClockTest, ItsMenuIsWrittenWithTheFontsOfItsModule)
{
    ASSERT_TRUE(OpenMenu()) << "no menu appeared";
    const std::optional<std::string> Maps =
        ReadWholeFile("/proc/" + std::to_string(ProcessOf(*Driver)) + "/maps");
    ASSERT_TRUE(Maps.has_value());
    EXPECT_NE(Maps->find("nixie-fonts"), std::string::npos);
    EXPECT_NE(Maps->find("libfreetype"), std::string::npos);
    EXPECT_EQ(Driver->Describe().find("no fonts"), std::string::npos) << Driver->Describe();
}

} // namespace
