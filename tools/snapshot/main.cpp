// Renders the clock on the headless port at a given local time and writes what its window shows
// as a PNG: the clock's picture without a display. With --error, it shows the standard
// exception display for the text instead and writes the message box's client area.
//
//   snapshot OUT.png [HH:MM:SS] [--12]
//   snapshot OUT.png --error TEXT
#include "app/Fnixie.h"
#include "base/Exception.h"
#include "framework/windows/Application.h"
#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"
#include "tools/common/PngWriter.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

namespace {
THeadlessWindow* TopVisibleWindow(THeadlessPlatform& Port)
{
    THeadlessWindow* Native = nullptr;
    for (THeadlessWindow* W : Port.GetWindows())
        if (W->IsVisible())
            Native = W;
    return Native;
}

void SaveClientArea(const THeadlessWindow& Native, const char* Path)
{
    const TPoint Size = Native.GetClientSize();
    std::vector<std::uint32_t> Pixels(std::size_t(Size.X) * std::size_t(Size.Y));
    for (int Y = 0; Y < Size.Y; ++Y)
        for (int X = 0; X < Size.X; ++X)
            Pixels[std::size_t(Y) * std::size_t(Size.X) + std::size_t(X)] =
                Native.GetScreenPixel(X, Y);
    TPngWriter::SaveToFile(Path, Size.X, Size.Y, Pixels);
}

// The standard exception display for Text, captured while it waits for an answer.
int SnapshotError(THeadlessPlatform& Port, const char* Path, const char* Text)
{
    TApplication App(nullptr);
    App.Initialize();
    App.SetTitle("Nixie");
    bool Saved = false;
    Port.QueueEvent(
        [&] {
            THeadlessWindow* Box = TopVisibleWindow(Port);
            if (!Box)
                return;
            SaveClientArea(*Box, Path);
            Saved = true;
            Box->GetEvents()->HandleInput({.Kind = TInputKind::KeyDown, .Key = VK_RETURN});
        },
        50);
    App.ShowException(Exception(Text));
    if (!Saved) {
        std::fprintf(stderr, "snapshot: no message box appeared\n");
        return 1;
    }
    std::printf("snapshot: the message box written to %s\n", Path);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: snapshot OUT.png [HH:MM:SS] [--12] | OUT.png --error TEXT\n");
        return 2;
    }
    THeadlessPlatform Port;
    TPlatform::Set(&Port);
    if (argc == 4 && std::strcmp(argv[2], "--error") == 0)
        return SnapshotError(Port, argv[1], argv[3]);
    TLocalTime Time;
    Time.Hour = 10;
    Time.Minute = 58;
    Time.Second = 37;
    bool TwelveHour = false;
    for (int I = 2; I < argc; ++I) {
        if (std::strcmp(argv[I], "--12") == 0)
            TwelveHour = true;
        else if (std::sscanf(argv[I], "%d:%d:%d", &Time.Hour, &Time.Minute, &Time.Second) != 3) {
            std::fprintf(stderr, "snapshot: '%s' is not a time HH:MM:SS\n", argv[I]);
            return 2;
        }
    }
    Port.SetLocalTime(Time);
    try {
        TApplication App(nullptr);
        App.Initialize();
        App.CreateForm(Form1);
        if (TwelveHour)
            Form1->RidivAzoza1->SetMode24(0);
        Form1->Show();
        App.ProcessMessages();
        THeadlessWindow* Native = TopVisibleWindow(Port);
        if (!Native) {
            std::fprintf(stderr, "snapshot: the clock opened no window\n");
            return 1;
        }
        SaveClientArea(*Native, argv[1]);
        const TPoint Size = Native->GetClientSize();
        std::printf("snapshot: %dx%d at %02d:%02d:%02d written to %s\n", Size.X, Size.Y, Time.Hour,
                    Time.Minute, Time.Second, argv[1]);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "snapshot: %s\n", E.what());
        return 1;
    }
    return 0;
}
