// The fixture encoders: libpng, giflib, libtiff, libwebp and libjpeg write the
// files; the bitmap files are assembled here by hand.
#include "tests/PictureFixtures.h"

#include <gif_lib.h>
#include <png.h>
#include <tiffio.h>
#include <webp/encode.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

// clang-format off
#include <jpeglib.h>
// clang-format on

namespace spindrel::fixtures {

TBitmap Pattern(int Width, int Height)
{
    TBitmap b(Width, Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            b.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x * 255 / std::max(1, Width - 1)),
                                 static_cast<std::uint8_t>(y * 255 / std::max(1, Height - 1)),
                                 static_cast<std::uint8_t>((x * 37 + y * 91) & 255)));
    return b;
}

void Put16(TFileBytes& Out, std::uint32_t V)
{
    Out.push_back(static_cast<std::uint8_t>(V));
    Out.push_back(static_cast<std::uint8_t>(V >> 8));
}
void Put32(TFileBytes& Out, std::uint32_t V)
{
    Put16(Out, V & 0xFFFF);
    Put16(Out, V >> 16);
}
void PutBE16(TFileBytes& Out, std::uint32_t V)
{
    Out.push_back(static_cast<std::uint8_t>(V >> 8));
    Out.push_back(static_cast<std::uint8_t>(V));
}
void PutBE32(TFileBytes& Out, std::uint32_t V)
{
    PutBE16(Out, V >> 16);
    PutBE16(Out, V & 0xFFFF);
}

TFileBytes BmpFile(int Width, int Height, int BitCount, std::uint32_t Compression, const std::vector<TColor>& Palette,
               const TFileBytes& Pixels, std::uint32_t InfoSize, const std::vector<std::uint32_t>& Masks)
{
    TFileBytes info;
    Put32(info, InfoSize);
    Put32(info, static_cast<std::uint32_t>(Width));
    Put32(info, static_cast<std::uint32_t>(Height));
    Put16(info, 1);
    Put16(info, static_cast<std::uint32_t>(BitCount));
    Put32(info, Compression);
    Put32(info, static_cast<std::uint32_t>(Pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, static_cast<std::uint32_t>(Palette.size()));
    Put32(info, 0);
    TFileBytes masks;
    for (std::uint32_t m : Masks)
        Put32(masks, m);
    if (InfoSize > 40) {  // masks inside the header
        info.insert(info.end(), masks.begin(), masks.end());
        masks.clear();
    }
    info.resize(InfoSize, 0);
    TFileBytes colours;
    for (TColor c : Palette) {
        colours.push_back(BlueOf(c));
        colours.push_back(GreenOf(c));
        colours.push_back(RedOf(c));
        colours.push_back(0);
    }
    const std::uint32_t offBits = static_cast<std::uint32_t>(14 + info.size() + masks.size() + colours.size());
    TFileBytes file{'B', 'M'};
    Put32(file, offBits + static_cast<std::uint32_t>(Pixels.size()));
    Put32(file, 0);
    Put32(file, offBits);
    for (const TFileBytes* part : std::initializer_list<const TFileBytes*>{&info, &masks, &colours, &Pixels})
        file.insert(file.end(), part->begin(), part->end());
    return file;
}

namespace {
void WriteToVector(png_structp Png, png_bytep Data, png_size_t Length)
{
    auto* out = static_cast<TFileBytes*>(png_get_io_ptr(Png));
    out->insert(out->end(), Data, Data + Length);
}
void FlushNothing(png_structp) {}
}  // namespace

TFileBytes EncodePng(const TBitmap& Picture, const std::vector<std::uint8_t>& Alpha, bool Interlaced, bool Sixteen)
{
    TFileBytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        std::abort();
    png_set_write_fn(png, &out, &WriteToVector, &FlushNothing);
    const bool alpha = !Alpha.empty();
    png_set_IHDR(png, info, Picture.Width(), Picture.Height(), Sixteen ? 16 : 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int channels = alpha ? 4 : 3;
    const int bytes = Sixteen ? 2 : 1;
    std::vector<std::vector<std::uint8_t>> rows(Picture.Height());
    std::vector<png_bytep> pointers;
    for (int y = 0; y < Picture.Height(); ++y) {
        auto& row = rows[y];
        for (int x = 0; x < Picture.Width(); ++x) {
            const TColor c = Picture.Pixel(x, y);
            const std::uint8_t v[4] = {RedOf(c), GreenOf(c), BlueOf(c),
                                       alpha ? Alpha[static_cast<std::size_t>(y) * Picture.Width() + x] : std::uint8_t(0)};
            for (int k = 0; k < channels; ++k)
                for (int b = 0; b < bytes; ++b)
                    row.push_back(v[k]);  // 16-bit: the byte twice, v * 257
        }
        pointers.push_back(row.data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

namespace {
int GifWrite(GifFileType* Gif, const GifByteType* Data, int Length)
{
    auto* out = static_cast<TFileBytes*>(Gif->UserData);
    out->insert(out->end(), Data, Data + Length);
    return Length;
}
}  // namespace

TFileBytes EncodeGif(int Width, int Height, const std::vector<TColor>& Palette, const std::vector<std::uint8_t>& Indices,
                 int Transparent, bool Interlaced, int Frames)
{
    TFileBytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, &GifWrite, &error);
    int size = 2;
    while (size < static_cast<int>(Palette.size()))
        size *= 2;
    std::vector<GifColorType> colours(size);
    for (std::size_t i = 0; i < Palette.size(); ++i)
        colours[i] = {RedOf(Palette[i]), GreenOf(Palette[i]), BlueOf(Palette[i])};
    ColorMapObject* map = GifMakeMapObject(size, colours.data());
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, Width, Height, 8, 0, map) == GIF_ERROR)
        std::abort();
    for (int frame = 0; frame < Frames; ++frame) {
        if (Transparent >= 0) {
            const GifByteType control[4] = {1, 0, 0, static_cast<GifByteType>(Transparent)};
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
        }
        EGifPutImageDesc(gif, 0, 0, Width, Height, Interlaced, nullptr);
        std::vector<int> order;
        if (Interlaced) {
            for (int start : {0, 4, 2, 1})
                for (int y = start; y < Height; y += start == 0 || start == 4 ? 8 : start == 2 ? 4 : 2)
                    order.push_back(y);
        } else {
            for (int y = 0; y < Height; ++y)
                order.push_back(y);
        }
        for (int y : order) {
            std::vector<GifPixelType> line(Indices.begin() + y * Width, Indices.begin() + (y + 1) * Width);
            if (frame > 0)  // later frames differ, so reading them would show
                for (auto& p : line)
                    p = 0;
            EGifPutLine(gif, line.data(), Width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

TFileBytes EncodeTiff(const TBitmap& Picture, int Compression)
{
    const std::string path = WriteTempFile("encode.tif", {});
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, Picture.Width());
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, Picture.Height());
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, Compression);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, Compression == COMPRESSION_JPEG ? 8 : 3);
    if (Compression == COMPRESSION_JPEG)
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 95);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(Picture.Width()) * 3);
    for (int y = 0; y < Picture.Height(); ++y) {
        for (int x = 0; x < Picture.Width(); ++x) {
            const TColor c = Picture.Pixel(x, y);
            row[3 * x] = RedOf(c), row[3 * x + 1] = GreenOf(c), row[3 * x + 2] = BlueOf(c);
        }
        TIFFWriteScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0);
    }
    TIFFClose(tif);
    std::ifstream in(path, std::ios::binary);
    return TFileBytes(std::istreambuf_iterator<char>(in), {});
}

