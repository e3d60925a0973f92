// The media archive: a plain concatenation of member files, read by position and size.
#include "datafiles/MediaArchive.h"

#include <algorithm>
#include <cctype>

#include "datafiles/UnitSpindrelFile.h"
#include "platform/files/FileStream.h"

namespace spindrel {

TMediaSource SourceOf(std::int32_t Location)
{
    if (Location >= 0)
        return TMediaSource::Archive;
    switch (Location) {
    case LocationDisk: return TMediaSource::Disk;
    case LocationProgramDir: return TMediaSource::ProgramDir;
    case LocationWeb: return TMediaSource::Web;
    default: return TMediaSource::Unknown;
    }
}

namespace {

// Windows opens these as devices whatever extension follows them.
bool IsDeviceName(const std::string& Name)
{
    std::string stem = Name.substr(0, Name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::toupper(c); });
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    if (std::find(std::begin(devices), std::end(devices), stem) != std::end(devices))
        return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' &&
           stem[3] <= '9';
}

}  // namespace

bool IsBareFileName(const std::string& Name)
{
    if (Name.empty() || Name.find_first_not_of(". ") == std::string::npos)
        return false;
    const bool badCharacter = std::any_of(Name.begin(), Name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
    return !badCharacter && !IsDeviceName(Name);
}

std::optional<std::string> TempMemberPath(const std::string& TempDir, const std::string& Name)
{
    if (!IsBareFileName(Name))
        return std::nullopt;
    return TempDir + "\\" + Name;
}

std::string ProgramDirPath(const std::string& ExeDir, const std::string& Path) { return ExeDir + "\\" + Path; }

namespace {

// Copies up to Size bytes from Position; false when the member could not be read whole.
bool CopyMember(TStream& Archive, TStream& Target, std::int64_t Position, std::int32_t Size)
{
    if (Size <= 0)
        return true;  // an empty member
    if (Position < 0 || Position > Archive.Size())
        return false;
    Archive.SetPosition(Position);
    std::uint8_t chunk[65536];
    std::int64_t left = Size;
    while (left > 0) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(left, sizeof chunk));
        const std::size_t got = Archive.Read(chunk, want);
        Target.Write(chunk, got);
        if (got < want)
            return false;
        left -= static_cast<std::int64_t>(got);
    }
    return true;
}

}  // namespace

std::string TSpindrelFile::ExtractMember(const std::string& ArchivePath, const std::string& TargetPath,
                                         std::int64_t Position, std::int32_t Size)
{
    TFileStream archive(ArchivePath, TFileMode::OpenRead);
    if (FileExists(TargetPath) && !RemoveFile(TargetPath))
        throw EStreamError("cannot delete \"" + TargetPath + "\"");
    TFileStream target(TargetPath, TFileMode::Create);
    try {
        return CopyMember(archive, target, Position, Size) ? TargetPath : std::string();
    } catch (const EStreamError&) {
        return {};
    }
}

bool TSpindrelFile::ReadMember(const std::string& ArchivePath, TMemoryStream& Target, std::int64_t Position,
                               std::int32_t Size)
{
    TFileStream archive(ArchivePath, TFileMode::OpenRead);
    Target.Clear();
    if (Size > 0 && Position >= 0 && Position < archive.Size())
        Target.Reserve(static_cast<std::size_t>(std::min<std::int64_t>(Size, archive.Size() - Position)));
    try {
        return CopyMember(archive, Target, Position, Size);
    } catch (const EStreamError&) {
        return false;
    }
}

}  // namespace spindrel
