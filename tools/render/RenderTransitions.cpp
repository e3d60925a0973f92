// spindrel-render frame, sheet and animate: a transition's frames as pictures,
// a contact sheet of all 128 styles, and a whole run as a GIF or numbered frames.
#include <gif_lib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "platform/graphics/Stretch.h"
#include "platform/picture/PictureLoader.h"
#include "tools/render/Commands.h"
#include "tools/render/DigitFont.h"
#include "tools/render/ImageFiles.h"
#include "tools/render/TransitionFrames.h"

namespace spindrel::render {

namespace {

// "--name value" options before the positional arguments.
struct TArguments {
    std::vector<std::pair<std::string, std::string>> Options;
    std::vector<std::string> Positional;

    TArguments(const std::vector<std::string>& Arguments, std::initializer_list<const char*> Known)
    {
        for (std::size_t i = 0; i < Arguments.size(); ++i) {
            const std::string& a = Arguments[i];
            if (!a.starts_with("--")) {
                Positional.push_back(a);
                continue;
            }
            if (std::find_if(Known.begin(), Known.end(), [&](const char* k) { return a == k; }) == Known.end())
                throw std::runtime_error("unknown option " + a);
            if (i + 1 == Arguments.size())
                throw std::runtime_error(a + " needs a value");
            Options.emplace_back(a, Arguments[++i]);
        }
    }
    int Number(const char* Name, int Default, int Low, int High) const
    {
        for (const auto& [name, value] : Options) {
            if (name != Name)
                continue;
            std::size_t used = 0;
            int number = 0;
            try {
                number = std::stoi(value, &used);
            } catch (const std::exception&) {
                used = 0;
            }
            if (used != value.size() || number < Low || number > High)
                throw std::runtime_error(std::string(Name) + " takes a number " + std::to_string(Low) + ".." +
                                         std::to_string(High) + ", not \"" + value + "\"");
            return number;
        }
        return Default;
    }
};

TBitmap LoadInput(const std::string& FileName)
{
    TBitmap picture;
    const TPictureResult result = LoadPicture(FileName, picture);
    if (!result.Ok())
        throw std::runtime_error(result.Message);
    return picture;
}

TFrameRequest Request(const TArguments& Args)
{
    TFrameRequest request;
    request.Style = Args.Number("--style", 51, 0, 255);
    request.Step = Args.Number("--step", 4, 0, 1000);
    request.Seed = static_cast<std::uint32_t>(Args.Number("--seed", 1, 0, 2147483647));
    return request;
}

int RunFrame(const std::vector<std::string>& Arguments)
{
    const TArguments args(Arguments, {"--style", "--progress", "--step", "--seed"});
    if (args.Positional.size() != 3)
        throw std::runtime_error("frame needs OLD NEW OUT");
    const TBitmap old = LoadInput(args.Positional[0]), picture = LoadInput(args.Positional[1]);
    const int progress = args.Number("--progress", 50, 0, 100);
    TBitmap out;
    ComposeFrames(old, picture, Request(args), {progress}, [&](int, const TBitmap& frame) { out = frame; });
    WriteImageFile(args.Positional[2], out);
    return 0;
}

int RunSheet(const std::vector<std::string>& Arguments)
{
    const TArguments args(Arguments, {"--progress", "--step", "--seed"});
    if (args.Positional.size() != 3)
        throw std::runtime_error("sheet needs OLD NEW OUT.png");
    const TBitmap old = LoadInput(args.Positional[0]), picture = LoadInput(args.Positional[1]);
    const int progress = args.Number("--progress", 50, 0, 100);
    // Cells at most 240 pixels wide, each with a strip for its number above it.
    const int cellWidth = std::min(picture.Width(), 240);
    const int cellHeight = std::max(1, picture.Height() * cellWidth / std::max(1, picture.Width()));
    const int label = 16, gap = 4, columns = 16, rows = 8;
    TBitmap sheet(columns * (cellWidth + gap) + gap, rows * (cellHeight + label + gap) + gap);
    FillRect(sheet, sheet.Bounds(), RGB(40, 40, 40));
    TFrameRequest request = Request(args);
    for (int style = 0; style < 128; ++style) {
        request.Style = style;
        const int x = gap + (style % columns) * (cellWidth + gap);
        const int y = gap + (style / columns) * (cellHeight + label + gap);
        ComposeFrames(old, picture, request, {progress}, [&](int, const TBitmap& frame) {
            StretchCopy(sheet, {x, y + label, x + cellWidth, y + label + cellHeight}, frame, frame.Bounds());
        });
        DrawDigits(sheet, x + 2, y + 3, std::to_string(style), 2, RGB(255, 255, 255));
    }
    WriteImageFile(args.Positional[2], sheet);
    return 0;
}

// A GIF with one 256-colour map per frame, chosen by median cut.
void WriteGif(const std::string& FileName, const std::vector<TBitmap>& Frames, int DelayMs)
{
    int error = 0;
    std::unique_ptr<GifFileType, void (*)(GifFileType*)> gif(EGifOpenFileName(FileName.c_str(), false, &error),
                                                             [](GifFileType* g) {
                                                                 int ignored = 0;
                                                                 if (g)
                                                                     EGifCloseFile(g, &ignored);
                                                             });
    if (!gif)
        throw std::runtime_error("cannot create \"" + FileName + "\": " + GifErrorString(error));
    const int w = Frames.front().Width(), h = Frames.front().Height();
    EGifSetGifVersion(gif.get(), true);
    if (EGifPutScreenDesc(gif.get(), w, h, 8, 0, nullptr) == GIF_ERROR)
        throw std::runtime_error("cannot write \"" + FileName + "\"");
    const unsigned char loop[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'}, forever[] = {1, 0, 0};
    EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif.get(), sizeof loop, loop);
    EGifPutExtensionBlock(gif.get(), sizeof forever, forever);
    EGifPutExtensionTrailer(gif.get());
    const std::size_t n = static_cast<std::size_t>(w) * h;
    std::vector<GifByteType> red(n), green(n), blue(n), indices(n);
    for (const TBitmap& frame : Frames) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = frame.ScanLine(y) + x * 3;
                const std::size_t i = static_cast<std::size_t>(y) * w + x;
                blue[i] = p[0];
                green[i] = p[1];
                red[i] = p[2];
            }
        int colours = 256;
        GifColorType palette[256];
        if (GifQuantizeBuffer(w, h, &colours, red.data(), green.data(), blue.data(), indices.data(), palette) ==
            GIF_ERROR)
            throw std::runtime_error("cannot reduce a frame to 256 colours");
        std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(GifMakeMapObject(256, palette), GifFreeMapObject);
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, DelayMs / 10, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension);
        if (EGifPutImageDesc(gif.get(), 0, 0, w, h, false, map.get()) == GIF_ERROR)
            throw std::runtime_error("cannot write \"" + FileName + "\"");
        for (int y = 0; y < h; ++y)
            if (EGifPutLine(gif.get(), indices.data() + static_cast<std::size_t>(y) * w, w) == GIF_ERROR)
                throw std::runtime_error("cannot write \"" + FileName + "\"");
    }
    GifFileType* raw = gif.release();
    if (EGifCloseFile(raw, &error) == GIF_ERROR)
        throw std::runtime_error("cannot write \"" + FileName + "\": " + GifErrorString(error));
}

