// Commands that read the screen: single pixels, counts of pixels near a colour in
// a rectangle (once, until enough, or as a time series), and screenshots.
#include <algorithm>
#include <cstdio>

#include "DriverCommand.h"
#include "ScreenCapture.h"

namespace spindrel::driver {
namespace {

struct TColourQuery {
    COLORREF Colour;
    int Tolerance;
    RECT Area;
};

// RRGGBB TOL L T R B, the first six arguments of the counting commands.
TColourQuery ParseColourQuery(const TArgs& Args)
{
    if (Args.size() < 6)
        throw EUsage("expected RRGGBB TOL L T R B");
    return {ParseColour(Args[0]), ParseInt(Args[1], "tolerance"), ParseRect(Args, 2)};
}

// "N" pixels, or "N%" of the rectangle's area.
long ParseMinimum(const std::string& Text, long Area)
{
    if (!Text.empty() && Text.back() == '%')
        return static_cast<long>(static_cast<double>(Area) * ParseInt(Text.substr(0, Text.size() - 1), "percent") / 100.0);
    return ParseInt(Text, "minimum");
}

void PrintColour(COLORREF Colour)
{
    std::printf("%02X%02X%02X\n", GetRValue(Colour), GetGValue(Colour), GetBValue(Colour));
}

}  // namespace

int CommandPixel(const TArgs& Args)
{
    if (Args.size() != 2)
        throw EUsage("pixel X Y");
    const int x = ParseInt(Args[0], "x"), y = ParseInt(Args[1], "y");
    PrintColour(TScreenCapture(RECT{x, y, x + 1, y + 1}).Pixel(0, 0));
    return 0;
}

int CommandCount(const TArgs& Args)
{
    if (Args.size() != 6)
        throw EUsage("count RRGGBB TOL L T R B");
    const TColourQuery query = ParseColourQuery(Args);
    const TScreenCapture capture(query.Area);
    std::printf("%ld of %ld\n", capture.CountNear(query.Colour, query.Tolerance), capture.Area());
    return 0;
}

int CommandAwait(const TArgs& Args)
{
    if (Args.size() != 8)
        throw EUsage("await RRGGBB TOL L T R B MIN TIMEOUT_MS");
    const TColourQuery query = ParseColourQuery(Args);
    TScreenCapture capture(query.Area);
    const long minimum = ParseMinimum(Args[6], capture.Area());
    const DWORD start = GetTickCount();
    long count = 0, most = 0;
    const bool reached = PollUntil(ParseInt(Args[7], "time-out"), [&] {
        capture.Refresh();
        count = capture.CountNear(query.Colour, query.Tolerance);
        most = std::max(most, count);
        return count >= minimum;
    });
    std::printf("%s count=%ld most=%ld of %ld after=%lu tick=%lu\n", reached ? "reached" : "not reached", count, most,
                capture.Area(), GetTickCount() - start, GetTickCount());
    return reached ? 0 : 1;
}

int CommandSample(const TArgs& Args)
{
    if (Args.size() != 8 && Args.size() != 9)
        throw EUsage("sample RRGGBB TOL L T R B PERIOD_MS DURATION_MS [UNTIL_MIN]");
    const TColourQuery query = ParseColourQuery(Args);
    const DWORD period = ParseInt(Args[6], "period"), duration = ParseInt(Args[7], "duration");
    TScreenCapture capture(query.Area);
    const bool stops = Args.size() == 9;
    const long until = stops ? ParseMinimum(Args[8], capture.Area()) : 0;
    const DWORD start = GetTickCount();
    for (DWORD next = start; GetTickCount() - start <= duration; next += period) {
        capture.Refresh();
        const long count = capture.CountNear(query.Colour, query.Tolerance);
        std::printf("%lu %ld %ld\n", GetTickCount(), count, capture.Area());
        if (stops && count >= until)
            return 0;
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(next + period - now) > 0)
            Sleep(next + period - now);
    }
    return stops ? 1 : 0;
}

int CommandShot(const TArgs& Args)
{
    if (Args.size() != 1)
        throw EUsage("shot FILE.bmp");
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!TScreenCapture(screen).SaveBmp(Args[0])) {
        std::printf("cannot write %s\n", Args[0].c_str());
        return 1;
    }
    return 0;
}

}  // namespace spindrel::driver
