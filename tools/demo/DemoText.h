// Lines of text on the demo pictures: the bitmap font over a soft shadow.
#pragma once

#include <string_view>

#include "tools/demo/DemoCanvas.h"

namespace spindrel::demo {

struct TTextLook {
    int Scale;  // canvas pixels per font pixel; the cap height is 7 x Scale
    TColor Color;
    double ShadowOpacity = 0.55;
};

void DrawText(TCanvas& Canvas, std::string_view Text, int Left, int Top, const TTextLook& Look);
void DrawTextCentred(TCanvas& Canvas, std::string_view Text, int CentreX, int Top, const TTextLook& Look);

}  // namespace spindrel::demo
