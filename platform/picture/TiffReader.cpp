// The TIFF adapter: libtiff reads our buffer through client procedures; errors
// come back through a per-file handler, never through the library's globals.
#include "platform/picture/TiffReader.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace spindrel {

namespace {

// libtiff's own allocations (strips, tiles, directories) stay below this.
constexpr tmsize_t MaxSingleAllocation = 256 << 20;

struct TSource {
    TBytes Data;
    toff_t Position = 0;
    char Message[300] = {};
};

tmsize_t ReadProc(thandle_t Handle, void* Out, tmsize_t Count)
{
    auto* source = static_cast<TSource*>(Handle);
    if (Count <= 0 || source->Position >= source->Data.size())
        return 0;
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(Count),
                                                source->Data.size() - static_cast<std::size_t>(source->Position));
    std::memcpy(Out, source->Data.data() + source->Position, n);
    source->Position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return 0; }

toff_t SeekProc(thandle_t Handle, toff_t Offset, int Whence)
{
    auto* source = static_cast<TSource*>(Handle);
    toff_t base = 0;
    if (Whence == SEEK_CUR)
        base = source->Position;
    else if (Whence == SEEK_END)
        base = source->Data.size();
    // libtiff passes negative relative offsets as huge unsigned ones; the sum wraps back.
    const toff_t target = base + Offset;
    if (static_cast<std::int64_t>(target) < 0)
        return static_cast<toff_t>(-1);
    source->Position = target;
    return target;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t Handle) { return static_cast<TSource*>(Handle)->Data.size(); }
int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

int ErrorHandler(TIFF*, void* User, const char*, const char* Format, va_list Arguments)
{
    auto* source = static_cast<TSource*>(User);
    if (source->Message[0] == 0)  // the first error is the cause; later ones follow from it
        std::vsnprintf(source->Message, sizeof source->Message, Format, Arguments);
    return 1;
}

int WarningHandler(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TOptionsGuard {
    TIFFOpenOptions* Options;
    ~TOptionsGuard() { TIFFOpenOptionsFree(Options); }
};

struct TTiffGuard {
    TIFF* Tiff;
    ~TTiffGuard()
    {
        if (Tiff)
            TIFFClose(Tiff);
    }
};

TPictureResult Failed(const TSource& Source, const char* Otherwise)
{
    return PictureFailure(TPictureStatus::Malformed,
                          std::string("TIFF: ") + (Source.Message[0] ? Source.Message : Otherwise));
}

}  // namespace

TPictureResult ReadTiff(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    TSource source{Data};
    TOptionsGuard options{TIFFOpenOptionsAlloc()};
    if (!options.Options)
        return PictureFailure(TPictureStatus::OutOfMemory, "TIFF: out of memory");
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.Options, MaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options.Options, &ErrorHandler, &source);
    TIFFOpenOptionsSetWarningHandlerExtR(options.Options, &WarningHandler, nullptr);
    // "m": no memory mapping, everything goes through ReadProc.
    TTiffGuard tiff{TIFFClientOpenExt("picture", "rm", &source, &ReadProc, &WriteProc, &SeekProc, &CloseProc,
                                      &SizeProc, &MapProc, &UnmapProc, options.Options)};
    if (!tiff.Tiff)
        return Failed(source, "not a TIFF file");

    std::uint32_t width = 0, height = 0;
    if (!TIFFGetField(tiff.Tiff, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tiff.Tiff, TIFFTAG_IMAGELENGTH, &height))
        return Failed(source, "the picture size is missing");
    if (TPictureResult r = CheckPictureSize("TIFF", width, height, Options); !r.Ok())
        return r;
    char why[1024] = {};
    if (!TIFFRGBAImageOK(tiff.Tiff, why))
        return PictureFailure(TPictureStatus::Unsupported, std::string("TIFF: ") + why);

    std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
    if (!TIFFReadRGBAImageOriented(tiff.Tiff, width, height, raster.data(), ORIENTATION_TOPLEFT, 1))
        return Failed(source, "the pixel data cannot be read");

    TBitmap decoded(static_cast<int>(width), static_cast<int>(height));
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t* in = raster.data() + static_cast<std::size_t>(y) * width;
        std::uint8_t* out = decoded.ScanLine(static_cast<int>(y));
        for (std::uint32_t x = 0; x < width; ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(TIFFGetB(in[x]));
            out[1] = static_cast<std::uint8_t>(TIFFGetG(in[x]));
            out[2] = static_cast<std::uint8_t>(TIFFGetR(in[x]));
        }
    }
    Picture = std::move(decoded);
    return TPictureResult::Success();
}

}  // namespace spindrel
