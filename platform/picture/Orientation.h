// The EXIF orientation tag: finding it in a JPEG's APP1 block, and turning the
// decoded rows upright, because phones store their photos sideways and say so there.
#pragma once

#include "platform/picture/Picture.h"

namespace spindrel {

// The orientation (1..8) of the TIFF-structured EXIF block that starts with
// "Exif\0\0"; 1 when there is no valid tag.
int ExifOrientation(TBytes App1);

// True when the orientation swaps width and height (5 to 8).
inline bool SwapsAxes(int Orientation) { return Orientation >= 5 && Orientation <= 8; }

// Picture as the stored rows, returned upright for orientation 1 to 8
// (2 mirror, 3 half turn, 4 flip, 5 transpose, 6 quarter turn clockwise,
// 7 transverse, 8 quarter turn anticlockwise). Other values leave it.
void ApplyOrientation(TBitmap& Picture, int Orientation);

}  // namespace spindrel
