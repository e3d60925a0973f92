// The driver of the end-to-end show scenarios: one command per run, each waiting
// by polling (never by fixed sleeps) and printing what it found.
// Times are printed as tick=GetTickCount(), which all processes share, so a script
// can measure between commands.
#include <cstdio>
#include <cstring>

#include "DriverCommand.h"

namespace spindrel::driver {
namespace {

struct TCommand {
    const char* Name;
    const char* Arguments;
    const char* Does;
    int (*Run)(const TArgs&);
};

const TCommand Commands[] = {
    {"windows", "", "list every top-level window: class, caption, visibility, rect", CommandWindows},
    {"window", "CLASS TIMEOUT_MS", "wait for a visible window; print handle, pid, rect, topmost", CommandWindow},
    {"gone", "CLASS TIMEOUT_MS", "wait until no window of the class exists", CommandGone},
    {"run", "TIMEOUT_MS CLASS PROGRAM [ARG...]",
     "start, wait for the end (killed after the time-out), say whether a CLASS window appeared", CommandRun},
    {"pixel", "X Y", "print the screen pixel as RRGGBB", CommandPixel},
    {"count", "RRGGBB TOL L T R B", "pixels within TOL on every channel, in the rectangle", CommandCount},
    {"await", "RRGGBB TOL L T R B MIN TIMEOUT_MS", "wait until the count is at least MIN (pixels, or N%)",
     CommandAwait},
    {"sample", "RRGGBB TOL L T R B PERIOD_MS DURATION_MS [UNTIL_MIN]",
     "print 'tick count total' per sample; stop at the first count of at least UNTIL_MIN", CommandSample},
    {"shot", "FILE.bmp", "save the whole screen", CommandShot},
    {"key", "VK [VK...]", "press and release each key (a letter, digit, escape, space, enter or a number)",
     CommandKey},
    {"move", "X Y | by DX DY", "put the pointer at an exact position", CommandMove},
    {"click", "left|right|middle", "press and release a button where the pointer is", CommandClick},
    {"cursor", "", "print the pointer position", CommandCursor},
    {"saver-active", "", "print Windows' screen-saving switch (0 or 1)", CommandSaverActive},
};

void PrintUsage()
{
    std::fprintf(stderr, "usage: spindrel-driver COMMAND ARGS\n");
    for (const TCommand& command : Commands)
        std::fprintf(stderr, "  %s %s\n      %s\n", command.Name, command.Arguments, command.Does);
}

}  // namespace
}  // namespace spindrel::driver

int main(int argc, char** argv)
{
    using namespace spindrel::driver;
    setvbuf(stdout, nullptr, _IONBF, 0);  // a script reading a long sample sees each line at once
    if (argc < 2) {
        PrintUsage();
        return 2;
    }
    for (const TCommand& command : Commands) {
        if (std::strcmp(argv[1], command.Name) != 0)
            continue;
        try {
            return command.Run(TArgs(argv + 2, argv + argc));
        } catch (const EUsage& error) {
            std::fprintf(stderr, "%s: %s\n", command.Name, error.what());
            PrintUsage();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s failed: %s\n", command.Name, error.what());
        }
        return 2;
    }
    std::fprintf(stderr, "unknown command %s\n", argv[1]);
    PrintUsage();
    return 2;
}
