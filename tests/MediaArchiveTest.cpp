// Taking members out of the media archive, and the names they are extracted under.
#include <gtest/gtest.h>

#include <filesystem>

#include "datafiles/MediaArchive.h"
#include "datafiles/UnitSpindrelFile.h"
#include "tests/SettingsFixture.h"

using namespace spindrel;
using namespace spindrel::testing;

namespace {

std::vector<std::uint8_t> Range(std::size_t From, std::size_t To, const std::vector<std::uint8_t>& Bytes)
{
    return {Bytes.begin() + static_cast<std::ptrdiff_t>(From), Bytes.begin() + static_cast<std::ptrdiff_t>(To)};
}

class MediaArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 100000; ++i)  // larger than one copy chunk
            Content.push_back(static_cast<std::uint8_t>(i * 7 + i / 256));
        WriteBytes(Archive, Content);
    }

    TScratchDir Dir;
    std::string Archive = Dir.File("saver.mda");
    std::vector<std::uint8_t> Content;
};

TEST_F(MediaArchive, ExtractsMembersWholeOrReportsAShortCopy)
{
    struct Row {
        std::int64_t position;
        std::int32_t size;
        bool whole;
        std::size_t from, to;  // the bytes that end up in the target
    };
    const Row rows[] = {
        {0, 100000, true, 0, 100000},      // the entire archive
        {70000, 20000, true, 70000, 90000},
        {99990, 10, true, 99990, 100000},
        {99990, 11, false, 99990, 100000},  // runs past the end: short copy, failed
        {100000, 1, false, 0, 0},
        {200000, 5, false, 0, 0},
        {-1, 5, false, 0, 0},
        {500, 0, true, 0, 0},  // empty members
        {500, -8, true, 0, 0},
    };
    const std::string target = Dir.File("member.bin");
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.position << " + " << r.size);
        const std::string result = TSpindrelFile::ExtractMember(Archive, target, r.position, r.size);
        EXPECT_EQ(result, r.whole ? target : "");
        EXPECT_EQ(ReadBytes(target), Range(r.from, r.to, Content));

        TMemoryStream memory(std::vector<std::uint8_t>(3, 0xEE));
        EXPECT_EQ(TSpindrelFile::ReadMember(Archive, memory, r.position, r.size), r.whole);
        EXPECT_EQ(memory.Bytes(), Range(r.from, r.to, Content));
        EXPECT_EQ(memory.Position(), memory.Size());
    }
}

TEST_F(MediaArchive, ASecondExtractionToTheSameNameReplacesTheFirst)
{
    const std::string target = Dir.File("clip.avi");
    ASSERT_EQ(TSpindrelFile::ExtractMember(Archive, target, 0, 5000), target);
    ASSERT_EQ(TSpindrelFile::ExtractMember(Archive, target, 10, 20), target);
    EXPECT_EQ(ReadBytes(target), Range(10, 30, Content));
}

TEST_F(MediaArchive, OpeningAndCreatingFailuresReachTheCaller)
{
    TMemoryStream memory;
    EXPECT_THROW(TSpindrelFile::ExtractMember(Dir.File("none.mda"), Dir.File("x"), 0, 1), EStreamError);
    EXPECT_THROW(TSpindrelFile::ReadMember(Dir.File("none.mda"), memory, 0, 1), EStreamError);
    // A target that cannot be deleted (here a folder) is not silently kept.
    std::filesystem::create_directory(Dir.Path() / "busy");
    EXPECT_THROW(TSpindrelFile::ExtractMember(Archive, Dir.File("busy"), 0, 1), EStreamError);
}

TEST(MemberNames, OnlyBareFileNamesJoinTheTemporaryDirectory)
{
    for (const char* good : {"clip.avi", "My Song.mp3", "a", ".hidden", "name..jpg", "CONSOLE.txt", "com10.swf"})
        EXPECT_EQ(TempMemberPath("C:\\TEMP", good), "C:\\TEMP\\" + std::string(good)) << good;
    for (const char* bad : {"", ".", "..", "...", ". .", "..\\evil.exe", "sub\\clip.avi", "../clip.avi", "/etc/x",
                            "C:evil.exe", "D:\\x.avi", "clip.avi:stream", "CON", "nul.txt", "Com1.avi", "LPT9",
                            "a*b", "what?", "tab\there"})
        EXPECT_EQ(TempMemberPath("C:\\TEMP", bad), std::nullopt) << bad;
    EXPECT_EQ(ProgramDirPath("C:\\SAVERS", "intro.swf"), "C:\\SAVERS\\intro.swf");
    EXPECT_EQ(std::string("C:\\TEMP") + PreviewTempName, "C:\\TEMP\\~static.jpg");
}

TEST(MemberNames, LocationsTellWhereAMediumLives)
{
    EXPECT_EQ(SourceOf(0), TMediaSource::Archive);
    EXPECT_EQ(SourceOf(123456), TMediaSource::Archive);
    EXPECT_EQ(SourceOf(-1), TMediaSource::Disk);
    EXPECT_EQ(SourceOf(-2), TMediaSource::ProgramDir);
    EXPECT_EQ(SourceOf(-5), TMediaSource::Web);
    EXPECT_EQ(SourceOf(-3), TMediaSource::Unknown);
    EXPECT_EQ(SourceOf(INT32_MIN), TMediaSource::Unknown);
}

}  // namespace
