// Windows' arithmetic and name rules, kept free of the platform so both builds share them.
#include "shared/UnitGlobe.h"

#include <cstdlib>

namespace spindrel {

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    // Rounding by half the divisor toward the sign of the result, then truncating.
    const std::int64_t half = divisor / 2;
    const std::int64_t quotient = (product >= 0 ? product + half : product - half) / divisor;
    if (quotient > 2147483647 || quotient < -2147483647)
        return -1;
    return static_cast<int>(quotient);
}

TRect FitRect(int w, int h, int W, int H)
{
    int fw = w;
    int fh = h;
    if (w != W) {
        fw = W;
        fh = MulDiv(h, W, w);
    }
    if (fh > H) {
        fw = MulDiv(fw, H, fh);
        fh = H;
    }
    const int left = (W - fw) / 2;
    const int top = (H - fh) / 2;
    return {left, top, left + fw, top + fh};
}

std::string ExcludeTrailingBackslash(const std::string& Path)
{
    if (!Path.empty() && Path.back() == '\\')
        return Path.substr(0, Path.size() - 1);
    return Path;
}

std::string GetTempDir() { return ExcludeTrailingBackslash(PlatformTempPath()); }

std::string GetSysDir() { return ExcludeTrailingBackslash(PlatformSystemDirectory()); }

std::string ExeDirOf(const std::string& ProgramPath)
{
    const std::size_t last = ProgramPath.find_last_of("\\:");
    std::string dir = last == std::string::npos ? std::string() : ProgramPath.substr(0, last + 1);
    const std::size_t n = dir.size();
    if (n >= 1 && dir[n - 1] == '\\' && !(n >= 2 && (dir[n - 2] == ':' || dir[n - 2] == '\\')))
        dir.pop_back();
    return dir;
}

namespace {

// Index of the dot that starts the last segment's extension, or npos.
std::size_t ExtensionDot(const std::string& Path)
{
    const std::size_t at = Path.find_last_of(".\\/:");
    return at != std::string::npos && Path[at] == '.' ? at : std::string::npos;
}

}  // namespace

std::string ExtractFileExt(const std::string& Path)
{
    const std::size_t dot = ExtensionDot(Path);
    return dot == std::string::npos ? std::string() : Path.substr(dot);
}

std::string ChangeFileExt(const std::string& Path, const std::string& Extension)
{
    return Path.substr(0, ExtensionDot(Path)) + Extension;
}

std::string ArchiveNameOf(const std::string& SettingsFileName)
{
    std::string name = SettingsFileName;
    const std::size_t at = name.find(".ssp");
    if (at != std::string::npos)
        name.replace(at, 4, ".mda");
    return name;
}

}  // namespace spindrel
