// Styles 1..57, which copy rectangles of the new picture onto the frame, and
// 118..122, which compute the frame pixel by pixel: one table row per style.
#include "transition/RectanglePixelStyles.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <numbers>

#include "platform/graphics/Stretch.h"
#include "transition/TransitionStyles.h"

namespace spindrel {

int FoldWidth(int Size, int Extent)
{
    if (Extent < Size / 5)
        return Extent / 2;
    if (Size - Extent < Size / 5)
        return (Size - Extent) / 2;
    return Size / 10;
}

void StretchMirrored(TBitmap& Frame, const TRect& Dest, const TBitmap& Picture, const TRect& Src,
                     bool Horizontally, bool Vertically)
{
    TRect mirrored = Dest;
    if (Horizontally) {
        mirrored.Left = Dest.Right + 1;
        mirrored.Right = Dest.Left - 1;
    }
    if (Vertically) {
        mirrored.Top = Dest.Bottom + 1;
        mirrored.Bottom = Dest.Top - 1;
    }
    StretchCopy(Frame, mirrored, Picture, Intersect(Src, Picture.Bounds()));
}

namespace {

// The per-pixel loops are meant to run in vector lanes (SSE2 in both builds), also
// where the build's optimisation level would not vectorise them.
#if defined(__GNUC__) && !defined(__clang__) && defined(__i386__)
#define SPINDREL_VECTORISE __attribute__((target("sse2"), optimize("tree-vectorize", "vect-cost-model=dynamic")))
#elif defined(__GNUC__) && !defined(__clang__)
#define SPINDREL_VECTORISE __attribute__((optimize("tree-vectorize", "vect-cost-model=dynamic")))
#else
#define SPINDREL_VECTORISE
#endif

// v div 100 for v <= 25500, a byte times a percentage: there it equals the high
// half of v * 41944 shifted right by 6, one multiply-high in 16-bit lanes.
constexpr std::uint16_t Hundredth(std::uint16_t V)
{
    return static_cast<std::uint16_t>(static_cast<std::uint16_t>((std::uint32_t{V} * 41944u) >> 16) >> 6);
}

// Old is Out itself when InPlace: one pointer less keeps the vectoriser's
// overlap check from sending the loop down its scalar path.
template <bool InPlace>
SPINDREL_VECTORISE void BlendRow(std::uint8_t* Out, const std::uint8_t* Old, const std::uint8_t* New, int Count,
                                 std::uint16_t Keep, std::uint16_t Take)
{
    for (int i = 0; i < Count; ++i) {
        const std::uint8_t old = InPlace ? Out[i] : Old[i];
        Out[i] = static_cast<std::uint8_t>(Hundredth(static_cast<std::uint16_t>(old * Keep)) +
                                           Hundredth(static_cast<std::uint16_t>(New[i] * Take)));
    }
}

}  // namespace

void BlendBitmaps(TBitmap& Frame, const TBitmap& Old, const TBitmap& Picture, int Progress)
{
    assert(Progress >= 0 && Progress <= 100 && Frame.Width() == Picture.Width() &&
           Frame.Height() == Picture.Height() && Old.Width() == Frame.Width() && Old.Height() == Frame.Height());
    const auto keep = static_cast<std::uint16_t>(100 - Progress), take = static_cast<std::uint16_t>(Progress);
    const int rowBytes = Frame.Width() * 3;
    for (int y = 0; y < Frame.Height(); ++y) {
        if (&Old == &Frame)
            BlendRow<true>(Frame.ScanLine(y), nullptr, Picture.ScanLine(y), rowBytes, keep, take);
        else
            BlendRow<false>(Frame.ScanLine(y), Old.ScanLine(y), Picture.ScanLine(y), rowBytes, keep, take);
    }
}

void BlendBitmaps(TBitmap& Frame, const TBitmap& Picture, int Progress)
{
    BlendBitmaps(Frame, Frame, Picture, Progress);
}

SPINDREL_DOUBLE_MATH TRotation RotationAt(int Progress)
{
    const double angle = (100 - Progress) * std::numbers::pi / 200;
    return {std::cos(angle), std::sin(angle)};
}

namespace {

// Round to nearest, halves to even, as nearbyint in the default rounding mode:
// adding 1.5 * 2^52 leaves no fraction bits, so the sum itself is rounded.
// Exact for |v| < 2^51, far beyond any picture.
constexpr double RoundingShift = 6755399441055744.0;

SPINDREL_DOUBLE_MATH inline double RoundHalfEven(double V) { return (V + RoundingShift) - RoundingShift; }

// Where the pixels of one frame row look in the picture. The products with dx
// are the same in every row, so they come from per-frame tables.
struct TRotatedRow {
    const std::int32_t* CosTable;  // (x - PivotX) * cos, one double in two slots a column
    const std::int32_t* SinTable;  // (x - PivotX) * sin
    double DySin, DyCos;
    int PivotX, PivotY;

