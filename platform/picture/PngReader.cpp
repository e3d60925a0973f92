// The PNG adapter: libpng reads from our buffer and reports errors by jumping
// back to the decode; only trivially destructible state crosses the jump.
#include "platform/picture/PngReader.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace spindrel {

namespace {

struct TSource {
    TBytes Data;
    std::size_t Position = 0;
    char Message[200] = {};
};

void ReadData(png_structp Png, png_bytep Out, png_size_t Count)
{
    auto* source = static_cast<TSource*>(png_get_io_ptr(Png));
    if (Count > source->Data.size() - source->Position)
        png_error(Png, "the data ends before the picture does");
    std::memcpy(Out, source->Data.data() + source->Position, Count);
    source->Position += Count;
}

[[noreturn]] void Error(png_structp Png, png_const_charp Message)
{
    auto* source = static_cast<TSource*>(png_get_error_ptr(Png));
    std::snprintf(source->Message, sizeof source->Message, "%s", Message);
    png_longjmp(Png, 1);
}

void Warning(png_structp, png_const_charp) {}

struct TReadGuard {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    ~TReadGuard() { png_destroy_read_struct(&Png, &Info, nullptr); }
};

// One decoded row (blue, green, red and maybe alpha) into the bitmap.
void StoreRow(const std::uint8_t* In, int Channels, int Width, std::uint8_t* Out)
{
    if (Channels == 3) {
        std::memcpy(Out, In, static_cast<std::size_t>(Width) * 3);
        return;
    }
    for (int x = 0; x < Width; ++x, In += 4, Out += 3) {
        const unsigned a = In[3];
        Out[0] = static_cast<std::uint8_t>((In[0] * a + 127) / 255);
        Out[1] = static_cast<std::uint8_t>((In[1] * a + 127) / 255);
        Out[2] = static_cast<std::uint8_t>((In[2] * a + 127) / 255);
    }
}

}  // namespace

TPictureResult ReadPng(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    TSource source{Data};
    TReadGuard guard;
    TBitmap decoded;
    std::vector<std::uint8_t> pixels;
    std::vector<png_bytep> rows;
    if (Data.size() < 8 || png_sig_cmp(Data.data(), 0, 8) != 0)
        return PictureFailure(TPictureStatus::Malformed, "PNG: no PNG signature");
    guard.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, &Error, &Warning);
    if (guard.Png)
        guard.Info = png_create_info_struct(guard.Png);
    if (!guard.Info)
        return PictureFailure(TPictureStatus::OutOfMemory, "PNG: out of memory");
    png_structp png = guard.Png;
    png_infop info = guard.Info;
    if (setjmp(png_jmpbuf(png)))
        return PictureFailure(TPictureStatus::Malformed, std::string("PNG: ") + source.Message);

    png_set_read_fn(png, &source, &ReadData);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (TPictureResult r = CheckPictureSize("PNG", width, height, Options); !r.Ok())
        return r;

    png_set_expand(png);  // palette to RGB, small greys to 8 bits, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);
    if (channels != 3 && channels != 4)
        return PictureFailure(TPictureStatus::Unsupported, "PNG: unexpected channel count");

    const std::size_t rowBytes = png_get_rowbytes(png, info);
    decoded.SetSize(static_cast<int>(width), static_cast<int>(height));
    if (passes > 1) {  // interlaced: the passes refine the whole picture, so keep all of it
        pixels.resize(rowBytes * height);
        rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = pixels.data() + rowBytes * y;
        png_read_image(png, rows.data());
        for (png_uint_32 y = 0; y < height; ++y)
            StoreRow(rows[y], channels, static_cast<int>(width), decoded.ScanLine(static_cast<int>(y)));
    } else {
        pixels.resize(rowBytes);
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, pixels.data(), nullptr);
            StoreRow(pixels.data(), channels, static_cast<int>(width), decoded.ScanLine(static_cast<int>(y)));
        }
    }
    // The end chunk is not read: what follows the last row cannot change the picture.
    Picture = std::move(decoded);
    return TPictureResult::Success();
}

}  // namespace spindrel
