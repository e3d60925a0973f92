// Writing the tool's pictures: BMP or PNG, chosen by the file's extension.
#pragma once

#include <string>

#include "platform/graphics/Bitmap.h"

namespace spindrel::render {

// Throws std::runtime_error naming the file when it cannot be written.
void WriteImageFile(const std::string& FileName, const TBitmap& Picture);

// "WxH" as two positive numbers; throws std::runtime_error otherwise.
void ParseSize(const std::string& Text, int& Width, int& Height);

}  // namespace spindrel::render
