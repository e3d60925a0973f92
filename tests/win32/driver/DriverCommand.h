// What every command of the test driver shares: its arguments, the parse helpers
// that reject bad ones, the polling clock, and the command functions themselves.
#pragma once

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace spindrel::driver {

using TArgs = std::vector<std::string>;

// A bad command line; main prints the message and the usage.
struct EUsage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int ParseInt(const std::string& Text, const char* What);
COLORREF ParseColour(const std::string& Text);  // RRGGBB, as the script writes colours
RECT ParseRect(const TArgs& Args, size_t First);  // four numbers: left top right bottom

// Calls Done every 10 ms until it is true or TimeoutMs have passed; true when it was.
bool PollUntil(DWORD TimeoutMs, const std::function<bool()>& Done);

// Each command returns the process exit code: 0 done or condition met, 1 not met in time.
int CommandWindows(const TArgs& Args);
int CommandWindow(const TArgs& Args);
int CommandGone(const TArgs& Args);
int CommandRun(const TArgs& Args);
int CommandPixel(const TArgs& Args);
int CommandCount(const TArgs& Args);
int CommandAwait(const TArgs& Args);
int CommandSample(const TArgs& Args);
int CommandShot(const TArgs& Args);
int CommandKey(const TArgs& Args);
int CommandMove(const TArgs& Args);
int CommandClick(const TArgs& Args);
int CommandCursor(const TArgs& Args);
int CommandSaverActive(const TArgs& Args);

}  // namespace spindrel::driver
