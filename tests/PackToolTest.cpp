// spindrel-pack's library: JSON dumps, manifests and Windows-1252 texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "datafiles/UnitSpindrelFile.h"
#include "tools/pack/PackBuild.h"
#include "tools/pack/SettingsJson.h"
#include "tools/pack/Windows1252.h"
#include "tests/SettingsFixture.h"

using namespace spindrel;
using namespace spindrel::testing;

namespace {

TEST(Windows1252, EveryByteSurvivesTheTripThroughUnicode)
{
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);
    EXPECT_EQ(Windows1252ToUtf8("\x80\xA9\x9F"), "\u20AC\u00A9\u0178");
    EXPECT_EQ(Utf8ToWindows1252("\u0100"), std::nullopt);       // not in the code page
    EXPECT_EQ(Utf8ToWindows1252("\xC3"), std::nullopt);         // cut short
    EXPECT_EQ(Utf8ToWindows1252("\xC0\xAF"), std::nullopt);     // overlong
    EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), std::nullopt); // a surrogate
}

TEST(SettingsJson, NamesEveryFieldInFileOrder)
{
    TFixtureOptions options;
    options.Music = {{5, "Caf\xE9", "song.mp3", ".mp3", 0, 10, 0, 0, 3}};
    TSpindrelFile s;
    ASSERT_TRUE(s.OpenStream(std::make_unique<TMemoryStream>(SampleFile(options)), "sample.ssp"));
    const TJson json = SettingsToJson(s);

    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items())
        keys.push_back(key);
    ASSERT_EQ(keys.size(), 65u);
    EXPECT_EQ(keys.front(), "Magic");
    EXPECT_EQ(keys[1], "Version");
    EXPECT_EQ(keys[55], "BannerSize");
    EXPECT_EQ(keys[56], "BannerOffset");
    EXPECT_EQ(keys[61], "Reserved14");
    EXPECT_EQ(keys[62], "ThemeName");
    EXPECT_EQ(keys[63], "Slides");
    EXPECT_EQ(keys[64], "Music");

    EXPECT_EQ(json["Magic"], -1114130);
    EXPECT_EQ(json["Version"], 0x10005);
    EXPECT_EQ(json["Copyright"], "\u00A9 2026");
    EXPECT_EQ(json["TransitionStyles"], TJson::parse("[3, 127, 0, 64]"));
    EXPECT_EQ(json["CaptionFont"],
              TJson::parse(R"({"Name": "Arial", "Color": 16744512, "Charset": 238, "Size": 14, "Style": 5})"));
    EXPECT_EQ(json["Music"], TJson::parse(R"([{"Kind": 5, "Name": "Café", "Path": "song.mp3", "Ext": ".mp3",
        "Location": 0, "Size": 10, "Width": 0, "Height": 0, "Reserved": 3}])"));
}

class PackBuild : public ::testing::Test {
protected:
    void Write(const std::string& Name, const std::string& Text)
    {
        std::filesystem::create_directories((Dir.Path() / Name).parent_path());
        std::ofstream(Dir.File(Name), std::ios::binary) << Text;
    }
    std::string Jpeg(const std::string& Tail) { return std::string("\xFF\xD8\xFF\xE0", 4) + Tail; }
    void Build(const std::string& Manifest)
    {
        Write("saver.json", Manifest);
        BuildPackage(Dir.File("saver.json"), Dir.File("out"));
    }
    std::string BuildError(const std::string& Manifest)
    {
        try {
            Build(Manifest);
        } catch (const std::exception& error) {
            return error.what();
        }
        return "(built)";
    }

    TScratchDir Dir;
};

