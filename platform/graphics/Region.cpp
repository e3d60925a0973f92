// Banded regions: the sweep that settles queued pieces, the band-by-band boolean
// operations, GDI's rounded-rectangle and polygon pixel rules, and the clipped copy.
#include "platform/graphics/Region.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace spindrel {

namespace {

using TBand = TRegion::TBand;
using TSpan = TRegion::TSpan;

// Ends a band whose spans were appended from First on: dropped when it has no
// spans, folded into the band above when that one touches it and has the same spans.
void PushBand(std::vector<TBand>& Bands, std::vector<TSpan>& Spans, int Top, int Bottom, std::uint32_t First)
{
    const auto end = static_cast<std::uint32_t>(Spans.size());
    if (First == end)
        return;
    if (!Bands.empty()) {
        TBand& above = Bands.back();
        if (above.Bottom == Top && above.End - above.First == end - First &&
            std::equal(Spans.begin() + above.First, Spans.begin() + above.End, Spans.begin() + First)) {
            above.Bottom = Bottom;
            Spans.resize(First);
            return;
        }
    }
    Bands.push_back({Top, Bottom, First, end});
}

bool Either(bool A, bool B) { return A || B; }
bool Both(bool A, bool B) { return A && B; }
bool OnlyOne(bool A, bool B) { return A != B; }

// Appends the spans where Rule holds for the two sorted span lists; the
// edges of each list strictly increase, so one merged walk over them does it.
void CombineSpans(std::span<const TSpan> A, std::span<const TSpan> B, bool (*Rule)(bool, bool),
                  std::vector<TSpan>& Out)
{
    const std::size_t edgesA = A.size() * 2, edgesB = B.size() * 2;
    auto edgeOf = [](std::span<const TSpan> Spans, std::size_t E) {
        return E & 1 ? Spans[E / 2].Right : Spans[E / 2].Left;
    };
    std::size_t i = 0, j = 0;
    bool inA = false, inB = false, inside = false;
    int start = 0;
    while (i < edgesA || j < edgesB) {
        const int x = std::min(i < edgesA ? edgeOf(A, i) : INT_MAX, j < edgesB ? edgeOf(B, j) : INT_MAX);
        if (i < edgesA && edgeOf(A, i) == x) {
            inA = !inA;
            ++i;
        }
        if (j < edgesB && edgeOf(B, j) == x) {
            inB = !inB;
            ++j;
        }
        const bool now = Rule(inA, inB);
        if (now == inside)
            continue;
        if (now)
            start = x;
        else
            Out.push_back({start, x});
        inside = now;
    }
}

// The banded result of Rule on two banded regions: every row interval where
// neither changes is combined once.
void CombineBands(std::span<const TBand> A, std::span<const TSpan> SpansA, std::span<const TBand> B,
                  std::span<const TSpan> SpansB, bool (*Rule)(bool, bool), std::vector<TBand>& Bands,
                  std::vector<TSpan>& Spans)
{
    Bands.clear();
    Spans.clear();
    std::size_t ia = 0, ib = 0;
    int y = INT_MIN;
    for (;;) {
        while (ia < A.size() && A[ia].Bottom <= y)
            ++ia;
        while (ib < B.size() && B[ib].Bottom <= y)
            ++ib;
        if (ia == A.size() && ib == B.size())
            break;
        int top = INT_MAX;
        if (ia < A.size())
            top = std::min(top, std::max(y, A[ia].Top));
        if (ib < B.size())
            top = std::min(top, std::max(y, B[ib].Top));
        const bool inA = ia < A.size() && A[ia].Top <= top;
        const bool inB = ib < B.size() && B[ib].Top <= top;
        int bottom = INT_MAX;
        if (ia < A.size())
            bottom = std::min(bottom, inA ? A[ia].Bottom : A[ia].Top);
        if (ib < B.size())
            bottom = std::min(bottom, inB ? B[ib].Bottom : B[ib].Top);
        std::span<const TSpan> rowA, rowB;
        if (inA)
            rowA = SpansA.subspan(A[ia].First, A[ia].End - A[ia].First);
        if (inB)
            rowB = SpansB.subspan(B[ib].First, B[ib].End - B[ib].First);
        const auto first = static_cast<std::uint32_t>(Spans.size());
        CombineSpans(rowA, rowB, Rule, Spans);
        PushBand(Bands, Spans, top, bottom, first);
        y = bottom;
    }
}

// Ceiling of N / D for D > 0.
long long CeilDiv(long long N, long long D) { return N >= 0 ? (N + D - 1) / D : -(-N / D); }

}  // namespace

TRegion::TRegion() = default;
TRegion::~TRegion() = default;
// A copy takes the pixels, not the scratch.
TRegion::TRegion(const TRegion& Other) : FBands(Other.FBands), FSpans(Other.FSpans), FPending(Other.FPending) {}

TRegion& TRegion::operator=(const TRegion& Other)
{
    FBands = Other.FBands;
    FSpans = Other.FSpans;
    FPending = Other.FPending;
    return *this;
}

void TRegion::Clear()
{
    FBands.clear();
    FSpans.clear();
    FPending.clear();
}

