// The fixture writer and the sample file every settings test starts from.
#include "tests/SettingsFixture.h"

#include <atomic>
#include <fstream>
#include <random>

namespace spindrel::testing {

void TFixtureWriter::Int(std::int64_t Value) { Plain(~static_cast<std::uint32_t>(Value)); }

void TFixtureWriter::Plain(std::uint32_t Value)
{
    for (int i = 0; i < 4; ++i)
        FBytes.push_back(static_cast<std::uint8_t>(Value >> (8 * i)));
}

void TFixtureWriter::Str(const std::string& Text)
{
    Plain(static_cast<std::uint32_t>(Text.size()));
    for (unsigned char c : Text)
        FBytes.push_back(static_cast<std::uint8_t>(~c));
}

void WriteSampleHead(TFixtureWriter& w, const TFixtureOptions& o)
{
    w.Int(0xFFEEFFEE);
    w.Int(o.Version);
    w.Str("Northern Lights");
    w.Str("Ada Author");
    w.Str("\xA9 2026");  // a Windows-1252 copyright sign
    w.Str("https://lights.example");
    w.Str("ada@lights.example");
    w.Int(o.DisableMouse);
    w.Int(0);       // DisableKeyPress
    w.Int(5);       // CaptionLocation
    w.Str("Arial");  // CaptionFont: Name, Color, Charset, Size, Style
    w.Int(0x00FF8040);
    w.Int(238);
    w.Int(14);
    w.Int(1 | 4);
    w.Int(1);       // MediaPlayOrder
    w.Int(21);      // ImageInterval
    w.Int(1);       // ImageEnlargeFit
    w.Int(0);       // ImageTile
    w.Int(1);       // ImageRandomPosition
    w.Int(3);       // MovieDisplaySize
    w.Int(1);       // MovieRandomPosition
    w.Int(0);       // MovieMute
    w.Int(6);       // FlashDisplaySize
    w.Int(0);       // FlashRandomPosition
    w.Int(1);       // AutoFlip
    w.Int(1);       // FlashAllowMouse
    w.Int(1);       // MusicPlayOrder
    w.Int(9);       // MusicInterval
    w.Int(1);       // MusicRandomOne
    w.Int(0);       // MusicMute
    w.Int(2);       // BackgroundFillKind
    w.Int(0x112233);  // BackgroundSolidColor
    w.Int(200);       // Reserved1
    w.Int(0x445566);  // BackgroundStartColor
    w.Int(0x778899);  // BackgroundEndColor
    w.Int(3);         // BackgroundDirection
    w.Str("back.jpg");
    w.Int(1000);   // BackgroundOffset
    w.Int(2000);   // BackgroundSize
    w.Int(2);      // BackgroundPictureMode
    w.Int(-40);    // Reserved2
    w.Int(1);      // TransitionOrder
    w.Int(o.StyleCount.value_or(static_cast<std::int32_t>(o.Styles.size())));
    for (std::int32_t style : o.Styles)
        w.Int(style);
    w.Str("A note for the options dialog.");
    w.Str("banner.bmp");
    w.Str("r3");
    w.Str("");
    w.Str("r5");
    w.Str("r6");
    w.Int(17);   // Reserved7
    w.Int(1);    // ShowOptionsPage
    w.Int(0);    // ShowBanner
    w.Int(8);    // Reserved8
    w.Int(9);    // Reserved9
    w.Int(10);   // Reserved10
    w.Int(11);   // Reserved11
    w.Int(12);   // Reserved12
    w.Int(-13);  // Reserved13
    w.Int(3000);   // BannerSize
    w.Int(4000);   // BannerOffset
    w.Str("C:\\preview.avi");
    w.Int(1);      // ShowPreview
    w.Int(5000);   // PreviewSize
    w.Int(-1);     // PreviewOffset
}

namespace {

void WriteItems(TFixtureWriter& w, std::uint32_t Version, const std::vector<TFixtureItem>& Items,
                std::optional<std::int32_t> Count)
{
    w.Int(Count.value_or(static_cast<std::int32_t>(Items.size())));
    for (const TFixtureItem& item : Items) {
        w.Int(item.Kind);
        w.Str(item.Name);
        w.Str(item.Path);
        if (Version >= 0x10001)
            w.Str(item.Ext);
        w.Int(item.Location);
        w.Int(item.Size);
        w.Int(item.Width);
        w.Int(item.Height);
        w.Int(item.Reserved);
    }
}

}  // namespace

std::vector<std::uint8_t> SampleFile(const TFixtureOptions& o)
{
    TFixtureWriter w;
    WriteSampleHead(w, o);
    if (o.Version >= 0x10001)
        w.Int(o.Reserved14);
    if (o.Version >= 0x10005)
        w.Str(o.ThemeName);
    WriteItems(w, o.Version, o.Slides, o.SlideCount);
    WriteItems(w, o.Version, o.Music, std::nullopt);
    return w.Bytes();
}

TScratchDir::TScratchDir()
{
    static std::atomic<int> serial{0};
    std::random_device random;
    FPath = std::filesystem::temp_directory_path() /
            ("spindrel-test-" + std::to_string(random()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(FPath);
}

TScratchDir::~TScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

void WriteBytes(const std::string& File, const std::vector<std::uint8_t>& Bytes)
{
    std::ofstream out(File, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& File)
{
    std::ifstream in(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace spindrel::testing
