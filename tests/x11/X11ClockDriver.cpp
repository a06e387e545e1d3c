#include "tests/x11/X11ClockDriver.h"

#include "platform/posix/FileRegistry.h"
#include "platform/posix/PosixFiles.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

extern char** environ;

namespace {

constexpr const char* SettingsKey = "Software\\Tolvane\\QXRidivAzoza";

// A top-level window of the server (a child of the root) as another client sees it.
struct TForeignWindow
{
    unsigned long Window = 0;
    std::string Name;
    bool Viewable = false;
    bool OverrideRedirect = false;
    TRect Bounds; // on the screen
};

class TX11ClockDriver : public TClockDriver, public TX11Observer
{
public:
    ~TX11ClockDriver() override;

    bool StoreSetting(const std::string& Name, std::int32_t Value) override;
    std::optional<TStoredSettings> ReadSettings() override;
    TPoint GetScreenSize() override;
    std::string Start(TPoint ClientSize) override;
    void Kill() override;
    TRect GetClientBounds() override;
    bool MoveWindow(TPoint Origin) override;
    TBitmap CaptureClient() override;
    std::optional<std::vector<std::vector<TRect>>> ReadShapes() override;
    bool MovePointer(TPoint Where) override;
    bool BeginDrag() override;
    bool EndDrag() override;
    bool Click(TClick Button) override;
    void ReleaseButtons() override {}
    bool PressKey(TKey Key) override;
    std::optional<TRect> AwaitMenu() override;
    std::optional<TRect> AwaitWindow(const std::string& Title) override;
    bool AwaitWindowGone(const std::string& Title) override;
    std::optional<long> AwaitExit() override;
    // What the clock wrote to its standard output and error.
    std::string Describe() override;

    std::vector<TForeignWindow> WindowsOfTheClock();
    std::string RegistryFile() { return Folder() + "/nixie/registry"; }
    pid_t GetProcess() const { return FChild; }
    unsigned long GetWindow() const { return FWindow; }
    void SetLaunch(const std::string& Folder, const std::vector<std::string>& Environment,
                   const std::string& Program)
    {
        FStartFolder = Folder;
        FEnvironment = Environment;
        FProgram = Program;
    }

private:
    // The clock's configuration folder (its $XDG_CONFIG_HOME), made at the first use; empty when
    // none could be made.
    const std::string& Folder();
    std::string Spawn();
    bool AwaitInputTaken();
    bool Ping();
    pid_t FChild = -1;
    unsigned long FWindow = 0;
    std::string FFolder;
    std::string FStartFolder;
    std::vector<std::string> FEnvironment;
    std::string FProgram;
    // A connection of its own that hears the clock's answers to pings (sent to the root), so
    // that the observer's queue does not fill with the root's other events.
    Display* FPinger = nullptr;
    long FLastPing = 0;
};

} // namespace

std::unique_ptr<TClockDriver> MakeClockDriver()
{
    return std::make_unique<TX11ClockDriver>();
}

TX11Observer& ObserverOf(TClockDriver& Driver)
{
    return static_cast<TX11ClockDriver&>(Driver);
}

unsigned long MainWindowOf(TClockDriver& Driver)
{
    return static_cast<TX11ClockDriver&>(Driver).GetWindow();
}

pid_t ProcessOf(TClockDriver& Driver)
{
    return static_cast<TX11ClockDriver&>(Driver).GetProcess();
}

std::string RegistryFileOf(TClockDriver& Driver)
{
    return static_cast<TX11ClockDriver&>(Driver).RegistryFile();
}

void SetLaunchOf(TClockDriver& Driver, const std::string& Folder,
                 const std::vector<std::string>& Environment, const std::string& Program)
{
    static_cast<TX11ClockDriver&>(Driver).SetLaunch(Folder, Environment, Program);
}

TX11ClockDriver::~TX11ClockDriver()
{
    Kill();
    if (!FFolder.empty()) {
        std::error_code Ignored;
        std::filesystem::remove_all(FFolder, Ignored);
    }
    if (FPinger)
        XCloseDisplay(FPinger);
    CloseObserver();
}

