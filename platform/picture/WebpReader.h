// WebP through libwebp's decoder: lossy and lossless still pictures, alpha
// composed on black. Animations are refused.
#pragma once

#include "platform/picture/Picture.h"

namespace spindrel {

TPictureResult ReadWebp(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});

}  // namespace spindrel