int RunAnimate(const std::vector<std::string>& Arguments)
{
    const TArguments args(Arguments, {"--style", "--step", "--seed"});
    if (args.Positional.size() != 3)
        throw std::runtime_error("animate needs OLD NEW OUT.gif (or an output folder)");
    const TBitmap old = LoadInput(args.Positional[0]), picture = LoadInput(args.Positional[1]);
    const TFrameRequest request = Request(args);
    std::vector<int> progresses;
    const int step = std::clamp(request.Step, 1, 100);
    for (int p = 0; p < 100; p += step)
        progresses.push_back(p);
    progresses.push_back(100);
    std::vector<TBitmap> frames;
    ComposeFrames(old, picture, request, progresses, [&](int, const TBitmap& frame) { frames.push_back(frame); });
    const std::string& out = args.Positional[2];
    if (out.ends_with(".gif") || out.ends_with(".GIF")) {
        WriteGif(out, frames, 40);
        return 0;
    }
    std::filesystem::create_directories(out);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "frame%03zu.png", i);
        WriteImageFile((std::filesystem::path(out) / name).string(), frames[i]);
    }
    return 0;
}

const bool registered = RegisterCommand({"frame", "--style N --progress P [--step S] [--seed K] OLD NEW OUT", RunFrame}) &&
                        RegisterCommand({"sheet", "--progress P [--step S] [--seed K] OLD NEW OUT.png", RunSheet}) &&
                        RegisterCommand({"animate", "--style N [--step S] [--seed K] OLD NEW OUT.gif|OUTDIR", RunAnimate});

}  // namespace

}  // namespace spindrel::render
