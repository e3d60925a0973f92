// One picture slide prepared as the show prepares it: the member read from a media
// archive on disk, decoded as JPEG, resampled to the FitRect target and drawn on a
// copy of a screen-sized background. Arguments: picture width, height, screen width, height.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "bench/PhotoJpeg.h"
#include "platform/files/FileStream.h"
#include "saver/PictureSlide.h"

using namespace spindrel;

namespace {

// A media archive holding one camera photo after a few other bytes, removed at the end of the run.
class TOnePhotoArchive {
public:
    TOnePhotoArchive(int Width, int Height)
        : FFolder(std::filesystem::temp_directory_path() /
                  ("spindrel-slide-bench-" + std::to_string(std::random_device()())))
    {
        std::filesystem::create_directories(FFolder);
        const fixtures::TFileBytes& photo = bench::PhotoJpeg(Width, Height);
        const std::vector<std::uint8_t> before(4096, 0x5A);
        TFileStream archive(Name(), TFileMode::Create);
        archive.Write(before.data(), before.size());
        archive.Write(photo.data(), photo.size());
        Item.Name = "photo";
        Item.Path = "photo.jpg";
        Item.Kind = KindPicture;
        Item.Location = static_cast<std::int32_t>(before.size());
        Item.Size = static_cast<std::int32_t>(photo.size());
    }
    ~TOnePhotoArchive()
    {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }
    TOnePhotoArchive(const TOnePhotoArchive&) = delete;
    TOnePhotoArchive& operator=(const TOnePhotoArchive&) = delete;

    std::string Name() const { return (FFolder / "saver.mda").string(); }
    std::string Folder() const { return FFolder.string(); }

    TItemRecord Item;

private:
    std::filesystem::path FFolder;
};

void PictureSlide(benchmark::State& State)
{
    const int w = static_cast<int>(State.range(0)), h = static_cast<int>(State.range(1));
    const int sw = static_cast<int>(State.range(2)), sh = static_cast<int>(State.range(3));
    const TOnePhotoArchive archive(w, h);
    const TShowPaths paths{archive.Name(), archive.Folder(), archive.Folder()};
    TSettingsRecord settings;
    settings.ImageEnlargeFit = 1;
    settings.BackgroundFillKind = 1;  // a gradient, so the copy of the background is real work
    const TBitmap background = PaintBackgroundBitmap(settings, paths, sw, sh);
    TBitmap screen;
    std::string error;
    for (auto _ : State) {
        if (!ComposePictureSlide(archive.Item, settings, paths, background, nullptr, screen, error)) {
            State.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(screen.Bits());
    }
    State.counters["member_MB"] = static_cast<double>(archive.Item.Size) / 1e6;
}

}  // namespace

BENCHMARK(PictureSlide)
    ->Args({4000, 3000, 1920, 1080})
    ->Args({4000, 3000, 3840, 2160})
    ->Args({6000, 4000, 1920, 1080})
    ->Args({6000, 4000, 3840, 2160})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
