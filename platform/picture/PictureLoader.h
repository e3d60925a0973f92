// The general picture loader: a reader chosen by the file's extension, as the
// form framework's picture class chooses its graphic class.
//
// Errors: every call that returns a TPictureResult reports bad files, unknown
// extensions and exhausted memory through it and lets no exception escape. The
// ...OrThrow forms raise EPictureError with the same status and message instead.
#pragma once

#include <string>

#include "platform/picture/Picture.h"

namespace spindrel {

using TPictureReader = TPictureResult (*)(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options);

// Adds (or replaces) the reader of an extension, given without the dot, any case.
// Built in: bmp dib rle, jpg jpeg jpe jfif, png, gif, tif tiff, webp, psd pdd, and
// in the win32 build emf and wmf.
void RegisterPictureFormat(const std::string& Extension, const std::string& Description, TPictureReader Reader);

// The reader for a file name's extension, or null.
TPictureReader FindPictureReader(const std::string& FileName);

// Decodes Data with the reader of Extension ("jpg", ".JPG" or a file name).
// Picture is left as it was unless the result is Ok.
TPictureResult DecodePicture(TBytes Data, const std::string& Extension, TBitmap& Picture,
                             const TDecodeOptions& Options = {});

// Reads and decodes a file; messages name the file.
TPictureResult LoadPicture(const std::string& FileName, TBitmap& Picture, const TDecodeOptions& Options = {});

void LoadPictureOrThrow(const std::string& FileName, TBitmap& Picture, const TDecodeOptions& Options = {});

}  // namespace spindrel
