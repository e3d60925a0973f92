// Fuzzes one picture reader, chosen at build time by SPINDREL_FUZZ_READER: any
// bytes either decode to a picture within the limits or fail with a message,
// leaving the output untouched; nothing is read outside the buffer.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/graphics/Resample.h"

#include "platform/picture/BmpReader.h"
#include "platform/picture/GifReader.h"
#include "platform/picture/JpegReader.h"
#include "platform/picture/PngReader.h"
#include "platform/picture/PsdReader.h"
#include "platform/picture/TiffReader.h"
#include "platform/picture/UnitPHOGraphic.h"
#include "platform/picture/WebpReader.h"

using namespace spindrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    // A small file may claim a huge picture; the cap keeps such claims from
    // reaching the sanitizer's memory limit while every size check still runs.
    TDecodeOptions options;
    options.MaxPixels = 4'000'000;
    if (Size % 2)  // odd sizes also take the reduced-scale path of the JPEG reader
        options.TargetSize = [](TPictureSize Full) { return TPictureSize{Full.Width / 3, Full.Height / 3}; };
    // Inputs whose size is a multiple of 3 are also resampled as their rows arrive, as
    // a slide is, so a failure part-way must stop the resampler before its rows go.
    TBitmap sized;
    std::unique_ptr<TStreamingStretch> stream;
    if (Size % 3 == 0)
        options.OnRows = [&](const TBitmap& Rows, int Ready) {
            if (Ready == 0) {
                sized.SetSize(std::max(1, Rows.Width() / 2), std::max(1, Rows.Height() / 2));
                stream = std::make_unique<TStreamingStretch>(
                    TSourceRows{Rows.Bits(), Rows.Stride(), Rows.Width(), Rows.Height()}, sized);
            } else if (Ready < 0) {
                stream.reset();
            } else {
                stream->RowsReady(Ready);
            }
        };
    TBitmap picture(1, 1);
    picture.SetPixel(0, 0, RGB(1, 2, 3));
    const TPictureResult result = SPINDREL_FUZZ_READER(TBytes(Data, Size), picture, options);
    if (stream)
        stream->Finish();
    if (result.Ok()) {
        if (picture.Empty() || std::int64_t(picture.Width()) * picture.Height() > options.MaxPixels)
            std::abort();
    } else if (result.Message.empty() || picture.Width() != 1 || picture.Pixel(0, 0) != RGB(1, 2, 3)) {
        std::abort();  // a failure must say why and keep what the caller had
    }
    return 0;
}
