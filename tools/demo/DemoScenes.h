// The demo saver's pictures, each painted onto a canvas of any size (they are made for 1920 x 1080).
#pragma once

#include "tools/demo/DemoCanvas.h"

namespace spindrel::demo {

void PaintWelcome(TCanvas& Canvas);  // the title card
void PaintDawn(TCanvas& Canvas);     // a sun rising behind hills over the sea
void PaintTide(TCanvas& Canvas);     // interfering waves
void PaintMeadow(TCanvas& Canvas);   // hills, clouds and flowers
void PaintShapes(TCanvas& Canvas);   // overlapping shapes on slate
void PaintLantern(TCanvas& Canvas);  // rings around a warm light

}  // namespace spindrel::demo
