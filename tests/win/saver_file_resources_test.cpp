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

bool blank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

// The elements in document order; false when the document is not well-formed: a tag that is
// not a name with quoted attributes, an end tag that does not match, text outside the root.
bool readXml(std::string xml, std::vector<XmlElement>& elements) {
    xml = std::regex_replace(xml, std::regex(R"(<\?[^>]*\?>|<!--[\s\S]*?-->)"), "");
    static const std::regex tag(R"(<(/?)([A-Za-z][\w.:-]*)((?:\s+[A-Za-z][\w.:-]*\s*=\s*"[^"<]*")*)\s*(/?)>)");
    static const std::regex attribute(R"re(([\w.:-]+)\s*=\s*"([^"]*)")re");
    std::vector<size_t> open;
    size_t at = 0;
    for (std::sregex_iterator next(xml.begin(), xml.end(), tag), end; next != end; ++next) {
        const std::smatch& found = *next;
        const std::string before = xml.substr(at, found.position() - at);
        at = found.position() + found.length();
        if (before.find_first_of("<>") != std::string::npos || (open.empty() && !blank(before))) return false;
        if (!open.empty()) elements[open.back()].text += before;
        if (found[1] == "/") {
            if (open.empty() || elements[open.back()].name != found[2]) return false;
            open.pop_back();
            continue;
        }
        if (open.empty() && !elements.empty()) return false;
        XmlElement element{found[2], open.empty() ? "" : elements[open.back()].ns, "", {}};
        const std::string attributes = found[3];
        for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute), none; a != none; ++a)
            if (!element.attributes.emplace((*a)[1], (*a)[2]).second) return false;
        if (element.attributes.count("xmlns")) element.ns = element.attributes["xmlns"];
        elements.push_back(element);
        if (found[4] != "/") open.push_back(elements.size() - 1);
    }
    return !elements.empty() && open.empty() && blank(xml.substr(at));
}

// Every element of that name, as its namespace, its other attributes and its text.
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

std::string saverPath() {
    char path[MAX_PATH];
    std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of("\\/") + 1) + "quakeglass.scr";
}

}  // namespace

TEST(SaverManifest, AsksForVisualStylesTheCallersRightsPerMonitorDpiAndVistaToWindows11) {
    HMODULE saver = LoadLibraryExA(saverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = FindResourceA(saver, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr) << saverPath();
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(saver, found))),
                               SizeofResource(saver, found));
    FreeLibrary(saver);
    std::vector<XmlElement> elements, ignored;
    ASSERT_TRUE(readXml(manifest, elements)) << manifest;
    ASSERT_FALSE(readXml(manifest.substr(0, manifest.rfind("</")), ignored)) << "the reader finds no fault";

    const std::string asm1 = "urn:schemas-microsoft-com:asm.v1", os = "urn:schemas-microsoft-com:compatibility.v1 Id=";
    EXPECT_EQ(elements[0].name + " " + elements[0].ns, "assembly " + asm1);
    EXPECT_EQ(described(elements, "assemblyIdentity")
                  .count(asm1 + " language=* name=Microsoft.Windows.Common-Controls processorArchitecture=* "
                                "publicKeyToken=6595b64144ccf1df type=win32 version=6.0.0.0"),
              1u);
    EXPECT_EQ(described(elements, "requestedExecutionLevel"),
              std::multiset<std::string>{"urn:schemas-microsoft-com:asm.v3 level=asInvoker uiAccess=false"});
    EXPECT_EQ(described(elements, "supportedOS"),
              (std::multiset<std::string>{os + "{e2011457-1546-43c5-a5fe-008deee3d3f0}",     // Vista
                                          os + "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                                          os + "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                                          os + "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                                          os + "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}));  // 10 and 11
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

TEST(SaverVersion, CarriesTheProjectVersionAndTheNamesExplorerShows) {
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(QG_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    const std::string path = saverPath();
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, DWORD(block.size()), block.data())) << path;
    VS_FIXEDFILEINFO* fixed = nullptr;
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
    EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    char table[64];
    std::snprintf(table, sizeof table, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    auto value = [&](const char* name) {
        char* text = nullptr;
        return VerQueryValueA(block.data(), (table + std::string(name)).c_str(), reinterpret_cast<void**>(&text),
                              &length) ? std::string(text) : std::string("(missing)");
    };
    char description[64] = "";
    HMODULE saver = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    LoadStringA(saver, IDS_DESCRIPTION, description, sizeof description);
    FreeLibrary(saver);
    EXPECT_EQ(value("FileVersion"), QG_PROJECT_VERSION);
    EXPECT_EQ(value("ProductVersion"), QG_PROJECT_VERSION);
    EXPECT_EQ(value("FileDescription"), description);
    EXPECT_EQ(value("OriginalFilename"), path.substr(path.find_last_of("\\/") + 1));
    for (const char* name : {"CompanyName", "InternalName", "LegalCopyright", "ProductName"})
        EXPECT_NE(value(name), "(missing)") << name;
}
