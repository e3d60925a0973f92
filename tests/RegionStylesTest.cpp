// The region styles 58..117 and 123..127: the clip each builds at chosen
// examples, at the ends of a run, on odd sizes, and the order of its random draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "shared/UnitGlobe.h"
#include "transition/TransitionStyles.h"

using namespace spindrel;

namespace {

using TSpans = std::vector<TRegion::TSpan>;

const TStyleEntry& RegionRow(int Style)
{
    const auto rows = RegionStyles();
    const auto row = std::ranges::find_if(rows, [Style](const TStyleEntry& R) { return R.Style == Style; });
    EXPECT_NE(row, rows.end()) << "style " << Style;
    return row != rows.end() ? *row : rows.front();
}

// What the component hands a region style: a picture of W x H, cleared regions,
// one generator kept from frame to frame.
class TComposer : public TStyleHost {
public:
    TComposer(int Width, int Height, std::uint32_t Seed = 1)
        : W(Width), H(Height), Random(Seed), FFrame(Width, Height), FPicture(Width, Height)
    {
    }
    void InvalidatePictureArea(const TRect&) override {}

    // With the extents the component derives from Progress and Step.
    const TRegion& AtProgress(int Style, int Progress, int Step = 4)
    {
        const auto [x, y] = ProgressExtents(W, H, Progress);
        return At(Style, x, y, BandMargin(W, H, Step), Progress);
    }

    const TRegion& At(int Style, int X, int Y, int J, int Progress)
    {
        Region.Clear();
        Spare.Clear();
        TStyleFrame frame{FFrame, FPicture, W, H, X, Y, J, Progress, {0, 0, W, H}, {0, 0, W, H},
                          Region, Spare, Random, *this, FScratch};
        const TStyleEntry& row = RegionRow(Style);
        row.Compose(frame, row);
        return Region;
    }

    // The pixels of the picture the region holds.
    int Count() const
    {
        int n = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                n += Region.Contains(x, y);
        return n;
    }

    // The region's runs along one row (or one column) of the picture, cut to it.
    TSpans Line(bool Column, int At) const
    {
        TSpans runs;
        const int length = Column ? H : W;
        for (int i = 0; i < length; ++i) {
            if (!(Column ? Region.Contains(At, i) : Region.Contains(i, At)))
                continue;
            if (!runs.empty() && runs.back().Right == i)
                ++runs.back().Right;
            else
                runs.push_back({i, i + 1});
        }
        return runs;
    }

    const int W, H;
    TRandom Random;
    TRegion Region, Spare;

private:
    TBitmap FFrame, FPicture;
    std::vector<std::int32_t> FScratch;
};

std::vector<int> AllRegionStyles()
{
    std::vector<int> styles;
    for (const TStyleEntry& row : RegionStyles())
        styles.push_back(row.Style);
    return styles;
}

// The ragged styles, whose band ends jitter even before the edge has moved.
bool Jittered(int Style)
{
    return (Style >= 65 && Style <= 68) || (Style >= 76 && Style <= 79) || (Style >= 100 && Style <= 109);
}

}  // namespace

TEST(RegionStyles, BandsGrowFromTheirEdgesAndJumpWithinTheMargin)
{
    // 400 x 300 with Step 4: J = MulDiv(400, 4, 90) = 18. Rows 0..4 are an even band, 5..9 an odd one.
    struct Row {
        int Style, X, Y, J;
        bool Columns;
        TSpans Even, Odd;
    };
    const Row rows[] = {
        {60, 100, 75, 18, false, {{200, 400}}, {}},          // the right 2X
        {60, 191, 143, 18, false, {{18, 400}}, {}},          // 2X + J = 400: not yet whole
        {60, 192, 144, 18, false, {{0, 400}}, {}},           // 2X + J = 402 > W: jumps to whole
        {60, 250, 188, 18, false, {{0, 400}}, {{300, 400}}}, // second half: odd rows from the right
        {61, 250, 188, 18, false, {{0, 400}}, {{0, 100}}},
        {62, 100, 75, 18, false, {{0, 200}}, {}},
        {62, 250, 188, 18, false, {{0, 400}}, {{300, 400}}},
        {63, 250, 188, 18, false, {{0, 400}}, {{0, 100}}},
        {64, 200, 150, 0, false, {{200, 400}}, {{0, 200}}},  // comb at X = W/2: halves from both sides
        {64, 100, 75, 0, false, {{300, 400}}, {{0, 100}}},
        {71, 100, 75, 18, true, {{150, 300}}, {}},           // columns of 300 rows: the bottom 2Y
        {72, 160, 120, 18, true, {{0, 240}}, {}},
        {73, 240, 180, 18, true, {{0, 300}}, {{240, 300}}},
        {75, 200, 150, 0, true, {{150, 300}}, {{0, 150}}},
    };
    for (const Row& row : rows) {
        TComposer composer(400, 300);
        composer.At(row.Style, row.X, row.Y, row.J, row.X / 4);
        for (int at : {0, 4, 290, 294, 5, 9, 295, 299})
            EXPECT_EQ(composer.Line(row.Columns, at), at % 10 < 5 ? row.Even : row.Odd)
                << "style " << row.Style << " X " << row.X << " at " << at;
    }
}

