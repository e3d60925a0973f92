// StretchCopy against the system's StretchBlt in COLORONCOLOR mode between 24-bit
// top-down DIB sections: every destination pixel must come out the same.
// Our header first: <windows.h> defines RGB as a macro.
#include "platform/graphics/Stretch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

using spindrel::TBitmap;
using spindrel::TRect;

// A 24-bit top-down DIB section selected into its own memory DC.
class TDibSection {
public:
    TDibSection(int Width, int Height) : FDC(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = Width;
        info.bmiHeader.biHeight = -Height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0);
        FOld = SelectObject(FDC, FBitmap);
    }
    ~TDibSection()
    {
        SelectObject(FDC, FOld);
        DeleteObject(FBitmap);
        DeleteDC(FDC);
    }
    TDibSection(const TDibSection&) = delete;
    TDibSection& operator=(const TDibSection&) = delete;

    HDC DC() const { return FDC; }
    bool Valid() const { return FBitmap && FBits; }
    void CopyFrom(const TBitmap& Bitmap) { std::memcpy(FBits, Bitmap.Bits(), Bitmap.ByteSize()); }
    void CopyTo(TBitmap& Bitmap) const { std::memcpy(Bitmap.Bits(), FBits, Bitmap.ByteSize()); }

private:
    HDC FDC;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
    std::uint8_t* FBits = nullptr;
};

void FillRandom(TBitmap& Bitmap, std::mt19937& Random)
{
    for (int y = 0; y < Bitmap.Height(); ++y)
        for (int x = 0; x < Bitmap.Width(); ++x)
            Bitmap.SetPixel(x, y, Random() & 0xFFFFFF);
}

struct TStretchCase {
    int TargetWidth, TargetHeight, SourceWidth, SourceHeight;
    TRect Dest, Src;
};

// Runs both copies on the same random pixels and compares the whole target.
void ExpectSameAsSystem(const TStretchCase& Case, std::mt19937& Random)
{
    TBitmap source(Case.SourceWidth, Case.SourceHeight), target(Case.TargetWidth, Case.TargetHeight);
    FillRandom(source, Random);
    FillRandom(target, Random);
    TDibSection systemSource(Case.SourceWidth, Case.SourceHeight), systemTarget(Case.TargetWidth, Case.TargetHeight);
    ASSERT_TRUE(systemSource.Valid() && systemTarget.Valid());
    systemSource.CopyFrom(source);
    systemTarget.CopyFrom(target);
    SetStretchBltMode(systemTarget.DC(), COLORONCOLOR);
    StretchBlt(systemTarget.DC(), Case.Dest.Left, Case.Dest.Top, Case.Dest.Width(), Case.Dest.Height(),
               systemSource.DC(), Case.Src.Left, Case.Src.Top, Case.Src.Width(), Case.Src.Height(), SRCCOPY);
    GdiFlush();
    TBitmap expected(Case.TargetWidth, Case.TargetHeight);
    systemTarget.CopyTo(expected);

    spindrel::StretchCopy(target, Case.Dest, source, Case.Src);
    for (int y = 0; y < target.Height(); ++y)
        for (int x = 0; x < target.Width(); ++x)
            ASSERT_EQ(target.Pixel(x, y), expected.Pixel(x, y))
                << "at (" << x << ", " << y << ") of a " << Case.TargetWidth << "x" << Case.TargetHeight
                << " target, dest (" << Case.Dest.Left << ", " << Case.Dest.Top << ", " << Case.Dest.Right << ", "
                << Case.Dest.Bottom << "), src (" << Case.Src.Left << ", " << Case.Src.Top << ", " << Case.Src.Right
                << ", " << Case.Src.Bottom << ") of " << Case.SourceWidth << "x" << Case.SourceHeight;
}

