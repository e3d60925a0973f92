// The rectangle and pixel transition styles: geometry at chosen progress values,
// the early parts of multi-part styles, and the pixel styles against slow references.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <random>
#include <vector>

#include "platform/graphics/Stretch.h"
#include "shared/UnitGlobe.h"
#include "transition/RectanglePixelStyles.h"
#include "transition/TransitionStyles.h"

namespace spindrel {

// Private to this file: other tests may print rectangles their own way.
static std::ostream& operator<<(std::ostream& Out, const TRect& R)
{
    return Out << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}

namespace {

class TRecordingHost : public TStyleHost {
public:
    std::vector<TRect> Areas;
    void InvalidatePictureArea(const TRect& R) override { Areas.push_back(R); }
};

void FillRandom(TBitmap& Bitmap, std::uint32_t Seed)
{
    std::mt19937 random(Seed);
    for (int y = 0; y < Bitmap.Height(); ++y)
        for (int x = 0; x < Bitmap.Width(); ++x)
            Bitmap.SetPixel(x, y, random() & 0xFFFFFF);
}

const TStyleEntry& Row(int Style)
{
    for (const TStyleEntry& row : RectanglePixelStyles())
        if (row.Style == Style)
            return row;
    ADD_FAILURE() << "no row for style " << Style;
    return RectanglePixelStyles().front();
}

// One frame of one style as the component sets it up: the snapshot already in
// the frame, X and Y from Progress, D and S whole.
struct TStyleRun {
    TBitmap Snapshot, Picture, Frame;
    TRegion Region, Spare;
    TRandom Random;
    TRecordingHost Host;
    std::vector<std::int32_t> Scratch;
    TRect D, S;

    TStyleRun(int W, int H) : Snapshot(W, H), Picture(W, H), Frame(W, H)
    {
        FillRandom(Snapshot, 1);
        FillRandom(Picture, 2);
    }

