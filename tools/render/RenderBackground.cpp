// spindrel-render background: paints a background with TBackground, setting its
// values in the order the show window does. Colours are given as 0xRRGGBB.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "shared/UnitBackground.h"
#include "tools/render/Commands.h"
#include "tools/render/ImageFiles.h"

namespace spindrel::render {

namespace {

TColor ParseColour(const std::string& Text)
{
    char* end = nullptr;
    const unsigned long v = std::strtoul(Text.c_str(), &end, 16);
    if (Text.empty() || *end != 0 || v > 0xFFFFFF)
        throw std::runtime_error("\"" + Text + "\" is not a colour such as 0xFF8000");
    return RGB(static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v));
}

// A number 0..255, or one of the names (their index).
std::uint8_t ParseChoice(const std::string& Option, const std::string& Text, const std::vector<std::string>& Names)
{
    for (std::size_t i = 0; i < Names.size(); ++i)
        if (Text == Names[i])
            return static_cast<std::uint8_t>(i);
    char* end = nullptr;
    const long v = std::strtol(Text.c_str(), &end, 10);
    if (Text.empty() || *end != 0 || v < 0 || v > 255)
        throw std::runtime_error(Option + " \"" + Text + "\" is not a number 0..255 or a known name");
    return static_cast<std::uint8_t>(v);
}

int RunBackground(const std::vector<std::string>& Arguments)
{
    std::map<std::string, std::string> values;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < Arguments.size(); ++i) {
        const std::string& a = Arguments[i];
        if (a.rfind("--", 0) != 0) {
            files.push_back(a);
            continue;
        }
        static const char* const known[] = {"--kind", "--start", "--end", "--direction", "--solid", "--file",
                                            "--mode", "--size"};
        if (std::find(std::begin(known), std::end(known), a) == std::end(known))
            throw std::runtime_error("unknown option " + a);
        if (i + 1 >= Arguments.size())
            throw std::runtime_error(a + " needs a value");
        values[a] = Arguments[++i];
    }
    if (files.size() != 1 || !values.count("--kind") || !values.count("--size"))
        throw std::runtime_error("background needs --kind, --size and OUT");
    int width = 0, height = 0;
    ParseSize(values["--size"], width, height);

    TBitmap canvas(width, height);
    TBackground painter(canvas, width, height);
    painter.SetFillKind(ParseChoice("--kind", values["--kind"], {"solid", "gradient", "picture"}));
    if (values.count("--start"))
        painter.SetStartColor(ParseColour(values["--start"]));
    if (values.count("--end"))
        painter.SetEndColor(ParseColour(values["--end"]));
    if (values.count("--solid"))
        painter.SetSolidColor(ParseColour(values["--solid"]));
    if (values.count("--direction"))
        painter.SetDirection(ParseChoice("--direction", values["--direction"],
                                         {"left", "right", "top", "bottom"}));
    if (values.count("--file"))
        painter.SetPictureFile(values["--file"]);
    if (values.count("--mode"))
        painter.SetPictureMode(ParseChoice("--mode", values["--mode"], {"stretched", "fitted", "tiled"}));
    painter.Paint();
    WriteImageFile(files[0], canvas);
    return 0;
}

const bool registered = RegisterCommand(
    {"background",
     "--kind solid|gradient|picture [--start 0xRRGGBB] [--end 0xRRGGBB] [--direction left|right|top|bottom] "
     "[--solid 0xRRGGBB] [--file F --mode stretched|fitted|tiled] --size WxH OUT.bmp|OUT.png",
     &RunBackground});

}  // namespace

}  // namespace spindrel::render
