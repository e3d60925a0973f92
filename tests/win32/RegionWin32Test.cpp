// Our regions against GDI's own: rectangles, rounded rectangles, winding
// polygons and their combinations, compared pixel for pixel.
// Our header first: <windows.h> defines RGB as a macro.
#include "platform/graphics/Region.h"
#include "transition/TransitionStyles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using spindrel::TPoint;
using spindrel::TRect;
using spindrel::TRegion;

namespace {

// Owns one GDI region; CreatePolygonRgn may hand back none for a shape without area.
class TGdiRegion {
public:
    explicit TGdiRegion(HRGN Handle) : FHandle(Handle) {}
    ~TGdiRegion()
    {
        if (FHandle)
            DeleteObject(FHandle);
    }
    TGdiRegion(const TGdiRegion&) = delete;
    TGdiRegion& operator=(const TGdiRegion&) = delete;
    HRGN Get() const { return FHandle; }

private:
    HRGN FHandle;
};

// GDI's pixels as a region of its own rectangles, read back with GetRegionData.
TRegion FromGdi(HRGN Handle)
{
    TRegion result;
    if (!Handle)
        return result;
    const DWORD size = GetRegionData(Handle, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(Handle, size, data) != size)
        return result;
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        result.AddRect({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
    return result;
}

// Both settled forms are canonical, so equal bands and spans mean equal pixels,
// and comparing them checks every pixel however large the shape. On a
// difference the first row that differs is reported with both rows' spans.
::testing::AssertionResult SamePixels(HRGN Gdi, const TRegion& Ours)
{
    const TRegion theirs = FromGdi(Gdi);
    const auto a = theirs.Bands(), b = Ours.Bands();
    const bool same = std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](const auto& A, const auto& B) {
        return A.Top == B.Top && A.Bottom == B.Bottom &&
               std::equal(theirs.Spans().begin() + A.First, theirs.Spans().begin() + A.End,
                          Ours.Spans().begin() + B.First, Ours.Spans().begin() + B.End);
    });
    if (same)
        return ::testing::AssertionSuccess();
    auto rowOf = [](const TRegion& Region, int Y) {
        std::ostringstream out;
        for (const TRegion::TBand& band : Region.Bands())
            if (band.Top <= Y && Y < band.Bottom)
                for (std::uint32_t s = band.First; s < band.End; ++s)
                    out << " [" << Region.Spans()[s].Left << ", " << Region.Spans()[s].Right << ")";
        return out.str();
    };
    // The first band that differs: its top, or, when only its bottom differs, the row after the shorter one.
    std::size_t i = 0;
    auto sameSpans = [&](std::size_t I) {
        return std::equal(theirs.Spans().begin() + a[I].First, theirs.Spans().begin() + a[I].End,
                          Ours.Spans().begin() + b[I].First, Ours.Spans().begin() + b[I].End);
    };
    while (i < a.size() && i < b.size() && a[i].Top == b[i].Top && a[i].Bottom == b[i].Bottom && sameSpans(i))
        ++i;
    int y;
    if (i == a.size() || i == b.size())
        y = i < a.size() ? a[i].Top : b[i].Top;
    else if (a[i].Top == b[i].Top && sameSpans(i))
        y = std::min(a[i].Bottom, b[i].Bottom);
    else
        y = std::min(a[i].Top, b[i].Top);
    return ::testing::AssertionFailure() << "row " << y << ": GDI" << rowOf(theirs, y) << " | ours" << rowOf(Ours, y);
}

struct TRoundRectCase {
    TRect R;
    int EllipseWidth, EllipseHeight;
};

std::string Describe(const TRoundRectCase& C)
{
    std::ostringstream out;
    out << "RoundRect(" << C.R.Left << ", " << C.R.Top << ", " << C.R.Right << ", " << C.R.Bottom << ", "
        << C.EllipseWidth << ", " << C.EllipseHeight << ")";
    return out.str();
}

std::string Describe(const std::vector<TPoint>& Points)
{
    std::ostringstream out;
    out << "Polygon";
    for (const TPoint& p : Points)
        out << " (" << p.X << ", " << p.Y << ")";
    return out.str();
}

// Wine's walk along a corner ellipse stops once it passes half the ellipse's
// width; an ellipse (after cutting to the rectangle) at least twice as tall as
// the square of its width less one (2 by 3, 3 by 8, 4 by 18, 5 by 32, ...) has
// rows left then, and Wine hands back whatever memory held for them. Which rows
// those are cannot be seen from outside, so such shapes are left out.
bool WineLeavesRowsUnset(const TRoundRectCase& C)
{
    const int width = std::max(C.R.Left, C.R.Right) - 1 - std::min(C.R.Left, C.R.Right);
    const int height = std::max(C.R.Top, C.R.Bottom) - 1 - std::min(C.R.Top, C.R.Bottom);
    const int ew = std::min(width, std::abs(C.EllipseWidth)), eh = std::min(height, std::abs(C.EllipseHeight));
    return ew >= 2 && eh >= 2 && eh >= 2 * (ew - 1) * (ew - 1) + (ew == 2 ? 1 : 0);
}

HRGN GdiRoundRect(const TRoundRectCase& C)
{
    return CreateRoundRectRgn(C.R.Left, C.R.Top, C.R.Right, C.R.Bottom, C.EllipseWidth, C.EllipseHeight);
}

HRGN GdiPolygon(const std::vector<TPoint>& Points)
{
    std::vector<POINT> points;
    for (const TPoint& p : Points)
        points.push_back({p.X, p.Y});
    return CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
}

// The rounded rectangles of the bulge, corner and centre styles over a run of
// Progress values, for a landscape, a portrait and an odd-sized picture.
std::vector<TRoundRectCase> StyleRoundRects()
{
    std::vector<TRoundRectCase> cases;
    for (auto [W, H] : {std::pair{64, 48}, std::pair{30, 90}, std::pair{37, 23}})
        for (int progress = 0; progress <= 100; progress += 5) {
            const auto [X, Y] = spindrel::ProgressExtents(W, H, progress);
            const int hw = W / 2, hh = H / 2;
            cases.push_back({{-2 * W, -5, 2 * X, H + 5}, 2 * W, 2 * W});
            cases.push_back({{W - 2 * X, -5, 3 * W, H + 5}, 2 * W, 2 * W});
            cases.push_back({{-5, -2 * H, W + 5, 2 * Y}, 2 * H, 2 * H});
            cases.push_back({{-5, H - 2 * Y, W + 5, 3 * H}, 2 * H, 2 * H});
            cases.push_back({{-2 * W, -2 * H, 2 * X, 2 * Y}, 2 * W, 2 * H});
            cases.push_back({{W - 2 * X, -2 * H, 3 * W, 2 * Y}, 2 * W, 2 * H});
            cases.push_back({{-2 * W, H - 2 * Y, 2 * X, 3 * H}, 2 * W, 2 * H});
            cases.push_back({{W - 2 * X, H - 2 * Y, 3 * W, 3 * H}, 2 * H, 2 * H});
            cases.push_back({{hw - X, hh - Y, hw + X, hh + Y}, (9 * X) / 5, (9 * Y) / 5});
            cases.push_back({{X - hw, Y - hh, (3 * W) / 2 - X, (3 * H) / 2 - Y}, (9 * (W - X)) / 5, (9 * (H - Y)) / 5});
        }
    return cases;
}

}  // namespace

