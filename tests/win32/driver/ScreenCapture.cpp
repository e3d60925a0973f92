// Screen copies and what the commands ask of them.
#include "ScreenCapture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

namespace spindrel::driver {

TScreenCapture::TScreenCapture(const RECT& Area)
    : FArea(Area), FWidth(Area.right - Area.left), FHeight(Area.bottom - Area.top)
{
    win32::TWindowDc screen(nullptr);
    FDc.Reset(CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = FWidth;
    info.bmiHeader.biHeight = -FHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBitmap.Reset(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!FDc || !FBitmap)
        throw std::runtime_error("cannot make a screen copy of " + std::to_string(FWidth) + "x" + std::to_string(FHeight));
    FBits = static_cast<std::uint8_t*>(bits);
    Refresh();
}

void TScreenCapture::Refresh()
{
    win32::TWindowDc screen(nullptr);
    win32::TSelectObject selected(FDc.Get(), FBitmap.Get());
    if (!BitBlt(FDc.Get(), 0, 0, FWidth, FHeight, screen.Get(), FArea.left, FArea.top, SRCCOPY))
        throw std::runtime_error("BitBlt from the screen failed, error " + std::to_string(GetLastError()));
    GdiFlush();  // the DIB's memory is only certain to hold the copy after the batch has run
}

COLORREF TScreenCapture::Pixel(int X, int Y) const
{
    const std::uint8_t* pixel = Row(Y) + X * 4;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

long TScreenCapture::CountNear(COLORREF Colour, int Tolerance) const
{
    const int blue = GetBValue(Colour), green = GetGValue(Colour), red = GetRValue(Colour);
    long count = 0;
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* pixel = Row(y);
        for (int x = 0; x < FWidth; ++x, pixel += 4)
            count += std::abs(pixel[0] - blue) <= Tolerance && std::abs(pixel[1] - green) <= Tolerance
                     && std::abs(pixel[2] - red) <= Tolerance;
    }
    return count;
}

bool TScreenCapture::SaveBmp(const std::string& FileName) const
{
    const int rowBytes = (FWidth * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + rowBytes * FHeight;
    info.biSize = sizeof info;
    info.biWidth = FWidth;
    info.biHeight = FHeight;  // bottom-up, the form every reader takes
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(FileName.c_str(), "wb"), std::fclose);
    if (!out)
        return false;
    std::fwrite(&file, sizeof file, 1, out.get());
    std::fwrite(&info, sizeof info, 1, out.get());
    std::vector<std::uint8_t> row(rowBytes, 0);
    for (int y = FHeight - 1; y >= 0; --y) {
        for (int x = 0; x < FWidth; ++x)
            std::copy_n(Row(y) + x * 4, 3, row.begin() + x * 3);
        std::fwrite(row.data(), 1, row.size(), out.get());
    }
    return std::ferror(out.get()) == 0;
}

}  // namespace spindrel::driver
