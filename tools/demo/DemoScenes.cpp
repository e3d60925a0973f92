// The painters of the demo pictures. Coordinates are in pixels; u and v are the
// fractions of the width and height, so the pictures scale with the canvas. Each
// random draw is a statement of its own: argument order would leave theirs open.
#include "tools/demo/DemoScenes.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "tools/demo/DemoText.h"

namespace spindrel::demo {

namespace {

// Seeded, so every build paints the same pictures.
class TDraws {
public:
    explicit TDraws(unsigned Seed) : FEngine(Seed) {}
    double Between(double Low, double High) { return Low + (High - Low) * (FEngine() / 4294967296.0); }
    template <class T, std::size_t N>
    const T& Pick(const T (&Items)[N]) { return Items[FEngine() % N]; }

private:
    std::mt19937 FEngine;
};

// How much of the pixel at Y lies below an edge at height Edge: smooth edges for silhouettes.
double Below(double Y, double Edge)
{
    return std::clamp(Y - Edge + 0.5, 0.0, 1.0);
}

void SoftDisc(TCanvas& Canvas, double CX, double CY, double Radius, TColor Color, double Opacity, double Softness)
{
    const int reach = static_cast<int>(Radius + 2 * Softness) + 1;
    const int x = static_cast<int>(CX), y = static_cast<int>(CY);
    Canvas.Shape(x - reach, y - reach, x + reach, y + reach,
                 [&](double PX, double PY) { return DiscDistance(PX, PY, CX, CY, Radius); }, Color, Opacity, Softness);
}

// The two ridges of the dawn, as heights of their edge at X.
double FarHill(double W, double H, double X)
{
    return H * (0.53 + 0.05 * std::sin(X / W * 7 + 1) + 0.025 * std::sin(X / W * 19));
}

double NearHill(double W, double H, double X)
{
    return H * (0.59 + 0.025 * std::sin(X / W * 5 + 2) + 0.012 * std::sin(X / W * 29));
}

}  // namespace

void PaintWelcome(TCanvas& Canvas)
{
    const double w = Canvas.Width(), h = Canvas.Height();
    Canvas.Fill([&](double X, double Y) {
        const double v = Y / h;
        const TColor c = v < 0.6 ? Mix({14, 18, 50}, {58, 36, 98}, v / 0.6)
                                 : Mix({58, 36, 98}, {156, 72, 104}, (v - 0.6) / 0.4);
        const double glow = std::exp(-std::hypot(X / w - 0.5, (v - 0.42) * 0.8) * 5);
        return Mix(c, {120, 90, 170}, glow * 0.45);
    });
    TDraws draws(1);
    const TColor lights[] = {{255, 200, 120}, {140, 180, 255}, {255, 140, 190}, {170, 250, 230}};
    for (int i = 0; i < 48; ++i) {
        const double radius = draws.Between(0.02, 0.13) * h;
        const double x = draws.Between(0, w), y = draws.Between(0, h);
        const TColor light = draws.Pick(lights);
        const double opacity = draws.Between(0.05, 0.2);
        SoftDisc(Canvas, x, y, radius, light, opacity, radius * 0.08 + 2);
    }
    const int scale = std::max(2, Canvas.Height() / 42);
    DrawTextCentred(Canvas, "Spindrel", Canvas.Width() / 2, static_cast<int>(h * 0.27), {scale, {255, 250, 240}});
    DrawTextCentred(Canvas, "a slideshow screen saver", Canvas.Width() / 2, static_cast<int>(h * 0.52),
                    {scale * 3 / 10, {236, 226, 255}});
    DrawTextCentred(Canvas, "128 transitions, captions, a painted background and music", Canvas.Width() / 2,
                    static_cast<int>(h * 0.63), {scale / 5, {206, 194, 236}});
}

void PaintDawn(TCanvas& Canvas)
{
    const double w = Canvas.Width(), h = Canvas.Height(), horizon = 0.64 * h;
    const double sunX = 0.62 * w, sunY = 0.47 * h, sunRadius = 0.065 * h;
    Canvas.Fill([&](double X, double Y) {
        const double v = Y / h;
        if (Y < horizon) {
            TColor sky = v < 0.35 ? Mix({26, 34, 92}, {118, 78, 138}, v / 0.35)
                                  : Mix({118, 78, 138}, {250, 162, 92}, (v - 0.35) / 0.29);
            sky = Mix(sky, {255, 222, 160}, 0.85 * std::exp(-std::hypot(X - sunX, Y - sunY) / (0.16 * h)));
            sky = Mix(sky, {128, 88, 136}, Below(Y, FarHill(w, h, X)));
            return Mix(sky, {70, 50, 96}, Below(Y, NearHill(w, h, X)));
        }
        const double depth = (Y - horizon) / (h - horizon);
        const TColor sea = Mix({92, 70, 120}, {12, 18, 48}, std::pow(depth, 0.6));
        const double spread = 0.04 * w * (1 + 3 * depth);
        const double column = std::exp(-std::pow((X - sunX) / spread, 2));
        const double wave = Y * (0.5 - 0.3 * depth) + 2 * std::sin(X * 0.021) + 1.5 * std::sin(X * 0.047 + Y * 0.05);
        const double breaks = 0.35 + 0.65 * std::pow(std::sin(X * 0.013 + Y * 0.11), 2);
        const double ripple = std::pow(0.5 + 0.5 * std::sin(wave), 6) * breaks;
        return Mix(sea, {255, 206, 150}, column * ripple * (1 - 0.6 * depth));
    });
    // The sun sits behind the far hills: paint it, then the hills again over it.
    SoftDisc(Canvas, sunX, sunY, sunRadius, {255, 236, 180}, 1.0, 1.5);
    Canvas.Shape(static_cast<int>(sunX - 2 * sunRadius), static_cast<int>(sunY - 2 * sunRadius),
                 static_cast<int>(sunX + 2 * sunRadius), static_cast<int>(horizon),
                 [&](double X, double Y) { return std::max(FarHill(w, h, X) - Y, Y - NearHill(w, h, X)); },
                 {128, 88, 136});
}

void PaintTide(TCanvas& Canvas)
{
    const double h = Canvas.Height(), aspect = Canvas.Width() / h;
    Canvas.Fill([&](double X, double Y) {
        const double x = X / h, y = Y / h;
        const double v =
            std::sin(x * 16) + std::sin(y * 14 + x * 6) + std::sin(std::hypot(x - 0.4 * aspect, y - 0.7) * 28);
        TColor water = Mix({0, 62, 104}, {120, 224, 212}, (v + 3) / 6);
        water = Mix(water, {226, 250, 244}, 0.4 * std::pow(0.5 + 0.5 * std::sin(v * 5), 12));  // glints on the contours
        const double edge = std::hypot(x / aspect - 0.5, y - 0.5);
        return Mix(water, {0, 20, 40}, std::clamp((edge - 0.35) * 2.2, 0.0, 0.8));
    });
}

void PaintMeadow(TCanvas& Canvas)
{
    const double w = Canvas.Width(), h = Canvas.Height();
    auto farHill = [&](double X) { return h * (0.5 + 0.04 * std::sin(X / w * 6 + 0.5)); };
    auto midHill = [&](double X) { return h * (0.58 + 0.05 * std::sin(X / w * 8 + 2) + 0.02 * std::sin(X / w * 21)); };
    auto nearHill = [&](double X) { return h * (0.7 + 0.06 * std::sin(X / w * 5 + 4)); };
    Canvas.Fill([&](double X, double Y) {
        TColor c = Mix({104, 160, 232}, {226, 240, 255}, Y / farHill(X));
        c = Mix(c, {150, 188, 196}, Below(Y, farHill(X)));
        c = Mix(c, Mix({96, 166, 90}, {70, 132, 70}, (Y - midHill(X)) / (0.2 * h)), Below(Y, midHill(X)));
        const double band = 0.5 + 0.5 * std::sin((Y - nearHill(X)) * 0.09 + X / w * 4);
        return Mix(c, Mix({52, 136, 48}, {196, 190, 64}, band * 0.35 + (Y - nearHill(X)) / h), Below(Y, nearHill(X)));
    });
    TDraws draws(2);
    for (int cloud = 0; cloud < 5; ++cloud) {
        const double cx = draws.Between(0.05, 0.95) * w, cy = draws.Between(0.1, 0.32) * h;
        const double size = draws.Between(0.04, 0.07) * h;
        for (int puff = 0; puff < 6; ++puff) {
            const double x = cx + draws.Between(-2.5, 2.5) * size, y = cy + draws.Between(-0.5, 0.4) * size;
            const double radius = size * draws.Between(0.8, 1.4);
            SoftDisc(Canvas, x, y, radius, {255, 255, 255}, 0.5, size * 0.3);
        }
    }
    const TColor petals[] = {{255, 236, 110}, {255, 160, 196}, {255, 255, 255}, {196, 130, 255}};
    for (int flower = 0; flower < 420; ++flower) {
        const double x = draws.Between(0, w), y = draws.Between(nearHill(x) + 0.02 * h, h);
        const double depth = (y - nearHill(x)) / (h - nearHill(x));
        const TColor petal = draws.Pick(petals);
        SoftDisc(Canvas, x, y, (0.002 + 0.006 * depth) * h, petal, 0.9, 1.0);
    }
}

void PaintShapes(TCanvas& Canvas)
{
    const double w = Canvas.Width(), h = Canvas.Height(), s = h / 1080;
    Canvas.Fill([&](double X, double Y) {
        return Mix({58, 62, 76}, {22, 24, 32}, std::hypot(X / w - 0.5, Y / h - 0.45) * 1.5);
    });
    // Each shape drops a soft shadow down and to the right before it is painted.
    auto place = [&](const TCanvas::TDistance& Distance, TColor Color, double Opacity) {
        const double dx = 18 * s, dy = 26 * s;
        Canvas.Shape(0, 0, Canvas.Width(), Canvas.Height(),
                     [&](double X, double Y) { return Distance(X - dx, Y - dy); }, {0, 0, 0}, 0.45, 40 * s);
        Canvas.Shape(0, 0, Canvas.Width(), Canvas.Height(), Distance, Color, Opacity);
    };
    place([&](double X, double Y) { return DiscDistance(X, Y, 600 * s, 470 * s, 300 * s); }, {232, 92, 72}, 0.92);
    const double triangle[3][2] = {{880 * s, 900 * s}, {1500 * s, 900 * s}, {1190 * s, 330 * s}};
    place([&](double X, double Y) { return TriangleDistance(X, Y, triangle); }, {42, 108, 190}, 0.82);
    place([&](double X, double Y) { return RoundedBoxDistance(X, Y, 1200 * s, 150 * s, 1640 * s, 590 * s, 64 * s); },
          {246, 190, 58}, 0.86);
    place([&](double X, double Y) { return std::abs(DiscDistance(X, Y, 1560 * s, 780 * s, 170 * s)) - 28 * s; },
          {28, 150, 138}, 0.9);
    for (int i = 0; i < 5; ++i)
        place([&](double X, double Y) { return DiscDistance(X, Y, (260 + 70 * i) * s, 900 * s, 22 * s); },
              Mix({232, 92, 72}, {42, 108, 190}, i / 4.0), 0.95);
    DrawText(Canvas, "Shapes and colours", static_cast<int>(160 * s), static_cast<int>(980 * s - 7 * 7 * s),
             {std::max(1, static_cast<int>(7 * s)), {238, 232, 220}});
}

void PaintLantern(TCanvas& Canvas)
{
    const double h = Canvas.Height(), aspect = Canvas.Width() / h;
    Canvas.Fill([&](double X, double Y) {
        const double d = std::hypot(X / h - 0.5 * aspect, Y / h - 0.42);
        const double ring = 0.5 + 0.5 * std::cos(d * 60);
        const TColor light = Mix({255, 206, 96}, {96, 22, 44}, d * 2.0);
        return Mix(light, {18, 8, 28}, std::min(1.0, ring * d * 1.1 + std::max(0.0, d - 0.7)));
    });
}

}  // namespace spindrel::demo
