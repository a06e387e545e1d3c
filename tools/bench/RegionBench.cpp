// Building a region from the runs of a picture: ours (scan + TRegionBuilder) against pixman's two
// ways, reading a 1-bit image and uniting run by run. Only the building is timed; the pictures
// are drawn before. Every variant is first checked to give the same rectangles as pixman.
#include "framework/graphics/Region.h"
#include "framework/graphics/RegionBuilder.h"
#include "tools/bench/BenchPicture.h"
#include "tools/bench/SummaryReporter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <pixman.h>
#include <string>
#include <vector>

namespace {

std::vector<std::unique_ptr<TBenchPicture>> GPictures;

TRegion OursFromMask(const TBenchPicture& P)
{
    TRegionBuilder B;
    ScanMask(P, B);
    return B.Finish();
}

TRegion OursFromPixels(const TBenchPicture& P)
{
    TRegionBuilder B;
    ScanPixels(P, 0, B);
    return B.Finish();
}

TRegion OursFromRuns(const TBenchPicture& P)
{
    TRegionBuilder B;
    for (const TBenchPicture::TRun& R : P.Runs)
        B.AddRun(R.Y, R.X0, R.X1);
    return B.Finish();
}

void PixmanFromImage(const TBenchPicture& P, pixman_region32_t* Out)
{
    pixman_image_t* Image = pixman_image_create_bits(
        PIXMAN_a1, P.Width, P.Height, const_cast<std::uint32_t*>(P.Mask.data()), P.WordsPerRow * 4);
    pixman_region32_init_from_image(Out, Image);
    pixman_image_unref(Image);
}

void PixmanByRuns(const TBenchPicture& P, pixman_region32_t* Out)
{
    pixman_region32_init(Out);
    for (const TBenchPicture::TRun& R : P.Runs)
        pixman_region32_union_rect(Out, Out, R.X0, R.Y, unsigned(R.X1 - R.X0), 1u);
}

bool Same(const TRegion& Ours, pixman_region32_t* Theirs)
{
    int Count = 0;
    const pixman_box32_t* Boxes = pixman_region32_rectangles(Theirs, &Count);
    if (std::size_t(Count) != Ours.GetRectCount())
        return false;
    for (int I = 0; I < Count; ++I) {
        const TRect& R = Ours.GetRects()[std::size_t(I)];
        if (R != TRect(Boxes[I].x1, Boxes[I].y1, Boxes[I].x2, Boxes[I].y2))
            return false;
    }
    return true;
}

void SetCounters(benchmark::State& State, const TBenchPicture& P, std::size_t Rects)
{
    const double Runs = double(P.Runs.size());
    State.counters["runs"] = Runs;
    State.counters["rects"] = double(Rects);
    State.counters["runs/s"] =
        benchmark::Counter(Runs, benchmark::Counter::kIsIterationInvariantRate);
    State.counters["s/run"] = benchmark::Counter(
        Runs, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <TRegion (*Build)(const TBenchPicture&)>
void BenchOurs(benchmark::State& State, const TBenchPicture* P)
{
    std::size_t Rects = 0;
    for (auto _ : State) {
        TRegion R = Build(*P);
        Rects = R.GetRectCount();
        benchmark::DoNotOptimize(R);
    }
    SetCounters(State, *P, Rects);
}

template <void (*Build)(const TBenchPicture&, pixman_region32_t*)>
void BenchPixman(benchmark::State& State, const TBenchPicture* P)
{
    std::size_t Rects = 0;
    for (auto _ : State) {
        pixman_region32_t R;
        Build(*P, &R);
        Rects = std::size_t(pixman_region32_n_rects(&R));
        benchmark::DoNotOptimize(R);
        pixman_region32_fini(&R);
    }
    SetCounters(State, *P, Rects);
}

void PrintRatio(const TSummaryReporter& Rep, const std::string& Picture, const char* Ours,
                const char* Theirs)
{
    const auto A = Rep.Times.find(std::string(Ours) + "/" + Picture);
    const auto B = Rep.Times.find(std::string(Theirs) + "/" + Picture);
    if (A == Rep.Times.end() || B == Rep.Times.end())
        return;
    std::printf("  %-18s %-14s / %-16s = %6.3f  (%.1fx %s)\n", Picture.c_str(), Ours, Theirs,
                A->second / B->second,
                A->second < B->second ? B->second / A->second : A->second / B->second,
                A->second < B->second ? "faster" : "slower");
}

} // namespace

int main(int argc, char** argv)
{
    GPictures.push_back(std::make_unique<TBenchPicture>(MakeFacePicture()));
    // The linear family: the same density of blobs at four sizes, 1920 x 1080 and 3840 x 2160
    // among them.
    for (const auto& [W, H] : {std::pair{480, 270}, {960, 540}, {1920, 1080}, {3840, 2160}})
        GPictures.push_back(std::make_unique<TBenchPicture>(MakeBlobPicture(W, H, 2024u)));

    for (const auto& P : GPictures) {
        pixman_region32_t FromImage, ByRuns;
        PixmanFromImage(*P, &FromImage);
        PixmanByRuns(*P, &ByRuns);
        const bool Ok = Same(OursFromMask(*P), &FromImage) &&
                        Same(OursFromPixels(*P), &FromImage) &&
                        Same(OursFromRuns(*P), &FromImage) && Same(OursFromRuns(*P), &ByRuns);
        std::printf("%-18s %8zu runs %8d rects  %s\n", P->Name.c_str(), P->Runs.size(),
                    pixman_region32_n_rects(&FromImage), Ok ? "same as pixman" : "DIFFERS");
        pixman_region32_fini(&FromImage);
        pixman_region32_fini(&ByRuns);
        if (!Ok)
            return EXIT_FAILURE;

        const TBenchPicture* Pic = P.get();
        benchmark::RegisterBenchmark(("Ours_Mask/" + P->Name).c_str(), BenchOurs<OursFromMask>, Pic)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Ours_Pixels/" + P->Name).c_str(), BenchOurs<OursFromPixels>,
                                     Pic)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Ours_Runs/" + P->Name).c_str(), BenchOurs<OursFromRuns>, Pic)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Pixman_Image/" + P->Name).c_str(),
                                     BenchPixman<PixmanFromImage>, Pic)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Pixman_UnionRect/" + P->Name).c_str(),
                                     BenchPixman<PixmanByRuns>, Pic)
            ->Unit(benchmark::kMicrosecond);
    }

    benchmark::Initialize(&argc, argv);
    TSummaryReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);

    std::printf("\nCPU time of ours over pixman's (below 1: ours is faster):\n");
    for (const auto& P : GPictures) {
        PrintRatio(Reporter, P->Name, "Ours_Mask", "Pixman_Image");
        PrintRatio(Reporter, P->Name, "Ours_Pixels", "Pixman_Image");
        PrintRatio(Reporter, P->Name, "Ours_Runs", "Pixman_UnionRect");
        PrintRatio(Reporter, P->Name, "Ours_Mask", "Pixman_UnionRect");
    }
    benchmark::Shutdown();
    return 0;
}
