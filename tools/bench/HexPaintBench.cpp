// A full repaint of a screen-sized hex editor, plain and with polka dots, set beside one fill of
// the same surface measured in the same run. The goal is at most 10 fills' time per repaint.
// The editor paints straight into a bitmap, as the window manager has it paint into a form's
// back buffer; presenting that buffer is the port's business and is left out.
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/windows/WindowManager.h"
#include "hexedit/Hexcontrol.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tools/bench/SummaryReporter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;

class TBenchEditor : public THexEditor
{
public:
    using THexEditor::THexEditor;

    // One whole paint of the control into Surface.
    void PaintInto(TBitmap& Surface)
    {
        TPaintContext Context;
        Context.Surface = &Surface;
        Context.ClipRegion = TRegion(GetClientRect());
        Context.PaintRect = GetClientRect();
        PaintWindow(Context);
    }
};

// A 1920 x 1080 editor with the default font and 16 bytes a line, showing 64 KiB with 1024
// change entries spread over the rows on show.
struct TScene
{
    TScene() : Surface(Width, Height)
    {
        TPlatform::Set(&Port);
        Editor = std::make_unique<TBenchEditor>(nullptr);
        Editor->SetBounds(0, 0, Width, Height);
        Editor->AllocData(1 << 16);
        for (int I = 0; I < (1 << 16); ++I)
            Editor->SetByte(I, std::uint8_t(I * 7));
        Editor->DataChange();
        Editor->PaintInto(Surface);
        const int Visible = Editor->GetLastVisibleOffset() + 1;
        for (int K = 0; K < 1024; ++K)
            Editor->SetByte(int(std::int64_t(K) * Visible / 1024), std::uint8_t(K));
        std::printf("%d rows, %d bytes on show, %d change entries\n", Editor->GetRowsPainted(),
                    Visible, Editor->GetChangeLog().GetChangeCount());
    }
    ~TScene()
    {
        Editor.reset();
        TPlatform::Set(nullptr);
    }

    THeadlessPlatform Port;
    TBitmap Surface;
    std::unique_ptr<TBenchEditor> Editor;
};

TScene* GScene = nullptr;

void FillSurface(benchmark::State& State)
{
    TBitmap B(Width, Height);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetColor(clBtnFace);
    for (auto _ : State) {
        C.FillRect({0, 0, Width, Height});
        benchmark::DoNotOptimize(B.GetScanLine(0)[0]);
    }
}

void RepaintEditor(benchmark::State& State)
{
    GScene->Editor->SetPolkaDots(int(State.range(0)));
    for (auto _ : State) {
        GScene->Editor->PaintInto(GScene->Surface);
        benchmark::DoNotOptimize(GScene->Surface.GetScanLine(0)[0]);
    }
    GScene->Editor->SetPolkaDots(0);
}

} // namespace

BENCHMARK(FillSurface);
BENCHMARK(RepaintEditor)->Arg(0)->Arg(30);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TScene Scene;
    GScene = &Scene;
    TSummaryReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    const auto& T = Reporter.Times;
    for (const char* Name : {"RepaintEditor/0", "RepaintEditor/30"})
        if (T.count(Name) && T.count("FillSurface"))
            std::printf("%s / FillSurface: %.2f (goal at most 10)\n", Name,
                        T.at(Name) / T.at("FillSurface"));
    benchmark::Shutdown();
    return 0;
}
