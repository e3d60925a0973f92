// 24-bit bitmaps as the platform's memory bitmaps hold them: blue, green, red,
// rows padded to 4 bytes, top row first. Every frame is composed in these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/Rect.h"

namespace spindrel {

// A colour as Windows writes it: 0x00BBGGRR.
using TColor = std::uint32_t;

// The name in parentheses: <windows.h> defines RGB as a macro with the same result.
constexpr TColor (RGB)(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue)
{
    return Red | TColor(Green) << 8 | TColor(Blue) << 16;
}
constexpr std::uint8_t RedOf(TColor c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GreenOf(TColor c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(TColor c) { return static_cast<std::uint8_t>(c >> 16); }

class TBitmap {
public:
    TBitmap() = default;
    // A black bitmap; a size of 0 or less in either direction gives an empty one.
    TBitmap(int Width, int Height) { SetSize(Width, Height); }

    // Resizes and blackens the whole bitmap (the buffer is kept when it is large enough).
    void SetSize(int Width, int Height);
    void Release();  // back to empty, memory freed

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    TRect Bounds() const { return {0, 0, FWidth, FHeight}; }
    // Bytes per row: 3 a pixel, rounded up to a multiple of 4.
    int Stride() const { return FStride; }
    static int StrideFor(int Width) { return (Width * 3 + 3) & ~3; }

    std::uint8_t* ScanLine(int Y) { return FBits.data() + static_cast<std::size_t>(Y) * FStride; }
    const std::uint8_t* ScanLine(int Y) const { return FBits.data() + static_cast<std::size_t>(Y) * FStride; }
    std::uint8_t* Bits() { return FBits.data(); }
    const std::uint8_t* Bits() const { return FBits.data(); }
    std::size_t ByteSize() const { return static_cast<std::size_t>(FStride) * FHeight; }

    TColor Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);

    // Same size and the same pixels (the padding bytes do not count).
    friend bool operator==(const TBitmap& A, const TBitmap& B);

private:
    int FWidth = 0;
    int FHeight = 0;
    int FStride = 0;
    std::vector<std::uint8_t> FBits;
};

// The part of R inside Bounds (empty when they do not meet).
TRect Intersect(const TRect& R, const TRect& Bounds);
bool IsEmpty(const TRect& R);

// Fills R, cut to the bitmap, with Color.
void FillRect(TBitmap& Target, const TRect& R, TColor Color);
// Copies Source unscaled with its top-left corner at (X, Y), cut to the target.
void Draw(TBitmap& Target, int X, int Y, const TBitmap& Source);

}  // namespace spindrel
