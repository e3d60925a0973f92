// One ComposeFrame of every style at 1920x1080 and 3840x2160, against the floor of
// a plain full-frame copy. Also counts heap allocations per frame once a
// transition runs (the "allocs_per_frame" counter), which must stay 0.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "platform/thread/MainThread.h"
#include "transition/UnitTransitionView.h"

namespace {

std::atomic<long> Allocations{0};

}  // namespace

void* operator new(std::size_t Size)
{
    ++Allocations;
    if (void* p = std::malloc(Size ? Size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }

namespace {

using namespace spindrel;

class TNullHost : public TTransitionHost {
public:
    void InvalidateParentRect(const TRect&) override {}
    void UpdateParent() override {}
    void PresentPaint(const TBitmap&, int, int) override {}
    void HandleException(std::exception_ptr) override {}
};

// A picture with detail in every channel, so no style meets only uniform rows.
TBitmap Picture(int Width, int Height, int Seed)
{
    TBitmap picture(Width, Height);
    for (int y = 0; y < Height; ++y) {
        std::uint8_t* p = picture.ScanLine(y);
        for (int x = 0; x < Width; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(x * 7 + Seed);
            p[1] = static_cast<std::uint8_t>(y * 5 + x / 3);
            p[2] = static_cast<std::uint8_t>((x ^ y) + Seed * 3);
        }
    }
    return picture;
}

void Compose(benchmark::State& State, int Style, int Width, int Height)
{
    TNullHost host;
    TQueuedMainThread main;
    TTransitionView view(host, main);
    view.SetThreaded(false);
    view.SetManual(true);
    view.SetStyle(static_cast<TShowStyle>(Style));
    view.SetPicture(Picture(Width, Height, 1));
    view.Execute();  // the snapshot of a never-painted control: its colour
    // One pass over every progress value first: the reusable buffers reach the
    // largest size the run needs, and from then on a frame must not allocate.
    for (int p = 1; p <= 99; ++p)
        view.SetProgress(p);
    int progress = 1;
    const long before = Allocations;
    std::int64_t frames = 0;
    for (auto _ : State) {
        progress = progress % 99 + 1;  // 1..99, every frame a new value
        view.SetProgress(progress);
        ++frames;
    }
    State.counters["allocs_per_frame"] = static_cast<double>(Allocations - before) / static_cast<double>(frames);
    State.SetBytesProcessed(frames * static_cast<std::int64_t>(Width) * Height * 3);
    view.Stop();
}

void FullFrameCopy(benchmark::State& State, int Width, int Height)
{
    const TBitmap source = Picture(Width, Height, 2);
    TBitmap frame(Width, Height);
    for (auto _ : State) {
        Draw(frame, 0, 0, source);
        benchmark::DoNotOptimize(frame.Bits());
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Width) * Height * 3);
}

const bool registered = [] {
    for (auto [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        benchmark::RegisterBenchmark(("FullFrameCopy/" + size).c_str(), FullFrameCopy, w, h)
            ->Unit(benchmark::kMicrosecond);
        for (int style = 0; style < 128; ++style)
            benchmark::RegisterBenchmark(("Compose/" + std::to_string(style) + "/" + size).c_str(), Compose, style, w, h)
                ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
