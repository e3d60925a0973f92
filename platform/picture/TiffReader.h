// TIFF through libtiff: the first directory, any photometric interpretation and
// compression libtiff reads (uncompressed, LZW, deflate, PackBits, JPEG...).
#pragma once

#include "platform/picture/Picture.h"

namespace spindrel {

// Alpha is composed on black (libtiff premultiplies unassociated alpha); 16-bit
// samples keep their high byte.
TPictureResult ReadTiff(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});

}  // namespace spindrel