TEST(StretchWin32, MatchesStretchBltOnChosenCases)
{
    const TStretchCase cases[] = {
        {13, 7, 13, 7, {0, 0, 13, 7}, {0, 0, 13, 7}},            // plain copy
        {13, 7, 13, 7, {-4, 2, 9, 9}, {0, 0, 13, 7}},            // slid partly out
        {23, 17, 5, 3, {0, 0, 23, 17}, {0, 0, 5, 3}},            // enlarging, odd ratio
        {7, 5, 23, 17, {0, 0, 7, 5}, {0, 0, 23, 17}},            // shrinking, odd ratio
        {9, 9, 33, 31, {1, 1, 2, 2}, {0, 0, 33, 31}},            // shrinking to one pixel
        {9, 9, 33, 31, {4, 0, 5, 9}, {3, 2, 30, 29}},            // one column, rows enlarged a little
        {17, 13, 17, 13, {-17, -13, 34, 26}, {8, 6, 9, 7}},      // one pixel over three times the frame
        {17, 13, 17, 13, {-9, -6, 26, 19}, {4, 3, 13, 10}},      // zoom from the centre, partly outside
        {21, 11, 21, 11, {6, 0, 21, 11}, {6, 0, 7, 11}},         // smear: one column over the rest
        {21, 11, 21, 11, {18, 0, 21, 11}, {18, 0, 19, 11}},
        {21, 11, 21, 11, {15, 0, 21, 11}, {15, 0, 22, 11}},      // source band running past the right edge
        {21, 11, 21, 11, {21, 0, 21, 11}, {21, 0, 22, 11}},      // empty destination
        {21, 11, 21, 11, {0, 0, 3, 11}, {-1, 0, 3, 11}},         // source band starting left of the picture
        {21, 11, 21, 11, {0, 0, 5, 11}, {-1, 0, 0, 11}},         // source wholly left of the picture
        {11, 21, 11, 21, {0, 4, 11, 21}, {0, 18, 11, 23}},       // rows past the bottom
        {11, 21, 11, 21, {0, 0, 11, 6}, {0, -3, 11, 2}},         // rows above the top
        {11, 21, 11, 21, {0, 0, 11, 6}, {0, -3, 11, 0}},         // wholly above
        {11, 21, 11, 21, {0, 0, 11, 6}, {0, 0, 11, 0}},          // empty source
        {15, 9, 15, 9, {9, 0, 4, 9}, {9, 0, 12, 9}},             // mirrored fold strip, widened
        {15, 9, 15, 9, {16, 0, 11, 9}, {12, 0, 15, 9}},          // mirrored, partly right of the target
        {15, 9, 15, 9, {2, 0, -3, 9}, {0, 0, 2, 9}},             // mirrored, partly left of the target
        {15, 9, 15, 9, {4, 0, 2, 9}, {3, 0, 3, 9}},              // mirrored two wide from an empty source
        {15, 9, 15, 9, {3, 0, 2, 9}, {3, 0, 7, 9}},              // mirrored one column
        {9, 15, 9, 15, {0, 9, 9, 4}, {0, 9, 9, 12}},             // mirrored rows
        {9, 15, 9, 15, {0, 16, 9, 11}, {0, 12, 9, 15}},
        {9, 15, 9, 15, {8, 14, -1, -1}, {0, 0, 9, 15}},          // turned over both ways
        {9, 15, 9, 15, {8, 3, 7, 2}, {0, 0, 9, 15}},             // mirrored single pixel from the whole picture
        {5, 5, 5, 5, {0, 0, 1, 1}, {-3, 0, 2, 5}},               // one column from a band partly outside
        {5, 5, 5, 5, {0, 0, 1, 1}, {0, -3, 5, 2}},               // one row from a band partly outside
        {641, 481, 641, 481, {-635, -476, 1276, 957}, {317, 238, 323, 243}},  // a centre zoom just begun
        {641, 481, 641, 481, {-6, -5, 647, 486}, {3, 2, 638, 479}},          // and nearly done
    };
    std::mt19937 random(20261211);
    for (const TStretchCase& c : cases)
        ExpectSameAsSystem(c, random);
}

// Random rectangles of every kind the styles produce: any destination with any
// source, and mirrored destinations with a source inside the picture.
TEST(StretchWin32, MatchesStretchBltOnRandomRectangles)
{
    std::mt19937 random(7);
    auto any = [&](int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(random); };
    for (int i = 0; i < 1500; ++i) {
        TStretchCase c;
        const bool large = i % 10 == 0;
        c.TargetWidth = large ? any(200, 700) : any(1, 19);
        c.TargetHeight = large ? any(1, 9) : any(1, 19);
        c.SourceWidth = large ? any(200, 700) : any(1, 19);
        c.SourceHeight = large ? any(1, 9) : any(1, 19);
        const bool mirrored = i % 3 == 0;
        auto band = [&](int Size) {
            int start = any(-Size / 2 - 2, Size + 2), length = any(1, 2 * Size + 3);
            if (mirrored && any(0, 1))
                length = -length;
            return std::pair{start, start + length};
        };
        const auto [left, right] = band(c.TargetWidth);
        const auto [top, bottom] = band(c.TargetHeight);
        c.Dest = {left, top, right, bottom};
        if (mirrored) {
            const int sl = any(0, c.SourceWidth - 1), st = any(0, c.SourceHeight - 1);
            c.Src = {sl, st, any(sl + 1, c.SourceWidth), any(st + 1, c.SourceHeight)};
        } else {
            const int sl = any(-c.SourceWidth / 2 - 2, c.SourceWidth + 1);
            const int st = any(-c.SourceHeight / 2 - 2, c.SourceHeight + 1);
            c.Src = {sl, st, sl + any(1, 2 * c.SourceWidth), st + any(1, 2 * c.SourceHeight)};
        }
        ExpectSameAsSystem(c, random);
        if (HasFatalFailure())
            return;
    }
}

}  // namespace
