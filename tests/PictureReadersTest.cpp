// The library-backed readers (PNG, GIF, TIFF, WebP, JPEG) on files their own
// encoders wrote: lossless ones must give back every pixel, lossy ones come close.
#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/picture/GifReader.h"
#include "platform/picture/JpegReader.h"
#include "platform/picture/Orientation.h"
#include "platform/picture/PngReader.h"
#include "platform/picture/TiffReader.h"
#include "platform/picture/WebpReader.h"
#include "tests/PictureFixtures.h"

using namespace spindrel;
using namespace spindrel::fixtures;

namespace {

TBitmap Decode(TPictureResult (*Reader)(TBytes, TBitmap&, const TDecodeOptions&), const TFileBytes& File,
               const TDecodeOptions& Options = {})
{
    TBitmap out;
    const TPictureResult r = Reader(File, out, Options);
    EXPECT_TRUE(r.Ok()) << r.Message;
    return out;
}

// Every way a file can be cut or damaged must end in a refusal, not a crash;
// the cut files must also say why.
void ExpectRefusesDamage(TPictureResult (*Reader)(TBytes, TBitmap&, const TDecodeOptions&),
                         const TFileBytes& File, const char* Name)
{
    for (std::size_t keep : {std::size_t(0), std::size_t(7), File.size() / 2, File.size() - 20}) {
        TBitmap out;
        const TPictureResult r = Reader(TBytes(File.data(), keep), out, {});
        EXPECT_FALSE(r.Ok()) << Name << " cut to " << keep << " bytes";
        EXPECT_FALSE(r.Message.empty()) << Name;
        EXPECT_TRUE(out.Empty()) << Name;
    }
    for (std::size_t at = 0; at < File.size(); at += 7) {  // flipped bytes: any result but a crash
        TFileBytes damaged = File;
        damaged[at] ^= 0x5A;
        TBitmap out;
        const TPictureResult r = Reader(damaged, out, {});
        EXPECT_TRUE(r.Ok() || !r.Message.empty()) << Name;
    }
}

}  // namespace

TEST(PngReader, DecodesOpaqueInterlacedAndSixteenBitExactly)
{
    const TBitmap pattern = Pattern(13, 7);
    EXPECT_EQ(Decode(ReadPng, EncodePng(pattern)), pattern);
    EXPECT_EQ(Decode(ReadPng, EncodePng(pattern, {}, true)), pattern);
    EXPECT_EQ(Decode(ReadPng, EncodePng(pattern, {}, false, true)), pattern);  // v * 257 rounds back to v
}

TEST(PngReader, ComposesTransparencyOnBlack)
{
    TBitmap white(3, 1);
    FillRect(white, white.Bounds(), RGB(255, 255, 255));
    const TBitmap b = Decode(ReadPng, EncodePng(white, {255, 128, 0}));
    EXPECT_EQ(b.Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(b.Pixel(1, 0), RGB(128, 128, 128));
    EXPECT_EQ(b.Pixel(2, 0), RGB(0, 0, 0));
}

TEST(PngReader, RefusesDamagedAndHugeFiles)
{
    ExpectRefusesDamage(ReadPng, EncodePng(Pattern(16, 16)), "PNG");
    TBitmap one(1, 1);
    TFileBytes huge = EncodePng(one);
    huge[16] = 0, huge[17] = 0, huge[18] = 0x75, huge[19] = 0x31;  // width 30001, with its chunk's CRC redone
    const uLong crc = crc32(0, huge.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    TBitmap out;
    const TPictureResult r = ReadPng(huge, out, {});
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.Status, TPictureStatus::TooLarge) << r.Message;
}

TEST(GifReader, DecodesTheFirstFrameWithTransparencyOnBlack)
{
    const std::vector<TColor> palette = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)};
    std::vector<std::uint8_t> indices(9 * 11);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<std::uint8_t>((i * 7 / 5) % 4);
    TBitmap expected(9, 11);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 9; ++x)
            expected.SetPixel(x, y, palette[indices[static_cast<std::size_t>(y) * 9 + x]]);
    EXPECT_EQ(Decode(ReadGif, EncodeGif(9, 11, palette, indices)), expected);
    EXPECT_EQ(Decode(ReadGif, EncodeGif(9, 11, palette, indices, -1, true)), expected);  // interlaced rows
    EXPECT_EQ(Decode(ReadGif, EncodeGif(9, 11, palette, indices, -1, false, 3)), expected);  // later frames unread

    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 9; ++x)
            if (indices[static_cast<std::size_t>(y) * 9 + x] == 3)
                expected.SetPixel(x, y, RGB(0, 0, 0));
    EXPECT_EQ(Decode(ReadGif, EncodeGif(9, 11, palette, indices, 3)), expected);
}

