// A slide made ready: decode a camera-sized JPEG and resample it into the FitRect
// target of a screen, in-process, as the show prepares each picture slide (the
// resampler follows the decoder's rows). Also each half alone, and the full-size
// decode a loader without reduced scales would do.
#include <benchmark/benchmark.h>

#include "bench/PhotoJpeg.h"
#include "platform/graphics/Resample.h"
#include "platform/picture/JpegReader.h"
#include "saver/PicturePlacement.h"
#include "saver/SlidePicture.h"

using namespace spindrel;

namespace {

using bench::PhotoJpeg;

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
    const fixtures::TFileBytes& file = PhotoJpeg(w, h);
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
    const fixtures::TFileBytes& file = PhotoJpeg(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    for (auto _ : State) {
        TBitmap decoded;
        ReadJpeg(file, decoded);
        benchmark::DoNotOptimize(decoded.Bits());
    }
}

void ScaledDecode(benchmark::State& State)
{
    const fixtures::TFileBytes& file = PhotoJpeg(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
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
