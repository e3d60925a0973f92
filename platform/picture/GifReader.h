// GIF through giflib: the first frame, drawn on the logical screen.
#pragma once

#include "platform/picture/Picture.h"

namespace spindrel {

// The first image of the file at its place on the logical screen (grown to hold
// the frame if the screen is smaller); the rest of the screen and transparent
// pixels are black. Later frames are not read.
TPictureResult ReadGif(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});

}  // namespace spindrel
