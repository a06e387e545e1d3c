// The editor's search: the texts of each mode, the options, and random searches against a plain
// reading of the step (advance, stop when the pattern would reach the last byte, compare).
#include "hexedit/Hexcontrol.h"
#include "hexedit/Numbase.h"
#include "tests/support/HeadlessApp.h"

#include <cctype>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

class HexEditorSearchTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm({0, 0, 100, 100});
        Editor = new THexEditor(Form);
        Editor->SetParent(Form);
    }
    void Show(const TBytes& Bytes)
    {
        Editor->AllocData(int(Bytes.size()));
        for (std::size_t I = 0; I < Bytes.size(); ++I)
            Editor->SetByte(int(I), Bytes[I]);
    }
    void Show(const std::string& Text) { Show(TBytes(Text.begin(), Text.end())); }
    // Every hit of a search, FindFirst then FindNext until the first -1.
    std::vector<int> Hits(const std::string& Text, int Mode, int Flags = 0)
    {
        std::vector<int> All{Editor->FindFirst(Text, Mode, Flags)};
        while (All.back() >= 0 && All.size() < 1000)
            All.push_back(Editor->FindNext());
        return All;
    }

    THexEditor* Editor = nullptr;
};

TEST_F(HexEditorSearchTest, EachModeReadsItsTextAsTheDefinedBytes)
{
    const struct
    {
        const char* Data;
        const char* Text;
        int Mode, Flags;
        std::vector<int> Hits;
    } Cases[] = {
        // Letters fold by ASCII unless the case must match; the first offset is never examined.
        {"xABCxaBcxabcxx", "abc", 1, 0, {1, 5, 9, -1}},
        {"xABCxaBcxabcxx", "abc", 1, 1, {9, -1}},
        {"xABCxaBcxabcxx", "ABC", 1, 1, {1, -1}},
        {"x\xE4\xC4x\xE4xx", "\xE4", 1, 0, {1, 4, -1}},
        {"x@`x[{xx", "@", 1, 0, {1, -1}},
        {"abcabc", "", 1, 0, {1, 2, 3, 4, 5, -1}},
        {"xABxxxx", "  41 42  ", 3, 0, {1, -1}},
        {"xABxxxx", "4142", 3, 0, {1, -1}},
        {"xABxxxx", "41,42", 3, 0, {1, -1}},
        {"xA\x04xxx", "414", 3, 0, {1, -1}},
        {"x\0Axxxx", "0x41", 3, 0, {1, -1}},
        {"xAxxxx", " ,;", 3, 0, {-1}},
        {"xAxxAx", "65", 2, 0, {1, 4, -1}},
        {"xABxxxx", "16706", 2, 0, {1, -1}},
        {"xABxxxx", "0x4142", 2, 0, {1, -1}},
        {"x\0\x01\x11pxx", "70000", 2, 0, {1, -1}},
        // The pattern must end before the last byte: "ab" at the very end is not found.
        {"xxxxab", "ab", 1, 0, {-1}},
        {"xxxabx", "ab", 1, 0, {3, -1}},
        {"abc", "a", 7, 0, {-1}},
    };
    for (const auto& C : Cases) {
        // The data's length from the literal, zero bytes included.
        Show(std::string(C.Data, std::strlen(C.Data) + (C.Data[1] == 0 ? 6 : 0)));
        EXPECT_EQ(Hits(C.Text, C.Mode, C.Flags), C.Hits) << C.Data << " / " << C.Text;
    }
}

TEST_F(HexEditorSearchTest, FromTheCursorAHitUnderItIsPassedAndFailuresLast)
{
    Show(std::string("xxabxxabxxabxx"));
    Editor->MoveCursor(6);
    EXPECT_EQ(Editor->FindFirst("ab", 1, Editor->SearchFromCursor), 10);
    EXPECT_EQ(Editor->GetCursorOffset(), 6);
    EXPECT_EQ(Editor->FindNext(), -1);
    EXPECT_EQ(Editor->FindNext(), -1);
    EXPECT_EQ(Editor->FindFirst(" ab\t\n", 1, 0), 2);
    EXPECT_EQ(Editor->GetSearchText(), "ab");
}