    SPINDREL_DOUBLE_MATH static double At(const std::int32_t* Table, int X)
    {
        double v;
        std::memcpy(&v, Table + 2 * static_cast<std::ptrdiff_t>(X), sizeof v);
        return v;
    }
    SPINDREL_DOUBLE_MATH int SourceX(int X) const
    {
        return static_cast<int>(RoundHalfEven(At(CosTable, X) - DySin)) + PivotX;
    }
    SPINDREL_DOUBLE_MATH int SourceY(int X) const
    {
        return static_cast<int>(RoundHalfEven(At(SinTable, X) + DyCos)) + PivotY;
    }
};

// The first X in 0..Width at which SourceX (or SourceY) reaches Bound. With cos
// and sin at least 0 both are non-decreasing in X, so one search finds it.
SPINDREL_DOUBLE_MATH int FirstReaching(const TRotatedRow& Row, bool Vertical, int Bound, int Width)
{
    int low = 0, high = Width;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if ((Vertical ? Row.SourceY(mid) : Row.SourceX(mid)) < Bound)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

// Byte offsets into the picture of the sources of columns First..Last-1, worked
// out in doubles (exact: whole numbers far below 2^53) so the loop vectorises.
SPINDREL_DOUBLE_MATH SPINDREL_VECTORISE void SourceOffsets(const TRotatedRow& Row, int First, int Last, int Stride,
                                                           std::int32_t* Offsets)
{
    const double base = static_cast<double>(Row.PivotY) * Stride + Row.PivotX * 3.0, stride = Stride;
    const double dySin = Row.DySin, dyCos = Row.DyCos;
    for (int x = First; x < Last; ++x) {
        const double sx = RoundHalfEven(TRotatedRow::At(Row.CosTable, x) - dySin);
        const double sy = RoundHalfEven(TRotatedRow::At(Row.SinTable, x) + dyCos);
        Offsets[x] = static_cast<std::int32_t>(sy * stride + sx * 3.0 + base);
    }
}

// Copies the sources of columns First..Last-1 of one row, 4 bytes a pixel: the
// byte past each pixel belongs to the next, written after it. At LastPixel a
// 4-byte read would pass the end of the picture's bytes.
void CopySources(std::uint8_t* Out, const std::uint8_t* Bits, const std::int32_t* Offsets, int First, int Last,
                 std::int32_t LastPixel)
{
    for (int x = First; x < Last - 1; ++x) {
        const std::int32_t at = Offsets[x];
        if (at != LastPixel) {
            std::uint32_t pixel;
            std::memcpy(&pixel, Bits + at, 4);
            std::memcpy(Out + x * 3, &pixel, 4);
        } else {
            std::memcpy(Out + x * 3, Bits + at, 3);
        }
    }
    std::memcpy(Out + (Last - 1) * 3, Bits + Offsets[Last - 1], 3);
}

// Columns per pass over the rows. A turned row reads about one picture row a
// pixel, and the next rows read the same lines again: a band keeps them in the
// second-level cache between the two. Narrower bands measured slower.
constexpr int RotationBand = 960;

SPINDREL_DOUBLE_MATH void RotateRows(TBitmap& Frame, const TBitmap& Old, const TBitmap& Picture, int Progress,
                                     int PivotX, int PivotY, std::vector<std::int32_t>& Scratch)
{
    const int width = Frame.Width(), height = Frame.Height();
    const TRotation r = RotationAt(Progress);
    // Per column: the two products (two slots each) and a source offset; per row:
    // the run of columns whose sources lie inside the picture.
    const std::size_t w = static_cast<std::size_t>(width);
    Scratch.resize(5 * w + 2 * static_cast<std::size_t>(height));
    std::int32_t* const cosTable = Scratch.data();
    std::int32_t* const sinTable = cosTable + 2 * w;
    std::int32_t* const offsets = sinTable + 2 * w;
    std::int32_t* const runs = offsets + w;
    for (int x = 0; x < width; ++x) {
        const double c = (x - PivotX) * r.Cos, s = (x - PivotX) * r.Sin;
        std::memcpy(cosTable + 2 * static_cast<std::size_t>(x), &c, sizeof c);
        std::memcpy(sinTable + 2 * static_cast<std::size_t>(x), &s, sizeof s);
    }
    // Outside Progress 0..100 the sources need not be monotonic in x: every pixel is tested.
    const bool monotonic = r.Cos >= 0 && r.Sin >= 0;
    for (int y = 0; y < height; ++y) {
        const TRotatedRow row{cosTable, sinTable, (y - PivotY) * r.Sin, (y - PivotY) * r.Cos, PivotX, PivotY};
        std::uint8_t* const out = Frame.ScanLine(y);
        const std::uint8_t* const old = Old.ScanLine(y);
        if (!monotonic) {
            if (old != out)
                std::memcpy(out, old, w * 3);
            for (int x = 0; x < width; ++x) {
                const int sx = row.SourceX(x), sy = row.SourceY(x);
                if (static_cast<unsigned>(sx) < static_cast<unsigned>(width) &&
                    static_cast<unsigned>(sy) < static_cast<unsigned>(height))
                    std::memcpy(out + x * 3, Picture.ScanLine(sy) + sx * 3, 3);
            }
            continue;
        }
        // The columns whose sources lie inside the picture form one run.
        const int first = std::max(FirstReaching(row, false, 0, width), FirstReaching(row, true, 0, width));
        const int last =
            std::max(first, std::min(FirstReaching(row, false, width, width), FirstReaching(row, true, height, width)));
        if (old != out) {
            std::memcpy(out, old, static_cast<std::size_t>(first) * 3);
            std::memcpy(out + last * 3, old + last * 3, static_cast<std::size_t>(width - last) * 3);
        }
        runs[2 * y] = first;
        runs[2 * y + 1] = last;
    }
    if (!monotonic)
        return;
    const std::int32_t lastPixel = static_cast<std::int32_t>(Picture.ByteSize() - 3);
    for (int band = 0; band < width; band += RotationBand)
        for (int y = 0; y < height; ++y) {
            const int first = std::max(runs[2 * y], band), last = std::min(runs[2 * y + 1], band + RotationBand);
            if (first >= last)
                continue;
            const TRotatedRow row{cosTable, sinTable, (y - PivotY) * r.Sin, (y - PivotY) * r.Cos, PivotX, PivotY};
            SourceOffsets(row, first, last, Picture.Stride(), offsets);
            CopySources(Frame.ScanLine(y), Picture.Bits(), offsets, first, last, lastPixel);
        }
}

}  // namespace

void RotateBitmap(TBitmap& Frame, const TBitmap& Old, const TBitmap& Picture, int Progress, int PivotX, int PivotY,
                  std::vector<std::int32_t>& Columns)
{
    assert(Frame.Width() == Picture.Width() && Frame.Height() == Picture.Height() &&
           Old.Width() == Frame.Width() && Old.Height() == Frame.Height());
    if (!Frame.Empty())
        RotateRows(Frame, Old, Picture, Progress, PivotX, PivotY, Columns);
}

void RotateBitmap(TBitmap& Frame, const TBitmap& Picture, int Progress, int PivotX, int PivotY,
                  std::vector<std::int32_t>& Columns)
{
    RotateBitmap(Frame, Frame, Picture, Progress, PivotX, PivotY, Columns);
}

namespace {

// ---- Rectangle styles ---------------------------------------------------------
// A style's geometry along one axis: N is the picture's size on it (W or H), E
// the extent reached (X or Y).
struct TSpan {
    int Lo, Hi;
};

// How a single-part style treats one axis; each row of the table pairs two.
enum TAxisMode : std::int16_t {
    Full,           // D = S = (0, N)
    SqueezeHigh,    // D = (N - E, N)
    SqueezeLow,     // D = (0, E)
    SlideHigh,      // D = (N - E, 2N - E)
    SlideLow,       // D = (E - N, E)
    WipeLow,        // D = S = (0, E)
    WipeHigh,       // D = S = (N - E, N)
    ZoomLow,        // D = (0, 2N - E), S = (0, E)
    ZoomHigh,       // D = (E - N, N), S = (N - E, N)
    ZoomCentre,     // D = (E - N, 2N - E), S = ((N - E) div 2, (E + N) div 2)
    SqueezeCentre,  // D = ((N - E) div 2, (E + N) div 2)
    WipeCentre,     // D = S = ((N - E) div 2, (E + N) div 2)
};

void ApplyAxisMode(TAxisMode Mode, int N, int E, TSpan& D, TSpan& S)
{
    const TSpan centre{(N - E) / 2, (E + N) / 2};
    switch (Mode) {
    case Full: break;
    case SqueezeHigh: D.Lo = N - E; break;
    case SqueezeLow: D.Hi = E; break;
    case SlideHigh: D = {N - E, 2 * N - E}; break;
    case SlideLow: D = {E - N, E}; break;
    case WipeLow: D.Hi = S.Hi = E; break;
    case WipeHigh: D.Lo = S.Lo = N - E; break;
    case ZoomLow:
        D.Hi = 2 * N - E;
        S.Hi = E;
        break;
    case ZoomHigh:
        D.Lo = E - N;
        S.Lo = N - E;
        break;
    case ZoomCentre:
        D = {E - N, 2 * N - E};
        S = centre;
        break;
    case SqueezeCentre: D = centre; break;
    case WipeCentre: D = S = centre; break;
    }
}

// Args: the mode of the columns, the mode of the rows.
void SinglePart(TStyleFrame& F, const TStyleEntry& Self)
{
    TSpan dx{0, F.W}, sx{0, F.W}, dy{0, F.H}, sy{0, F.H};
    ApplyAxisMode(static_cast<TAxisMode>(Self.Args[0]), F.W, F.X, dx, sx);
    ApplyAxisMode(static_cast<TAxisMode>(Self.Args[1]), F.H, F.Y, dy, sy);
    F.D = {dx.Lo, dy.Lo, dx.Hi, dy.Hi};
    F.S = {sx.Lo, sy.Lo, sx.Hi, sy.Hi};
}

struct TPart {
    TRect D, S;
};

// Every part but the last is drawn now and reported; the last is left for the
// component's final drawing.
void DrawParts(TStyleFrame& F, std::initializer_list<TPart> Parts, bool MirrorX = false, bool MirrorY = false)
{
    const TPart* last = Parts.end() - 1;
    for (const TPart* part = Parts.begin(); part != last; ++part) {
        if (MirrorX || MirrorY)
            StretchMirrored(F.Frame, part->D, F.Picture, part->S, MirrorX, MirrorY);
        else
            StretchCopy(F.Frame, part->D, F.Picture, part->S);
        F.Host.InvalidatePictureArea(part->D);
    }
    F.D = last->D;
    F.S = last->S;
}

enum TAxis : std::int16_t { Horizontal, Vertical };

// The two-part styles work along one axis and keep the other whole.
struct TAxisView {
    TStyleFrame& F;
    bool Rows;
    int N() const { return Rows ? F.H : F.W; }
    int E() const { return Rows ? F.Y : F.X; }
    TRect Band(int Lo, int Hi) const { return Rows ? TRect{0, Lo, F.W, Hi} : TRect{Lo, 0, Hi, F.H}; }
};

// 12, 13, 29, 30. Args: axis, 1 when the two halves are squeezed rather than revealed.
void SplitEdges(TStyleFrame& F, const TStyleEntry& Self)
{
    const TAxisView a{F, Self.Args[0] == Vertical};
    const int n = a.N(), half = a.E() / 2, whole = n / 2;
    const TRect low = a.Band(0, half + 1), high = a.Band(n - half - 1, n);
    if (Self.Args[1])
        DrawParts(F, {{low, a.Band(0, whole + 1)}, {high, a.Band(whole, n)}});
    else
        DrawParts(F, {{low, low}, {high, high}});
}

// 14, 15, 31, 32. Args: axis, 1 when the wipe comes from the right or bottom.
void Fold(TStyleFrame& F, const TStyleEntry& Self)
{
    const TAxisView a{F, Self.Args[0] == Vertical};
    const int n = a.N(), e = a.E(), k = FoldWidth(n, e);
    const bool columns = !a.Rows;
    if (Self.Args[1]) {
        const int edge = n - e;
        DrawParts(F, {{a.Band(edge - k, edge), a.Band(edge - 2 * k, edge - k)}, {a.Band(edge, n), a.Band(edge, n)}},
                  columns, !columns);
    } else {
        DrawParts(F, {{a.Band(e, e + k), a.Band(e + k, e + 2 * k)}, {a.Band(0, e), a.Band(0, e)}}, columns,
                  !columns);
    }
}

// 16, 17, 33, 34. Args: axis, 1 when the wipe comes from the right or bottom.
void Smear(TStyleFrame& F, const TStyleEntry& Self)
{
    const TAxisView a{F, Self.Args[0] == Vertical};
    const int n = a.N(), e = a.E(), band = n / 20;
    if (Self.Args[1]) {
        const int edge = n - e;
        DrawParts(F, {{a.Band(edge, n), a.Band(edge, n)}, {a.Band(0, edge), a.Band(edge - band, edge)}});
    } else {
        DrawParts(F, {{a.Band(0, e), a.Band(0, e)}, {a.Band(e, n), a.Band(e, e + band)}});
    }
}

// 54: the four edges grow inwards.
void SplitFourEdges(TStyleFrame& F, const TStyleEntry&)
{
    const int hx = F.X / 2, hy = F.Y / 2;
    const TRect top{0, 0, F.W, hy}, bottom{0, F.H - hy, F.W, F.H}, left{0, 0, hx, F.H}, right{F.W - hx, 0, F.W, F.H};
    DrawParts(F, {{top, top}, {bottom, bottom}, {left, left}, {right, right}});
}

// 55: the four corners grow inwards, revealed in place.
void SplitCorners(TStyleFrame& F, const TStyleEntry&)
{
    const int W = F.W, H = F.H, hx = F.X / 2, hy = F.Y / 2;
    const TRect topLeft{0, 0, hx + 1, hy + 1}, bottomLeft{0, H - hy - 1, hx + 1, H},
        bottomRight{W - hx - 1, H - hy - 1, W, H}, topRight{W - hx - 1, 0, W, hy + 1};
    DrawParts(F, {{topLeft, topLeft}, {bottomLeft, bottomLeft}, {bottomRight, bottomRight}, {topRight, topRight}});
}

// 56: the picture's quarters squeezed into growing corners.
void SqueezeCorners(TStyleFrame& F, const TStyleEntry&)
{
    const int W = F.W, H = F.H, hx = F.X / 2, hy = F.Y / 2, hw = W / 2, hh = H / 2;
    DrawParts(F, {{{0, 0, hx + 1, hy + 1}, {0, 0, hw + 1, hh + 1}},
                  {{0, H - hy, hx + 1, H}, {0, hh + 1, hw + 1, H}},
                  {{W - hx, H - hy, W, H}, {hw + 1, hh + 1, W, H}},
                  {{W - hx, 0, W, hy + 1}, {hw + 1, 0, W, hh + 1}}});
}

// 57: each quarter slides in from its own side.
void Quarters(TStyleFrame& F, const TStyleEntry&)
{
    const int W = F.W, H = F.H, X = F.X, Y = F.Y, hx = X / 2, hy = Y / 2, hw = W / 2, hh = H / 2;
    DrawParts(F, {{{(X - W) / 2, 0, hx + 1, hh + 1}, {0, 0, hw + 1, hh + 1}},
                  {{hw - 1, (Y - H) / 2, W, hy + 1}, {hw - 1, 0, W, hh + 1}},
                  {{W - hx, hh - 1, W + (W - X) / 2, H}, {hw + 1, hh - 1, W, H}},
                  {{0, H - hy, hw + 1, H + (H - Y) / 2}, {0, hh + 1, hw + 1, H}}});
}

// ---- Pixel styles ---------------------------------------------------------------
// They read the old image from Old, which is the frame itself when it holds it.
void CrossFade(TStyleFrame& F, const TStyleEntry&, const TBitmap& Old)
{
    BlendBitmaps(F.Frame, Old, F.Picture, F.Progress);
}

// Args: 1 when the pivot's x is W rather than -1, 1 when its y is H rather than -1.
void Rotate(TStyleFrame& F, const TStyleEntry& Self, const TBitmap& Old)
{
    RotateBitmap(F.Frame, Old, F.Picture, F.Progress, Self.Args[0] ? F.W : -1, Self.Args[1] ? F.H : -1, F.Scratch);
}

template <void (*Style)(TStyleFrame&, const TStyleEntry&, const TBitmap&)>
void InFrame(TStyleFrame& F, const TStyleEntry& Self)
{
    Style(F, Self, F.Frame);
}

constexpr TStyleClass Rect = TStyleClass::Rectangle;
constexpr TStyleClass Pixel = TStyleClass::Pixel;
constexpr std::int16_t Low = 0, High = 1;

constexpr TStyleEntry Table[] = {
    {1, Rect, SinglePart, {SqueezeHigh, Full}},
    {2, Rect, SinglePart, {SqueezeLow, Full}},
    {3, Rect, SinglePart, {SlideHigh, Full}},
    {4, Rect, SinglePart, {SlideLow, Full}},
    {5, Rect, SinglePart, {WipeLow, Full}},
    {6, Rect, SinglePart, {WipeHigh, Full}},
    {7, Rect, SinglePart, {ZoomLow, Full}},
    {8, Rect, SinglePart, {ZoomHigh, Full}},
    {9, Rect, SinglePart, {ZoomCentre, Full}},
    {10, Rect, SinglePart, {SqueezeCentre, Full}},
    {11, Rect, SinglePart, {WipeCentre, Full}},
    {12, Rect, SplitEdges, {Horizontal, 0}},
    {13, Rect, SplitEdges, {Horizontal, 1}},
    {14, Rect, Fold, {Horizontal, Low}},
    {15, Rect, Fold, {Horizontal, High}},
    {16, Rect, Smear, {Horizontal, Low}},
    {17, Rect, Smear, {Horizontal, High}},
    {18, Rect, SinglePart, {Full, SqueezeHigh}},
    {19, Rect, SinglePart, {Full, SqueezeLow}},
    {20, Rect, SinglePart, {Full, SlideHigh}},
    {21, Rect, SinglePart, {Full, SlideLow}},
    {22, Rect, SinglePart, {Full, WipeLow}},
    {23, Rect, SinglePart, {Full, WipeHigh}},
    {24, Rect, SinglePart, {Full, ZoomLow}},
    {25, Rect, SinglePart, {Full, ZoomHigh}},
    {26, Rect, SinglePart, {Full, ZoomCentre}},
    {27, Rect, SinglePart, {Full, SqueezeCentre}},
    {28, Rect, SinglePart, {Full, WipeCentre}},
    {29, Rect, SplitEdges, {Vertical, 0}},
    {30, Rect, SplitEdges, {Vertical, 1}},
    {31, Rect, Fold, {Vertical, Low}},
    {32, Rect, Fold, {Vertical, High}},
    {33, Rect, Smear, {Vertical, Low}},
    {34, Rect, Smear, {Vertical, High}},
    {35, Rect, SinglePart, {SqueezeHigh, SqueezeHigh}},
    {36, Rect, SinglePart, {SqueezeHigh, SqueezeLow}},
    {37, Rect, SinglePart, {SqueezeLow, SqueezeLow}},
    {38, Rect, SinglePart, {SqueezeLow, SqueezeHigh}},
    {39, Rect, SinglePart, {SlideHigh, SlideHigh}},
    {40, Rect, SinglePart, {SlideHigh, SlideLow}},
    {41, Rect, SinglePart, {SlideLow, SlideLow}},
    {42, Rect, SinglePart, {SlideLow, SlideHigh}},
    {43, Rect, SinglePart, {WipeLow, WipeLow}},
    {44, Rect, SinglePart, {WipeLow, WipeHigh}},
    {45, Rect, SinglePart, {WipeHigh, WipeHigh}},
    {46, Rect, SinglePart, {WipeHigh, WipeLow}},
    {47, Rect, SinglePart, {ZoomLow, ZoomLow}},
    {48, Rect, SinglePart, {ZoomLow, ZoomHigh}},
    {49, Rect, SinglePart, {ZoomHigh, ZoomHigh}},
    {50, Rect, SinglePart, {ZoomHigh, ZoomLow}},
    {51, Rect, SinglePart, {ZoomCentre, ZoomCentre}},
    {52, Rect, SinglePart, {SqueezeCentre, SqueezeCentre}},
    {53, Rect, SinglePart, {WipeCentre, WipeCentre}},
    {54, Rect, SplitFourEdges, {}},
    {55, Rect, SplitCorners, {}},
    {56, Rect, SqueezeCorners, {}},
    {57, Rect, Quarters, {}},
    {118, Pixel, InFrame<CrossFade>, {}},
    {119, Pixel, InFrame<Rotate>, {Low, Low}},
    {120, Pixel, InFrame<Rotate>, {Low, High}},
    {121, Pixel, InFrame<Rotate>, {High, Low}},
    {122, Pixel, InFrame<Rotate>, {High, High}},
};
static_assert(std::size(Table) == 57 + 5, "one row for each of the styles 1..57 and 118..122");

constexpr bool InStyleOrder()
{
    for (std::size_t i = 0; i < std::size(Table); ++i)
        if (Table[i].Style != (i < 57 ? i + 1 : i - 57 + 118))
            return false;
    return true;
}
static_assert(InStyleOrder(), "rows in style order, none missing");

}  // namespace

std::span<const TStyleEntry> RectanglePixelStyles() { return Table; }

void ComposePixelStyle(TStyleFrame& Frame, const TStyleEntry& Entry, const TBitmap& Old)
{
    assert(Entry.Class == TStyleClass::Pixel);
    (Entry.Style == 118 ? CrossFade : Rotate)(Frame, Entry, Old);
}

}  // namespace spindrel