TEST(RegionWin32, RectanglesMatchCreateRectRgn)
{
    const TRect cases[] = {{0, 0, 10, 10}, {-7, -3, 4, 9}, {10, 10, 0, 0}, {10, 0, 0, 10}, {5, 5, 5, 10},
                           {5, 5, 10, 5}, {5, 5, 5, 5},   {0, 0, 1, 1},   {3, -2, -4, 8}};
    for (const TRect& r : cases) {
        TGdiRegion gdi(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
        TRegion ours;
        ours.AddRect(r);
        EXPECT_TRUE(SamePixels(gdi.Get(), ours)) << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom;
    }
}

TEST(RegionWin32, RoundRectsMatchCreateRoundRectRgn)
{
    std::vector<TRoundRectCase> cases = {
        {{0, 0, 10, 10}, 0, 0},      {{0, 0, 10, 10}, 4, 4},       {{0, 0, 10, 10}, 3, 5},
        {{0, 0, 10, 10}, 10, 10},    {{0, 0, 11, 9}, 11, 9},       {{0, 0, 100, 60}, 20, 10},
        {{0, 0, 100, 60}, 21, 11},   {{0, 0, 100, 60}, 200, 120},  {{0, 0, 100, 60}, 400, 7},
        {{-50, -30, 40, 70}, 300, 50}, {{-90, -90, -10, -20}, 35, 36}, {{10, 10, 0, 0}, 4, 4},
        {{10, 0, 0, 10}, 6, 3},      {{0, 0, 10, 10}, -6, -4},     {{5, 5, 5, 5}, 0, 0},
        {{5, 5, 5, 20}, 4, 4},       {{5, 5, 20, 5}, 4, 4},        {{5, 5, 6, 6}, 2, 2},
        {{0, 0, 1, 1}, 2, 2},        {{0, 0, 2, 2}, 2, 2},         {{0, 0, 3, 3}, 3, 3},
        {{0, 0, 4, 4}, 3, 3},        {{0, 0, 3, 20}, 3, 20},       {{0, 0, 20, 3}, 20, 3},
        {{0, 0, 1920, 1080}, 3840, 3840}, {{-3840, -5, 200, 1085}, 3840, 3840},
    };
    for (const TRoundRectCase& c : StyleRoundRects())
        cases.push_back(c);
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> corner(-40, 40), ellipse(-5, 90);
    for (int i = 0; i < 400; ++i)
        cases.push_back({{corner(random), corner(random), corner(random), corner(random)}, ellipse(random),
                         ellipse(random)});
    int compared = 0;
    for (const TRoundRectCase& c : cases) {
        if (WineLeavesRowsUnset(c))
            continue;
        ++compared;
        TGdiRegion gdi(GdiRoundRect(c));
        TRegion ours;
        ours.AddRoundRect(c.R, c.EllipseWidth, c.EllipseHeight);
        EXPECT_TRUE(SamePixels(gdi.Get(), ours)) << Describe(c);
    }
    EXPECT_GT(compared, 700);
}

TEST(RegionWin32, PolygonsMatchCreatePolygonRgnWithWinding)
{
    std::vector<std::vector<TPoint>> cases = {
        {{0, 0}, {10, 0}, {0, 10}},        {{0, 0}, {0, 10}, {10, 0}},         {{10, 10}, {0, 10}, {10, 0}},
        {{10, 10}, {10, 0}, {0, 10}},      {{0, 0}, {7, 3}, {2, 11}},          {{5, 0}, {0, 9}, {10, 9}},
        {{5, 9}, {0, 0}, {10, 0}},         {{0, 5}, {9, 0}, {9, 10}},          {{9, 5}, {0, 0}, {0, 10}},
        {{-6, -4}, {13, -9}, {3, 17}},     {{0, 0}, {3, 1}, {100, 2}},         {{0, 0}, {1, 100}, {2, 3}},
        {{0, 0}, {0, 0}, {0, 0}},          {{0, 0}, {5, 5}, {10, 10}},         {{3, 3}, {3, 3}, {8, 3}},
        {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}},
        {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}, {10, 5}, {15, 15}, {5, 15}},  // a triangle inside, same winding
        {{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}},                             // a star: its centre winds twice
        {{0, 0}, {30, 0}, {0, 10}, {30, 10}},                                      // a bow tie
    };
    // The triangles of the triangle styles on a landscape, a portrait and an odd-sized picture.
    for (auto [W, H] : {std::pair{64, 48}, std::pair{30, 90}, std::pair{37, 23}})
        for (int progress = 0; progress <= 100; progress += 5) {
            const auto [X, Y] = spindrel::ProgressExtents(W, H, progress);
            const int hw = W / 2, hh = H / 2;
            const std::vector<std::vector<TPoint>> styles = {
                {{0, 0}, {2 * X, 0}, {0, 2 * Y}},      {{W, 0}, {W - 2 * X, 0}, {W, 2 * Y}},
                {{0, H}, {2 * X, H}, {0, H - 2 * Y}},  {{W, H}, {W - 2 * X, H}, {W, H - 2 * Y}},
                {{0, H}, {0, 0}, {X, H}},              {{W, H}, {W, 0}, {W - X, 0}},
                {{W, 0}, {0, 0}, {W, Y}},              {{W, H}, {0, H}, {0, H - Y}},
                {{hw, hh}, {0, H}, {0, H - Y}},        {{0, 0}, {X, 0}, {hw, hh}},
                {{W - X, H}, {hw, hh}, {W, H}},        {{hw, hh}, {W, 0}, {W, Y}},
                {{7, 5}, {7 + X / 5, 5}, {7, 5 + MulDiv(X / 5, H, W)}},
            };
            cases.insert(cases.end(), styles.begin(), styles.end());
        }
    std::mt19937 random(1211);
    std::uniform_int_distribution<int> coordinate(-20, 20);
    for (int i = 0; i < 600; ++i) {
        std::vector<TPoint> points(i < 500 ? 3 : 5);
        for (TPoint& p : points)
            p = {coordinate(random), coordinate(random)};
        cases.push_back(points);
    }
    for (const std::vector<TPoint>& points : cases) {
        TGdiRegion gdi(GdiPolygon(points));
        TRegion ours;
        ours.AddPolygon(points);
        EXPECT_TRUE(SamePixels(gdi.Get(), ours)) << Describe(points);
    }
}

