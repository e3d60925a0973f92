// The scaled copy's choice of source pixels, on cases whose answers were read
// from StretchBlt under Wine (tests/win32/StretchWin32Test.cpp compares it in full).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/graphics/Stretch.h"

namespace spindrel {
namespace {

// Every source pixel names its own place: blue = x, green = y, red = 1.
TBitmap NamedPixels(int Width, int Height)
{
    TBitmap b(Width, Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            b.SetPixel(x, y, RGB(1, static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(x)));
    return b;
}

constexpr TColor Untouched = RGB(200, 200, 200);
constexpr int None = -1;

// The source column (or row) each target pixel along one axis took; None where it was left alone.
std::vector<int> AxisMap(bool Rows, int TargetSize, int SourceSize, int DestStart, int DestLength, int SourceStart,
                         int SourceLength)
{
    const TBitmap source = Rows ? NamedPixels(1, SourceSize) : NamedPixels(SourceSize, 1);
    TBitmap target = Rows ? TBitmap(1, TargetSize) : TBitmap(TargetSize, 1);
    FillRect(target, target.Bounds(), Untouched);
    const TRect dest = Rows ? TRect{0, DestStart, 1, DestStart + DestLength}
                            : TRect{DestStart, 0, DestStart + DestLength, 1};
    const TRect src = Rows ? TRect{0, SourceStart, 1, SourceStart + SourceLength}
                           : TRect{SourceStart, 0, SourceStart + SourceLength, 1};
    StretchCopy(target, dest, source, src);
    std::vector<int> map;
    for (int i = 0; i < TargetSize; ++i) {
        const TColor c = Rows ? target.Pixel(0, i) : target.Pixel(i, 0);
        map.push_back(c == Untouched ? None : Rows ? GreenOf(c) : BlueOf(c));
    }
    return map;
}

struct TAxisCase {
    const char* What;
    bool Rows;
    int TargetSize, SourceSize, DestStart, DestLength, SourceStart, SourceLength;
    std::vector<int> Expected;
};

TEST(StretchCopy, PicksTheSourcePixelsStretchBltPicks)
{
    const TAxisCase cases[] = {
        {"enlarging columns", false, 10, 4, 0, 10, 0, 4, {0, 0, 0, 1, 1, 2, 2, 2, 3, 3}},
        {"enlarging rows alike", true, 10, 4, 0, 10, 0, 4, {0, 0, 0, 1, 1, 2, 2, 2, 3, 3}},
        {"shrinking columns keeps a group's last", false, 3, 10, 0, 3, 0, 10, {2, 6, 9}},
        {"shrinking rows keeps a group's first", true, 3, 10, 0, 3, 0, 10, {0, 3, 7}},
        {"odd ratio", false, 7, 10, 0, 7, 0, 10, {0, 2, 3, 5, 6, 8, 9}},
        {"one column stops a step short", false, 1, 16, 0, 1, 0, 16, {14}},
        {"one row", true, 1, 16, 0, 1, 0, 16, {0}},
        {"mirrored whole", false, 10, 10, 9, -10, 0, 10, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
        {"mirrored shrink", false, 10, 10, 9, -5, 0, 10, {None, None, None, None, None, 9, 7, 5, 3, 1}},
        {"mirrored one column takes the last", false, 4, 10, 2, -1, 3, 5, {None, None, 7, None}},
        {"destination partly left of the target", false, 10, 10, -3, 10, 0, 10,
         {3, 4, 5, 6, 7, 8, 9, None, None, None}},
        {"source partly left of the bitmap", false, 10, 10, 0, 10, -3, 10,
         {None, None, None, 0, 1, 2, 3, 4, 5, 6}},
        {"source partly right of the bitmap", false, 10, 10, 0, 10, 5, 10,
         {5, 6, 7, 8, 9, None, None, None, None, None}},
        {"source wholly outside", false, 10, 10, 0, 10, 12, 2, std::vector<int>(10, None)},
        {"rows from above the bitmap start at its top", true, 9, 13, 2, 8, -3, 14,
         {None, None, None, 0, 1, 2, 4, 6, 8}},
        {"rows past the bottom drop their group", true, 9, 12, 0, 8, 6, 15,
         {6, 8, 10, None, None, None, None, None, None}},
        {"one column from a band partly outside", false, 1, 13, 0, 1, -4, 13, {7}},
        {"empty source", false, 5, 5, 0, 3, 2, 0, std::vector<int>(5, None)},
        {"empty destination", false, 5, 5, 2, 0, 0, 3, std::vector<int>(5, None)},
    };
    for (const TAxisCase& c : cases)
        EXPECT_EQ(AxisMap(c.Rows, c.TargetSize, c.SourceSize, c.DestStart, c.DestLength, c.SourceStart,
                          c.SourceLength),
                  c.Expected)
            << c.What;
}

// Columns and rows pick independently; repeated rows and unscaled runs take the
// block-copy paths, which must give what the per-pixel path gives.
TEST(StretchCopy, CombinesTheAxesOnOddSizes)
{
    const TBitmap source = NamedPixels(13, 11);
    struct {
        TRect Dest, Src;
    } cases[] = {
        {{-2, -1, 9, 18}, {3, 2, 9, 7}},    // enlarged both ways, repeated rows
        {{0, 0, 13, 11}, {2, 3, 15, 14}},   // unscaled, source partly outside
        {{12, 10, -1, -1}, {0, 0, 13, 11}}, // turned over
        {{1, 2, 6, 5}, {0, 0, 13, 11}},     // shrunk both ways
    };
    for (const auto& c : cases) {
        TBitmap target(7, 9);  // 21-byte rows, padded
        FillRect(target, target.Bounds(), Untouched);
        StretchCopy(target, c.Dest, source, c.Src);
        const std::vector<int> columns =
            AxisMap(false, 7, 13, c.Dest.Left, c.Dest.Width(), c.Src.Left, c.Src.Width());
        const std::vector<int> rows = AxisMap(true, 9, 11, c.Dest.Top, c.Dest.Height(), c.Src.Top, c.Src.Height());
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 7; ++x) {
                const bool drawn = columns[x] != None && rows[y] != None;
                EXPECT_EQ(target.Pixel(x, y), drawn ? source.Pixel(columns[x], rows[y]) : Untouched)
                    << "(" << x << ", " << y << ") for dest (" << c.Dest.Left << ", " << c.Dest.Top << ", "
                    << c.Dest.Right << ", " << c.Dest.Bottom << ")";
            }
    }
}

// Wide copies move runs of columns as blocks and the other pixels 4 bytes at a
// time. Each must match the same copy made one target column at a time, which
// moves single pixels only: a target one pixel wide, with Dest shifted so that
// the column lands on it, sees the same walk.
TEST(StretchCopy, WideRowsMatchTheCopyOneColumnAtATime)
{
    struct {
        const char* What;
        int TargetWidth, SourceWidth;
        TRect Dest, Src;
    } cases[] = {
        {"unscaled, rows without padding", 64, 64, {0, 0, 64, 9}, {0, 0, 64, 9}},
        {"unscaled, shifted, padded rows", 67, 71, {-5, 0, 66, 9}, {3, 0, 74, 9}},
        {"enlarged a little: long runs", 301, 280, {0, 0, 301, 9}, {0, 0, 280, 9}},
        {"enlarged a little, last column of rows without padding", 300, 300, {-2, 0, 300, 9}, {12, 0, 300, 9}},
        {"runs ending just at the last column", 100, 100, {0, 0, 100, 9}, {4, 0, 99, 9}},
        {"enlarged by half: runs of two", 97, 64, {0, 0, 97, 9}, {0, 0, 64, 9}},
        {"enlarged many times: repeated pixels", 160, 160, {-300, 0, 460, 9}, {70, 0, 90, 9}},
        {"shrunk a little", 250, 260, {0, 0, 250, 9}, {0, 0, 260, 9}},
        {"shrunk by two", 129, 260, {1, 0, 129, 9}, {0, 0, 256, 9}},
        {"mirrored", 120, 120, {119, 0, -1, 9}, {0, 0, 120, 9}},
        {"a smear band", 200, 200, {30, 0, 200, 9}, {30, 0, 40, 9}},
    };
    std::mt19937 random(3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TBitmap source(c.SourceWidth, 9), target(c.TargetWidth, 9);
        for (TBitmap* b : {&source, &target})
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < b->Width(); ++x)
                    b->SetPixel(x, y, random() & 0xFFFFFF);
        TBitmap expected = target;
        StretchCopy(target, c.Dest, source, c.Src);
        for (int x = 0; x < c.TargetWidth; ++x) {
            TBitmap column(1, 9);
            for (int y = 0; y < 9; ++y)
                column.SetPixel(0, y, expected.Pixel(x, y));
            StretchCopy(column, {c.Dest.Left - x, c.Dest.Top, c.Dest.Right - x, c.Dest.Bottom}, source, c.Src);
            for (int y = 0; y < 9; ++y)
                expected.SetPixel(x, y, column.Pixel(0, y));
        }
        EXPECT_TRUE(target == expected);
    }
}

}  // namespace
}  // namespace spindrel
