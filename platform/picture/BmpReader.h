// Our own reader of Windows bitmap files (.bmp, .dib, .rle): 1, 4, 8, 16, 24 and
// 32 bits a pixel, RLE4 and RLE8, bit-field masks, bottom-up and top-down rows.
#pragma once

#include "platform/picture/Picture.h"

namespace spindrel {

// Decodes a whole bitmap file. Pixels an RLE delta skips stay black; an alpha
// mask that is not zero everywhere is composed on black.
TPictureResult ReadBmp(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});

}  // namespace spindrel
