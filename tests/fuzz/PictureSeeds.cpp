// Writes the seed corpus of every picture fuzzer: small files of each variant a
// reader handles, made by the same encoders as the unit tests' fixtures.
// Usage: picture_fuzz_seeds CORPUS_ROOT (writes CORPUS_ROOT/<reader>_fuzz/*).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/PictureFixtures.h"

using namespace spindrel;
using namespace spindrel::fixtures;

namespace {

std::filesystem::path Root;

void Seed(const std::string& Fuzzer, const std::string& Name, const TFileBytes& Bytes)
{
    const std::filesystem::path dir = Root / (Fuzzer + "_fuzz");
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / Name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

TFileBytes BottomUpRows(const TBitmap& Picture)
{
    TFileBytes rows;
    for (int y = Picture.Height() - 1; y >= 0; --y)
        rows.insert(rows.end(), Picture.ScanLine(y), Picture.ScanLine(y) + Picture.Stride());
    return rows;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: picture_fuzz_seeds CORPUS_ROOT\n");
        return 1;
    }
    Root = argv[1];
    const TBitmap pattern = Pattern(13, 9);
    const std::vector<TColor> palette = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};

    Seed("bmp", "24.bmp", BmpFile(13, 9, 24, 0, {}, BottomUpRows(pattern)));
    Seed("bmp", "24-top-down.bmp", BmpFile(3, -2, 24, 0, {}, TFileBytes(24, 0x80)));
    Seed("bmp", "8.bmp", BmpFile(4, 2, 8, 0, palette, {0, 1, 2, 3, 3, 2, 1, 0}));
    Seed("bmp", "4.bmp", BmpFile(4, 2, 4, 0, palette, {0x01, 0x23, 0, 0, 0x32, 0x10, 0, 0}));
    Seed("bmp", "1.bmp", BmpFile(9, 2, 1, 0, {RGB(0, 0, 0), RGB(255, 255, 255)}, {0xA5, 0x80, 0, 0, 0x5A, 0, 0, 0}));
    Seed("bmp", "16-565.bmp", BmpFile(2, 1, 16, 3, {}, {0x1F, 0xF8, 0xE0, 0x07}, 40, {0xF800, 0x07E0, 0x001F}));
    Seed("bmp", "32-alpha.bmp", BmpFile(1, 1, 32, 3, {}, {1, 2, 3, 0x80}, 124, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}));
    Seed("bmp", "rle8.bmp", BmpFile(6, 3, 8, 1, palette, {3, 1, 0, 3, 3, 2, 1, 0, 0, 0, 0, 2, 2, 0, 3, 2, 0, 0, 0, 3,
                                                          1, 2, 3, 0, 3, 3, 0, 1}));
    Seed("bmp", "rle4.bmp", BmpFile(5, 2, 4, 2, palette, {5, 0x12, 0, 0, 0, 5, 0x31, 0x23, 0x10, 0, 0, 1}));

    Seed("png", "rgb.png", EncodePng(pattern));
    Seed("png", "interlaced.png", EncodePng(pattern, {}, true));
    Seed("png", "16-bit.png", EncodePng(pattern, {}, false, true));
    Seed("png", "alpha.png", EncodePng(Pattern(3, 1), {255, 128, 0}));

    std::vector<std::uint8_t> indices(13 * 9);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<std::uint8_t>(i % 4);
    Seed("gif", "plain.gif", EncodeGif(13, 9, palette, indices));
    Seed("gif", "interlaced.gif", EncodeGif(13, 9, palette, indices, -1, true));
    Seed("gif", "transparent-frames.gif", EncodeGif(13, 9, palette, indices, 2, false, 2));

    for (int compression : {1, 5, 7, 8, 32773})
        Seed("tiff", "compression-" + std::to_string(compression) + ".tif", EncodeTiff(pattern, compression));

    Seed("webp", "lossless.webp", EncodeWebpLossless(pattern));

    Seed("jpeg", "baseline.jpg", EncodeJpeg(Pattern(24, 16)));
    Seed("jpeg", "progressive.jpg", EncodeJpeg(Pattern(24, 16), {.Progressive = true}));
    Seed("jpeg", "grey.jpg", EncodeJpeg(Pattern(16, 8), {.Grey = true}));
    Seed("jpeg", "cmyk.jpg", EncodeJpeg(Pattern(16, 8), {.Cmyk = true}));
    Seed("jpeg", "exif-6.jpg", EncodeJpeg(Pattern(16, 8), {.Orientation = 6}));

    Seed("psd", "rgb-rle.psd", PsdFile(13, 9, 8, 3, RgbPlanes(pattern, false), true));
    Seed("psd", "rgb16-raw.psd", PsdFile(4, 3, 16, 3, RgbPlanes(Pattern(4, 3), true), false));
    Seed("psd", "grey.psd", PsdFile(3, 1, 8, 1, {{{0, 100, 255}}}, true));
    Seed("psd", "cmyk.psd", PsdFile(2, 1, 8, 4, {{{0, 255}}, {{255, 255}}, {{255, 255}}, {{255, 128}}}, false));

    const TFileBytes jpeg = EncodeJpeg(Pattern(16, 8));
    Seed("pho", "album.pho", PhoFile(jpeg, static_cast<std::int32_t>(jpeg.size()), {1, 2, 3}));
    Seed("pho", "empty.pho", PhoFile(jpeg, 0));
    return 0;
}
