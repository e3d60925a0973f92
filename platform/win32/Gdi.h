// Our bitmaps on GDI device contexts, and the memory canvas a double-buffered
// window paints into before one copy reaches the screen.
#pragma once

#include <windows.h>

#include "platform/graphics/Bitmap.h"
#include "platform/win32/Handles.h"

namespace spindrel::win32 {

// Puts Image at (X, Y) of Dc, cut by the device context's clipping.
void DrawBitmap(HDC Dc, const TBitmap& Image, int X, int Y);

// A colour as GDI takes it: the system colour constants (high bit set) resolved.
COLORREF ColorToRGB(std::int32_t Color);

// A memory device context over a screen-compatible bitmap of at least the asked
// size, kept between paints so that a running transition allocates nothing per frame.
class TBackBuffer {
public:
    TBackBuffer() = default;
    ~TBackBuffer() { Deselect(); }
    TBackBuffer(const TBackBuffer&) = delete;
    TBackBuffer& operator=(const TBackBuffer&) = delete;

    // The context, sized for Width x Height; null when the section cannot be made.
    HDC Prepare(HDC Reference, int Width, int Height);

private:
    void Deselect();  // a bitmap selected into a context cannot be deleted

    TScopedMemoryDc FDc;
    TScopedBitmap FBitmap;
    HGDIOBJ FOriginal = nullptr;
    int FWidth = 0, FHeight = 0;
};

}  // namespace spindrel::win32
