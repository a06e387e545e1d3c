// Renders the clock on the headless port at a given local time, in a given style and colour, and
// writes what its window shows as a PNG: the clock's picture without a display. With --control,
// it draws any control registered for form reading instead, with its properties set by name; with
// --error, it shows the standard exception display for the text and writes the message box's
// client area; with --menu, the dialog that one of the clock's menu commands opens.
#include "app/Fnixie.h"
#include "app/SettingsStore.h"
#include "base/Exception.h"
#include "framework/objects/PropInfo.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/windows/Application.h"
#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"
#include "tools/common/PngWriter.h"
#include "tools/snapshot/ControlSnapshot.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: snapshot OUT.png [--time HH:MM:SS] [--style N] [--color N] [--12] [--menu COMMAND]\n"
    "       snapshot OUT.png --control CLASS [--size WxH] [--time HH:MM:SS] [--set PROP=VALUE]...\n"
    "                        [--open FILE] [--type TEXT] [--find TEXT] [--part NAME]\n"
    "       snapshot OUT.png --error TEXT\n"
    "       snapshot --help\n"
    "\n"
    "Draws the clock without a display and writes its window as a PNG.\n"
    "  --time HH:MM:SS  the time shown (default 10:58:37; the bare HH:MM:SS works too)\n"
    "  --style N        0 Nixie Large (default), 1 Nixie Small, 2 Vfd Large, 3 Vfd Small\n"
    "  --color N        VFD colour: 0 Cyan (default), 1 Red, 2 Blue\n"
    "  --12             12-hour display\n"
    "  --menu COMMAND   runs the clock's menu command Settings or About and writes the dialog\n"
    "                   it opens (the settings as the clock has them) instead of the clock\n"
    "  --error TEXT     the standard error display for TEXT instead of the clock\n"
    "Style and colour are given to the clock as its stored settings, so that it starts with\n"
    "them as it would on a desktop; values out of range do what they do there.\n"
    "\n"
    "With --control, draws one control instead, alone on a form of its own size:\n"
    "  --control CLASS  a class registered for form reading (TVelmoraPanel, TRidivAzoza, ...),\n"
    "                   or a program's form (TFormGallery, TFormHexEdit), drawn as it opens\n"
    "  --size WxH       the control's size (default: the size it is created with)\n"
    "  --time HH:MM:SS  the local time a clock control shows (default 10:58:37)\n"
    "  --set PROP=VALUE a published property, spelt as in a form description: a number, a\n"
    "                   colour (clRed or a number), an enumeration name, True/False or 1/0;\n"
    "                   may be repeated, and applies in the order given\n"
    "Then, in this order, as a user would go on:\n"
    "  --open FILE      TFormHexEdit opens FILE, as with File, Open\n"
    "  --type TEXT      TEXT typed into the focused control (the hex editor takes hexadecimal\n"
    "                   digits in lower case, at its cursor)\n"
    "  --find TEXT      TFormHexEdit finds the characters TEXT from the start; the cursor shows\n"
    "                   the first hit\n"
    "  --part NAME      writes only the control NAME of a program's form (PanelHex of\n"
    "                   TFormGallery, say) instead of the whole form\n"
    "Example: snapshot panel.png --control TVelmoraPanel --size 120x60 --set BarWidth=8\n"
    "         snapshot edit.png --control TFormHexEdit --open a.bin --type 4e --find Nixie\n";

struct TOptions
{
    const char* Out = nullptr;
    const char* Error = nullptr;
    const char* Menu = nullptr;
    TLocalTime Time{.Hour = 10, .Minute = 58, .Second = 37};
    std::int32_t Style = 0;
    std::int32_t Color = 0;
    bool TwelveHour = false;
    // Control mode, and whether an option of the clock's own mode was given.
    const char* Control = nullptr;
    const char* Part = nullptr;
    TControlSnapshot Snapshot;
    const char* ClockOption = nullptr;
    const char* ControlOption = nullptr;
};

bool ParseSize(const char* Text, int& Width, int& Height)
{
    char End = 0;
    return std::sscanf(Text, "%dx%d%c", &Width, &Height, &End) == 2 && Width > 0 && Height > 0 &&
           Width <= 8192 && Height <= 8192;
}

bool ParseTime(const char* Text, TLocalTime& Time)
{
    int H = 0, M = 0, S = 0;
    char End = 0;
    if (std::sscanf(Text, "%d:%d:%d%c", &H, &M, &S, &End) != 3 || H < 0 || H > 23 || M < 0 ||
        M > 59 || S < 0 || S > 59)
        return false;
    Time.Hour = H;
    Time.Minute = M;
    Time.Second = S;
    return true;
}

bool ParseInt(const char* Text, std::int32_t& Value)
{
    char* End = nullptr;
    errno = 0;
    const long V = std::strtol(Text, &End, 10);
    if (End == Text || *End || errno || V < INT32_MIN || V > INT32_MAX)
        return false;
    Value = static_cast<std::int32_t>(V);
    return true;
}

