// spindrel-demo-pictures OUTDIR: paints the demo saver's pictures and writes them
// as JPEG files, so the demo needs no picture files in the repository.
#include <filesystem>
#include <iostream>

#include "tools/demo/DemoCanvas.h"
#include "tools/demo/DemoScenes.h"
#include "tools/demo/JpegFile.h"

int main(int argc, char** argv)
{
    using namespace spindrel::demo;
    if (argc != 2) {
        std::cerr << "usage: spindrel-demo-pictures OUTDIR\n";
        return 1;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    struct TPicture {
        const char* Name;
        void (*Paint)(TCanvas&);
    };
    const TPicture pictures[] = {
        {"welcome.jpg", PaintWelcome}, {"dawn.jpg", PaintDawn},     {"tide.jpg", PaintTide},
        {"meadow.jpg", PaintMeadow},   {"shapes.jpg", PaintShapes}, {"lantern.jpg", PaintLantern},
    };
    for (const TPicture& picture : pictures) {
        TCanvas canvas(1920, 1080);
        picture.Paint(canvas);
        if (!WriteJpeg(dir / picture.Name, canvas)) {
            std::cerr << "spindrel-demo-pictures: cannot write " << (dir / picture.Name).string() << "\n";
            return 1;
        }
    }
    return 0;
}
