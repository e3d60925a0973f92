// What the saver program was started for, from its command line, and the file
// names it derives from its own path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace spindrel {

enum class TRunMode { Show, Configure, Preview, Ignore, View };

struct TStartChoice {
    TRunMode Mode = TRunMode::Configure;
    bool Uninstall = false;  // U: uninstall mode; Mode is then not used
    friend bool operator==(const TStartChoice&, const TStartChoice&) = default;
};

// Looks at the first two characters of the first argument, upper-cased, for the
// letters C, S, P, V, Z, U in that order; a letter matches as the first or the
// second character. No argument configures; anything else is ignored. Arguments
// are those after the program's name.
TStartChoice ChooseRunMode(const std::vector<std::string>& Arguments);

// The settings file beside the program: its extension replaced by ".ssp".
std::string SettingsFileNameOf(const std::string& ProgramPath);

// A window handle given in decimal after the preview letter; none when the text
// is not a whole decimal number that fits a handle (digits only: no sign, no spaces).
std::optional<std::uintptr_t> ParseWindowHandle(const std::string& Text);

}  // namespace spindrel