// The options, or a message for the user (empty for --help).
std::optional<std::string> ParseOptions(int argc, char** argv, TOptions& O)
{
    for (int I = 1; I < argc; ++I) {
        const std::string_view A = argv[I];
        const char* Next = I + 1 < argc ? argv[I + 1] : nullptr;
        const auto NeedsValue = [&]() -> std::optional<std::string> {
            if (!Next)
                return std::string(A) + " needs a value";
            ++I;
            return std::nullopt;
        };
        if (A == "--help" || A == "-h")
            return std::string();
        if (A == "--12" || A == "--style" || A == "--color" || A == "--error" || A == "--menu")
            O.ClockOption = argv[I];
        if (A == "--size" || A == "--set" || A == "--open" || A == "--type" || A == "--find" ||
            A == "--part")
            O.ControlOption = argv[I];
        if (A == "--12") {
            O.TwelveHour = true;
        } else if (A == "--part") {
            if (auto Problem = NeedsValue())
                return Problem;
            O.Part = Next;
        } else if (A == "--open" || A == "--type" || A == "--find") {
            if (auto Problem = NeedsValue())
                return Problem;
            (A == "--open"   ? O.Snapshot.OpenFile
             : A == "--type" ? O.Snapshot.Typed
                             : O.Snapshot.Find) = Next;
        } else if (A == "--control" || A == "--size" || A == "--set") {
            if (auto Problem = NeedsValue())
                return Problem;
            const std::string_view V = Next;
            const std::size_t Equals = V.find('=');
            if (A == "--control")
                O.Control = Next;
            else if (A == "--size" && !ParseSize(Next, O.Snapshot.Width, O.Snapshot.Height))
                return "'" + std::string(V) + "' is no size WxH";
            else if (A == "--set" && (Equals == 0 || Equals == std::string_view::npos))
                return "'" + std::string(V) + "' is no setting PROP=VALUE";
            else if (A == "--set")
                O.Snapshot.Settings.emplace_back(V.substr(0, Equals), V.substr(Equals + 1));
        } else if (A == "--time" || A == "--style" || A == "--color" || A == "--error" ||
                   A == "--menu") {
            if (auto Problem = NeedsValue())
                return Problem;
            if (A == "--error")
                O.Error = Next;
            else if (A == "--menu" && !SameIdent(Next, "Settings") && !SameIdent(Next, "About"))
                return "'" + std::string(Next) + "' is no menu command Settings or About";
            else if (A == "--menu")
                O.Menu = Next;
            else if (A == "--time" ? !ParseTime(Next, O.Time)
                                   : !ParseInt(Next, A == "--style" ? O.Style : O.Color))
                return "'" + std::string(Next) + "' is no value for " + std::string(A);
        } else if (A.starts_with("-")) {
            return "unknown option " + std::string(A);
        } else if (!O.Out) {
            O.Out = argv[I];
        } else if (!ParseTime(argv[I], O.Time)) {
            return "'" + std::string(A) + "' is not a time HH:MM:SS";
        }
    }
    if (!O.Out)
        return std::string("no output file given");
    if (O.Control && O.ClockOption)
        return std::string(O.ClockOption) + " is for the clock, not for --control";
    if (!O.Control && O.ControlOption)
        return std::string(O.ControlOption) + " needs --control";
    if (O.Control)
        O.Snapshot.ClassName = O.Control;
    return std::nullopt;
}

THeadlessWindow* TopVisibleWindow(THeadlessPlatform& Port)
{
    THeadlessWindow* Native = nullptr;
    for (THeadlessWindow* W : Port.GetWindows())
        if (W->IsVisible())
            Native = W;
    return Native;
}

// The client area, or the part of it that Crop names.
void SaveClientArea(const THeadlessWindow& Native, const char* Path,
                    std::optional<TRect> Crop = std::nullopt)
{
    const TRect Whole = TRect::FromSize(0, 0, Native.GetClientSize().X, Native.GetClientSize().Y);
    const TRect Area = Whole.Intersect(Crop.value_or(Whole));
    const TPoint Size{Area.Width(), Area.Height()};
    std::vector<std::uint32_t> Pixels(std::size_t(Size.X) * std::size_t(Size.Y));
    // Outside the window's outline the desktop shows through: black here.
    const std::optional<std::vector<TRect>>& Shape = Native.GetShape();
    const auto Shown = [&](int X, int Y) {
        if (!Shape)
            return true;
        for (const TRect& R : *Shape)
            if (R.Contains(TPoint{X, Y}))
                return true;
        return false;
    };
    for (int Y = 0; Y < Size.Y; ++Y)
        for (int X = 0; X < Size.X; ++X)
            Pixels[std::size_t(Y) * std::size_t(Size.X) + std::size_t(X)] =
                Shown(Area.Left + X, Area.Top + Y)
                    ? Native.GetScreenPixel(Area.Left + X, Area.Top + Y)
                    : 0;
    TPngWriter::SaveToFile(Path, Size.X, Size.Y, Pixels);
}