    // With FromSnapshot a pixel style reads the old image from Snapshot, and the
    // frame starts with other pixels.
    void Compose(int Style, int Progress, bool FromSnapshot = false)
    {
        const int W = Picture.Width(), H = Picture.Height();
        const auto [X, Y] = ProgressExtents(W, H, Progress);
        Frame = Snapshot;
        if (FromSnapshot)
            FillRandom(Frame, 3);
        Host.Areas.clear();
        const TStyleEntry& row = Row(Style);
        TStyleFrame f{Frame, Picture, W, H, X, Y, 0, Progress, {0, 0, W, H}, {0, 0, W, H}, Region, Spare, Random,
                      Host, Scratch};
        if (FromSnapshot)
            ComposePixelStyle(f, row, Snapshot);
        else
            row.Compose(f, row);
        D = f.D;
        S = f.S;
    }
};

struct TPart {
    TRect D, S;
};

struct TGeometryCase {
    int Style, W, H, Progress;
    std::vector<TPart> Early;  // parts drawn at once
    TRect D, S;
    bool MirrorX = false, MirrorY = false;  // the early parts are fold strips
};

// Expected rectangles worked out by hand from the geometry table. On 333 x 201 at
// Progress 30: X = 100, Y = 60; at 50: X = 167 (166.5 rounds away from zero), Y = 101.
TEST(RectangleStyles, SetTheirRectanglesAndDrawTheirEarlyParts)
{
    const TRect whole{0, 0, 333, 201};
    const TGeometryCase cases[] = {
        {51, 400, 300, 50, {}, {-200, -150, 600, 450}, {100, 75, 300, 225}},
        {51, 201, 333, 30, {}, {-141, -233, 342, 566}, {70, 116, 130, 216}},  // upright: Y leads
        {1, 333, 201, 30, {}, {233, 0, 333, 201}, whole},
        {4, 333, 201, 30, {}, {-233, 0, 100, 201}, whole},
        {8, 333, 201, 30, {}, {-233, 0, 333, 201}, {233, 0, 333, 201}},
        {9, 333, 201, 30, {}, {-233, 0, 566, 201}, {116, 0, 216, 201}},
        {20, 333, 201, 30, {}, {0, 141, 333, 342}, whole},
        {26, 333, 201, 30, {}, {0, -141, 333, 342}, {0, 70, 333, 130}},
        {36, 333, 201, 30, {}, {233, 0, 333, 60}, whole},
        {40, 333, 201, 30, {}, {233, -141, 566, 60}, whole},
        {45, 333, 201, 30, {}, {233, 141, 333, 201}, {233, 141, 333, 201}},
        {48, 333, 201, 30, {}, {0, -141, 566, 201}, {0, 141, 100, 201}},
        {52, 333, 201, 30, {}, {116, 70, 216, 130}, whole},
        {53, 333, 201, 30, {}, {116, 70, 216, 130}, {116, 70, 216, 130}},
        {2, 333, 201, 30, {}, {0, 0, 100, 201}, whole},
        {3, 333, 201, 30, {}, {233, 0, 566, 201}, whole},
        {5, 333, 201, 30, {}, {0, 0, 100, 201}, {0, 0, 100, 201}},
        {6, 333, 201, 30, {}, {233, 0, 333, 201}, {233, 0, 333, 201}},
        {7, 333, 201, 30, {}, {0, 0, 566, 201}, {0, 0, 100, 201}},
        {10, 333, 201, 30, {}, {116, 0, 216, 201}, whole},
        {11, 333, 201, 30, {}, {116, 0, 216, 201}, {116, 0, 216, 201}},
        {18, 333, 201, 30, {}, {0, 141, 333, 201}, whole},
        {19, 333, 201, 30, {}, {0, 0, 333, 60}, whole},
        {21, 333, 201, 30, {}, {0, -141, 333, 60}, whole},
        {22, 333, 201, 30, {}, {0, 0, 333, 60}, {0, 0, 333, 60}},
        {23, 333, 201, 30, {}, {0, 141, 333, 201}, {0, 141, 333, 201}},
        {24, 333, 201, 30, {}, {0, 0, 333, 342}, {0, 0, 333, 60}},
        {25, 333, 201, 30, {}, {0, -141, 333, 201}, {0, 141, 333, 201}},
        {27, 333, 201, 30, {}, {0, 70, 333, 130}, whole},
        {28, 333, 201, 30, {}, {0, 70, 333, 130}, {0, 70, 333, 130}},
        {35, 333, 201, 30, {}, {233, 141, 333, 201}, whole},
        {37, 333, 201, 30, {}, {0, 0, 100, 60}, whole},
        {38, 333, 201, 30, {}, {0, 141, 100, 201}, whole},
        {39, 333, 201, 30, {}, {233, 141, 566, 342}, whole},
        {41, 333, 201, 30, {}, {-233, -141, 100, 60}, whole},
        {42, 333, 201, 30, {}, {-233, 141, 100, 342}, whole},
        {43, 333, 201, 30, {}, {0, 0, 100, 60}, {0, 0, 100, 60}},
        {44, 333, 201, 30, {}, {0, 141, 100, 201}, {0, 141, 100, 201}},
        {46, 333, 201, 30, {}, {233, 0, 333, 60}, {233, 0, 333, 60}},
        {47, 333, 201, 30, {}, {0, 0, 566, 342}, {0, 0, 100, 60}},
        {49, 333, 201, 30, {}, {-233, -141, 333, 201}, {233, 141, 333, 201}},
        {50, 333, 201, 30, {}, {-233, 0, 333, 342}, {233, 0, 333, 60}},
        {5, 333, 201, 0, {}, {0, 0, 0, 201}, {0, 0, 0, 201}},
        // Multi-part styles already show their early parts at Progress 0 and 100.
        {12, 333, 201, 0, {{{0, 0, 1, 201}, {0, 0, 1, 201}}}, {332, 0, 333, 201}, {332, 0, 333, 201}},
        {55, 333, 201, 0,
         {{{0, 0, 1, 1}, {0, 0, 1, 1}}, {{0, 200, 1, 201}, {0, 200, 1, 201}}, {{332, 200, 333, 201}, {332, 200, 333, 201}}},
         {332, 0, 333, 1}, {332, 0, 333, 1}},
        {13, 333, 201, 30, {{{0, 0, 51, 201}, {0, 0, 167, 201}}}, {282, 0, 333, 201}, {166, 0, 333, 201}},
        {30, 333, 201, 30, {{{0, 0, 333, 31}, {0, 0, 333, 101}}}, {0, 170, 333, 201}, {0, 100, 333, 201}},
        {54, 333, 201, 30,
         {{{0, 0, 333, 30}, {0, 0, 333, 30}}, {{0, 171, 333, 201}, {0, 171, 333, 201}}, {{0, 0, 50, 201}, {0, 0, 50, 201}}},
         {283, 0, 333, 201}, {283, 0, 333, 201}},
        {56, 333, 201, 50,
         {{{0, 0, 84, 51}, {0, 0, 167, 101}}, {{0, 151, 84, 201}, {0, 101, 167, 201}},
          {{250, 151, 333, 201}, {167, 101, 333, 201}}},
         {250, 0, 333, 51}, {167, 0, 333, 101}},
        {57, 333, 201, 50,
         {{{-83, 0, 84, 101}, {0, 0, 167, 101}}, {{165, -50, 333, 51}, {165, 0, 333, 101}},
          {{250, 99, 416, 201}, {167, 99, 333, 201}}},
         {0, 151, 167, 251}, {0, 101, 167, 201}},
        {16, 333, 201, 30, {{{0, 0, 100, 201}, {0, 0, 100, 201}}}, {100, 0, 333, 201}, {100, 0, 116, 201}},
        {17, 333, 201, 30, {{{233, 0, 333, 201}, {233, 0, 333, 201}}}, {0, 0, 233, 201}, {217, 0, 233, 201}},
        {34, 333, 201, 30, {{{0, 141, 333, 201}, {0, 141, 333, 201}}}, {0, 0, 333, 141}, {0, 131, 333, 141}},
        {33, 333, 201, 30, {{{0, 0, 333, 60}, {0, 0, 333, 60}}}, {0, 60, 333, 201}, {0, 60, 333, 70}},
        {33, 333, 201, 100, {{whole, whole}}, {0, 201, 333, 201}, {0, 201, 333, 211}},  // band past the bottom
        {29, 333, 201, 30, {{{0, 0, 333, 31}, {0, 0, 333, 31}}}, {0, 170, 333, 201}, {0, 170, 333, 201}},
        // Fold strips (k = 33 across, 20 down) are copied mirrored.
        {14, 333, 201, 30, {{{100, 0, 133, 201}, {133, 0, 166, 201}}}, {0, 0, 100, 201}, {0, 0, 100, 201}, true},
        {15, 333, 201, 30, {{{200, 0, 233, 201}, {167, 0, 200, 201}}}, {233, 0, 333, 201}, {233, 0, 333, 201}, true},
        {31, 333, 201, 30, {{{0, 60, 333, 80}, {0, 80, 333, 100}}}, {0, 0, 333, 60}, {0, 0, 333, 60}, false, true},
        {32, 333, 201, 30, {{{0, 121, 333, 141}, {0, 101, 333, 121}}}, {0, 141, 333, 201}, {0, 141, 333, 201}, false,
         true},
    };
    for (const TGeometryCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "style " << c.Style << " on " << c.W << "x" << c.H << " at "
                                          << c.Progress);
        TStyleRun run(c.W, c.H);
        run.Compose(c.Style, c.Progress);
        EXPECT_EQ(run.D, c.D);
        EXPECT_EQ(run.S, c.S);
        TBitmap expected = run.Snapshot;
        std::vector<TRect> reported;
        for (const TPart& part : c.Early) {
            if (c.MirrorX || c.MirrorY)
                StretchMirrored(expected, part.D, run.Picture, part.S, c.MirrorX, c.MirrorY);
            else
                StretchCopy(expected, part.D, run.Picture, part.S);
            reported.push_back(part.D);
        }
        EXPECT_EQ(run.Host.Areas, reported);
        EXPECT_TRUE(run.Frame == expected) << "early parts drawn, nothing else";
    }
}

// The fold styles report the strip's D and draw it mirrored, from old right + 1 down to old left - 1.
TEST(RectangleStyles, FoldStripIsMirrored)
{
    // Style 14 at 30 on 333 x 201: k = 33; S = (133, 166) lands on 134 down to 100.
    TStyleRun run(333, 201);
    run.Compose(14, 30);
    EXPECT_EQ(run.Host.Areas, (std::vector<TRect>{{100, 0, 133, 201}}));
    EXPECT_EQ(run.D, (TRect{0, 0, 100, 201}));
    EXPECT_EQ(run.S, run.D);
    for (int y : {0, 100, 200}) {
        EXPECT_EQ(run.Frame.Pixel(134, y), run.Picture.Pixel(133, y));
        EXPECT_EQ(run.Frame.Pixel(100, y), run.Picture.Pixel(165, y));
        EXPECT_EQ(run.Frame.Pixel(99, y), run.Snapshot.Pixel(99, y));
        EXPECT_EQ(run.Frame.Pixel(135, y), run.Snapshot.Pixel(135, y));
    }
    // Style 32 at 30: k = 20, K = 141; rows S = (101, 121) land on 142 down to 121.
    run.Compose(32, 30);
    EXPECT_EQ(run.Host.Areas, (std::vector<TRect>{{0, 121, 333, 141}}));
    EXPECT_EQ(run.D, (TRect{0, 141, 333, 201}));
    for (int x : {0, 200, 332}) {
        EXPECT_EQ(run.Frame.Pixel(x, 142), run.Picture.Pixel(x, 101));
        EXPECT_EQ(run.Frame.Pixel(x, 121), run.Picture.Pixel(x, 120));
        EXPECT_EQ(run.Frame.Pixel(x, 120), run.Snapshot.Pixel(x, 120));
        EXPECT_EQ(run.Frame.Pixel(x, 143), run.Snapshot.Pixel(x, 143));
    }
}

TEST(RectangleStyles, MirroredCopyCutsItsSourceToThePicture)
{
    // S (4, 9) of a 7-wide picture is cut to (4, 7) before the stretch: its three
    // columns then widen to five, mirrored onto 6 down to 2.
    TBitmap picture(7, 3), frame(7, 3);
    FillRandom(picture, 5);
    StretchMirrored(frame, {2, 0, 5, 3}, picture, {4, 0, 9, 3}, true, false);
    const int from[7] = {-1, -1, 6, 6, 5, 4, 4};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(frame.Pixel(x, 1), from[x] < 0 ? TColor(0) : picture.Pixel(from[x], 1)) << x;
}

TEST(RectangleStyles, MultiPartStylesAtProgressZeroShowSinglePixels)
{
    TStyleRun run(333, 201);
    run.Compose(55, 0);
    int changed = 0;
    for (int y = 0; y < 201; ++y)
        for (int x = 0; x < 333; ++x)
            changed += run.Frame.Pixel(x, y) != run.Snapshot.Pixel(x, y);
    EXPECT_EQ(changed, 3);
    EXPECT_EQ(run.Frame.Pixel(0, 0), run.Picture.Pixel(0, 0));
    EXPECT_EQ(run.Frame.Pixel(0, 200), run.Picture.Pixel(0, 200));
    EXPECT_EQ(run.Frame.Pixel(332, 200), run.Picture.Pixel(332, 200));

    run.Compose(12, 0);
    for (int y = 0; y < 201; ++y) {
        ASSERT_EQ(run.Frame.Pixel(0, y), run.Picture.Pixel(0, y));
        ASSERT_EQ(run.Frame.Pixel(1, y), run.Snapshot.Pixel(1, y));
    }
}

TEST(RectangleStyles, FoldStripWidthFollowsTheWipe)
{
    // W = 500: half the wipe below 100, 50 from 100 to 400, half the rest above.
    for (int progress = 0; progress <= 100; ++progress) {
        const int x = 5 * progress;
        const int k = x < 100 ? x / 2 : x <= 400 ? 50 : (500 - x) / 2;
        EXPECT_EQ(FoldWidth(500, x), k) << x;
        TStyleRun run(500, 3);
        run.Compose(14, progress);
        ASSERT_EQ(run.Host.Areas.size(), 1u);
        EXPECT_EQ(run.Host.Areas[0], (TRect{x, 0, x + k, 3})) << "at " << progress;
    }
    EXPECT_EQ(FoldWidth(500, 0), 0);
    EXPECT_EQ(FoldWidth(500, 99), 49);
    EXPECT_EQ(FoldWidth(500, 401), 49);
}

// ---- Pixel styles against the formulas, pixel by pixel -------------------------

void ReferenceBlend(TBitmap& Frame, const TBitmap& Picture, int Progress)
{
    for (int y = 0; y < Frame.Height(); ++y)
        for (int i = 0; i < Frame.Width() * 3; ++i) {
            std::uint8_t& c = Frame.ScanLine(y)[i];
            c = static_cast<std::uint8_t>(c * (100 - Progress) / 100 + Picture.ScanLine(y)[i] * Progress / 100);
        }
}

SPINDREL_DOUBLE_MATH void ReferenceRotate(TBitmap& Frame, const TBitmap& Picture, int Progress, int Cx, int Cy)
{
    const double angle = (100 - Progress) * std::numbers::pi / 200;
    const double c = std::cos(angle), s = std::sin(angle);
    for (int y = 0; y < Frame.Height(); ++y)
        for (int x = 0; x < Frame.Width(); ++x) {
            const double dx = x - Cx, dy = y - Cy;
            const int sx = static_cast<int>(std::nearbyint(dx * c - dy * s)) + Cx;
            const int sy = static_cast<int>(std::nearbyint(dx * s + dy * c)) + Cy;
            if (sx >= 0 && sx < Picture.Width() && sy >= 0 && sy < Picture.Height())
                Frame.SetPixel(x, y, Picture.Pixel(sx, sy));
        }
}

TEST(PixelStyles, CrossFadeAtHalfwayHalvesEachSide)
{
    TStyleRun run(5, 3);
    FillRect(run.Snapshot, {0, 0, 5, 3}, RGB(255, 0, 255));
    FillRect(run.Picture, {0, 0, 5, 3}, RGB(0, 255, 1));
    run.Compose(118, 50);
    EXPECT_EQ(run.Frame.Pixel(4, 2), RGB(127, 127, 127));  // 255 div 2 + 0, 0 + 255 div 2, 127 + 0
}

TEST(PixelStyles, CrossFadeMatchesTheFormula)
{
    TStyleRun run(37, 23);  // 111-byte rows
    for (int progress : {0, 1, 33, 50, 67, 99, 100}) {
        run.Compose(118, progress);
        TBitmap expected = run.Snapshot;
        ReferenceBlend(expected, run.Picture, progress);
        EXPECT_TRUE(run.Frame == expected) << "at " << progress;
    }
}

// Every pair of old and new bytes at every Progress, old read from the frame or
// from another bitmap: 255 x 86 pixels hold all 65536 pairs in their colour bytes
// (765-byte rows, padded).
TEST(PixelStyles, CrossFadeIsExactForEveryPairOfBytes)
{
    TBitmap old(255, 86), picture(255, 86), frame(255, 86);
    auto pair = [](int Y, int I) { return Y * 765 + I; };
    for (int y = 0; y < 86; ++y)
        for (int i = 0; i < 765; ++i) {
            old.ScanLine(y)[i] = static_cast<std::uint8_t>(pair(y, i));
            picture.ScanLine(y)[i] = static_cast<std::uint8_t>(pair(y, i) >> 8);
        }
    for (bool inFrame : {true, false})
        for (int progress = 0; progress <= 100; ++progress) {
            if (inFrame) {
                frame = old;
                BlendBitmaps(frame, picture, progress);
            } else {
                FillRandom(frame, 4);
                BlendBitmaps(frame, old, picture, progress);
            }
            for (int y = 0; y < 86; ++y)
                for (int i = 0; i < 765; ++i) {
                    const int was = pair(y, i) & 255, now = pair(y, i) >> 8 & 255;
                    ASSERT_EQ(frame.ScanLine(y)[i], was * (100 - progress) / 100 + now * progress / 100)
                        << was << " to " << now << " at " << progress << (inFrame ? " in the frame" : " from old");
                }
        }
}

TEST(PixelStyles, RotationStartsAQuarterTurnAwayAndEndsInPlace)
{
    // At 0 every pivot turns the whole picture off the frame; at 100 it is upright in place.
    TStyleRun run(29, 17);
    for (int style = 119; style <= 122; ++style) {
        run.Compose(style, 0);
        EXPECT_TRUE(run.Frame == run.Snapshot) << style;
        run.Compose(style, 100);
        EXPECT_TRUE(run.Frame == run.Picture) << style;
    }
}

TEST(PixelStyles, RotationMatchesTheFormulaForEveryPivot)
{
    // 64 and 400: rows without padding; 2001: rows longer than one pass of columns.
    const struct {
        int W, H;
    } sizes[] = {{301, 203}, {17, 45}, {1, 1}, {64, 47}, {400, 300}, {2001, 7}};
    const int pivots[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};  // 1 picks W or H instead of -1
    for (const auto& size : sizes) {
        TStyleRun run(size.W, size.H);
        for (int style = 119; style <= 122; ++style)
            for (int progress : {0, 1, 13, 50, 77, 99, 100, -30, 170}) {  // and two past the ends
                run.Compose(style, progress);
                const int* pivot = pivots[style - 119];
                TBitmap expected = run.Snapshot;
                ReferenceRotate(expected, run.Picture, progress, pivot[0] ? size.W : -1, pivot[1] ? size.H : -1);
                EXPECT_TRUE(run.Frame == expected) << "style " << style << " at " << progress << " on " << size.W
                                                   << "x" << size.H;
            }
    }
}

// The component lets these styles read the old image from the snapshot when no
// handler is to see it in the frame first: every pixel must still be written.
TEST(PixelStyles, FromTheSnapshotTheyComposeWhatTheyComposeInTheFrame)
{
    const struct {
        int W, H;
    } sizes[] = {{37, 23}, {64, 47}, {1, 1}};
    for (const auto& size : sizes) {
        TStyleRun run(size.W, size.H);
        for (int style = 118; style <= 122; ++style)
            for (int progress : {0, 1, 30, 50, 99, 100}) {
                run.Compose(style, progress);
                const TBitmap inFrame = run.Frame;
                run.Compose(style, progress, true);
                EXPECT_TRUE(run.Frame == inFrame)
                    << "style " << style << " at " << progress << " on " << size.W << "x" << size.H;
            }
    }
}

TEST(PixelStyles, RotationReusesItsScratch)
{
    TStyleRun run(64, 48);
    run.Compose(121, 40);
    const std::int32_t* warmed = run.Scratch.data();
    const std::size_t capacity = run.Scratch.capacity();
    run.Compose(121, 41);
    EXPECT_EQ(run.Scratch.data(), warmed);
    EXPECT_EQ(run.Scratch.capacity(), capacity);
}

}  // namespace
}  // namespace spindrel
