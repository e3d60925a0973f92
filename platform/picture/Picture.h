// What every picture reader shares: the outcome of a decode, the decoding hints,
// the size limits, and the one exception type callers may choose to raise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>

#include "platform/graphics/Bitmap.h"

namespace spindrel {

enum class TPictureStatus {
    Ok,
    NotFound,     // no such file
    ReadError,    // the file exists but could not be read
    Unsupported,  // no reader for the extension, or a variant the reader does not handle
    Malformed,    // the bytes break the format: truncated, bad runs, bad codes, bad lengths
    TooLarge,     // beyond the size limits
    OutOfMemory,
};

struct TPictureResult {
    TPictureStatus Status = TPictureStatus::Ok;
    std::string Message;  // one line naming the fault; empty when Ok

    bool Ok() const { return Status == TPictureStatus::Ok; }
    static TPictureResult Success() { return {}; }
};

inline TPictureResult PictureFailure(TPictureStatus Status, std::string Message) { return {Status, std::move(Message)}; }

// Raised by the loading calls that throw (the background painter lets it reach
// its caller); carries the status of the failed decode.
class EPictureError : public std::runtime_error {
public:
    EPictureError(TPictureStatus Status, const std::string& Message) : std::runtime_error(Message), FStatus(Status) {}
    TPictureStatus Status() const { return FStatus; }

private:
    TPictureStatus FStatus;
};

// Hard limits on what any reader decodes: a hostile header must not make us
// allocate gigabytes.
constexpr int MaxPictureSide = 30000;
constexpr std::int64_t MaxPicturePixels = 250'000'000;

struct TPictureSize {
    int Width = 0;
    int Height = 0;
};

struct TDecodeOptions {
    // When set, the size the caller will resample the (upright) picture to, given
    // its full size: a reader may then decode at any reduced size not below it.
    // Only JPEG data uses it; the other formats always decode at full size.
    std::function<TPictureSize(TPictureSize Picture)> TargetSize;
    // When set, the JPEG reader reports rows as they become final, so resampling
    // can overlap decoding: Rows 0 once the picture is allocated at its decoded
    // size, then the count of finished rows from the top; -1 when the decode fails
    // and the rows are about to be freed (the callee must have stopped reading
    // them when it returns). A successful decode moves the rows, buffer and all,
    // into the caller's picture. Pictures turned by their orientation tag, whose
    // rows are only final at the end, are never reported.
    std::function<void(const TBitmap& Picture, int Rows)> OnRows;
    // Lower than the hard limit in the fuzzers, so a small file claiming a huge
    // picture is refused before the allocation rather than reported as a leak of memory.
    std::int64_t MaxPixels = MaxPicturePixels;
};

using TBytes = std::span<const std::uint8_t>;

// Ok when Width x Height is a picture we agree to decode.
TPictureResult CheckPictureSize(const char* Format, std::int64_t Width, std::int64_t Height,
                                const TDecodeOptions& Options);

// Throws EPictureError for a failed result.
void ThrowIfFailed(const TPictureResult& Result);

}  // namespace spindrel
