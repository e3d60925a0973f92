// The background painter: gradient bands and their colours, the four
// directions, solid fill, the picture modes, and setters that repaint only on change.
#include <gtest/gtest.h>

#include "platform/picture/Picture.h"
#include "shared/UnitBackground.h"
#include "tests/PictureFixtures.h"

using namespace spindrel;
using namespace spindrel::fixtures;

namespace {

// Counts the paints, so the setters' repaint rule can be seen.
class TCountingBackground : public TBackground {
public:
    using TBackground::TBackground;
    int Paints = 0;

protected:
    void Changed() override
    {
        ++Paints;
        TBackground::Changed();
    }
};

TBitmap Painted(int Width, int Height, std::uint8_t Direction, TColor From = RGB(255, 255, 255),
                TColor To = RGB(0, 0, 0))
{
    TBitmap canvas(Width, Height);
    FillRect(canvas, canvas.Bounds(), RGB(1, 2, 3));  // anything left unpainted shows
    TBackground painter(canvas, Width, Height);
    painter.SetStartColor(From);
    painter.SetEndColor(To);
    painter.SetDirection(Direction);
    painter.Paint();
    return canvas;
}

// The column where each run of equal colour ends, left to right.
std::vector<int> BandEdges(const TBitmap& Canvas)
{
    std::vector<int> edges;
    for (int x = 1; x <= Canvas.Width(); ++x)
        if (x == Canvas.Width() || Canvas.Pixel(x, 0) != Canvas.Pixel(x - 1, 0))
            edges.push_back(x);
    return edges;
}

std::string PictureFile(const std::string& Name, const TBitmap& Picture)
{
    TFileBytes rows;
    for (int y = Picture.Height() - 1; y >= 0; --y) {
        rows.insert(rows.end(), Picture.ScanLine(y), Picture.ScanLine(y) + Picture.Stride());
    }
    return WriteTempFile(Name, BmpFile(Picture.Width(), Picture.Height(), 24, 0, {}, rows));
}

}  // namespace

TEST(Background, HundredPixelGradientPaintsOneColumnPerStep)
{
    const TBitmap canvas = Painted(100, 3, 0);
    // Band i (1..100) is column i - 1 with colour step i: 255 + trunc(-2.55 i).
    for (int x = 0; x < 100; ++x) {
        const int expected = 255 + static_cast<int>(-2.55L * (x + 1));
        ASSERT_EQ(canvas.Pixel(x, 2), RGB(expected, expected, expected)) << "column " << x;
    }
    EXPECT_EQ(RedOf(canvas.Pixel(0, 0)), 253);
    EXPECT_EQ(RedOf(canvas.Pixel(1, 0)), 250);
    EXPECT_EQ(canvas.Pixel(99, 0), RGB(0, 0, 0));  // the last band is exactly the end colour
}

TEST(Background, WideGradientHas255BandsWithTruncatedEdges)
{
    const TBitmap canvas = Painted(1024, 2, 0, RGB(0, 0, 0), RGB(255, 255, 255));
    const std::vector<int> edges = BandEdges(canvas);
    ASSERT_EQ(edges.size(), 255u);
    int previous = 0;
    for (int i = 1; i <= 255; ++i) {
        EXPECT_EQ(edges[i - 1], 1024 * i / 255) << "band " << i;
        const int width = edges[i - 1] - previous;
        EXPECT_EQ(width, (i == 64 || i == 128 || i == 192 || i == 255) ? 5 : 4) << "band " << i;
        EXPECT_EQ(RedOf(canvas.Pixel(previous, 0)), i) << "band " << i;  // one step of 1 per band
        previous = edges[i - 1];
    }
}

TEST(Background, EachDirectionStartsAtItsEdge)
{
    struct Row {
        std::uint8_t direction;
        int startX, startY, endX, endY;  // pixels nearest the start and far edges
    };
    const Row rows[] = {{0, 0, 0, 9, 0}, {1, 9, 0, 0, 0}, {2, 0, 0, 0, 9}, {3, 0, 9, 0, 0}};
    for (const Row& r : rows) {
        const TBitmap canvas = Painted(10, 10, r.direction);
        EXPECT_EQ(RedOf(canvas.Pixel(r.startX, r.startY)), 230) << int(r.direction);  // 255 - 25.5 truncated
        EXPECT_EQ(canvas.Pixel(r.endX, r.endY), RGB(0, 0, 0)) << int(r.direction);
    }
    // Direction 3, white to black on a 1080-row area: black at the top, nearly white at the bottom.
    const TBitmap tall = Painted(2, 1080, 3);
    EXPECT_EQ(tall.Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(RedOf(tall.Pixel(0, 1079)), 254);
    for (int y = 1; y < 1080; ++y)
        ASSERT_GE(RedOf(tall.Pixel(1, y)), RedOf(tall.Pixel(1, y - 1)));
}

TEST(Background, OtherKindsAndDirectionsPaintNothing)
{
    TBitmap canvas(8, 8);
    FillRect(canvas, canvas.Bounds(), RGB(9, 9, 9));
    const TBitmap untouched = canvas;
    TBackground painter(canvas, 8, 8);
    painter.SetDirection(4);  // paints: nothing
    painter.SetFillKind(3);
    painter.Paint();
    EXPECT_EQ(canvas, untouched);

    painter.SetSolidColor(RGB(10, 20, 30));
    painter.SetFillKind(0);  // solid: the whole area
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(canvas.Pixel(7, 7), RGB(10, 20, 30));
}

TEST(Background, SettersRepaintOnlyWhenTheValueChanges)
{
    TBitmap canvas(4, 4);
    TCountingBackground painter(canvas, 4, 4);
    EXPECT_EQ(painter.Paints, 0);  // creation paints nothing
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 0));

    painter.SetStartColor(RGB(255, 255, 255));  // the default: no paint
    painter.SetFillKind(1);
    painter.SetDirection(0);
    painter.SetEndColor(RGB(0, 0, 0));
    painter.SetSolidColor(RGB(0, 0, 0));
    painter.SetPictureMode(0);
    painter.SetPictureFile("");
    EXPECT_EQ(painter.Paints, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 0));

    painter.SetStartColor(RGB(0, 0, 255));  // a new value paints at once, before any Paint
    EXPECT_EQ(painter.Paints, 1);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 192));  // 255 + trunc(-255 / 4)
    painter.SetStartColor(RGB(0, 0, 255));
    EXPECT_EQ(painter.Paints, 1);
}

