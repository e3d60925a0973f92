// TPHOImage: the read-only picture class of photo-album files (".pho"): an
// eight-byte header we do not examine, a 32-bit length, then one JPEG image.
#pragma once

#include "platform/files/Stream.h"
#include "platform/graphics/Bitmap.h"
#include "platform/picture/Picture.h"

namespace spindrel {

class TPHOImage {
public:
    TPHOImage() = default;

    // Reads from offset 8 of the stream (the stream starts with the album data).
    // A length below 1 loads nothing. A length beyond the stream throws
    // EStreamError "Stream read error", bad JPEG data throws EPictureError; in
    // every one of those cases the picture keeps what it held.
    void LoadFromStream(TStream& Stream, const TDecodeOptions& Options = {});

    // Draws the picture stretched into Rect of Canvas; an empty picture draws nothing.
    void Draw(TBitmap& Canvas, const TRect& Rect) const;

    bool GetEmpty() const { return FBitmap.Empty(); }
    int GetWidth() const { return FBitmap.Width(); }
    int GetHeight() const { return FBitmap.Height(); }
    const TBitmap& Bitmap() const { return FBitmap; }

private:
    TBitmap FBitmap;
};

// The general loader's reader for ".pho": a file holding no picture is refused.
TPictureResult ReadPho(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options = {});

// Registers the class with the general picture loader for the extension "pho"
// ("Velquist Photo Album File"); the setup program and the tools call it at start.
void RegisterPHOGraphic();

}  // namespace spindrel
