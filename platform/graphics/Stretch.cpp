// Nearest-neighbour scaled copies that choose the same source pixel for every
// destination pixel as the system's stretch block transfer in COLORONCOLOR mode.
#include "platform/graphics/Stretch.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace spindrel {

namespace {

// How a destination pixel picks its source pixel, as measured under Wine against
// StretchBlt between 24-bit top-down DIB sections (tests/win32/StretchWin32Test.cpp).
//
// Each axis walks a Bresenham line between the n source and the m destination
// pixels (m = |destination length|), stepping along the longer of the two, with
// err starting at 3*short - 2*long and the short side advancing after a step that
// finds err > 0 (err += 2*short - 2*long, otherwise err += 2*short).
// - Enlarging or equal (m >= n): destination pixel i takes source pixel s_i.
// - Shrinking columns: every source column of a group is written in turn, so the
//   last one that lies inside the source bitmap stays. When the destination is
//   exactly one column wide (and not mirrored) the walk stops one source column
//   short, so a 16-to-1 shrink keeps column 14.
// - Shrinking rows: only the first row of a group that lies inside the source
//   bitmap is written; rows are deleted, not overwritten.
// A negative destination length runs the destination from its start downwards:
// (Left, Width) = (9, -10) covers pixels 9, 8, ..., 0. Pixels whose source lies
// outside the source bitmap, or that lie outside the target, are left alone; the
// others keep their places in the unclipped walk.
//
// Not emulated: a mirrored destination together with a source that reaches outside
// the source bitmap. Wine then shifts the destination by its own rounding; here
// the source is clipped as for an unmirrored copy. StretchMirrored clips first.

enum class TAxis { Columns, Rows };

// Fills Map[t] for every target coordinate t in 0..Size-1 with the source
// coordinate it takes, or -1. Returns false when nothing is drawn on this axis.
bool BuildAxisMap(std::vector<std::int32_t>& Map, TAxis Axis, int Size, int DestStart, int DestLength,
                  int SourceSize, int SourceStart, int SourceLength)
{
    Map.assign(static_cast<std::size_t>(Size), -1);
    const int step = DestLength < 0 ? -1 : 1;
    const long long n = SourceLength;
    const long long m = std::llabs(static_cast<long long>(DestLength));
    bool any = false;
    auto place = [&](long long DestOffset, long long SourceOffset, bool Overwrite) {
        const long long t = DestStart + step * DestOffset;
        const long long s = SourceStart + SourceOffset;
        if (t < 0 || t >= Size || s < 0 || s >= SourceSize)
            return;
        std::int32_t& slot = Map[static_cast<std::size_t>(t)];
        if (Overwrite || slot < 0)
            slot = static_cast<std::int32_t>(s);
        any = true;
    };
    if (m >= n) {
        long long err = 3 * n - 2 * m, s = 0;
        for (long long i = 0; i < m; ++i) {
            place(i, s, true);
            if (err > 0) {
                ++s;
                err += 2 * n - 2 * m;
            } else {
                err += 2 * n;
            }
        }
        return any;
    }
    const bool columns = Axis == TAxis::Columns;
    const long long steps = columns && DestLength == 1 ? n - 1 : n;
    long long err = 3 * m - 2 * n, d = 0;
    for (long long s = 0; s < steps && d < m; ++s) {
        place(d, s, columns);
        if (err > 0) {
            ++d;
            err += 2 * m - 2 * n;
        } else {
            err += 2 * m;
        }
    }
    return any;
}

// The used span of a map: the mapped coordinates form one run because the walk is monotonic.
bool MappedRun(const std::vector<std::int32_t>& Map, int& First, int& Last)
{
    First = 0;
    Last = static_cast<int>(Map.size()) - 1;
    while (First <= Last && Map[static_cast<std::size_t>(First)] < 0)
        ++First;
    while (Last >= First && Map[static_cast<std::size_t>(Last)] < 0)
        --Last;
    return First <= Last;
}

// A stretch of consecutive destination columns that take consecutive source columns.
struct TRun {
    int First, Count;  // in target columns
};

// Shorter runs cost less as single pixels than as a call to memcpy.
constexpr int MinRun = 16;

// Fills Runs with the runs of at least MinRun columns in First..Last, in order.
// ByteOffsets are 3 times the source columns.
void FindRuns(std::vector<TRun>& Runs, const std::vector<std::int32_t>& ByteOffsets, int First, int Last)
{
    Runs.clear();
    Runs.reserve(ByteOffsets.size() / MinRun + 1);  // the most a row of the target can hold
    for (int x = First; x <= Last;) {
        int end = x + 1;
        while (end <= Last && ByteOffsets[static_cast<std::size_t>(end)] ==
                                  ByteOffsets[static_cast<std::size_t>(end - 1)] + 3)
            ++end;
        if (end - x >= MinRun)
            Runs.push_back({x, end - x});
        x = end;
    }
}

// Copies the pixels First..Last of one row: runs as blocks, the rest one by one.
// Where a 4-byte read stays inside the source's bytes (Wide), a pixel moves as 4
// bytes: the byte past it belongs to the next pixel, written after it. The last
// pixel gets exactly 3.
template <bool Wide>
void CopyRow(std::uint8_t* Out, const std::uint8_t* In, const std::int32_t* ByteOffsets,
             const std::vector<TRun>& Runs, int First, int Last)
{
    auto single = [&](int From, int To) {
        for (int x = From; x < To; ++x) {
            if constexpr (Wide) {
                std::uint32_t pixel;
                std::memcpy(&pixel, In + ByteOffsets[x], 4);
                std::memcpy(Out + x * 3, &pixel, 4);
            } else {
                std::memcpy(Out + x * 3, In + ByteOffsets[x], 3);
            }
        }
    };
    int x = First;
    for (const TRun& run : Runs) {
        single(x, run.First);
        std::memcpy(Out + run.First * 3, In + ByteOffsets[run.First], static_cast<std::size_t>(run.Count) * 3);
        x = run.First + run.Count;
    }
    if (x <= Last) {
        single(x, Last);
        std::memcpy(Out + Last * 3, In + ByteOffsets[Last], 3);
    }
}

}  // namespace

