#include "framework/objects/Resources.h"
#include "tests/resources/ArtTestFiles.h"
#include "tests/support/CaseName.h"
#include "tools/artgen/ArtCatalog.h"

#include <algorithm>
#include <gtest/gtest.h>

// Test names and failure messages show a resource by its name, a file by its path.
void PrintTo(const TArtResource& R, std::ostream* Out)
{
    *Out << R.Name;
}
void PrintTo(const TArtFile& F, std::ostream* Out)
{
    *Out << F.File;
}

namespace {

using namespace ArtTest;

class ArtReproduction : public testing::TestWithParam<TArtResource>
{};

// The committed pictures are exactly what the generator draws: anyone can change the art by
// changing the generator and running it, and nobody can change it any other way.
TEST_P(ArtReproduction, GeneratorRedrawsTheCommittedFileByteForByte)
{
    const TArtResource& R = GetParam();
    const std::vector<std::uint8_t> Committed = ReadFile(ResourcePath(R.File));
    ASSERT_FALSE(Committed.empty()) << R.File << " is missing";
    const std::vector<std::uint8_t> Drawn = R.Paint().SaveToBytes();
    ASSERT_EQ(Drawn.size(), Committed.size());
    const auto Diff = std::mismatch(Drawn.begin(), Drawn.end(), Committed.begin());
    EXPECT_TRUE(Diff.first == Drawn.end())
        << R.File << " differs first at byte " << (Diff.first - Drawn.begin());
}

TEST_P(ArtReproduction, ManifestListsThePictureOnceWithItsIdKindAndCells)
{
    const TArtResource& R = GetParam();
    int Seen = 0;
    for (const TManifestEntry& E : ReadManifest()) {
        if (E.Name != R.Name)
            continue;
        ++Seen;
        EXPECT_EQ(E.Id, R.Id);
        EXPECT_EQ(E.Kind, R.Kind);
        EXPECT_EQ(E.File, R.File);
        std::string Params;
        for (int P : E.Params)
            Params += (Params.empty() ? "" : " ") + std::to_string(P);
        EXPECT_EQ(Params, R.Params);
    }
    EXPECT_EQ(Seen, 1) << R.Name;
}

TEST_P(ArtReproduction, ExecutableEmbedsTheCommittedBytes)
{
    const TArtResource& R = GetParam();
    const TResourceEntry* E = TResources::FindByName(R.Name);
    ASSERT_NE(E, nullptr) << R.Name;
    if (R.Id != 0) {
        EXPECT_EQ(TResources::Find(R.Kind, R.Id), E);
    }
    const std::vector<std::uint8_t> Committed = ReadFile(ResourcePath(R.File));
    EXPECT_TRUE(std::equal(E->Data.begin(), E->Data.end(), Committed.begin(), Committed.end()));
}

INSTANTIATE_TEST_SUITE_P(Art, ArtReproduction,
                         testing::ValuesIn(ArtResources().begin(), ArtResources().end()), ByName{});

// The icon files too: the Windows resource scripts and the Linux install take them as committed.
class ArtFileReproduction : public testing::TestWithParam<TArtFile>
{};

TEST_P(ArtFileReproduction, GeneratorRewritesTheCommittedFileByteForByte)
{
    const TArtFile& F = GetParam();
    const std::vector<std::uint8_t> Committed = ReadFile(ResourcePath(F.File));
    ASSERT_FALSE(Committed.empty()) << F.File << " is missing";
    const std::vector<std::uint8_t> Drawn = F.Encode();
    ASSERT_EQ(Drawn.size(), Committed.size());
    const auto Diff = std::mismatch(Drawn.begin(), Drawn.end(), Committed.begin());
    EXPECT_TRUE(Diff.first == Drawn.end())
        << F.File << " differs first at byte " << (Diff.first - Drawn.begin());
}

INSTANTIATE_TEST_SUITE_P(Art, ArtFileReproduction,
                         testing::ValuesIn(ArtFiles().begin(), ArtFiles().end()),
                         [](const testing::TestParamInfo<TArtFile>& Info) {
                             return CaseName(Info.param.File);
                         });

// Resource numbers are how the program finds its bitmaps; two pictures under one number would
// leave one of them unreachable.
TEST(ArtManifest, BitmapNumbersAreUnique)
{
    std::vector<int> Ids;
    for (const TManifestEntry& E : ReadManifest())
        if (E.Kind == "bitmap")
            Ids.push_back(E.Id);
    std::sort(Ids.begin(), Ids.end());
    EXPECT_TRUE(std::adjacent_find(Ids.begin(), Ids.end()) == Ids.end());
}

} // namespace
