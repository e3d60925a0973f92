// Drawing on the demo canvas: fills, distance-field shapes, masks and their blur.
#include "tools/demo/DemoCanvas.h"

#include <algorithm>
#include <cmath>

namespace spindrel::demo {

TColor Mix(TColor A, TColor B, double T)
{
    T = std::clamp(T, 0.0, 1.0);
    return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T};
}

namespace {

// One running-sum box blur along rows (Horizontal) or columns; pixels past the edge count as empty.
TMask BoxBlur(const TMask& In, int Radius, bool Horizontal)
{
    TMask out = In;
    const int lines = Horizontal ? In.Height : In.Width, length = Horizontal ? In.Width : In.Height;
    const float scale = 1.0f / static_cast<float>(2 * Radius + 1);
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) { return Horizontal ? In.At(i, line) : In.At(line, i); };
        float sum = 0;
        for (int i = 0; i <= Radius && i < length; ++i)
            sum += at(i);
        for (int i = 0; i < length; ++i) {
            (Horizontal ? out.At(i, line) : out.At(line, i)) = sum * scale;
            if (i + Radius + 1 < length)
                sum += at(i + Radius + 1);
            if (i - Radius >= 0)
                sum -= at(i - Radius);
        }
    }
    return out;
}

}  // namespace

TMask Blur(const TMask& Mask, int Radius)
{
    const int margin = 3 * Radius;
    TMask grown;
    grown.Left = Mask.Left - margin;
    grown.Top = Mask.Top - margin;
    grown.Width = Mask.Width + 2 * margin;
    grown.Height = Mask.Height + 2 * margin;
    grown.Cover.assign(static_cast<std::size_t>(grown.Width) * grown.Height, 0.0f);
    for (int y = 0; y < Mask.Height; ++y)
        for (int x = 0; x < Mask.Width; ++x)
            grown.At(x + margin, y + margin) = Mask.At(x, y);
    for (int pass = 0; pass < 3; ++pass)
        grown = BoxBlur(BoxBlur(grown, Radius, true), Radius, false);
    return grown;
}

TCanvas::TCanvas(int Width, int Height)
    : FWidth(Width), FHeight(Height), FPixels(static_cast<std::size_t>(Width) * Height, TColor{0, 0, 0})
{
}

void TCanvas::Fill(const std::function<TColor(double X, double Y)>& Paint)
{
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            FPixels[static_cast<std::size_t>(y) * FWidth + x] = Paint(x + 0.5, y + 0.5);
}

void TCanvas::Shape(int Left, int Top, int Right, int Bottom, const TDistance& Distance, TColor Color,
                    double Opacity, double Softness)
{
    Left = std::max(Left, 0), Top = std::max(Top, 0);
    Right = std::min(Right, FWidth), Bottom = std::min(Bottom, FHeight);
    for (int y = Top; y < Bottom; ++y)
        for (int x = Left; x < Right; ++x) {
            const double cover = std::clamp(0.5 - Distance(x + 0.5, y + 0.5) / Softness, 0.0, 1.0);
            if (cover > 0)
                Blend(x, y, Color, cover * Opacity);
        }
}

void TCanvas::Paint(const TMask& Mask, TColor Color, double Opacity, int DX, int DY)
{
    for (int y = 0; y < Mask.Height; ++y)
        for (int x = 0; x < Mask.Width; ++x) {
            const int cx = Mask.Left + x + DX, cy = Mask.Top + y + DY;
            if (cx >= 0 && cy >= 0 && cx < FWidth && cy < FHeight && Mask.At(x, y) > 0)
                Blend(cx, cy, Color, std::min(1.0, static_cast<double>(Mask.At(x, y))) * Opacity);
        }
}

void TCanvas::Blend(int X, int Y, TColor Color, double Alpha)
{
    TColor& pixel = FPixels[static_cast<std::size_t>(Y) * FWidth + X];
    pixel = Mix(pixel, Color, Alpha);
}

double DiscDistance(double X, double Y, double CX, double CY, double Radius)
{
    return std::hypot(X - CX, Y - CY) - Radius;
}

double RoundedBoxDistance(double X, double Y, double Left, double Top, double Right, double Bottom, double Radius)
{
    const double halfWidth = (Right - Left) / 2 - Radius, halfHeight = (Bottom - Top) / 2 - Radius;
    const double dx = std::abs(X - (Left + Right) / 2) - halfWidth, dy = std::abs(Y - (Top + Bottom) / 2) - halfHeight;
    return std::hypot(std::max(dx, 0.0), std::max(dy, 0.0)) + std::min(std::max(dx, dy), 0.0) - Radius;
}

double TriangleDistance(double X, double Y, const double (&Corners)[3][2])
{
    // The largest distance outside any edge line: exact inside, slightly short past the corners.
    double area = 0;
    for (int i = 0; i < 3; ++i) {
        const double* a = Corners[i];
        const double* b = Corners[(i + 1) % 3];
        area += a[0] * b[1] - b[0] * a[1];
    }
    const double winding = area > 0 ? 1 : -1;
    double distance = -1e9;
    for (int i = 0; i < 3; ++i) {
        const double* a = Corners[i];
        const double* b = Corners[(i + 1) % 3];
        const double ex = b[0] - a[0], ey = b[1] - a[1];
        const double outside = winding * ((X - a[0]) * ey - (Y - a[1]) * ex) / std::hypot(ex, ey);
        distance = std::max(distance, outside);
    }
    return distance;
}

}  // namespace spindrel::demo
