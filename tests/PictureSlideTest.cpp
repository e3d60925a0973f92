// The screen image of a picture slide and the show's background, composed from
// small archives and files in a scratch folder on a 64 x 48 screen.
#include <gtest/gtest.h>

#include <filesystem>

#include "datafiles/MediaArchive.h"
#include "platform/files/FileStream.h"
#include "platform/graphics/Resample.h"
#include "saver/PictureSlide.h"
#include "shared/UnitBackground.h"
#include "tests/PictureFixtures.h"
#include "tests/SettingsFixture.h"

using namespace spindrel;
using namespace spindrel::fixtures;
using namespace spindrel::testing;

namespace {

constexpr int ScreenWidth = 64;
constexpr int ScreenHeight = 48;
constexpr int JpegTolerance = 6;  // a smooth picture at quality 100 without chroma subsampling

// Smooth enough for JPEG to keep it within a few levels.
TBitmap Smooth(int Width, int Height)
{
    TBitmap b(Width, Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            b.SetPixel(x, y,
                       RGB(static_cast<std::uint8_t>(40 + x * 180 / Width),
                           static_cast<std::uint8_t>(30 + y * 190 / Height), 90));
    return b;
}

TFileBytes Jpeg(const TBitmap& Picture) { return EncodeJpeg(Picture, {.Quality = 100, .FullChroma = true}); }

TBitmap Crop(const TBitmap& Source, const TRect& R)
{
    TBitmap part(R.Width(), R.Height());
    Draw(part, -R.Left, -R.Top, Source);
    return part;
}

TBitmap Resampled(const TBitmap& Source, int Width, int Height)
{
    TBitmap target(Width, Height);
    StretchPicture(Source, target);
    return target;
}

// Pixels outside Inside where Screen is not Background.
int ChangedOutside(const TBitmap& Screen, const TBitmap& Background, const TRect& Inside)
{
    int changed = 0;
    for (int y = 0; y < Screen.Height(); ++y)
        for (int x = 0; x < Screen.Width(); ++x) {
            const bool inside = x >= Inside.Left && x < Inside.Right && y >= Inside.Top && y < Inside.Bottom;
            changed += !inside && Screen.Pixel(x, y) != Background.Pixel(x, y);
        }
    return changed;
}

TItemRecord PictureItem(const std::string& Path, std::int32_t Location)
{
    TItemRecord item;
    item.Name = "caption";
    item.Path = Path;
    item.Kind = KindPicture;
    item.Location = Location;
    return item;
}

bool AllBlack(const TBitmap& Screen) { return Screen == TBitmap(Screen.Width(), Screen.Height()); }

class PictureSlide : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(Dir.Path() / "tmp");
        std::filesystem::create_directories(Dir.Path() / "exe");
        for (int y = 0; y < ScreenHeight; ++y)
            for (int x = 0; x < ScreenWidth; ++x)
                Background.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x * 4), 7, static_cast<std::uint8_t>(y * 5)));
        WriteBytes(Paths.ArchiveName, Archive);
    }

    // Appends a member to the archive; its item points at it.
    TItemRecord Member(const std::string& Name, const TFileBytes& Bytes)
    {
        TItemRecord item = PictureItem(Name, static_cast<std::int32_t>(Archive.size()));
        item.Size = static_cast<std::int32_t>(Bytes.size());
        Archive.insert(Archive.end(), Bytes.begin(), Bytes.end());
        WriteBytes(Paths.ArchiveName, Archive);
        return item;
    }

    TItemRecord DiskFile(const std::string& Name, const TFileBytes& Bytes)
    {
        WriteBytes(Dir.File(Name), Bytes);
        return PictureItem(Dir.File(Name), LocationDisk);
    }

    bool Compose(const TItemRecord& Item, TBitmap& Screen, const TRandomFunction& Random = nullptr)
    {
        Error = "untouched";
        const bool ok = ComposePictureSlide(Item, Settings, Paths, Background, Random, Screen, Error);
        EXPECT_EQ(Error.empty(), ok) << Error;
        return ok;
    }

    TScratchDir Dir;
    TShowPaths Paths{Dir.File("saver.mda"), Dir.File("tmp"), Dir.File("exe")};
    TFileBytes Archive = TFileBytes(100, 0xAB);  // no member starts at 0
    TSettingsRecord Settings;
    TBitmap Background{ScreenWidth, ScreenHeight};
    std::string Error;
};

}  // namespace

