// spindrel-render: headless frames, contact sheets and animations of the
// transitions, decoded pictures and painted backgrounds. Errors are one line on
// stderr and exit code 1.
#include <iostream>
#include <stdexcept>

#include "tools/render/Commands.h"

namespace spindrel::render {

namespace {
std::vector<TCommand>& Registry()
{
    static std::vector<TCommand> commands;
    return commands;
}
}  // namespace

bool RegisterCommand(const TCommand& Command)
{
    Registry().push_back(Command);
    return true;
}

const std::vector<TCommand>& Commands() { return Registry(); }

}  // namespace spindrel::render

int main(int argc, char** argv)
{
    using namespace spindrel::render;
    const std::string name = argc > 1 ? argv[1] : "";
    for (const TCommand& command : Commands()) {
        if (name != command.Name)
            continue;
        try {
            return command.Run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const std::exception& error) {
            std::cerr << "spindrel-render: " << error.what() << "\n";
            return 1;
        }
    }
    std::cerr << "usage:\n";
    for (const TCommand& command : Commands())
        std::cerr << "  spindrel-render " << command.Name << " " << command.Usage << "\n";
    return 1;
}
