// A slide made ready: decode a camera-sized JPEG and resample it into the FitRect
// target of a screen, in-process, as the show prepares each picture slide (the
// resampler follows the decoder's rows). Also each half alone, and the full-size
// decode a loader without reduced scales would do.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <map>

#include "platform/graphics/Resample.h"
#include "platform/picture/JpegReader.h"
#include "saver/PicturePlacement.h"
#include "saver/SlidePicture.h"
#include "tests/PictureFixtures.h"

using namespace spindrel;

namespace {

// A photo-like picture: smooth light with fine grain, so the JPEG has a camera's size.
const fixtures::TFileBytes& Photo(int Width, int Height)
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
                row[3 * x + 2] = static_cast<std::uint8_t>(std::clamp((x + y) * 255 / (Width + Height) + grain, 0, 255));
            }
        }
        bytes = fixtures::EncodeJpeg(picture, {.Quality = 90});
    }
    return bytes;
}

TPictureSize FitTarget(TPictureSize Picture, int Screen, int ScreenHeight)
{
    const TRect t = PictureTarget(Picture.Width, Picture.Height, Screen, ScreenHeight, true);
    return {t.Width(), t.Height()};
}

// Arguments: picture width, height, screen width, height.
void SlideReady(benchmark::State& State)
{
    const int w = static_cast<int>(State.range(0)), h = static_cast<int>(State.range(1));
    const int sw = static_cast<int>(State.range(2)), sh = static_cast<int>(State.range(3));
    const fixtures::TFileBytes& file = Photo(w, h);
    for (auto _ : State) {
        TBitmap sized;
        if (!DecodeSlidePicture(file, "jpg", sw, sh, true, sized).Ok())
            State.SkipWithError("decode failed");
        benchmark::DoNotOptimize(sized.Bits());
    }
    State.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}

void FullDecode(benchmark::State& State)
{
    const fixtures::TFileBytes& file = Photo(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    for (auto _ : State) {
        TBitmap decoded;
        ReadJpeg(file, decoded);
        benchmark::DoNotOptimize(decoded.Bits());
    }
}

void ScaledDecode(benchmark::State& State)
{
    const fixtures::TFileBytes& file = Photo(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    TDecodeOptions options;
    const int sw = static_cast<int>(State.range(2)), sh = static_cast<int>(State.range(3));
    options.TargetSize = [&](TPictureSize Full) { return FitTarget(Full, sw, sh); };
    for (auto _ : State) {
        TBitmap decoded;
        ReadJpeg(file, decoded, options);
        benchmark::DoNotOptimize(decoded.Bits());
    }
}

// Resampling alone, from the reduced JPEG scale the slide path decodes to.
void Resample(benchmark::State& State)
{
    TBitmap source(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    FillRect(source, {0, 0, source.Width() / 2, source.Height()}, RGB(200, 30, 90));
    const TPictureSize target = FitTarget({source.Width(), source.Height()}, static_cast<int>(State.range(2)),
                                          static_cast<int>(State.range(3)));
    TBitmap sized(target.Width, target.Height);
    for (auto _ : State) {
        StretchPicture(source, sized);
        benchmark::DoNotOptimize(sized.Bits());
    }
}

}  // namespace

BENCHMARK(SlideReady)->Args({6000, 4000, 3840, 2160})->Args({4000, 3000, 1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(ScaledDecode)->Args({6000, 4000, 3840, 2160})->Args({4000, 3000, 1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(FullDecode)->Args({6000, 4000})->Args({4000, 3000})->Unit(benchmark::kMillisecond);
// 6000 x 4000 at 5/8 is 3750 x 2500; 4000 x 3000 at 3/8 is 1500 x 1125.
BENCHMARK(Resample)->Args({3750, 2500, 3840, 2160})->Args({1500, 1125, 1920, 1080})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
