// Separable triangle-filter resampling in fixed point: for each target row the
// source rows are blended first (into a row of source width), then the columns.
// Target rows are independent, so large pictures are shared among a few threads.
#include "platform/graphics/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

namespace spindrel {

namespace {

constexpr int WeightBits = 14;
constexpr int WeightOne = 1 << WeightBits;
constexpr int RowBits = 7;  // the blended row keeps 7 fraction bits

// For each target index, the first source index and the weights of its taps (summing to WeightOne).
struct TAxis {
    std::vector<int> First;
    std::vector<int> Count;
    std::vector<int> Weights;  // Count[i] entries for each i, at Offset[i]
    std::vector<int> Offset;
};

TAxis MakeAxis(int SourceSize, int TargetSize)
{
    TAxis axis;
    axis.First.resize(TargetSize);
    axis.Count.resize(TargetSize);
    axis.Offset.resize(TargetSize);
    const double scale = static_cast<double>(SourceSize) / TargetSize;
    const double support = std::max(1.0, scale);  // the triangle's half-width in source pixels
    std::vector<double> w;
    for (int i = 0; i < TargetSize; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        int first = static_cast<int>(std::floor(centre - support)) + 1;
        int last = static_cast<int>(std::ceil(centre + support)) - 1;
        first = std::max(first, 0);
        last = std::min(last, SourceSize - 1);
        if (last < first)  // centre beyond an edge: the edge pixel alone
            first = last = std::clamp(static_cast<int>(std::lround(centre)), 0, SourceSize - 1);
        w.assign(static_cast<std::size_t>(last - first + 1), 0.0);
        double sum = 0;
        for (int s = first; s <= last; ++s) {
            const double v = std::max(0.0, 1.0 - std::abs(s - centre) / support);
            w[static_cast<std::size_t>(s - first)] = v;
            sum += v;
        }
        if (sum <= 0) {
            w.assign(1, 1.0);
            sum = 1;
            last = first;
        }
        axis.First[i] = first;
        axis.Count[i] = last - first + 1;
        axis.Offset[i] = static_cast<int>(axis.Weights.size());
        int total = 0, largest = 0;
        for (int k = 0; k < axis.Count[i]; ++k) {
            const int q = static_cast<int>(std::lround(w[static_cast<std::size_t>(k)] / sum * WeightOne));
            axis.Weights.push_back(q);
            total += q;
            if (q > axis.Weights[axis.Offset[i] + largest])
                largest = k;
        }
        axis.Weights[axis.Offset[i] + largest] += WeightOne - total;  // exact unit gain
    }
    return axis;
}

void ResampleRows(const TSourceRows& Source, TBitmap& Target, const TAxis& Across, const TAxis& Down, int FromRow,
                  int ToRow);

}  // namespace

// ---- the streaming resampler ------------------------------------------------------

struct TStreamingStretch::TAxes {
    TAxis Across;
    TAxis Down;
};

TStreamingStretch::TStreamingStretch(const TSourceRows& Source, TBitmap& Target)
    : FSource(Source), FTarget(Target)
{
    if (Target.Empty() || Source.Width <= 0 || Source.Height <= 0)
        return;
    FAxes = std::make_unique<TAxes>(TAxes{MakeAxis(Source.Width, Target.Width()), MakeAxis(Source.Height, Target.Height())});
    FWorker = std::thread([this] { Run(); });
}

TStreamingStretch::~TStreamingStretch() { Abandon(); }

void TStreamingStretch::RowsReady(int Rows)
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FRowsReady = std::max(FRowsReady, std::min(Rows, FSource.Height));
    }
    FChanged.notify_one();
}

void TStreamingStretch::Finish()
{
    RowsReady(FSource.Height);
    if (FWorker.joinable())
        FWorker.join();
}

void TStreamingStretch::Abandon()
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FAbandoned = true;
    }
    FChanged.notify_one();
    if (FWorker.joinable())
        FWorker.join();
}

