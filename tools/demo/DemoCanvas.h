// The demo painter's drawing surface: floating-point RGB pixels, shapes given as
// signed distances (so every edge comes out smooth) and coverage masks.
#pragma once

#include <functional>
#include <vector>

namespace spindrel::demo {

struct TColor {
    double R, G, B;
};

TColor Mix(TColor A, TColor B, double T);  // T is clamped to 0..1

// Fraction of a pixel covered, per pixel of a rectangle placed at (Left, Top).
struct TMask {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::vector<float> Cover;

    float& At(int X, int Y) { return Cover[static_cast<std::size_t>(Y) * Width + X]; }
    float At(int X, int Y) const { return Cover[static_cast<std::size_t>(Y) * Width + X]; }
};

// Three box-blur passes: close to a Gaussian of about Radius, the mask grows by 3 x Radius each side.
TMask Blur(const TMask& Mask, int Radius);

class TCanvas {
public:
    TCanvas(int Width, int Height);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    const TColor& At(int X, int Y) const { return FPixels[static_cast<std::size_t>(Y) * FWidth + X]; }

    // Paints every pixel with Paint(x, y) at the pixel's centre, in pixels.
    void Fill(const std::function<TColor(double X, double Y)>& Paint);

    // A shape given by its signed distance in pixels (negative inside), painted over the bounding
    // box (Left, Top, Right, Bottom); Softness widens the edge into a blur of that many pixels.
    using TDistance = std::function<double(double X, double Y)>;
    void Shape(int Left, int Top, int Right, int Bottom, const TDistance& Distance, TColor Color,
               double Opacity = 1.0, double Softness = 1.0);

    // Blends Color over the canvas as far as the mask covers, shifted by (DX, DY).
    void Paint(const TMask& Mask, TColor Color, double Opacity = 1.0, int DX = 0, int DY = 0);

private:
    void Blend(int X, int Y, TColor Color, double Alpha);

    int FWidth, FHeight;
    std::vector<TColor> FPixels;
};

// Signed distances of the shapes the scenes use.
double DiscDistance(double X, double Y, double CX, double CY, double Radius);
double RoundedBoxDistance(double X, double Y, double Left, double Top, double Right, double Bottom, double Radius);
double TriangleDistance(double X, double Y, const double (&Corners)[3][2]);

}  // namespace spindrel::demo
