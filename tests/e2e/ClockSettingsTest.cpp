// The settings dialog worked by the pointer: the context menu's Settings opens it, a click picks
// a style and a VFD colour, and Ok (or Enter) puts them into effect at once (the window's size,
// outline and digits) and into the store, while Cancel (or Escape) leaves all as it was.
#include "tests/e2e/ClockFixture.h"
#include "tests/support/CaseName.h"

#include <algorithm>

namespace {

struct TAnswerCase
{
    const char* Name;
    const char* Button; // the dialog's button that ends it; none: the Key does
    TKey Key;
    bool Applies;
};

void PrintTo(const TAnswerCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class ClockSettingsTest : public ClockTest, public testing::WithParamInterface<TAnswerCase>
{
protected:
    // Every option stored, so that what the dialog leaves alone can be told.
    TStartup Startup() const override { return {Options, true}; }

    static inline const std::vector<std::pair<std::string, std::int32_t>> Options{
        {"title", 0},    {"type", 0},        {"vdfcolor", 0}, {"24hour", 1},
        {"autoload", 0}, {"alwaysontop", 0}, {"hidetask", 0}};
};

TEST_P(ClockSettingsTest, VfdSmallInRedTakesEffectOnlyWhenConfirmed)
{
    const TAnswerCase& C = GetParam();
    const std::optional<TRect> Dialog = OpenSettings();
    ASSERT_TRUE(Dialog) << "no settings dialog appeared";
    const TPoint ClientSize = TDialogLayout::Get("TFormNixieConfig").GetClientSize();
    EXPECT_EQ(Dialog->Width(), ClientSize.X);
    EXPECT_EQ(Dialog->Height(), ClientSize.Y);
    ASSERT_TRUE(ClickSetting(*Dialog, "RadioGroupType", "Vfd Small"));
    ASSERT_TRUE(ClickSetting(*Dialog, "RadioGroupVfdColor", "Red"));
    ASSERT_TRUE(C.Button ? ClickSetting(*Dialog, C.Button) : Driver->PressKey(C.Key));
    ASSERT_TRUE(Driver->AwaitWindowGone("Clock Settings")) << "the dialog stays open";

    // The digits of the face the answer leaves: in red on Vfd Small once Ok has taken effect.
    const TClockFace& Shown = C.Applies ? TClockFace::Get(3, 1) : *Face;
    EXPECT_TRUE(Eventually([&] { return ReadDigits(Shown, Driver->CaptureClient()).has_value(); }))
        << "no capture shows the digits of " << Shown.DigitList;

    // The command stores the settings last, one value after the other: once the clock opens its
    // menu again, it has returned, and its window and store show all it did.
    Face = &Shown;
    ASSERT_TRUE(OpenMenu()) << "the clock does not answer after the dialog";
    EXPECT_EQ(Driver->GetClientBounds(),
              TRect::FromSize(Home.X, Home.Y, Shown.Window.X, Shown.Window.Y));
    const std::vector<TRect> Outline(Shown.Outline.GetRects().begin(),
                                     Shown.Outline.GetRects().end());
    std::optional<std::vector<std::vector<TRect>>> Shapes;
    EXPECT_TRUE(Eventually([&] {
        Shapes = Driver->ReadShapes();
        return Shapes && !Shapes->empty() &&
               std::all_of(Shapes->begin(), Shapes->end(),
                           [&](const std::vector<TRect>& S) { return S == Outline; });
    })) << "the window's outlines are not those of the face shown: "
        << testing::PrintToString(Shapes.value_or(std::vector<std::vector<TRect>>{}));
    std::optional<TStoredSettings> Stored = Driver->ReadSettings();
    ASSERT_TRUE(Stored);
    EXPECT_EQ((*Stored)["viewerleft"], Dword(Home.X));
    EXPECT_EQ((*Stored)["viewertop"], Dword(Home.Y));
    for (const auto& [Name, Value] : Options) {
        const std::int32_t Expected = !C.Applies           ? Value
                                      : Name == "type"     ? 3
                                      : Name == "vdfcolor" ? 1
                                                           : Value;
        EXPECT_EQ((*Stored)[Name], Dword(Expected)) << Name;
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ClockSettingsTest,
                         testing::Values(TAnswerCase{"Ok", "ButtonOk", TKey::Enter, true},
                                         TAnswerCase{"Cancel", "ButtonCancel", TKey::Escape, false},
                                         TAnswerCase{"Enter", nullptr, TKey::Enter, true},
                                         TAnswerCase{"Escape", nullptr, TKey::Escape, false}),
                         ByName{});

} // namespace
