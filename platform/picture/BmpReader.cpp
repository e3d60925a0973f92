// The bitmap file reader. Every offset and length from the file is checked
// against the buffer before it is used; the header's size before we allocate.
#include "platform/picture/BmpReader.h"

#include <array>
#include <bit>
#include <vector>

#include "platform/picture/ByteReader.h"

namespace spindrel {

namespace {

enum : std::uint32_t { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitFields = 3, BiAlphaBitFields = 6 };

TPictureResult Bad(const std::string& Why) { return PictureFailure(TPictureStatus::Malformed, "BMP: " + Why); }
TPictureResult Unsupported(const std::string& Why) { return PictureFailure(TPictureStatus::Unsupported, "BMP: " + Why); }

// One channel of a bit-field pixel, widened to 8 bits by repeating its bits
// (so 5-bit 31 gives 255), or cut to its top 8 bits when it is wider.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    bool Set(std::uint32_t M)
    {
        Mask = M;
        if (M == 0)
            return true;
        Shift = std::countr_zero(M);
        Bits = std::popcount(M);
        return std::countr_one(M >> Shift) == Bits;  // contiguous bits only
    }
    std::uint8_t Of(std::uint32_t Pixel) const
    {
        if (Bits == 0)
            return 0;
        const std::uint32_t v = (Pixel & Mask) >> Shift;
        if (Bits >= 8)
            return static_cast<std::uint8_t>(v >> (Bits - 8));
        std::uint32_t out = v << (8 - Bits);
        for (int filled = Bits; filled < 8; filled += Bits)
            out |= out >> Bits;
        return static_cast<std::uint8_t>(out);
    }
};

struct THeader {
    std::int64_t Width = 0;
    std::int64_t Height = 0;  // always positive here; TopDown says which row comes first
    bool TopDown = false;
    std::uint32_t BitCount = 0;
    std::uint32_t Compression = BiRgb;
    std::uint32_t ColorsUsed = 0;
    std::uint32_t Masks[4] = {};  // red, green, blue, alpha
    bool HasMasks = false;
    std::size_t PaletteOffset = 0;
    std::size_t PaletteEntrySize = 4;
    std::size_t PixelOffset = 0;
};

TPictureResult ReadHeader(const TByteReader& In, THeader& H)
{
    std::uint32_t magic = 0, offBits = 0, infoSize = 0;
    if (!In.U16LE(0, magic) || magic != 0x4D42)
        return Bad("not a bitmap file (no \"BM\" signature)");
    if (!In.U32LE(10, offBits) || !In.U32LE(14, infoSize))
        return Bad("file header is truncated");
    if (infoSize < 12 || !In.Has(14, infoSize))
        return Bad("info header of " + std::to_string(infoSize) + " bytes is truncated or too small");
    std::uint32_t v = 0;
    if (infoSize == 12) {  // the old core header: 16-bit sizes, 3-byte palette entries
        std::uint32_t w = 0, h = 0;
        In.U16LE(18, w);
        In.U16LE(20, h);
        In.U16LE(24, v);
        H.Width = w;
        H.Height = h;
        H.BitCount = v;
        H.PaletteEntrySize = 3;
    } else {
        if (infoSize < 16)
            return Bad("info header of " + std::to_string(infoSize) + " bytes");
        std::uint32_t w = 0, h = 0;
        In.U32LE(18, w);
        In.U32LE(22, h);
        In.U16LE(28, v);
        H.BitCount = v;
        H.Width = static_cast<std::int32_t>(w);
        const std::int32_t height = static_cast<std::int32_t>(h);
        H.TopDown = height < 0;
        H.Height = height < 0 ? -static_cast<std::int64_t>(height) : height;
        if (infoSize >= 20)
            In.U32LE(30, H.Compression);
        if (infoSize >= 36)
            In.U32LE(46, H.ColorsUsed);
        if (infoSize == 16 || infoSize == 64) {
            // OS/2 2.x headers number their Huffman and RLE24 codes 3 and 4 differently; we read none of them.
            if (H.Compression == 3 || H.Compression == 4)
                return Unsupported("OS/2 Huffman and RLE24 compression are not supported");
        }
    }
    std::size_t afterHeader = 14 + static_cast<std::size_t>(infoSize);
    if (H.Compression == BiBitFields || H.Compression == BiAlphaBitFields) {
        const std::size_t maskCount = H.Compression == BiAlphaBitFields ? 4 : 3;
        if (infoSize >= 52) {  // V2 and later headers carry the masks themselves
            for (std::size_t i = 0; i < 4 && 40 + 4 * i + 4 <= infoSize; ++i)
                In.U32LE(14 + 40 + 4 * i, H.Masks[i]);
        } else {
            for (std::size_t i = 0; i < maskCount; ++i)
                if (!In.U32LE(afterHeader + 4 * i, H.Masks[i]))
                    return Bad("bit-field masks are truncated");
            afterHeader += 4 * maskCount;
        }
        H.HasMasks = true;
    } else if (infoSize >= 56 && H.BitCount == 32) {
        In.U32LE(14 + 52, H.Masks[3]);  // an alpha mask may come with plain 32-bit pixels
    }
    H.PaletteOffset = afterHeader;
    H.PixelOffset = offBits;
    return TPictureResult::Success();
}

// The colour table, always 256 entries so any index is safe; missing entries are black.
TPictureResult ReadPalette(const TByteReader& In, const THeader& H, std::array<std::uint32_t, 256>& Palette)
{
    Palette.fill(0);
    if (H.BitCount > 8)
        return TPictureResult::Success();
    std::size_t count = H.ColorsUsed != 0 ? H.ColorsUsed : std::size_t(1) << H.BitCount;
    count = std::min<std::size_t>(count, std::size_t(1) << H.BitCount);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = H.PaletteOffset + i * H.PaletteEntrySize;
        if (!In.Has(at, 3))
            return Bad("colour table is truncated");
        const std::uint8_t* p = In.At(at);
        Palette[i] = p[0] | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;  // blue, green, red
    }
    return TPictureResult::Success();
}

