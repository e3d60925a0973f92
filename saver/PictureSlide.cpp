// The show's background bitmap and the screen image of each picture slide, from
// the settings and the item; every failure ends as a black or a failed slide.
#include "saver/PictureSlide.h"

#include <exception>

#include "datafiles/MediaArchive.h"
#include "datafiles/UnitSpindrelFile.h"
#include "platform/files/FileStream.h"
#include "saver/SlidePicture.h"
#include "shared/UnitBackground.h"

namespace spindrel {

namespace {

// The painter repaints at every change. This one can hold those repaints back
// while the picture's file and mode are set together, so that a screen-sized
// picture is not loaded and drawn once for each, and knows whether the last
// change has been painted already (painting the same settings again changes nothing).
class TShowBackground final : public TBackground {
public:
    using TBackground::TBackground;

    void HoldPaints(bool Hold) { FHold = Hold; }
    void PaintIfStale()
    {
        if (FStale)
            Paint();
        FStale = false;
    }

protected:
    void Changed() override
    {
        if (FHold) {
            FStale = true;
            return;
        }
        TBackground::Changed();
        FStale = false;
    }

private:
    bool FHold = false;
    bool FStale = true;  // nothing painted yet
};

// Deletes the file of an extracted member however the painting ends.
class TRemoveOnExit {
public:
    TRemoveOnExit() = default;
    TRemoveOnExit(const TRemoveOnExit&) = delete;
    TRemoveOnExit& operator=(const TRemoveOnExit&) = delete;
    ~TRemoveOnExit()
    {
        if (!Path.empty())
            RemoveFile(Path);
    }

    std::string Path;
};

// The file the painter is to read: the disk path, or the member extracted to
// TempDir. Empty (the painter then fills black) when the member cannot be had.
std::string BackgroundPictureFile(const TSettingsRecord& Settings, const TShowPaths& Paths, TRemoveOnExit& Extracted)
{
    if (Settings.BackgroundOffset == LocationDisk)
        return Settings.BackgroundFile;
    const std::optional<std::string> target = TempMemberPath(Paths.TempDir, Settings.BackgroundFile);
    if (!target)
        return {};
    try {
        std::string file = TSpindrelFile::ExtractMember(Paths.ArchiveName, *target, Settings.BackgroundOffset,
                                                        Settings.BackgroundSize);
        Extracted.Path = *target;  // a short copy is ours to remove too
        return file;
    } catch (const EStreamError&) {
        return {};  // no archive, or the target could not be made
    }
}

void PaintFromSettings(TShowBackground& Painter, const TSettingsRecord& Settings, const TShowPaths& Paths)
{
    Painter.SetFillKind(Settings.BackgroundFillKind);
    Painter.SetStartColor(static_cast<TColor>(Settings.BackgroundStartColor));
    Painter.SetEndColor(static_cast<TColor>(Settings.BackgroundEndColor));
    Painter.SetSolidColor(static_cast<TColor>(Settings.BackgroundSolidColor));
    Painter.SetDirection(Settings.BackgroundDirection);
    TRemoveOnExit extracted;
    // Only the picture fill reads the file, so the other fills need no member extracted.
    if (Painter.FillKind() == 2 && !Settings.BackgroundFile.empty()) {
        const std::string file = BackgroundPictureFile(Settings, Paths, extracted);
        // Modes 0 to 2 cover the whole area, so the stretched paint that setting the
        // file alone would make cannot show through; other modes paint nothing and leave it.
        Painter.HoldPaints(Settings.BackgroundPictureMode <= 2);
        Painter.SetPictureFile(file);
        Painter.SetPictureMode(Settings.BackgroundPictureMode);
        Painter.HoldPaints(false);
    }
    Painter.PaintIfStale();
}

TPictureResult Failure(std::string Message) { return PictureFailure(TPictureStatus::ReadError, std::move(Message)); }

// The item's picture, already at its display size.
TPictureResult LoadItemPicture(const TItemRecord& Item, const TSettingsRecord& Settings, const TShowPaths& Paths,
                               int ScreenWidth, int ScreenHeight, TBitmap& Sized)
{
    const bool fit = Settings.ImageEnlargeFit != 0;
    switch (SourceOf(Item.Location)) {
    case TMediaSource::Archive: {
        TMemoryStream member;
        if (!TSpindrelFile::ReadMember(Paths.ArchiveName, member, Item.Location, Item.Size))
            return Failure("the archive member at " + std::to_string(Item.Location) + " (" +
                           std::to_string(Item.Size) + " bytes) could not be read whole");
        // Slide members are JPEG files whatever their names say.
        return DecodeSlidePicture(member.Bytes(), ".jpg", ScreenWidth, ScreenHeight, fit, Sized);
    }
    case TMediaSource::Disk:
        if (FileExists(Item.Path))
            return LoadSlidePicture(Item.Path, ScreenWidth, ScreenHeight, fit, Sized);
        // A missing file, or a failed download, is a black slide rather than a failed one.
        // It has the screen's size, which fits the screen with or without enlarging.
        Sized = TBitmap(ScreenWidth, ScreenHeight);
        return TPictureResult::Success();
    case TMediaSource::ProgramDir:
        if (!IsBareFileName(Item.Path))
            return Failure("\"" + Item.Path + "\" does not name a file of the program's folder");
        return LoadSlidePicture(ProgramDirPath(Paths.ExeDir, Item.Path), ScreenWidth, ScreenHeight, fit, Sized);
    case TMediaSource::Web:  // downloaded first: the show hands the file over as a disk item
    case TMediaSource::Unknown:
        break;
    }
    return Failure("no picture can be read from location " + std::to_string(Item.Location));
}

}  // namespace

TBitmap PaintBackgroundBitmap(const TSettingsRecord& Settings, const TShowPaths& Paths, int Width, int Height)
{
    TBitmap bitmap(Width, Height);
    TShowBackground painter(bitmap, Width, Height);
    try {
        PaintFromSettings(painter, Settings, Paths);
    } catch (const std::exception&) {
        // A picture file that is no picture (EPictureError), or no memory for it.
        FillRect(bitmap, bitmap.Bounds(), RGB(0, 0, 0));
    }
    return bitmap;
}

bool ComposePictureSlide(const TItemRecord& Item, const TSettingsRecord& Settings, const TShowPaths& Paths,
                         const TBitmap& Background, const TRandomFunction& Random, TBitmap& Screen,
                         std::string& Error)
{
    try {
        TBitmap sized;
        const TPictureResult loaded =
            LoadItemPicture(Item, Settings, Paths, Background.Width(), Background.Height(), sized);
        if (!loaded.Ok()) {
            Error = loaded.Message;
            return false;
        }
        if (sized.Empty()) {
            Error = "the picture has no pixels at its display size";
            return false;
        }
        Screen = Background;
        PlacePicture(Screen, sized, Settings.ImageTile != 0, Settings.ImageRandomPosition != 0, Random);
        Error.clear();
        return true;
    } catch (const std::exception& e) {  // EStreamError: the archive cannot be opened; no memory
        Error = e.what();
        return false;
    }
}

}  // namespace spindrel
