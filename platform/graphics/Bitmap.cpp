// Bitmap storage, filling and unscaled copies.
#include "platform/graphics/Bitmap.h"

#include <algorithm>
#include <cstring>

namespace spindrel {

void TBitmap::SetSize(int Width, int Height)
{
    if (Width <= 0 || Height <= 0)
        Width = Height = 0;
    FWidth = Width;
    FHeight = Height;
    FStride = StrideFor(Width);
    FBits.assign(ByteSize(), 0);
}

void TBitmap::Release()
{
    FWidth = FHeight = FStride = 0;
    std::vector<std::uint8_t>().swap(FBits);
}

TColor TBitmap::Pixel(int X, int Y) const
{
    const std::uint8_t* p = ScanLine(Y) + X * 3;
    return RGB(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int X, int Y, TColor Color)
{
    std::uint8_t* p = ScanLine(Y) + X * 3;
    p[0] = BlueOf(Color);
    p[1] = GreenOf(Color);
    p[2] = RedOf(Color);
}

bool operator==(const TBitmap& A, const TBitmap& B)
{
    if (A.FWidth != B.FWidth || A.FHeight != B.FHeight)
        return false;
    const std::size_t row = static_cast<std::size_t>(A.FWidth) * 3;
    for (int y = 0; y < A.FHeight; ++y)
        if (row && std::memcmp(A.ScanLine(y), B.ScanLine(y), row) != 0)
            return false;
    return true;
}

TRect Intersect(const TRect& R, const TRect& Bounds)
{
    const TRect cut{std::max(R.Left, Bounds.Left), std::max(R.Top, Bounds.Top), std::min(R.Right, Bounds.Right),
                    std::min(R.Bottom, Bounds.Bottom)};
    return IsEmpty(cut) ? TRect{} : cut;
}

bool IsEmpty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

void FillRect(TBitmap& Target, const TRect& R, TColor Color)
{
    const TRect cut = Intersect(R, Target.Bounds());
    if (IsEmpty(cut))
        return;
    const std::uint8_t pixel[3] = {BlueOf(Color), GreenOf(Color), RedOf(Color)};
    std::uint8_t* first = Target.ScanLine(cut.Top) + cut.Left * 3;
    const std::size_t rowBytes = static_cast<std::size_t>(cut.Width()) * 3;
    if (pixel[0] == pixel[1] && pixel[1] == pixel[2]) {
        for (int y = cut.Top; y < cut.Bottom; ++y)
            std::memset(Target.ScanLine(y) + cut.Left * 3, pixel[0], rowBytes);
        return;
    }
    for (int x = 0; x < cut.Width(); ++x)
        std::memcpy(first + x * 3, pixel, 3);
    for (int y = cut.Top + 1; y < cut.Bottom; ++y)
        std::memcpy(Target.ScanLine(y) + cut.Left * 3, first, rowBytes);
}

void Draw(TBitmap& Target, int X, int Y, const TBitmap& Source)
{
    const TRect placed{X, Y, X + Source.Width(), Y + Source.Height()};
    const TRect cut = Intersect(placed, Target.Bounds());
    if (IsEmpty(cut))
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(cut.Width()) * 3;
    for (int y = cut.Top; y < cut.Bottom; ++y)
        std::memcpy(Target.ScanLine(y) + cut.Left * 3, Source.ScanLine(y - Y) + (cut.Left - X) * 3, rowBytes);
}

}  // namespace spindrel
