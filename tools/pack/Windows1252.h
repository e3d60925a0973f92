// Texts of the saver's files are single-byte Windows-1252; the tools speak UTF-8.
#pragma once

#include <optional>
#include <string>

namespace spindrel {

// Every byte maps to a character (the five unassigned ones to the C1 controls, as Windows does).
std::string Windows1252ToUtf8(const std::string& Text);
// None when Text is not valid UTF-8 or holds a character Windows-1252 lacks.
std::optional<std::string> Utf8ToWindows1252(const std::string& Text);

}  // namespace spindrel
