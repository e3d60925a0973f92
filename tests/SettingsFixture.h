// An independent writer of settings files for the tests: it spells the layout out
// field by field, so the reader is never checked against its own writer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace spindrel::testing {

struct TFixtureItem {
    std::int32_t Kind;  // written as an int32, so 256 and other odd values can be stored
    std::string Name, Path, Ext;
    std::int32_t Location, Size, Width, Height, Reserved;
};

// What varies between the sample files; everything else is fixed sample data.
struct TFixtureOptions {
    std::uint32_t Version = 0x10005;
    std::int32_t Reserved14 = 7;
    std::string ThemeName = "Aurora";
    std::int32_t DisableMouse = 1;  // an int32 here, to store 2 or 256
    std::vector<std::int32_t> Styles = {3, 127, 0, 64};
    std::optional<std::int32_t> StyleCount;  // stored instead of Styles.size()
    std::optional<std::int32_t> SlideCount;  // stored instead of Slides.size()
    std::vector<TFixtureItem> Slides;
    std::vector<TFixtureItem> Music;
};

class TFixtureWriter {
public:
    void Int(std::int64_t Value);  // complemented, little-endian, low 32 bits
    void Plain(std::uint32_t Value);
    void Str(const std::string& Text);  // plain count, complemented bytes
    void Raw(const std::vector<std::uint8_t>& Bytes) { FBytes.insert(FBytes.end(), Bytes.begin(), Bytes.end()); }
    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }

private:
    std::vector<std::uint8_t> FBytes;
};

// Writes the fields of the sample file up to and including PreviewOffset.
void WriteSampleHead(TFixtureWriter& Out, const TFixtureOptions& Options);
// Byte offset of the sample file's first string count (Title's).
constexpr std::size_t TitleCountAt = 8;

// A whole sample file of Options.Version.
std::vector<std::uint8_t> SampleFile(const TFixtureOptions& Options);

// A fresh empty folder for one test, removed again by the destructor.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    std::string File(const std::string& Name) const { return (FPath / Name).string(); }
    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

void WriteBytes(const std::string& File, const std::vector<std::uint8_t>& Bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& File);

}  // namespace spindrel::testing
