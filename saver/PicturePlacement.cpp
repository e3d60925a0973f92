// The placement rules of a picture slide, free of windows and timers.
#include "saver/PicturePlacement.h"

#include "shared/UnitGlobe.h"

namespace spindrel {

TRect PictureTarget(int PictureWidth, int PictureHeight, int ScreenWidth, int ScreenHeight, bool EnlargeFit)
{
    if (!EnlargeFit)
        return {0, 0, PictureWidth, PictureHeight};
    const TRect fit = FitRect(PictureWidth, PictureHeight, ScreenWidth, ScreenHeight);
    return {0, 0, fit.Width(), fit.Height()};
}

TPoint CentredOrigin(int Width, int Height, int ScreenWidth, int ScreenHeight)
{
    return {(ScreenWidth - Width) / 2, (ScreenHeight - Height) / 2};
}

TPoint RandomOrigin(int Width, int Height, int ScreenWidth, int ScreenHeight, const TRandomFunction& Random)
{
    TPoint p;
    if (Width < ScreenWidth)
        p.X = Random(ScreenWidth - Width);
    if (Height < ScreenHeight)
        p.Y = Random(ScreenHeight - Height);
    return p;
}

void RandomizeRect(TRect& Rect, int ScreenWidth, int ScreenHeight, const TRandomFunction& Random)
{
    const int w = Rect.Width();
    const int h = Rect.Height();
    const TPoint p = RandomOrigin(w, h, ScreenWidth, ScreenHeight, Random);
    Rect = {p.X, p.Y, p.X + w, p.Y + h};
}

void TileScreen(TBitmap& Screen, const TBitmap& Tile)
{
    if (Tile.Empty())
        return;
    for (int y = 0; y < Screen.Height(); y += Tile.Height())
        for (int x = 0; x < Screen.Width(); x += Tile.Width())
            Draw(Screen, x, y, Tile);
}

TPoint TileCount(int Width, int Height, int ScreenWidth, int ScreenHeight)
{
    if (Width <= 0 || Height <= 0)
        return {};
    return {(ScreenWidth + Width - 1) / Width, (ScreenHeight + Height - 1) / Height};
}

void PlacePicture(TBitmap& Screen, const TBitmap& Sized, bool Tile, bool RandomPosition,
                  const TRandomFunction& Random)
{
    if (Tile) {
        TileScreen(Screen, Sized);
        return;
    }
    const TPoint p = RandomPosition
                         ? RandomOrigin(Sized.Width(), Sized.Height(), Screen.Width(), Screen.Height(), Random)
                         : CentredOrigin(Sized.Width(), Sized.Height(), Screen.Width(), Screen.Height());
    Draw(Screen, p.X, p.Y, Sized);
}

std::uint32_t HoldTime(std::uint32_t IntervalSeconds, std::uint32_t ElapsedMs)
{
    const std::uint32_t interval = IntervalSeconds * 1000;
    return ElapsedMs < interval ? interval - ElapsedMs : 100;
}

}  // namespace spindrel
