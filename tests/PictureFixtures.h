// Small pictures with known pixels, written in each format by its own encoder
// (or byte by byte for the formats we read ourselves), for the reader tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"

namespace spindrel::fixtures {

using TFileBytes = std::vector<std::uint8_t>;

// Width x Height of distinct colours: red rises across, green down, blue mixes both.
TBitmap Pattern(int Width, int Height);

// Little-endian builders for hand-made headers.
void Put16(TFileBytes& Out, std::uint32_t V);
void Put32(TFileBytes& Out, std::uint32_t V);
void PutBE16(TFileBytes& Out, std::uint32_t V);
void PutBE32(TFileBytes& Out, std::uint32_t V);

// A bitmap file: file header, a 40-byte info header (or InfoSize bytes, zero-padded),
// the given masks and palette (blue, green, red, 0 each), then Pixels.
TFileBytes BmpFile(int Width, int Height, int BitCount, std::uint32_t Compression, const std::vector<TColor>& Palette,
               const TFileBytes& Pixels, std::uint32_t InfoSize = 40, const std::vector<std::uint32_t>& Masks = {});

TFileBytes EncodePng(const TBitmap& Picture, const std::vector<std::uint8_t>& Alpha = {}, bool Interlaced = false,
                 bool Sixteen = false);
// A GIF with its palette: Indices are Width*Height palette indices.
TFileBytes EncodeGif(int Width, int Height, const std::vector<TColor>& Palette, const std::vector<std::uint8_t>& Indices,
                 int Transparent = -1, bool Interlaced = false, int Frames = 1);
// Compression: libtiff's code (1 none, 5 LZW, 8 deflate, 32773 PackBits, 7 JPEG).
TFileBytes EncodeTiff(const TBitmap& Picture, int Compression);
TFileBytes EncodeWebpLossless(const TBitmap& Picture);
struct TJpegOptions {
    int Quality = 95;
    bool FullChroma = false;  // no subsampling of the colour channels
    bool Progressive = false;
    bool Grey = false;
    bool Cmyk = false;        // written as Adobe-inverted CMYK
    int Orientation = 0;      // with an EXIF block when 1..8
};
TFileBytes EncodeJpeg(const TBitmap& Picture, const TJpegOptions& Options = {});

// A layered-image file holding only its composite: Planes[c][y] is row y of
// channel c (1 or 2 bytes a sample), stored raw or PackBits-compressed.
TFileBytes PsdFile(int Width, int Height, int Depth, int Mode, const std::vector<std::vector<TFileBytes>>& Planes,
                   bool Rle, const TFileBytes& ColourData = {});
// The picture's red, green and blue channels as planes for PsdFile.
std::vector<std::vector<TFileBytes>> RgbPlanes(const TBitmap& Picture, bool Sixteen);
// A photo-album file: eight bytes, the 32-bit Length, the JPEG, the trailer.
TFileBytes PhoFile(const TFileBytes& Jpeg, std::int32_t Length, const TFileBytes& Trailer = {});

// Largest channel difference between two pictures of the same size (255 when sizes differ).
int MaxDifference(const TBitmap& A, const TBitmap& B);

// Writes Bytes to a file under the test's temporary folder and returns its path.
std::string WriteTempFile(const std::string& Name, const TFileBytes& Bytes);

}  // namespace spindrel::fixtures
