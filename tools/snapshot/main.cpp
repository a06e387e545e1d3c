// Renders the clock on the headless port at a given local time and writes what its window shows
// as a PNG: the clock's picture without a display.
//
//   snapshot OUT.png [HH:MM:SS] [--12]
#include "app/Fnixie.h"
#include "framework/Application.h"
#include "framework/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"
#include "tools/common/PngWriter.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: snapshot OUT.png [HH:MM:SS] [--12]\n");
        return 2;
    }
    THeadlessPlatform Port;
    TPlatform::Set(&Port);
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
        auto* Native = Port.GetWindows().empty() ? nullptr : Port.GetWindows().front();
        for (THeadlessWindow* W : Port.GetWindows())
            if (W->IsVisible())
                Native = W;
        if (!Native) {
            std::fprintf(stderr, "snapshot: the clock opened no window\n");
            return 1;
        }
        const TPoint Size = Native->GetClientSize();
        std::vector<std::uint32_t> Pixels(std::size_t(Size.X) * std::size_t(Size.Y));
        for (int Y = 0; Y < Size.Y; ++Y)
            for (int X = 0; X < Size.X; ++X)
                Pixels[std::size_t(Y) * std::size_t(Size.X) + std::size_t(X)] =
                    Native->GetScreenPixel(X, Y);
        TPngWriter::SaveToFile(argv[1], Size.X, Size.Y, Pixels);
        std::printf("snapshot: %dx%d at %02d:%02d:%02d written to %s\n", Size.X, Size.Y, Time.Hour,
                    Time.Minute, Time.Second, argv[1]);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "snapshot: %s\n", E.what());
        return 1;
    }
    return 0;
}