void PutBgr(std::uint8_t* Out, std::uint32_t Bgr)
{
    Out[0] = static_cast<std::uint8_t>(Bgr);
    Out[1] = static_cast<std::uint8_t>(Bgr >> 8);
    Out[2] = static_cast<std::uint8_t>(Bgr >> 16);
}

TPictureResult ReadUncompressed(const TByteReader& In, const THeader& H, const std::array<std::uint32_t, 256>& Palette,
                                TBitmap& Picture)
{
    const int width = static_cast<int>(H.Width);
    const int height = static_cast<int>(H.Height);
    const std::size_t stride = ((static_cast<std::size_t>(width) * H.BitCount + 31) / 32) * 4;
    const std::size_t lastRow = (static_cast<std::size_t>(width) * H.BitCount + 7) / 8;
    // The last row's padding is often left out by writers; its pixels must be there.
    if (!In.Has(H.PixelOffset, stride * (height - 1) + lastRow))
        return Bad("pixel data is truncated");

    TChannel channels[4];
    bool alpha = false;
    if (H.BitCount == 16 || H.BitCount == 32) {
        std::uint32_t masks[4] = {H.Masks[0], H.Masks[1], H.Masks[2], H.Masks[3]};
        if (!H.HasMasks) {
            if (H.BitCount == 16) {
                masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
            } else {
                masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
            }
        }
        for (int c = 0; c < 4; ++c)
            if (!channels[c].Set(masks[c]))
                return Unsupported("bit-field masks with gaps are not supported");
        alpha = channels[3].Bits > 0;
    }

    Picture.SetSize(width, height);
    bool anyAlpha = false;
    std::vector<std::uint8_t> alphas;
    if (alpha)
        alphas.resize(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* src = In.At(H.PixelOffset + stride * row);
        const int y = H.TopDown ? row : height - 1 - row;
        std::uint8_t* out = Picture.ScanLine(y);
        switch (H.BitCount) {
        case 1:
        case 4:
        case 8: {
            const unsigned bits = H.BitCount;
            const unsigned perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int x = 0; x < width; ++x) {
                const unsigned byte = src[x / perByte];
                const unsigned shift = 8 - bits * (x % perByte + 1);
                PutBgr(out + 3 * x, Palette[(byte >> shift) & mask]);
            }
            break;
        }
        case 24:
            std::copy(src, src + static_cast<std::size_t>(width) * 3, out);
            break;
        case 16:
        case 32: {
            const int bytes = H.BitCount / 8;
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = src + x * bytes;
                const std::uint32_t pixel = bytes == 2 ? p[0] | std::uint32_t(p[1]) << 8
                                                       : p[0] | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                                                             std::uint32_t(p[3]) << 24;
                out[3 * x + 0] = channels[2].Of(pixel);
                out[3 * x + 1] = channels[1].Of(pixel);
                out[3 * x + 2] = channels[0].Of(pixel);
                if (alpha) {
                    const std::uint8_t a = channels[3].Of(pixel);
                    alphas[static_cast<std::size_t>(y) * width + x] = a;
                    anyAlpha |= a != 0;
                }
            }
            break;
        }
        }
    }
    // Many writers leave the alpha bytes at zero without meaning "transparent".
    if (anyAlpha) {
        for (int y = 0; y < height; ++y) {
            std::uint8_t* out = Picture.ScanLine(y);
            for (int x = 0; x < width * 3; ++x) {
                const unsigned a = alphas[static_cast<std::size_t>(y) * width + x / 3];
                out[x] = static_cast<std::uint8_t>((out[x] * a + 127) / 255);
            }
        }
    }
    return TPictureResult::Success();
}

