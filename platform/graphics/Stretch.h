// Scaled copies: the platform's stretch block transfer with the plain source-copy
// operation, nearest neighbour, as GDI's StretchBlt does it for 24-bit bitmaps.
#pragma once

#include "platform/graphics/Bitmap.h"

namespace spindrel {

// Copies the Src rectangle of Source onto the Dest rectangle of Target, stretching
// or shrinking. A negative width or height of Dest (Right < Left, Bottom < Top)
// mirrors the copy. Only the part of Dest inside Target is drawn.
// Target and Source must be different bitmaps. A mirrored Dest copies as the
// system does only while Src lies inside Source (StretchMirrored cuts it first).
void StretchCopy(TBitmap& Target, const TRect& Dest, const TBitmap& Source, const TRect& Src);

}  // namespace spindrel
