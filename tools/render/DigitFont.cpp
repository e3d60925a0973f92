// The digit glyphs, one row of three bits per line.
#include "tools/render/DigitFont.h"

namespace spindrel::render {

namespace {

const unsigned char Glyphs[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

}  // namespace

void DrawDigits(TBitmap& Target, int X, int Y, const std::string& Text, int Scale, TColor Color)
{
    for (char c : Text) {
        if (c < '0' || c > '9')
            continue;
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                if (Glyphs[c - '0'][row] & (4 >> column))
                    FillRect(Target, {X + column * Scale, Y + row * Scale, X + (column + 1) * Scale, Y + (row + 1) * Scale},
                             Color);
        X += 4 * Scale;
    }
}

}  // namespace spindrel::render
