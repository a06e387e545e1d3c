#pragma once

// A case with the clock's executable running over the settings the case stored before, its main
// window moved to Home, and the ways a user reads and moves it, written once over the port's
// driver.

#include "tests/e2e/ClockDriver.h"
#include "tests/e2e/ClockFace.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

void PrintTo(const TRect& R, std::ostream* Out);
void PrintTo(const TPoint& P, std::ostream* Out);

// The local wall clock as seconds since midnight, and how far To lies after From on the dial.
int LocalSecondsOfDay();
int ForwardSeconds(int From, int To);

class ClockTest : public testing::Test
{
protected:
    // Where each case puts the clock: away from the corner where it opens (and where its title
    // box may show), with room for a drag in every direction.
    static constexpr TPoint Home{520, 420};

    // What a case stores before the clock starts (none at all: its first run), and whether the
    // window then goes Home. By default the title box stays off, since it would cover the digits
    // for the first seconds.
    struct TStartup
    {
        std::vector<std::pair<std::string, std::int32_t>> Settings{{"title", 0}};
        bool MoveHome = true;
    };
    virtual TStartup Startup() const { return {}; }
    // Sets how the clock starts where a port can tell (its folder, its environment), before the
    // first start.
    virtual void BeforeStart() {}

    void SetUp() override;
    void TearDown() override;

    // Starts the clock (again, once it has ended) and waits for the main window of the style
    // that the stored settings choose.
    void StartClock();

    TPoint Origin() const { return Driver->GetClientBounds().TopLeft(); }
    TPoint OnScreen(TPoint Client) const { return Origin() + Client; }
    bool AwaitOrigin(TPoint Where) const
    {
        return Eventually([&] { return Origin() == Where; });
    }

    // The six digits on the screen once two captures in a row read alike and Accept takes
    // them; the local time just before the first and just after the second capture.
    struct TReading
    {
        TClockDigits Digits{};
        int Before = 0;
        int After = 0;
    };
    std::optional<TReading> ReadClock(const std::function<bool(const TReading&)>& Accept) const;
    // Quits through the context menu's Quit; the clock's exit code once it has ended.
    std::optional<long> QuitFromTheMenu();
    // Opens the context menu and clicks its item named ItemName (Settings1, Quit1, ...) where
    // the menu lays it out; whether the click was made.
    bool ChooseFromTheMenu(const std::string& ItemName);
    // Chooses Settings; the settings dialog's client area on the screen once it is up.
    std::optional<TRect> OpenSettings();
    // A click on a control of the settings dialog whose client area is at Dialog, or on an item
    // of one of its radio groups, in the middle of where the dialog's description puts it.
    bool ClickSetting(const TRect& Dialog, const std::string& Name, const std::string& Item = "");

    // A client point on the digit display, off the cells' edges; one on the face above it, in
    // the middle of the outline's widest piece there.
    TPoint DigitPoint() const;
    TPoint FacePoint() const;

    // Presses on the client point From and moves the pointer through Path (client points);
    // stops once AfterEachMove says something is wrong.
    void PressAndMove(TPoint From, const std::vector<TPoint>& Path,
                      const std::function<bool(TPoint)>& AfterEachMove);
    // A drag by the digit display through the displacements Steps, which the window follows
    // step by step.
    void DragByDigits(const std::vector<TPoint>& Steps);
    // A right click on the face; the menu's screen bounds once it is up.
    std::optional<TRect> OpenMenu();

    const TClockFace* Face = nullptr;
    std::unique_ptr<TClockDriver> Driver;
};

// A REG_DWORD value as the store holds it.
TStoredValue Dword(std::int32_t Value);
void PrintTo(const TStoredValue& V, std::ostream* Out);

// The points of a move from From to To in Steps straight steps, the last one on To.
std::vector<TPoint> StepsBetween(TPoint From, TPoint To, int Steps);
