// The hex editor's search step over 256 MiB (NIXIE_BENCH_MIB) of random bytes and of English-like
// text, the one hit near the end, against the C library scans for the same bytes in the same run:
// memmem, memchr with memcmp, and for letters of either case a scan for each case of the first
// byte. Prints each ratio of rates (above 1: ours is faster).
#include "hexedit/ByteSearch.h"
#include "hexedit/Numbase.h"

#include <benchmark/benchmark.h>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <strings.h>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

enum TKind
{
    RandomBytes,
    EnglishText
};
enum TMode
{
    Characters,
    CharactersAnyCase,
    Decimal,
    Hexadecimal
};
const char* const KindNames[] = {"random", "text"};
const char* const ModeNames[] = {"chars", "chars-any-case", "decimal", "hex"};

std::size_t GSize = 0;
TBytes GBase[2];
TBytes GWork;

void MakeData()
{
    std::mt19937 Rng(7);
    GBase[RandomBytes].resize(GSize);
    for (auto& B : GBase[RandomBytes])
        B = std::uint8_t(Rng());
    static const char* const Words[] = {
        "the",   "of",   "and",   "to",    "in",     "is",    "that", "it",   "was",    "for",
        "on",    "with", "as",    "his",   "they",   "be",    "at",   "one",  "have",   "this",
        "from",  "by",   "hot",   "word",  "but",    "what",  "some", "we",   "can",    "out",
        "other", "were", "all",   "there", "when",   "up",    "use",  "your", "how",    "said",
        "an",    "each", "she",   "which", "do",     "their", "time", "if",   "will",   "way",
        "about", "many", "then",  "them",  "write",  "would", "like", "so",   "these",  "her",
        "long",  "make", "thing", "see",   "him",    "two",   "has",  "look", "more",   "day",
        "could", "go",   "come",  "did",   "number", "sound", "no",   "most", "people", "my"};
    TBytes& Text = GBase[EnglishText];
    Text.reserve(GSize);
    bool Capital = true;
    while (Text.size() < GSize) {
        std::string W = Words[Rng() % (sizeof Words / sizeof *Words)];
        if (Capital)
            W[0] = char(std::toupper(W[0]));
        const unsigned End = Rng() % 16;
        Capital = End == 0;
        W += End == 0 ? ". " : End == 1 ? ", " : End == 2 ? "\n" : " ";
        Text.insert(Text.end(), W.begin(), W.end());
    }
    Text.resize(GSize);
}

// The pattern of a mode and length, as the editor builds it from the text of the find dialog.
TBytes MakePattern(TKind Kind, TMode Mode, std::size_t Length)
{
    std::uint8_t Bytes[64];
    switch (Mode) {
    case Decimal: {
        const char* Texts[] = {"", "116", "29800", "", "1952998688"}; // "t", "th", "the "
        std::uint8_t Number[4];
        return TBytes(Number, Number + NumberToBytes(Texts[Length], Number));
    }
    case Hexadecimal: {
        const std::string Text =
            std::string("74 68 65 20 71 75 69 63 6B 20 62 72 6F 77 6E 20").substr(0, Length * 3);
        return TBytes(Bytes, Bytes + ParseHexBytes(Text.c_str(), Bytes, sizeof Bytes));
    }
    default: {
        // Starting with a letter that is common in the text, so that near misses are frequent.
        const std::string Text =
            std::string(Mode == CharactersAnyCase ? "tHE QuIck BrOWn " : "the quick brown ");
        (void)Kind;
        return TBytes(Text.begin(), Text.begin() + std::ptrdiff_t(Length));
    }
    }
}

bool Matches(const std::uint8_t* At, const TBytes& Pattern, bool Fold)
{
    return Fold ? strncasecmp(reinterpret_cast<const char*>(At),
                              reinterpret_cast<const char*>(Pattern.data()), Pattern.size()) == 0 &&
                      std::memchr(At, 0, Pattern.size()) == nullptr
                : std::memcmp(At, Pattern.data(), Pattern.size()) == 0;
}

// The data with every earlier occurrence of the pattern broken and one planted near the end.
std::size_t Prepare(TKind Kind, const TBytes& Pattern, bool Fold)
{
    GWork = GBase[Kind];
    const std::size_t Hit = GSize - Pattern.size() - 64;
    for (std::size_t I = 0; I + Pattern.size() <= GSize; ++I) {
        const std::uint8_t* P = static_cast<const std::uint8_t*>(
            std::memchr(GWork.data() + I, Pattern[0], GSize - Pattern.size() + 1 - I));
        const std::uint8_t* Q =
            Fold && std::isalpha(Pattern[0])
                ? static_cast<const std::uint8_t*>(std::memchr(GWork.data() + I, Pattern[0] ^ 0x20,
                                                               GSize - Pattern.size() + 1 - I))
                : nullptr;
        if (!P || (Q && Q < P))
            P = Q;
        if (!P)
            break;
        I = std::size_t(P - GWork.data());
        if (Matches(P, Pattern, Fold))
            GWork[I + Pattern.size() - 1] = '#';
    }
    std::memcpy(GWork.data() + Hit, Pattern.data(), Pattern.size());
    return Hit;
}