void StretchCopy(TBitmap& Target, const TRect& Dest, const TBitmap& Source, const TRect& Src)
{
    if (Target.Empty() || Source.Empty() || Dest.Width() == 0 || Dest.Height() == 0 || Src.Width() <= 0 ||
        Src.Height() <= 0)
        return;
    // Kept between calls: the maps are rebuilt each call, their storage is not.
    thread_local std::vector<std::int32_t> columns, rows;
    if (!BuildAxisMap(columns, TAxis::Columns, Target.Width(), Dest.Left, Dest.Width(), Source.Width(), Src.Left,
                      Src.Width()) ||
        !BuildAxisMap(rows, TAxis::Rows, Target.Height(), Dest.Top, Dest.Height(), Source.Height(), Src.Top,
                      Src.Height()))
        return;
    int x0, x1, y0, y1;
    if (!MappedRun(columns, x0, x1) || !MappedRun(rows, y0, y1))
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0 + 1) * 3;
    for (auto& c : columns)
        c *= 3;
    thread_local std::vector<TRun> runs;
    FindRuns(runs, columns, x0, x1);
    // A 4-byte read of the last pixel of the last row would leave the buffer when rows have no padding.
    const int lastWideRow = Source.Stride() > Source.Width() * 3 ? Source.Height() - 1 : Source.Height() - 2;
    const std::int32_t* offsets = columns.data();
    int previousSource = -1;
    for (int y = y0; y <= y1; ++y) {
        const int sourceRow = rows[static_cast<std::size_t>(y)];
        if (sourceRow < 0) {
            previousSource = -1;
            continue;
        }
        std::uint8_t* out = Target.ScanLine(y);
        if (sourceRow == previousSource) {
            std::memcpy(out + x0 * 3, Target.ScanLine(y - 1) + x0 * 3, rowBytes);
            continue;
        }
        previousSource = sourceRow;
        const std::uint8_t* in = Source.ScanLine(sourceRow);
        if (sourceRow <= lastWideRow)
            CopyRow<true>(out, in, offsets, runs, x0, x1);
        else
            CopyRow<false>(out, in, offsets, runs, x0, x1);
    }
}

}  // namespace spindrel
