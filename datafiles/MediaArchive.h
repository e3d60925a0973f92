// Where a medium lives (archive member, disk, program directory, web), and the
// temporary names that archive members are extracted under.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace spindrel {

enum class TMediaSource { Archive, Disk, ProgramDir, Web, Unknown };

// What an item's Location (or a picture's offset field) says about its Path.
TMediaSource SourceOf(std::int32_t Location);

// True when Name is a plain file name that stays inside the folder it is joined
// to: not empty, no path separator, no drive or stream colon, not made of dots and
// spaces only (Windows trims those to "." or ".."), no device name, no control
// or wildcard characters.
bool IsBareFileName(const std::string& Name);

// "TempDir\Name" for a member extracted to the temporary directory; none when
// Name is not a bare file name, and the member then counts as not extracted.
std::optional<std::string> TempMemberPath(const std::string& TempDir, const std::string& Name);

// The preview member is extracted under this fixed name, appended to TempDir.
inline constexpr const char* PreviewTempName = "\\~static.jpg";

// "ExeDir\Path" for an item whose Path names a file in the program's directory.
std::string ProgramDirPath(const std::string& ExeDir, const std::string& Path);

}  // namespace spindrel
