#pragma once

// A case with the clock's executable running, its main window moved to Home, and the ways a
// user reads and moves it, written once over the port's driver.

#include "tests/e2e/ClockDriver.h"
#include "tests/e2e/ClockFace.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
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

    void SetUp() override;
    void TearDown() override;

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

// The points of a move from From to To in Steps straight steps, the last one on To.
std::vector<TPoint> StepsBetween(TPoint From, TPoint To, int Steps);
