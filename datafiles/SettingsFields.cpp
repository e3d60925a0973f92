// The settings file's layout as data: readers, writers and the JSON tools all walk these rows.
#include "datafiles/TSettingsRecord.h"

namespace spindrel {

namespace {

using S = TSettingsRecord;
using F = TField<S>;

constexpr bool Flag = true;

const F SettingsTable[] = {
    {"Magic", &S::Magic},
    {"Version", &S::Version},
    {"Title", &S::Title},
    {"AuthorName", &S::AuthorName},
    {"Copyright", &S::Copyright},
    {"WebSite", &S::WebSite},
    {"EMail", &S::EMail},
    {"DisableMouse", &S::DisableMouse, 0, Flag},
    {"DisableKeyPress", &S::DisableKeyPress, 0, Flag},
    {"CaptionLocation", &S::CaptionLocation},
    {"CaptionFont", &S::CaptionFont},
    {"MediaPlayOrder", &S::MediaPlayOrder},
    {"ImageInterval", &S::ImageInterval},
    {"ImageEnlargeFit", &S::ImageEnlargeFit, 0, Flag},
    {"ImageTile", &S::ImageTile, 0, Flag},
    {"ImageRandomPosition", &S::ImageRandomPosition, 0, Flag},
    {"MovieDisplaySize", &S::MovieDisplaySize},
    {"MovieRandomPosition", &S::MovieRandomPosition, 0, Flag},
    {"MovieMute", &S::MovieMute, 0, Flag},
    {"FlashDisplaySize", &S::FlashDisplaySize},
    {"FlashRandomPosition", &S::FlashRandomPosition, 0, Flag},
    {"AutoFlip", &S::AutoFlip, 0, Flag},
    {"FlashAllowMouse", &S::FlashAllowMouse, 0, Flag},
    {"MusicPlayOrder", &S::MusicPlayOrder},
    {"MusicInterval", &S::MusicInterval},
    {"MusicRandomOne", &S::MusicRandomOne, 0, Flag},
    {"MusicMute", &S::MusicMute, 0, Flag},
    {"BackgroundFillKind", &S::BackgroundFillKind},
    {"BackgroundSolidColor", &S::BackgroundSolidColor},
    {"Reserved1", &S::Reserved1},
    {"BackgroundStartColor", &S::BackgroundStartColor},
    {"BackgroundEndColor", &S::BackgroundEndColor},
    {"BackgroundDirection", &S::BackgroundDirection},
    {"BackgroundFile", &S::BackgroundFile},
    {"BackgroundOffset", &S::BackgroundOffset},
    {"BackgroundSize", &S::BackgroundSize},
    {"BackgroundPictureMode", &S::BackgroundPictureMode},
    {"Reserved2", &S::Reserved2},
    {"TransitionOrder", &S::TransitionOrder},
    {"TransitionStyles", &S::TransitionStyles},
    {"Note", &S::Note},
    {"BannerFile", &S::BannerFile},
    {"Reserved3", &S::Reserved3},
    {"Reserved4", &S::Reserved4},
    {"Reserved5", &S::Reserved5},
    {"Reserved6", &S::Reserved6},
    {"Reserved7", &S::Reserved7},
    {"ShowOptionsPage", &S::ShowOptionsPage, 0, Flag},
    {"ShowBanner", &S::ShowBanner, 0, Flag},
    {"Reserved8", &S::Reserved8},
    {"Reserved9", &S::Reserved9},
    {"Reserved10", &S::Reserved10},
    {"Reserved11", &S::Reserved11},
    {"Reserved12", &S::Reserved12},
    {"Reserved13", &S::Reserved13},
    {"BannerSize", &S::BannerSize},  // the size comes before the position here
    {"BannerOffset", &S::BannerOffset},
    {"PreviewFile", &S::PreviewFile},
    {"ShowPreview", &S::ShowPreview, 0, Flag},
    {"PreviewSize", &S::PreviewSize},
    {"PreviewOffset", &S::PreviewOffset},
    {"Reserved14", &S::Reserved14, VersionWithExt},
    {"ThemeName", &S::ThemeName, VersionWithTheme},
};
static_assert(std::size(SettingsTable) == 63, "the settings file holds 63 values before its lists");

using I = TItemRecord;

const TField<I> ItemTable[] = {
    {"Kind", &I::Kind},
    {"Name", &I::Name},
    {"Path", &I::Path},
    {"Ext", &I::Ext, VersionWithExt},
    {"Location", &I::Location},
    {"Size", &I::Size},
    {"Width", &I::Width},
    {"Height", &I::Height},
    {"Reserved", &I::Reserved},
};
static_assert(std::size(ItemTable) == 9, "an item record holds 9 values");

}  // namespace

std::span<const TField<TSettingsRecord>> SettingsFields() { return SettingsTable; }
std::span<const TField<TItemRecord>> ItemFields() { return ItemTable; }

}  // namespace spindrel
