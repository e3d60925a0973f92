// Every value a settings file stores, in file order, with the value Reset gives it,
// and the table that names each field with its encoding and the version that added it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "datafiles/TItemList.h"

namespace spindrel {

constexpr std::int32_t SettingsMagic = static_cast<std::int32_t>(0xFFEEFFEEu);
constexpr std::uint32_t SettingsVersion = 0x10005;  // the version every file is written as
constexpr std::uint32_t VersionWithExt = 0x10001;   // items gain Ext, the file Reserved14
constexpr std::uint32_t VersionWithTheme = 0x10005;

// Font style bits; the others are dropped on reading.
enum : std::uint8_t { FontBold = 1, FontItalic = 2, FontUnderline = 4, FontStrikeOut = 8, FontStyleMask = 15 };

constexpr std::int32_t clWindowText = static_cast<std::int32_t>(0x80000008u);  // a system colour constant
constexpr std::uint8_t DefaultCharset = 1;  // the platform's DEFAULT_CHARSET

// The caption font: what a new font object of the platform holds by default.
struct TFontRecord {
    std::string Name = "MS Sans Serif";
    std::int32_t Color = clWindowText;  // 0x00BBGGRR or a system colour constant
    std::uint8_t Charset = DefaultCharset;
    std::int32_t Size = 8;  // points
    std::uint8_t Style = 0;  // FontBold | FontItalic | ...
    friend bool operator==(const TFontRecord&, const TFontRecord&) = default;
};

struct TTransitionStyles {
    static constexpr int Capacity = 256;
    std::int32_t Count = 0;  // as stored; 0 or less means none
    std::array<std::int32_t, Capacity> Items{};
    friend bool operator==(const TTransitionStyles&, const TTransitionStyles&) = default;
};

// Flags and bytes hold the stored byte as it was (a flag stored as 2 stays 2).
struct TSettingsRecord {
    std::int32_t Magic = SettingsMagic;
    std::uint32_t Version = SettingsVersion;
    std::string Title, AuthorName, Copyright, WebSite, EMail;
    std::uint8_t DisableMouse = 0;
    std::uint8_t DisableKeyPress = 0;
    std::uint8_t CaptionLocation = 0;  // 0 none, 1..3 top left/middle/right, 4..6 bottom
    TFontRecord CaptionFont;
    std::uint8_t MediaPlayOrder = 0;  // 0 repeat, 1 random
    std::int32_t ImageInterval = 15;  // seconds
    std::uint8_t ImageEnlargeFit = 0;
    std::uint8_t ImageTile = 0;
    std::uint8_t ImageRandomPosition = 0;
    std::uint8_t MovieDisplaySize = 0;
    std::uint8_t MovieRandomPosition = 0;
    std::uint8_t MovieMute = 0;
    std::uint8_t FlashDisplaySize = 0;
    std::uint8_t FlashRandomPosition = 0;
    std::uint8_t AutoFlip = 0;
    std::uint8_t FlashAllowMouse = 0;
    std::uint8_t MusicPlayOrder = 0;
    std::int32_t MusicInterval = 5;  // seconds of silence between tracks
    std::uint8_t MusicRandomOne = 0;
    std::uint8_t MusicMute = 0;
    std::uint8_t BackgroundFillKind = 0;  // 0 solid, 1 gradient, 2 picture
    std::int32_t BackgroundSolidColor = 0;
    std::uint8_t Reserved1 = 0;
    std::int32_t BackgroundStartColor = 0xFFFFFF;
    std::int32_t BackgroundEndColor = 0;
    std::uint8_t BackgroundDirection = 0;
    std::string BackgroundFile;          // a path on disk, or the member's file name
    std::int32_t BackgroundOffset = 0;   // -1: BackgroundFile is on disk
    std::int32_t BackgroundSize = 0;
    std::uint8_t BackgroundPictureMode = 1;  // 0 stretched, 1 fitted, 2 tiled
    std::int32_t Reserved2 = 40;
    std::uint8_t TransitionOrder = 0;  // 0 list order, 1 random
    TTransitionStyles TransitionStyles;
    std::string Note;
    std::string BannerFile;
    std::string Reserved3, Reserved4, Reserved5, Reserved6;
    std::uint8_t Reserved7 = 0;
    std::uint8_t ShowOptionsPage = 0;
    std::uint8_t ShowBanner = 0;
    std::uint8_t Reserved8 = 0, Reserved9 = 0, Reserved10 = 0, Reserved11 = 0, Reserved12 = 0;
    std::int32_t Reserved13 = 0;
    std::int32_t BannerSize = 0;
    std::int32_t BannerOffset = -1;  // -1: BannerFile is on disk
    std::string PreviewFile;
    std::uint8_t ShowPreview = 0;
    std::int32_t PreviewSize = 0;
    std::int32_t PreviewOffset = -1;  // -1: use PreviewFile
    std::uint8_t Reserved14 = 0;      // since 0x10001; Reset leaves it
    std::string ThemeName;            // since 0x10005; Reset leaves it
};

// One stored value of a record type: its name, its encoding and the first version holding it.
template <class Record>
struct TField {
    using TMember = std::variant<std::int32_t Record::*, std::uint32_t Record::*, std::uint8_t Record::*,
                                 std::string Record::*, TFontRecord Record::*, TTransitionStyles Record::*>;
    const char* Name;
    TMember Member;
    std::uint32_t Since = 0;  // 0: in every file
    bool Flag = false;        // a byte that means 0 or 1
};

// The settings fields in file order, Magic to ThemeName (the lists follow them).
std::span<const TField<TSettingsRecord>> SettingsFields();
// The fields of one item record in file order.
std::span<const TField<TItemRecord>> ItemFields();

}  // namespace spindrel
