// Fuzzes the settings reader: any bytes either load or fail with a reason, and a
// file that loads composes to bytes that load again to the same file.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "datafiles/UnitSpindrelFile.h"

using namespace spindrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TSpindrelFile settings;
    const bool opened = settings.OpenStream(std::make_unique<TMemoryStream>(std::vector<std::uint8_t>(Data, Data + Size)),
                                            "fuzz.ssp");
    if (!opened) {
        if (settings.LastError().empty() || settings.Slides.Count() != 0 || settings.Music.Count() != 0)
            std::abort();  // a failure must say why and leave no items behind
        return 0;
    }
    std::vector<std::uint8_t> first, second;
    std::string error;
    if (!settings.Compose(first, error))
        return 0;  // only texts cut at a zero byte can shrink; nothing grows past 255
    TSpindrelFile again;
    if (!again.OpenStream(std::make_unique<TMemoryStream>(first), "again.ssp") || !again.Compose(second, error) ||
        first != second)
        std::abort();
    return 0;
}
