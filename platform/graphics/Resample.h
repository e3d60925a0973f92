// Linear resampling of a whole picture into another size: the once-per-slide
// scaling of pictures, as against the nearest-neighbour StretchCopy of the frames.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/graphics/Bitmap.h"

namespace spindrel {

// Resamples all of Source into all of Target, keeping Target's size. Enlarging
// is bilinear; shrinking widens the same triangle filter to the source footprint
// of each target pixel, so detail averages rather than aliases. Equal sizes copy
// exactly. An empty Source leaves Target black.
void StretchPicture(const TBitmap& Source, TBitmap& Target);

// The rows of a picture held elsewhere (a decoder's bitmap still being filled).
struct TSourceRows {
    const std::uint8_t* Bits = nullptr;
    int Stride = 0;
    int Width = 0;
    int Height = 0;
};

// StretchPicture while the source is still arriving from the top, as a JPEG
// decodes: a worker thread makes each target row as soon as the source rows it
// needs are reported ready, so resampling overlaps decoding. The pixels equal
// StretchPicture's. The source rows must stay alive until Finish or Abandon.
class TStreamingStretch {
public:
    // Target keeps its size; the worker starts at once.
    TStreamingStretch(const TSourceRows& Source, TBitmap& Target);
    ~TStreamingStretch();  // abandons
    TStreamingStretch(const TStreamingStretch&) = delete;
    TStreamingStretch& operator=(const TStreamingStretch&) = delete;

    // Rows 0 .. Rows - 1 of the source are final.
    void RowsReady(int Rows);
    // Every source row is final: returns once Target is complete.
    void Finish();
    // Stops the worker (the source is going away); Target is then incomplete.
    void Abandon();

private:
    struct TAxes;
    void Run();

    TSourceRows FSource;
    TBitmap& FTarget;
    std::unique_ptr<TAxes> FAxes;
    std::mutex FMutex;
    std::condition_variable FChanged;
    int FRowsReady = 0;
    bool FAbandoned = false;
    std::thread FWorker;
};

}  // namespace spindrel
