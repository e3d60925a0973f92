// A 5 x 7 pixel font of printable ASCII with two rows of descenders, and the
// coverage mask of a text set in it, scaled up and smoothed.
#pragma once

#include <string_view>

#include "tools/demo/DemoCanvas.h"

namespace spindrel::demo {

// Width in pixels of Text set with each font pixel Scale pixels wide.
int TextWidth(std::string_view Text, int Scale);

// The text with its top-left corner (cap height above the baseline) at (Left, Top). Font pixels
// become Scale x Scale blocks; a blur and a steep threshold then round their corners and give
// diagonals smooth edges. Characters the font lacks are left out.
TMask TextMask(std::string_view Text, int Scale, int Left, int Top);

}  // namespace spindrel::demo