TEST(GifReader, RefusesDamagedFiles)
{
    std::vector<std::uint8_t> indices(20 * 20);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<std::uint8_t>(i * 13 % 16);
    std::vector<TColor> palette(16);
    ExpectRefusesDamage(ReadGif, EncodeGif(20, 20, palette, indices), "GIF");
}

TEST(TiffReader, DecodesEachLosslessCompressionExactly)
{
    const TBitmap pattern = Pattern(11, 9);
    for (int compression : {1, 5, 8, 32773})
        EXPECT_EQ(Decode(ReadTiff, EncodeTiff(pattern, compression)), pattern) << "compression " << compression;
    EXPECT_LE(MaxDifference(Decode(ReadTiff, EncodeTiff(pattern, 7)), pattern), 40);  // JPEG inside
}

TEST(TiffReader, RefusesDamagedFiles) { ExpectRefusesDamage(ReadTiff, EncodeTiff(Pattern(16, 16), 5), "TIFF"); }

TEST(WebpReader, DecodesLosslessExactlyAndRefusesDamage)
{
    const TBitmap pattern = Pattern(17, 5);
    EXPECT_EQ(Decode(ReadWebp, EncodeWebpLossless(pattern)), pattern);
    ExpectRefusesDamage(ReadWebp, EncodeWebpLossless(Pattern(16, 16)), "WebP");
}

// Ramps without fine detail, which JPEG keeps within a few levels.
TBitmap Smooth(int Width, int Height)
{
    TBitmap b(Width, Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            b.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x * 255 / (Width - 1)),
                                 static_cast<std::uint8_t>(y * 255 / (Height - 1)), 128));
    return b;
}

