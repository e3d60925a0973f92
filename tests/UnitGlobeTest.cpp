// Windows' MulDiv rounding, FitRect's worked examples and the name rules.
#include <gtest/gtest.h>

#include <climits>

#include "shared/UnitGlobe.h"

using namespace spindrel;

TEST(MulDiv, RoundsHalvesAwayFromZeroAndRefusesWhatWindowsRefuses)
{
    struct Row {
        int a, b, c, expected;
    };
    const Row rows[] = {
        {10, 1, 4, 3},      {-10, 1, 4, -3},     {10, -1, 4, -3},  {10, 1, -4, -3},  {-10, -1, -4, -3},
        {9, 1, 4, 2},       {11, 1, 4, 3},       {1, 1, 3, 0},     {2, 1, 3, 1},     {-2, 1, 3, -1},
        {640, 1024, 480, 1365}, {1024, 768, 1365, 576}, {400, 4, 90, 18}, {0, 5, 7, 0},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, 1, 1, -1}, {INT_MIN, 1, -1, -1},
        {INT_MAX, 2, 1, -1},  {5, 5, 0, -1},       {0, 0, 0, -1},    {-INT_MAX, 1, 1, -INT_MAX},
        {INT_MIN, INT_MIN, INT_MAX, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(MulDiv(r.a, r.b, r.c), r.expected) << r.a << " * " << r.b << " / " << r.c;
}

TEST(FitRect, ScalesTheShapeIntoTheBoxAndCentresIt)
{
    struct Row {
        int w, h, W, H;
        TRect expected;
    };
    const Row rows[] = {
        {640, 480, 1024, 768, {0, 0, 1024, 768}},
        {480, 640, 1024, 768, {224, 0, 800, 768}},
        {1024, 768, 1024, 768, {0, 0, 1024, 768}},
        {2000, 500, 1000, 1000, {0, 375, 1000, 625}},  // wide: bars above and below
        {100, 100, 1920, 1080, {420, 0, 1500, 1080}},
        {1024, 2000, 1024, 768, {315, 0, 708, 768}},  // same width, too tall: only the height test shrinks it
        {3, 2, 2, 2, {0, 0, 2, 1}},                   // 1.33 rounds down, the spare pixel is lost to div
    };
    for (const Row& r : rows)
        EXPECT_EQ(FitRect(r.w, r.h, r.W, r.H), r.expected) << r.w << "x" << r.h << " in " << r.W << "x" << r.H;
}

TEST(NameRules, DeriveDirectoriesExtensionsAndTheArchiveName)
{
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\TEMP\\"), "C:\\TEMP");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\TEMP\\\\"), "C:\\TEMP\\");  // only one is removed
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\TEMP"), "C:\\TEMP");
    EXPECT_EQ(ExcludeTrailingBackslash(""), "");

    struct Row {
        const char* program;
        const char* exeDir;
    };
    const Row dirs[] = {
        {"C:\\WINDOWS\\SYSTEM\\X.SCR", "C:\\WINDOWS\\SYSTEM"},
        {"C:\\X.SCR", "C:\\"},
        {"C:X.SCR", "C:"},
        {"\\\\server\\share\\X.SCR", "\\\\server\\share"},
        {"\\\\X.SCR", "\\\\"},
        {"X.SCR", ""},
    };
    for (const Row& r : dirs)
        EXPECT_EQ(ExeDirOf(r.program), r.exeDir) << r.program;

    EXPECT_EQ(ExtractFileExt("C:\\Pics\\Sun.JPG"), ".JPG");
    EXPECT_EQ(ExtractFileExt("C:\\Pics.old\\Sun"), "");
    EXPECT_EQ(ExtractFileExt("http://example.org/a.b/clip"), "");
    EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("name."), ".");

    EXPECT_EQ(ChangeFileExt("C:\\WINDOWS\\SYSTEM\\SAVER~1.SCR", ".ssp"), "C:\\WINDOWS\\SYSTEM\\SAVER~1.ssp");
    EXPECT_EQ(ChangeFileExt("C:\\dir.d\\saver", ".ssp"), "C:\\dir.d\\saver.ssp");
    EXPECT_EQ(ArchiveNameOf("C:\\WINDOWS\\SYSTEM\\SAVER~1.ssp"), "C:\\WINDOWS\\SYSTEM\\SAVER~1.mda");
    EXPECT_EQ(ArchiveNameOf("C:\\a.ssp\\b.ssp"), "C:\\a.mda\\b.ssp");  // the first one, as the saver does
    EXPECT_EQ(ArchiveNameOf("C:\\SAVER.SSP"), "C:\\SAVER.SSP");        // case-sensitive
}
