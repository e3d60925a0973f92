// Golden checksums of composed frames: every style at Progress 0, 50 and 100,
// from a textured old picture to a textured new one of 37 x 23 pixels (rows of
// 111 bytes, so the row padding is exercised), the random styles seeded.
// After an intended change of a style, print the new table with
//   SPINDREL_PRINT_GOLDEN=1 build/tests/spindrel_tests --gtest_filter='TransitionGolden.*'
// and put its lines in tests/TransitionGolden.inc.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "tools/render/TransitionFrames.h"

using namespace spindrel;

namespace {

TBitmap Texture(int Width, int Height, int Seed)
{
    TBitmap picture(Width, Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            picture.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x * 11 + Seed), static_cast<std::uint8_t>(y * 13 + Seed),
                                       static_cast<std::uint8_t>((x * y + Seed) * 7)));
    return picture;
}

std::uint64_t Checksum(const TBitmap& Frame)
{
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a over the pixel bytes, padding left out
    for (int y = 0; y < Frame.Height(); ++y)
        for (int i = 0; i < Frame.Width() * 3; ++i)
            hash = (hash ^ Frame.ScanLine(y)[i]) * 1099511628211ull;
    return hash;
}

// The frames of one style at Progress 0, 50 and 100, composed as the render tool does.
std::array<std::uint64_t, 3> StyleChecksums(int Style)
{
    std::array<std::uint64_t, 3> sums{};
    render::ComposeFrames(Texture(37, 23, 5), Texture(37, 23, 101), {Style, 4, 20261211}, {0, 50, 100},
                          [&](int Progress, const TBitmap& Frame) { sums[Progress / 50] = Checksum(Frame); });
    return sums;
}

const std::uint64_t Golden[128][3] = {
#include "tests/TransitionGolden.inc"
};

TEST(TransitionGolden, EveryStyleComposesItsKnownFrames)
{
    const bool print = std::getenv("SPINDREL_PRINT_GOLDEN") != nullptr;
    for (int style = 0; style < 128; ++style) {
        const auto sums = StyleChecksums(style);
        if (print)
            std::printf("    {0x%016" PRIx64 "ull, 0x%016" PRIx64 "ull, 0x%016" PRIx64 "ull},  // %d\n", sums[0], sums[1],
                        sums[2], style);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(sums[static_cast<std::size_t>(i)], Golden[style][i])
                << "style " << style << " at Progress " << i * 50;
    }
    // Every style ends on the whole new picture.
    for (int style = 1; style < 128; ++style)
        EXPECT_EQ(Golden[style][2], Golden[0][2]) << style;
}

}  // namespace
