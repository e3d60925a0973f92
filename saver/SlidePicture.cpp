// Decoding and resampling overlap: the resampler's worker follows the JPEG
// decoder's rows, so a large photo is ready about when its last row is decoded.
#include "saver/SlidePicture.h"

#include <functional>
#include <memory>
#include <optional>

#include "platform/graphics/Resample.h"
#include "platform/picture/PictureLoader.h"
#include "saver/PicturePlacement.h"

namespace spindrel {

namespace {

using TDecoder = std::function<TPictureResult(TBitmap& Picture, const TDecodeOptions& Options)>;

TPictureResult SizeWhileDecoding(const TDecoder& Decode, int ScreenWidth, int ScreenHeight, bool EnlargeFit,
                                 TBitmap& Sized)
{
    // Declared in this order so that the worker stops before the bitmaps it uses go.
    TBitmap picture;
    TBitmap sized;
    std::unique_ptr<TStreamingStretch> stream;
    TDecodeOptions options;
    const auto target = [&](int Width, int Height) {
        const TRect t = PictureTarget(Width, Height, ScreenWidth, ScreenHeight, true);
        return TPictureSize{t.Width(), t.Height()};
    };
    // The fit of the full picture, when the reader decodes at a reduced size: fitting
    // the reduced one instead could round a side differently.
    std::optional<TPictureSize> fullTarget;
    const auto sizedFor = [&](const TBitmap& Decoded) {
        return fullTarget ? *fullTarget : target(Decoded.Width(), Decoded.Height());
    };
    if (EnlargeFit) {
        options.TargetSize = [&](TPictureSize Full) {
            fullTarget = target(Full.Width, Full.Height);
            return *fullTarget;
        };
        options.OnRows = [&](const TBitmap& Rows, int Ready) {
            if (Ready == 0) {
                const TPictureSize t = sizedFor(Rows);
                sized.SetSize(t.Width, t.Height);
                if (!sized.Empty()) {
                    stream = std::make_unique<TStreamingStretch>(
                        TSourceRows{Rows.Bits(), Rows.Stride(), Rows.Width(), Rows.Height()}, sized);
                }
            } else if (Ready < 0) {
                stream.reset();
            } else if (stream) {
                stream->RowsReady(Ready);
            }
        };
    }
    const TPictureResult result = Decode(picture, options);
    if (!result.Ok())
        return result;
    if (stream) {
        stream->Finish();
    } else if (EnlargeFit) {
        const TPictureSize t = sizedFor(picture);
        sized.SetSize(t.Width, t.Height);
        if (!sized.Empty())
            StretchPicture(picture, sized);
    } else {
        sized = std::move(picture);  // the target has the picture's own size: resampling would copy it
    }
    Sized = std::move(sized);
    return result;
}

}  // namespace

TPictureResult LoadSlidePicture(const std::string& FileName, int ScreenWidth, int ScreenHeight, bool EnlargeFit,
                                TBitmap& Sized)
{
    return SizeWhileDecoding(
        [&](TBitmap& Picture, const TDecodeOptions& Options) { return LoadPicture(FileName, Picture, Options); },
        ScreenWidth, ScreenHeight, EnlargeFit, Sized);
}

TPictureResult DecodeSlidePicture(TBytes Data, const std::string& Extension, int ScreenWidth, int ScreenHeight,
                                  bool EnlargeFit, TBitmap& Sized)
{
    return SizeWhileDecoding(
        [&](TBitmap& Picture, const TDecodeOptions& Options) {
            return DecodePicture(Data, Extension, Picture, Options);
        },
        ScreenWidth, ScreenHeight, EnlargeFit, Sized);
}

}  // namespace spindrel
