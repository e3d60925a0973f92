// Frames of a transition composed headless, as the show composes them: the old
// picture shown first, then a manual run of one style to the new picture.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/graphics/Bitmap.h"

namespace spindrel::render {

struct TFrameRequest {
    int Style = 51;
    int Step = 4;  // also sets the band margin J
    std::uint32_t Seed = 1;
};

// Calls Frame with the frame at each progress value of Progresses, in order.
void ComposeFrames(const TBitmap& Old, const TBitmap& New, const TFrameRequest& Request,
                   const std::vector<int>& Progresses, const std::function<void(int, const TBitmap&)>& Frame);

}  // namespace spindrel::render
