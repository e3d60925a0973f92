// Text with a shadow that falls down and to the right, blurred by half a font pixel.
#include "tools/demo/DemoText.h"

#include <algorithm>

#include "tools/demo/BitmapFont.h"

namespace spindrel::demo {

void DrawText(TCanvas& Canvas, std::string_view Text, int Left, int Top, const TTextLook& Look)
{
    const TMask text = TextMask(Text, Look.Scale, Left, Top);
    if (Look.ShadowOpacity > 0) {
        const TMask shadow = Blur(text, std::max(1, Look.Scale / 2));
        Canvas.Paint(shadow, {0, 0, 0}, Look.ShadowOpacity, Look.Scale / 3, Look.Scale / 2);
    }
    Canvas.Paint(text, Look.Color);
}

void DrawTextCentred(TCanvas& Canvas, std::string_view Text, int CentreX, int Top, const TTextLook& Look)
{
    DrawText(Canvas, Text, CentreX - TextWidth(Text, Look.Scale) / 2, Top, Look);
}

}  // namespace spindrel::demo
