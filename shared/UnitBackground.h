// TBackground: paints a whole area of a canvas (one of our bitmaps) with a solid
// colour, a two-colour gradient of at most 255 bands, or a picture file
// stretched, fitted or tiled. Used by the show window and the installer's backdrop.
#pragma once

#include <cstdint>
#include <string>

#include "platform/graphics/Bitmap.h"

namespace spindrel {

class TBackground {
public:
    // Keeps a reference to Canvas, which must outlive the painter. Paints nothing.
    TBackground(TBitmap& Canvas, int Width, int Height);
    virtual ~TBackground() = default;
    TBackground(const TBackground&) = delete;
    TBackground& operator=(const TBackground&) = delete;

    std::uint8_t FillKind() const { return FFillKind; }  // 0 solid, 1 gradient, 2 picture
    TColor StartColor() const { return FStartColor; }
    TColor EndColor() const { return FEndColor; }
    std::uint8_t Direction() const { return FDirection; }  // 0 from left, 1 from right, 2 from top, 3 from bottom
    TColor SolidColor() const { return FSolidColor; }
    const std::string& PictureFile() const { return FPictureFile; }
    std::uint8_t PictureMode() const { return FPictureMode; }  // 0 stretched, 1 fitted, 2 tiled

    // Each stores a value that differs from the current one and repaints at once;
    // an equal value does nothing. In picture mode a repaint may throw EPictureError.
    void SetFillKind(std::uint8_t Value);
    void SetStartColor(TColor Value);
    void SetEndColor(TColor Value);
    void SetDirection(std::uint8_t Value);
    void SetSolidColor(TColor Value);
    void SetPictureFile(const std::string& Value);
    void SetPictureMode(std::uint8_t Value);

    // Paints the whole area from the current settings. A picture file that exists
    // but cannot be loaded throws EPictureError; a missing one paints black.
    void Paint();

protected:
    using TBandPainter = void (TBackground::*)(int From, int To);

    virtual void Changed();
    virtual void FillRowsFromTop(int From, int To);
    virtual void FillColumnsFromLeft(int From, int To);
    virtual void FillRowsFromBottom(int From, int To);
    virtual void FillColumnsFromRight(int From, int To);
    virtual void DrawGradient(int Steps, TBandPainter Painter);

    TBitmap& Canvas() { return FCanvas; }
    void SetBrushColor(TColor Color) { FBrush = Color; }

private:
    void PaintPicture();

    TBitmap& FCanvas;
    int FWidth;
    int FHeight;
    std::uint8_t FFillKind = 1;
    TColor FStartColor = RGB(255, 255, 255);
    TColor FEndColor = RGB(0, 0, 0);
    std::uint8_t FDirection = 0;
    TColor FSolidColor = RGB(0, 0, 0);
    std::string FPictureFile;
    std::uint8_t FPictureMode = 0;
    TColor FBrush = RGB(255, 255, 255);  // the canvas brush the band painters fill with
};

}  // namespace spindrel
