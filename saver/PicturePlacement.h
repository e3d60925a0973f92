// Where a picture slide goes on the screen image: the size it is resampled to,
// centred, random or tiled placement, and how long the slide then stays.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/graphics/Bitmap.h"

namespace spindrel {

// Random(N) gives 0 <= r < N: the show's seeded generator.
using TRandomFunction = std::function<int(int N)>;

// The target size: with EnlargeFit the FitRect of the picture in the screen (at
// (0, 0)), otherwise the picture's own size.
TRect PictureTarget(int PictureWidth, int PictureHeight, int ScreenWidth, int ScreenHeight, bool EnlargeFit);

// The top-left corner that centres a Width x Height picture; the halves truncate
// toward zero and are negative when the picture is larger, so it is cut equally.
TPoint CentredOrigin(int Width, int Height, int ScreenWidth, int ScreenHeight);

// A random top-left corner that keeps the picture on the screen; 0 on an axis
// where the picture is as large as the screen or larger.
TPoint RandomOrigin(int Width, int Height, int ScreenWidth, int ScreenHeight, const TRandomFunction& Random);

// Moves Rect to RandomOrigin of its size, keeping the size.
void RandomizeRect(TRect& Rect, int ScreenWidth, int ScreenHeight, const TRandomFunction& Random);

// Covers Screen with Tile repeated from the top-left corner; the last column and row are cut.
void TileScreen(TBitmap& Screen, const TBitmap& Tile);

// How many tiles of Width x Height (wholly or partly) cover a screen, across and down.
TPoint TileCount(int Width, int Height, int ScreenWidth, int ScreenHeight);

// Places the sized picture on the screen image: tiled, at a random place, or centred.
void PlacePicture(TBitmap& Screen, const TBitmap& Sized, bool Tile, bool RandomPosition,
                  const TRandomFunction& Random);

// The hold time of a slide whose preparation took ElapsedMs: the rest of the
// interval, or 100 ms when the preparation took the whole interval or more.
std::uint32_t HoldTime(std::uint32_t IntervalSeconds, std::uint32_t ElapsedMs);

}  // namespace spindrel
