// TRegion: GDI's pixel rules for each shape, the boolean operations against a
// plain pixel-grid reference, the canonical banded form, and the clipped copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/graphics/Region.h"

using namespace spindrel;

namespace {

// The region drawn as text over a box, '#' for a pixel inside, one string a row.
std::vector<std::string> Picture(const TRegion& Region, const TRect& Box)
{
    std::vector<std::string> rows;
    for (int y = Box.Top; y < Box.Bottom; ++y) {
        std::string row;
        for (int x = Box.Left; x < Box.Right; ++x)
            row += Region.Contains(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// A slow, obvious region: one flag a pixel over a fixed box.
struct TGrid {
    static constexpr int Left = -12, Top = -12, Size = 80;
    std::vector<char> Inside = std::vector<char>(Size * Size);

    // Adds R by union, corners put in order as GDI does.
    void Fill(const TRect& R)
    {
        for (int y = std::min(R.Top, R.Bottom); y < std::max(R.Top, R.Bottom); ++y)
            for (int x = std::min(R.Left, R.Right); x < std::max(R.Left, R.Right); ++x)
                Inside[Index(x, y)] = 1;
    }
    void Combine(const TGrid& Other, bool (*Rule)(bool, bool))
    {
        for (std::size_t i = 0; i < Inside.size(); ++i)
            Inside[i] = Rule(Inside[i], Other.Inside[i]);
    }
    static std::size_t Index(int X, int Y) { return static_cast<std::size_t>((Y - Top) * Size + X - Left); }
};

bool Or(bool A, bool B) { return A || B; }
bool And(bool A, bool B) { return A && B; }
bool Xor(bool A, bool B) { return A != B; }

::testing::AssertionResult SameAsGrid(const TRegion& Region, const TGrid& Grid)
{
    // One pixel past the grid on every side must be outside too.
    for (int y = TGrid::Top - 1; y <= TGrid::Top + TGrid::Size; ++y)
        for (int x = TGrid::Left - 1; x <= TGrid::Left + TGrid::Size; ++x) {
            const bool inGrid = x >= TGrid::Left && y >= TGrid::Top && x < TGrid::Left + TGrid::Size &&
                                y < TGrid::Top + TGrid::Size && Grid.Inside[TGrid::Index(x, y)];
            if (Region.Contains(x, y) != inGrid)
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ")";
        }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(Region, RectanglesKeepLeftAndTopAndPutSwappedCornersInOrder)
{
    struct Row {
        TRect R;
        TPoint In[2], Out[4];
    };
    const Row rows[] = {
        {{2, 3, 6, 8}, {{2, 3}, {5, 7}}, {{6, 7}, {5, 8}, {1, 3}, {2, 2}}},
        {{6, 8, 2, 3}, {{2, 3}, {5, 7}}, {{6, 7}, {5, 8}, {1, 3}, {2, 2}}},  // as CreateRectRgn: swapped is the same
        {{-5, -4, -1, 0}, {{-5, -4}, {-2, -1}}, {{-1, -1}, {-2, 0}, {-6, -4}, {0, 0}}},
    };
    for (const Row& row : rows) {
        TRegion region;
        region.AddRect(row.R);
        for (TPoint p : row.In)
            EXPECT_TRUE(region.Contains(p.X, p.Y)) << p.X << ", " << p.Y;
        for (TPoint p : row.Out)
            EXPECT_FALSE(region.Contains(p.X, p.Y)) << p.X << ", " << p.Y;
    }
    for (TRect empty : {TRect{5, 5, 5, 9}, TRect{5, 9, 8, 9}, TRect{}}) {
        TRegion region;
        region.AddRect(empty);
        EXPECT_TRUE(region.Empty());
    }
}

// The pixels below were read from GDI (CreateRoundRectRgn, CreatePolygonRgn) under Wine.
TEST(Region, RoundRectsAndPolygonsGiveGdisPixels)
{
    struct Row {
        const char* Name;
        void (*Build)(TRegion&);
        TRect Box;
        std::vector<std::string> Expected;
    };
    const Row rows[] = {
        {"rounded 12 x 9, ellipse 7 x 5: a pixel in from the right and the bottom",
         [](TRegion& R) { R.AddRoundRect({0, 0, 12, 9}, 7, 5); }, {0, 0, 12, 9},
         {"..#######...", "###########.", "###########.", "###########.", "###########.", "###########.",
          "###########.", "..#######...", "............"}},
        {"an ellipse larger than its rectangle is cut to it",
         [](TRegion& R) { R.AddRoundRect({0, 0, 10, 8}, 100, 100); }, {0, 0, 10, 8},
         {"..#####...", ".#######..", "#########.", "#########.", "#########.", ".#######..", "..#####...",
          ".........."}},
        {"a rounded rectangle of no size is the pixel above and left of it",
         [](TRegion& R) { R.AddRoundRect({5, 5, 5, 5}, 0, 0); }, {3, 3, 7, 7}, {"....", ".#..", "....", "...."}},
        {"one of no width is the column left of it, a pixel short",
         [](TRegion& R) { R.AddRoundRect({5, 2, 5, 6}, 3, 3); }, {3, 1, 7, 7},
         {"....", ".#..", ".#..", ".#..", "....", "...."}},
        {"a triangle: a pixel is in when its top-left corner is, left edges in, right edges out",
         [](TRegion& R) {
             const TPoint p[] = {{1, 0}, {9, 3}, {3, 8}};
             R.AddPolygon(p);
         },
         {0, 0, 10, 9},
         {"..........", "..##......", "..#####...", "..#######.", "..######..", "...####...", "...###....",
          "...##.....", ".........."}},
        {"a star winds twice about its centre, which winding fill keeps",
         [](TRegion& R) {
             const TPoint p[] = {{5, 0}, {8, 10}, {0, 4}, {10, 4}, {2, 10}};
             R.AddPolygon(p);
         },
         {0, 0, 10, 11},
         {"..........", ".....#....", ".....#....", ".....#....", "##########", "..#######.", "...#####..",
          "...#####..", "...##.##..", "...#...#..", ".........."}},
    };
    for (const Row& row : rows) {
        TRegion region;
        row.Build(region);
        EXPECT_EQ(Picture(region, row.Box), row.Expected) << row.Name;
    }
}

TEST(Region, RoundRectsOfAnySizeStaySymmetricInsideTheirRectangle)
{
    // Including the tall narrow ellipses whose tip rows GDI under Wine leaves unset.
    for (int width = 1; width <= 12; ++width)
        for (int height = 1; height <= 60; height += 3)
            for (int ellipse : {2, 3, 5, 8, 40}) {
                TRegion region;
                region.AddRoundRect({3, 4, 3 + width, 4 + height}, std::min(ellipse, width), ellipse);
                // A pixel narrower and shorter than the rectangle, mirrored left to right and top to bottom.
                const int right = 3 + width - 1, bottom = 4 + height - 1;
                for (int y = 2; y < bottom + 2; ++y)
                    for (int x = 1; x < right + 2; ++x) {
                        const bool inside = region.Contains(x, y);
                        ASSERT_FALSE(inside && (x < 3 || x >= right || y < 4 || y >= bottom)) << x << ", " << y;
                        ASSERT_EQ(inside, region.Contains(3 + right - 1 - x, y)) << width << "x" << height;
                        ASSERT_EQ(inside, region.Contains(x, 4 + bottom - 1 - y)) << width << "x" << height;
                    }
                if (width > 1 && height > 1) {
                    EXPECT_TRUE(region.Contains(3, 4 + (height - 1) / 2)) << width << "x" << height << " " << ellipse;
                }
            }
}

TEST(Region, TrianglesOfEveryOrientationHoldTheSamePixels)
{
    // The right triangle x + y < 10 by the corner rule, walked both ways round from each corner.
    const std::vector<std::vector<TPoint>> orders = {
        {{0, 0}, {10, 0}, {0, 10}}, {{0, 0}, {0, 10}, {10, 0}}, {{10, 0}, {0, 10}, {0, 0}}, {{0, 10}, {10, 0}, {0, 0}}};
    for (const auto& points : orders) {
        TRegion region;
        region.AddPolygon(points);
        for (int y = -1; y <= 10; ++y)
            for (int x = -1; x <= 10; ++x)
                ASSERT_EQ(region.Contains(x, y), x >= 0 && y >= 0 && x + y < 10) << x << ", " << y;
    }
    for (const std::vector<TPoint>& flat : {std::vector<TPoint>{{0, 0}, {5, 5}, {10, 10}},
                                           std::vector<TPoint>{{3, 3}, {3, 3}, {3, 3}}, std::vector<TPoint>{{1, 1}}}) {
        TRegion region;
        region.AddPolygon(flat);
        EXPECT_TRUE(region.Empty());
    }
}

TEST(Region, OperationsMatchAPixelGrid)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(-10, 66), operation(0, 3);
    for (int round = 0; round < 300; ++round) {
        TRegion region, other;
        TGrid grid, otherGrid;
        // Pieces by union on both sides, including swapped and empty rectangles, then one operation.
        for (int piece = 0; piece < 1 + round % 12; ++piece) {
            const TRect r{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
            region.AddRect(r);
            grid.Fill(r);
            const TRect s{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
            other.AddRect(s);
            otherGrid.Fill(s);
        }
        switch (operation(random)) {
        case 0:
            region.Union(other);
            grid.Combine(otherGrid, Or);
            break;
        case 1:
            region.Intersect(other);
            grid.Combine(otherGrid, And);
            break;
        case 2:
            region.Xor(other);
            grid.Combine(otherGrid, Xor);
            break;
        default:  // settled, then more pieces queued on top of it
            region.Xor(other);
            grid.Combine(otherGrid, Xor);
            const TRect t{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
            region.AddRect(t);
            grid.Fill(t);
        }
        ASSERT_TRUE(SameAsGrid(region, grid)) << "round " << round;
    }
}

TEST(Region, OperationsWithItselfAndWithNothing)
{
    TRegion region, nothing;
    region.AddRect({0, 0, 10, 10});
    region.Union(region);
    region.Intersect(region);
    EXPECT_TRUE(region.Contains(9, 9));
    region.Union(nothing);
    EXPECT_TRUE(region.Contains(0, 0));
    TRegion copy = region;
    copy.Intersect(nothing);
    EXPECT_TRUE(copy.Empty());
    region.Xor(region);
    EXPECT_TRUE(region.Empty());
    nothing.Union(copy);
    EXPECT_TRUE(nothing.Empty());
}

TEST(Region, OnePixelSetHasOneBandedForm)
{
    // The same L shape three ways: pieces, one pass with overlaps, and by cutting a square.
    TRegion pieces, overlapping, cut, corner;
    pieces.AddRect({0, 0, 4, 10});
    pieces.AddRect({4, 6, 8, 10});
    for (int y = 0; y < 10; ++y)
        overlapping.AddRect({0, y, y >= 6 ? 8 : 4, y + 1});
    overlapping.AddRect({1, 7, 7, 9});
    cut.AddRect({0, 0, 8, 10});
    corner.AddRect({4, 0, 8, 6});
    cut.Xor(corner);
    for (const TRegion* r : {&overlapping, &cut}) {
        ASSERT_EQ(r->Bands().size(), 2u);
        EXPECT_EQ(r->Bands()[0].Bottom, 6);
        EXPECT_TRUE(std::ranges::equal(r->Spans(), pieces.Spans()));
    }
    // Spans that only touch are one span; bands that only touch with equal spans are one band.
    TRegion touching;
    touching.AddRect({0, 0, 5, 5});
    touching.AddRect({5, 0, 9, 5});
    touching.AddRect({0, 5, 9, 7});
    ASSERT_EQ(touching.Bands().size(), 1u);
    EXPECT_EQ(touching.Spans()[0], (TRegion::TSpan{0, 9}));
}

TEST(Region, ClearKeepsNothingButTheStorage)
{
    TRegion region, fresh;
    for (int i = 0; i < 1000; ++i)
        region.AddRect({i % 50 * 3, i / 50 * 3, i % 50 * 3 + 2, i / 50 * 3 + 2});
    EXPECT_FALSE(region.Empty());
    region.Clear();
    EXPECT_TRUE(region.Empty());
    region.AddRect({1, 1, 3, 3});
    fresh.AddRect({1, 1, 3, 3});
    EXPECT_TRUE(std::ranges::equal(region.Spans(), fresh.Spans()));
    EXPECT_FALSE(region.Contains(0, 0));
}

TEST(Region, ManySmallSquaresSettleToAGrid)
{
    // A checkerboard of 2x2 squares added in a shuffled order, as the dissolve style adds them.
    std::vector<TRect> squares;
    for (int y = 0; y < 200; y += 2)
        for (int x = (y / 2 % 2) * 2; x < 300; x += 4)
            squares.push_back({x, y, x + 2, y + 2});
    std::shuffle(squares.begin(), squares.end(), std::mt19937(9));
    TRegion region;
    for (const TRect& s : squares)
        region.AddRect(s);
    for (int y = -1; y <= 200; ++y)
        for (int x = -1; x <= 300; ++x)
            ASSERT_EQ(region.Contains(x, y), x >= 0 && y >= 0 && x < 300 && y < 200 && (x / 2 + y / 2) % 2 == 0)
                << x << ", " << y;
    EXPECT_EQ(region.Bands().size(), 100u);
}

TEST(Region, DrawThroughRegionCopiesOnlyInsideAndInsideTheBitmaps)
{
    // Odd widths, so rows carry padding; the clip reaches past every edge.
    TBitmap target(7, 5), source(6, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            source.SetPixel(x, y, RGB(static_cast<std::uint8_t>(10 + x), static_cast<std::uint8_t>(20 + y), 99));
    FillRect(target, target.Bounds(), RGB(1, 2, 3));
    TRegion clip;
    clip.AddRect({-3, -3, 2, 2});
    clip.AddRect({4, 1, 20, 3});
    clip.AddRect({1, 4, 3, 40});
    DrawThroughRegion(target, source, clip);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool copied = clip.Contains(x, y) && x < 6;
            EXPECT_EQ(target.Pixel(x, y), copied ? source.Pixel(x, y) : RGB(1, 2, 3)) << x << ", " << y;
        }
}