const std::string& TX11ClockDriver::Folder()
{
    // A configuration folder of its own: the registry and settings of this driver's runs only.
    if (FFolder.empty()) {
        std::string Template = GetConfigHome() + "/clock-XXXXXX";
        if (mkdtemp(Template.data()))
            FFolder = Template;
    }
    return FFolder;
}

bool TX11ClockDriver::StoreSetting(const std::string& Name, std::int32_t Value)
{
    if (Folder().empty())
        return false;
    TFileRegistry Registry(RegistryFile());
    TRegistryKey Key = 0;
    if (Registry.CreateKey(SettingsKey, Key, nullptr) != ERROR_SUCCESS)
        return false;
    const long Result =
        Registry.SetValue(Key, Name, REG_DWORD, DwordBytes(static_cast<std::uint32_t>(Value)));
    Registry.CloseKey(Key);
    return Result == ERROR_SUCCESS;
}

std::optional<TStoredSettings> TX11ClockDriver::ReadSettings()
{
    if (Folder().empty())
        return std::nullopt;
    // As the clock's next run would read the file.
    TFileRegistry Registry(RegistryFile());
    TRegistryKey Key = 0;
    if (Registry.OpenKey(SettingsKey, Key) != ERROR_SUCCESS)
        return std::nullopt;
    TStoredSettings Settings;
    for (const std::string& Name : Registry.GetValueNames(SettingsKey)) {
        TStoredValue& V = Settings[Name];
        Registry.QueryValue(Key, Name, V.Type, V.Data);
    }
    Registry.CloseKey(Key);
    return Settings;
}

TPoint TX11ClockDriver::GetScreenSize()
{
    if (!Observer && !OpenObserver())
        return {};
    return {DisplayWidth(Observer, DefaultScreen(Observer)),
            DisplayHeight(Observer, DefaultScreen(Observer))};
}

std::string TX11ClockDriver::Start(TPoint ClientSize)
{
    if (!Observer && !OpenObserver())
        return "no display";
    if (std::string Problem = Spawn(); !Problem.empty())
        return Problem;
    FWindow = 0;
    std::vector<TForeignWindow> Seen;
    const bool Shown = Eventually([&] {
        Seen = WindowsOfTheClock();
        for (const TForeignWindow& W : Seen)
            if (W.Name == "Form1" && W.Viewable && !W.OverrideRedirect &&
                W.Bounds.Width() == ClientSize.X && W.Bounds.Height() == ClientSize.Y)
                FWindow = W.Window;
        return FWindow != 0;
    });
    if (Shown)
        return "";
    std::string Problem = "the clock showed no main window of " + std::to_string(ClientSize.X) +
                          " x " + std::to_string(ClientSize.Y) + "; its windows:";
    for (const TForeignWindow& W : Seen)
        Problem += " \"" + W.Name + "\" " + std::to_string(W.Bounds.Width()) + " x " +
                   std::to_string(W.Bounds.Height()) + (W.Viewable ? "" : " (unmapped)");
    return Problem;
}

void TX11ClockDriver::Kill()
{
    if (FChild > 0) {
        kill(FChild, SIGKILL);
        waitpid(FChild, nullptr, 0);
    }
    FChild = -1;
    FWindow = 0;
}

std::string TX11ClockDriver::Spawn()
{
    if (Folder().empty())
        return "no configuration folder";
    std::vector<std::string> Environment{std::string("DISPLAY=") + DisplayString(Observer),
                                         "XDG_CONFIG_HOME=" + FFolder};
    Environment.insert(Environment.end(), FEnvironment.begin(), FEnvironment.end());
    // The tests' own variables, less those given above.
    const auto Given = [&](std::string_view Entry) {
        const std::string_view Name = Entry.substr(0, Entry.find('=') + 1);
        return std::any_of(Environment.begin(), Environment.end(),
                           [&](const std::string& E) { return E.starts_with(Name); });
    };
    for (char** E = environ; *E; ++E)
        if (!Given(*E))
            Environment.emplace_back(*E);
    std::vector<char*> Env;
    for (std::string& S : Environment)
        Env.push_back(S.data());
    Env.push_back(nullptr);
    std::string Program = FProgram.empty() ? std::string(NIXIE_APP) : FProgram;
    char* Argv[] = {Program.data(), nullptr};
    posix_spawn_file_actions_t Files;
    posix_spawn_file_actions_init(&Files);
    const std::string LogPath = FFolder + "/clock.log";
    posix_spawn_file_actions_addopen(&Files, 1, LogPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&Files, 1, 2);
    if (!FStartFolder.empty())
        posix_spawn_file_actions_addchdir_np(&Files, FStartFolder.c_str());
    pid_t Pid = -1;
    const int Failed = posix_spawn(&Pid, Program.c_str(), &Files, nullptr, Argv, Env.data());
    posix_spawn_file_actions_destroy(&Files);
    if (Failed)
        return "cannot start " + Program;
    FChild = Pid;
    return "";
}