TEST(Background, MissingOrEmptyPictureFilePaintsBlack)
{
    for (const std::string& name : {std::string(), std::string("/no/such/picture.bmp")}) {
        TBitmap canvas(6, 6);
        FillRect(canvas, canvas.Bounds(), RGB(200, 200, 200));
        TBackground painter(canvas, 6, 6);
        painter.SetPictureFile(name);
        painter.SetFillKind(2);
        EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 0)) << name;
        EXPECT_EQ(canvas.Pixel(5, 5), RGB(0, 0, 0)) << name;
    }
}

TEST(Background, PictureThatCannotBeLoadedRaisesToTheCaller)
{
    const std::string bad = WriteTempFile("broken.bmp", {'B', 'M', 1, 2, 3});
    TBitmap canvas(6, 6);
    TBackground painter(canvas, 6, 6);
    painter.SetPictureFile(bad);
    EXPECT_THROW(painter.SetFillKind(2), EPictureError);  // the setter's repaint raises
    EXPECT_THROW(painter.Paint(), EPictureError);
}

TEST(Background, FittedPictureKeepsItsShapeBetweenBlackBars)
{
    TBitmap wide(40, 10);
    FillRect(wide, wide.Bounds(), RGB(255, 0, 0));
    TBitmap tall(10, 40);
    FillRect(tall, tall.Bounds(), RGB(0, 255, 0));
    struct Row {
        const TBitmap* picture;
        TRect target;  // FitRect in the 20 x 20 box
    };
    const Row rows[] = {
        {&wide, {0, 7, 20, 12}},  // full width, height 20 * 10 / 40 = 5, centred vertically
        {&tall, {7, 0, 12, 20}},  // width first 20, then too tall: scaled to the box height
    };
    for (const Row& r : rows) {
        TBitmap canvas(20, 20);
        FillRect(canvas, canvas.Bounds(), RGB(1, 1, 1));
        TBackground painter(canvas, 20, 20);
        painter.SetPictureFile(PictureFile("fit.bmp", *r.picture));
        painter.SetPictureMode(1);
        painter.SetFillKind(2);
        const TColor inside = r.picture->Pixel(0, 0);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool in = x >= r.target.Left && x < r.target.Right && y >= r.target.Top && y < r.target.Bottom;
                ASSERT_EQ(canvas.Pixel(x, y), in ? inside : RGB(0, 0, 0)) << x << "," << y;
            }
    }
}

TEST(Background, TiledAndStretchedPictures)
{
    TBitmap tile(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            tile.SetPixel(x, y, RGB(static_cast<std::uint8_t>(10 * x), static_cast<std::uint8_t>(100 * y), 7));
    const std::string file = PictureFile("tile.bmp", tile);

    TBitmap canvas(8, 5);
    TBackground painter(canvas, 8, 5);
    painter.SetPictureFile(file);
    painter.SetPictureMode(2);
    painter.SetFillKind(2);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x)  // the pattern starts at the canvas origin; the last tiles are cut
            ASSERT_EQ(canvas.Pixel(x, y), tile.Pixel(x % 3, y % 2)) << x << "," << y;

    painter.SetPictureMode(0);  // stretched over the whole canvas: corners keep the corner pixels
    EXPECT_EQ(canvas.Pixel(0, 0), tile.Pixel(0, 0));
    EXPECT_EQ(canvas.Pixel(7, 4), tile.Pixel(2, 1));

    FillRect(canvas, canvas.Bounds(), RGB(5, 5, 5));
    painter.SetPictureMode(7);  // loaded and released, nothing painted
    EXPECT_EQ(canvas.Pixel(3, 3), RGB(5, 5, 5));
}