TEST(JpegReader, DecodesBaselineProgressiveGreyAndCmyk)
{
    const TBitmap pattern = Smooth(32, 24);
    EXPECT_LE(MaxDifference(Decode(ReadJpeg, EncodeJpeg(pattern)), pattern), 24);
    EXPECT_LE(MaxDifference(Decode(ReadJpeg, EncodeJpeg(pattern, {.Progressive = true})), pattern), 24);

    TBitmap grey(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            grey.SetPixel(x, y, RGB(0, static_cast<std::uint8_t>(x * 16), 0));
    const TBitmap fromGrey = Decode(ReadJpeg, EncodeJpeg(grey, {.Grey = true}));
    for (int x = 0; x < 16; ++x) {
        const TColor c = fromGrey.Pixel(x, 8);
        EXPECT_EQ(RedOf(c), GreenOf(c));
        EXPECT_EQ(BlueOf(c), GreenOf(c));
        EXPECT_NEAR(GreenOf(c), x * 16, 6);
    }

    TBitmap solid(16, 16);
    FillRect(solid, solid.Bounds(), RGB(200, 100, 50));
    EXPECT_LE(MaxDifference(Decode(ReadJpeg, EncodeJpeg(solid, {.Cmyk = true})), solid), 4);
}

TEST(JpegReader, AppliesTheExifOrientation)
{
    // A 32 x 16 picture, left half red and right half blue, with a green top-left block;
    // blocks on the 8-pixel grid and full-resolution colour, so JPEG keeps them.
    TBitmap stored(32, 16);
    FillRect(stored, {0, 0, 16, 16}, RGB(255, 0, 0));
    FillRect(stored, {16, 0, 32, 16}, RGB(0, 0, 255));
    FillRect(stored, {0, 0, 8, 8}, RGB(0, 255, 0));
    for (int orientation = 1; orientation <= 8; ++orientation) {
        TBitmap expected = stored;
        ApplyOrientation(expected, orientation);
        const TBitmap got = Decode(ReadJpeg, EncodeJpeg(stored, {.Quality = 100, .FullChroma = true,
                                                                 .Orientation = orientation}));
        EXPECT_LE(MaxDifference(got, expected), 8) << "orientation " << orientation;
    }
    // Where the green corner goes, by the tag's meaning.
    struct Row {
        int orientation, x, y;  // the green block's corner pixel, upright
    };
    const Row rows[] = {{1, 0, 0}, {2, 31, 0}, {3, 31, 15}, {4, 0, 15}, {5, 0, 0}, {6, 15, 0}, {7, 15, 31}, {8, 0, 31}};
    for (const Row& r : rows) {
        TBitmap upright = stored;
        ApplyOrientation(upright, r.orientation);
        EXPECT_EQ(upright.Pixel(r.x, r.y), RGB(0, 255, 0)) << "orientation " << r.orientation;
        EXPECT_EQ(upright.Width(), r.orientation >= 5 ? 16 : 32);
    }
}

TEST(JpegReader, DecodesAtTheSmallestScaleStillCoveringTheTarget)
{
    const TFileBytes file = EncodeJpeg(Pattern(800, 600), {.Quality = 80});
    struct Row {
        int targetW, targetH, expectedW, expectedH;
    };
    const Row rows[] = {
        {100, 75, 100, 75},    // 1/8
        {101, 75, 200, 150},   // just over 1/8: 2/8
        {400, 300, 400, 300},  // 4/8
        {640, 480, 700, 525},  // 7/8
        {800, 600, 800, 600},
        {1600, 1200, 800, 600},  // enlarging is the resampler's work
    };
    for (const Row& r : rows) {
        TDecodeOptions options;
        options.TargetSize = [&](TPictureSize) { return TPictureSize{r.targetW, r.targetH}; };
        const TBitmap b = Decode(ReadJpeg, file, options);
        EXPECT_EQ(b.Width(), r.expectedW) << r.targetW << "x" << r.targetH;
        EXPECT_EQ(b.Height(), r.expectedH) << r.targetW << "x" << r.targetH;
    }
    // A sideways photo is compared upright: the target 75 x 100 of a turned 800 x 600 picture is 1/8.
    const TFileBytes turned = EncodeJpeg(Pattern(800, 600), {.Quality = 80, .Orientation = 6});
    TDecodeOptions options;
    TPictureSize seen;
    options.TargetSize = [&](TPictureSize Full) {
        seen = Full;
        return TPictureSize{75, 100};
    };
    const TBitmap b = Decode(ReadJpeg, turned, options);
    EXPECT_EQ(seen.Width, 600);
    EXPECT_EQ(seen.Height, 800);
    EXPECT_EQ(b.Width(), 75);
    EXPECT_EQ(b.Height(), 100);
}

TEST(JpegReader, RefusesTruncatedAndDamagedStreams)
{
    const TFileBytes file = EncodeJpeg(Smooth(64, 48));
    ExpectRefusesDamage(ReadJpeg, file, "JPEG");
    TBitmap out;
    const TPictureResult cut = ReadJpeg(TBytes(file.data(), file.size() - 100), out, {});
    EXPECT_EQ(cut.Status, TPictureStatus::Malformed);
    EXPECT_NE(cut.Message.find("remature end"), std::string::npos) << cut.Message;
    // Only the end marker missing: every row is there, so the picture stands.
    EXPECT_TRUE(ReadJpeg(TBytes(file.data(), file.size() - 2), out, {}).Ok());
}