void BM_Ours(benchmark::State& State, TKind Kind, TMode Mode, std::size_t Length)
{
    const TBytes Pattern = MakePattern(Kind, Mode, Length);
    const bool Fold = Mode == CharactersAnyCase;
    const std::size_t Hit = Prepare(Kind, Pattern, Fold);
    for (auto _ : State) {
        int Position = 0;
        const int Got = SearchStep(GWork.data(), int(GSize), Position, Pattern.data(),
                                   int(Pattern.size()), Fold);
        if (Got != int(Hit))
            State.SkipWithError("missed the hit");
    }
    State.SetBytesProcessed(std::int64_t(State.iterations()) * std::int64_t(GSize));
}

void BM_Memmem(benchmark::State& State, TKind Kind, TMode Mode, std::size_t Length)
{
    const TBytes Pattern = MakePattern(Kind, Mode, Length);
    const std::size_t Hit = Prepare(Kind, Pattern, false);
    for (auto _ : State) {
        const void* P = memmem(GWork.data() + 1, GSize - 2, Pattern.data(), Pattern.size());
        if (P != GWork.data() + Hit)
            State.SkipWithError("missed the hit");
    }
    State.SetBytesProcessed(std::int64_t(State.iterations()) * std::int64_t(GSize));
}

void BM_MemchrMemcmp(benchmark::State& State, TKind Kind, TMode Mode, std::size_t Length)
{
    const TBytes Pattern = MakePattern(Kind, Mode, Length);
    const std::size_t Hit = Prepare(Kind, Pattern, false);
    for (auto _ : State) {
        const std::uint8_t* End = GWork.data() + GSize - 1 - Pattern.size();
        const std::uint8_t* P = GWork.data() + 1;
        while ((P = static_cast<const std::uint8_t*>(
                    std::memchr(P, Pattern[0], std::size_t(End - P + 1)))) &&
               std::memcmp(P, Pattern.data(), Pattern.size()) != 0)
            ++P;
        if (P != GWork.data() + Hit)
            State.SkipWithError("missed the hit");
    }
    State.SetBytesProcessed(std::int64_t(State.iterations()) * std::int64_t(GSize));
}

// Each case of the first byte scanned for over the whole buffer, the nearer hit taken.
void BM_TwoCaseMemchr(benchmark::State& State, TKind Kind, TMode Mode, std::size_t Length)
{
    const TBytes Pattern = MakePattern(Kind, Mode, Length);
    const std::size_t Hit = Prepare(Kind, Pattern, true);
    for (auto _ : State) {
        const std::uint8_t* Best = nullptr;
        for (const int Case : {std::tolower(Pattern[0]), std::toupper(Pattern[0])}) {
            const std::uint8_t* End = GWork.data() + GSize - 1 - Pattern.size();
            const std::uint8_t* P = GWork.data() + 1;
            while ((P = static_cast<const std::uint8_t*>(
                        std::memchr(P, Case, std::size_t(End - P + 1)))) &&
                   !Matches(P, Pattern, true))
                ++P;
            if (P && (!Best || P < Best))
                Best = P;
        }
        if (Best != GWork.data() + Hit)
            State.SkipWithError("missed the hit");
    }
    State.SetBytesProcessed(std::int64_t(State.iterations()) * std::int64_t(GSize));
}

class TRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& Reports) override
    {
        for (const Run& R : Reports)
            if (!R.error_occurred && R.run_type == Run::RT_Aggregate &&
                R.aggregate_name == "median")
                Times[R.run_name.function_name] = R.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(Reports);
    }
    std::map<std::string, double> Times;
};

} // namespace

int main(int argc, char** argv)
{
    const char* Mib = std::getenv("NIXIE_BENCH_MIB");
    GSize = std::size_t(Mib ? std::atoi(Mib) : 256) << 20;
    MakeData();
    std::vector<std::string> Names;
    for (const TKind Kind : {RandomBytes, EnglishText})
        for (const TMode Mode : {Characters, CharactersAnyCase, Decimal, Hexadecimal})
            for (const std::size_t Length : {1, 2, 4, 16}) {
                if (Mode == Decimal && Length == 16)
                    continue;
                const std::string Name = std::string(KindNames[Kind]) + "/" + ModeNames[Mode] +
                                         "/" + std::to_string(Length);
                Names.push_back(Name);
                const auto Register = [&](const char* Who, auto Function) {
                    benchmark::RegisterBenchmark((Name + "/" + Who).c_str(), Function, Kind, Mode,
                                                 Length)
                        ->Unit(benchmark::kMillisecond)
                        ->Repetitions(5)
                        ->ReportAggregatesOnly(true);
                };
                Register("ours", BM_Ours);
                if (Mode == CharactersAnyCase) {
                    Register("two-case-memchr", BM_TwoCaseMemchr);
                } else {
                    Register("memmem", BM_Memmem);
                    Register("memchr-memcmp", BM_MemchrMemcmp);
                }
            }
    benchmark::Initialize(&argc, argv);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    const auto& T = Reporter.Times;
    std::printf("\nrate of ours / rate of the faster reference (medians):\n");
    for (const std::string& Name : Names) {
        const auto Time = [&](const char* Who) {
            const auto It = T.find(Name + "/" + Who);
            return It == T.end() ? 0.0 : It->second;
        };
        double Reference = 0;
        for (const char* Who : {"memmem", "memchr-memcmp", "two-case-memchr"})
            if (Time(Who) > 0 && (Reference == 0 || Time(Who) < Reference))
                Reference = Time(Who);
        if (Time("ours") > 0 && Reference > 0)
            std::printf("  %-28s %.2f\n", Name.c_str(), Reference / Time("ours"));
    }
    benchmark::Shutdown();
    return 0;
}
