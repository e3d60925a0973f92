// The 128 transition styles as table rows: what ComposeFrame hands a style, the
// class that decides the final drawing, and the function that does the style's work.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Region.h"

namespace spindrel {

// One shared uniform generator for the random styles; seedable for tests and tools.
class TRandom {
public:
    explicit TRandom(std::uint32_t Seed = 0) : FState(Seed) {}
    void SetSeed(std::uint32_t Seed) { FState = Seed; }
    // An integer in 0..N-1; 0 when N is 0 or less. Every call is a draw, whatever N.
    int Next(int N)
    {
        FState = FState * 134775813u + 1u;  // a full-period 32-bit linear congruential step
        if (N <= 0)
            return 0;
        return static_cast<int>((static_cast<std::uint64_t>(FState) * static_cast<std::uint32_t>(N)) >> 32);
    }

private:
    std::uint32_t FState;
};

// What the component does for a style (see ComposeFrame's final drawing).
enum class TStyleClass : std::uint8_t {
    Custom,     // style 0
    Rectangle,  // 1..57: a scaled copy of S of the picture onto D
    Region,     // 58..117, 123..127: the picture drawn through Region
    Pixel,      // 118..122: the style draws into Frame itself
};

// The component's side of a frame, for what a style asks of it.
class TStyleHost {
public:
    virtual ~TStyleHost() = default;
    // An early part of a multi-part style was copied; r is in frame coordinates.
    virtual void InvalidatePictureArea(const TRect& R) = 0;
};

// Everything one frame of one style works with. Frame already holds the snapshot.
struct TStyleFrame {
    TBitmap& Frame;          // FrameBitmap
    const TBitmap& Picture;  // NewPicture; W x H, as Frame
    int W, H;                // picture size
    int X, Y;                // extents for Progress: 0 at 0, W and H at 100
    int J;                   // band margin: MulDiv(longer side, Step, 90)
    int Progress;            // 0..100
    TRect D, S;              // rectangle styles set these; both start (0, 0, W, H)
    TRegion& Region;         // region styles build the clip here; it starts empty
    TRegion& Spare;          // a cleared scratch region for styles that combine two
    TRandom& Random;
    TStyleHost& Host;
    std::vector<std::int32_t>& Scratch;  // kept between frames, so per-frame tables need no allocation
};

struct TStyleEntry {
    std::uint8_t Style;
    TStyleClass Class;
    void (*Compose)(TStyleFrame& Frame, const TStyleEntry& Self);  // none for style 0
    std::array<std::int16_t, 4> Args;                               // the family's parameters
};

// The rows of styles 1..57 and 118..122, in style order.
std::span<const TStyleEntry> RectanglePixelStyles();
// The rows of styles 58..117 and 123..127, in style order.
std::span<const TStyleEntry> RegionStyles();

// A frame's extents at Progress: the longer side moves by Progress percent, the
// other follows in proportion (TStyleFrame::X and Y).
TPoint ProgressExtents(int W, int H, int Progress);
// The band margin of the band styles (TStyleFrame::J).
int BandMargin(int W, int H, int Step);
// The row of any style 0..127.
const TStyleEntry& StyleEntry(int Style);

}  // namespace spindrel
