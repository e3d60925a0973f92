// Opening, loading, storing and resetting the settings file.
#include "datafiles/UnitSpindrelFile.h"

#include <algorithm>

#include "datafiles/SettingsCodec.h"
#include "platform/files/FileStream.h"
#include "shared/UnitGlobe.h"

namespace spindrel {

TSpindrelFile::TSpindrelFile() { Reset(); }

TSpindrelFile::~TSpindrelFile() { Close(); }

bool TSpindrelFile::Reset()
{
    const std::uint8_t reserved14 = Reserved14;
    const std::string themeName = ThemeName;
    static_cast<TSettingsRecord&>(*this) = TSettingsRecord{};
    Reserved14 = reserved14;
    ThemeName = themeName;
    Slides.Clear();
    Music.Clear();
    return true;
}

bool TSpindrelFile::Open(const std::string& Name, bool ReadWrite)
{
    if (FStream)
        Close();
    FFileName = Name;
    if (!FileExists(Name)) {
        FLastError = "\"" + Name + "\" does not exist";
        return false;
    }
    std::unique_ptr<TStream> file;
    try {
        file = std::make_unique<TFileStream>(Name, ReadWrite ? TFileMode::OpenReadWrite : TFileMode::OpenRead);
        file->SetPosition(0);
    } catch (const EStreamError& error) {
        FLastError = error.what();
        return false;
    }
    return OpenStream(std::move(file), Name);
}

bool TSpindrelFile::OpenStream(std::unique_ptr<TStream> File, const std::string& Name)
{
    if (FStream)
        Close();
    FFileName = Name;
    FStream = std::move(File);
    if (LoadChecked() == TLoadResult::Damaged) {
        FStream.reset();
        FLastError = "\"" + Name + "\": " + FLastError;
        return false;
    }
    FActive = true;
    return true;
}

bool TSpindrelFile::Load() { return LoadChecked() == TLoadResult::Loaded; }

TSpindrelFile::TLoadResult TSpindrelFile::LoadChecked()
{
    FLastError.clear();
    if (!FStream) {
        FLastError = "no file is open";
        return TLoadResult::Damaged;
    }
    const std::uint8_t reserved14 = Reserved14;
    const std::string themeName = ThemeName;
    try {
        const std::int64_t start = FStream->Position();
        const std::vector<std::uint8_t> bytes = FStream->ReadRest();
        TSettingsReader in(bytes);
        Magic = in.Int32("Magic");
        const bool matched = Magic == SettingsMagic;
        if (matched)
            LoadFrom(in);
        FStream->SetPosition(start + static_cast<std::int64_t>(in.Consumed()));
        if (matched)
            return TLoadResult::Loaded;
        FLastError = "not a settings file (wrong magic number)";
        return TLoadResult::WrongMagic;
    } catch (const std::exception& error) {  // ESettingsFormat, EStreamError, or no memory for the file
        FLastError = error.what();
    }
    Reset();
    Reserved14 = reserved14;
    ThemeName = themeName;
    return TLoadResult::Damaged;
}

// Everything after Magic: Version first, since it decides which fields follow.
void TSpindrelFile::LoadFrom(TSettingsReader& In)
{
    const auto fields = SettingsFields();
    In.Field<TSettingsRecord>(*this, fields[1]);
    In.Fields<TSettingsRecord>(*this, fields.subspan(2), Version);
    LoadList(In, Slides, "Slides");
    LoadList(In, Music, "Music");
}

void TSpindrelFile::LoadList(TSettingsReader& In, TItemList& List, const char* Name)
{
    const std::int32_t count = In.Int32(Name);
    for (std::int32_t i = 0; i < count; ++i) {
        TItemRecord item;
        In.Fields<TItemRecord>(item, ItemFields(), Version);
        if (Version < VersionWithExt)
            item.Ext = ExtractFileExt(item.Path);
        // A file on disk that has gone is dropped; every other location is kept.
        if (item.Location != LocationDisk || FileExists(item.Path))
            List.Add() = std::move(item);
    }
}

bool TSpindrelFile::Compose(std::vector<std::uint8_t>& Bytes, std::string& Error) const
{
    TSettingsRecord stored = *this;
    stored.Magic = SettingsMagic;
    stored.Version = SettingsVersion;
    try {
        TSettingsWriter out;
        out.Fields<TSettingsRecord>(stored, SettingsFields());
        for (const TItemList* list : {&Slides, &Music}) {
            out.Int32(list->Count());
            for (std::int32_t i = 0; i < list->Count(); ++i)
                out.Fields<TItemRecord>((*list)[i], ItemFields());
        }
        Bytes = std::move(out.Bytes());
        return true;
    } catch (const ESettingsFormat& error) {
        Error = error.what();
        return false;
    }
}

bool TSpindrelFile::Store() { return WriteOut(false); }

bool TSpindrelFile::Save() { return WriteOut(true); }

bool TSpindrelFile::WriteOut(bool FromStart)
{
    FLastError.clear();
    std::vector<std::uint8_t> bytes;
    if (!FStream) {
        FLastError = "no file is open";
        return false;
    }
    if (!Compose(bytes, FLastError))
        return false;
    Magic = SettingsMagic;
    Version = SettingsVersion;
    try {
        if (FromStart) {
            FStream->SetPosition(0);
            FStream->SetSize(0);
        }
        FStream->Write(bytes.data(), bytes.size());
        if (FromStart)
            FStream->Flush();
    } catch (const EStreamError& error) {
        FLastError = error.what();
        return false;
    }
    return true;
}

bool TSpindrelFile::Close()
{
    if (FStream) {
        FStream.reset();
        FFileName.clear();
        FActive = false;
    }
    Reset();
    return true;
}

std::int32_t TSpindrelFile::GetTransitionStyles(std::int32_t (&Styles)[TTransitionStyles::Capacity]) const
{
    const std::int32_t count = std::clamp(TransitionStyles.Count, 0, TTransitionStyles::Capacity);
    std::copy_n(TransitionStyles.Items.begin(), count, Styles);
    return count;
}

void TSpindrelFile::SetCaptionFont(const TFontRecord& Font)
{
    CaptionFont = Font;
    Changed();
}

}  // namespace spindrel
