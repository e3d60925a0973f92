// The photo-album picture class and its registration with the general loader.
#include "platform/picture/UnitPHOGraphic.h"

#include <cstring>
#include <vector>

#include "platform/graphics/Stretch.h"
#include "platform/picture/JpegReader.h"
#include "platform/picture/PictureLoader.h"

namespace spindrel {

void TPHOImage::LoadFromStream(TStream& Stream, const TDecodeOptions& Options)
{
    Stream.SetPosition(8);
    std::uint8_t field[4];
    if (Stream.Read(field, 4) != 4)
        throw EStreamError("Stream read error");
    const std::int32_t length =
        static_cast<std::int32_t>(field[0] | std::uint32_t(field[1]) << 8 | std::uint32_t(field[2]) << 16 |
                                  std::uint32_t(field[3]) << 24);
    if (length < 1)
        return;
    // Checked before the buffer is made, so a hostile length allocates nothing.
    if (length > Stream.Size() - Stream.Position())
        throw EStreamError("Stream read error");
    std::vector<std::uint8_t> jpeg(static_cast<std::size_t>(length));
    if (Stream.Read(jpeg.data(), jpeg.size()) != jpeg.size())
        throw EStreamError("Stream read error");
    TBitmap decoded;
    TDecodeOptions options = Options;
    options.OnRows = nullptr;  // the rows end up in a copy, so nobody may follow the originals
    ThrowIfFailed(ReadJpeg(jpeg, decoded, options));
    FBitmap = std::move(decoded);
}

void TPHOImage::Draw(TBitmap& Canvas, const TRect& Rect) const
{
    if (!GetEmpty())
        StretchCopy(Canvas, Rect, FBitmap, FBitmap.Bounds());
}

TPictureResult ReadPho(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    TMemoryStream stream(std::vector<std::uint8_t>(Data.begin(), Data.end()));
    TPHOImage image;
    try {
        image.LoadFromStream(stream, Options);
    } catch (const EPictureError& error) {
        return PictureFailure(error.Status(), std::string("PHO: ") + error.what());
    } catch (const EStreamError& error) {
        return PictureFailure(TPictureStatus::Malformed,
                              std::string("PHO: ") + error.what() + " (the JPEG length goes beyond the file)");
    }
    if (image.GetEmpty())
        return PictureFailure(TPictureStatus::Malformed, "PHO: the file holds no picture (length below 1)");
    Picture = image.Bitmap();
    return TPictureResult::Success();
}

void RegisterPHOGraphic() { RegisterPictureFormat("pho", "Velquist Photo Album File", &ReadPho); }

}  // namespace spindrel
