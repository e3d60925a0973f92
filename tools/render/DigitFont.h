// A 3 x 5 pixel font of the ten digits, for labelling contact-sheet cells.
#pragma once

#include <string>

#include "platform/graphics/Bitmap.h"

namespace spindrel::render {

// Draws Text (digits only) with its top-left corner at (X, Y), each font pixel Scale pixels wide.
void DrawDigits(TBitmap& Target, int X, int Y, const std::string& Text, int Scale, TColor Color);

}  // namespace spindrel::render
