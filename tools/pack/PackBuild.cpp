// The manifest names settings fields by their field names; "Slides" and "Music"
// list items, each either a "Source" file packed into the archive or an item that
// points elsewhere (Location -1, -2 or -5). "BackgroundSource", "BannerSource" and
// "PreviewSource" pack those pictures. Members follow each other in that order:
// slides, music, background, banner, preview.
#include "tools/pack/PackBuild.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "datafiles/MediaArchive.h"
#include "datafiles/UnitSpindrelFile.h"
#include "shared/UnitGlobe.h"
#include "tools/pack/SettingsJson.h"

namespace spindrel {

namespace fs = std::filesystem;

namespace {

struct TMember {
    fs::path Source;
    std::int64_t Position = 0;
    std::int64_t Size = 0;
};

// The archive under construction: members are laid end to end.
class TArchiveLayout {
public:
    explicit TArchiveLayout(fs::path Base) : FBase(std::move(Base)) {}

    TMember& Add(const std::string& Where, const std::string& Source)
    {
        TMember member{FBase / fs::u8path(Source), FEnd, 0};
        std::error_code error;
        const auto size = fs::file_size(member.Source, error);
        if (error)
            throw EManifestError(Where + ": cannot read \"" + member.Source.string() + "\": " + error.message());
        member.Size = static_cast<std::int64_t>(size);
        if (FEnd + member.Size > INT32_MAX)
            throw EManifestError(Where + ": the media archive would pass 2 GiB, the most a position can address");
        FEnd += member.Size;
        FMembers.push_back(member);
        return FMembers.back();
    }
    const std::vector<TMember>& Members() const { return FMembers; }

private:
    fs::path FBase;
    std::int64_t FEnd = 0;
    std::vector<TMember> FMembers;
};

bool StartsLikeJpeg(const fs::path& File)
{
    std::ifstream in(File, std::ios::binary);
    unsigned char head[3] = {};
    in.read(reinterpret_cast<char*>(head), 3);
    return in.gcount() == 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

// The kind of a packed file by its extension, for items that do not say.
std::uint8_t KindByExtension(const std::string& Source)
{
    std::string ext = fs::u8path(Source).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::pair<const char*, std::uint8_t> kinds[] = {
        {".bmp", KindPicture}, {".jpg", KindPicture}, {".jpeg", KindPicture}, {".gif", KindPicture},
        {".tif", KindPicture}, {".tiff", KindPicture}, {".psd", KindPicture}, {".png", KindPicture},
        {".swf", KindFlash},   {".mpg", KindVideo},   {".mpeg", KindVideo},   {".wmv", KindVideo},
        {".avi", KindVideo},   {".asf", KindVideo},   {".mov", KindVideo},    {".rm", KindRealMedia},
        {".ram", KindRealMedia}, {".mp3", KindAudio}, {".wav", KindAudio},    {".mid", KindAudio},
        {".wma", KindAudio},
    };
    for (const auto& [extension, kind] : kinds)
        if (ext == extension)
            return kind;
    return 0;
}

void ReadItem(const TJson& Entry, const std::string& Where, bool IsSlide, TItemList& List, TArchiveLayout& Archive)
{
    if (!Entry.is_object())
        throw EManifestError(Where + ": expected an object");
    TItemRecord item;
    bool hasLocation = false;
    for (const auto& [key, value] : Entry.items()) {
        if (key == "Source")
            continue;
        if (!SetItemField(item, key, value))
            throw EManifestError(Where + "." + key + ": is not an item field");
        hasLocation |= key == "Location";
    }
    if (Entry.contains("Source")) {
        if (!Entry["Source"].is_string())
            throw EManifestError(Where + ".Source: expected a file name");
        const std::string source = Entry["Source"].get<std::string>();
        if (!Entry.contains("Kind"))
            item.Kind = IsSlide ? KindByExtension(source) : std::uint8_t{KindAudio};
        if (item.Kind == 0)
            throw EManifestError(Where + ": give its Kind; the extension of \"" + source + "\" does not tell");
        const TMember& member = Archive.Add(Where, source);
        if (IsSlide && item.Kind == KindPicture && !StartsLikeJpeg(member.Source))
            throw EManifestError(Where + ": \"" + member.Source.string() +
                                 "\" is not a JPEG file; slide pictures in the archive must be JPEG");
        if (hasLocation)
            throw EManifestError(Where + ": a packed item gets its Location from the archive");
        item.Location = static_cast<std::int32_t>(member.Position);
        item.Size = static_cast<std::int32_t>(member.Size);
        if (!Entry.contains("Path"))
            item.Path = fs::u8path(source).filename().string();
        if (!Entry.contains("Ext"))
            item.Ext = ExtractFileExt(item.Path);
        if (!IsBareFileName(item.Path))
            throw EManifestError(Where + ".Path: \"" + item.Path + "\" must be a bare file name for an archive member");
    } else {
        if (!hasLocation || item.Location >= 0)
            throw EManifestError(Where + ": without a Source, give Location -1 (disk), -2 (program folder) or -5 (web)");
        if (!Entry.contains("Ext"))
            item.Ext = ExtractFileExt(item.Path);
    }
    List.Add() = item;
}

void ReadList(const TJson& Manifest, const char* Name, TItemList& List, TArchiveLayout& Archive)
{
    if (!Manifest.contains(Name))
        return;
    const TJson& entries = Manifest[Name];
    if (!entries.is_array())
        throw EManifestError(std::string(Name) + ": expected a list of items");
    for (std::size_t i = 0; i < entries.size(); ++i)
        ReadItem(entries[i], std::string(Name) + "[" + std::to_string(i) + "]", std::string(Name) == "Slides",
                 List, Archive);
}

// A packed single picture: its file name field, position field and size field.
struct TPictureMember {
    const char* Key;
    std::string TSettingsRecord::*File;
    std::int32_t TSettingsRecord::*Offset;
    std::int32_t TSettingsRecord::*Size;
};

const TPictureMember PictureMembers[] = {
    {"BackgroundSource", &TSettingsRecord::BackgroundFile, &TSettingsRecord::BackgroundOffset,
     &TSettingsRecord::BackgroundSize},
    {"BannerSource", &TSettingsRecord::BannerFile, &TSettingsRecord::BannerOffset, &TSettingsRecord::BannerSize},
    {"PreviewSource", &TSettingsRecord::PreviewFile, &TSettingsRecord::PreviewOffset, &TSettingsRecord::PreviewSize},
};

void ReadManifest(const TJson& Manifest, TSpindrelFile& Settings, TArchiveLayout& Archive)
{
    if (!Manifest.is_object())
        throw EManifestError("expected an object of settings fields");
    for (const auto& [key, value] : Manifest.items()) {
        const bool extra = key == "Name" || key == "Slides" || key == "Music" ||
                           std::any_of(std::begin(PictureMembers), std::end(PictureMembers),
                                       [&](const TPictureMember& p) { return key == p.Key; });
        if (key == "Magic" || key == "Version")
            throw EManifestError(key + ": is written by the file format itself");
        if (!extra && !SetSettingsField(Settings, key, value))
            throw EManifestError(key + ": is not a settings field");
    }
    ReadList(Manifest, "Slides", Settings.Slides, Archive);
    ReadList(Manifest, "Music", Settings.Music, Archive);
    for (const TPictureMember& picture : PictureMembers) {
        if (!Manifest.contains(picture.Key))
            continue;
        if (!Manifest[picture.Key].is_string())
            throw EManifestError(std::string(picture.Key) + ": expected a file name");
        const std::string source = Manifest[picture.Key].get<std::string>();
        const TMember& member = Archive.Add(picture.Key, source);
        Settings.*picture.File = fs::u8path(source).filename().string();
        Settings.*picture.Offset = static_cast<std::int32_t>(member.Position);
        Settings.*picture.Size = static_cast<std::int32_t>(member.Size);
        if (!IsBareFileName(Settings.*picture.File))
            throw EManifestError(std::string(picture.Key) + ": \"" + Settings.*picture.File +
                                 "\" must be a bare file name for an archive member");
    }
}

std::string PackageName(const TJson& Manifest, const fs::path& ManifestPath)
{
    if (!Manifest.is_object() || !Manifest.contains("Name"))
        return ManifestPath.stem().string();
    const TJson& name = Manifest["Name"];
    if (!name.is_string() || !IsBareFileName(name.get<std::string>()))
        throw EManifestError("Name: expected a bare file name for the package");
    return name.get<std::string>();
}

void WriteArchive(const fs::path& Target, const std::vector<TMember>& Members)
{
    std::ofstream out(Target, std::ios::binary | std::ios::trunc);
    for (const TMember& member : Members) {
        std::ifstream in(member.Source, std::ios::binary);
        if (member.Size > 0)
            out << in.rdbuf();  // inserting nothing would set failbit
        if (!in.is_open() || static_cast<std::int64_t>(out.tellp()) != member.Position + member.Size)
            throw std::runtime_error("\"" + member.Source.string() + "\" changed while it was packed");
    }
    out.flush();
    if (!out)
        throw std::runtime_error("cannot write \"" + Target.string() + "\"");
}

void WriteFile(const fs::path& Target, const std::vector<std::uint8_t>& Bytes)
{
    std::ofstream out(Target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    out.flush();
    if (!out)
        throw std::runtime_error("cannot write \"" + Target.string() + "\"");
}

}  // namespace

void BuildPackage(const std::string& ManifestPath, const std::string& OutDir)
{
    const fs::path manifestPath = fs::u8path(ManifestPath);
    TJson manifest;
    {
        std::ifstream in(manifestPath, std::ios::binary);
        if (!in)
            throw std::runtime_error(ManifestPath + ": cannot open the manifest");
        try {
            manifest = TJson::parse(in);
        } catch (const TJson::exception& error) {
            throw std::runtime_error(ManifestPath + ": not valid JSON: " + error.what());
        }
    }
    TSpindrelFile settings;
    TArchiveLayout archive(manifestPath.parent_path());
    std::string name;
    std::vector<std::uint8_t> bytes;
    try {
        name = PackageName(manifest, manifestPath);
        ReadManifest(manifest, settings, archive);
        std::string error;
        if (!settings.Compose(bytes, error))
            throw EManifestError(error);
    } catch (const EManifestError& error) {
        throw std::runtime_error(ManifestPath + ": " + error.what());
    }

    // Both files are written under temporary names and renamed only once both are whole.
    const fs::path dir = fs::u8path(OutDir);
    const fs::path ssp = dir / (name + ".ssp"), mda = dir / (name + ".mda");
    const fs::path sspPart = dir / (name + ".ssp.part"), mdaPart = dir / (name + ".mda.part");
    try {
        fs::create_directories(dir);
        WriteArchive(mdaPart, archive.Members());
        WriteFile(sspPart, bytes);
        fs::rename(mdaPart, mda);
        fs::rename(sspPart, ssp);
    } catch (const std::exception& error) {
        std::error_code ignored;
        fs::remove(mdaPart, ignored);
        fs::remove(sspPart, ignored);
        throw std::runtime_error(OutDir + ": " + error.what());
    }
}

}  // namespace spindrel