TEST(RegionWin32, CombinationsMatchCombineRgn)
{
    std::mt19937 random(77);
    std::uniform_int_distribution<int> coordinate(-30, 30), ellipse(0, 40), kind(0, 2);
    // One shape, made both ways: a rectangle, a rounded rectangle or a triangle.
    auto make = [&](TRegion& Ours) {
        const int a = coordinate(random), b = coordinate(random), c = coordinate(random), d = coordinate(random);
        switch (kind(random)) {
        case 0:
            Ours.AddRect({a, b, c, d});
            return CreateRectRgn(a, b, c, d);
        case 1: {
            TRoundRectCase shape{{a, b, c, d}, ellipse(random), ellipse(random)};
            while (WineLeavesRowsUnset(shape))
                shape.EllipseHeight /= 2;
            Ours.AddRoundRect(shape.R, shape.EllipseWidth, shape.EllipseHeight);
            return GdiRoundRect(shape);
        }
        default: {
            const std::vector<TPoint> points{{a, b}, {c, d}, {coordinate(random), coordinate(random)}};
            Ours.AddPolygon(points);
            return GdiPolygon(points);
        }
        }
    };
    const struct {
        int Mode;
        void (TRegion::*Operation)(const TRegion&);
        const char* Name;
    } operations[] = {{RGN_OR, &TRegion::Union, "or"}, {RGN_AND, &TRegion::Intersect, "and"},
                      {RGN_XOR, &TRegion::Xor, "xor"}};
    for (const auto& operation : operations)
        for (int i = 0; i < 200; ++i) {
            // A few pieces by union on each side, then the operation between the two sides.
            TRegion left, right;
            TGdiRegion gdiLeft(CreateRectRgn(0, 0, 0, 0)), gdiRight(CreateRectRgn(0, 0, 0, 0));
            for (int piece = 0; piece < 1 + i % 4; ++piece) {
                TGdiRegion l(make(left)), r(make(right));
                if (l.Get())
                    CombineRgn(gdiLeft.Get(), gdiLeft.Get(), l.Get(), RGN_OR);
                if (r.Get())
                    CombineRgn(gdiRight.Get(), gdiRight.Get(), r.Get(), RGN_OR);
            }
            CombineRgn(gdiLeft.Get(), gdiLeft.Get(), gdiRight.Get(), operation.Mode);
            (left.*operation.Operation)(right);
            ASSERT_TRUE(SamePixels(gdiLeft.Get(), left)) << operation.Name << " case " << i;
        }
}
