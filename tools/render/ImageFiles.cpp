// BMP is written by hand (a header and the bitmap's own rows); PNG through libpng.
#include "tools/render/ImageFiles.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

namespace spindrel::render {

namespace {

std::string LowerExtension(const std::string& FileName)
{
    const std::size_t dot = FileName.find_last_of('.');
    std::string ext = dot == std::string::npos ? "" : FileName.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

void Put16(std::vector<std::uint8_t>& Out, std::uint32_t V)
{
    Out.push_back(static_cast<std::uint8_t>(V));
    Out.push_back(static_cast<std::uint8_t>(V >> 8));
}
void Put32(std::vector<std::uint8_t>& Out, std::uint32_t V)
{
    Put16(Out, V & 0xFFFF);
    Put16(Out, V >> 16);
}

void WriteBmp(const std::string& FileName, const TBitmap& Picture)
{
    const std::uint32_t pixels = static_cast<std::uint32_t>(Picture.ByteSize());
    std::vector<std::uint8_t> header;
    header.push_back('B');
    header.push_back('M');
    Put32(header, 54 + pixels);
    Put32(header, 0);
    Put32(header, 54);
    Put32(header, 40);  // BITMAPINFOHEADER
    Put32(header, static_cast<std::uint32_t>(Picture.Width()));
    Put32(header, static_cast<std::uint32_t>(-Picture.Height()));  // top-down, as our rows are
    Put16(header, 1);
    Put16(header, 24);
    for (int i = 0; i < 6; ++i)
        Put32(header, i == 1 ? pixels : 0);
    std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(Picture.Bits()), static_cast<std::streamsize>(pixels));
    if (!out.flush())
        throw std::runtime_error("cannot write \"" + FileName + "\"");
}

void WritePng(const std::string& FileName, const TBitmap& Picture)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(FileName.c_str(), "wb"), &std::fclose);
    if (!file)
        throw std::runtime_error("cannot create \"" + FileName + "\"");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("out of memory writing \"" + FileName + "\"");
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(Picture.Height()));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot write \"" + FileName + "\"");
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(Picture.Width()), static_cast<png_uint_32>(Picture.Height()),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);  // contact sheets are large; speed beats the last few percent
    png_write_info(png, info);
    png_set_bgr(png);  // our rows are blue, green, red
    for (int y = 0; y < Picture.Height(); ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(Picture.ScanLine(y));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0)
        throw std::runtime_error("cannot write \"" + FileName + "\"");
}

}  // namespace

void WriteImageFile(const std::string& FileName, const TBitmap& Picture)
{
    if (Picture.Empty())
        throw std::runtime_error("nothing to write to \"" + FileName + "\": the picture is empty");
    const std::string ext = LowerExtension(FileName);
    if (ext == ".bmp")
        WriteBmp(FileName, Picture);
    else if (ext == ".png")
        WritePng(FileName, Picture);
    else
        throw std::runtime_error("\"" + FileName + "\": write .bmp or .png");
}

void ParseSize(const std::string& Text, int& Width, int& Height)
{
    char rest = 0;
    if (std::sscanf(Text.c_str(), "%dx%d%c", &Width, &Height, &rest) != 2 || Width <= 0 || Height <= 0 ||
        Width > 30000 || Height > 30000)
        throw std::runtime_error("\"" + Text + "\" is not a size such as 1920x1080");
}

}  // namespace spindrel::render
