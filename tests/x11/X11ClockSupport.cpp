#include "tests/x11/X11ClockSupport.h"

#include "framework/graphics/ImageList.h"
#include "framework/objects/Resources.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixProcess.h"
#include "shaped/RegionFromBitmap.h"

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

extern char** environ;

namespace {

constexpr int DigitWidth = 23, DigitHeight = 41;

} // namespace

TBitmap LoadFace(int Resource)
{
    TBitmap B;
    if (const TResourceEntry* E = TResources::Find("bitmap", Resource))
        B.LoadFromBytes(E->Data);
    return B;
}

TRegion OutlineOf(const TBitmap& Face)
{
    // As ResolveTransparentColor does for the clock's faces: the bottom-left pixel's colour.
    const std::optional<TRegion> R =
        CreateRegionFromBitmap(&Face, Face.GetPixel(0, Face.GetHeight() - 1));
    return R ? *R : TRegion();
}

bool Eventually(const std::function<bool()>& Done, int LimitMs)
{
    const std::uint64_t Start = GetMonotonicMilliseconds();
    while (!Done()) {
        if (GetMonotonicMilliseconds() - Start > static_cast<std::uint64_t>(LimitMs))
            return false;
        SleepMilliseconds(10);
    }
    return true;
}

void X11ClockTest::SetUp()
{
    X11Test::SetUp();
    if (IsSkipped())
        return;
    Face = LoadFace(71);
    Outline = OutlineOf(Face);
    TImageList Digits;
    Digits.LoadFromResource("ImageListNixie");
    ASSERT_EQ(Digits.GetCount(), 10);
    ASSERT_EQ(Digits.GetWidth(), DigitWidth);
    ASSERT_EQ(Digits.GetHeight(), DigitHeight);
    for (int N = 0; N < 10; ++N)
        Digits.GetBitmap(N, DigitCells[std::size_t(N)]);

    StartClock();
    ASSERT_GT(Child, 0);
    ASSERT_TRUE(Eventually([&] {
        for (const TForeignWindow& W : WindowsOfTheClock())
            if (W.Name == "Form1" && W.Viewable && !W.OverrideRedirect)
                ClockWindow = W.Window;
        return ClockWindow != 0;
    })) << "the clock showed no window; it said: "
        << ReadLog();
    // Away from whatever else the clock shows at its start (the title box), as a window manager
    // would place it.
    XMoveWindow(Observer, ClockWindow, Home.X, Home.Y);
    XSync(Observer, False);
    ASSERT_TRUE(AwaitOrigin(Home));
}

void X11ClockTest::TearDown()
{
    if (Child > 0) {
        kill(Child, SIGKILL);
        waitpid(Child, nullptr, 0);
        Child = -1;
    }
    if (!FFolder.empty()) {
        std::error_code Ignored;
        std::filesystem::remove_all(FFolder, Ignored);
    }
    X11Test::TearDown();
}

void X11ClockTest::StartClock()
{
    // A configuration folder of its own: the registry and settings of this run only.
    std::string Template = GetConfigHome() + "/clock-XXXXXX";
    ASSERT_NE(mkdtemp(Template.data()), nullptr);
    FFolder = Template;
    std::vector<std::string> Environment{std::string("DISPLAY=") + DisplayString(Observer),
                                         "XDG_CONFIG_HOME=" + FFolder};
    for (char** E = environ; *E; ++E) {
        const std::string_view Entry(*E);
        if (!Entry.starts_with("DISPLAY=") && !Entry.starts_with("XDG_CONFIG_HOME="))
            Environment.emplace_back(Entry);
    }
    std::vector<char*> Env;
    for (std::string& S : Environment)
        Env.push_back(S.data());
    Env.push_back(nullptr);
    std::string Program = NIXIE_APP;
    char* Argv[] = {Program.data(), nullptr};
    posix_spawn_file_actions_t Files;
    posix_spawn_file_actions_init(&Files);
    const std::string LogPath = FFolder + "/clock.log";
    posix_spawn_file_actions_addopen(&Files, 1, LogPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&Files, 1, 2);
    pid_t Pid = -1;
    const int Failed = posix_spawn(&Pid, Program.c_str(), &Files, nullptr, Argv, Env.data());
    posix_spawn_file_actions_destroy(&Files);
    ASSERT_EQ(Failed, 0) << "cannot start " << Program;
    Child = Pid;
}

std::string X11ClockTest::ReadLog() const
{
    return ReadWholeFile(FFolder + "/clock.log").value_or("(no output)");
}

std::vector<TForeignWindow> X11ClockTest::WindowsOfTheClock()
{
    std::vector<TForeignWindow> Found;
    Window Root = XNone, Parent = XNone;
    Window* Children = nullptr;
    unsigned Count = 0;
    if (!XQueryTree(Observer, DefaultRootWindow(Observer), &Root, &Parent, &Children, &Count))
        return Found;
    for (unsigned I = 0; I < Count; ++I) {
        const std::vector<long> Pid = ReadCardinals(Children[I], "_NET_WM_PID");
        if (Pid.size() != 1 || Pid[0] != Child)
            continue;
        XWindowAttributes A{};
        if (!XGetWindowAttributes(Observer, Children[I], &A))
            continue; // gone meanwhile
        TForeignWindow W;
        W.Window = Children[I];
        W.Name = ReadText(Children[I], "WM_NAME");
        W.Viewable = A.map_state == IsViewable;
        W.OverrideRedirect = A.override_redirect;
        W.Bounds = TRect::FromSize(A.x, A.y, A.width, A.height);
        Found.push_back(W);
    }
    if (Children)
        XFree(Children);
    return Found;
}

