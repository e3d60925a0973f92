// The bitmap file reader: every bit depth, the RLE codings, row order, masks,
// and the hostile files it must refuse without reading past its buffer.
#include <gtest/gtest.h>

#include <functional>

#include "platform/picture/BmpReader.h"
#include "tests/PictureFixtures.h"

using namespace spindrel;
using namespace spindrel::fixtures;

namespace {

const std::vector<TColor> Palette16 = {
    RGB(0, 0, 0),     RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),   RGB(255, 255, 0), RGB(0, 255, 255),
    RGB(255, 0, 255), RGB(128, 128, 128), RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90),  RGB(100, 110, 120),
    RGB(130, 140, 150), RGB(160, 170, 180), RGB(190, 200, 210), RGB(220, 230, 240)};

// Rows of Bits-bit values, padded to 4 bytes, in file order (bottom-up unless TopDown).
TFileBytes PackRows(int Width, int Height, int Bits, bool TopDown, const std::function<std::uint32_t(int, int)>& Value)
{
    TFileBytes out;
    for (int r = 0; r < Height; ++r) {
        const int y = TopDown ? r : Height - 1 - r;
        TFileBytes row((static_cast<std::size_t>(Width) * Bits + 31) / 32 * 4, 0);
        for (int x = 0; x < Width; ++x) {
            const std::uint32_t v = Value(x, y);
            if (Bits < 8) {
                const int bit = x * Bits;
                row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - Bits - bit % 8));
            } else {
                for (int b = 0; b < Bits / 8; ++b)
                    row[static_cast<std::size_t>(x) * (Bits / 8) + b] = static_cast<std::uint8_t>(v >> (8 * b));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

TBitmap FromIndices(int Width, int Height, const std::function<std::uint32_t(int, int)>& Index)
{
    TBitmap b(Width, Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            b.SetPixel(x, y, Palette16[Index(x, y)]);
    return b;
}

TBitmap Decode(const TFileBytes& File)
{
    TBitmap out;
    const TPictureResult r = ReadBmp(File, out);
    EXPECT_TRUE(r.Ok()) << r.Message;
    return out;
}

}  // namespace

TEST(BmpReader, DecodesEveryUncompressedDepthExactly)
{
    // Odd width (5), so every depth has row padding.
    const int w = 5, h = 3;
    const auto index = [](int x, int y) { return static_cast<std::uint32_t>((x + 3 * y) % 16); };
    const TBitmap pattern = Pattern(w, h);
    const auto bgr = [&](int x, int y) {
        const TColor c = pattern.Pixel(x, y);
        return BlueOf(c) | std::uint32_t(GreenOf(c)) << 8 | std::uint32_t(RedOf(c)) << 16;
    };
    struct Row {
        const char* name;
        TFileBytes file;
        TBitmap expected;
    };
    const auto two = [&](int x, int y) { return index(x, y) % 2; };
    const std::vector<TColor> palette2(Palette16.begin(), Palette16.begin() + 2);
    const Row rows[] = {
        {"1 bit", BmpFile(w, h, 1, 0, palette2, PackRows(w, h, 1, false, two)), FromIndices(w, h, two)},
        {"4 bits", BmpFile(w, h, 4, 0, Palette16, PackRows(w, h, 4, false, index)), FromIndices(w, h, index)},
        {"8 bits", BmpFile(w, h, 8, 0, Palette16, PackRows(w, h, 8, false, index)), FromIndices(w, h, index)},
        {"24 bits", BmpFile(w, h, 24, 0, {}, PackRows(w, h, 24, false, bgr)), pattern},
        {"24 bits top-down", BmpFile(w, -h, 24, 0, {}, PackRows(w, h, 24, true, bgr)), pattern},
        {"32 bits, alpha bytes all zero", BmpFile(w, h, 32, 0, {}, PackRows(w, h, 32, false, bgr)), pattern},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Decode(r.file), r.expected) << r.name;
}

TEST(BmpReader, WidensBitFieldChannelsAndComposesAlphaOnBlack)
{
    // 16 bits 5-5-5 by default: 31 widens to 255, 16 to 132 (bits repeated).
    const TFileBytes file555 = BmpFile(2, 1, 16, 0, {}, PackRows(2, 1, 16, false, [](int x, int) {
        return x == 0 ? (31u << 10 | 16u << 5 | 1u) : 0x7FFFu;
    }));
    const TBitmap b555 = Decode(file555);
    EXPECT_EQ(b555.Pixel(0, 0), RGB(255, 132, 8));
    EXPECT_EQ(b555.Pixel(1, 0), RGB(255, 255, 255));

    // 5-6-5 through masks after a 40-byte header.
    const TFileBytes file565 = BmpFile(1, 1, 16, 3, {}, PackRows(1, 1, 16, false, [](int, int) {
        return 31u << 11 | 32u << 5 | 0u;
    }), 40, {0xF800, 0x07E0, 0x001F});
    EXPECT_EQ(Decode(file565).Pixel(0, 0), RGB(255, 130, 0));

    // A V5 header with an alpha mask: half-transparent white becomes grey, zero alpha black.
    const TFileBytes file32 = BmpFile(2, 1, 32, 3, {}, PackRows(2, 1, 32, false, [](int x, int) {
        return x == 0 ? 0x80FFFFFFu : 0x00FFFFFFu;
    }), 124, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000});
    const TBitmap b32 = Decode(file32);
    EXPECT_EQ(b32.Pixel(0, 0), RGB(128, 128, 128));
    EXPECT_EQ(b32.Pixel(1, 0), RGB(0, 0, 0));
}

TEST(BmpReader, DecodesRle8AndRle4WithAbsoluteRunsDeltasAndLineEnds)
{
    // 6 x 3, in file order (bottom row first):
    const TFileBytes rle8 = {3, 1, 0, 3, 3, 5, 6, 0 /* pad */, 0, 0,  // run 1 1 1, absolute 3 5 6, line end
                         0, 2, 2, 0, 3, 2, 0, 0,                  // delta 2 right, run 2 2 2, line end
                         0, 3, 7, 8, 9, 0 /* pad */, 3, 4, 0, 1}; // absolute 7 8 9, run 4 4 4, end of bitmap
    const TFileBytes file8 = BmpFile(6, 3, 8, 1, Palette16, rle8);
    const std::uint32_t expected8[3][6] = {{7, 8, 9, 4, 4, 4}, {0, 0, 2, 2, 2, 0}, {1, 1, 1, 3, 5, 6}};
    const TBitmap b8 = Decode(file8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(b8.Pixel(x, y), y == 1 && (x < 2 || x == 5) ? RGB(0, 0, 0) : Palette16[expected8[y][x]])
                << x << "," << y;

    // RLE4: a run alternates the two nibbles; an absolute run of 5 nibbles takes 3 bytes, padded to 4.
    const TFileBytes rle4 = {5, 0x12, 0, 0,                 // bottom row: 1 2 1 2 1
                         0, 5, 0x34, 0x56, 0x70, 0,     // top row: 3 4 5 6 7
                         0, 1};
    const TBitmap b4 = Decode(BmpFile(5, 2, 4, 2, Palette16, rle4));
    // Runs into the row padding (as some writers encode it) are cut at the row's end, not wrapped.
    const TBitmap padded = Decode(BmpFile(2, 2, 8, 1, Palette16, {4, 1, 0, 0, 0, 3, 2, 3, 4, 0, 0, 1}));
    EXPECT_EQ(padded.Pixel(0, 1), Palette16[1]);
    EXPECT_EQ(padded.Pixel(1, 1), Palette16[1]);
    EXPECT_EQ(padded.Pixel(0, 0), Palette16[2]);
    EXPECT_EQ(padded.Pixel(1, 0), Palette16[3]);
    const std::uint32_t expected4[2][5] = {{3, 4, 5, 6, 7}, {1, 2, 1, 2, 1}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(b4.Pixel(x, y), Palette16[expected4[y][x]]) << x << "," << y;
}

TEST(BmpReader, ReadsTheOldCoreHeader)
{
    TFileBytes file{'B', 'M'};
    Put32(file, 0);
    Put32(file, 0);
    Put32(file, 14 + 12 + 6);  // two 3-byte palette entries
    Put32(file, 12);
    Put16(file, 2);
    Put16(file, 1);
    Put16(file, 1);
    Put16(file, 1);
    file.insert(file.end(), {0, 0, 255, 255, 0, 0});  // red, then blue (blue, green, red order)
    file.insert(file.end(), {0x40, 0, 0, 0});         // pixels 0 1
    const TBitmap b = Decode(file);
    EXPECT_EQ(b.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(b.Pixel(1, 0), RGB(0, 0, 255));
}

TEST(BmpReader, RefusesHostileFilesWithAReason)
{
    const TFileBytes good = BmpFile(4, 4, 8, 0, Palette16, TFileBytes(16, 1));
    TFileBytes truncated = good;
    truncated.resize(truncated.size() - 5);
    TFileBytes farOffset = good;
    farOffset[10] = 0xFF, farOffset[11] = 0xFF, farOffset[12] = 0xFF;
    struct Row {
        const char* name;
        TFileBytes file;
        TPictureStatus status;
        const char* words;  // part of the message
    };
    const Row rows[] = {
        {"empty", {}, TPictureStatus::Malformed, "signature"},
        {"not a bitmap", {'P', 'K', 3, 4}, TPictureStatus::Malformed, "signature"},
        {"header cut", TFileBytes(good.begin(), good.begin() + 30), TPictureStatus::Malformed, "truncated"},
        {"pixels cut", truncated, TPictureStatus::Malformed, "truncated"},
        {"pixel offset past the end", farOffset, TPictureStatus::Malformed, "beyond"},
        {"30001 wide", BmpFile(30001, 1, 24, 0, {}, TFileBytes(90004)), TPictureStatus::TooLarge, "30000"},
        {"20000 x 20000", BmpFile(20000, 20000, 1, 0, {}, {}), TPictureStatus::TooLarge, "megapixels"},
        {"zero height", BmpFile(4, 0, 24, 0, {}, {}), TPictureStatus::Malformed, "size"},
        {"7 bits", BmpFile(2, 2, 7, 0, {}, TFileBytes(8)), TPictureStatus::Malformed, "bits"},
        {"RLE8 with 4 bits", BmpFile(2, 2, 4, 1, Palette16, {0, 1}), TPictureStatus::Malformed, "RLE8"},
        {"absolute cut", BmpFile(4, 2, 8, 1, Palette16, {0, 4, 1, 1}), TPictureStatus::Malformed, "truncated"},
        {"delta out of the picture", BmpFile(4, 2, 8, 1, Palette16, {0, 2, 1, 9, 0, 1}), TPictureStatus::Malformed,
         "delta"},
        {"run past the last row", BmpFile(2, 1, 8, 1, Palette16, {2, 1, 0, 0, 2, 1, 0, 1}), TPictureStatus::Malformed,
         "last row"},
        {"absolute run past the last row", BmpFile(2, 1, 8, 1, Palette16, {0, 0, 0, 3, 1, 1, 1, 0}),
         TPictureStatus::Malformed, "last row"},
        {"RLE ends early", BmpFile(2, 3, 8, 1, Palette16, {2, 1, 0, 0}), TPictureStatus::Malformed, "ends"},
        {"JPEG inside", BmpFile(2, 2, 0, 4, {}, TFileBytes(8)), TPictureStatus::Unsupported, "compression"},
    };
    for (const Row& r : rows) {
        TBitmap out(1, 1);
        out.SetPixel(0, 0, RGB(1, 2, 3));
        const TPictureResult result = ReadBmp(r.file, out);
        EXPECT_EQ(result.Status, r.status) << r.name << ": " << result.Message;
        EXPECT_NE(result.Message.find(r.words), std::string::npos) << r.name << ": " << result.Message;
        EXPECT_EQ(result.Message.rfind("BMP: ", 0), 0u) << r.name;
        EXPECT_EQ(out.Pixel(0, 0), RGB(1, 2, 3)) << r.name << ": a failed decode keeps the old picture";
    }
}
