// The size check every reader runs before it allocates.
#include "platform/picture/Picture.h"

#include <algorithm>

namespace spindrel {

TPictureResult CheckPictureSize(const char* Format, std::int64_t Width, std::int64_t Height,
                                const TDecodeOptions& Options)
{
    const std::string size = std::to_string(Width) + " x " + std::to_string(Height);
    if (Width <= 0 || Height <= 0)
        return PictureFailure(TPictureStatus::Malformed, std::string(Format) + ": impossible picture size " + size);
    if (Width > MaxPictureSide || Height > MaxPictureSide)
        return PictureFailure(TPictureStatus::TooLarge, std::string(Format) + ": picture of " + size +
                                                            " pixels is more than 30000 pixels a side");
    const std::int64_t limit = std::min(Options.MaxPixels, MaxPicturePixels);
    if (Width * Height > limit)
        return PictureFailure(TPictureStatus::TooLarge, std::string(Format) + ": picture of " + size +
                                                            " pixels is more than " + std::to_string(limit / 1000000) +
                                                            " megapixels");
    return TPictureResult::Success();
}

void ThrowIfFailed(const TPictureResult& Result)
{
    if (!Result.Ok())
        throw EPictureError(Result.Status, Result.Message);
}

}  // namespace spindrel
