// The WebP adapter. Opaque pictures decode straight into the bitmap's rows;
// with alpha the decoder premultiplies, which is exactly composing on black.
#include "platform/picture/WebpReader.h"

#include <webp/decode.h>

#include <cstring>
#include <vector>

namespace spindrel {

namespace {

const char* StatusText(VP8StatusCode Code)
{
    switch (Code) {
    case VP8_STATUS_OUT_OF_MEMORY: return "out of memory";
    case VP8_STATUS_INVALID_PARAM: return "invalid parameter";
    case VP8_STATUS_BITSTREAM_ERROR: return "the bitstream is corrupt";
    case VP8_STATUS_UNSUPPORTED_FEATURE: return "a feature that is not supported";
    case VP8_STATUS_SUSPENDED: return "suspended";
    case VP8_STATUS_USER_ABORT: return "aborted";
    case VP8_STATUS_NOT_ENOUGH_DATA: return "the data ends before the picture does";
    default: return "unknown error";
    }
}

TPictureResult Failed(VP8StatusCode Code)
{
    return PictureFailure(Code == VP8_STATUS_OUT_OF_MEMORY ? TPictureStatus::OutOfMemory : TPictureStatus::Malformed,
                          std::string("WebP: ") + StatusText(Code));
}

struct TOutputGuard {
    WebPDecBuffer* Buffer;
    ~TOutputGuard() { WebPFreeDecBuffer(Buffer); }
};

}  // namespace

TPictureResult ReadWebp(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return PictureFailure(TPictureStatus::Unsupported, "WebP: decoder version mismatch");
    if (VP8StatusCode s = WebPGetFeatures(Data.data(), Data.size(), &config.input); s != VP8_STATUS_OK)
        return Failed(s);
    if (config.input.has_animation)
        return PictureFailure(TPictureStatus::Unsupported, "WebP: animations are not supported");
    if (TPictureResult r = CheckPictureSize("WebP", config.input.width, config.input.height, Options); !r.Ok())
        return r;

    TBitmap decoded(config.input.width, config.input.height);
    std::vector<std::uint8_t> premultiplied;
    const bool alpha = config.input.has_alpha;
    config.output.is_external_memory = 1;
    if (alpha) {
        premultiplied.resize(static_cast<std::size_t>(decoded.Width()) * decoded.Height() * 4);
        config.output.colorspace = MODE_bgrA;
        config.output.u.RGBA.rgba = premultiplied.data();
        config.output.u.RGBA.stride = decoded.Width() * 4;
        config.output.u.RGBA.size = premultiplied.size();
    } else {
        config.output.colorspace = MODE_BGR;
        config.output.u.RGBA.rgba = decoded.Bits();
        config.output.u.RGBA.stride = decoded.Stride();
        config.output.u.RGBA.size = decoded.ByteSize();
    }
    TOutputGuard guard{&config.output};
    if (VP8StatusCode s = WebPDecode(Data.data(), Data.size(), &config); s != VP8_STATUS_OK)
        return Failed(s);
    if (alpha) {
        for (int y = 0; y < decoded.Height(); ++y) {
            const std::uint8_t* in = premultiplied.data() + static_cast<std::size_t>(y) * decoded.Width() * 4;
            std::uint8_t* out = decoded.ScanLine(y);
            for (int x = 0; x < decoded.Width(); ++x)
                std::memcpy(out + 3 * x, in + 4 * x, 3);
        }
    }
    Picture = std::move(decoded);
    return TPictureResult::Success();
}

}  // namespace spindrel
