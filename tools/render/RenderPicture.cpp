// spindrel-render picture: decodes a file with the general picture loader and,
// with --fit, resamples it into the FitRect target as the show prepares a slide.
#include <stdexcept>

#include "platform/picture/PictureLoader.h"
#include "platform/picture/UnitPHOGraphic.h"
#include "saver/SlidePicture.h"
#include "tools/render/Commands.h"
#include "tools/render/ImageFiles.h"

namespace spindrel::render {

namespace {

int RunPicture(const std::vector<std::string>& Arguments)
{
    std::vector<std::string> files;
    int boxWidth = 0, boxHeight = 0;
    for (std::size_t i = 0; i < Arguments.size(); ++i) {
        if (Arguments[i] == "--fit") {
            if (i + 1 >= Arguments.size())
                throw std::runtime_error("--fit needs a size such as 1920x1080");
            ParseSize(Arguments[++i], boxWidth, boxHeight);
        } else if (Arguments[i].rfind("--", 0) == 0) {
            throw std::runtime_error("unknown option " + Arguments[i]);
        } else {
            files.push_back(Arguments[i]);
        }
    }
    if (files.size() != 2)
        throw std::runtime_error("picture takes IN and OUT");

    RegisterPHOGraphic();  // as the setup program does at start
    TBitmap picture;
    const TPictureResult loaded = boxWidth > 0 ? LoadSlidePicture(files[0], boxWidth, boxHeight, true, picture)
                                               : LoadPicture(files[0], picture);
    if (!loaded.Ok())
        throw std::runtime_error(loaded.Message);
    WriteImageFile(files[1], picture);
    return 0;
}

const bool registered = RegisterCommand({"picture", "IN OUT.bmp|OUT.png [--fit WxH]", &RunPicture});

}  // namespace

}  // namespace spindrel::render
