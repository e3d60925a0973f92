// spindrel-demo-pictures OUTDIR: paints the demo saver's pictures and writes them
// as JPEG files, so the demo needs no picture files in the repository.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct TColor {
    double R, G, B;
};

using TPainter = std::function<TColor(double x, double y)>;  // x, y in 0..1

TColor Mix(TColor a, TColor b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

// A sky fading into a sea, with a low sun.
TColor Dawn(double x, double y)
{
    TColor sky = Mix({40, 40, 110}, {250, 150, 90}, y / 0.6);
    if (y > 0.6)
        sky = Mix({30, 60, 120}, {10, 20, 50}, (y - 0.6) / 0.4);
    const double d = std::hypot(x - 0.5, (y - 0.55) * 1.3);
    return Mix(sky, {255, 230, 150}, (0.12 - d) / 0.02);
}

// Interfering waves.
TColor Tide(double x, double y)
{
    const double v = std::sin(x * 18) + std::sin(y * 14 + x * 6) + std::sin(std::hypot(x - 0.3, y - 0.7) * 30);
    return Mix({0, 70, 110}, {120, 220, 210}, (v + 3) / 6);
}

// Rings around a warm light.
TColor Lantern(double x, double y)
{
    const double d = std::hypot(x - 0.5, y - 0.4);
    const double ring = 0.5 + 0.5 * std::cos(d * 60);
    return Mix(Mix({255, 200, 80}, {90, 20, 40}, d * 2.2), {20, 10, 30}, ring * d);
}

// Rolling hills under a pale sky, with stripes of colour.
TColor Meadow(double x, double y)
{
    const double hill = 0.55 + 0.08 * std::sin(x * 9) + 0.04 * std::sin(x * 23 + 1);
    if (y < hill)
        return Mix({170, 210, 250}, {235, 245, 255}, y / hill);
    const double band = 0.5 + 0.5 * std::sin((y - hill) * 80 + x * 4);
    return Mix({40, 130, 40}, {200, 190, 60}, band * 0.4 + (y - hill));
}

bool WriteJpeg(const std::filesystem::path& File, int Width, int Height, const TPainter& Paint)
{
    FILE* out = std::fopen(File.string().c_str(), "wb");
    if (!out)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(Width);
    info.image_height = static_cast<JDIMENSION>(Height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(Width) * 3);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const TColor c = Paint((x + 0.5) / Width, (y + 0.5) / Height);
            JSAMPLE* p = &row[static_cast<std::size_t>(x) * 3];
            p[0] = static_cast<JSAMPLE>(std::clamp(c.R, 0.0, 255.0));
            p[1] = static_cast<JSAMPLE>(std::clamp(c.G, 0.0, 255.0));
            p[2] = static_cast<JSAMPLE>(std::clamp(c.B, 0.0, 255.0));
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: spindrel-demo-pictures OUTDIR\n";
        return 1;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    struct TPicture {
        const char* Name;
        int Width, Height;
        TPainter Paint;
    };
    // Landscape, portrait and odd sizes, so fitting and placement show.
    const TPicture pictures[] = {
        {"dawn.jpg", 1024, 768, Dawn},
        {"tide.jpg", 640, 480, Tide},
        {"lantern.jpg", 480, 640, Lantern},
        {"meadow.jpg", 801, 451, Meadow},
    };
    for (const TPicture& picture : pictures) {
        if (!WriteJpeg(dir / picture.Name, picture.Width, picture.Height, picture.Paint)) {
            std::cerr << "spindrel-demo-pictures: cannot write " << (dir / picture.Name).string() << "\n";
            return 1;
        }
    }
    return 0;
}
