// The resources of the built saver program, read back as the shell reads them:
// shortcuts pick its icons by index, the loader reads its manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The saver beside this test's build folder: <build>/tests/win32 -> <build>/saver.
std::string SaverPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    dir.erase(dir.find_last_of('\\'));
    return dir + "\\..\\..\\saver\\Spindrel.scr";
}

struct TModule {
    HMODULE Handle = LoadLibraryExA(SaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ~TModule()
    {
        if (Handle)
            FreeLibrary(Handle);
    }
};

// Red share of icon Index drawn at 32 x 32: the uninstall icon carries a red badge.
int RedPixels(int Index)
{
    HICON icon = nullptr;
    if (ExtractIconExA(SaverPath().c_str(), Index, &icon, nullptr, 1) != 1 || !icon)
        return -1;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, section);
    DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    int red = 0;
    for (int i = 0; i < 32 * 32; ++i) {
        const auto* p = static_cast<const unsigned char*>(bits) + i * 4;  // blue, green, red, unused
        red += p[2] > 180 && p[1] < 90 && p[0] < 90;
    }
    SelectObject(dc, old);
    DeleteObject(section);
    DeleteDC(dc);
    DestroyIcon(icon);
    return red;
}

}  // namespace

TEST(SaverResources, ThreeIconsInIndexOrderMainUninstallConfigure)
{
    ASSERT_EQ(ExtractIconExA(SaverPath().c_str(), -1, nullptr, nullptr, 0), 3u) << SaverPath();
    EXPECT_EQ(RedPixels(0), 0);
    EXPECT_GT(RedPixels(1), 20);
    EXPECT_EQ(RedPixels(2), 0);
}

TEST(SaverResources, ManifestAndVersionAreEmbedded)
{
    TModule saver;
    ASSERT_NE(saver.Handle, nullptr) << SaverPath();
    HRSRC manifest = FindResourceA(saver.Handle, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(manifest, nullptr);
    const auto* text = static_cast<const char*>(LockResource(LoadResource(saver.Handle, manifest)));
    const std::string xml(text, SizeofResource(saver.Handle, manifest));
    EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(xml.find("6.0.0.0"), std::string::npos);
    EXPECT_NE(xml.find("PerMonitorV2"), std::string::npos);

    const std::string path = SaverPath();
    DWORD ignored = 0;
    std::vector<char> version(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(version.data(), "\\StringFileInfo\\040904B0\\OriginalFilename",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, "Spindrel.scr");
}
