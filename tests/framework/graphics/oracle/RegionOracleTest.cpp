// Regions against pixman's, which keeps the same banded canonical form: for the same pixels both
// must list the same rectangles in the same order.
#include "framework/graphics/Region.h"
#include "framework/graphics/RegionBuilder.h"
#include "tests/framework/graphics/PixelGrid.h"
#include "tests/framework/graphics/RegionPicture.h"
#include "tests/support/CaseName.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <pixman.h>
#include <string>
#include <vector>

namespace {

// Owns a pixman region for the length of a test step.
class TPixmanRegion
{
public:
    TPixmanRegion() { pixman_region32_init(&FRegion); }
    TPixmanRegion(const TPixmanRegion&) = delete;
    TPixmanRegion& operator=(const TPixmanRegion&) = delete;
    ~TPixmanRegion() { pixman_region32_fini(&FRegion); }

    pixman_region32_t* Get() { return &FRegion; }

    std::vector<TRect> Rects()
    {
        int Count = 0;
        const pixman_box32_t* Boxes = pixman_region32_rectangles(&FRegion, &Count);
        std::vector<TRect> Out;
        for (int I = 0; I < Count; ++I)
            Out.push_back({Boxes[I].x1, Boxes[I].y1, Boxes[I].x2, Boxes[I].y2});
        return Out;
    }

    TRect Bounds()
    {
        if (!pixman_region32_not_empty(&FRegion))
            return {};
        const pixman_box32_t* E = pixman_region32_extents(&FRegion);
        return {E->x1, E->y1, E->x2, E->y2};
    }

    // The pixman way of uniting rectangles one at a time; it cannot take an empty one.
    void UnionRect(const TRect& R)
    {
        if (!R.IsEmpty())
            pixman_region32_union_rect(&FRegion, &FRegion, R.Left, R.Top, unsigned(R.Width()),
                                       unsigned(R.Height()));
    }

    void InitRects(const std::vector<TRect>& Rects)
    {
        // pixman drops empty and inverted rectangles too, but logs an error for a lone one: it is
        // given only the others, while ours always gets them all.
        std::vector<pixman_box32_t> Boxes;
        for (const TRect& R : Rects)
            if (!R.IsEmpty())
                Boxes.push_back({R.Left, R.Top, R.Right, R.Bottom});
        pixman_region32_fini(&FRegion);
        pixman_region32_init_rects(&FRegion, Boxes.data(), int(Boxes.size()));
    }

    // Pixels set in G, read by pixman from a 1-bit image of them.
    void InitFromImage(const TPixelGrid& G)
    {
        const int WordsPerRow = (G.Width() + 31) / 32;
        std::vector<std::uint32_t> Bits(std::size_t(WordsPerRow) * std::size_t(G.Height()), 0);
        for (int Y = 0; Y < G.Height(); ++Y)
            for (int X = 0; X < G.Width(); ++X)
                if (G.Get(X, Y))
                    Bits[std::size_t(Y * WordsPerRow + X / 32)] |= 1u << (X % 32);
        pixman_image_t* Image = pixman_image_create_bits(PIXMAN_a1, G.Width(), G.Height(),
                                                         Bits.data(), WordsPerRow * 4);
        pixman_region32_fini(&FRegion);
        pixman_region32_init_from_image(&FRegion, Image);
        pixman_image_unref(Image);
    }

private:
    pixman_region32_t FRegion;
};

std::vector<TRect> RectsOf(const TRegion& R)
{
    return {R.GetRects().begin(), R.GetRects().end()};
}

void ExpectSame(const TRegion& Ours, TPixmanRegion& Theirs)
{
    ASSERT_EQ(RectsOf(Ours), Theirs.Rects());
    EXPECT_EQ(Ours.GetBounds(), Theirs.Bounds());
}

TRegion FromRuns(const TPixelGrid& G)
{
    TRegionBuilder B;
    for (const TPixelGrid::TRun& R : G.Runs())
        B.AddRun(R.Y, R.X0, R.X1);
    return B.Finish();
}

} // namespace

// The fixed pictures first, against pixman's reading of the same 1-bit image.
class RegionOracleFixed : public testing::TestWithParam<TRegionPicture>
{};