TEST_F(PackBuild, LaysMembersOutInListOrder)
{
    Write("pics/one.jpg", Jpeg("first"));
    Write("pics/two.JPG", Jpeg("second!"));
    Write("tunes/song.mp3", "ID3 music");
    Write("back.png", "a png");
    Build(R"({
        "Title": "Tr\u00e8s bien", "ImageInterval": 7, "ShowBanner": true, "TransitionStyles": [5, 6],
        "CaptionFont": {"Name": "Tahoma", "Size": 12},
        "Slides": [{"Source": "pics/one.jpg", "Name": "One"},
                   {"Kind": 3, "Location": -1, "Path": "C:\\clips\\x.avi"},
                   {"Source": "pics/two.JPG", "Width": 9}],
        "Music": [{"Source": "tunes/song.mp3"}],
        "BackgroundSource": "back.png"
    })");

    TSpindrelFile s;
    ASSERT_TRUE(s.OpenStream(std::make_unique<TMemoryStream>(ReadBytes(Dir.File("out/saver.ssp"))), "saver.ssp"))
        << s.LastError();
    EXPECT_EQ(s.Title, "Tr\xE8s bien");
    EXPECT_EQ(s.ImageInterval, 7);
    EXPECT_EQ(s.ShowBanner, 1);
    EXPECT_EQ(s.TransitionStyles.Count, 2);
    EXPECT_EQ(s.CaptionFont.Name, "Tahoma");
    EXPECT_EQ(s.CaptionFont.Size, 12);
    EXPECT_EQ(s.BackgroundPictureMode, 1);  // untouched fields keep their reset values

    ASSERT_EQ(s.Slides.Count(), 2);  // the disk item's file is not on this machine
    EXPECT_EQ(s.Slides[0], (TItemRecord{"One", "one.jpg", ".jpg", KindPicture, 0, 9, 0, 0, 0}));
    EXPECT_EQ(s.Slides[1], (TItemRecord{"", "two.JPG", ".JPG", KindPicture, 9, 11, 9, 0, 0}));
    ASSERT_EQ(s.Music.Count(), 1);
    EXPECT_EQ(s.Music[0], (TItemRecord{"", "song.mp3", ".mp3", KindAudio, 20, 9, 0, 0, 0}));
    EXPECT_EQ(s.BackgroundFile, "back.png");
    EXPECT_EQ(s.BackgroundOffset, 29);
    EXPECT_EQ(s.BackgroundSize, 5);

    const std::vector<std::uint8_t> archive = ReadBytes(Dir.File("out/saver.mda"));
    const std::string text(archive.begin(), archive.end());
    EXPECT_EQ(text, Jpeg("first") + Jpeg("second!") + "ID3 music" + "a png");
}

TEST_F(PackBuild, RefusesBadManifestsAndWritesNothing)
{
    Write("pic.jpg", Jpeg(""));
    Write("pic.png", "\x89PNG");
    struct Row {
        const char* manifest;
        const char* error;
    };
    const Row rows[] = {
        {R"({"Title": 5})", "Title: expected a text"},
        {R"({"Titel": "x"})", "Titel: is not a settings field"},
        {R"({"Magic": 1})", "Magic: is written by the file format"},
        {R"({"ImageTile": 256})", "ImageTile: 256 is outside 0..255"},
        {R"({"ImageInterval": 4294967296})", "outside"},
        {R"({"Note": "\u0100"})", "Note: holds a character that Windows-1252 cannot store"},
        {R"({"TransitionStyles": [128]})", "TransitionStyles: 128 is outside 0..127"},
        {R"({"CaptionFont": {"Name": "A", "Bold": 1}})", "CaptionFont.Bold: is not a font attribute"},
        {R"({"Slides": [{"Source": "pic.png"}]})", "is not a JPEG file"},
        {R"({"Slides": [{"Source": "none.jpg"}]})", "Slides[0]: cannot read"},
        {R"({"Slides": [{"Source": "pic.jpg", "Path": "..\\up.jpg"}]})", "must be a bare file name"},
        {R"({"Slides": [{"Source": "pic.jpg", "Location": 5}]})", "gets its Location from the archive"},
        {R"({"Slides": [{"Path": "x.jpg"}]})", "without a Source"},
        {R"({"Slides": [{"Source": "pic.jpg", "Colour": 1}]})", "Slides[0].Colour: is not an item field"},
        {R"({"Slides": [{"Source": "pic.xyz"}]})", "give its Kind"},
        {R"({"Name": "../evil"})", "Name: expected a bare file name"},
        {R"({"Note": ")", "not valid JSON"},
        {R"([1, 2])", "expected an object"},
    };
    for (const Row& row : rows) {
        const std::string error = BuildError(row.manifest);
        EXPECT_NE(error.find(row.error), std::string::npos) << row.manifest << "\n" << error;
        EXPECT_NE(error.find("saver.json"), std::string::npos) << "names the file: " << error;
        EXPECT_FALSE(std::filesystem::exists(Dir.File("out/saver.ssp")));
        EXPECT_FALSE(std::filesystem::exists(Dir.File("out/saver.mda")));
    }
}

}  // namespace
