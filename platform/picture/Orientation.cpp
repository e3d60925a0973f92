// Reading the orientation tag from the first directory of the EXIF block, and
// the eight ways of turning a bitmap upright.
#include "platform/picture/Orientation.h"

#include <cstring>

#include "platform/picture/ByteReader.h"

namespace spindrel {

int ExifOrientation(TBytes App1)
{
    const TByteReader in(App1);
    if (!in.Has(0, 6) || std::memcmp(in.At(0), "Exif\0\0", 6) != 0)
        return 1;
    const TByteReader tiff(App1.subspan(6));
    std::uint32_t order = 0, magic = 0, ifd = 0, count = 0;
    if (!tiff.U16LE(0, order) || (order != 0x4949 && order != 0x4D4D))
        return 1;
    const bool big = order == 0x4D4D;
    auto u16 = [&](std::size_t at, std::uint32_t& v) { return big ? tiff.U16BE(at, v) : tiff.U16LE(at, v); };
    auto u32 = [&](std::size_t at, std::uint32_t& v) { return big ? tiff.U32BE(at, v) : tiff.U32LE(at, v); };
    if (!u16(2, magic) || magic != 42 || !u32(4, ifd) || !u16(ifd, count))
        return 1;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = std::size_t(ifd) + 2 + std::size_t(i) * 12;
        std::uint32_t tag = 0, type = 0, value = 0;
        if (!u16(entry, tag) || !u16(entry + 2, type))
            return 1;
        if (tag != 0x0112)
            continue;
        if (type != 3 || !u16(entry + 8, value) || value < 1 || value > 8)  // a SHORT, in the value field
            return 1;
        return static_cast<int>(value);
    }
    return 1;
}

void ApplyOrientation(TBitmap& Picture, int Orientation)
{
    if (Orientation < 2 || Orientation > 8 || Picture.Empty())
        return;
    const int w = Picture.Width();
    const int h = Picture.Height();
    const bool swap = SwapsAxes(Orientation);
    TBitmap out(swap ? h : w, swap ? w : h);
    for (int y = 0; y < out.Height(); ++y) {
        std::uint8_t* dst = out.ScanLine(y);
        for (int x = 0; x < out.Width(); ++x) {
            int sx = x, sy = y;
            switch (Orientation) {
            case 2: sx = w - 1 - x; break;
            case 3: sx = w - 1 - x; sy = h - 1 - y; break;
            case 4: sy = h - 1 - y; break;
            case 5: sx = y; sy = x; break;
            case 6: sx = y; sy = h - 1 - x; break;
            case 7: sx = w - 1 - y; sy = h - 1 - x; break;
            case 8: sx = w - 1 - y; sy = x; break;
            }
            std::memcpy(dst + 3 * x, Picture.ScanLine(sy) + 3 * sx, 3);
        }
    }
    Picture = std::move(out);
}

}  // namespace spindrel