// Each target row waits only for the last source row its filter reaches.
void TStreamingStretch::Run()
{
    const TAxis& down = FAxes->Down;
    for (int y = 0; y < FTarget.Height(); ++y) {
        const int needed = down.First[y] + down.Count[y];
        {
            std::unique_lock<std::mutex> lock(FMutex);
            FChanged.wait(lock, [&] { return FAbandoned || FRowsReady >= needed; });
            if (FAbandoned)
                return;
        }
        ResampleRows(FSource, FTarget, FAxes->Across, down, y, y + 1);
    }
}

namespace {

void ResampleRows(const TSourceRows& Source, TBitmap& Target, const TAxis& Across, const TAxis& Down, int FromRow,
                  int ToRow)
{
    const int rowValues = Source.Width * 3;
    std::vector<std::uint16_t> blended(static_cast<std::size_t>(rowValues));
    std::vector<std::int32_t> sum(static_cast<std::size_t>(rowValues));
    for (int y = FromRow; y < ToRow; ++y) {
        // Down: blend the source rows of this target row.
        std::fill(sum.begin(), sum.end(), 0);
        const int* wy = Down.Weights.data() + Down.Offset[y];
        for (int k = 0; k < Down.Count[y]; ++k) {
            const std::uint8_t* src = Source.Bits + static_cast<std::size_t>(Down.First[y] + k) * Source.Stride;
            const int weight = wy[k];
            for (int v = 0; v < rowValues; ++v)
                sum[v] += src[v] * weight;
        }
        for (int v = 0; v < rowValues; ++v)
            blended[v] = static_cast<std::uint16_t>((sum[v] + (1 << (WeightBits - RowBits - 1))) >> (WeightBits - RowBits));

        // Across: blend the columns.
        std::uint8_t* out = Target.ScanLine(y);
        for (int x = 0; x < Target.Width(); ++x) {
            const int* wx = Across.Weights.data() + Across.Offset[x];
            const std::uint16_t* in = blended.data() + Across.First[x] * 3;
            std::int32_t b = 0, g = 0, r = 0;
            for (int k = 0; k < Across.Count[x]; ++k, in += 3) {
                b += in[0] * wx[k];
                g += in[1] * wx[k];
                r += in[2] * wx[k];
            }
            constexpr int shift = WeightBits + RowBits;
            constexpr std::int32_t half = 1 << (shift - 1);
            out[3 * x + 0] = static_cast<std::uint8_t>(std::clamp((b + half) >> shift, 0, 255));
            out[3 * x + 1] = static_cast<std::uint8_t>(std::clamp((g + half) >> shift, 0, 255));
            out[3 * x + 2] = static_cast<std::uint8_t>(std::clamp((r + half) >> shift, 0, 255));
        }
    }
}

}  // namespace

void StretchPicture(const TBitmap& Source, TBitmap& Target)
{
    if (Target.Empty())
        return;
    if (Source.Empty()) {
        FillRect(Target, Target.Bounds(), 0);
        return;
    }
    if (Source.Width() == Target.Width() && Source.Height() == Target.Height()) {
        std::memcpy(Target.Bits(), Source.Bits(), Source.ByteSize());
        return;
    }
    const TAxis across = MakeAxis(Source.Width(), Target.Width());
    const TAxis down = MakeAxis(Source.Height(), Target.Height());
    const TSourceRows rows{Source.Bits(), Source.Stride(), Source.Width(), Source.Height()};

    // Threads pay off only on screen-sized work; small pictures stay on the caller's thread.
    const std::int64_t work = static_cast<std::int64_t>(Target.Width()) * Target.Height();
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const int parts = work < 500'000 ? 1 : static_cast<int>(std::min(cores, 4u));
    if (parts == 1) {
        ResampleRows(rows, Target, across, down, 0, Target.Height());
        return;
    }
    std::vector<std::thread> workers;
    const int height = Target.Height();
    for (int p = 1; p < parts; ++p)
        workers.emplace_back(ResampleRows, std::cref(rows), std::ref(Target), std::cref(across), std::cref(down),
                             height * p / parts, height * (p + 1) / parts);
    ResampleRows(rows, Target, across, down, 0, height / parts);
    for (std::thread& t : workers)
        t.join();
}

}  // namespace spindrel