TEST(RegionStyles, GridIntersectionIsWhereBothGridsCover)
{
    for (auto [W, H] : {std::pair{120, 90}, std::pair{37, 23}})
        for (int progress = 0; progress <= 100; progress += 10) {
            TComposer grid86(W, H), grid89(W, H), grid99(W, H);
            grid86.AtProgress(86, progress);
            grid89.AtProgress(89, progress);
            grid99.AtProgress(99, progress);
            int both = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const bool expected = grid86.Region.Contains(x, y) && grid89.Region.Contains(x, y);
                    ASSERT_EQ(grid99.Region.Contains(x, y), expected) << x << ", " << y << " at " << progress;
                    both += expected;
                }
            if (progress == 50) {
                EXPECT_GT(both, 0);  // the grids overlap, so the check is not of two empty sets
            }
        }
}

TEST(RegionStyles, BladesAtHalfwayAreFourTriangles)
{
    // 400 x 300 at Progress 50: each blade is spanned by the centre, a corner and
    // an edge midpoint; the centroids of the blades are in, those of the gaps out.
    TComposer composer(400, 300);
    const TRegion& region = composer.AtProgress(116, 50);
    const TPoint blades[] = {{66, 200}, {133, 50}, {266, 250}, {333, 100}};
    const TPoint gaps[] = {{66, 100}, {266, 50}, {133, 250}, {333, 200}};
    for (TPoint p : blades)
        EXPECT_TRUE(region.Contains(p.X, p.Y)) << p.X << ", " << p.Y;
    for (TPoint p : gaps)
        EXPECT_FALSE(region.Contains(p.X, p.Y)) << p.X << ", " << p.Y;
    // Half the picture, give or take the pixels along the blades' edges.
    EXPECT_NEAR(composer.Count(), 60000, 800);
}

TEST(RegionStyles, ClosingShapeShrinksAndUncoversThePicture)
{
    for (auto [W, H] : {std::pair{64, 48}, std::pair{37, 23}, std::pair{30, 90}}) {
        TComposer composer(W, H);
        int before = 0;
        for (int progress = 0; progress <= 100; progress += 5) {
            composer.AtProgress(85, progress);
            const int now = composer.Count();
            EXPECT_GE(now, before) << W << "x" << H << " at " << progress;
            before = now;
            if (progress == 50) {
                EXPECT_TRUE(composer.Region.Contains(0, 0));
                EXPECT_FALSE(composer.Region.Contains(W / 2, H / 2));
            }
        }
        // At 100 the shape has no size: GDI's one pixel when both sides are even,
        // nothing when the corners come out swapped (odd sides).
        EXPECT_EQ(before, W * H - (W % 2 == 0 && H % 2 == 0 ? 1 : 0)) << W << "x" << H;
    }
}

TEST(RegionStyles, AtProgressZeroOnlyTheRandomEdgesAndAStrayPixelShow)
{
    // The component draws nothing at 0, but the regions are built there too.
    // The ragged and scattered styles jitter ahead of an edge that has not moved;
    // 84's rounded rectangle of no size is GDI's single pixel left of and above the centre.
    for (auto [W, H] : {std::pair{64, 48}, std::pair{30, 90}, std::pair{37, 23}})
        for (int style : AllRegionStyles()) {
            if (Jittered(style) || style >= 123)
                continue;
            TComposer composer(W, H);
            const TRegion& region = composer.AtProgress(style, 0);
            if (style == 84) {
                EXPECT_EQ(composer.Count(), 1);
                EXPECT_TRUE(region.Contains(W / 2 - 1, H / 2 - 1));
                continue;
            }
            EXPECT_EQ(composer.Count(), 0) << "style " << style << " on " << W << "x" << H;
        }
}

TEST(RegionStyles, AtProgressHundredTheWholePictureIsCovered)
{
    // Except where the formulas leave a gap: 85's pixel (on even sizes), and on odd sizes the
    // middle column (row) that the inward ragged halves, a div 2 apart, never reach.
    struct Gap {
        int Style, W, H, Missing;
    };
    const Gap gaps[] = {{85, 64, 48, 1}, {85, 30, 90, 1}, {68, 37, 23, 23}, {79, 37, 23, 37}, {109, 37, 23, 1}};
    for (auto [W, H] : {std::pair{64, 48}, std::pair{30, 90}, std::pair{37, 23}})
        for (int style : AllRegionStyles()) {
            TComposer composer(W, H);
            composer.AtProgress(style, 100);
            int missing = 0;
            for (const Gap& gap : gaps)
                if (gap.Style == style && gap.W == W && gap.H == H)
                    missing = gap.Missing;
            EXPECT_EQ(composer.Count(), W * H - missing) << "style " << style << " on " << W << "x" << H;
        }
}