// The step as written: the oracle for random searches.
int ModelStep(const TBytes& Data, int& Position, const TBytes& Pattern, bool Fold)
{
    for (;;) {
        Position += 1;
        if (Position + int(Pattern.size()) >= int(Data.size()))
            return -1;
        bool Equal = true;
        for (std::size_t K = 0; Equal && K < Pattern.size(); ++K) {
            const int A = Data[std::size_t(Position) + K], B = Pattern[K];
            Equal = Fold ? std::tolower(A) == std::tolower(B) : A == B;
        }
        if (Equal)
            return Position;
    }
}

TEST_F(HexEditorSearchTest, RandomSearchesGiveTheStepsResults)
{
    std::mt19937 Rng(1234);
    const std::uint8_t Alphabet[] = {'a', 'A', 'b', 'B', 0, ' ', 0x41, 0x42, 0xE4};
    const auto Pick = [&](int N) { return int(Rng() % unsigned(N)); };
    for (int Round = 0; Round < 10000; ++Round) {
        TBytes Data(std::size_t(Pick(40)));
        for (auto& B : Data)
            B = Alphabet[Pick(int(sizeof Alphabet))];
        Show(Data);
        const int Mode = 1 + Pick(3), Flags = Pick(8);
        // A piece of the data, so that hits are frequent, at any place including both ends.
        std::string Text;
        const int Start = Data.empty() ? 0 : Pick(int(Data.size()));
        // Long ones too, for the scans that compare a word at a time.
        const int Length = std::min(Pick(3) ? Pick(4) : Pick(14), int(Data.size()) - Start);
        for (int I = Start; I < Start + Length; ++I) {
            char Piece[8];
            if (Mode == 1)
                Text += Data[std::size_t(I)] ? char(Data[std::size_t(I)]) : 'a';
            else
                std::snprintf(Piece, sizeof Piece, "%02X%s", Data[std::size_t(I)],
                              Pick(2) ? " " : "");
            if (Mode != 1)
                Text += Piece;
        }
        if (Mode == 2)
            Text = std::to_string(Pick(3) ? Pick(256) : Pick(70000));
        Text =
            std::string(std::size_t(Pick(3)), ' ') + Text + std::string(std::size_t(Pick(3)), '\t');

        TBytes Pattern;
        std::string Trimmed = Text.substr(Text.find_first_not_of(" \t") == std::string::npos
                                              ? Text.size()
                                              : Text.find_first_not_of(" \t"));
        Trimmed.erase(Trimmed.find_last_not_of(" \t") + 1);
        if (Mode == 1) {
            Pattern.assign(Trimmed.begin(), Trimmed.end());
        } else if (Mode == 2) {
            std::uint8_t Bytes[4];
            Pattern.assign(Bytes, Bytes + NumberToBytes(Trimmed.c_str(), Bytes));
        } else {
            std::uint8_t Bytes[64];
            Pattern.assign(Bytes, Bytes + ParseHexBytes(Trimmed.c_str(), Bytes, sizeof Bytes));
        }
        Editor->MoveCursor(Pick(int(Data.size()) + 1));
        int Position = (Flags & 4) ? Editor->GetCursorOffset() : 0;
        const bool Fold = Mode == 1 && !(Flags & 1);
        int Got = Editor->FindFirst(Text, Mode, Flags);
        for (int Step = 0; Step < 50; ++Step) {
            const int Want =
                Mode == 3 && Pattern.empty() ? -1 : ModelStep(Data, Position, Pattern, Fold);
            ASSERT_EQ(Got, Want) << "round " << Round << " step " << Step << " text '" << Text
                                 << "'";
            ASSERT_EQ(Editor->GetSearchPosition(), Position) << "round " << Round;
            if (Want < 0 && Step > 0)
                break;
            Got = Editor->FindNext();
        }
    }
}

} // namespace
