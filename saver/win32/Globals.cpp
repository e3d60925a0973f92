#include "saver/win32/Globals.h"

namespace spindrel::saver {

TRunMode RunMode = TRunMode::Ignore;
std::unique_ptr<TMulitFile> Settings;
bool FlashAvailable = false;
bool RealAvailable = false;
bool MediaPlayerAvailable = false;
std::string TempDir;
std::string ArchiveName;
std::string ExeDir;
HWND PreviewParent = nullptr;
std::int32_t StyleIndex = 0;

}  // namespace spindrel::saver
