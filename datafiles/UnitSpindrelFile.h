// The settings file object: reads and writes a saver's ".ssp" file, holds its
// values and its slide and music lists, and takes members out of the media archive.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "datafiles/TItemList.h"
#include "datafiles/TSettingsRecord.h"
#include "platform/files/Stream.h"

namespace spindrel {

class TSettingsReader;

// The stored values are the public fields of TSettingsRecord; the options dialog
// changes its twenty through the setters, which raise OnChange.
class TSpindrelFile : public TSettingsRecord {
public:
    TSpindrelFile();  // Create: no file, reset values, empty lists
    virtual ~TSpindrelFile();
    TSpindrelFile(const TSpindrelFile&) = delete;
    TSpindrelFile& operator=(const TSpindrelFile&) = delete;

    // Reads everything from Stream's position. False for a wrong magic number (the
    // rest keeps its reset values) and for a damaged file (then reset, lists empty,
    // LastError says why).
    virtual bool Load();
    // Writes everything at Stream's position as version 0x10005. False, with nothing
    // written, when a value cannot be stored (a text over 255 bytes) or the write fails.
    virtual bool Store();
    virtual bool Reset();
    // Opens the file shared with all readers and writers, read-write when asked, and
    // loads it. True when it was opened and is not damaged, even if its magic number
    // was wrong (compare Magic with SettingsMagic to tell).
    virtual bool Open(const std::string& Name, bool ReadWrite);
    // Open for a stream the caller has opened already (tools, tests, fuzzing).
    bool OpenStream(std::unique_ptr<TStream> File, const std::string& Name);
    // Rewrites the open file from its start; the whole file is composed first, so a
    // refused value leaves it untouched. False when no file is open or it failed.
    bool Save();
    bool Close();
    // The whole file as Store writes it; false, with Error set, when a value cannot be stored.
    bool Compose(std::vector<std::uint8_t>& Bytes, std::string& Error) const;

    // Copies the style list into Styles and returns how many there are.
    std::int32_t GetTransitionStyles(std::int32_t (&Styles)[TTransitionStyles::Capacity]) const;

    // Media archive members (position and size as stored). Opening the archive and
    // creating the target throw EStreamError to the caller; a member that cannot be
    // read whole gives an empty result (the bytes that exist are copied).
    static std::string ExtractMember(const std::string& ArchivePath, const std::string& TargetPath,
                                     std::int64_t Position, std::int32_t Size);
    static bool ReadMember(const std::string& ArchivePath, TMemoryStream& Target, std::int64_t Position,
                           std::int32_t Size);

    void SetDisableMouse(bool Value) { SetFlag(DisableMouse, Value); }
    void SetDisableKeyPress(bool Value) { SetFlag(DisableKeyPress, Value); }
    void SetCaptionLocation(std::uint8_t Value) { SetValue(CaptionLocation, Value); }
    void SetCaptionFont(const TFontRecord& Font);
    void SetMediaPlayOrder(std::uint8_t Value) { SetValue(MediaPlayOrder, Value); }
    void SetImageInterval(std::int32_t Value) { SetValue(ImageInterval, Value); }
    void SetImageEnlargeFit(bool Value) { SetFlag(ImageEnlargeFit, Value); }
    void SetImageTile(bool Value) { SetFlag(ImageTile, Value); }
    void SetImageRandomPosition(bool Value) { SetFlag(ImageRandomPosition, Value); }
    void SetMovieDisplaySize(std::uint8_t Value) { SetValue(MovieDisplaySize, Value); }
    void SetMovieRandomPosition(bool Value) { SetFlag(MovieRandomPosition, Value); }
    void SetMovieMute(bool Value) { SetFlag(MovieMute, Value); }
    void SetFlashDisplaySize(std::uint8_t Value) { SetValue(FlashDisplaySize, Value); }
    void SetFlashRandomPosition(bool Value) { SetFlag(FlashRandomPosition, Value); }
    void SetAutoFlip(bool Value) { SetFlag(AutoFlip, Value); }
    void SetFlashAllowMouse(bool Value) { SetFlag(FlashAllowMouse, Value); }
    void SetMusicPlayOrder(std::uint8_t Value) { SetValue(MusicPlayOrder, Value); }
    void SetMusicInterval(std::int32_t Value) { SetValue(MusicInterval, Value); }
    void SetMusicRandomOne(bool Value) { SetFlag(MusicRandomOne, Value); }
    void SetMusicMute(bool Value) { SetFlag(MusicMute, Value); }

    bool Active() const { return FActive; }
    const std::string& FileName() const { return FFileName; }
    TStream* Stream() const { return FStream.get(); }
    // Why the last Open, Load, Store or Save failed; empty after a success.
    const std::string& LastError() const { return FLastError; }

    TItemList Slides;
    TItemList Music;
    std::function<void(TSpindrelFile& Sender)> OnChange;

private:
    enum class TLoadResult { Loaded, WrongMagic, Damaged };
    TLoadResult LoadChecked();
    void LoadFrom(TSettingsReader& In);
    void LoadList(TSettingsReader& In, TItemList& List, const char* Name);
    bool WriteOut(bool FromStart);

    template <class T>
    void SetValue(T& Field, T Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        Changed();
    }
    // A flag keeps its stored byte while its truth does not change.
    void SetFlag(std::uint8_t& Field, bool Value)
    {
        if ((Field != 0) != Value)
            SetValue<std::uint8_t>(Field, Value ? 1 : 0);
    }
    void Changed()
    {
        if (OnChange)
            OnChange(*this);
    }

    bool FActive = false;
    std::string FFileName;
    std::unique_ptr<TStream> FStream;
    std::string FLastError;
};

// The saver's one settings object; adds nothing.
class TMulitFile : public TSpindrelFile {};

}  // namespace spindrel
