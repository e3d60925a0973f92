// Metafiles played into a DIB section: GDI does all the drawing, we only size the
// page and copy its rows, which already have our layout (24 bits, rows padded to 4).
#include "platform/picture/win32/MetafileReader.h"

#include <windows.h>

#include <cmath>
#include <cstring>

#include "platform/picture/ByteReader.h"
#include "platform/win32/Handles.h"

namespace spindrel {

namespace {

using namespace spindrel::win32;

struct TEnhMetaFileTraits {
    static HENHMETAFILE Invalid() { return nullptr; }
    static void Close(HENHMETAFILE H) { DeleteEnhMetaFile(H); }
};
using TScopedEnhMetaFile = TScopedHandle<HENHMETAFILE, TEnhMetaFileTraits>;

constexpr double PixelsPerInch = 96;

TPictureResult Play(HENHMETAFILE Metafile, std::int64_t Width, std::int64_t Height, const char* Format,
                    const TDecodeOptions& Options, TBitmap& Picture)
{
    if (TPictureResult r = CheckPictureSize(Format, Width, Height, Options); !r.Ok())
        return r;
    TBitmap page(static_cast<int>(Width), static_cast<int>(Height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = page.Width();
    info.bmiHeader.biHeight = -page.Height();  // top-down, as our rows are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    TScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    TScopedBitmap dib(dc ? CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr);
    if (!dib || !bits)
        return PictureFailure(TPictureStatus::OutOfMemory, std::string(Format) + ": no room for the page");
    {
        TSelectObject select(dc.Get(), dib.Get());
        PatBlt(dc.Get(), 0, 0, page.Width(), page.Height(), WHITENESS);  // paper, as drawings expect
        const RECT area{0, 0, page.Width(), page.Height()};
        if (!PlayEnhMetaFile(dc.Get(), Metafile, &area))
            return PictureFailure(TPictureStatus::Malformed, std::string(Format) + ": GDI could not play it");
        GdiFlush();
    }
    std::memcpy(page.Bits(), bits, page.ByteSize());
    Picture = std::move(page);
    return TPictureResult::Success();
}

// The frame (hundredths of a millimetre) at 96 pixels an inch, else the bounds in device pixels.
void PageOf(HENHMETAFILE Metafile, std::int64_t& Width, std::int64_t& Height)
{
    ENHMETAHEADER header{};
    Width = Height = 0;
    if (!GetEnhMetaFileHeader(Metafile, sizeof header, &header))
        return;
    const RECTL& f = header.rclFrame;
    Width = std::llround((double(f.right) - f.left) * PixelsPerInch / 2540);
    Height = std::llround((double(f.bottom) - f.top) * PixelsPerInch / 2540);
    if (Width <= 0 || Height <= 0) {
        Width = std::int64_t(header.rclBounds.right) - header.rclBounds.left + 1;
        Height = std::int64_t(header.rclBounds.bottom) - header.rclBounds.top + 1;
    }
}

}  // namespace

TPictureResult ReadEmf(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    const TByteReader in(Data);
    std::uint32_t type = 0, signature = 0;
    // EMR_HEADER, with " EMF" at offset 40.
    if (!in.U32LE(0, type) || type != 1 || !in.U32LE(40, signature) || signature != 0x464D4520)
        return PictureFailure(TPictureStatus::Malformed, "EMF: no enhanced metafile header");
    TScopedEnhMetaFile metafile(SetEnhMetaFileBits(static_cast<UINT>(Data.size()), Data.data()));
    if (!metafile)
        return PictureFailure(TPictureStatus::Malformed, "EMF: GDI refuses the records");
    std::int64_t w = 0, h = 0;
    PageOf(metafile.Get(), w, h);
    return Play(metafile.Get(), w, h, "EMF", Options, Picture);
}

TPictureResult ReadWmf(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    const TByteReader in(Data);
    std::uint32_t key = 0;
    std::size_t skip = 0;
    METAFILEPICT picture{MM_ANISOTROPIC, 0, 0, nullptr};
    std::int64_t w = 0, h = 0;
    if (in.U32LE(0, key) && key == 0x9AC6CDD7) {  // the placeable header: a bounding box and its units an inch
        std::uint32_t left = 0, top = 0, right = 0, bottom = 0, inch = 0;
        if (!in.U16LE(6, left) || !in.U16LE(8, top) || !in.U16LE(10, right) || !in.U16LE(12, bottom) ||
            !in.U16LE(14, inch) || inch == 0)
            return PictureFailure(TPictureStatus::Malformed, "WMF: the placeable header is truncated or has no units");
        const double dx = std::abs(double(std::int16_t(right)) - std::int16_t(left));
        const double dy = std::abs(double(std::int16_t(bottom)) - std::int16_t(top));
        w = std::llround(dx * PixelsPerInch / inch);
        h = std::llround(dy * PixelsPerInch / inch);
        picture.xExt = static_cast<LONG>(std::lround(dx * 2540 / inch));
        picture.yExt = static_cast<LONG>(std::lround(dy * 2540 / inch));
        skip = 22;
    }
    if (!in.Has(skip, 18))
        return PictureFailure(TPictureStatus::Malformed, "WMF: the metafile header is truncated");
    TScopedEnhMetaFile metafile(SetWinMetaFileBits(static_cast<UINT>(Data.size() - skip), Data.data() + skip, nullptr,
                                                   skip ? &picture : nullptr));
    if (!metafile)
        return PictureFailure(TPictureStatus::Malformed, "WMF: GDI refuses the records");
    if (!skip)
        PageOf(metafile.Get(), w, h);
    return Play(metafile.Get(), w, h, "WMF", Options, Picture);
}

}  // namespace spindrel
