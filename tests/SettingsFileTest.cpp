// The settings file: every field of every version, the encodings, round trips,
// damaged and hostile files, saving, and the setters.
#include <gtest/gtest.h>

#include <algorithm>

#include "datafiles/UnitSpindrelFile.h"
#include "platform/files/FileStream.h"
#include "tests/SettingsFixture.h"

using namespace spindrel;
using namespace spindrel::testing;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& Text) { return {Text.begin(), Text.end()}; }

// Opens Bytes as a settings file held in memory.
bool OpenBytes(TSpindrelFile& Settings, const std::vector<std::uint8_t>& Bytes)
{
    return Settings.OpenStream(std::make_unique<TMemoryStream>(Bytes), "memory.ssp");
}

std::vector<std::uint8_t> Composed(const TSpindrelFile& Settings)
{
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(Settings.Compose(bytes, error)) << error;
    return bytes;
}

void ExpectResetValues(const TSpindrelFile& s)
{
    const TSettingsRecord fresh;
    EXPECT_EQ(s.Title, "");
    EXPECT_EQ(s.ImageInterval, 15);
    EXPECT_EQ(s.MusicInterval, 5);
    EXPECT_EQ(s.BackgroundStartColor, 0xFFFFFF);
    EXPECT_EQ(s.BackgroundPictureMode, 1);
    EXPECT_EQ(s.Reserved2, 40);
    EXPECT_EQ(s.BannerOffset, -1);
    EXPECT_EQ(s.PreviewOffset, -1);
    EXPECT_EQ(s.TransitionStyles.Count, 0);
    EXPECT_EQ(s.CaptionFont, fresh.CaptionFont);
    EXPECT_EQ(s.CaptionFont.Style, 0);
    EXPECT_EQ(s.Version, 0x10005u);
    EXPECT_EQ(s.Slides.Count(), 0);
    EXPECT_EQ(s.Music.Count(), 0);
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        Existing = Dir.File("present.avi");
        WriteBytes(Existing, Bytes("clip"));
        Options.Slides = {
            {1, "In the archive", "sun.jpg", ".jpg", 0, 1234, 0, 0, 99},
            {3, "On disk", Existing, ".avi", -1, 0, 320, 240, 0},
            {2, "Beside the program", "intro.swf", ".swf", -2, 0, 550, 400, 0},
            {4, "On the web", "http://clips.example/a.rm", ".rm", -5, 0, 0, 0, 0},
        };
        Options.Music = {{5, "", "song.MP3", ".MP3", 1234, 5678, 0, 0, -7}};
    }

    // An item whose file on disk has gone, placed third: Load drops it.
    void AddGoneItem()
    {
        Options.Slides.insert(Options.Slides.begin() + 2,
                              {3, "Gone from disk", Dir.File("missing.AVI"), ".AVI", -1, 0, 0, 0, 0});
    }

    TScratchDir Dir;
    std::string Existing;
    TFixtureOptions Options;
};

