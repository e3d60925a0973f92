// The command-line letters of the saver program and the names derived from its path.
#include "saver/RunMode.h"

#include <charconv>

#include "shared/UnitGlobe.h"

namespace spindrel {

namespace {

struct TLetterChoice {
    char Letter;
    TStartChoice Choice;
};

// Tried in this order, so of two letters in one argument the earlier row wins (SC configures).
constexpr TLetterChoice LetterChoices[] = {
    {'C', {TRunMode::Configure, false}},
    {'S', {TRunMode::Show, false}},
    {'P', {TRunMode::Preview, false}},
    {'V', {TRunMode::View, false}},
    {'Z', {TRunMode::Show, false}},
    {'U', {TRunMode::Configure, true}},
};

// Only ASCII letters change case, as the ANSI upper-casing of the command line does.
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

TStartChoice ChooseRunMode(const std::vector<std::string>& Arguments)
{
    if (Arguments.empty())
        return {TRunMode::Configure, false};
    const std::string& first = Arguments.front();
    const char one = first.size() >= 1 ? UpperAscii(first[0]) : '\0';
    const char two = first.size() >= 2 ? UpperAscii(first[1]) : '\0';
    for (const TLetterChoice& row : LetterChoices)
        if (one == row.Letter || two == row.Letter)
            return row.Choice;
    return {TRunMode::Ignore, false};
}

std::string SettingsFileNameOf(const std::string& ProgramPath) { return ChangeFileExt(ProgramPath, ".ssp"); }

std::optional<std::uintptr_t> ParseWindowHandle(const std::string& Text)
{
    // from_chars on an unsigned type takes digits only: no sign, no spaces, no "0x".
    std::uintptr_t handle = 0;
    const char* end = Text.data() + Text.size();
    const auto [stop, error] = std::from_chars(Text.data(), end, handle, 10);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return handle;
}

}  // namespace spindrel
