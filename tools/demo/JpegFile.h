// Writing a demo picture as a JPEG file.
#pragma once

#include <filesystem>

#include "tools/demo/DemoCanvas.h"

namespace spindrel::demo {

// False when the file cannot be written.
bool WriteJpeg(const std::filesystem::path& File, const TCanvas& Canvas, int Quality = 90);

}  // namespace spindrel::demo
