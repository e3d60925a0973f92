// PNG through libpng: every colour type and depth, interlaced or not, with any
// transparency composed on black.
#pragma once

#include "platform/picture/Picture.h"

namespace spindrel {

// 16-bit samples are rounded to 8 bits; the gamma chunk is not applied, so the
// pixels are the stored values (as other viewers show them).
TPictureResult ReadPng(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});

}  // namespace spindrel