bool TRegion::Empty() const
{
    Settle();
    return FBands.empty();
}

bool TRegion::Contains(int X, int Y) const
{
    Settle();
    auto band = std::upper_bound(FBands.begin(), FBands.end(), Y, [](int V, const TBand& B) { return V < B.Top; });
    if (band == FBands.begin() || Y >= (--band)->Bottom)
        return false;
    const auto first = FSpans.begin() + band->First, end = FSpans.begin() + band->End;
    auto span = std::upper_bound(first, end, X, [](int V, const TSpan& S) { return V < S.Left; });
    return span != first && X < (--span)->Right;
}

std::span<const TRegion::TBand> TRegion::Bands() const
{
    Settle();
    return FBands;
}

std::span<const TRegion::TSpan> TRegion::Spans() const
{
    Settle();
    return FSpans;
}

void TRegion::AddRect(const TRect& R)
{
    const TRect ordered{std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
                        std::max(R.Top, R.Bottom)};
    if (!IsEmpty(ordered))
        FPending.push_back(ordered);
}

// GDI's rule, checked against it under Wine: the corners are put in order, the
// right and bottom edges move in by one pixel (so a rounded rectangle is a pixel
// narrower and shorter than its rectangle, and one of zero width becomes a
// one-pixel column left of it), each ellipse axis is cut to that smaller size,
// an axis below 2 leaves a plain rectangle, and the corner curves are the rows
// of a midpoint ellipse of EllipseWidth - 1 by EllipseHeight - 1, the middle row
// stretched over the straight sides.
void TRegion::AddRoundRect(const TRect& R, int EllipseWidth, int EllipseHeight)
{
    const int left = std::min(R.Left, R.Right), top = std::min(R.Top, R.Bottom);
    const int right = std::max(R.Left, R.Right) - 1, bottom = std::max(R.Top, R.Bottom) - 1;
    const int width = static_cast<int>(std::min<long long>(right - left, std::llabs(EllipseWidth)));
    const int height = static_cast<int>(std::min<long long>(bottom - top, std::llabs(EllipseHeight)));
    if (width < 2 || height < 2) {
        AddRect({left, top, right, bottom});
        return;
    }
    // Insets of the rows of the lower half, found by stepping the ellipse from
    // its widest row outward (a midpoint walk with exact 64-bit error terms).
    FInsets.assign(static_cast<std::size_t>(height), 0);
    const long long a = width - 1, b = height - 1;
    const long long aSquared8 = 8 * a * a, bSquared8 = 8 * b * b;
    long long dx = 4 * b * b * (1 - a), dy = 4 * a * a * (1 + b % 2);
    long long error = dx + dy + a * a * (b % 2);
    int x = 0, y = height / 2;
    while (x <= width / 2) {
        const long long twice = 2 * error;
        if (twice >= dx) {
            ++x;
            error += dx += bSquared8;
        }
        if (twice <= dy) {
            ++y;
            error += dy += aSquared8;
            if (y < height)
                FInsets[static_cast<std::size_t>(y)] = x;
        }
    }
    // The walk stops once it passes half the width, which for an ellipse at least
    // twice as tall as the square of its width less one is before the last rows
    // (GDI under Wine then leaves them unset); they keep the last inset reached.
    const int last = FInsets[static_cast<std::size_t>(std::min(y, height - 1))];
    for (int row = y + 1; row < height; ++row)
        FInsets[static_cast<std::size_t>(row)] = last;
    const int half = height / 2;
    for (int i = 0; i < half; ++i) {
        const int inset = FInsets[static_cast<std::size_t>(b - i)];
        AddRect({left + inset, top + i, right - inset, top + i + 1});
    }
    AddRect({left, top + half, right, bottom - height + half + 1});
    for (int i = half + 1; i < height; ++i) {
        const int inset = FInsets[static_cast<std::size_t>(i)];
        AddRect({left + inset, bottom - height + i, right - inset, bottom - height + i + 1});
    }
}

