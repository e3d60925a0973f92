// The GIF adapter: giflib reads records from our buffer; we stop after the
// first image, so an animation of a thousand frames costs one.
#include "platform/picture/GifReader.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace spindrel {

namespace {

struct TSource {
    TBytes Data;
    std::size_t Position = 0;
};

int ReadData(GifFileType* Gif, GifByteType* Out, int Count)
{
    auto* source = static_cast<TSource*>(Gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(Count, 0)),
                                                source->Data.size() - source->Position);
    std::memcpy(Out, source->Data.data() + source->Position, n);
    source->Position += n;
    return static_cast<int>(n);
}

struct TGifGuard {
    GifFileType* Gif;
    ~TGifGuard()
    {
        int error = 0;
        if (Gif)
            DGifCloseFile(Gif, &error);
    }
};

TPictureResult GifError(int Code)
{
    const char* text = GifErrorString(Code);
    return PictureFailure(TPictureStatus::Malformed, std::string("GIF: ") + (text ? text : "unknown error"));
}

// Rows of an interlaced image arrive in four passes: every 8th from 0, every 8th
// from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int Height, bool Interlaced)
{
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(Height));
    if (!Interlaced) {
        for (int y = 0; y < Height; ++y)
            order.push_back(y);
        return order;
    }
    const int start[] = {0, 4, 2, 1};
    const int step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < Height; y += step[pass])
            order.push_back(y);
    return order;
}

}  // namespace

TPictureResult ReadGif(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    TSource source{Data};
    int error = 0;
    TGifGuard guard{DGifOpen(&source, &ReadData, &error)};
    GifFileType* gif = guard.Gif;
    if (!gif)
        return GifError(error);

    int transparent = -1;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR)
            return GifError(gif->Error);
        if (record == TERMINATE_RECORD_TYPE)
            return PictureFailure(TPictureStatus::Malformed, "GIF: the file holds no image");
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                return GifError(gif->Error);
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                transparent = (block[1] & 1) ? block[4] : -1;
            while (block) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                    return GifError(gif->Error);
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;

        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return GifError(gif->Error);
        const GifImageDesc& frame = gif->Image;
        const std::int64_t right = std::int64_t(frame.Left) + frame.Width;
        const std::int64_t bottom = std::int64_t(frame.Top) + frame.Height;
        const std::int64_t width = std::max<std::int64_t>(gif->SWidth, right);
        const std::int64_t height = std::max<std::int64_t>(gif->SHeight, bottom);
        if (frame.Width <= 0 || frame.Height <= 0)
            return PictureFailure(TPictureStatus::Malformed, "GIF: the first image has no pixels");
        if (TPictureResult r = CheckPictureSize("GIF", width, height, Options); !r.Ok())
            return r;
        const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
        if (!map || !map->Colors || map->ColorCount <= 0)
            return PictureFailure(TPictureStatus::Malformed, "GIF: the first image has no colour table");

        // Indices past the table and the transparent index paint black.
        std::uint8_t colours[256][3] = {};
        for (int i = 0; i < std::min(map->ColorCount, 256); ++i) {
            colours[i][0] = map->Colors[i].Blue;
            colours[i][1] = map->Colors[i].Green;
            colours[i][2] = map->Colors[i].Red;
        }
        if (transparent >= 0)
            std::memset(colours[transparent], 0, 3);

        TBitmap decoded(static_cast<int>(width), static_cast<int>(height));
        std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
        for (int y : RowOrder(frame.Height, frame.Interlace)) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR)
                return GifError(gif->Error);
            std::uint8_t* out = decoded.ScanLine(frame.Top + y) + 3 * frame.Left;
            for (int x = 0; x < frame.Width; ++x)
                std::memcpy(out + 3 * x, colours[line[static_cast<std::size_t>(x)]], 3);
        }
        Picture = std::move(decoded);
        return TPictureResult::Success();
    }
}

}  // namespace spindrel