TEST_F(PictureSlide, ArchiveMemberIsReadByPositionAndSizeDecodedAsJpegAndCentred)
{
    const TBitmap photo = Smooth(32, 24);
    Member("first.jpg", Jpeg(Smooth(16, 16)));
    const TItemRecord item = Member("photo.png", Jpeg(photo));  // members are JPEG whatever their names say
    Member("after.jpg", Jpeg(Smooth(8, 8)));

    TBitmap screen;
    ASSERT_TRUE(Compose(item, screen));
    ASSERT_EQ(screen.Width(), ScreenWidth);
    ASSERT_EQ(screen.Height(), ScreenHeight);
    const TRect at{16, 12, 48, 36};
    EXPECT_LE(MaxDifference(Crop(screen, at), photo), JpegTolerance);
    EXPECT_EQ(ChangedOutside(screen, Background, at), 0);
}

TEST_F(PictureSlide, EnlargeFitScalesToTheLargestSizeThatFitsTheScreen)
{
    Settings.ImageEnlargeFit = 1;
    struct Row {
        int w, h;
        TRect at;
    };
    const Row rows[] = {
        {32, 24, {0, 0, 64, 48}},   // the same shape fills the screen
        {24, 32, {14, 0, 50, 48}},  // upright: full height, centred across
        {128, 32, {0, 16, 64, 32}},  // shrunk
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.w << "x" << r.h);
        const TBitmap photo = Smooth(r.w, r.h);
        TBitmap screen;
        ASSERT_TRUE(Compose(Member("fit.jpg", Jpeg(photo)), screen));
        EXPECT_LE(MaxDifference(Crop(screen, r.at), Resampled(photo, r.at.Width(), r.at.Height())), JpegTolerance);
        EXPECT_EQ(ChangedOutside(screen, Background, r.at), 0);
    }
}

TEST_F(PictureSlide, DiskPicturesAreCutCentredTiledOrPlacedAtRandom)
{
    const TBitmap large = Pattern(80, 60);
    TBitmap screen;
    ASSERT_TRUE(Compose(DiskFile("large.png", EncodePng(large)), screen));
    EXPECT_EQ(screen, Crop(large, {8, 6, 72, 54}));  // cut equally on all sides

    const TBitmap tile = Pattern(20, 15);
    const TItemRecord item = DiskFile("tile.png", EncodePng(tile));
    Settings.ImageTile = 1;
    Settings.ImageRandomPosition = 1;  // tiling wins
    ASSERT_TRUE(Compose(item, screen));
    TBitmap tiled(ScreenWidth, ScreenHeight);
    for (int y = 0; y < ScreenHeight; ++y)
        for (int x = 0; x < ScreenWidth; ++x)
            tiled.SetPixel(x, y, tile.Pixel(x % 20, y % 15));
    EXPECT_EQ(screen, tiled);

    Settings.ImageTile = 0;
    std::vector<int> asked;
    ASSERT_TRUE(Compose(item, screen, [&](int N) {
        asked.push_back(N);
        return asked.size() == 1 ? 7 : 3;
    }));
    EXPECT_EQ(asked, (std::vector<int>{44, 33}));
    EXPECT_EQ(Crop(screen, {7, 3, 27, 18}), tile);
    EXPECT_EQ(ChangedOutside(screen, Background, {7, 3, 27, 18}), 0);
}

TEST_F(PictureSlide, ProgramDirectoryPictureLoadsFromExeDir)
{
    const TBitmap picture = Pattern(10, 8);
    WriteBytes(ProgramDirPath(Paths.ExeDir, "intro.png"), EncodePng(picture));
    TBitmap screen;
    ASSERT_TRUE(Compose(PictureItem("intro.png", LocationProgramDir), screen));
    EXPECT_EQ(Crop(screen, {27, 20, 37, 28}), picture);
}

TEST_F(PictureSlide, MissingDiskFileIsABlackScreenHoweverPlaced)
{
    struct Row {
        std::uint8_t fit, tile, random;
    };
    for (const Row& r : {Row{0, 0, 0}, Row{1, 0, 0}, Row{0, 1, 0}, Row{0, 0, 1}}) {
        Settings.ImageEnlargeFit = r.fit;
        Settings.ImageTile = r.tile;
        Settings.ImageRandomPosition = r.random;
        for (const std::string& path : {Dir.File("gone.jpg"), std::string()}) {  // empty: a failed download
            TBitmap screen;
            ASSERT_TRUE(Compose(PictureItem(path, LocationDisk), screen, [](int) {
                return 0;
            }));
            EXPECT_EQ(screen.Width(), ScreenWidth);
            EXPECT_TRUE(AllBlack(screen)) << int(r.fit) << int(r.tile) << int(r.random) << " [" << path << "]";
        }
    }
}