// Once a modal window is up, writes the topmost window and answers it with Enter; Saved tells.
void CaptureModal(THeadlessPlatform& Port, const char* Path, bool& Saved)
{
    Port.QueueEvent(
        [&Port, Path, &Saved] {
            THeadlessWindow* Box = TopVisibleWindow(Port);
            if (!Box)
                return;
            SaveClientArea(*Box, Path);
            Saved = true;
            Box->GetEvents()->HandleInput({.Kind = TInputKind::KeyDown, .Key = VK_RETURN});
        },
        50);
}

// The standard exception display for Text, captured while it waits for an answer.
int SnapshotError(THeadlessPlatform& Port, const char* Path, const char* Text)
{
    TApplication App(nullptr);
    App.Initialize();
    App.SetTitle("Nixie");
    bool Saved = false;
    CaptureModal(Port, Path, Saved);
    App.ShowException(Exception(Text));
    if (!Saved) {
        std::fprintf(stderr, "snapshot: no message box appeared\n");
        return 1;
    }
    std::printf("snapshot: the message box written to %s\n", Path);
    return 0;
}

// One control alone on a form of its size, at the port's local time.
int SnapshotControl(THeadlessPlatform& Port, const TOptions& O)
{
    try {
        RegisterControlFamily();
        TApplication App(nullptr);
        App.Initialize();
        TForm* Form = ShowControlSnapshot(App, O.Snapshot);
        const std::optional<TRect> Crop =
            O.Part ? std::optional(PartBounds(Form, O.Part)) : std::nullopt;
        App.ProcessMessages();
        THeadlessWindow* Native = TopVisibleWindow(Port);
        if (!Native) {
            std::fprintf(stderr, "snapshot: the control's form opened no window\n");
            return 1;
        }
        SaveClientArea(*Native, O.Out, Crop);
        const TPoint Size = Crop ? TPoint{Crop->Width(), Crop->Height()} : Native->GetClientSize();
        std::printf("snapshot: %s %dx%d at %02d:%02d:%02d written to %s\n", O.Control, Size.X,
                    Size.Y, O.Time.Hour, O.Time.Minute, O.Time.Second, O.Out);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "snapshot: %s\n", E.what());
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    TOptions O;
    if (const std::optional<std::string> Problem = ParseOptions(argc, argv, O)) {
        if (Problem->empty()) {
            std::fputs(Usage, stdout);
            return 0;
        }
        std::fprintf(stderr, "snapshot: %s\n%s", Problem->c_str(), Usage);
        return 2;
    }
    THeadlessPlatform Port;
    TPlatform::Set(&Port);
    if (O.Error)
        return SnapshotError(Port, O.Out, O.Error);
    Port.SetLocalTime(O.Time);
    if (O.Control)
        return SnapshotControl(Port, O);
    // Through the clock's own store, as a previous run would have left them.
    SettingsStore Store;
    OpenSettingsStore(nullptr, "QXRidivAzoza", Store, 1);
    WriteSettingInt(Store, "type", O.Style);
    WriteSettingInt(Store, "vdfcolor", O.Color);
    WriteSettingInt(Store, "24hour", O.TwelveHour ? 0 : 1);
    CloseSettingsStore(Store);
    try {
        TApplication App(nullptr);
        App.Initialize();
        App.CreateForm(Form1);
        Form1->Show();
        App.ProcessMessages();
        if (O.Menu) {
            // The command as the context menu gives it; its dialog is captured while modal.
            TMenuItem* Items = Form1->PopupMenu1->GetItems();
            for (int I = 0; I < Items->GetCount(); ++I)
                if (SameIdent(Items->GetItem(I)->GetCaption(), O.Menu)) {
                    bool Saved = false;
                    CaptureModal(Port, O.Out, Saved);
                    Items->GetItem(I)->Click();
                    if (!Saved) {
                        std::fprintf(stderr, "snapshot: %s opened no dialog\n", O.Menu);
                        return 1;
                    }
                    std::printf("snapshot: the %s dialog written to %s\n", O.Menu, O.Out);
                    return 0;
                }
            std::fprintf(stderr, "snapshot: the clock's menu has no %s\n", O.Menu);
            return 1;
        }
        THeadlessWindow* Native = TopVisibleWindow(Port);
        if (!Native) {
            std::fprintf(stderr, "snapshot: the clock opened no window\n");
            return 1;
        }
        SaveClientArea(*Native, O.Out);
        const TPoint Size = Native->GetClientSize();
        std::printf("snapshot: %dx%d, style %d, colour %d, at %02d:%02d:%02d written to %s\n",
                    Size.X, Size.Y, O.Style, O.Color, O.Time.Hour, O.Time.Minute, O.Time.Second,
                    O.Out);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "snapshot: %s\n", E.what());
        return 1;
    }
    return 0;
}
