// JPEG through libjpeg-turbo: baseline and progressive, greyscale, RGB, CMYK and
// YCCK; the EXIF orientation applied; reduced-scale decoding for a smaller target.
#pragma once

#include "platform/picture/Picture.h"

namespace spindrel {

// Decodes a JPEG (JFIF or EXIF) stream. With Options.TargetSize, decodes at the
// smallest of libjpeg's scales 1/8 .. 8/8 that is still at least the target.
// A stream that ends before the picture does is refused, not shown half grey.
TPictureResult ReadJpeg(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});

}  // namespace spindrel