TEST_F(SettingsFile, ReadsEveryFieldOfEveryVersion)
{
    AddGoneItem();
    for (std::uint32_t version : {0x10000u, 0x10001u, 0x10002u, 0x10003u, 0x10004u, 0x10005u, 0x20000u}) {
        SCOPED_TRACE(::testing::Message() << "version " << std::hex << version);
        Options.Version = version;
        TSpindrelFile s;
        ASSERT_TRUE(OpenBytes(s, SampleFile(Options))) << s.LastError();
        EXPECT_TRUE(s.Active());
        EXPECT_EQ(s.Magic, SettingsMagic);
        EXPECT_EQ(s.Version, version);
        EXPECT_EQ(s.Title, "Northern Lights");
        EXPECT_EQ(s.AuthorName, "Ada Author");
        EXPECT_EQ(s.Copyright, "\xA9 2026");
        EXPECT_EQ(s.WebSite, "https://lights.example");
        EXPECT_EQ(s.EMail, "ada@lights.example");
        EXPECT_EQ(s.DisableMouse, 1);
        EXPECT_EQ(s.DisableKeyPress, 0);
        EXPECT_EQ(s.CaptionLocation, 5);
        EXPECT_EQ(s.CaptionFont, (TFontRecord{"Arial", 0x00FF8040, 238, 14, FontBold | FontUnderline}));
        EXPECT_EQ(s.MediaPlayOrder, 1);
        EXPECT_EQ(s.ImageInterval, 21);
        EXPECT_EQ(s.ImageEnlargeFit, 1);
        EXPECT_EQ(s.ImageTile, 0);
        EXPECT_EQ(s.ImageRandomPosition, 1);
        EXPECT_EQ(s.MovieDisplaySize, 3);
        EXPECT_EQ(s.MovieRandomPosition, 1);
        EXPECT_EQ(s.MovieMute, 0);
        EXPECT_EQ(s.FlashDisplaySize, 6);
        EXPECT_EQ(s.FlashRandomPosition, 0);
        EXPECT_EQ(s.AutoFlip, 1);
        EXPECT_EQ(s.FlashAllowMouse, 1);
        EXPECT_EQ(s.MusicPlayOrder, 1);
        EXPECT_EQ(s.MusicInterval, 9);
        EXPECT_EQ(s.MusicRandomOne, 1);
        EXPECT_EQ(s.MusicMute, 0);
        EXPECT_EQ(s.BackgroundFillKind, 2);
        EXPECT_EQ(s.BackgroundSolidColor, 0x112233);
        EXPECT_EQ(s.Reserved1, 200);
        EXPECT_EQ(s.BackgroundStartColor, 0x445566);
        EXPECT_EQ(s.BackgroundEndColor, 0x778899);
        EXPECT_EQ(s.BackgroundDirection, 3);
        EXPECT_EQ(s.BackgroundFile, "back.jpg");
        EXPECT_EQ(s.BackgroundOffset, 1000);
        EXPECT_EQ(s.BackgroundSize, 2000);
        EXPECT_EQ(s.BackgroundPictureMode, 2);
        EXPECT_EQ(s.Reserved2, -40);
        EXPECT_EQ(s.TransitionOrder, 1);
        std::int32_t styles[256] = {};
        ASSERT_EQ(s.GetTransitionStyles(styles), 4);
        EXPECT_EQ(std::vector<std::int32_t>(styles, styles + 4), (std::vector<std::int32_t>{3, 127, 0, 64}));
        EXPECT_EQ(s.Note, "A note for the options dialog.");
        EXPECT_EQ(s.BannerFile, "banner.bmp");
        EXPECT_EQ(s.Reserved3, "r3");
        EXPECT_EQ(s.Reserved4, "");
        EXPECT_EQ(s.Reserved5, "r5");
        EXPECT_EQ(s.Reserved6, "r6");
        EXPECT_EQ(s.Reserved7, 17);
        EXPECT_EQ(s.ShowOptionsPage, 1);
        EXPECT_EQ(s.ShowBanner, 0);
        EXPECT_EQ(std::vector<int>({s.Reserved8, s.Reserved9, s.Reserved10, s.Reserved11, s.Reserved12}),
                  std::vector<int>({8, 9, 10, 11, 12}));
        EXPECT_EQ(s.Reserved13, -13);
        EXPECT_EQ(s.BannerSize, 3000);
        EXPECT_EQ(s.BannerOffset, 4000);
        EXPECT_EQ(s.PreviewFile, "C:\\preview.avi");
        EXPECT_EQ(s.ShowPreview, 1);
        EXPECT_EQ(s.PreviewSize, 5000);
        EXPECT_EQ(s.PreviewOffset, -1);
        EXPECT_EQ(s.Reserved14, version >= 0x10001 ? 7 : 0);
        EXPECT_EQ(s.ThemeName, version >= 0x10005 ? "Aurora" : "");

        // The missing file on disk is dropped; the other locations are kept whatever Path names.
        ASSERT_EQ(s.Slides.Count(), 4);
        const std::vector<std::string> kept = {"In the archive", "On disk", "Beside the program", "On the web"};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(s.Slides[i].Name, kept[static_cast<std::size_t>(i)]);
        EXPECT_EQ(s.Slides[0], (TItemRecord{"In the archive", "sun.jpg", ".jpg", 1, 0, 1234, 0, 0, 99}));
        EXPECT_EQ(s.Slides[1].Width, 320);
        EXPECT_EQ(s.Slides[3].Location, -5);
        ASSERT_EQ(s.Music.Count(), 1);
        EXPECT_EQ(s.Music[0], (TItemRecord{"", "song.MP3", ".MP3", 5, 1234, 5678, 0, 0, -7}));
    }
}

