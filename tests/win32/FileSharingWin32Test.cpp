// The settings file stays open for the whole run; other programs must still be
// able to read and rewrite it, and a read-only open must refuse to save.
#include <windows.h>

#include <gtest/gtest.h>

#include "datafiles/UnitSpindrelFile.h"
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

TEST(FileSharingWin32, AnOpenSettingsFileCanBeReadAndWrittenByOthers)
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

}  // namespace
