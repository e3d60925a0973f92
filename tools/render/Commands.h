// spindrel-render's commands. Each command file registers itself, so the tool's
// main needs no list of them.
#pragma once

#include <string>
#include <vector>

namespace spindrel::render {

struct TCommand {
    const char* Name;
    const char* Usage;  // the arguments after the command name
    // Returns the exit code; throws std::runtime_error with a one-line message on failure.
    int (*Run)(const std::vector<std::string>& Arguments);
};

// Adds a command; returns true, so a file can register at start-up:
//     const bool registered = RegisterCommand({"frame", "...", &RunFrame});
bool RegisterCommand(const TCommand& Command);
const std::vector<TCommand>& Commands();

}  // namespace spindrel::render
