// The background painter's setters, its three fill kinds and the gradient bands.
#include "shared/UnitBackground.h"

#include "platform/graphics/Stretch.h"
#include "platform/picture/PictureLoader.h"
#include "shared/UnitGlobe.h"

namespace spindrel {

TBackground::TBackground(TBitmap& Canvas, int Width, int Height) : FCanvas(Canvas), FWidth(Width), FHeight(Height) {}

namespace {
template <typename T>
bool Store(T& Field, const T& Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}
}  // namespace

void TBackground::SetFillKind(std::uint8_t Value) { if (Store(FFillKind, Value)) Changed(); }
void TBackground::SetStartColor(TColor Value) { if (Store(FStartColor, Value)) Changed(); }
void TBackground::SetEndColor(TColor Value) { if (Store(FEndColor, Value)) Changed(); }
void TBackground::SetDirection(std::uint8_t Value) { if (Store(FDirection, Value)) Changed(); }
void TBackground::SetSolidColor(TColor Value) { if (Store(FSolidColor, Value)) Changed(); }
void TBackground::SetPictureFile(const std::string& Value) { if (Store(FPictureFile, Value)) Changed(); }
void TBackground::SetPictureMode(std::uint8_t Value) { if (Store(FPictureMode, Value)) Changed(); }

void TBackground::Changed() { Paint(); }

void TBackground::Paint()
{
    switch (FFillKind) {
    case 0:
        FillRect(FCanvas, {0, 0, FWidth, FHeight}, FSolidColor);
        break;
    case 1:
        switch (FDirection) {
        case 0: DrawGradient(FWidth, &TBackground::FillColumnsFromLeft); break;
        case 1: DrawGradient(FWidth, &TBackground::FillColumnsFromRight); break;
        case 2: DrawGradient(FHeight, &TBackground::FillRowsFromTop); break;
        case 3: DrawGradient(FHeight, &TBackground::FillRowsFromBottom); break;
        }
        break;
    case 2:
        PaintPicture();
        break;
    }
}

// The canvas's clip rectangle is the whole bitmap; the fitted target uses the
// painter's own size, as the two may differ.
void TBackground::PaintPicture()
{
    const TRect clip = FCanvas.Bounds();
    if (FPictureFile.empty() || !FileExists(FPictureFile)) {
        FillRect(FCanvas, clip, RGB(0, 0, 0));
        return;
    }
    TBitmap picture;
    LoadPictureOrThrow(FPictureFile, picture);
    switch (FPictureMode) {
    case 0:
        StretchCopy(FCanvas, clip, picture, picture.Bounds());
        break;
    case 1:
        FillRect(FCanvas, clip, RGB(0, 0, 0));
        StretchCopy(FCanvas, FitRect(picture.Width(), picture.Height(), FWidth, FHeight), picture, picture.Bounds());
        break;
    case 2:  // a pattern brush: tiles start at the canvas origin
        if (picture.Empty())
            break;
        for (int y = 0; y < clip.Bottom; y += picture.Height())
            for (int x = 0; x < clip.Right; x += picture.Width())
                Draw(FCanvas, x, y, picture);
        break;
    }
}

// The ramp is computed in extended precision, as the original arithmetic was: in
// plain double, 255 / 100 * 100 comes out just short of 255 and the last band
// would miss the end colour.
void TBackground::DrawGradient(int Steps, TBandPainter Painter)
{
    if (Steps <= 0)
        return;
    const int n = Steps < 255 ? Steps : 255;
    const int r0 = RedOf(FStartColor), g0 = GreenOf(FStartColor), b0 = BlueOf(FStartColor);
    const int r1 = RedOf(FEndColor), g1 = GreenOf(FEndColor), b1 = BlueOf(FEndColor);
    const long double dr = static_cast<long double>(r1 - r0) / n;
    const long double dg = static_cast<long double>(g1 - g0) / n;
    const long double db = static_cast<long double>(b1 - b0) / n;
    const long double width = static_cast<long double>(Steps) / n;
    int previous = 0;
    for (int i = 0; i <= n; ++i) {
        const int r = static_cast<int>(dr * i) + r0;  // the cast truncates toward zero
        const int g = static_cast<int>(dg * i) + g0;
        const int b = static_cast<int>(db * i) + b0;
        SetBrushColor(RGB(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)));
        const int position = static_cast<int>(width * i);
        (this->*Painter)(previous, position);
        previous = position;
    }
}

// An empty band becomes the one just before it, which for pass 0 lies outside the area.
void TBackground::FillRowsFromTop(int From, int To)
{
    if (From == To)
        --From;
    FillRect(FCanvas, {0, From, FWidth, To}, FBrush);
}

void TBackground::FillColumnsFromLeft(int From, int To)
{
    if (From == To)
        --From;
    FillRect(FCanvas, {From, 0, To, FHeight}, FBrush);
}

void TBackground::FillRowsFromBottom(int From, int To)
{
    if (From == To)
        --From;
    FillRect(FCanvas, {0, FHeight - To, FWidth, FHeight - From}, FBrush);
}

void TBackground::FillColumnsFromRight(int From, int To)
{
    if (From == To)
        --From;
    FillRect(FCanvas, {FWidth - To, 0, FWidth - From, FHeight}, FBrush);
}

}  // namespace spindrel
