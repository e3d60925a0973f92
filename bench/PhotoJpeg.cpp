// The grain comes from a fixed linear congruential sequence, so every run encodes the same file.
#include "bench/PhotoJpeg.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace spindrel::bench {

const fixtures::TFileBytes& PhotoJpeg(int Width, int Height)
{
    static std::map<std::pair<int, int>, fixtures::TFileBytes> cache;
    auto& bytes = cache[{Width, Height}];
    if (bytes.empty()) {
        TBitmap picture(Width, Height);
        std::uint32_t noise = 12345;
        for (int y = 0; y < Height; ++y) {
            std::uint8_t* row = picture.ScanLine(y);
            for (int x = 0; x < Width; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int grain = static_cast<int>(noise >> 28) - 8;
                row[3 * x + 0] = static_cast<std::uint8_t>(std::clamp(x * 200 / Width + grain + 20, 0, 255));
                row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp(y * 220 / Height + grain, 0, 255));
                const int mixed = (x + y) * 255 / (Width + Height);
                row[3 * x + 2] = static_cast<std::uint8_t>(std::clamp(mixed + grain, 0, 255));
            }
        }
        bytes = fixtures::EncodeJpeg(picture, {.Quality = 90});
    }
    return bytes;
}

}  // namespace spindrel::bench
