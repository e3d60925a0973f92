// The composite-picture reader on hand-made files: each colour mode and depth,
// raw and PackBits rows, and the malformed files it must refuse.
#include <gtest/gtest.h>

#include "platform/picture/PsdReader.h"
#include "tests/PictureFixtures.h"

using namespace spindrel;
using namespace spindrel::fixtures;

namespace {

TBitmap Decode(const TFileBytes& File)
{
    TBitmap out;
    const TPictureResult r = ReadPsd(File, out);
    EXPECT_TRUE(r.Ok()) << r.Message;
    return out;
}

}  // namespace

TEST(PsdReader, DecodesRgbInEachDepthAndCompression)
{
    const TBitmap pattern = Pattern(7, 5);
    for (bool rle : {false, true})
        for (bool sixteen : {false, true}) {
            auto planes = RgbPlanes(pattern, sixteen);
            planes.push_back(planes[0]);  // an extra (alpha) channel is ignored
            EXPECT_EQ(Decode(PsdFile(7, 5, sixteen ? 16 : 8, 3, planes, rle)), pattern)
                << "rle " << rle << " sixteen " << sixteen;
        }
}

TEST(PsdReader, DecodesGreyIndexedAndCmyk)
{
    const std::vector<std::vector<TFileBytes>> grey = {{{0, 100, 255}}};
    const TBitmap g = Decode(PsdFile(3, 1, 8, 1, grey, true));
    EXPECT_EQ(g.Pixel(1, 0), RGB(100, 100, 100));
    EXPECT_EQ(g.Pixel(2, 0), RGB(255, 255, 255));

    TFileBytes table(768, 0);
    table[5] = 200;        // red of index 5
    table[256 + 5] = 10;   // green
    table[512 + 5] = 77;   // blue
    const TBitmap i = Decode(PsdFile(2, 1, 8, 2, {{{5, 0}}}, false, table));
    EXPECT_EQ(i.Pixel(0, 0), RGB(200, 10, 77));
    EXPECT_EQ(i.Pixel(1, 0), RGB(0, 0, 0));

    // Stored inverted: 255 is no ink. Cyan at full ink with no black gives red 0.
    const std::vector<std::vector<TFileBytes>> cmyk = {{{0, 255}}, {{255, 255}}, {{255, 255}}, {{255, 128}}};
    const TBitmap c = Decode(PsdFile(2, 1, 8, 4, cmyk, false));
    EXPECT_EQ(c.Pixel(0, 0), RGB(0, 255, 255));
    EXPECT_EQ(c.Pixel(1, 0), RGB(128, 128, 128));
}

TEST(PsdReader, RefusesMalformedFiles)
{
    const TBitmap pattern = Pattern(4, 3);
    const TFileBytes good = PsdFile(4, 3, 8, 3, RgbPlanes(pattern, false), true);
    TFileBytes longSection = good;
    longSection[26] = 0x7F;  // colour mode data far longer than the file
    TFileBytes badRun = good;
    badRun[badRun.size() - 1 - 4] = 0x7E;  // a literal run in the last row that overruns
    TFileBytes wide = good;
    wide[18] = 0, wide[19] = 0, wide[20] = 0x75, wide[21] = 0x31;  // 30001 wide
    TFileBytes lab = good;
    lab[25] = 9;
    TFileBytes zip = good;
    zip[26 + 4 + 4 + 4 + 4 + 1] = 2;  // compression 2: zip
    const TFileBytes raw = PsdFile(4, 3, 8, 3, RgbPlanes(pattern, false), false);
    struct Row {
        const char* name;
        TFileBytes file;
        TPictureStatus status;
    };
    const Row rows[] = {
        {"cut header", TFileBytes(good.begin(), good.begin() + 20), TPictureStatus::Malformed},
        {"cut data", TFileBytes(good.begin(), good.end() - 3), TPictureStatus::Malformed},
        {"section past the end", longSection, TPictureStatus::Malformed},
        {"overrunning run", badRun, TPictureStatus::Malformed},
        {"30001 wide", wide, TPictureStatus::TooLarge},
        {"Lab colours", lab, TPictureStatus::Unsupported},
        {"zip", zip, TPictureStatus::Unsupported},
        {"raw data cut", TFileBytes(raw.begin(), raw.end() - 1), TPictureStatus::Malformed},
    };
    for (const Row& r : rows) {
        TBitmap out;
        const TPictureResult result = ReadPsd(r.file, out);
        EXPECT_EQ(result.Status, r.status) << r.name << ": " << result.Message;
        EXPECT_EQ(result.Message.rfind("PSD: ", 0), 0u) << r.name << ": " << result.Message;
        EXPECT_TRUE(out.Empty()) << r.name;
    }
}