std::string TX11ClockDriver::Describe()
{
    return ReadWholeFile(FFolder + "/clock.log").value_or("(no output)");
}

std::vector<TForeignWindow> TX11ClockDriver::WindowsOfTheClock()
{
    std::vector<TForeignWindow> Found;
    Window Root = XNone, Parent = XNone;
    Window* Children = nullptr;
    unsigned Count = 0;
    if (!XQueryTree(Observer, DefaultRootWindow(Observer), &Root, &Parent, &Children, &Count))
        return Found;
    for (unsigned I = 0; I < Count; ++I) {
        const std::vector<long> Pid = ReadCardinals(Children[I], "_NET_WM_PID");
        if (Pid.size() != 1 || Pid[0] != FChild)
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

TRect TX11ClockDriver::GetClientBounds()
{
    int X = 0, Y = 0;
    Window Inside = XNone;
    XWindowAttributes A{};
    if (!XGetWindowAttributes(Observer, FWindow, &A) ||
        !XTranslateCoordinates(Observer, FWindow, DefaultRootWindow(Observer), 0, 0, &X, &Y,
                               &Inside))
        return {};
    return TRect::FromSize(X, Y, A.width, A.height);
}

bool TX11ClockDriver::MoveWindow(TPoint Origin)
{
    // As a window manager would place it.
    XMoveWindow(Observer, FWindow, Origin.X, Origin.Y);
    XSync(Observer, False);
    return true;
}

TBitmap TX11ClockDriver::CaptureClient()
{
    const TRect Client = GetClientBounds();
    TBitmap Shot(Client.Width(), Client.Height());
    const std::vector<TPixel> Pixels =
        ReadPixels(FWindow, TRect::FromSize(0, 0, Client.Width(), Client.Height()));
    if (Pixels.size() == Shot.GetPixels().size())
        std::copy(Pixels.begin(), Pixels.end(), Shot.GetPixels().begin());
    return Shot;
}

std::optional<std::vector<std::vector<TRect>>> TX11ClockDriver::ReadShapes()
{
    return std::vector{ReadShape(FWindow, ShapeBounding), ReadShape(FWindow, ShapeInput)};
}

bool TX11ClockDriver::MovePointer(TPoint Where)
{
    // One motion: a path in steps is the case's to choose (the clock takes a move of one pixel
    // for a hand that trembles).
    TX11Observer::MovePointer(Where);
    return true;
}

bool TX11ClockDriver::Ping()
{
    if (!FPinger) {
        FPinger = XOpenDisplay(DisplayString(Observer));
        if (!FPinger)
            return false;
        XSelectInput(FPinger, DefaultRootWindow(FPinger), SubstructureNotifyMask);
        XSync(FPinger, False);
    }
    XEvent Ping{};
    Ping.xclient.type = ClientMessage;
    Ping.xclient.window = FWindow;
    Ping.xclient.message_type = XInternAtom(FPinger, "WM_PROTOCOLS", False);
    Ping.xclient.format = 32;
    Ping.xclient.data.l[0] = static_cast<long>(XInternAtom(FPinger, "_NET_WM_PING", False));
    Ping.xclient.data.l[1] = ++FLastPing; // told apart from the answers to earlier pings
    Ping.xclient.data.l[2] = static_cast<long>(FWindow);
    XSendEvent(FPinger, FWindow, False, NoEventMask, &Ping);
    XFlush(FPinger);
    const Atom Protocols = Ping.xclient.message_type;
    bool Answered = false;
    Eventually([&] {
        while (!Answered && XPending(FPinger) > 0) {
            XEvent E;
            XNextEvent(FPinger, &E);
            Answered = E.type == ClientMessage && E.xclient.message_type == Protocols &&
                       E.xclient.data.l[1] == FLastPing;
        }
        return Answered;
    });
    return Answered;
}

bool TX11ClockDriver::AwaitInputTaken()
{
    // The clock answers a ping when it reads its connection, and it reads it only once it has
    // taken every input message it read before: the answer to a second ping, sent after the
    // first was answered, thus comes after the input sent before the first has been handled.
    // Input that the server delivered is no proof: a press and its release reach the clock
    // whether it is busy or not, and until it takes the press it holds no grab that a probe
    // could find.
    return Ping() && Ping();
}

bool TX11ClockDriver::BeginDrag()
{
    PointerButton(1, true);
    return AwaitInputTaken();
}

bool TX11ClockDriver::EndDrag()
{
    PointerButton(1, false);
    if (!AwaitInputTaken())
        return false;
    // The clock has taken the release once it has let its capture (a pointer grab) go: until
    // then, another client cannot grab the pointer.
    return Eventually([&] {
        const Window Root = DefaultRootWindow(Observer);
        if (XGrabPointer(Observer, Root, False, 0, GrabModeAsync, GrabModeAsync, XNone, XNone,
                         CurrentTime) != GrabSuccess)
            return false;
        XUngrabPointer(Observer, CurrentTime);
        XSync(Observer, False);
        return true;
    });
}

bool TX11ClockDriver::Click(TClick Button)
{
    const unsigned XButton = Button == TClick::Left ? 1 : 3;
    PointerButton(XButton, true);
    PointerButton(XButton, false);
    return true;
}

std::optional<TRect> TX11ClockDriver::AwaitMenu()
{
    std::optional<TRect> Menu;
    Eventually([&] {
        for (const TForeignWindow& W : WindowsOfTheClock())
            if (W.OverrideRedirect && W.Viewable)
                Menu = W.Bounds;
        return Menu.has_value();
    });
    return Menu;
}

bool TX11ClockDriver::PressKey(TKey Key)
{
    const unsigned long Keysyms[] = {XK_Return, XK_Escape, XK_Tab, XK_space};
    const unsigned long Keysym = Keysyms[static_cast<int>(Key)];
    TX11Observer::Key(Keysym, true);
    TX11Observer::Key(Keysym, false);
    return true;
}

std::optional<TRect> TX11ClockDriver::AwaitWindow(const std::string& Title)
{
    // The port's top-level window is the client area, and the tests' servers have no window
    // manager to put it into a frame: its place among the root's children is on the screen.
    std::optional<TRect> Found;
    Eventually([&] {
        for (const TForeignWindow& W : WindowsOfTheClock())
            if (W.Name == Title && W.Viewable && !W.OverrideRedirect)
                Found = W.Bounds;
        return Found.has_value();
    });
    // The clock gives a window it activates the keyboard focus once it hears that the window
    // is mapped: until then a key would go to the window that had the focus before.
    if (Found && !AwaitInputTaken())
        return std::nullopt;
    return Found;
}

bool TX11ClockDriver::AwaitWindowGone(const std::string& Title)
{
    return Eventually([&] {
        const std::vector<TForeignWindow> Windows = WindowsOfTheClock();
        return std::none_of(Windows.begin(), Windows.end(),
                            [&](const TForeignWindow& W) { return W.Name == Title && W.Viewable; });
    });
}

std::optional<long> TX11ClockDriver::AwaitExit()
{
    int WaitStatus = 0;
    pid_t Ended = 0;
    if (!Eventually([&] { return (Ended = waitpid(FChild, &WaitStatus, WNOHANG)) != 0; }))
        return std::nullopt;
    if (Ended != FChild)
        return -1; // no child of ours
    FChild = -1;   // reaped
    return WIFEXITED(WaitStatus) ? WEXITSTATUS(WaitStatus) : 128 + WTERMSIG(WaitStatus);
}