TEST_P(RegionOracleFixed, AgreesWithPixman)
{
    const TRegionPicture& C = GetParam();
    TPixelGrid G(C.Width, C.Height);
    for (const TRect& R : C.Opaque)
        G.Fill(R);
    const TRegion Ours = FromRuns(G);
    TPixmanRegion Theirs;
    Theirs.InitFromImage(G);
    ExpectSame(Ours, Theirs);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegionOracleFixed, RegionPictures(), ByName{});

// Seeded random rectangle sets: built in one step, one rectangle at a time, and combined.
class RegionOracleRects : public testing::TestWithParam<unsigned>
{};

TEST_P(RegionOracleRects, AgreeWithPixman)
{
    std::mt19937 Rng(GetParam());
    auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
    for (int Round = 0; Round < 100; ++Round) {
        SCOPED_TRACE("round " + std::to_string(Round));
        const int Extent = Pick(4, 200);
        const std::vector<TRect> RA = RandomRects(Rng, Pick(0, 60), Extent);
        const std::vector<TRect> RB = RandomRects(Rng, Pick(0, 60), Extent);

        const TRegion A = TRegion::FromRects(RA);
        TPixmanRegion PA;
        PA.InitRects(RA);
        ExpectSame(A, PA);

        TRegion ARects;
        TPixmanRegion PARects;
        for (const TRect& R : RA) {
            ARects.Union(R);
            PARects.UnionRect(R);
        }
        ExpectSame(ARects, PARects);

        const TRegion B = TRegion::FromRects(RB);
        TPixmanRegion PB;
        PB.InitRects(RB);

        TPixmanRegion PU, PI, PS;
        pixman_region32_union(PU.Get(), PA.Get(), PB.Get());
        pixman_region32_intersect(PI.Get(), PA.Get(), PB.Get());
        pixman_region32_subtract(PS.Get(), PA.Get(), PB.Get());
        ExpectSame(TRegion(A).Union(B), PU);
        ExpectSame(TRegion(A).Intersect(B), PI);
        ExpectSame(TRegion(A).Subtract(B), PS);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RegionOracleRects, testing::Range(1u, 31u),
                         [](const testing::TestParamInfo<unsigned>& I) {
                             return "Seed" + std::to_string(I.param);
                         });

// Seeded random pictures: runs through the builder, pixman's 1-bit image reading and its run by
// run union, then set operations between two pictures' regions.
class RegionOraclePictures : public testing::TestWithParam<unsigned>
{};

TEST_P(RegionOraclePictures, AgreeWithPixman)
{
    std::mt19937 Rng(1000 + GetParam());
    auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
    for (int Round = 0; Round < 50; ++Round) {
        SCOPED_TRACE("round " + std::to_string(Round));
        const int W = Pick(1, 100), H = Pick(1, 80);
        const TPixelGrid GA = RandomPicture(Rng, W, H);
        const TPixelGrid GB = RandomPicture(Rng, W, H);

        const TRegion A = FromRuns(GA);
        TPixmanRegion FromImage;
        FromImage.InitFromImage(GA);
        ExpectSame(A, FromImage);

        TPixmanRegion ByRuns;
        for (const TPixelGrid::TRun& R : GA.Runs())
            ByRuns.UnionRect({R.X0, R.Y, R.X1, R.Y + 1});
        ExpectSame(A, ByRuns);

        TRegion B = FromRuns(GB);
        TPixmanRegion PB;
        PB.InitFromImage(GB);
        // Shift one picture so that bands meet at every kind of offset.
        const int DX = Pick(-W, W), DY = Pick(-H, H);
        B.Offset(DX, DY);
        pixman_region32_translate(PB.Get(), DX, DY);
        ExpectSame(B, PB);

        TPixmanRegion PU, PI, PS;
        pixman_region32_union(PU.Get(), FromImage.Get(), PB.Get());
        pixman_region32_intersect(PI.Get(), FromImage.Get(), PB.Get());
        pixman_region32_subtract(PS.Get(), FromImage.Get(), PB.Get());
        ExpectSame(TRegion(A).Union(B), PU);
        ExpectSame(TRegion(A).Intersect(B), PI);
        ExpectSame(TRegion(A).Subtract(B), PS);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RegionOraclePictures, testing::Range(1u, 31u),
                         [](const testing::TestParamInfo<unsigned>& I) {
                             return "Seed" + std::to_string(I.param);
                         });
