// The saver program's process-wide values: set by the entry point before any
// window exists, read by the windows of every run mode.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "datafiles/UnitSpindrelFile.h"
#include "saver/RunMode.h"

namespace spindrel::saver {

extern TRunMode RunMode;
extern std::unique_ptr<TMulitFile> Settings;  // open for the whole run; none in uninstall mode
extern bool FlashAvailable;
extern bool RealAvailable;
extern bool MediaPlayerAvailable;
extern std::string TempDir;      // no trailing backslash
extern std::string ArchiveName;  // the settings file's name with ".mda" for ".ssp"
extern std::string ExeDir;       // no trailing backslash, except a drive's root
extern HWND PreviewParent;

// The show's next position in the transition style list; it runs on in a circle
// independently of the slides.
extern std::int32_t StyleIndex;

}  // namespace spindrel::saver
