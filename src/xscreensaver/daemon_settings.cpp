// The daemon's settings read from the text of its files, line by line as the daemon
// reads them (checked against its own reader, xscreensaver-getimage --verbose, 6.06).
// Portable; the files themselves are read in daemon_settings_posix.cpp.
#include "xscreensaver/daemon_settings.h"

#include <strings.h>

#include <cstring>

namespace {

bool sameIgnoringCase(const std::string& text, const char* word) {
    return text.size() == std::strlen(word) && strncasecmp(text.data(), word, text.size()) == 0;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string trimmed(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// The next line of `text` from `at`, a backslash before the line's end joining it to the
// next one (the programs list is written so); `at` moves past it.
std::string logicalLine(const std::string& text, size_t& at) {
    std::string line;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        line.append(text, at, end - at);
        at = end + 1;
        if (line.empty() || line.back() != '\\' || end == text.size()) break;
        line.pop_back();
    }
    return line;
}

// The setting's name, however spelled: a bare name, *name or XScreenSaver.name, any case.
bool namesTheSetting(std::string key, const char* settingName) {
    key = trimmed(key);
    if (!key.empty() && key[0] == '*') {
        key.erase(0, 1);
    } else if (key.size() > 13 && sameIgnoringCase(key.substr(0, 12), "XScreenSaver") &&
               (key[12] == '.' || key[12] == '*')) {
        key.erase(0, 13);
    }
    return sameIgnoringCase(key, settingName);
}

// Spelled as the daemon reads it from that file (its names and X resources keep their case).
bool spelledAsTheDaemonReadsIt(const std::string& key, DaemonFile file, const char* settingName) {
    if (file == DaemonFile::User) return key == settingName;
    const std::string name = settingName;
    return key == "*" + name || key == "XScreenSaver." + name || key == "XScreenSaver*" + name;
}

bool saysTrue(const std::string& value) {
    return sameIgnoringCase(value, "true") || sameIgnoringCase(value, "on") || sameIgnoringCase(value, "yes");
}

// The last line that names the setting: NotSet when none does, else whether it is spelled
// as the daemon reads it, with its value.
GrabSetting lastLine(const std::string& text, DaemonFile file, const char* name, std::string& value) {
    GrabSetting setting = GrabSetting::NotSet;
    for (size_t at = 0; at < text.size();) {
        const std::string line = logicalLine(text, at);
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#' || line[start] == '!' || line[start] == ';') continue;
        const size_t colon = line.find(':', start);
        if (colon == std::string::npos) continue;
        const std::string key = line.substr(start, colon - start);
        if (!namesTheSetting(key, name)) continue;
        const bool spelled = spelledAsTheDaemonReadsIt(key, file, name);
        setting = spelled ? GrabSetting::Allowed : GrabSetting::Forbidden;
        value = spelled ? trimmed(line.substr(colon + 1)) : std::string();
    }
    return setting;
}

}  // namespace

GrabSetting flagSetting(const std::string& text, DaemonFile file, const char* name) {
    std::string value;
    const GrabSetting setting = lastLine(text, file, name, value);
    if (setting == GrabSetting::NotSet) return setting;
    return setting == GrabSetting::Allowed && saysTrue(value) ? GrabSetting::Allowed : GrabSetting::Forbidden;
}

GrabSetting textSetting(const std::string& text, DaemonFile file, const char* name, std::string& value) {
    std::string last;
    const GrabSetting setting = lastLine(text, file, name, last);
    if (setting != GrabSetting::NotSet) value = last;
    return setting;
}

std::string expandedFolder(const std::string& folder, const char* home) {
    if (folder.compare(0, 2, "~/") != 0 || !home) return folder;
    return home + folder.substr(1);
}
