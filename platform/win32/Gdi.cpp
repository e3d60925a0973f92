#include "platform/win32/Gdi.h"

namespace spindrel::win32 {

void DrawBitmap(HDC Dc, const TBitmap& Image, int X, int Y)
{
    if (Image.Empty())
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = Image.Width();
    info.bmiHeader.biHeight = -Image.Height();  // top row first, as our bitmaps are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(Dc, X, Y, static_cast<DWORD>(Image.Width()), static_cast<DWORD>(Image.Height()), 0, 0, 0,
                      static_cast<UINT>(Image.Height()), Image.Bits(), &info, DIB_RGB_COLORS);
}

COLORREF ColorToRGB(std::int32_t Color)
{
    if (Color < 0)
        return GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

HDC TBackBuffer::Prepare(HDC Reference, int Width, int Height)
{
    if (FDc && Width <= FWidth && Height <= FHeight)
        return FDc.Get();
    Deselect();
    FBitmap.Reset();
    FDc.Reset(CreateCompatibleDC(Reference));
    FBitmap.Reset(CreateCompatibleBitmap(Reference, Width, Height));
    if (!FDc || !FBitmap) {
        FDc.Reset();
        FBitmap.Reset();
        FWidth = FHeight = 0;
        return nullptr;
    }
    FOriginal = SelectObject(FDc.Get(), FBitmap.Get());
    FWidth = Width;
    FHeight = Height;
    return FDc.Get();
}

void TBackBuffer::Deselect()
{
    if (FDc && FOriginal)
        SelectObject(FDc.Get(), FOriginal);
    FOriginal = nullptr;
}

}  // namespace spindrel::win32
