// What the clock's executable shows under Wine beyond the scenarios every port shares: the
// system's own account of its window region.
#include "tests/e2e/ClockFixture.h"
#include "tests/wine/WineClockDriver.h"

namespace {

class WineClockTest : public ClockTest
{};

TEST_F(WineClockTest, TheRegionDataBoundsTheOutlineInClientCoordinates)
{
    EXPECT_EQ(Driver->GetClientBounds().TopLeft(), WindowBoundsOf(*Driver).TopLeft())
        << "a borderless window's region is in client coordinates";
    std::optional<TNativeRegion> Region;
    ASSERT_TRUE(Eventually([&] { return (Region = WindowRegionOf(*Driver)).has_value(); }))
        << "the window has no region";
    EXPECT_EQ(Region->Bounds, Face->Outline.GetBounds());
    EXPECT_EQ(Region->Bounds, TRect(5, 28, 276, 115));
}

} // namespace
