// The shaped window's outline from a picture: CreateRegionFromBitmap on 24-bit pictures (and on
// the same pixels as 32-bit, through the two-colour mask) against pixman, in the same run, on a
// 3840 x 2160 picture with many blobs and on the four clock faces.
//
// pixman builds a region only from a 1-bit image, so it is timed twice: from a mask made before
// the timing (its best case; our side starts from the pixels) and from the pixels, with the mask
// made by a plain colour-key loop inside the timing (the same road as ours). Every variant is
// first checked to give pixman's rectangles.
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Region.h"
#include "framework/objects/Resources.h"
#include "shaped/RegionFromBitmap.h"
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

struct TCase
{
    std::string Name;
    TBitmap Picture24; // the picture as the shaped window gets it
    TBitmap Picture32; // the same pixels, 32 bits a pixel: the mask road
    int WordsPerRow = 0;
    std::vector<std::uint32_t> Mask; // pixman's a1 layout: leftmost pixel in the lowest bit
};

std::vector<std::unique_ptr<TCase>> GCases;

// The key is black, as for the faces.
void MakeA1Mask(const TBitmap& Picture, std::vector<std::uint32_t>& Mask, int& WordsPerRow)
{
    WordsPerRow = (Picture.GetWidth() + 31) / 32;
    Mask.assign(std::size_t(WordsPerRow) * std::size_t(Picture.GetHeight()), 0);
    for (int Y = 0; Y < Picture.GetHeight(); ++Y) {
        const TPixel* Row = Picture.GetScanLine(Y);
        std::uint32_t* Out = Mask.data() + std::size_t(Y) * std::size_t(WordsPerRow);
        for (int X = 0; X < Picture.GetWidth(); ++X)
            if ((Row[X] & 0xFFFFFFu) != 0)
                Out[X / 32] |= 1u << (X % 32);
    }
}

std::unique_ptr<TCase> MakeCase(std::string Name, const TBitmap& Source)
{
    auto C = std::make_unique<TCase>();
    C->Name = std::move(Name);
    C->Picture24 = Source;
    C->Picture24.SetPixelFormat(TPixelFormat::pf24bit);
    C->Picture32 = Source;
    C->Picture32.SetPixelFormat(TPixelFormat::pf32bit);
    MakeA1Mask(C->Picture24, C->Mask, C->WordsPerRow);
    return C;
}

TBitmap FromBenchPicture(const TBenchPicture& P)
{
    TBitmap B(P.Width, P.Height, TPixelFormat::pf24bit);
    for (int Y = 0; Y < P.Height; ++Y)
        for (int X = 0; X < P.Width; ++X)
            B.GetScanLine(Y)[X] = P.Pixels[std::size_t(Y) * std::size_t(P.Width) + std::size_t(X)];
    return B;
}

void PixmanFromMask(const TCase& C, const std::vector<std::uint32_t>& Mask, pixman_region32_t* Out)
{
    pixman_image_t* Image =
        pixman_image_create_bits(PIXMAN_a1, C.Picture24.GetWidth(), C.Picture24.GetHeight(),
                                 const_cast<std::uint32_t*>(Mask.data()), C.WordsPerRow * 4);
    pixman_region32_init_from_image(Out, Image);
    pixman_image_unref(Image);
}

bool Same(const std::optional<TRegion>& Ours, pixman_region32_t* Theirs)
{
    int Count = 0;
    const pixman_box32_t* Boxes = pixman_region32_rectangles(Theirs, &Count);
    const std::size_t Have = Ours ? Ours->GetRectCount() : 0;
    if (std::size_t(Count) != Have)
        return false;
    for (int I = 0; I < Count; ++I)
        if (Ours->GetRects()[std::size_t(I)] !=
            TRect(Boxes[I].x1, Boxes[I].y1, Boxes[I].x2, Boxes[I].y2))
            return false;
    return true;
}

void BenchOurs24(benchmark::State& State, const TCase* C)
{
    for (auto _ : State) {
        std::optional<TRegion> R = CreateRegionFromBitmap(&C->Picture24, 0);
        benchmark::DoNotOptimize(R);
    }
    State.SetItemsProcessed(State.iterations() * C->Picture24.GetWidth() *
                            C->Picture24.GetHeight());
}

