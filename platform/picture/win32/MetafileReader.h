// Windows metafiles, enhanced (.emf) and old-style (.wmf, placeable or not),
// played through GDI onto a white page: only the win32 build reads them.
#pragma once

#include "platform/picture/Picture.h"

namespace spindrel {

// The page is the metafile's frame at 96 pixels an inch.
TPictureResult ReadEmf(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});
// A placeable file's page is its bounding box at its own units an inch; a bare
// one's is the extent GDI reports after converting it.
TPictureResult ReadWmf(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});

}  // namespace spindrel
