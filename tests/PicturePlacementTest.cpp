// The placement rules of picture slides with the show's worked numbers.
#include <gtest/gtest.h>

#include "saver/PicturePlacement.h"

using namespace spindrel;

TEST(PicturePlacement, TargetSizeFitsOrKeepsThePicture)
{
    struct Row {
        int w, h;
        bool fit;
        TRect expected;
    };
    const Row rows[] = {
        {640, 480, true, {0, 0, 1024, 768}},
        {480, 640, true, {0, 0, 576, 768}},
        {640, 480, false, {0, 0, 640, 480}},
        {2000, 1000, false, {0, 0, 2000, 1000}},
        {2000, 1000, true, {0, 0, 1024, 512}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(PictureTarget(r.w, r.h, 1024, 768, r.fit), r.expected) << r.w << "x" << r.h << " " << r.fit;
}

TEST(PicturePlacement, CentringCutsLargePicturesEquallyOnBothSides)
{
    EXPECT_EQ(CentredOrigin(640, 480, 1024, 768), (TPoint{192, 144}));
    EXPECT_EQ(CentredOrigin(2000, 1000, 1024, 768), (TPoint{-488, -116}));
    EXPECT_EQ(CentredOrigin(1025, 769, 1024, 768), (TPoint{0, 0}));  // -1 / 2 truncates toward zero
    EXPECT_EQ(CentredOrigin(576, 768, 1024, 768), (TPoint{224, 0}));
}

TEST(PicturePlacement, RandomOriginStaysOnScreenAndIsZeroWhenThereIsNoRoom)
{
    std::vector<int> asked;
    const TRandomFunction highest = [&](int N) {
        asked.push_back(N);
        return N - 1;
    };
    EXPECT_EQ(RandomOrigin(640, 480, 1024, 768, highest), (TPoint{383, 287}));
    EXPECT_EQ(asked, (std::vector<int>{384, 288}));
    asked.clear();
    EXPECT_EQ(RandomOrigin(1024, 2000, 1024, 768, highest), (TPoint{0, 0}));  // as wide as the screen: x is 0
    EXPECT_TRUE(asked.empty());

    TRect r{5, 5, 105, 55};
    RandomizeRect(r, 1024, 768, [](int) { return 7; });
    EXPECT_EQ(r, (TRect{7, 7, 107, 57}));
}

TEST(PicturePlacement, TilesStartAtTheTopLeftAndTheLastIsCut)
{
    EXPECT_EQ(TileCount(100, 100, 1024, 768), (TPoint{11, 8}));
    TBitmap tile(100, 100);
    tile.SetPixel(0, 0, RGB(255, 0, 0));
    tile.SetPixel(23, 67, RGB(0, 255, 0));
    TBitmap screen(1024, 768);
    FillRect(screen, screen.Bounds(), RGB(9, 9, 9));
    PlacePicture(screen, tile, true, false, nullptr);
    for (int x = 0; x < 11; ++x)
        EXPECT_EQ(screen.Pixel(100 * x, 0), RGB(255, 0, 0)) << "tile " << x;
    EXPECT_EQ(screen.Pixel(1023, 767), tile.Pixel(23, 67));  // covered entirely, cut at 24 x 68
}

TEST(PicturePlacement, PlacedPictureLandsCentredOrRandom)
{
    TBitmap picture(4, 2);
    FillRect(picture, picture.Bounds(), RGB(50, 60, 70));
    TBitmap screen(10, 10);
    PlacePicture(screen, picture, false, false, nullptr);
    EXPECT_EQ(screen.Pixel(3, 4), RGB(50, 60, 70));
    EXPECT_EQ(screen.Pixel(2, 4), RGB(0, 0, 0));
    EXPECT_EQ(screen.Pixel(6, 5), RGB(50, 60, 70));
    EXPECT_EQ(screen.Pixel(7, 5), RGB(0, 0, 0));

    TBitmap other(10, 10);
    PlacePicture(other, picture, false, true, [](int) { return 0; });
    EXPECT_EQ(other.Pixel(0, 0), RGB(50, 60, 70));
    EXPECT_EQ(other.Pixel(4, 0), RGB(0, 0, 0));
}

TEST(PicturePlacement, HoldTimeIsWhatIsLeftOfTheInterval)
{
    EXPECT_EQ(HoldTime(15, 400), 14600u);
    EXPECT_EQ(HoldTime(15, 14999), 1u);
    EXPECT_EQ(HoldTime(15, 15000), 100u);  // preparation took the whole interval
    EXPECT_EQ(HoldTime(15, 60000), 100u);
    EXPECT_EQ(HoldTime(0, 0), 100u);
}