TEST_F(PictureSlide, UnreadablePicturesFailWithAReasonAndNeverThrow)
{
    const TItemRecord png = Member("photo.jpg", EncodePng(Pattern(8, 8)));  // not decoded: members are JPEG
    TItemRecord pastTheEnd = Member("cut.jpg", Jpeg(Smooth(8, 8)));
    pastTheEnd.Size += 100000;
    TItemRecord cut = Member("cut.jpg", Jpeg(Smooth(32, 24)));
    cut.Size /= 2;
    WriteBytes(ProgramDirPath(Paths.ExeDir, "thin.png"), EncodePng(Pattern(1, 300)));
    // Decoded at a reduced scale, yet sized by the fit of its full size.
    const TItemRecord thinJpeg = Member("thin.jpg", Jpeg(Pattern(1, 300)));
    const TItemRecord flatJpeg = Member("flat.jpg", Jpeg(Pattern(1000, 3)));
    struct Row {
        const char* what;
        TItemRecord item;
        std::uint8_t fit = 0;
    };
    const Row rows[] = {
        {"a PNG member", png},
        {"a member running past the archive's end", pastTheEnd},
        {"half a JPEG", cut},
        {"a disk file that is no picture", DiskFile("junk.jpg", TFileBytes(50, 0x11))},
        {"a web address", PictureItem("http://127.0.0.1/x.jpg", LocationWeb)},
        {"an unknown location", PictureItem("x.jpg", -3)},
        {"a missing program-folder file", PictureItem("none.png", LocationProgramDir)},
        {"a path instead of a program-folder name",
         PictureItem("..\\thin.png", LocationProgramDir)},
        {"a folder in the name", PictureItem("exe\\thin.png", LocationProgramDir)},
        {"a drive in the name", PictureItem("C:thin.png", LocationProgramDir)},
        {"no name", PictureItem("", LocationProgramDir)},
        {"no pixels once fitted (1 x 300)", PictureItem("thin.png", LocationProgramDir), 1},
        {"no pixels once fitted, a JPEG (1 x 300)", thinJpeg, 1},
        {"no pixels once fitted, a JPEG (1000 x 3)", flatJpeg, 1},
    };
    for (const Row& r : rows) {
        Settings.ImageEnlargeFit = r.fit;
        TBitmap screen;
        bool ok = true;
        EXPECT_NO_THROW(ok = Compose(r.item, screen)) << r.what;
        EXPECT_FALSE(ok) << r.what;
    }

    const TItemRecord good = Member("good.jpg", Jpeg(Smooth(8, 8)));
    Paths.ArchiveName = Dir.File("none.mda");
    TBitmap screen;
    bool ok = true;
    EXPECT_NO_THROW(ok = Compose(good, screen));
    EXPECT_FALSE(ok);
    EXPECT_NE(Error.find("none.mda"), std::string::npos) << Error;
}

namespace {

// The painter set as the show sets it, painted afterwards, with PictureFile given directly.
TBitmap PaintedDirectly(const TSettingsRecord& Settings, const std::string& PictureFile)
{
    TBitmap canvas(ScreenWidth, ScreenHeight);
    TBackground painter(canvas, ScreenWidth, ScreenHeight);
    painter.SetFillKind(Settings.BackgroundFillKind);
    painter.SetStartColor(static_cast<TColor>(Settings.BackgroundStartColor));
    painter.SetEndColor(static_cast<TColor>(Settings.BackgroundEndColor));
    painter.SetSolidColor(static_cast<TColor>(Settings.BackgroundSolidColor));
    painter.SetDirection(Settings.BackgroundDirection);
    if (!Settings.BackgroundFile.empty()) {
        painter.SetPictureFile(PictureFile);
        painter.SetPictureMode(Settings.BackgroundPictureMode);
    }
    painter.Paint();
    return canvas;
}

TSettingsRecord BackgroundSettings(std::uint8_t FillKind, std::uint8_t Direction, std::uint8_t PictureMode = 0,
                                   const std::string& File = {}, std::int32_t Offset = LocationDisk)
{
    TSettingsRecord s;
    s.BackgroundFillKind = FillKind;
    s.BackgroundSolidColor = RGB(200, 30, 40);
    s.BackgroundStartColor = RGB(250, 240, 10);
    s.BackgroundEndColor = RGB(10, 20, 230);
    s.BackgroundDirection = Direction;
    s.BackgroundPictureMode = PictureMode;
    s.BackgroundFile = File;
    s.BackgroundOffset = Offset;
    return s;
}

}  // namespace

