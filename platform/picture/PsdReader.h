// Our own small reader of the composite (flattened) picture that layered image
// files carry after their layers: 8 and 16 bits; greyscale, duotone, indexed,
// RGB and CMYK; raw or PackBits-compressed. Layers themselves are never read.
#pragma once

#include "platform/picture/Picture.h"

namespace spindrel {

// Channels beyond the colour channels (alpha, spot colours) are ignored.
TPictureResult ReadPsd(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});

}  // namespace spindrel
