// The canvas at the sizes the controls paint: a form-sized fill, XOR frames, the hex editor's
// text and polka dots, digit stretching. The fill and the stretch are set beside pixman's.
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "platform/headless/HeadlessPlatform.h"

#include <benchmark/benchmark.h>
#include <map>
#include <pixman.h>

namespace {

// Glyphs of fixed size, so that text costs the same on every machine whatever fonts it has.
class TBenchFace : public TFontFace
{
public:
    TBenchFace() : FGlyph{7, 0, -10, 6, 10, std::vector<std::uint8_t>(60, 200)}
    {
        FMetrics = {11, 2, 13, 2, 7};
    }
    TFontMetrics GetMetrics() const override { return FMetrics; }
    const TGlyph& GetGlyph(char32_t) override { return FGlyph; }

private:
    TFontMetrics FMetrics;
    TGlyph FGlyph;
};

class TBenchPort : public THeadlessPlatform
{
    class TEngine : public TFontEngine
    {
        std::shared_ptr<TFontFace> OpenFace(const TFontRequest&) override
        {
            return std::make_shared<TBenchFace>();
        }
    };

public:
    TFontEngine& GetFontEngine() override { return FEngine; }

private:
    TEngine FEngine;
};

void SetPixelRate(benchmark::State& State, std::int64_t PixelsPerIteration)
{
    State.counters["pixels/s"] = benchmark::Counter(double(PixelsPerIteration),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

void FillForm(benchmark::State& State)
{
    TBitmap B(800, 600);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetColor(clBtnFace);
    for (auto _ : State) {
        C.FillRect({0, 0, 800, 600});
        benchmark::DoNotOptimize(B.GetScanLine(0)[0]);
    }
    SetPixelRate(State, 800 * 600);
}

void PixmanFillForm(benchmark::State& State)
{
    TBitmap B(800, 600);
    for (auto _ : State) {
        pixman_fill(reinterpret_cast<std::uint32_t*>(B.GetScanLine(0)), 800, 32, 0, 0, 800, 600,
                    0x00D4D0C8u);
        benchmark::DoNotOptimize(B.GetScanLine(0)[0]);
    }
    SetPixelRate(State, 800 * 600);
}

void FillThroughRegion(benchmark::State& State)
{
    // A clip of 120 rectangles, like a shaped window's outline.
    TBitmap B(800, 600);
    TCanvas& C = B.GetCanvas();
    std::vector<TRect> Clip;
    for (int I = 0; I < 120; ++I)
        Clip.push_back(TRect::FromSize(10 + (I % 12) * 64, 10 + (I / 12) * 58, 60, 50));
    C.SetClipRects(Clip);
    for (auto _ : State) {
        C.FillRect({0, 0, 800, 600});
        benchmark::DoNotOptimize(B.GetScanLine(0)[0]);
    }
}

void FocusFrames(benchmark::State& State)
{
    TBitmap B(800, 600);
    TCanvas& C = B.GetCanvas();
    for (auto _ : State) {
        for (int I = 0; I < 3; ++I)
            C.DrawFocusRect({I, I, 800 - I, 600 - I});
        benchmark::DoNotOptimize(B.GetScanLine(0)[0]);
    }
}

void HexRowText(benchmark::State& State)
{
    TBenchPort Port;
    TPlatform::Set(&Port);
    TBitmap B(800, 600);
    TCanvas& C = B.GetCanvas();
    for (auto _ : State) {
        // One row of the hex editor: 8 address digits, 16 cells of 2, 16 characters.
        int X = 12;
        C.TextOut(X, 10, "0000ABCD");
        X += 8 * 7 + 20;
        for (int I = 0; I < 16; ++I, X += 14)
            C.TextOut(X, 10, "7F");
        for (int I = 0; I < 16; ++I, X += 7)
            C.TextOut(X, 10, "A");
        benchmark::DoNotOptimize(B.GetScanLine(10)[12]);
    }
    TPlatform::Set(nullptr);
}

void PolkaDots(benchmark::State& State)
{
    TBitmap B(800, 600);
    TCanvas& C = B.GetCanvas();
    C.GetPen().SetColor(RGB(255, 128, 192));
    C.GetBrush().SetColor(RGB(255, 128, 192));
    for (auto _ : State) {
        for (int I = 0; I < 30; ++I)
            C.Ellipse(TRect::FromSize((I * 97) % 760, (I * 61) % 560, 30, 30));
        benchmark::DoNotOptimize(B.GetScanLine(0)[0]);
    }
}

void StretchDigits(benchmark::State& State)
{
    // Six digit cells of 40 x 60 doubled, as a large clock face shows them.
    TBitmap Digit(40, 60);
    TBitmap B(600, 200);
    TCanvas& C = B.GetCanvas();
    for (auto _ : State) {
        for (int I = 0; I < 6; ++I)
            C.StretchDraw(TRect::FromSize(I * 90, 0, 80, 120), Digit);
        benchmark::DoNotOptimize(B.GetScanLine(0)[0]);
    }
    SetPixelRate(State, 6 * 80 * 120);
}

void PixmanStretchDigits(benchmark::State& State)
{
    TBitmap Digit(40, 60);
    TBitmap B(600, 200);
    pixman_image_t* Src = pixman_image_create_bits(
        PIXMAN_x8r8g8b8, 40, 60, reinterpret_cast<std::uint32_t*>(Digit.GetScanLine(0)), 160);
    pixman_image_t* Dst = pixman_image_create_bits(
        PIXMAN_x8r8g8b8, 600, 200, reinterpret_cast<std::uint32_t*>(B.GetScanLine(0)), 2400);
    pixman_transform_t Half;
    pixman_transform_init_scale(&Half, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
    pixman_image_set_transform(Src, &Half);
    pixman_image_set_filter(Src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : State) {
        for (int I = 0; I < 6; ++I)
            pixman_image_composite32(PIXMAN_OP_SRC, Src, nullptr, Dst, 0, 0, 0, 0, I * 90, 0, 80,
                                     120);
        benchmark::DoNotOptimize(B.GetScanLine(0)[0]);
    }
    pixman_image_unref(Src);
    pixman_image_unref(Dst);
    SetPixelRate(State, 6 * 80 * 120);
}

} // namespace

BENCHMARK(FillForm);
BENCHMARK(PixmanFillForm);
BENCHMARK(FillThroughRegion);
BENCHMARK(FocusFrames);
BENCHMARK(HexRowText);
BENCHMARK(PolkaDots);
BENCHMARK(StretchDigits);
BENCHMARK(PixmanStretchDigits);
BENCHMARK_MAIN();
