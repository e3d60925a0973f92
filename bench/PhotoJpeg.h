// Camera-sized JPEG files for the picture benchmarks, made once per size.
#pragma once

#include "tests/PictureFixtures.h"

namespace spindrel::bench {

// A photo-like picture, smooth light with fine grain, so the JPEG has a camera's size.
const fixtures::TFileBytes& PhotoJpeg(int Width, int Height);

}  // namespace spindrel::bench