// GDI's scan conversion: row y is sampled on the line y itself, an edge counts
// on the rows from its upper end up to but not including its lower end, and
// where it crosses a row the x is rounded up. Horizontal edges count on no row.
// So a pixel is inside when its top-left corner is inside, corners on a left or
// top edge counting in and on a right or bottom edge out.
void TRegion::AddPolygon(std::span<const TPoint> Points)
{
    if (Points.size() < 2)
        return;
    int minY = INT_MAX, maxY = INT_MIN;
    for (const TPoint& p : Points) {
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    const std::size_t count = Points.size();
    for (int y = minY; y < maxY; ++y) {
        FCrossings.clear();
        for (std::size_t i = 0; i < count; ++i) {
            const TPoint& from = Points[i];
            const TPoint& to = Points[(i + 1) % count];
            if (from.Y == to.Y)
                continue;
            const bool down = from.Y < to.Y;
            const TPoint& upper = down ? from : to;
            const TPoint& lower = down ? to : from;
            if (y < upper.Y || y >= lower.Y)
                continue;
            const long long x = upper.X + CeilDiv(static_cast<long long>(y - upper.Y) * (lower.X - upper.X),
                                                  lower.Y - upper.Y);
            FCrossings.push_back({static_cast<int>(x), down ? 1 : -1});
        }
        std::sort(FCrossings.begin(), FCrossings.end(),
                  [](const TCrossing& A, const TCrossing& B) { return A.X < B.X; });
        int winding = 0, start = 0;
        for (const TCrossing& c : FCrossings) {
            const int before = winding;
            winding += c.Direction;
            if (before == 0 && winding != 0)
                start = c.X;
            else if (before != 0 && winding == 0 && c.X > start)
                FPending.push_back({start, y, c.X, y + 1});
        }
    }
}

void TRegion::Union(const TRegion& Other)
{
    if (&Other == this)
        return;
    Other.Settle();
    if (FBands.empty() && FPending.empty()) {
        FBands = Other.FBands;
        FSpans = Other.FSpans;
        return;
    }
    Settle();
    Combine(Other.FBands, Other.FSpans, Either);
}

void TRegion::Intersect(const TRegion& Other)
{
    if (&Other == this)
        return;
    Settle();
    Other.Settle();
    Combine(Other.FBands, Other.FSpans, Both);
}

void TRegion::Xor(const TRegion& Other)
{
    if (&Other == this) {
        Clear();
        return;
    }
    Settle();
    Other.Settle();
    Combine(Other.FBands, Other.FSpans, OnlyOne);
}

void TRegion::Combine(std::span<const TBand> Bands, std::span<const TSpan> Spans, bool (*Rule)(bool, bool)) const
{
    CombineBands(FBands, FSpans, Bands, Spans, Rule, FNewBands, FNewSpans);
    FBands.swap(FNewBands);
    FSpans.swap(FNewSpans);
}

void TRegion::Settle() const
{
    if (FPending.empty())
        return;
    SweepPending();
    FPending.clear();
    if (FBands.empty()) {
        FBands.swap(FSweepBands);
        FSpans.swap(FSweepSpans);
        return;
    }
    Combine(FSweepBands, FSweepSpans, Either);
}

// The union of the queued rectangles, swept from top to bottom: between two
// consecutive row edges the same rectangles are active, kept sorted by their
// left edge, so each band is one linear merge of their x ranges.
void TRegion::SweepPending() const
{
    FSweepBands.clear();
    FSweepSpans.clear();
    std::sort(FPending.begin(), FPending.end(), [](const TRect& A, const TRect& B) { return A.Top < B.Top; });
    FEdges.clear();
    for (const TRect& r : FPending) {
        FEdges.push_back(r.Top);
        FEdges.push_back(r.Bottom);
    }
    std::sort(FEdges.begin(), FEdges.end());
    FEdges.erase(std::unique(FEdges.begin(), FEdges.end()), FEdges.end());

    auto byLeft = [](const TRect& A, const TRect& B) { return A.Left < B.Left; };
    FActive.clear();
    std::size_t next = 0;
    for (std::size_t k = 0; k + 1 < FEdges.size(); ++k) {
        const int top = FEdges[k], bottom = FEdges[k + 1];
        std::erase_if(FActive, [top](const TRect& R) { return R.Bottom <= top; });
        if (next < FPending.size() && FPending[next].Top == top) {
            FEntering.clear();
            while (next < FPending.size() && FPending[next].Top == top)
                FEntering.push_back(FPending[next++]);
            std::sort(FEntering.begin(), FEntering.end(), byLeft);
            FMerged.resize(FActive.size() + FEntering.size());
            std::merge(FActive.begin(), FActive.end(), FEntering.begin(), FEntering.end(), FMerged.begin(), byLeft);
            FActive.swap(FMerged);
        }
        if (FActive.empty())
            continue;
        const auto first = static_cast<std::uint32_t>(FSweepSpans.size());
        TSpan run{FActive.front().Left, FActive.front().Right};
        for (const TRect& r : FActive) {
            if (r.Left <= run.Right) {
                run.Right = std::max(run.Right, r.Right);
                continue;
            }
            FSweepSpans.push_back(run);
            run = {r.Left, r.Right};
        }
        FSweepSpans.push_back(run);
        PushBand(FSweepBands, FSweepSpans, top, bottom, first);
    }
}

void DrawThroughRegion(TBitmap& Target, const TBitmap& Source, const TRegion& Clip)
{
    const int width = std::min(Target.Width(), Source.Width());
    const int height = std::min(Target.Height(), Source.Height());
    const auto spans = Clip.Spans();
    for (const TRegion::TBand& band : Clip.Bands()) {
        const int top = std::max(band.Top, 0), bottom = std::min(band.Bottom, height);
        for (int y = top; y < bottom; ++y) {
            std::uint8_t* target = Target.ScanLine(y);
            const std::uint8_t* source = Source.ScanLine(y);
            for (std::uint32_t s = band.First; s < band.End; ++s) {
                const int left = std::max(spans[s].Left, 0), right = std::min(spans[s].Right, width);
                if (left < right)
                    std::memcpy(target + left * 3, source + left * 3, static_cast<std::size_t>(right - left) * 3);
            }
        }
    }
}

}  // namespace spindrel
