// A copy of a rectangle of the screen in a 32-bit DIB section, taken with BitBlt
// from the screen's device context (under Wine that reads the X server exactly).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/win32/Handles.h"

namespace spindrel::driver {

class TScreenCapture {
public:
    explicit TScreenCapture(const RECT& Area);  // takes the first copy
    void Refresh();                             // copies the screen again

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    long Area() const { return static_cast<long>(FWidth) * FHeight; }
    // X and Y within the rectangle.
    COLORREF Pixel(int X, int Y) const;
    // Pixels whose every channel is within Tolerance of Colour.
    long CountNear(COLORREF Colour, int Tolerance) const;
    // A 24-bit bottom-up BMP file; false when it cannot be written.
    bool SaveBmp(const std::string& FileName) const;

private:
    const std::uint8_t* Row(int Y) const { return FBits + static_cast<size_t>(Y) * FWidth * 4; }

    RECT FArea;
    int FWidth, FHeight;
    win32::TScopedMemoryDc FDc;
    win32::TScopedBitmap FBitmap;
    std::uint8_t* FBits = nullptr;  // top-down rows of blue, green, red, unused; owned by FBitmap
};

}  // namespace spindrel::driver
