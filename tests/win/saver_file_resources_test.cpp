// What Windows reads from quakeglass.scr (built beside this program) without running it:
// the application manifest, parsed as XML, and the version resource, read with version.dll.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

struct XmlElement {
    std::string name, ns, text;
    std::map<std::string, std::string> attributes;
};

// The elements of a document in document order; false when it is not well-formed
// (tags that do not match, attributes that are not quoted or repeat, a second root).
bool readXml(const std::string& xml, std::vector<XmlElement>& elements) {
    static const std::regex nameAtStart(R"(^[A-Za-z_][\w.:-]*)");
    static const std::regex attribute(R"(^\s+([A-Za-z_][\w.:-]*)\s*=\s*(["'])([^<]*?)\2)");
    std::vector<size_t> open;
    bool rootSeen = false;
    size_t at = 0;
    while (at < xml.size()) {
        size_t lt = xml.find('<', at);
        std::string text = xml.substr(at, lt == std::string::npos ? std::string::npos : lt - at);
        if (open.empty() && text.find_first_not_of(" \t\r\n") != std::string::npos) return false;
        if (!open.empty()) elements[open.back()].text += text;
        if (lt == std::string::npos) break;
        const bool comment = xml.compare(lt, 4, "<!--") == 0, declaration = xml.compare(lt, 2, "<?") == 0;
        size_t end = xml.find(comment ? "-->" : declaration ? "?>" : ">", lt);
        if (end == std::string::npos) return false;
        at = end + (comment ? 3 : declaration ? 2 : 1);
        if (comment || declaration) continue;
        std::string tag = xml.substr(lt + 1, end - lt - 1);
        if (tag[0] == '/') {
            if (open.empty() || elements[open.back()].name != tag.substr(1)) return false;
            open.pop_back();
            continue;
        }
        if (open.empty() && rootSeen) return false;
        rootSeen = true;
        const bool empty = !tag.empty() && tag.back() == '/';
        if (empty) tag.pop_back();
        std::smatch match;
        if (!std::regex_search(tag, match, nameAtStart)) return false;
        XmlElement element;
        element.name = match[0];
        std::string rest = match.suffix();
        while (std::regex_search(rest, match, attribute))
            if (!element.attributes.emplace(match[1], match[3]).second) return false;
            else rest = match.suffix();
        if (rest.find_first_not_of(" \t\r\n") != std::string::npos) return false;
        const auto xmlns = element.attributes.find("xmlns");
        element.ns = xmlns != element.attributes.end() ? xmlns->second : open.empty() ? "" : elements[open.back()].ns;
        elements.push_back(element);
        if (!empty) open.push_back(elements.size() - 1);
    }
    return rootSeen && open.empty();
}

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
    std::string resource(LPCSTR type, LPCSTR name) {
        HRSRC found = FindResourceA(saver, name, type);
        if (!found) return "";
        return std::string(static_cast<const char*>(LockResource(LoadResource(saver, found))),
                           SizeofResource(saver, found));
    }
};

// Every element of that name, as its namespace, its attributes and its text.
std::multiset<std::string> described(const std::vector<XmlElement>& elements, const std::string& name) {
    std::multiset<std::string> found;
    for (const XmlElement& element : elements) {
        if (element.name != name) continue;
        std::string line = element.ns;
        for (const auto& [key, value] : element.attributes)
            if (key != "xmlns") line += " " + key + "=" + value;
        found.insert(element.text.empty() ? line : line + " " + element.text);
    }
    return found;
}

}  // namespace

TEST_F(SaverFileTest, ManifestAsksForVisualStylesTheCallersRightsPerMonitorDpiAndVistaToWindows11) {
    const std::string manifest = resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    std::vector<XmlElement> elements;
    ASSERT_TRUE(readXml(manifest, elements)) << manifest;
    std::vector<XmlElement> ignored;
    ASSERT_FALSE(readXml(manifest.substr(0, manifest.rfind("</")), ignored)) << "the reader finds no fault";

    const std::string asm1 = "urn:schemas-microsoft-com:asm.v1", asm3 = "urn:schemas-microsoft-com:asm.v3";
    ASSERT_FALSE(elements.empty());
    EXPECT_EQ(elements[0].name + " " + elements[0].ns, "assembly " + asm1);
    EXPECT_EQ(described(elements, "assemblyIdentity")
                  .count(asm1 + " language=* name=Microsoft.Windows.Common-Controls processorArchitecture=* "
                                "publicKeyToken=6595b64144ccf1df type=win32 version=6.0.0.0"),
              1u);
    EXPECT_EQ(described(elements, "requestedExecutionLevel"),
              std::multiset<std::string>{asm3 + " level=asInvoker uiAccess=false"});
    const std::string compatibility = "urn:schemas-microsoft-com:compatibility.v1 Id=";
    EXPECT_EQ(described(elements, "supportedOS"),
              (std::multiset<std::string>{compatibility + "{e2011457-1546-43c5-a5fe-008deee3d3f0}",    // Vista
                                          compatibility + "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",    // 7
                                          compatibility + "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",    // 8
                                          compatibility + "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",    // 8.1
                                          compatibility + "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})); // 10, 11
    EXPECT_EQ(described(elements, "dpiAwareness"),
              std::multiset<std::string>{"http://schemas.microsoft.com/SMI/2016/WindowsSettings PerMonitorV2, PerMonitor"});
    EXPECT_EQ(described(elements, "dpiAware"),
              std::multiset<std::string>{"http://schemas.microsoft.com/SMI/2005/WindowsSettings true/pm"});
}

// This program carries the same resources, so it gets the controls the saver gets: with the
// manifest the common controls library draws buttons, without it the system's older ones do.
TEST(SaverManifest, ButtonsComeFromTheCommonControlsItAsksFor) {
    HWND button = CreateWindowExW(0, L"Button", L"OK", WS_POPUP, 0, 0, 50, 14, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    HMODULE drawnBy = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(button, GWLP_WNDPROC)), &drawnBy);
    DestroyWindow(button);
    wchar_t name[MAX_PATH] = L"";
    GetModuleFileNameW(drawnBy, name, MAX_PATH);
    EXPECT_EQ(drawnBy, GetModuleHandleW(L"comctl32.dll")) << name;
}

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