void BenchOursMask(benchmark::State& State, const TCase* C)
{
    for (auto _ : State) {
        std::optional<TRegion> R = CreateRegionFromBitmap(&C->Picture32, 0);
        benchmark::DoNotOptimize(R);
    }
    State.SetItemsProcessed(State.iterations() * C->Picture32.GetWidth() *
                            C->Picture32.GetHeight());
}

void BenchPixmanImage(benchmark::State& State, const TCase* C)
{
    for (auto _ : State) {
        pixman_region32_t R;
        PixmanFromMask(*C, C->Mask, &R);
        benchmark::DoNotOptimize(R);
        pixman_region32_fini(&R);
    }
    State.SetItemsProcessed(State.iterations() * C->Picture24.GetWidth() *
                            C->Picture24.GetHeight());
}

void BenchPixmanKeyed(benchmark::State& State, const TCase* C)
{
    std::vector<std::uint32_t> Mask;
    int Words = 0;
    for (auto _ : State) {
        MakeA1Mask(C->Picture24, Mask, Words);
        pixman_region32_t R;
        PixmanFromMask(*C, Mask, &R);
        benchmark::DoNotOptimize(R);
        pixman_region32_fini(&R);
    }
    State.SetItemsProcessed(State.iterations() * C->Picture24.GetWidth() *
                            C->Picture24.GetHeight());
}

void PrintRatio(const TSummaryReporter& Rep, const std::string& Case, const char* Ours,
                const char* Theirs)
{
    const auto A = Rep.Times.find(std::string(Ours) + "/" + Case);
    const auto B = Rep.Times.find(std::string(Theirs) + "/" + Case);
    if (A == Rep.Times.end() || B == Rep.Times.end())
        return;
    std::printf("  %-22s %-12s / %-14s = %6.3f\n", Case.c_str(), Ours, Theirs,
                A->second / B->second);
}

} // namespace

int main(int argc, char** argv)
{
    GCases.push_back(
        MakeCase("Blobs/3840x2160", FromBenchPicture(MakeBlobPicture(3840, 2160, 2024u))));
    const std::pair<int, const char*> Faces[] = {
        {69, "FaceVfdSmall"}, {70, "FaceVfdLarge"}, {71, "FaceNixieLarge"}, {72, "FaceNixieSmall"}};
    for (const auto& [Id, Name] : Faces) {
        const TResourceEntry* E = TResources::Find("bitmap", Id);
        if (!E) {
            std::fprintf(stderr, "bitmap resource %d is missing\n", Id);
            return EXIT_FAILURE;
        }
        TBitmap Face;
        Face.LoadFromBytes(E->Data);
        GCases.push_back(MakeCase(Name, Face));
    }

    for (const auto& C : GCases) {
        pixman_region32_t Theirs;
        PixmanFromMask(*C, C->Mask, &Theirs);
        const std::optional<TRegion> Ours24 = CreateRegionFromBitmap(&C->Picture24, 0);
        const bool Ok =
            Same(Ours24, &Theirs) && Same(CreateRegionFromBitmap(&C->Picture32, 0), &Theirs);
        std::printf("%-22s %8zu rects  %s\n", C->Name.c_str(), Ours24 ? Ours24->GetRectCount() : 0,
                    Ok ? "same as pixman" : "DIFFERS");
        pixman_region32_fini(&Theirs);
        if (!Ok)
            return EXIT_FAILURE;
        const TCase* P = C.get();
        benchmark::RegisterBenchmark(("Ours24/" + C->Name).c_str(), BenchOurs24, P)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("OursMask/" + C->Name).c_str(), BenchOursMask, P)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("PixmanImage/" + C->Name).c_str(), BenchPixmanImage, P)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("PixmanKeyed/" + C->Name).c_str(), BenchPixmanKeyed, P)
            ->Unit(benchmark::kMicrosecond);
    }

    benchmark::Initialize(&argc, argv);
    TSummaryReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);

    std::printf("\nCPU time of ours over pixman's (below 1: ours is faster):\n");
    for (const auto& C : GCases) {
        PrintRatio(Reporter, C->Name, "Ours24", "PixmanImage");
        PrintRatio(Reporter, C->Name, "Ours24", "PixmanKeyed");
        PrintRatio(Reporter, C->Name, "OursMask", "PixmanKeyed");
    }
    benchmark::Shutdown();
    return 0;
}
