// The region styles 58..117 and 123..127: the clips the new picture is drawn through,
// from rounded rectangles, bands, ragged bands, triangles, scattered wipes and random blocks.
#include "transition/TransitionStyles.h"

#include <algorithm>
#include <iterator>

#include "shared/UnitGlobe.h"

namespace spindrel {

namespace {

// Where a bulging rounded rectangle lies along one axis of a picture of Size
// with extent Extent: across the whole side with 5 pixels to spare, or sliding
// in from the start (left, top) or the end (right, bottom).
enum : std::int16_t { Across = 0, FromStart = 1, FromEnd = 2 };
// Which side an ellipse axis is twice of.
enum : std::int16_t { TwiceWidth = 0, TwiceHeight = 1 };

void PlaceAlong(int Placement, int Size, int Extent, int& Low, int& High)
{
    switch (Placement) {
    case FromStart:
        Low = -2 * Size;
        High = 2 * Extent;
        break;
    case FromEnd:
        Low = Size - 2 * Extent;
        High = 3 * Size;
        break;
    default:
        Low = -5;
        High = Size + 5;
        break;
    }
}

// Styles 58, 59, 69, 70, 80..83. Args: horizontal and vertical placement, the
// sides the ellipse's width and height are twice of.
void BulgeRoundRect(TStyleFrame& F, const TStyleEntry& Self)
{
    TRect r;
    PlaceAlong(Self.Args[0], F.W, F.X, r.Left, r.Right);
    PlaceAlong(Self.Args[1], F.H, F.Y, r.Top, r.Bottom);
    auto twice = [&F](int Side) { return 2 * (Side == TwiceWidth ? F.W : F.H); };
    F.Region.AddRoundRect(r, twice(Self.Args[2]), twice(Self.Args[3]));
}

// Style 84: grows from the centre, its corners nearly a whole ellipse.
void CentreRoundRect(TStyleFrame& F, const TStyleEntry&)
{
    const int hw = F.W / 2, hh = F.H / 2;
    F.Region.AddRoundRect({hw - F.X, hh - F.Y, hw + F.X, hh + F.Y}, (9 * F.X) / 5, (9 * F.Y) / 5);
}

// Style 85: the picture outside a rounded shape that starts twice the picture's
// size and shrinks to nothing.
void ClosingRoundRect(TStyleFrame& F, const TStyleEntry&)
{
    const int hw = F.W / 2, hh = F.H / 2;
    F.Region.AddRect({0, 0, F.W, F.H});
    F.Spare.AddRoundRect({F.X - hw, F.Y - hh, (3 * F.W) / 2 - F.X, (3 * F.H) / 2 - F.Y}, (9 * (F.W - F.X)) / 5,
                         (9 * (F.H - F.Y)) / 5);
    F.Region.Xor(F.Spare);
}

// Interlaced bands 5 pixels wide on a period of 10. A below W (B below H) grows
// the even bands; above it they stand whole and the odd ones grow. Within
// Margin of completion a first-half band jumps to full length.
void BandRegion(TRegion& Into, int W, int H, int A, int B, int Margin, int RowKind, int ColumnKind)
{
    if (RowKind != 0 && A <= W) {
        for (int i = 0; i < H + 5; i += 10) {
            if (A + Margin > W)
                A = W;
            if (RowKind == 1 || RowKind == 5 || RowKind == 3)
                Into.AddRect({W - A, i, W, i + 5});
            if (RowKind == 2 || RowKind == 4)
                Into.AddRect({0, i, A, i + 5});
            if (RowKind == 3)
                Into.AddRect({0, i + 5, A, i + 10});
        }
    } else if (RowKind != 0) {
        for (int i = 5; i < H + 5; i += 10) {
            Into.AddRect({0, i - 5, W, i});
            if (RowKind == 1 || RowKind == 4)
                Into.AddRect({2 * W - A, i, W, i + 5});
            if (RowKind == 2 || RowKind == 5)
                Into.AddRect({0, i, A - W, i + 5});
        }
    }
    if (ColumnKind != 0 && B <= H) {
        for (int j = 0; j < W + 5; j += 10) {
            if (B + Margin > H)
                B = H;
            if (ColumnKind == 1 || ColumnKind == 5 || ColumnKind == 3)
                Into.AddRect({j, H - B, j + 5, H});
            if (ColumnKind == 2 || ColumnKind == 4)
                Into.AddRect({j, 0, j + 5, B});
            if (ColumnKind == 3)
                Into.AddRect({j + 5, 0, j + 10, B});
        }
    } else if (ColumnKind != 0) {
        for (int j = 5; j < W + 5; j += 10) {
            Into.AddRect({j - 5, 0, j, H});
            if (ColumnKind == 1 || ColumnKind == 4)
                Into.AddRect({j, 2 * H - B, j + 5, H});
            if (ColumnKind == 2 || ColumnKind == 5)
                Into.AddRect({j, 0, j + 5, B - H});
        }
    }
}

// Styles 60..64, 71..75, 86..98. Args: the extents' multiple (a = Args[0]·X,
// b = Args[0]·Y), whether the margin J applies, the row kind and the column kind.
void BandStyle(TStyleFrame& F, const TStyleEntry& Self)
{
    BandRegion(F.Region, F.W, F.H, Self.Args[0] * F.X, Self.Args[0] * F.Y, Self.Args[1] ? F.J : 0, Self.Args[2],
               Self.Args[3]);
}

// Style 99: where two interlaced grids (row and column kinds in Args) both cover.
void BandIntersection(TStyleFrame& F, const TStyleEntry& Self)
{
    BandRegion(F.Region, F.W, F.H, 2 * F.X, 2 * F.Y, F.J, Self.Args[0], Self.Args[1]);
    BandRegion(F.Spare, F.W, F.H, 2 * F.X, 2 * F.Y, F.J, Self.Args[2], Self.Args[3]);
    F.Region.Intersect(F.Spare);
}

// Bands 5 pixels apart whose ends jitter by up to a seventh of the side; each
// band reaches down (right) by the side's remainder mod 5 so the last one closes
// the picture. The random numbers are drawn in the order r1, r2, r3, r4 of each band.
void RaggedBandRegion(TStyleFrame& F, int A, int B, int RowKind, int ColumnKind)
{
    const int W = F.W, H = F.H, hw = W / 2, hh = H / 2;
    TRandom& random = F.Random;
    if (RowKind != 0) {
        const int s = A < W ? W / 7 : 0;
        for (int i = 0; i < H; i += 5) {
            const int e = i + 5 + H % 5;
            const int r1 = random.Next(s), r2 = random.Next(s);
            if (RowKind == 1) {
                F.Region.AddRect({W - A + r1 - r2, i, W, e});
            } else if (RowKind == 2) {
                F.Region.AddRect({0, i, A + r1 - r2, e});
            } else {
                const int r3 = random.Next(s), r4 = random.Next(s);
                if (RowKind == 3) {
                    F.Region.AddRect({(W - A + r1 - r2) / 2, i, hw, e});
                    F.Region.AddRect({hw, i, (W + A + r3 - r4) / 2, e});
                } else {
                    F.Region.AddRect({W - (A + r1 - r2) / 2, i, W, e});
                    F.Region.AddRect({0, i, (A + r3 - r4) / 2, e});
                }
            }
        }
    }
    if (ColumnKind != 0) {
        const int s = B < H ? H / 7 : 0;
        for (int j = 0; j < W; j += 5) {
            const int e = j + 5 + W % 5;
            const int r1 = random.Next(s), r2 = random.Next(s);
            if (ColumnKind == 1) {
                F.Region.AddRect({j, H - B + r1 - r2, e, H});
            } else if (ColumnKind == 2) {
                F.Region.AddRect({j, 0, e, B + r1 - r2});
            } else {
                const int r3 = random.Next(s), r4 = random.Next(s);
                if (ColumnKind == 3) {
                    F.Region.AddRect({j, (H - B + r1 - r2) / 2, e, hh});
                    F.Region.AddRect({j, hh, e, (H + B + r3 - r4) / 2});
                } else {
                    F.Region.AddRect({j, H - (B + r1 - r2) / 2, e, H});
                    F.Region.AddRect({j, 0, e, (B + r3 - r4) / 2});
                }
            }
        }
    }
}

// Styles 65..68, 76..79, 100..109. Args: the row kind and the column kind.
void RaggedBandStyle(TStyleFrame& F, const TStyleEntry& Self)
{
    RaggedBandRegion(F, Self.Args[0] ? F.X : 0, Self.Args[1] ? F.Y : 0, Self.Args[0], Self.Args[1]);
}

// Whether a block N blocks ahead of the edge is drawn: surely for N up to 2,
// then with probability 2/N up to three quarters of the spread, 1/N beyond.
bool BlockAhead(TRandom& Random, int N, int Spread, int Block)
{
    const int t = (3 * Spread / Block) / 4;
    const int chance = N <= t ? 1 : 0;
    return Random.Next(N) <= chance;
}

// Styles 123..126: a wipe whose edge runs ahead in scattered square blocks.
// Args: the row kind (1 from the right, 2 from the left) and the column kind (1
// from the bottom, 2 from the top).
void ScatterEdgeRegion(TStyleFrame& F, const TStyleEntry& Self)
{
    const int W = F.W, H = F.H, X = F.X, Y = F.Y;
    if (const int kind = Self.Args[0]; kind != 0) {
        const int e = X < W ? W / 10 : 0;
        const int f = std::max(e / 20, 2);
        for (int y = 0; y < H; y += f / 2) {
            F.Region.AddRect(kind == 1 ? TRect{W - X, y, W, y + f} : TRect{0, y, X, y + f});
            for (int n = e / f; n >= 1; --n)
                if (BlockAhead(F.Random, n, e, f))
                    F.Region.AddRect(kind == 1 ? TRect{W - X - n * f, y, W - X - n * f + f, y + f}
                                               : TRect{X + (n - 1) * f, y, X + n * f, y + f});
        }
    }
    if (const int kind = Self.Args[1]; kind != 0) {
        const int e = Y < H ? H / 10 : 0;
        const int f = std::max(e / 20, 2);
        for (int x = 0; x < W; x += f / 2) {
            F.Region.AddRect(kind == 1 ? TRect{x, H - Y, x + f, H} : TRect{x, 0, x + f, Y});
            for (int n = e / f; n >= 1; --n)
                if (BlockAhead(F.Random, n, e, f))
                    F.Region.AddRect(kind == 1 ? TRect{x, H - Y - n * f, x + f, H - Y - n * f + f}
                                               : TRect{x, Y + (n - 1) * f, x + f, Y + n * f});
        }
    }
}

// Style 127: squares twice the grid spacing, each chosen with a chance of
// Progress in 100; the grid coarsens as Progress rises.
void RandomBlocksRegion(TStyleFrame& F, const TStyleEntry&)
{
    const int d = std::max((F.W < F.H ? F.W / 50 : F.H / 50) + F.Progress / 10, 1);
    for (int x = 0; x < F.W; x += d)
        for (int y = 0; y < F.H; y += d)
            if (F.Random.Next(100) < F.Progress)
                F.Region.AddRect({x - d, y - d, x + d, y + d});
}

void TriangleRegion(TRegion& Into, TPoint P1, TPoint P2, TPoint P3)
{
    const TPoint points[] = {P1, P2, P3};
    Into.AddPolygon(points);
}

// Styles 110..113: a triangle growing from a corner. Args: from the right, from the bottom.
void CornerTriangle(TStyleFrame& F, const TStyleEntry& Self)
{
    const int cornerX = Self.Args[0] ? F.W : 0, cornerY = Self.Args[1] ? F.H : 0;
    const int towardX = Self.Args[0] ? -2 * F.X : 2 * F.X, towardY = Self.Args[1] ? -2 * F.Y : 2 * F.Y;
    TriangleRegion(F.Region, {cornerX, cornerY}, {cornerX + towardX, cornerY}, {cornerX, cornerY + towardY});
}

// Style 114: two triangles sweeping in from the left and right edges.
void SideTriangles(TStyleFrame& F, const TStyleEntry&)
{
    TriangleRegion(F.Region, {0, F.H}, {0, 0}, {F.X, F.H});
    TriangleRegion(F.Region, {F.W, F.H}, {F.W, 0}, {F.W - F.X, 0});
}

// Style 115: two triangles sweeping in from the top and bottom edges.
void EdgeTriangles(TStyleFrame& F, const TStyleEntry&)
{
    TriangleRegion(F.Region, {F.W, 0}, {0, 0}, {F.W, F.Y});
    TriangleRegion(F.Region, {F.W, F.H}, {0, F.H}, {0, F.H - F.Y});
}

// Style 116: four blades turning about the centre.
void BladeTriangles(TStyleFrame& F, const TStyleEntry&)
{
    const TPoint centre{F.W / 2, F.H / 2};
    TriangleRegion(F.Region, centre, {0, F.H}, {0, F.H - F.Y});
    TriangleRegion(F.Region, {0, 0}, {F.X, 0}, centre);
    TriangleRegion(F.Region, {F.W - F.X, F.H}, centre, {F.W, F.H});
    TriangleRegion(F.Region, centre, {F.W, 0}, {F.W, F.Y});
}

// Style 117: a 10 by 10 grid of triangles growing from each cell's top-left corner.
void GridTriangles(TStyleFrame& F, const TStyleEntry&)
{
    const int a = F.X / 5, b = MulDiv(a, F.H, F.W);
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            const int x0 = (j * F.W) / 10, y0 = (i * F.H) / 10;
            TriangleRegion(F.Region, {x0, y0}, {x0 + a, y0}, {x0, y0 + b});
        }
}

constexpr TStyleEntry Row(std::uint8_t Style, void (*Compose)(TStyleFrame&, const TStyleEntry&),
                          std::array<std::int16_t, 4> Args = {})
{
    return {Style, TStyleClass::Region, Compose, Args};
}

constexpr TStyleEntry Rows[] = {
    Row(58, BulgeRoundRect, {FromStart, Across, TwiceWidth, TwiceWidth}),
    Row(59, BulgeRoundRect, {FromEnd, Across, TwiceWidth, TwiceWidth}),
    Row(60, BandStyle, {2, 1, 1, 0}),
    Row(61, BandStyle, {2, 1, 2, 0}),
    Row(62, BandStyle, {2, 1, 4, 0}),
    Row(63, BandStyle, {2, 1, 5, 0}),
    Row(64, BandStyle, {1, 0, 3, 0}),
    Row(65, RaggedBandStyle, {1, 0}),
    Row(66, RaggedBandStyle, {2, 0}),
    Row(67, RaggedBandStyle, {3, 0}),
    Row(68, RaggedBandStyle, {4, 0}),
    Row(69, BulgeRoundRect, {Across, FromStart, TwiceHeight, TwiceHeight}),
    Row(70, BulgeRoundRect, {Across, FromEnd, TwiceHeight, TwiceHeight}),
    Row(71, BandStyle, {2, 1, 0, 1}),
    Row(72, BandStyle, {2, 1, 0, 2}),
    Row(73, BandStyle, {2, 1, 0, 4}),
    Row(74, BandStyle, {2, 1, 0, 5}),
    Row(75, BandStyle, {1, 0, 0, 3}),
    Row(76, RaggedBandStyle, {0, 1}),
    Row(77, RaggedBandStyle, {0, 2}),
    Row(78, RaggedBandStyle, {0, 3}),
    Row(79, RaggedBandStyle, {0, 4}),
    Row(80, BulgeRoundRect, {FromStart, FromStart, TwiceWidth, TwiceHeight}),
    Row(81, BulgeRoundRect, {FromEnd, FromStart, TwiceWidth, TwiceHeight}),
    Row(82, BulgeRoundRect, {FromStart, FromEnd, TwiceWidth, TwiceHeight}),
    Row(83, BulgeRoundRect, {FromEnd, FromEnd, TwiceHeight, TwiceHeight}),  // the odd one out: 2H wide
    Row(84, CentreRoundRect),
    Row(85, ClosingRoundRect),
    Row(86, BandStyle, {2, 1, 1, 1}),
    Row(87, BandStyle, {2, 1, 1, 2}),
    Row(88, BandStyle, {2, 1, 2, 1}),
    Row(89, BandStyle, {2, 1, 2, 2}),
    Row(90, BandStyle, {2, 1, 4, 4}),
    Row(91, BandStyle, {2, 1, 4, 5}),
    Row(92, BandStyle, {2, 1, 5, 4}),
    Row(93, BandStyle, {2, 1, 5, 5}),
    Row(94, BandStyle, {1, 1, 1, 3}),
    Row(95, BandStyle, {1, 1, 2, 3}),
    Row(96, BandStyle, {1, 1, 3, 1}),
    Row(97, BandStyle, {1, 1, 3, 2}),
    Row(98, BandStyle, {1, 0, 3, 3}),
    Row(99, BandIntersection, {2, 2, 1, 1}),
    Row(100, RaggedBandStyle, {1, 1}),
    Row(101, RaggedBandStyle, {1, 2}),
    Row(102, RaggedBandStyle, {2, 1}),
    Row(103, RaggedBandStyle, {2, 2}),
    Row(104, RaggedBandStyle, {1, 3}),
    Row(105, RaggedBandStyle, {2, 3}),
    Row(106, RaggedBandStyle, {3, 1}),
    Row(107, RaggedBandStyle, {3, 2}),
    Row(108, RaggedBandStyle, {3, 3}),
    Row(109, RaggedBandStyle, {4, 4}),
    Row(110, CornerTriangle, {0, 0}),
    Row(111, CornerTriangle, {1, 0}),
    Row(112, CornerTriangle, {0, 1}),
    Row(113, CornerTriangle, {1, 1}),
    Row(114, SideTriangles),
    Row(115, EdgeTriangles),
    Row(116, BladeTriangles),
    Row(117, GridTriangles),
    Row(123, ScatterEdgeRegion, {1, 0}),
    Row(124, ScatterEdgeRegion, {2, 0}),
    Row(125, ScatterEdgeRegion, {0, 1}),
    Row(126, ScatterEdgeRegion, {0, 2}),
    Row(127, RandomBlocksRegion),
};

static_assert(std::size(Rows) == 65, "one row for each of the styles 58..117 and 123..127");
static_assert(
    [] {
        int expected = 58;
        for (const TStyleEntry& row : Rows) {
            if (row.Style != expected)
                return false;
            expected = expected == 117 ? 123 : expected + 1;
        }
        return true;
    }(),
    "rows in style order, 58..117 then 123..127");

}  // namespace

std::span<const TStyleEntry> RegionStyles() { return Rows; }

}  // namespace spindrel
