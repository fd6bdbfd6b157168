#include "xscreensaver/daemon_settings.h"

#include <strings.h>

#include <fstream>
#include <sstream>

namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// 1 true, 0 false, -1 neither, as X resources spell truth values.
int truthValue(const std::string& value) {
    for (const char* yes : {"true", "on", "yes", "1"})
        if (strcasecmp(value.c_str(), yes) == 0) return 1;
    for (const char* no : {"false", "off", "no", "0"})
        if (strcasecmp(value.c_str(), no) == 0) return 0;
    return -1;
}

std::string fileText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

bool booleanResource(const std::string& text, const char* name, bool fallback) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string key = trimmed(line.substr(0, colon));
        if (!key.empty() && key[0] == '*') key.erase(0, 1);
        if (key != name) continue;
        const int value = truthValue(trimmed(line.substr(colon + 1)));
        if (value >= 0) return value == 1;
    }
    return fallback;
}

bool desktopGrabAllowed(const char* home, const char* systemDefaultsFile) {
    const bool system = booleanResource(fileText(systemDefaultsFile), "grabDesktopImages", true);
    if (!home) return system;
    return booleanResource(fileText(std::string(home) + "/.xscreensaver"), "grabDesktopImages", system);
}
