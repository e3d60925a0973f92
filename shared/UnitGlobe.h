// Small helpers compiled into both programs: Windows' rounding MulDiv, the
// fit-in-a-box rectangle, and the rules that derive directory and file names.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/FileStream.h"  // FileExists
#include "platform/graphics/Rect.h"

namespace spindrel {

// a * b / c through a 64-bit intermediate, rounded to the nearest integer with
// halves away from zero, as the Windows function: -1 for a zero divisor or a
// result outside -2147483647..2147483647. (Plain C++ '/' is the truncating div.)
int MulDiv(int a, int b, int c);

// The w x h shape scaled up or down to the largest size that fits a W x H box,
// centred in it (the halves of the spare room truncate toward zero).
TRect FitRect(int w, int h, int W, int H);

// Removes one trailing backslash, if there is one ("C:\TEMP\" gives "C:\TEMP").
std::string ExcludeTrailingBackslash(const std::string& Path);

// The temporary folder and the system folder (the install target), without a trailing backslash.
std::string GetTempDir();
std::string GetSysDir();

// The program's directory: its path up to the last backslash or colon, less a
// final backslash unless a colon or backslash stands before it
// ("C:\WINDOWS\SYSTEM\X.SCR" gives "C:\WINDOWS\SYSTEM", "C:\X.SCR" gives "C:\").
std::string ExeDirOf(const std::string& ProgramPath);

// The extension of the last path segment with its dot, empty when it has none.
// Segments end at '\', '/' or ':', so web addresses split like paths.
std::string ExtractFileExt(const std::string& Path);

// Path with the extension of its last segment replaced (or, without one, appended).
std::string ChangeFileExt(const std::string& Path, const std::string& Extension);

// The media archive beside a settings file: the first ".ssp" (exact case) becomes ".mda".
std::string ArchiveNameOf(const std::string& SettingsFileName);

}  // namespace spindrel
