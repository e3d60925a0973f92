// The JPEG adapter. libjpeg reports errors by calling back; ours jumps back to
// the decode with the library's message. Only trivially destructible state
// lives between setjmp and longjmp, and the decoder struct is destroyed on every path.
#include "platform/picture/JpegReader.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "platform/picture/Orientation.h"

namespace spindrel {

namespace {

// Progressive files may hold any number of scans; the library's own fuzzers stop
// at this many, so a small file cannot keep us busy for minutes.
constexpr int MaxScans = 500;

struct TErrorManager {
    jpeg_error_mgr Base;
    jpeg_progress_mgr Progress;
    std::jmp_buf Jump;
    bool AllRowsRead;  // a missing end marker after the last row costs nothing
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr Info)
{
    auto* manager = reinterpret_cast<TErrorManager*>(Info->err);
    (*Info->err->format_message)(Info, manager->Message);
    std::longjmp(manager->Jump, 1);
}

// Warnings are ignored (cameras write many harmless ones) except those saying
// the data ran out, which would otherwise leave the rest of the picture grey:
// entropy data cut short, or the end of the file before the first row. The
// decoder reads ahead, so a file missing only its end marker also meets the end
// of the data, but in a later row and with no data short.
void EmitMessage(j_common_ptr Info, int Level)
{
    if (Level >= 0)
        return;
    const int code = Info->err->msg_code;
    const auto* decoder = reinterpret_cast<j_decompress_ptr>(Info);
    if (code == JWRN_HIT_MARKER || (code == JWRN_JPEG_EOF && decoder->output_scanline == 0 &&
                                    !reinterpret_cast<TErrorManager*>(Info->err)->AllRowsRead))
        ErrorExit(Info);
}

void ProgressMonitor(j_common_ptr Info)
{
    auto* decoder = reinterpret_cast<j_decompress_ptr>(Info);
    if (decoder->input_scan_number > MaxScans) {
        auto* manager = reinterpret_cast<TErrorManager*>(Info->err);
        std::snprintf(manager->Message, sizeof manager->Message, "more than %d scans", MaxScans);
        std::longjmp(manager->Jump, 1);
    }
}

struct TDecoderGuard {
    jpeg_decompress_struct* Info;
    ~TDecoderGuard() { jpeg_destroy_decompress(Info); }
};

// Adobe's writers store CMYK inverted (0 is full ink), which libjpeg leaves as is.
void CmykRowToBgr(const JSAMPLE* Cmyk, std::uint8_t* Bgr, int Width, bool Inverted)
{
    for (int x = 0; x < Width; ++x, Cmyk += 4, Bgr += 3) {
        unsigned c = Cmyk[0], m = Cmyk[1], y = Cmyk[2], k = Cmyk[3];
        if (!Inverted)
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        Bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
        Bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        Bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    }
}

int OrientationOf(const jpeg_decompress_struct& Info)
{
    for (jpeg_saved_marker_ptr m = Info.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1) {
            const int o = ExifOrientation(TBytes(m->data, m->data_length));
            if (o != 1)
                return o;
        }
    return 1;
}

// Picks the smallest scale M/8 whose output still covers the target.
void ChooseScale(jpeg_decompress_struct& Info, TPictureSize Target)
{
    for (unsigned m = 1; m <= 8; ++m) {
        Info.scale_num = m;
        Info.scale_denom = 8;
        jpeg_calc_output_dimensions(&Info);
        if (static_cast<int>(Info.output_width) >= Target.Width && static_cast<int>(Info.output_height) >= Target.Height)
            return;
    }
    Info.scale_num = Info.scale_denom = 1;
}

}  // namespace

TPictureResult ReadJpeg(TBytes Data, TBitmap& Picture, const TDecodeOptions& Options)
{
    jpeg_decompress_struct info;
    TErrorManager errors;
    TBitmap decoded;
    std::vector<JSAMPLE> row;
    TPictureResult result;
    volatile bool streaming = false;  // read after a jump back
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = &ErrorExit;
    errors.Base.emit_message = &EmitMessage;
    errors.Progress.progress_monitor = &ProgressMonitor;
    errors.Message[0] = 0;
    errors.AllRowsRead = false;
    jpeg_create_decompress(&info);
    TDecoderGuard guard{&info};
    if (setjmp(errors.Jump)) {
        if (streaming)
            Options.OnRows(decoded, -1);
        return PictureFailure(TPictureStatus::Malformed, std::string("JPEG: ") + errors.Message);
    }

    info.progress = &errors.Progress;
    jpeg_mem_src(&info, Data.data(), static_cast<unsigned long>(Data.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    if (TPictureResult r = CheckPictureSize("JPEG", info.image_width, info.image_height, Options); !r.Ok())
        return r;

    const int orientation = OrientationOf(info);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    if (Options.TargetSize) {
        const bool swap = SwapsAxes(orientation);
        TPictureSize full{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
        if (swap)
            std::swap(full.Width, full.Height);
        TPictureSize target = Options.TargetSize(full);
        if (swap)
            std::swap(target.Width, target.Height);
        ChooseScale(info, target);
    }

    jpeg_start_decompress(&info);
    decoded.SetSize(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (cmyk)
        row.resize(static_cast<std::size_t>(info.output_width) * 4);
    if (Options.OnRows && orientation == 1) {
        streaming = true;
        Options.OnRows(decoded, 0);
    }
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW target = cmyk ? row.data() : decoded.ScanLine(y);
        if (jpeg_read_scanlines(&info, &target, 1) != 1) {
            if (streaming)
                Options.OnRows(decoded, -1);
            return PictureFailure(TPictureStatus::Malformed, "JPEG: the decoder stopped early");
        }
        if (cmyk)
            CmykRowToBgr(row.data(), decoded.ScanLine(y), decoded.Width(), info.saw_Adobe_marker);
        if (streaming && ((y + 1) % 16 == 0 || y + 1 == decoded.Height()))
            Options.OnRows(decoded, y + 1);
    }
    errors.AllRowsRead = true;
    jpeg_finish_decompress(&info);
    ApplyOrientation(decoded, orientation);
    Picture = std::move(decoded);
    return result;
}

}  // namespace spindrel
