// What the show window prepares from the settings: the background bitmap, painted
// once, and the screen image of each picture slide (the sized picture placed on a
// copy of the background).
#pragma once

#include <string>

#include "datafiles/TItemList.h"
#include "datafiles/TSettingsRecord.h"
#include "platform/graphics/Bitmap.h"
#include "saver/PicturePlacement.h"

namespace spindrel {

// Where the show finds its files.
struct TShowPaths {
    std::string ArchiveName;  // the media archive
    std::string TempDir;      // no trailing backslash
    std::string ExeDir;       // no trailing backslash (except a drive root)
};

// Paints a Width x Height background from the settings: solid, gradient or a
// picture (a member extracted to TempDir for the painting, then deleted). A
// picture that cannot be had (archive missing, member unreadable, file not a
// picture) paints black; this never throws.
TBitmap PaintBackgroundBitmap(const TSettingsRecord& Settings, const TShowPaths& Paths, int Width, int Height);

// Composes the screen image of one picture item on a copy of Background (which
// has the screen's size): an archive member decoded as JPEG, a file on disk, a
// file in the program directory, or, when a disk file does not exist, a black
// picture of the screen's size; sized with ImageEnlargeFit, then tiled, placed at
// random or centred. False, with Error set and Screen unspecified, when the
// picture could not be read or decoded or has no pixels.
bool ComposePictureSlide(const TItemRecord& Item, const TSettingsRecord& Settings, const TShowPaths& Paths,
                         const TBitmap& Background, const TRandomFunction& Random, TBitmap& Screen,
                         std::string& Error);

}  // namespace spindrel
