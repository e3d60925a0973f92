// The linear resampler: exact at equal size, exact on flat colour, bilinear
// when enlarging, averaging when shrinking.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/graphics/Resample.h"
#include "tests/PictureFixtures.h"

using namespace spindrel;
using namespace spindrel::fixtures;

TEST(StretchPicture, EqualSizesCopyExactly)
{
    const TBitmap source = Pattern(33, 17);  // odd width: rows carry padding
    TBitmap target(33, 17);
    StretchPicture(source, target);
    EXPECT_EQ(target, source);
}

TEST(StretchPicture, FlatColourStaysFlatAtAnySize)
{
    TBitmap source(7, 5);
    FillRect(source, source.Bounds(), RGB(201, 13, 99));
    for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {8, 5}, {50, 3}, {1000, 700}}) {
        TBitmap target(w, h);
        StretchPicture(source, target);
        TBitmap expected(w, h);
        FillRect(expected, expected.Bounds(), RGB(201, 13, 99));
        EXPECT_EQ(target, expected) << w << "x" << h;
    }
}

TEST(StretchPicture, EnlargingInterpolatesBetweenNeighbours)
{
    // 2 x 1, black and white, to 4 x 1: centres at -0.25, 0.25, 0.75, 1.25 of the source.
    TBitmap source(2, 1);
    source.SetPixel(1, 0, RGB(255, 255, 255));
    TBitmap target(4, 1);
    StretchPicture(source, target);
    EXPECT_EQ(target.Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(RedOf(target.Pixel(1, 0)), 64);
    EXPECT_EQ(RedOf(target.Pixel(2, 0)), 191);
    EXPECT_EQ(target.Pixel(3, 0), RGB(255, 255, 255));
}

TEST(StretchPicture, ShrinkingAveragesInsteadOfPickingPixels)
{
    // A one-pixel checkerboard halved is mid grey everywhere, not black or white stripes.
    TBitmap board(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x + y) % 2)
                board.SetPixel(x, y, RGB(255, 255, 255));
    TBitmap half(32, 32);
    StretchPicture(board, half);
    for (int y = 1; y < 31; ++y)
        for (int x = 1; x < 31; ++x)
            ASSERT_NEAR(RedOf(half.Pixel(x, y)), 128, 2) << x << "," << y;

    // A large picture (shared among threads) of linear ramps stays linear on every row:
    // red follows the column's centre in the source, green the row's.
    const TBitmap big = Pattern(1901, 1001);
    TBitmap small(1200, 700);
    StretchPicture(big, small);
    for (int y = 0; y < 700; y += 3)
        for (int x = 0; x < 1200; x += 7) {
            const double sx = std::clamp((x + 0.5) * 1901 / 1200 - 0.5, 0.0, 1900.0);
            const double sy = std::clamp((y + 0.5) * 1001 / 700 - 0.5, 0.0, 1000.0);
            ASSERT_NEAR(RedOf(small.Pixel(x, y)), sx * 255 / 1900, 1.5) << x << "," << y;
            ASSERT_NEAR(GreenOf(small.Pixel(x, y)), sy * 255 / 1000, 1.5) << x << "," << y;
        }
}

TEST(StretchPicture, StreamingAsRowsArriveGivesTheSamePixels)
{
    const TBitmap source = Pattern(301, 203);
    for (auto [w, h] : {std::pair{120, 90}, {640, 480}, {301, 203}}) {
        TBitmap expected(w, h);
        StretchPicture(source, expected);
        TBitmap streamed(w, h);
        TStreamingStretch stream({source.Bits(), source.Stride(), source.Width(), source.Height()}, streamed);
        for (int rows = 7; rows < source.Height(); rows += 16)  // in uneven batches, as a decoder reports them
            stream.RowsReady(rows);
        stream.Finish();
        EXPECT_EQ(streamed, expected) << w << "x" << h;
    }
    // Abandoned half-way, the worker stops without waiting for rows that never come.
    TBitmap part(100, 100);
    TStreamingStretch stream({source.Bits(), source.Stride(), source.Width(), source.Height()}, part);
    stream.RowsReady(50);
    stream.Abandon();
}