TPoint X11ClockTest::GetOrigin()
{
    int X = 0, Y = 0;
    Window Inside = XNone;
    XTranslateCoordinates(Observer, ClockWindow, DefaultRootWindow(Observer), 0, 0, &X, &Y,
                          &Inside);
    return {X, Y};
}

std::optional<int> X11ClockTest::ReadShownTime()
{
    const TRect Row{SlotX.front(), DigitTop, SlotX.back() + DigitWidth, DigitTop + DigitHeight};
    auto ReadOnce = [&]() -> std::optional<int> {
        const std::vector<TPixel> Pixels = ReadPixels(ClockWindow, Row);
        if (Pixels.size() != std::size_t(Row.Width() * Row.Height()))
            return std::nullopt;
        std::array<int, 6> Shown{};
        for (std::size_t Slot = 0; Slot < 6; ++Slot) {
            // The digit whose every pixel inside the outline is on the screen; pixels outside
            // the outline show whatever is behind the window.
            int Match = -1;
            for (int N = 0; N < 10; ++N) {
                const TBitmap& Cell = DigitCells[std::size_t(N)];
                bool Same = true;
                for (int Y = 0; Y < DigitHeight && Same; ++Y)
                    for (int X = 0; X < DigitWidth && Same; ++X) {
                        const TPoint Client{SlotX[Slot] + X, DigitTop + Y};
                        if (!Outline.Contains(Client))
                            continue;
                        const std::size_t I =
                            std::size_t((Client.Y - Row.Top) * Row.Width() + (Client.X - Row.Left));
                        Same = Pixels[I] == (Cell.GetScanLine(Y)[X] & 0xFFFFFF);
                    }
                if (Same) {
                    if (Match >= 0)
                        return std::nullopt; // two digits look alike here: no reading
                    Match = N;
                }
            }
            if (Match < 0)
                return std::nullopt;
            Shown[Slot] = Match;
        }
        const int Hour = Shown[0] * 10 + Shown[1];
        const int Minute = Shown[2] * 10 + Shown[3];
        const int Second = Shown[4] * 10 + Shown[5];
        if (Hour > 23 || Minute > 59 || Second > 59)
            return std::nullopt;
        return Hour * 3600 + Minute * 60 + Second;
    };
    for (int Attempt = 0; Attempt < 20; ++Attempt) {
        const std::optional<int> First = ReadOnce();
        if (First && First == ReadOnce())
            return First;
    }
    return std::nullopt;
}

TPoint X11ClockTest::PointInOutline(const TRect& Area) const
{
    // The middle of the widest piece of outline in Area, so that a few pixels either way are
    // still on the face.
    TRect Best;
    for (const TRect& R : Outline.GetRects()) {
        const TRect Piece = R.Intersect(Area);
        if (Piece.Width() * Piece.Height() > Best.Width() * Best.Height())
            Best = Piece;
    }
    EXPECT_FALSE(Best.IsEmpty()) << "no outline in the area";
    return {(Best.Left + Best.Right) / 2, (Best.Top + Best.Bottom) / 2};
}

TPoint X11ClockTest::OnScreen(TPoint Client)
{
    const TPoint Origin = GetOrigin();
    const TPoint Point{Origin.X + Client.X, Origin.Y + Client.Y};
    int X = 0, Y = 0;
    Window Top = XNone;
    const Window Root = DefaultRootWindow(Observer);
    XTranslateCoordinates(Observer, Root, Root, Point.X, Point.Y, &X, &Y, &Top);
    EXPECT_EQ(Top, ClockWindow) << "another window is in front of the clock at (" << Point.X << ", "
                                << Point.Y << ")";
    return Point;
}

void X11ClockTest::MovePointerBy(int DX, int DY)
{
    const TPoint From = X11Port().GetCursorPos();
    constexpr int Steps = 4;
    for (int I = 1; I <= Steps; ++I)
        MovePointer({From.X + DX * I / Steps, From.Y + DY * I / Steps});
}

TForeignWindow X11ClockTest::AwaitMenu()
{
    TForeignWindow Menu;
    Eventually([&] {
        for (const TForeignWindow& W : WindowsOfTheClock())
            if (W.OverrideRedirect && W.Viewable)
                Menu = W;
        return Menu.Window != 0;
    });
    return Menu;
}

std::optional<int> X11ClockTest::AwaitExit()
{
    int WaitStatus = 0;
    pid_t Ended = 0;
    if (!Eventually([&] { return (Ended = waitpid(Child, &WaitStatus, WNOHANG)) != 0; }))
        return std::nullopt;
    if (Ended != Child)
        return -1; // no child of ours
    Child = -1;    // reaped
    return WIFEXITED(WaitStatus) ? WEXITSTATUS(WaitStatus) : 128 + WTERMSIG(WaitStatus);
}
