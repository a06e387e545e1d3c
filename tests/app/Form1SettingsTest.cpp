// The clock's settings between runs: where a first run opens and what it leaves in the store,
// what a later run takes from it, and when the position is stored.
#include "app/Fnixstart.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/app/ClockFormTest.h"

#include <gtest/gtest.h>

namespace {

using Form1SettingsTest = ClockFormTest;

const std::vector<std::string> ReadNames{"viewertop", "viewerleft", "alwaysontop",
                                         "hidetask",  "24hour",     "autoload",
                                         "type",      "vdfcolor",   "title"};

TEST_F(Form1SettingsTest, AFirstRunOpensAtTheScreenCentreAndStoresWhatItRead)
{
    Port().SetScreenSize({1023, 767});
    Start();
    EXPECT_EQ(Form1->GetBoundsRect().TopLeft(), TPoint(511, 383));
    EXPECT_EQ(StoredNames(), ReadNames);
    EXPECT_EQ(Stored("viewerleft"), 511);
    EXPECT_EQ(Stored("viewertop"), 383);
    EXPECT_EQ(Stored("hidetask"), 1);
    EXPECT_EQ(Stored("24hour"), 1);
    EXPECT_EQ(Stored("title"), 1);
    EXPECT_EQ(Stored("type"), 0);
}

TEST_F(Form1SettingsTest, AMissingValueKeepsItsDefaultAndIsNotWritten)
{
    Seed("type", 1);
    Seed("viewerleft", 40);
    Start();
    EXPECT_EQ(Form1->ClockType, 1);
    EXPECT_EQ(Form1->HideTask, 1);
    EXPECT_EQ(Form1->GetBoundsRect().TopLeft(), TPoint(40, 384));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"type", "viewerleft"}));
}

TEST_F(Form1SettingsTest, StoredValuesAreTakenAsTheyAre)
{
    Seed("viewerleft", -60);
    Seed("viewertop", 5000);
    Seed("viewerwidth", 999);
    Seed("viewerheight", 7);
    Seed("type", 7);
    Seed("vdfcolor", 5);
    Seed("24hour", 0);
    Seed("title", 0);
    Start();
    // Off the screen as stored; the size is the style's, not the stored one.
    EXPECT_EQ(Form1->GetBoundsRect().TopLeft(), TPoint(-60, 5000));
    EXPECT_EQ(Form1->GetWidth(), 300);
    EXPECT_EQ(Form1->GetHeight(), 120);
    EXPECT_EQ(Form1->ClockType, 7);
    EXPECT_EQ(Form1->VfdColor, 5);
    EXPECT_EQ(Form1->RidivAzoza1->GetMode24(), 0);
    delete Form1;
    EXPECT_EQ(Stored("type"), 7);
    EXPECT_EQ(Stored("vdfcolor"), 5);
    EXPECT_EQ(Stored("viewerleft"), -60);
    EXPECT_EQ(Stored("viewerwidth"), 300);
}

TEST_F(Form1SettingsTest, ADragByTheDigitsStoresThePositionAndTheNextRunOpensThere)
{
    Start();
    Form1->SetBounds(200, 100, Form1->GetWidth(), Form1->GetHeight());
    const TPoint Press{120, 70};
    Mouse(WM_LBUTTONDOWN, Press, ssLeft);
    Mouse(WM_MOUSEMOVE, Press + TPoint{-30, 17}, ssLeft);
    EXPECT_EQ(Stored("viewerleft"), 512) << "stored only when the button comes up";
    Mouse(WM_LBUTTONUP, Press + TPoint{-30, 17});
    EXPECT_EQ(Stored("viewerleft"), 170);
    EXPECT_EQ(Stored("viewertop"), 117);
    EXPECT_EQ(Stored("viewerwidth"), 308);
    EXPECT_EQ(Stored("viewerheight"), 154);

    // A click that moves nothing stores nothing.
    Seed("viewerleft", 1);
    Mouse(WM_LBUTTONDOWN, Press, ssLeft);
    Mouse(WM_MOUSEMOVE, Press + TPoint{1, 1}, ssLeft);
    Mouse(WM_LBUTTONUP, Press + TPoint{1, 1});
    EXPECT_EQ(Stored("viewerleft"), 1);

    Seed("viewerleft", 170);
    Restart();
    EXPECT_EQ(Form1->GetBoundsRect().TopLeft(), TPoint(170, 117));
}

TEST_F(Form1SettingsTest, TheEndOfARunStoresTheOptionsAndThePositionUnlessMinimized)
{
    Start();
    Form1->SetBounds(33, 44, Form1->GetWidth(), Form1->GetHeight());
    Form1->HideTask = 0;
    Form1->AutoLoad = 1;
    Restart();
    EXPECT_EQ(Form1->GetBoundsRect().TopLeft(), TPoint(33, 44));
    EXPECT_EQ(Form1->HideTask, 0);
    EXPECT_EQ(Form1->AutoLoad, 1);

    // Minimized, the window's place is the desktop's business, not the clock's.
    THeadlessWindow* Native = NativeOfForm1();
    ASSERT_NE(Native, nullptr);
    Native->SetShowState(TWindowShowState::Minimized);
    Form1->SetBounds(600, 500, Form1->GetWidth(), Form1->GetHeight());
    Form1->ShowTitle = 0;
    delete Form1;
    EXPECT_EQ(Stored("viewerleft"), 33);
    EXPECT_EQ(Stored("title"), 0);
}

TEST_F(Form1SettingsTest, TheTitleBoxOpensNextToTheClockAndCloses)
{
    Seed("viewerleft", 100);
    Seed("viewertop", 100);
    Start(true);
    ASSERT_NE(FormNixieStart, nullptr);
    std::vector<std::string> Log;
    const auto Look = [&] {
        Log.push_back(FormNixieStart->GetVisible() ? "shown" : "hidden");
        if (FormNixieStart->GetVisible())
            Log.push_back(std::to_string(FormNixieStart->GetLeft()) + "," +
                          std::to_string(FormNixieStart->GetTop()));
    };
    Port().QueueEvent(Look, 50);
    Port().QueueEvent(Look, 150);
    Port().QueueEvent(Look, 5200);
    Port().QueueEvent([&] { App->Terminate(); }, 5300);
    App->Run();
    EXPECT_EQ(Log, (std::vector<std::string>{"hidden", "shown", "145,148", "hidden"}));
    EXPECT_FALSE(Form1->TimerStartup->GetEnabled());
}

TEST_F(Form1SettingsTest, WithoutTheTitleOptionTheFirstTickOnlyStopsTheTimer)
{
    Seed("title", 0);
    Start(true);
    Port().QueueEvent([&] { App->Terminate(); }, 300);
    App->Run();
    EXPECT_FALSE(FormNixieStart->GetVisible());
    EXPECT_FALSE(Form1->TimerStartup->GetEnabled());
}

} // namespace