TEST_F(SettingsFile, OldFilesTakeExtFromPathInItsLetterCase)
{
    Options.Version = 0x10000;
    for (TFixtureItem& item : Options.Slides)
        item.Ext = "never read";
    Options.Slides.push_back({1, "", "C:\\dotted.dir\\noext", "", -2, 0, 0, 0, 0});
    TSpindrelFile s;
    ASSERT_TRUE(OpenBytes(s, SampleFile(Options)));
    ASSERT_EQ(s.Slides.Count(), 5);
    EXPECT_EQ(s.Slides[0].Ext, ".jpg");
    EXPECT_EQ(s.Slides[1].Ext, ".avi");
    EXPECT_EQ(s.Slides[2].Ext, ".swf");
    EXPECT_EQ(s.Slides[3].Ext, ".rm");
    EXPECT_EQ(s.Slides[4].Ext, "");
    EXPECT_EQ(s.Music[0].Ext, ".MP3");
}

TEST_F(SettingsFile, RewritesACurrentFileByteForByte)
{
    const std::vector<std::uint8_t> original = SampleFile(Options);
    TSpindrelFile s;
    ASSERT_TRUE(OpenBytes(s, original));
    EXPECT_EQ(Composed(s), original);
}

TEST_F(SettingsFile, RewritesAnOldFileAsTheCurrentVersion)
{
    TFixtureOptions expected = Options;
    expected.Reserved14 = 0;
    expected.ThemeName = "";
    AddGoneItem();
    TFixtureOptions old = Options;
    old.Version = 0x10000;

    const std::string name = Dir.File("old.ssp");
    WriteBytes(name, SampleFile(old));
    {
        TSpindrelFile s;
        ASSERT_TRUE(s.Open(name, true)) << s.LastError();
        ASSERT_TRUE(s.Save()) << s.LastError();
        EXPECT_EQ(s.Version, 0x10005u);
    }
    EXPECT_EQ(ReadBytes(name), SampleFile(expected));
}

TEST_F(SettingsFile, FlagsAndBytesKeepTheirStoredLowByte)
{
    struct Row {
        std::int32_t stored;
        std::uint8_t loaded;
    };
    for (const Row row : {Row{256, 0}, Row{2, 2}, Row{0x1FF, 255}, Row{-1, 255}}) {
        Options.DisableMouse = row.stored;
        TSpindrelFile s;
        ASSERT_TRUE(OpenBytes(s, SampleFile(Options)));
        EXPECT_EQ(s.DisableMouse, row.loaded) << row.stored;
        Options.DisableMouse = row.loaded;  // written back as the byte itself
        EXPECT_EQ(Composed(s), SampleFile(Options)) << row.stored;
    }
}

TEST_F(SettingsFile, StyleCountsOfNoneAndBelowReadNoStyles)
{
    for (std::int32_t count : {0, -3}) {
        Options.Styles.clear();
        Options.StyleCount = count;
        const std::vector<std::uint8_t> file = SampleFile(Options);
        TSpindrelFile s;
        ASSERT_TRUE(OpenBytes(s, file)) << s.LastError();
        std::int32_t styles[256];
        EXPECT_EQ(s.GetTransitionStyles(styles), 0) << count;
        EXPECT_EQ(s.Note, "A note for the options dialog.");  // no value was taken for a style
        EXPECT_EQ(Composed(s), file) << "the stored count is kept for rewriting";
    }
}

TEST_F(SettingsFile, StringsEndAtAZeroAndFontStylesKeepFourBits)
{
    // Title is "Northern Lights"; a stored 0 in its fourth byte cuts it there.
    std::vector<std::uint8_t> file = SampleFile(Options);
    file[TitleCountAt + 4 + 3] = 0xFF;  // ~0xFF == 0
    TSpindrelFile s;
    ASSERT_TRUE(OpenBytes(s, file));
    EXPECT_EQ(s.Title, "Nor");
    EXPECT_EQ(s.AuthorName, "Ada Author");  // the whole count was still consumed

    s.CaptionFont.Style = 0xFF;
    s.CaptionFont.Charset = 0x10;
    TSpindrelFile again;
    ASSERT_TRUE(OpenBytes(again, Composed(s)));
    EXPECT_EQ(again.CaptionFont.Style, FontStyleMask);
    EXPECT_EQ(again.Title, "Nor");
}

TEST_F(SettingsFile, AWrongMagicNumberLeavesTheResetValues)
{
    std::vector<std::uint8_t> file = SampleFile(Options);
    file[0] = 0x12;
    TSpindrelFile s;
    EXPECT_TRUE(OpenBytes(s, file));
    EXPECT_TRUE(s.Active());
    EXPECT_NE(s.Magic, SettingsMagic);
    ExpectResetValues(s);
}

