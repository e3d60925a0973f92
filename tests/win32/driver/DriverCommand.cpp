// Argument parsing and polling shared by the driver's commands.
#include "DriverCommand.h"

#include <cstdlib>

namespace spindrel::driver {

int ParseInt(const std::string& Text, const char* What)
{
    char* end = nullptr;
    const long value = std::strtol(Text.c_str(), &end, 10);
    if (Text.empty() || *end != '\0')
        throw EUsage(std::string(What) + " must be a whole number, not '" + Text + "'");
    return static_cast<int>(value);
}

COLORREF ParseColour(const std::string& Text)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(Text.c_str(), &end, 16);
    if (Text.size() != 6 || *end != '\0')
        throw EUsage("a colour is six hex digits RRGGBB, not '" + Text + "'");
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

RECT ParseRect(const TArgs& Args, size_t First)
{
    if (Args.size() < First + 4)
        throw EUsage("a rectangle needs left top right bottom");
    const RECT rect{ParseInt(Args[First], "left"), ParseInt(Args[First + 1], "top"),
                    ParseInt(Args[First + 2], "right"), ParseInt(Args[First + 3], "bottom")};
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        throw EUsage("the rectangle is empty");
    return rect;
}

bool PollUntil(DWORD TimeoutMs, const std::function<bool()>& Done)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (Done())
            return true;
        if (GetTickCount() - start >= TimeoutMs)
            return false;
        Sleep(10);
    }
}

}  // namespace spindrel::driver