TEST_F(PictureSlide, BackgroundIsWhatThePainterSetInTheShowsOrderPaints)
{
    const std::string picture = Dir.File("wide.png");
    WriteBytes(picture, EncodePng(Pattern(32, 12)));
    const TSettingsRecord rows[] = {
        BackgroundSettings(0, 0),
        BackgroundSettings(1, 0), BackgroundSettings(1, 1), BackgroundSettings(1, 2), BackgroundSettings(1, 3),
        BackgroundSettings(1, 9),  // paints nothing itself: the gradient the colour setters painted stays
        BackgroundSettings(7, 0),  // paints nothing at all
        BackgroundSettings(2, 0, 0, picture), BackgroundSettings(2, 0, 1, picture),
        BackgroundSettings(2, 0, 2, picture),
        BackgroundSettings(2, 0, 5, picture),  // paints nothing itself: setting the file alone stretched it
        BackgroundSettings(2, 0, 1, Dir.File("gone.png")),
        BackgroundSettings(0, 0, 1, picture),  // the file is not looked at
    };
    for (const TSettingsRecord& s : rows) {
        SCOPED_TRACE(::testing::Message() << "fill " << int(s.BackgroundFillKind) << " direction "
                                          << int(s.BackgroundDirection) << " mode " << int(s.BackgroundPictureMode)
                                          << " [" << s.BackgroundFile << "]");
        const TBitmap painted = PaintBackgroundBitmap(s, Paths, ScreenWidth, ScreenHeight);
        EXPECT_EQ(painted, PaintedDirectly(s, s.BackgroundFile));
    }
    // The quirky rows above are not trivially black.
    EXPECT_FALSE(AllBlack(PaintBackgroundBitmap(rows[5], Paths, ScreenWidth, ScreenHeight)));
    EXPECT_FALSE(AllBlack(PaintBackgroundBitmap(rows[10], Paths, ScreenWidth, ScreenHeight)));
}

TEST_F(PictureSlide, BackgroundMemberIsExtractedForThePaintingAndDeletedAfterwards)
{
    const TFileBytes png = EncodePng(Pattern(16, 12));
    const TItemRecord member = Member("back.png", png);
    const std::string onDisk = Dir.File("back.png");
    WriteBytes(onDisk, png);
    TSettingsRecord s = BackgroundSettings(2, 0, 1, "back.png", member.Location);
    s.BackgroundSize = member.Size;

    const TBitmap painted = PaintBackgroundBitmap(s, Paths, ScreenWidth, ScreenHeight);
    EXPECT_EQ(painted, PaintedDirectly(s, onDisk));
    EXPECT_FALSE(AllBlack(painted));
    EXPECT_FALSE(FileExists(*TempMemberPath(Paths.TempDir, "back.png")));
}

TEST_F(PictureSlide, BackgroundPictureThatCannotBeHadPaintsBlackAndLeavesNoFile)
{
    const TItemRecord junk = Member("junk.png", TFileBytes(64, 0x5A));
    const TItemRecord png = Member("back.png", EncodePng(Pattern(16, 12)));
    const std::string junkOnDisk = Dir.File("junk.png");
    WriteBytes(junkOnDisk, TFileBytes(64, 0x5A));
    struct Row {
        const char* what;
        std::string file;
        std::int32_t offset, size;
        bool archiveMissing = false;
    };
    const Row rows[] = {
        {"a member that is no picture", "junk.png", junk.Location, junk.Size},
        {"a member past the archive's end", "back.png", png.Location, png.Size + 1},
        {"no archive", "back.png", png.Location, png.Size, true},
        {"a member name that climbs out", "..\\back.png", png.Location, png.Size},
        {"a disk file that is no picture", junkOnDisk, LocationDisk, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        TSettingsRecord s = BackgroundSettings(2, 0, 1, r.file, r.offset);
        s.BackgroundSize = r.size;
        TShowPaths paths = Paths;
        if (r.archiveMissing)
            paths.ArchiveName = Dir.File("none.mda");
        TBitmap painted;
        EXPECT_NO_THROW(painted = PaintBackgroundBitmap(s, paths, ScreenWidth, ScreenHeight));
        EXPECT_EQ(painted.Width(), ScreenWidth);
        EXPECT_TRUE(AllBlack(painted));
        if (r.offset != LocationDisk) {
            EXPECT_FALSE(FileExists(Paths.TempDir + "\\" + r.file));
        }
    }
    EXPECT_TRUE(FileExists(junkOnDisk));  // a disk picture is the user's, not ours to delete

    // Without the picture fill, a missing archive only means no picture: the solid colour stays.
    TSettingsRecord solid = BackgroundSettings(0, 0, 1, "back.png", png.Location);
    TShowPaths noArchive = Paths;
    noArchive.ArchiveName = Dir.File("none.mda");
    EXPECT_EQ(PaintBackgroundBitmap(solid, noArchive, ScreenWidth, ScreenHeight),
              PaintedDirectly(BackgroundSettings(0, 0), {}));
}