TEST_F(SettingsFile, EveryTruncationFailsCleanly)
{
    Options.Slides.erase(Options.Slides.begin() + 1);  // no disk look-ups
    const std::vector<std::uint8_t> file = SampleFile(Options);
    for (std::size_t length = 0; length < file.size(); ++length) {
        TSpindrelFile s;
        s.ThemeName = "before";
        const std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_FALSE(OpenBytes(s, cut)) << length;
        EXPECT_FALSE(s.Active());
        EXPECT_EQ(s.Stream(), nullptr);
        EXPECT_NE(s.LastError().find("ends at byte " + std::to_string(length)), std::string::npos) << s.LastError();
        EXPECT_EQ(s.ThemeName, "before");
        ExpectResetValues(s);
    }
}

TEST_F(SettingsFile, HostileCountsAreRefusedWithAReason)
{
    struct Row {
        std::optional<std::uint32_t> titleCount;
        std::optional<std::int32_t> styleCount, slideCount;
        const char* reason;
    };
    const Row rows[] = {
        {0xFFFFFFFF, {}, {}, "Title has a length of -1"},
        {256, {}, {}, "Title has a length of 256"},
        {0x7FFFFFFF, {}, {}, "outside 0..255"},
        {{}, 257, {}, "TransitionStyles counts 257"},
        {{}, 0x7FFFFFFF, {}, "more than 256"},
        {{}, {}, 0x7FFFFFFF, "ends at byte"},
    };
    for (const Row& row : rows) {
        TFixtureOptions options = Options;
        options.Music.clear();  // so a runaway slide count meets the end of the file
        options.StyleCount = row.styleCount;
        options.SlideCount = row.slideCount;
        std::vector<std::uint8_t> file = SampleFile(options);
        for (int i = 0; row.titleCount && i < 4; ++i)
            file[TitleCountAt + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(*row.titleCount >> (8 * i));
        TSpindrelFile s;
        EXPECT_FALSE(OpenBytes(s, file)) << row.reason;
        EXPECT_NE(s.LastError().find(row.reason), std::string::npos) << s.LastError();
        ExpectResetValues(s);
    }

    Options.SlideCount = -4;  // a negative item count is an empty list
    Options.Slides.clear();
    TSpindrelFile s;
    ASSERT_TRUE(OpenBytes(s, SampleFile(Options))) << s.LastError();
    EXPECT_EQ(s.Slides.Count(), 0);
    EXPECT_EQ(s.Music.Count(), 1);
}

TEST_F(SettingsFile, SaveRefusesWhatCouldNotBeReadBackAndLeavesTheFile)
{
    const std::string name = Dir.File("saver.ssp");
    const std::vector<std::uint8_t> original = SampleFile(Options);
    WriteBytes(name, original);
    TSpindrelFile s;
    ASSERT_TRUE(s.Open(name, true));
    for (auto spoil : {+[](TSpindrelFile& f) { f.Note = std::string(256, 'n'); },
                       +[](TSpindrelFile& f) { f.CaptionFont.Name = std::string(300, 'f'); },
                       +[](TSpindrelFile& f) { f.Music.Add().Path = std::string(256, 'p'); }}) {
        TSpindrelFile copy;
        ASSERT_TRUE(copy.Open(name, true));
        spoil(copy);
        EXPECT_FALSE(copy.Save());
        EXPECT_NE(copy.LastError().find("at most 255"), std::string::npos) << copy.LastError();
        EXPECT_FALSE(copy.Store());
    }
    EXPECT_EQ(ReadBytes(name), original);

    s.Note = std::string(255, 'n');  // the longest text that reads back
    ASSERT_TRUE(s.Save()) << s.LastError();
    TSpindrelFile back;
    ASSERT_TRUE(back.Open(name, false));
    EXPECT_EQ(back.Note, std::string(255, 'n'));
}

TEST_F(SettingsFile, SaveNeedsAFileOpenForWriting)
{
    const std::string name = Dir.File("saver.ssp");
    const std::vector<std::uint8_t> original = SampleFile(Options);
    WriteBytes(name, original);

    TSpindrelFile readOnly;
    ASSERT_TRUE(readOnly.Open(name, false));
    readOnly.SetImageInterval(30);
    EXPECT_FALSE(readOnly.Save());
    EXPECT_NE(readOnly.LastError(), "");
    EXPECT_EQ(ReadBytes(name), original);

    TSpindrelFile closed;
    EXPECT_FALSE(closed.Save());
    EXPECT_FALSE(closed.Open(Dir.File("absent.ssp"), true));
    EXPECT_EQ(closed.FileName(), Dir.File("absent.ssp"));  // remembered even when the open fails
    EXPECT_FALSE(closed.Save());
}

TEST_F(SettingsFile, ShrinkingSaveTruncatesTheFile)
{
    const std::string name = Dir.File("saver.ssp");
    WriteBytes(name, SampleFile(Options));
    TSpindrelFile s;
    ASSERT_TRUE(s.Open(name, true));
    s.Slides.Clear();
    s.Note.clear();
    ASSERT_TRUE(s.Save());
    const std::vector<std::uint8_t> expected = Composed(s);
    s.Close();
    EXPECT_EQ(ReadBytes(name), expected);
}

TEST_F(SettingsFile, CloseResetsButKeepsReserved14AndThemeName)
{
    const std::string name = Dir.File("saver.ssp");
    WriteBytes(name, SampleFile(Options));
    TSpindrelFile s;
    ASSERT_TRUE(s.Open(name, false));
    EXPECT_EQ(s.FileName(), name);
    EXPECT_TRUE(s.Close());
    EXPECT_FALSE(s.Active());
    EXPECT_EQ(s.FileName(), "");
    EXPECT_EQ(s.Stream(), nullptr);
    ExpectResetValues(s);
    EXPECT_EQ(s.Reserved14, 7);
    EXPECT_EQ(s.ThemeName, "Aurora");
    EXPECT_TRUE(s.Close());  // twice is harmless
    EXPECT_FALSE(s.Save());
}

TEST_F(SettingsFile, OpeningAgainReplacesTheItemsRatherThanAddingToThem)
{
    const std::string name = Dir.File("saver.ssp");
    WriteBytes(name, SampleFile(Options));
    TSpindrelFile s;
    ASSERT_TRUE(s.Open(name, false));
    ASSERT_TRUE(s.Open(name, false));
    EXPECT_EQ(s.Slides.Count(), 4);
}

TEST(SettingsSetters, RaiseOnChangeOnlyForAChange)
{
    TSpindrelFile s;
    int changes = 0;
    s.SetImageInterval(20);  // no handler yet
    s.OnChange = [&](TSpindrelFile& sender) {
        EXPECT_EQ(&sender, &s);
        ++changes;
    };
    s.SetImageInterval(20);
    s.SetMusicMute(false);
    s.SetCaptionLocation(0);
    EXPECT_EQ(changes, 0);
    s.SetImageInterval(21);
    s.SetMusicMute(true);
    s.SetCaptionLocation(6);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(s.ImageInterval, 21);
    EXPECT_EQ(s.MusicMute, 1);

    s.DisableMouse = 2;  // as a file may store it: true, and kept while it stays true
    s.SetDisableMouse(true);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(s.DisableMouse, 2);
    s.SetDisableMouse(false);
    EXPECT_EQ(s.DisableMouse, 0);
    EXPECT_EQ(changes, 4);

    s.SetCaptionFont(s.CaptionFont);  // the font setter always reports
    EXPECT_EQ(changes, 5);
}

TEST(ItemList, AddsCopiesAndAnswersKindQueries)
{
    TItemList list;
    int changes = 0;
    list.OnChange = [&](TItemList&) { ++changes; };
    EXPECT_FALSE(list.HasPictures() || list.HasFlash() || list.HasMovies() || list.HasRealMedia());

    TItemRecord& first = list.Add();
    first.Kind = KindRealMedia;
    first.Path = "a.rm";
    TItemRecord& second = list.Add();
    second.Kind = KindAudio;
    EXPECT_EQ(first.Path, "a.rm");  // still valid after a later Add
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(list.HasMovies());  // RealMedia alone counts as a movie
    EXPECT_TRUE(list.HasRealMedia());
    EXPECT_FALSE(list.HasPictures() || list.HasFlash());

    TItemRecord out;
    out.Name = "unchanged";
    list.Get(2, out);
    list.Get(-1, out);
    EXPECT_EQ(out.Name, "unchanged");
    list.Get(0, out);
    EXPECT_EQ(out.Path, "a.rm");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
