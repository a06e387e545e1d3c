#include "hexedit/ByteSearch.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

std::uint8_t FoldLetter(std::uint8_t B)
{
    return B >= 'A' && B <= 'Z' ? static_cast<std::uint8_t>(B + ('a' - 'A')) : B;
}

bool IsLetter(std::uint8_t B)
{
    return FoldLetter(B) >= 'a' && FoldLetter(B) <= 'z';
}

std::uint64_t Word(const std::uint8_t* P)
{
    std::uint64_t W;
    std::memcpy(&W, P, sizeof W);
    return W;
}

const std::uint8_t* Scan(const std::uint8_t* From, const std::uint8_t* To, std::uint8_t B)
{
    return From < To
               ? static_cast<const std::uint8_t*>(std::memchr(From, B, std::size_t(To - From)))
               : nullptr;
}

// The first start from Begin up to End (exclusive) holding B at which the rest of the pattern
// matches too.
template <class TRestMatches>
const std::uint8_t* ScanCandidates(const std::uint8_t* Begin, const std::uint8_t* End,
                                   std::uint8_t B, TRestMatches RestMatches)
{
    for (const std::uint8_t* P = Begin; (P = Scan(P, End, B)); ++P)
        if (RestMatches(P))
            return P;
    return nullptr;
}

// Exact bytes, starts from Begin up to Last inclusive. A short pattern is found fastest by its
// first byte (the C library's memmem hashes pairs and falls far behind memchr there); a long one
// by memmem, which skips ahead on a mismatch.
const std::uint8_t* FindExact(const std::uint8_t* Begin, const std::uint8_t* Last,
                              const std::uint8_t* Pattern, std::size_t Length)
{
#ifdef NIXIE_HAVE_MEMMEM
    if (Length >= 8)
        return static_cast<const std::uint8_t*>(
            memmem(Begin, std::size_t(Last - Begin) + Length, Pattern, Length));
#endif
    return ScanCandidates(Begin, Last + 1, Pattern[0], [&](const std::uint8_t* P) {
        return P[Length - 1] == Pattern[Length - 1] &&
               std::memcmp(P + 1, Pattern + 1, Length - 1) == 0;
    });
}

// Letters in either case. The candidates are the first byte's occurrences in each of its cases:
// block by block, each case is scanned for on its own, which keeps every scan a long run of one
// byte, and the nearer hit of the block wins.
const std::uint8_t* FindFolded(const std::uint8_t* Begin, const std::uint8_t* Last,
                               const std::uint8_t* Pattern, std::size_t Length)
{
    constexpr std::size_t Block = 64 * 1024;
    const std::uint8_t Lower = FoldLetter(Pattern[0]);
    const std::uint8_t Upper =
        IsLetter(Lower) ? static_cast<std::uint8_t>(Lower - ('a' - 'A')) : Lower;
    // A letter compares with 0x20 set, which makes both cases its lower case and turns no other
    // byte into a letter; the last byte first, as a near miss usually differs at its end.
    std::vector<std::uint8_t> Wanted(Length), Fold(Length);
    for (std::size_t I = 0; I < Length; ++I) {
        Fold[I] = IsLetter(Pattern[I]) ? 0x20 : 0;
        Wanted[I] = Pattern[I] | Fold[I];
    }
    const std::size_t End = Length - 1;
    const auto RestMatches = [&](const std::uint8_t* P) {
        if ((P[End] | Fold[End]) != Wanted[End])
            return false;
        std::size_t I = 1;
        for (; I + 8 <= End; I += 8)
            if ((Word(P + I) | Word(&Fold[I])) != Word(&Wanted[I]))
                return false;
        for (; I < End; ++I)
            if ((P[I] | Fold[I]) != Wanted[I])
                return false;
        return true;
    };
    for (const std::uint8_t* From = Begin; From <= Last;) {
        const std::uint8_t* To = std::size_t(Last - From) < Block ? Last + 1 : From + Block;
        const std::uint8_t* Hit = ScanCandidates(From, To, Lower, RestMatches);
        if (Upper != Lower)
            if (const std::uint8_t* Other =
                    ScanCandidates(From, Hit ? Hit : To, Upper, RestMatches))
                Hit = Other;
        if (Hit)
            return Hit;
        From = To;
    }
    return nullptr;
}

} // namespace

std::ptrdiff_t FindPattern(const std::uint8_t* Data, std::size_t First, std::size_t End,
                           const std::uint8_t* Pattern, std::size_t Length, bool FoldCase)
{
    if (First > End || End - First < Length)
        return -1;
    if (Length == 0)
        return std::ptrdiff_t(First);
    const std::uint8_t* Begin = Data + First;
    const std::uint8_t* Last = Data + (End - Length);
    const bool Folds = FoldCase && std::any_of(Pattern, Pattern + Length, IsLetter);
    const std::uint8_t* Hit =
        Folds ? FindFolded(Begin, Last, Pattern, Length) : FindExact(Begin, Last, Pattern, Length);
    return Hit ? Hit - Data : -1;
}

int SearchStep(const std::uint8_t* Data, int Size, int& Position, const std::uint8_t* Pattern,
               int Length, bool FoldCase)
{
    // Every start S examined has S + Length < Size: the pattern ends before the last byte.
    const std::int64_t First = std::max<std::int64_t>(std::int64_t(Position) + 1, 0);
    const std::int64_t End = std::int64_t(Size) - 1;
    if (Length >= 0 && First >= 0 && First + Length <= End) {
        const std::ptrdiff_t Hit = FindPattern(Data, std::size_t(First), std::size_t(End), Pattern,
                                               std::size_t(Length), FoldCase);
        if (Hit >= 0) {
            Position = int(Hit);
            return Position;
        }
    }
    Position = int(std::min<std::int64_t>(std::max(First, std::int64_t(Size) - Length), INT_MAX));
    return -1;
}
