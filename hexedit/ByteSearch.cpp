#include "hexedit/ByteSearch.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

std::uint8_t FoldLetter(std::uint8_t B)
{
    return B >= 'A' && B <= 'Z' ? static_cast<std::uint8_t>(B + ('a' - 'A')) : B;
}

bool IsLetter(std::uint8_t B)
{
    return FoldLetter(B) >= 'a' && FoldLetter(B) <= 'z';
}

bool EqualFolded(const std::uint8_t* A, const std::uint8_t* B, std::size_t Length)
{
    for (std::size_t I = 0; I < Length; ++I)
        if (FoldLetter(A[I]) != FoldLetter(B[I]))
            return false;
    return true;
}

const std::uint8_t* Scan(const std::uint8_t* From, const std::uint8_t* To, std::uint8_t B)
{
    return From < To
               ? static_cast<const std::uint8_t*>(std::memchr(From, B, std::size_t(To - From)))
               : nullptr;
}

// Exact bytes. Starts run from Begin up to Last inclusive.
const std::uint8_t* FindExact(const std::uint8_t* Begin, const std::uint8_t* Last,
                              const std::uint8_t* Pattern, std::size_t Length)
{
    if (Length == 1)
        return Scan(Begin, Last + 1, Pattern[0]);
#ifdef NIXIE_HAVE_MEMMEM
    return static_cast<const std::uint8_t*>(
        memmem(Begin, std::size_t(Last - Begin) + Length, Pattern, Length));
#else
    for (const std::uint8_t* P = Begin; (P = Scan(P, Last + 1, Pattern[0])); ++P)
        if (std::memcmp(P + 1, Pattern + 1, Length - 1) == 0)
            return P;
    return nullptr;
#endif
}

// Letters in either case. The first byte's occurrences are the candidates: a letter's two cases
// are scanned for side by side, each scan resumed only once the other has passed it, so the
// buffer is read about twice whatever the text.
const std::uint8_t* FindFolded(const std::uint8_t* Begin, const std::uint8_t* Last,
                               const std::uint8_t* Pattern, std::size_t Length)
{
    const std::uint8_t Lower = FoldLetter(Pattern[0]);
    const std::uint8_t Upper =
        IsLetter(Lower) ? static_cast<std::uint8_t>(Lower - ('a' - 'A')) : Lower;
    const std::uint8_t* End = Last + 1;
    const std::uint8_t* NextLower = Scan(Begin, End, Lower);
    const std::uint8_t* NextUpper = Upper == Lower ? nullptr : Scan(Begin, End, Upper);
    while (NextLower || NextUpper) {
        const bool TakeLower = NextLower && (!NextUpper || NextLower < NextUpper);
        const std::uint8_t*& Candidate = TakeLower ? NextLower : NextUpper;
        const std::uint8_t* P = Candidate;
        if (EqualFolded(P + 1, Pattern + 1, Length - 1))
            return P;
        Candidate = Scan(P + 1, End, TakeLower ? Lower : Upper);
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
