// The pieces of the rectangle and pixel styles that tests and tools reach for:
// the fold strip, the mirrored copy, and the two per-pixel composers.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/Bitmap.h"

// The i686 build would otherwise compute in the x87 unit's longer format, so that
// a product rounded on a store and one kept in a register could round apart. SSE2
// gives plain double arithmetic in both builds.
#if defined(__GNUC__) && defined(__i386__)
#define SPINDREL_DOUBLE_MATH __attribute__((target("sse2,fpmath=sse")))
#else
#define SPINDREL_DOUBLE_MATH
#endif

namespace spindrel {

struct TStyleEntry;
struct TStyleFrame;

// Width of the mirrored strip of a fold style along an axis of size Size whose
// wipe has reached Extent.
int FoldWidth(int Size, int Extent);

// Copies Src (first cut to the picture) mirrored onto Dest: a horizontal mirror
// makes Dest run from its old right + 1 down to its old left - 1, a vertical one
// likewise from bottom + 1 to top - 1.
void StretchMirrored(TBitmap& Frame, const TRect& Dest, const TBitmap& Picture, const TRect& Src,
                     bool Horizontally, bool Vertically);

// Style 118: each colour byte becomes old * (100 - Progress) div 100 + new * Progress div 100,
// old read from Old, which may be Frame itself; without Old, from Frame.
void BlendBitmaps(TBitmap& Frame, const TBitmap& Old, const TBitmap& Picture, int Progress);
void BlendBitmaps(TBitmap& Frame, const TBitmap& Picture, int Progress);

// cos and sin of the rotation angle (100 - Progress) * pi / 200.
struct TRotation {
    double Cos, Sin;
};
SPINDREL_DOUBLE_MATH TRotation RotationAt(int Progress);

// Styles 119..122: frame pixel (x, y) takes the picture's pixel at the rotated
// position about (PivotX, PivotY) or, when that lies outside, pixel (x, y) of Old,
// which may be Frame itself; without Old it keeps its own. Columns keeps per-frame
// tables between calls.
void RotateBitmap(TBitmap& Frame, const TBitmap& Old, const TBitmap& Picture, int Progress, int PivotX, int PivotY,
                  std::vector<std::int32_t>& Columns);
void RotateBitmap(TBitmap& Frame, const TBitmap& Picture, int Progress, int PivotX, int PivotY,
                  std::vector<std::int32_t>& Columns);

// One frame of a pixel style with the old image read from Old: Frame.Frame need
// not hold it, as these styles write every pixel.
void ComposePixelStyle(TStyleFrame& Frame, const TStyleEntry& Entry, const TBitmap& Old);

}  // namespace spindrel
