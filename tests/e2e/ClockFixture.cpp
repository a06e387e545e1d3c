#include "tests/e2e/ClockFixture.h"

#include "platform/Platform.h"

#include <chrono>
#include <ctime>
#include <ostream>
#include <thread>

void PrintTo(const TRect& R, std::ostream* Out)
{
    *Out << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}

void PrintTo(const TPoint& P, std::ostream* Out)
{
    *Out << "(" << P.X << ", " << P.Y << ")";
}

bool Eventually(const std::function<bool()>& Done, int LimitMs)
{
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(LimitMs);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > Deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

int LocalSecondsOfDay()
{
    const std::time_t Now = std::time(nullptr);
    const std::tm* Local = std::localtime(&Now); // one thread: the static result is ours
    return Local->tm_hour * 3600 + Local->tm_min * 60 + Local->tm_sec;
}

int ForwardSeconds(int From, int To)
{
    constexpr int SecondsPerDay = 86400;
    return ((To - From) % SecondsPerDay + SecondsPerDay) % SecondsPerDay;
}

std::vector<TPoint> StepsBetween(TPoint From, TPoint To, int Steps)
{
    std::vector<TPoint> Path;
    for (int I = 1; I <= Steps; ++I)
        Path.push_back(
            {From.X + (To.X - From.X) * I / Steps, From.Y + (To.Y - From.Y) * I / Steps});
    return Path;
}

TStoredValue Dword(std::int32_t Value)
{
    const std::array<std::uint8_t, 4> Bytes = DwordBytes(static_cast<std::uint32_t>(Value));
    return {REG_DWORD, {Bytes.begin(), Bytes.end()}};
}

void PrintTo(const TStoredValue& V, std::ostream* Out)
{
    if (const std::optional<std::uint32_t> N = DwordOf(V.Data); V.Type == REG_DWORD && N) {
        *Out << "dword " << static_cast<std::int32_t>(*N);
        return;
    }
    *Out << "type " << V.Type << ":";
    for (const std::uint8_t B : V.Data)
        *Out << " " << int(B);
}

void ClockTest::SetUp()
{
    const TStartup S = Startup();
    int Style = 0;
    int Color = 0;
    Driver = MakeClockDriver();
    for (const auto& [Name, Value] : S.Settings) {
        ASSERT_TRUE(Driver->StoreSetting(Name, Value)) << Name;
        if (Name == "type")
            Style = Value;
        else if (Name == "vdfcolor")
            Color = Value;
    }
    Face = &TClockFace::Get(Style, Color);
    BeforeStart();
    StartClock();
    if (IsSkipped() || HasFatalFailure() || !S.MoveHome)
        return;
    ASSERT_TRUE(Driver->MoveWindow(Home));
    ASSERT_TRUE(AwaitOrigin(Home)) << testing::PrintToString(Origin());
}

void ClockTest::StartClock()
{
    const std::string Problem = Driver->Start(Face->Window);
    if (Problem == "no display")
        GTEST_SKIP() << "no display to run the clock on";
    ASSERT_EQ(Problem, "") << Driver->Describe();
}

void ClockTest::TearDown()
{
    if (Driver)
        Driver->ReleaseButtons();
    Driver.reset();
}

std::optional<ClockTest::TReading>
ClockTest::ReadClock(const std::function<bool(const TReading&)>& Accept) const
{
    std::optional<TReading> Result;
    Eventually([&] {
        TReading R;
        R.Before = LocalSecondsOfDay();
        // Two captures that agree: a capture may catch a paint in progress.
        const std::optional<TClockDigits> First = ReadDigits(*Face, Driver->CaptureClient());
        const std::optional<TClockDigits> Second = ReadDigits(*Face, Driver->CaptureClient());
        R.After = LocalSecondsOfDay();
        if (!First || First != Second)
            return false;
        R.Digits = *First;
        if (!Accept(R))
            return false;
        Result = R;
        return true;
    });
    return Result;
}

TPoint ClockTest::DigitPoint() const
{
    const TPoint P = Face->Slots[2] + TPoint{Face->DigitSize.X / 2, Face->DigitSize.Y / 2};
    EXPECT_TRUE(Face->Display.Contains(P) && Face->Outline.Contains(P));
    return P;
}

TPoint ClockTest::FacePoint() const
{
    const TRect Above{0, 0, Face->Face.GetWidth(), Face->Display.Top};
    TRect Best;
    for (const TRect& R : Face->Outline.GetRects()) {
        const TRect Piece = R.Intersect(Above);
        if (Piece.Width() * Piece.Height() > Best.Width() * Best.Height())
            Best = Piece;
    }
    EXPECT_FALSE(Best.IsEmpty()) << "no outline above the digits";
    return {(Best.Left + Best.Right) / 2, (Best.Top + Best.Bottom) / 2};
}

void ClockTest::PressAndMove(TPoint From, const std::vector<TPoint>& Path,
                             const std::function<bool(TPoint)>& AfterEachMove)
{
    ASSERT_TRUE(Driver->MovePointer(OnScreen(From)));
    ASSERT_TRUE(Driver->BeginDrag()) << "the press did not reach the clock";
    const TPoint Start = Origin();
    for (const TPoint& P : Path) {
        ASSERT_TRUE(Driver->MovePointer(Start + P));
        if (!AfterEachMove(P))
            return;
    }
}

void ClockTest::DragByDigits(const std::vector<TPoint>& Steps)
{
    const TPoint From = DigitPoint();
    const TPoint Start = Origin();
    std::vector<TPoint> Path;
    TPoint At = From;
    for (const TPoint Step : Steps) {
        for (const TPoint P : StepsBetween(At, At + Step, 4))
            Path.push_back(P);
        At = At + Step;
    }
    PressAndMove(From, Path, [&](TPoint P) {
        const bool Followed = AwaitOrigin(Start + (P - From));
        EXPECT_TRUE(Followed) << "the window lags behind the pointer: at "
                              << testing::PrintToString(Origin()) << " for the pointer at "
                              << testing::PrintToString(P) << " from "
                              << testing::PrintToString(Start);
        return Followed;
    });
    ASSERT_TRUE(Driver->EndDrag()) << "the release did not reach the clock";
}

std::optional<long> ClockTest::QuitFromTheMenu()
{
    if (!ChooseFromTheMenu("Quit1"))
        return std::nullopt;
    return Driver->AwaitExit();
}

bool ClockTest::ChooseFromTheMenu(const std::string& ItemName)
{
    const std::optional<TRect> Menu = OpenMenu();
    EXPECT_TRUE(Menu) << "no menu appeared";
    // Where the rows lie, measured as the menu measures them.
    const std::optional<TMenuGeometry> Geometry = MeasureMenu(*Face, ItemName);
    EXPECT_TRUE(Geometry) << "the menu has no " << ItemName;
    if (!Menu || !Geometry)
        return false;
    EXPECT_EQ(Menu->Width(), Geometry->Menu.Width());
    EXPECT_EQ(Menu->Height(), Geometry->Menu.Height());
    const TRect& Row = Geometry->Row;
    return Driver->MovePointer(Menu->TopLeft() +
                               TPoint{(Row.Left + Row.Right) / 2, (Row.Top + Row.Bottom) / 2}) &&
           Driver->Click(TClick::Left);
}

std::optional<TRect> ClockTest::OpenSettings()
{
    if (!ChooseFromTheMenu("Settings1"))
        return std::nullopt;
    return Driver->AwaitWindow("Clock Settings");
}

bool ClockTest::ClickSetting(const TRect& Dialog, const std::string& Name, const std::string& Item)
{
    const TRect R = TDialogLayout::Get("TFormNixieConfig").Bounds(Name, Item);
    return Driver->MovePointer(Dialog.TopLeft() +
                               TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}) &&
           Driver->Click(TClick::Left);
}

std::optional<TRect> ClockTest::OpenMenu()
{
    if (!Driver->MovePointer(OnScreen(FacePoint())) || !Driver->Click(TClick::Right))
        return std::nullopt;
    return Driver->AwaitMenu();
}
