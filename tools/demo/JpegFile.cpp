// The canvas rounded to 8-bit RGB, one row at a time, through libjpeg.
#include "tools/demo/JpegFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace spindrel::demo {

namespace {

JSAMPLE Channel(double Value)
{
    return static_cast<JSAMPLE>(std::lround(std::clamp(Value, 0.0, 255.0)));
}

}  // namespace

bool WriteJpeg(const std::filesystem::path& File, const TCanvas& Canvas, int Quality)
{
    FILE* out = std::fopen(File.string().c_str(), "wb");
    if (!out)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(Canvas.Width());
    info.image_height = static_cast<JDIMENSION>(Canvas.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, Quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(Canvas.Width()) * 3);
    for (int y = 0; y < Canvas.Height(); ++y) {
        for (int x = 0; x < Canvas.Width(); ++x) {
            const TColor& c = Canvas.At(x, y);
            JSAMPLE* p = &row[static_cast<std::size_t>(x) * 3];
            p[0] = Channel(c.R), p[1] = Channel(c.G), p[2] = Channel(c.B);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0;
}

}  // namespace spindrel::demo
