// A slide's picture loaded and sized for the screen in one pass: with the fit
// rule the JPEG decodes at a reduced scale and is resampled as its rows arrive.
#pragma once

#include <string>

#include "platform/picture/Picture.h"

namespace spindrel {

// Loads FileName with the general picture loader into Sized: with EnlargeFit
// resampled to the FitRect target of the screen, otherwise at its own size.
// Sized is left alone when the result is not Ok.
TPictureResult LoadSlidePicture(const std::string& FileName, int ScreenWidth, int ScreenHeight, bool EnlargeFit,
                                TBitmap& Sized);

// The same for bytes already in memory (an archive member), by the reader of Extension.
TPictureResult DecodeSlidePicture(TBytes Data, const std::string& Extension, int ScreenWidth, int ScreenHeight,
                                  bool EnlargeFit, TBitmap& Sized);

}  // namespace spindrel
