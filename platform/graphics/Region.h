// Regions: sets of pixels built from rectangles, rounded rectangles and
// winding-fill polygons, combined by union, intersection and symmetric
// difference, and used as a clip when drawing. Our stand-in for GDI regions.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/graphics/Bitmap.h"

namespace spindrel {

// A region is held y-x banded: a list of bands, each a run of rows [Top, Bottom)
// sharing one list of x spans [Left, Right). Settled bands are sorted by Top,
// never overlap, and two bands that touch always differ in their spans; the
// spans of a band are sorted and neither overlap nor touch. So each pixel set
// has exactly one form, and a lookup is two binary searches.
//
//     x:   0    5    10   15
//     y 0  ..##########....      band [0, 2): [2, 12)
//     y 1  ..##########....
//     y 2  ..#####.....####      band [2, 3): [2, 7) [12, 16)
//     y 3  .......#########      band [3, 5): [7, 16)
//     y 4  .......#########
//
// Pieces added by union are first queued as rectangles and settled by one sweep
// when the region is next read, so adding thousands of pieces costs about what
// sorting them costs, not the square of their number. All storage is kept by
// Clear(), so a region rebuilt every frame stops allocating once warmed up.
class TRegion {
public:
    TRegion();
    ~TRegion();
    TRegion(const TRegion&);
    TRegion& operator=(const TRegion&);

    // Empties the region; its storage is kept for the next frame.
    void Clear();
    bool Empty() const;
    bool Contains(int X, int Y) const;

    // Each adds its shape by union.
    // Swapped corners are put in order first, as CreateRectRgn does.
    void AddRect(const TRect& R);
    // The rectangle with corners rounded by an ellipse EllipseWidth by EllipseHeight,
    // the pixels GDI's CreateRoundRectRgn would give.
    void AddRoundRect(const TRect& R, int EllipseWidth, int EllipseHeight);
    // The closed polygon, winding fill, as CreatePolygonRgn(WINDING) would give.
    void AddPolygon(std::span<const TPoint> Points);

    void Union(const TRegion& Other);
    void Intersect(const TRegion& Other);
    void Xor(const TRegion& Other);

    struct TSpan {
        int Left, Right;
        friend bool operator==(const TSpan&, const TSpan&) = default;
    };
    struct TBand {
        int Top, Bottom;
        std::uint32_t First, End;  // its spans in the span list
    };
    // The settled bands and their spans, for drawing and for checks.
    std::span<const TBand> Bands() const;
    std::span<const TSpan> Spans() const;

private:
    // Settles the queued pieces. Reading a region settles it, so the settled
    // form is mutable: the pixel set does not change, only how it is held.
    void Settle() const;
    void SweepPending() const;
    // Replaces the settled form by Rule(this, Other) pixel by pixel.
    void Combine(std::span<const TBand> Bands, std::span<const TSpan> Spans, bool (*Rule)(bool, bool)) const;

    mutable std::vector<TBand> FBands;
    mutable std::vector<TSpan> FSpans;
    mutable std::vector<TRect> FPending;
    // Scratch kept between calls: the swept pieces, the result being built, the
    // sweep's active pieces and its row edges, the rows of a rounded rectangle,
    // the crossings of a polygon.
    mutable std::vector<TBand> FSweepBands, FNewBands;
    mutable std::vector<TSpan> FSweepSpans, FNewSpans;
    mutable std::vector<TRect> FActive, FEntering, FMerged;
    mutable std::vector<int> FEdges;
    struct TCrossing {
        int X;
        int Direction;
    };
    std::vector<int> FInsets;
    std::vector<TCrossing> FCrossings;
};

// Draws Source with its top-left corner at (0, 0) onto Target, only where Clip holds pixels.
void DrawThroughRegion(TBitmap& Target, const TBitmap& Source, const TRegion& Clip);

}  // namespace spindrel
