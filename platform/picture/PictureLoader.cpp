// The extension registry and the file-reading front of every reader.
#include "platform/picture/PictureLoader.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <new>
#include <vector>

#include "platform/files/FileStream.h"
#include "platform/picture/BmpReader.h"
#include "platform/picture/GifReader.h"
#include "platform/picture/JpegReader.h"
#include "platform/picture/PngReader.h"
#include "platform/picture/PsdReader.h"
#include "platform/picture/TiffReader.h"
#include "platform/picture/WebpReader.h"
#if defined(_WIN32)
#include "platform/picture/win32/MetafileReader.h"
#endif

namespace spindrel {

namespace {

// Larger files are refused before reading: no picture within the size limits
// needs a gigabyte of compressed data.
constexpr std::int64_t MaxFileSize = std::int64_t(1) << 30;

struct TFormat {
    std::string Extension;
    std::string Description;
    TPictureReader Reader;
};

std::string Lower(std::string Text)
{
    std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char c) { return std::tolower(c); });
    return Text;
}

// The extension of the last path segment, lower case, without its dot.
std::string ExtensionOf(const std::string& Name)
{
    const std::size_t at = Name.find_last_of(".\\/:");
    if (at == std::string::npos)
        return Lower(Name);  // a bare extension
    return Name[at] == '.' ? Lower(Name.substr(at + 1)) : std::string();
}

std::vector<TFormat>& Formats()
{
    static std::vector<TFormat> formats = {
        {"bmp", "Bitmaps", &ReadBmp},
        {"dib", "Bitmaps", &ReadBmp},
        {"rle", "Bitmaps", &ReadBmp},
        {"jpg", "JPEG Image File", &ReadJpeg},
        {"jpeg", "JPEG Image File", &ReadJpeg},
        {"jpe", "JPEG Image File", &ReadJpeg},
        {"jfif", "JPEG Image File", &ReadJpeg},
        {"png", "Portable Network Graphics", &ReadPng},
        {"gif", "CompuServe GIF Image", &ReadGif},
        {"tif", "Tagged Image File Format", &ReadTiff},
        {"tiff", "Tagged Image File Format", &ReadTiff},
        {"webp", "WebP Image", &ReadWebp},
        {"psd", "Photoshop Image", &ReadPsd},
        {"pdd", "Photoshop Image", &ReadPsd},
#if defined(_WIN32)  // drawn by GDI, which only Windows has
        {"emf", "Enhanced Metafiles", &ReadEmf},
        {"wmf", "Metafiles", &ReadWmf},
#endif
    };
    return formats;
}

}  // namespace

void RegisterPictureFormat(const std::string& Extension, const std::string& Description, TPictureReader Reader)
{
    const std::string ext = ExtensionOf(Extension.find('.') == std::string::npos ? "." + Extension : Extension);
    for (TFormat& f : Formats())
        if (f.Extension == ext) {
            f = {ext, Description, Reader};
            return;
        }
    Formats().push_back({ext, Description, Reader});
}

TPictureReader FindPictureReader(const std::string& FileName)
{
    const std::string ext = ExtensionOf(FileName);
    for (const TFormat& f : Formats())
        if (f.Extension == ext)
            return f.Reader;
    return nullptr;
}

TPictureResult DecodePicture(TBytes Data, const std::string& Extension, TBitmap& Picture,
                             const TDecodeOptions& Options)
{
    const TPictureReader reader = FindPictureReader(Extension);
    if (!reader)
        return PictureFailure(TPictureStatus::Unsupported, "no picture reader for the extension \"" +
                                                               ExtensionOf(Extension) + "\"");
    try {
        TBitmap decoded;
        TPictureResult result = reader(Data, decoded, Options);
        if (result.Ok())
            Picture = std::move(decoded);
        return result;
    } catch (const std::bad_alloc&) {
        return PictureFailure(TPictureStatus::OutOfMemory, "out of memory");
    } catch (const std::exception& error) {
        return PictureFailure(TPictureStatus::Malformed, error.what());
    }
}

TPictureResult LoadPicture(const std::string& FileName, TBitmap& Picture, const TDecodeOptions& Options)
{
    const std::string quoted = "\"" + FileName + "\": ";
    if (!FileExists(FileName))
        return PictureFailure(TPictureStatus::NotFound, quoted + "no such file");
    if (!FindPictureReader(FileName))
        return PictureFailure(TPictureStatus::Unsupported,
                              quoted + "no picture reader for the extension \"" + ExtensionOf(FileName) + "\"");
    std::vector<std::uint8_t> bytes;
    try {
        TFileStream file(FileName, TFileMode::OpenRead);
        const std::int64_t size = file.Size();
        if (size > MaxFileSize)
            return PictureFailure(TPictureStatus::TooLarge, quoted + "file of " + std::to_string(size) +
                                                                " bytes is larger than any picture we read");
        bytes = file.ReadRest();
    } catch (const EStreamError& error) {
        return PictureFailure(TPictureStatus::ReadError, quoted + error.what());
    } catch (const std::bad_alloc&) {
        return PictureFailure(TPictureStatus::OutOfMemory, quoted + "out of memory");
    }
    TPictureResult result = DecodePicture(bytes, FileName, Picture, Options);
    if (!result.Ok())
        result.Message = quoted + result.Message;
    return result;
}

void LoadPictureOrThrow(const std::string& FileName, TBitmap& Picture, const TDecodeOptions& Options)
{
    ThrowIfFailed(LoadPicture(FileName, Picture, Options));
}

}  // namespace spindrel
