// Loading and saving a large file as the hex editor does (through the platform's byte files)
// against the C library's fread into a fresh buffer of huge pages and fwrite of the same buffer
// to a new file, measured in the same run. The file (1 GiB unless NIXIE_BENCH_MIB says otherwise)
// lives in NIXIE_BENCH_DIR or /var/tmp and is read once first, so the page cache is warm. Prints
// the ratios and the resident memory that a loaded file costs.
#include "platform/posix/PosixFileBytes.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

std::string GFolder, GSource;
std::size_t GSize = 0;

std::size_t ResidentBytes()
{
    std::ifstream Status("/proc/self/status");
    std::string Line;
    while (std::getline(Status, Line))
        if (Line.rfind("VmRSS:", 0) == 0)
            return std::stoull(Line.substr(6)) * 1024;
    return 0;
}

// The reference buffer: fresh anonymous memory, aligned and advised for huge pages.
std::uint8_t* HugeBuffer(std::size_t Size, std::size_t& Mapped)
{
    const std::size_t Huge = std::size_t(2) << 20;
    Mapped = Size + Huge;
    void* Raw = mmap(nullptr, Mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    auto* Aligned = reinterpret_cast<std::uint8_t*>(
        (reinterpret_cast<std::uintptr_t>(Raw) + Huge - 1) / Huge * Huge);
    madvise(Aligned, Size, MADV_HUGEPAGE);
    return Aligned;
}

void BM_LoadFileBytes(benchmark::State& State)
{
    for (auto _ : State) {
        TFileReadResult R = ReadPosixFileBytes(GSource, UINT64_MAX);
        if (R.Outcome != TFileReadOutcome::Read)
            State.SkipWithError("the file did not load");
        benchmark::DoNotOptimize(R.Bytes.GetData());
    }
    State.SetBytesProcessed(std::int64_t(State.iterations() * GSize));
}

void BM_FreadHugePages(benchmark::State& State)
{
    for (auto _ : State) {
        std::size_t Mapped = 0;
        std::uint8_t* Data = HugeBuffer(GSize, Mapped);
        FILE* F = std::fopen(GSource.c_str(), "rb");
        if (!F || std::fread(Data, 1, GSize, F) != GSize)
            State.SkipWithError("fread failed");
        if (F)
            std::fclose(F);
        benchmark::DoNotOptimize(Data);
        munmap(Data, Mapped);
    }
    State.SetBytesProcessed(std::int64_t(State.iterations() * GSize));
}

void BM_SaveFileBytes(benchmark::State& State)
{
    TFileReadResult R = ReadPosixFileBytes(GSource, UINT64_MAX);
    const std::string Target = GFolder + "/nixie-bench-save.bin";
    for (auto _ : State)
        if (WritePosixFileBytes(Target, R.Bytes.GetData(), GSize).Outcome !=
            TFileWriteOutcome::Written)
            State.SkipWithError("the save failed");
    unlink(Target.c_str());
    State.SetBytesProcessed(std::int64_t(State.iterations() * GSize));
}

// fwrite to a new file, as the plain "wb" save does; with Sync, flushed to the disk as ours is.
void BM_Fwrite(benchmark::State& State)
{
    TFileReadResult R = ReadPosixFileBytes(GSource, UINT64_MAX);
    const std::string Target = GFolder + "/nixie-bench-fwrite.bin";
    for (auto _ : State) {
        unlink(Target.c_str());
        FILE* F = std::fopen(Target.c_str(), "wb");
        if (!F || std::fwrite(R.Bytes.GetData(), 1, GSize, F) != GSize)
            State.SkipWithError("fwrite failed");
        if (F && State.range(0)) {
            std::fflush(F);
            fsync(fileno(F));
        }
        if (F)
            std::fclose(F);
    }
    unlink(Target.c_str());
    State.SetBytesProcessed(std::int64_t(State.iterations() * GSize));
}

// Single iterations repeated, compared by their medians: one save that meets the disk's
// writeback of something else should not decide the ratio.
BENCHMARK(BM_LoadFileBytes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FreadHugePages)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveFileBytes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Fwrite)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

class TRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& Reports) override
    {
        for (const Run& R : Reports)
            if (!R.error_occurred)
                Times[R.benchmark_name()] = R.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(Reports);
    }
    std::map<std::string, double> Times;
};

} // namespace

int main(int argc, char** argv)
{
    const char* Dir = std::getenv("NIXIE_BENCH_DIR");
    const char* Mib = std::getenv("NIXIE_BENCH_MIB");
    GFolder = Dir ? Dir : "/var/tmp";
    GSize = std::size_t(Mib ? std::atoi(Mib) : 1024) << 20;
    GSource = GFolder + "/nixie-bench-source.bin";
    {
        std::vector<std::uint8_t> Chunk(std::size_t(1) << 20);
        for (std::size_t I = 0; I < Chunk.size(); ++I)
            Chunk[I] = static_cast<std::uint8_t>(I * 2654435761u >> 13);
        FILE* F = std::fopen(GSource.c_str(), "wb");
        for (std::size_t Done = 0; F && Done < GSize; Done += Chunk.size())
            std::fwrite(Chunk.data(), 1, Chunk.size(), F);
        // On the disk before timing starts: a gigabyte still being written back would throttle
        // whichever benchmark runs first.
        if (F) {
            std::fflush(F);
            fsync(fileno(F));
            std::fclose(F);
        }
        // Warm the page cache.
        TFileReadResult Warm = ReadPosixFileBytes(GSource, UINT64_MAX);
        const std::size_t Before = ResidentBytes();
        TFileReadResult Loaded = ReadPosixFileBytes(GSource, UINT64_MAX);
        const std::size_t After = ResidentBytes();
        std::printf("resident memory of a loaded %zu MiB file: %.1f MiB (%.2f %% over its size)\n",
                    GSize >> 20, double(After - Before) / (1 << 20),
                    100.0 * (double(After - Before) - double(GSize)) / double(GSize));
    }
    benchmark::Initialize(&argc, argv);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    const auto& T = Reporter.Times;
    const auto Ratio = [&](const char* A, const char* B) {
        if (T.count(A) && T.count(B))
            std::printf("%s rate / %s rate: %.2f\n", A, B, T.at(B) / T.at(A));
    };
    Ratio("BM_LoadFileBytes/iterations:1/repeats:7/real_time_median",
          "BM_FreadHugePages/iterations:1/repeats:7/real_time_median");
    Ratio("BM_SaveFileBytes/iterations:1/repeats:7/real_time_median",
          "BM_Fwrite/0/iterations:1/repeats:7/real_time_median");
    Ratio("BM_SaveFileBytes/iterations:1/repeats:7/real_time_median",
          "BM_Fwrite/1/iterations:1/repeats:7/real_time_median");
    unlink(GSource.c_str());
    benchmark::Shutdown();
    return 0;
}
