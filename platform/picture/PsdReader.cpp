// The composite-picture reader: header, three skipped sections (each a 32-bit
// length, checked against the file), then the planar channel data.
#include "platform/picture/PsdReader.h"

#include <vector>

#include "platform/picture/ByteReader.h"

namespace spindrel {

namespace {

enum : std::uint32_t { ModeGrey = 1, ModeIndexed = 2, ModeRgb = 3, ModeCmyk = 4, ModeDuotone = 8 };

TPictureResult Bad(const std::string& Why) { return PictureFailure(TPictureStatus::Malformed, "PSD: " + Why); }
TPictureResult Unsupported(const std::string& Why) { return PictureFailure(TPictureStatus::Unsupported, "PSD: " + Why); }

// Unpacks one PackBits row; false unless it fills Out exactly from exactly In.
bool UnpackBits(const std::uint8_t* In, std::size_t InSize, std::uint8_t* Out, std::size_t OutSize)
{
    std::size_t i = 0, o = 0;
    while (i < InSize) {
        const int n = static_cast<std::int8_t>(In[i++]);
        if (n >= 0) {
            const std::size_t count = static_cast<std::size_t>(n) + 1;
            if (count > InSize - i || count > OutSize - o)
                return false;
            std::copy(In + i, In + i + count, Out + o);
            i += count;
            o += count;
        } else if (n != -128) {  // -128 is a no-op
            const std::size_t count = static_cast<std::size_t>(1 - n);
            if (i >= InSize || count > OutSize - o)
                return false;
            std::fill(Out + o, Out + o + count, In[i++]);
            o += count;
        }
    }
    return o == OutSize;
}

}  // namespace

TPictureResult ReadPsd(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    const TByteReader in(Data);
    std::uint32_t signature = 0, version = 0, channels = 0, height = 0, width = 0, depth = 0, mode = 0;
    if (!in.U32BE(0, signature) || signature != 0x38425053)  // "8BPS"
        return Bad("no signature");
    if (!in.U16BE(4, version) || !in.U16BE(12, channels) || !in.U32BE(14, height) || !in.U32BE(18, width) ||
        !in.U16BE(22, depth) || !in.U16BE(24, mode))
        return Bad("the header is truncated");
    if (version != 1)
        return Unsupported("version " + std::to_string(version) + " (large documents) is not supported");
    if (TPictureResult r = CheckPictureSize("PSD", width, height, Options); !r.Ok())
        return r;
    if (depth != 8 && depth != 16)
        return Unsupported(std::to_string(depth) + "-bit channels are not supported");
    std::uint32_t needed = 0;
    switch (mode) {
    case ModeGrey:
    case ModeDuotone: needed = 1; break;
    case ModeIndexed: needed = 1; break;
    case ModeRgb: needed = 3; break;
    case ModeCmyk: needed = 4; break;
    default: return Unsupported("colour mode " + std::to_string(mode) + " is not supported");
    }
    if (channels < needed || channels > 56)
        return Bad(std::to_string(channels) + " channels for colour mode " + std::to_string(mode));
    if (mode == ModeIndexed && depth != 8)
        return Bad("indexed colours with 16-bit channels");

    // Colour mode data (the palette of indexed pictures), image resources, layers.
    std::size_t at = 26;
    std::size_t paletteAt = 0, paletteSize = 0;
    for (int section = 0; section < 3; ++section) {
        std::uint32_t length = 0;
        if (!in.U32BE(at, length) || !in.Has(at + 4, length))
            return Bad("a section's length goes beyond the end of the file");
        if (section == 0) {
            paletteAt = at + 4;
            paletteSize = length;
        }
        at += 4 + static_cast<std::size_t>(length);
    }
    if (mode == ModeIndexed && paletteSize < 768)
        return Bad("indexed picture without its 256-colour table");
    std::uint32_t compression = 0;
    if (!in.U16BE(at, compression))
        return Bad("the picture data is missing");
    at += 2;

    const std::size_t sampleBytes = depth / 8;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sampleBytes;
    // Where each row of each channel we need starts, and how many bytes it takes.
    std::vector<std::size_t> rowStart(static_cast<std::size_t>(needed) * height);
    std::vector<std::size_t> rowLength(rowStart.size(), rowBytes);
    if (compression == 0) {
        if (!in.Has(at, rowBytes * height * needed))
            return Bad("the picture data is truncated");
        for (std::size_t i = 0; i < rowStart.size(); ++i)
            rowStart[i] = at + i * rowBytes;
    } else if (compression == 1) {
        const std::size_t counts = static_cast<std::size_t>(channels) * height;
        if (!in.Has(at, counts * 2))
            return Bad("the table of row lengths is truncated");
        std::size_t data = at + counts * 2;
        for (std::size_t i = 0; i < rowStart.size(); ++i) {
            std::uint32_t n = 0;
            in.U16BE(at + 2 * i, n);
            if (!in.Has(data, n))
                return Bad("a compressed row goes beyond the end of the file");
            rowStart[i] = data;
            rowLength[i] = n;
            data += n;
        }
    } else {
        return Unsupported("compression " + std::to_string(compression) + " is not supported");
    }

    TBitmap decoded(static_cast<int>(width), static_cast<int>(height));
    std::vector<std::uint8_t> planes(static_cast<std::size_t>(needed) * rowBytes);
    std::uint8_t sample[4] = {};
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t c = 0; c < needed; ++c) {
            const std::size_t i = static_cast<std::size_t>(c) * height + y;
            std::uint8_t* plane = planes.data() + c * rowBytes;
            if (compression == 0)
                std::copy(in.At(rowStart[i]), in.At(rowStart[i]) + rowBytes, plane);
            else if (!UnpackBits(in.At(rowStart[i]), rowLength[i], plane, rowBytes))
                return Bad("a compressed row does not unpack to the row's width");
        }
        std::uint8_t* out = decoded.ScanLine(static_cast<int>(y));
        for (std::uint32_t x = 0; x < width; ++x, out += 3) {
            for (std::uint32_t c = 0; c < needed; ++c) {
                const std::uint8_t* p = planes.data() + c * rowBytes + x * sampleBytes;
                // 16-bit samples are big-endian; rounded to the nearest 8-bit value.
                sample[c] = sampleBytes == 1 ? p[0] : static_cast<std::uint8_t>(((p[0] << 8 | p[1]) * 255u + 32767) / 65535);
            }
            switch (mode) {
            case ModeGrey:
            case ModeDuotone: out[0] = out[1] = out[2] = sample[0]; break;
            case ModeIndexed: {
                const std::uint8_t* table = in.At(paletteAt);  // 256 reds, 256 greens, 256 blues
                out[0] = table[512 + sample[0]];
                out[1] = table[256 + sample[0]];
                out[2] = table[sample[0]];
                break;
            }
            case ModeRgb:
                out[0] = sample[2];
                out[1] = sample[1];
                out[2] = sample[0];
                break;
            case ModeCmyk: {  // stored inverted: 255 is no ink
                const unsigned k = sample[3];
                out[0] = static_cast<std::uint8_t>((sample[2] * k + 127) / 255);
                out[1] = static_cast<std::uint8_t>((sample[1] * k + 127) / 255);
                out[2] = static_cast<std::uint8_t>((sample[0] * k + 127) / 255);
                break;
            }
            }
        }
    }
    Picture = std::move(decoded);
    return TPictureResult::Success();
}

}  // namespace spindrel