TEST(RegionStyles, RandomStylesDrawTheirNumbersInOrder)
{
    // 400 x 300 at Progress 30 (X = 120, Y = 90): ragged spread 57 across, 42 down;
    // the scattered wipes draw e div f numbers in each band one pixel apart.
    struct Row {
        int Style, Draws;
    };
    const Row rows[] = {
        {65, 2 * 60},          {67, 4 * 60},  {76, 2 * 80},           {79, 4 * 80},
        {100, 2 * 60 + 2 * 80}, {109, 4 * 60 + 4 * 80}, {123, 300 * 20}, {126, 400 * 15},
        {127, 45 * 34},  // spacing 6 + 3 = 9
    };
    for (const Row& row : rows) {
        TComposer composer(400, 300, 7);
        composer.AtProgress(row.Style, 30);
        TRandom replica(7);
        for (int i = 0; i < row.Draws; ++i)
            replica.Next(2);
        EXPECT_EQ(composer.Random.Next(1 << 30), replica.Next(1 << 30)) << "style " << row.Style;
    }

    // Each ragged band takes r1, then r2 (then r3, r4) from the shared generator.
    TComposer composer(400, 300, 11);
    composer.AtProgress(65, 30);
    TComposer outward(400, 300, 11);
    outward.AtProgress(67, 30);
    TRandom replica(11), replicaOutward(11);
    for (int i = 0; i < 300; i += 5) {
        const int r1 = replica.Next(57), r2 = replica.Next(57);
        EXPECT_EQ(composer.Line(false, i), (TSpans{{400 - 120 + r1 - r2, 400}})) << "row " << i;
        const int q1 = replicaOutward.Next(57), q2 = replicaOutward.Next(57), q3 = replicaOutward.Next(57),
                  q4 = replicaOutward.Next(57);
        EXPECT_EQ(outward.Line(false, i), (TSpans{{(400 - 120 + q1 - q2) / 2, (400 + 120 + q3 - q4) / 2}}))
            << "row " << i;
    }
}

TEST(RegionStyles, ScatteredWipeRunsAheadOfItsEdge)
{
    // 400 x 300 at X = 120: spread e = 40, blocks f = 2; the two blocks next to
    // the edge are certain, none lies beyond e, and some lie beyond the certain ones.
    TComposer fromLeft(400, 300), fromRight(400, 300);
    fromLeft.AtProgress(124, 30);
    fromRight.AtProgress(123, 30);
    int beyondCertain = 0;
    for (int y = 0; y < 300; ++y) {
        const TSpans left = fromLeft.Line(false, y), right = fromRight.Line(false, y);
        ASSERT_FALSE(left.empty());
        ASSERT_FALSE(right.empty());
        EXPECT_EQ(left.front().Left, 0);
        EXPECT_GE(left.front().Right, 120 + 4);
        EXPECT_LE(left.back().Right, 120 + 40);
        EXPECT_EQ(right.back().Right, 400);
        EXPECT_LE(right.back().Left, 280 - 4);
        EXPECT_GE(right.front().Left, 280 - 40);
        beyondCertain += left.back().Right > 124;
    }
    EXPECT_GT(beyondCertain, 100);
}

TEST(RegionStyles, DissolveOnATinyPictureMayChooseNoSquare)
{
    // 3 x 3 at Progress 1: spacing 1, nine candidates each chosen when its draw is 0.
    int emptyFrames = 0;
    for (std::uint32_t seed = 0; seed < 60; ++seed) {
        TComposer composer(3, 3, seed);
        const TRegion& region = composer.AtProgress(127, 1);
        TRandom replica(seed);
        bool chosen = false;
        for (int x = 0; x < 3; ++x)
            for (int y = 0; y < 3; ++y)
                if (replica.Next(100) < 1) {
                    chosen = true;
                    EXPECT_TRUE(region.Contains(x, y)) << "seed " << seed;  // its square (x-1, y-1)..(x+1, y+1)
                    EXPECT_TRUE(region.Contains(x - 1, y - 1)) << "seed " << seed;
                }
        EXPECT_EQ(region.Empty(), !chosen) << "seed " << seed;
        emptyFrames += region.Empty();
    }
    EXPECT_GT(emptyFrames, 0);
    EXPECT_LT(emptyFrames, 60);
}

TEST(RegionStyles, TrianglesGrowFromTheirCorners)
{
    // 400 x 300 at Progress 25 (X = 100, Y = 75): the legs are 2X and 2Y long.
    struct Row {
        int Style;
        TPoint In, Out;
    };
    const Row rows[] = {
        {110, {0, 0}, {200, 0}},   {110, {0, 149}, {0, 150}},     {111, {399, 0}, {199, 0}},
        {112, {0, 299}, {0, 149}}, {113, {399, 299}, {300, 200}}, {114, {5, 280}, {200, 150}},
        {114, {394, 20}, {0, 0}},  {115, {399, 0}, {200, 150}},   {115, {5, 295}, {399, 299}},
        {117, {0, 0}, {20, 1}},
    };
    for (const Row& row : rows) {
        TComposer composer(400, 300);
        const TRegion& region = composer.AtProgress(row.Style, 25);
        EXPECT_TRUE(region.Contains(row.In.X, row.In.Y)) << "style " << row.Style;
        EXPECT_FALSE(region.Contains(row.Out.X, row.Out.Y)) << "style " << row.Style;
    }
}
