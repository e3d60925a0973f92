// Metafiles drawn by GDI itself, read back through the general loader's
// readers: the page size from the frame or the placeable box, and the pixels.
#include <gtest/gtest.h>

#include <vector>

#include "platform/picture/win32/MetafileReader.h"

#include <windows.h>  // after our headers: its RGB macro would hide spindrel::RGB

using namespace spindrel;

namespace {

// Red left half and blue right half on a 40 x 20 pixel page.
void DrawHalves(HDC Dc, int Width, int Height)
{
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    const RECT left{0, 0, Width / 2, Height}, right{Width / 2, 0, Width, Height};
    FillRect(Dc, &left, red);
    FillRect(Dc, &right, blue);
    DeleteObject(red);
    DeleteObject(blue);
}

void ExpectHalves(const TBitmap& Page)
{
    ASSERT_EQ(Page.Width(), 40);
    ASSERT_EQ(Page.Height(), 20);
    EXPECT_EQ(Page.Pixel(5, 10), RGB(255, 0, 0));  // COLORREF and TColor share 0x00BBGGRR
    EXPECT_EQ(Page.Pixel(34, 10), RGB(0, 0, 255));
}

}  // namespace

TEST(Metafile, EnhancedMetafilePlaysAtItsFrameSize)
{
    const RECT frame{0, 0, 40 * 2540 / 96, 20 * 2540 / 96};  // hundredths of a millimetre
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    ASSERT_TRUE(dc);
    // The reference device's pixels need not be 96 an inch: draw in the frame's own units.
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 40, 20, nullptr);
    SetViewportExtEx(dc, GetDeviceCaps(dc, HORZRES) * frame.right / (GetDeviceCaps(dc, HORZSIZE) * 100),
                     GetDeviceCaps(dc, VERTRES) * frame.bottom / (GetDeviceCaps(dc, VERTSIZE) * 100), nullptr);
    DrawHalves(dc, 40, 20);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::vector<std::uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(metafile);

    TBitmap page;
    const TPictureResult r = ReadEmf(bytes, page);
    ASSERT_TRUE(r.Ok()) << r.Message;
    ExpectHalves(page);
}

TEST(Metafile, PlaceableWmfPlaysAtItsBoundingBox)
{
    HDC dc = CreateMetaFileA(nullptr);
    ASSERT_TRUE(dc);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 40, 20, nullptr);
    DrawHalves(dc, 40, 20);
    HMETAFILE metafile = CloseMetaFile(dc);
    std::vector<std::uint8_t> records(GetMetaFileBitsEx(metafile, 0, nullptr));
    GetMetaFileBitsEx(metafile, static_cast<UINT>(records.size()), records.data());
    DeleteMetaFile(metafile);

    // The placeable header: key, no handle, box 0,0 - 40,20 in 96 units an inch, reserved, checksum.
    std::vector<std::uint16_t> words = {0xCDD7, 0x9AC6, 0, 0, 0, 40, 20, 96, 0, 0};
    std::uint16_t sum = 0;
    for (std::uint16_t w : words)
        sum ^= w;
    words.push_back(sum);
    std::vector<std::uint8_t> file;
    for (std::uint16_t w : words) {
        file.push_back(static_cast<std::uint8_t>(w));
        file.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    file.insert(file.end(), records.begin(), records.end());

    TBitmap page;
    const TPictureResult r = ReadWmf(file, page);
    ASSERT_TRUE(r.Ok()) << r.Message;
    ExpectHalves(page);
}

TEST(Metafile, RefusesWhatIsNoMetafile)
{
    TBitmap page;
    const std::vector<std::uint8_t> junk(64, 7);
    EXPECT_EQ(ReadEmf(junk, page).Status, TPictureStatus::Malformed);
    EXPECT_EQ(ReadWmf(std::vector<std::uint8_t>(10, 0), page).Status, TPictureStatus::Malformed);
    EXPECT_TRUE(page.Empty());
}