TPictureResult ReadRle(const TByteReader& In, const THeader& H, const std::array<std::uint32_t, 256>& Palette,
                       TBitmap& Picture)
{
    const int width = static_cast<int>(H.Width);
    const int height = static_cast<int>(H.Height);
    const bool four = H.Compression == BiRle4;
    Picture.SetSize(width, height);
    std::size_t at = H.PixelOffset;
    int x = 0;
    int row = 0;  // in file order
    // Pixels past the row's end are dropped, not wrapped: common writers encode
    // the row padding too, and the platform's own decoder clips them the same way.
    auto put = [&](unsigned Index) {
        if (x < width) {
            const int y = H.TopDown ? row : height - 1 - row;
            PutBgr(Picture.ScanLine(y) + 3 * x, Palette[Index]);
        }
        ++x;
    };
    for (;;) {
        if (!In.Has(at, 2)) {
            if (row >= height)
                return TPictureResult::Success();  // every row is there; only the end mark is missing
            return Bad("RLE data ends before the picture does");
        }
        const unsigned count = *In.At(at);
        const unsigned value = *In.At(at + 1);
        at += 2;
        if (count > 0) {
            if (row >= height)
                return Bad("RLE run goes beyond the last row");
            for (unsigned i = 0; i < count; ++i)
                put(four ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            return TPictureResult::Success();
        } else if (value == 2) {  // delta: skip right and down, leaving black
            if (!In.Has(at, 2))
                return Bad("RLE delta is truncated");
            const unsigned dx = *In.At(at);
            const unsigned dy = *In.At(at + 1);
            at += 2;
            if (x + static_cast<int>(dx) > width || dy > static_cast<unsigned>(height - row))
                return Bad("RLE delta moves outside the picture");
            x += static_cast<int>(dx);
            row += static_cast<int>(dy);
        } else {  // absolute run of 'value' pixels, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (!In.Has(at, bytes))
                return Bad("RLE absolute run is truncated");
            if (row >= height)
                return Bad("RLE absolute run goes beyond the last row");
            for (unsigned i = 0; i < value; ++i) {
                const unsigned byte = *In.At(at + (four ? i / 2 : i));
                put(four ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte);
            }
            at += bytes + (bytes & 1);
        }
    }
}

}  // namespace

TPictureResult ReadBmp(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    const TByteReader in(Data);
    THeader h;
    if (TPictureResult r = ReadHeader(in, h); !r.Ok())
        return r;
    if (TPictureResult r = CheckPictureSize("BMP", h.Width, h.Height, Options); !r.Ok())
        return r;

    const bool rle = h.Compression == BiRle8 || h.Compression == BiRle4;
    switch (h.Compression) {
    case BiRgb:
        if (h.BitCount != 1 && h.BitCount != 4 && h.BitCount != 8 && h.BitCount != 16 && h.BitCount != 24 &&
            h.BitCount != 32)
            return Bad(std::to_string(h.BitCount) + " bits a pixel");
        break;
    case BiRle8:
    case BiRle4:
        if (h.BitCount != (h.Compression == BiRle8 ? 8u : 4u))
            return Bad("RLE" + std::string(h.Compression == BiRle8 ? "8" : "4") + " with " +
                       std::to_string(h.BitCount) + " bits a pixel");
        break;
    case BiBitFields:
    case BiAlphaBitFields:
        if (h.BitCount != 16 && h.BitCount != 32)
            return Bad("bit-field masks with " + std::to_string(h.BitCount) + " bits a pixel");
        break;
    default:
        return Unsupported("compression " + std::to_string(h.Compression) +
                           " (embedded JPEG or PNG, or unknown) is not supported");
    }

    std::array<std::uint32_t, 256> palette;
    if (TPictureResult r = ReadPalette(in, h, palette); !r.Ok())
        return r;
    if (h.PixelOffset == 0) {  // some writers leave it out; the pixels then follow the colour table
        std::size_t entries = 0;
        if (h.BitCount <= 8)
            entries = std::min<std::size_t>(h.ColorsUsed ? h.ColorsUsed : 256, std::size_t(1) << h.BitCount);
        h.PixelOffset = h.PaletteOffset + entries * h.PaletteEntrySize;
    }
    if (h.PixelOffset >= in.Size())
        return Bad("pixel data offset " + std::to_string(h.PixelOffset) + " lies beyond the end of the file");
    TBitmap decoded;
    const TPictureResult r = rle ? ReadRle(in, h, palette, decoded) : ReadUncompressed(in, h, palette, decoded);
    if (r.Ok())
        Picture = std::move(decoded);
    return r;
}

}  // namespace spindrel
