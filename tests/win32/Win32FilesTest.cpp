// Files through the real Windows API: sharing of the open settings file, read-only
// extraction targets, and the system folders.
#include <windows.h>

#include <gtest/gtest.h>

#include "datafiles/UnitSpindrelFile.h"
#include "shared/UnitGlobe.h"
#include "tests/SettingsFixture.h"

using namespace spindrel;
using namespace spindrel::testing;

namespace {

// Opens the file as another program would, asking for Access and granting the usual share.
bool OthersCanOpen(const std::string& Name, DWORD Access)
{
    HANDLE other = CreateFileA(Name.c_str(), Access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (other == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(other);
    return true;
}

TEST(Win32Files, AnOpenSettingsFileCanBeReadAndWrittenByOthers)
{
    TScratchDir dir;
    const std::string name = dir.File("saver.ssp");
    WriteBytes(name, SampleFile({}));
    for (bool readWrite : {false, true}) {
        TSpindrelFile settings;
        ASSERT_TRUE(settings.Open(name, readWrite)) << settings.LastError();
        EXPECT_TRUE(OthersCanOpen(name, GENERIC_READ));
        EXPECT_TRUE(OthersCanOpen(name, GENERIC_READ | GENERIC_WRITE));
        EXPECT_EQ(settings.Save(), readWrite) << settings.LastError();
    }
    EXPECT_EQ(ReadBytes(name), SampleFile({}));
}

TEST(Win32Files, AReadOnlyTargetStopsTheExtraction)
{
    TScratchDir dir;
    const std::string archive = dir.File("saver.mda"), target = dir.File("clip.avi");
    WriteBytes(archive, {1, 2, 3, 4});
    WriteBytes(target, {9});
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(TSpindrelFile::ExtractMember(archive, target, 0, 4), EStreamError);
    EXPECT_EQ(ReadBytes(target), std::vector<std::uint8_t>{9});
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Files, SystemFoldersComeWithoutATrailingBackslash)
{
    for (const std::string& folder : {GetTempDir(), GetSysDir()}) {
        ASSERT_GT(folder.size(), 3u);
        EXPECT_NE(folder.back(), '\\') << folder;
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << folder;
    }
}

}  // namespace
