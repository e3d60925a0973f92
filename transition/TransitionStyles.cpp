// The style table: style 0, the rectangle and pixel rows, and the region rows,
// gathered into one row per style number.
#include "transition/TransitionStyles.h"

#include <cassert>

#include "shared/UnitGlobe.h"

namespace spindrel {

namespace {

const TStyleEntry CustomStyle{0, TStyleClass::Custom, nullptr, {}};

struct TStyleIndex {
    std::array<const TStyleEntry*, 128> Rows{};

    TStyleIndex()
    {
        Rows[0] = &CustomStyle;
        for (auto table : {RectanglePixelStyles(), RegionStyles()})
            for (const TStyleEntry& row : table)
                Rows[row.Style] = &row;
        for ([[maybe_unused]] const TStyleEntry* row : Rows)
            assert(row && "every style 0..127 has a row");
    }
};

}  // namespace

const TStyleEntry& StyleEntry(int Style)
{
    static const TStyleIndex index;
    assert(Style >= 0 && Style < 128 && "styles above 127 compose nothing and have no row");
    return *index.Rows[static_cast<std::size_t>(Style)];
}

TPoint ProgressExtents(int W, int H, int Progress)
{
    if (H <= W) {
        const int x = MulDiv(W, Progress, 100);
        return {x, MulDiv(x, H, W)};
    }
    const int y = MulDiv(H, Progress, 100);
    return {MulDiv(y, W, H), y};
}

int BandMargin(int W, int H, int Step) { return MulDiv(H <= W ? W : H, Step, 90); }

}  // namespace spindrel
