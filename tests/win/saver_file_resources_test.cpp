// What Windows reads from quakeglass.scr (built beside this program) without running it:
// the version resource, read with version.dll.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

std::string saverPath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "quakeglass.scr";
}

struct SaverFileTest : testing::Test {
    HMODULE saver = nullptr;
    void SetUp() override {
        saver = LoadLibraryExA(saverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(saver, nullptr) << saverPath();
    }
    void TearDown() override { FreeLibrary(saver); }
};

}  // namespace

TEST_F(SaverFileTest, VersionResourceCarriesTheProjectVersionAndNamesTheSaverAndItsMaker) {
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(QG_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(saverPath().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(saverPath().c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
    EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    char table[64];
    std::snprintf(table, sizeof table, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    auto value = [&](const char* name) {
        char* text = nullptr;
        UINT chars = 0;
        return VerQueryValueA(block.data(), (table + std::string(name)).c_str(), reinterpret_cast<void**>(&text),
                              &chars) && text
                   ? std::string(text)
                   : std::string("(missing)");
    };
    char description[64] = "";
    LoadStringA(saver, IDS_DESCRIPTION, description, sizeof description);
    const std::string path = saverPath();
    EXPECT_EQ(value("FileVersion"), QG_PROJECT_VERSION);
    EXPECT_EQ(value("ProductVersion"), QG_PROJECT_VERSION);
    EXPECT_EQ(value("FileDescription"), description);
    EXPECT_EQ(value("OriginalFilename"), path.substr(path.find_last_of("\\/") + 1));
    EXPECT_EQ(value("InternalName"), "quakeglass");
    EXPECT_EQ(value("ProductName"), "Quakeglass");
    EXPECT_EQ(value("CompanyName"), "Veltrask Software");
    EXPECT_EQ(value("LegalCopyright"), "Copyright (C) 2026 " + value("CompanyName"));

    // The About dialog names the same version.
    HWND about = CreateDialogParamA(saver, MAKEINTRESOURCEA(2004), nullptr,
                                    [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(about, nullptr);
    std::string shown;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[64] = "";
        GetWindowTextA(child, text, sizeof text);
        if (std::string(text).rfind("Version ", 0) == 0) shown = text;
    }
    DestroyWindow(about);
    EXPECT_EQ(shown, "Version " + std::to_string(major) + "." + std::to_string(minor));
}
