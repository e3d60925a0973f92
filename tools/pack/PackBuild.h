// spindrel-pack build: a manifest in, a settings file and a media archive out.
#pragma once

#include <string>

namespace spindrel {

// Writes OutDir/<name>.ssp and OutDir/<name>.mda. Throws std::runtime_error with a
// message naming the file and the fault; nothing is left in OutDir then.
void BuildPackage(const std::string& ManifestPath, const std::string& OutDir);

}  // namespace spindrel
