// Linear resampling of a whole picture into another size: the once-per-slide
// scaling of pictures, as against the nearest-neighbour StretchCopy of the frames.
#pragma once

#include "platform/graphics/Bitmap.h"

namespace spindrel {

// Resamples all of Source into all of Target, keeping Target's size. Enlarging
// is bilinear; shrinking widens the same triangle filter to the source footprint
// of each target pixel, so detail averages rather than aliases. Equal sizes copy
// exactly. An empty Source leaves Target black.
void StretchPicture(const TBitmap& Source, TBitmap& Target);

}  // namespace spindrel