TFileBytes EncodeWebpLossless(const TBitmap& Picture)
{
    std::uint8_t* data = nullptr;
    const std::size_t size =
        WebPEncodeLosslessBGR(Picture.Bits(), Picture.Width(), Picture.Height(), Picture.Stride(), &data);
    TFileBytes out(data, data + size);
    WebPFree(data);
    return out;
}

TFileBytes EncodeJpeg(const TBitmap& Picture, const TJpegOptions& Options)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = Picture.Width();
    info.image_height = Picture.Height();
    info.input_components = Options.Grey ? 1 : Options.Cmyk ? 4 : 3;
    info.in_color_space = Options.Grey ? JCS_GRAYSCALE : Options.Cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, Options.Quality, TRUE);
    if (Options.FullChroma)
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (Options.Progressive)
        jpeg_simple_progression(&info);
    if (Options.Cmyk)
        info.write_Adobe_marker = TRUE;
    jpeg_start_compress(&info, TRUE);
    if (Options.Orientation >= 1 && Options.Orientation <= 8) {
        TFileBytes exif{'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42};  // big-endian, to exercise that byte order
        PutBE32(exif, 8);
        PutBE16(exif, 1);        // one entry
        PutBE16(exif, 0x0112);   // orientation
        PutBE16(exif, 3);        // SHORT
        PutBE32(exif, 1);
        PutBE16(exif, static_cast<std::uint32_t>(Options.Orientation));
        PutBE16(exif, 0);
        PutBE32(exif, 0);        // no next directory
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(Picture.Width()) * 4);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < Picture.Width(); ++x) {
            const TColor c = Picture.Pixel(x, y);
            if (Options.Grey) {
                row[x] = GreenOf(c);
            } else if (Options.Cmyk) {  // inverted, as Adobe writes it: k = the largest channel
                const std::uint8_t k = std::max({RedOf(c), GreenOf(c), BlueOf(c)});
                auto ink = [k](std::uint8_t v) { return static_cast<std::uint8_t>(k ? v * 255 / k : 0); };
                row[4 * x] = ink(RedOf(c)), row[4 * x + 1] = ink(GreenOf(c)), row[4 * x + 2] = ink(BlueOf(c));
                row[4 * x + 3] = k;
            } else {
                std::memcpy(&row[3 * x], Picture.ScanLine(y) + 3 * x, 3);
            }
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    TFileBytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

namespace {
// PackBits of one row: one repeat when the row is uniform, else one literal run.
TFileBytes PackRow(const TFileBytes& Row)
{
    if (Row.size() > 1 && std::all_of(Row.begin(), Row.end(), [&](std::uint8_t v) { return v == Row[0]; }))
        return {static_cast<std::uint8_t>(257 - Row.size()), Row[0]};
    TFileBytes out{static_cast<std::uint8_t>(Row.size() - 1)};
    out.insert(out.end(), Row.begin(), Row.end());
    return out;
}
}  // namespace

TFileBytes PsdFile(int Width, int Height, int Depth, int Mode, const std::vector<std::vector<TFileBytes>>& Planes,
                   bool Rle, const TFileBytes& ColourData)
{
    TFileBytes f{'8', 'B', 'P', 'S'};
    PutBE16(f, 1);
    f.insert(f.end(), 6, 0);
    PutBE16(f, static_cast<std::uint32_t>(Planes.size()));
    PutBE32(f, static_cast<std::uint32_t>(Height));
    PutBE32(f, static_cast<std::uint32_t>(Width));
    PutBE16(f, static_cast<std::uint32_t>(Depth));
    PutBE16(f, static_cast<std::uint32_t>(Mode));
    PutBE32(f, static_cast<std::uint32_t>(ColourData.size()));
    f.insert(f.end(), ColourData.begin(), ColourData.end());
    PutBE32(f, 4);  // image resources: four bytes the reader must skip
    f.insert(f.end(), {1, 2, 3, 4});
    PutBE32(f, 0);  // no layers
    PutBE16(f, Rle ? 1 : 0);
    if (!Rle) {
        for (const auto& plane : Planes)
            for (const auto& row : plane)
                f.insert(f.end(), row.begin(), row.end());
        return f;
    }
    std::vector<TFileBytes> packed;
    for (const auto& plane : Planes)
        for (const auto& row : plane) {
            packed.push_back(PackRow(row));
            PutBE16(f, static_cast<std::uint32_t>(packed.back().size()));
        }
    for (const auto& p : packed)
        f.insert(f.end(), p.begin(), p.end());
    return f;
}

std::vector<std::vector<TFileBytes>> RgbPlanes(const TBitmap& Picture, bool Sixteen)
{
    std::vector<std::vector<TFileBytes>> planes(3);
    for (int c = 0; c < 3; ++c)
        for (int y = 0; y < Picture.Height(); ++y) {
            TFileBytes row;
            for (int x = 0; x < Picture.Width(); ++x) {
                const TColor p = Picture.Pixel(x, y);
                const std::uint8_t v = c == 0 ? RedOf(p) : c == 1 ? GreenOf(p) : BlueOf(p);
                row.push_back(v);
                if (Sixteen)
                    row.push_back(v);  // v * 257
            }
            planes[c].push_back(row);
        }
    return planes;
}

TFileBytes PhoFile(const TFileBytes& Jpeg, std::int32_t Length, const TFileBytes& Trailer)
{
    TFileBytes f{'a', 'n', 'y', 't', 'h', 'i', 'n', 'g'};  // the first eight bytes are never examined
    Put32(f, static_cast<std::uint32_t>(Length));
    f.insert(f.end(), Jpeg.begin(), Jpeg.end());
    f.insert(f.end(), Trailer.begin(), Trailer.end());
    return f;
}

int MaxDifference(const TBitmap& A, const TBitmap& B)
{
    if (A.Width() != B.Width() || A.Height() != B.Height())
        return 255;
    int worst = 0;
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width() * 3; ++x)
            worst = std::max(worst, std::abs(A.ScanLine(y)[x] - B.ScanLine(y)[x]));
    return worst;
}

std::string WriteTempFile(const std::string& Name, const TFileBytes& Bytes)
{
    // One folder per process, as ctest runs the tests in parallel processes.
    static const std::string folder = std::to_string(std::random_device()());
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "spindrel_picture_tests" / folder;
    std::filesystem::create_directories(dir);
    const std::string path = (dir / Name).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    return path;
}

}  // namespace spindrel::fixtures
