// Commands that make input as a user would: keys, pointer moves to exact
// positions, clicks; and two read-backs, the pointer position and the screen-saving switch.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "DriverCommand.h"

namespace spindrel::driver {
namespace {

// A virtual key: a letter or digit as itself, a few names, or a decimal number.
WORD ParseVirtualKey(const std::string& Text)
{
    if (Text.size() == 1 && std::isalnum(static_cast<unsigned char>(Text[0])))
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(Text[0])));
    static const struct {
        const char* Name;
        WORD Key;
    } names[] = {{"escape", VK_ESCAPE}, {"space", VK_SPACE}, {"enter", VK_RETURN}};
    for (const auto& name : names)
        if (Text == name.Name)
            return name.Key;
    return static_cast<WORD>(ParseInt(Text, "virtual key"));
}

void SendKeyboard(WORD Key, DWORD Flags)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = Key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = Flags;
    if (SendInput(1, &input, sizeof input) != 1)
        throw std::runtime_error("SendInput refused a key, error " + std::to_string(GetLastError()));
}

void SendMouse(DWORD Flags, LONG X = 0, LONG Y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = X;
    input.mi.dy = Y;
    input.mi.dwFlags = Flags;
    if (SendInput(1, &input, sizeof input) != 1)
        throw std::runtime_error("SendInput refused a mouse event, error " + std::to_string(GetLastError()));
}

POINT CursorPosition()
{
    POINT position{};
    GetCursorPos(&position);
    return position;
}

}  // namespace

int CommandKey(const TArgs& Args)
{
    if (Args.empty())
        throw EUsage("key VK [VK...]");
    for (const std::string& text : Args) {
        const WORD key = ParseVirtualKey(text);
        SendKeyboard(key, 0);
        SendKeyboard(key, KEYEVENTF_KEYUP);
    }
    std::printf("sent tick=%lu\n", GetTickCount());
    return 0;
}

int CommandMove(const TArgs& Args)
{
    const bool relative = Args.size() == 3 && Args[0] == "by";
    if (Args.size() != 2 && !relative)
        throw EUsage("move X Y | move by DX DY");
    const POINT from = CursorPosition();
    const int x = ParseInt(Args[relative ? 1 : 0], "x"), y = ParseInt(Args[relative ? 2 : 1], "y");
    const POINT to = relative ? POINT{from.x + x, from.y + y} : POINT{x, y};
    // An absolute move in the normalised 0..65535 space: the rounding up lands the
    // pointer on the pixel asked for, where a plain product would fall one short.
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (to.x * 65536 + width - 1) / width,
              (to.y * 65536 + height - 1) / height);
    const POINT now = CursorPosition();
    std::printf("from=%ld,%ld to=%ld,%ld tick=%lu\n", from.x, from.y, now.x, now.y, GetTickCount());
    return now.x == to.x && now.y == to.y ? 0 : 1;
}

int CommandClick(const TArgs& Args)
{
    static const struct {
        const char* Name;
        DWORD Down, Up;
    } buttons[] = {{"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                   {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
                   {"middle", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}};
    for (const auto& button : buttons) {
        if (Args.size() != 1 || Args[0] != button.Name)
            continue;
        SendMouse(button.Down);
        SendMouse(button.Up);
        std::printf("clicked tick=%lu\n", GetTickCount());
        return 0;
    }
    throw EUsage("click left|right|middle");
}

int CommandCursor(const TArgs& Args)
{
    if (!Args.empty())
        throw EUsage("cursor takes no arguments");
    const POINT position = CursorPosition();
    std::printf("%ld %ld\n", position.x, position.y);
    return 0;
}

int CommandSaverActive(const TArgs& Args)
{
    if (!Args.empty())
        throw EUsage("saver-active takes no arguments");
    BOOL active = FALSE;
    if (!SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0))
        throw std::runtime_error("SPI_GETSCREENSAVEACTIVE failed");
    std::printf("%d\n", active ? 1 : 0);
    return 0;
}

}  // namespace spindrel::driver
