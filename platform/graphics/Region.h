// Regions: sets of pixels built from rectangles, rounded rectangles and
// winding-fill polygons, combined by union, intersection and symmetric
// difference, and used as a clip when drawing. Our stand-in for GDI regions.
#pragma once

#include <span>

#include "platform/graphics/Bitmap.h"

namespace spindrel {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

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
    void AddRect(const TRect& R);
    // The rectangle with corners rounded by an ellipse EllipseWidth by EllipseHeight,
    // the pixels GDI's CreateRoundRectRgn would give.
    void AddRoundRect(const TRect& R, int EllipseWidth, int EllipseHeight);
    // The closed polygon, winding fill, as CreatePolygonRgn(WINDING) would give.
    void AddPolygon(std::span<const TPoint> Points);

    void Union(const TRegion& Other);
    void Intersect(const TRegion& Other);
    void Xor(const TRegion& Other);

private:
    struct TImpl;
    TImpl* FImpl;
};

// Draws Source with its top-left corner at (0, 0) onto Target, only where Clip holds pixels.
void DrawThroughRegion(TBitmap& Target, const TBitmap& Source, const TRegion& Clip);

}  // namespace spindrel
