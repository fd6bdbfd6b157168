// Reading the daemon's settings files for its picture settings: only regular files, only as
// much as such a file holds, never waiting on a FIFO or a device. Main thread, at start-up.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "xscreensaver/daemon_settings.h"

namespace {

enum class FileRead { Missing, Read, Refused };

bool smallRegularFile(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_size >= 0 && size_t(info.st_size) <= maxDaemonFileBytes;
}

// A file that changed into something else between the two looks is refused too.
FileRead readSmallFile(const std::string& path, std::string& text) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Refused;
    if (!smallRegularFile(info)) return FileRead::Refused;
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) return FileRead::Refused;
    FileRead result = fstat(file, &info) == 0 && smallRegularFile(info) ? FileRead::Read : FileRead::Refused;
    char buffer[16384];
    while (result == FileRead::Read) {
        const ssize_t got = read(file, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got < 0) result = FileRead::Refused;
            break;
        }
        text.append(buffer, size_t(got));
        if (text.size() > maxDaemonFileBytes) result = FileRead::Refused;  // it grew meanwhile
    }
    close(file);
    return result;
}

// Reads the file; Refused, said once on stderr, when it cannot be read safely.
FileRead fileText(const std::string& path, std::string& text) {
    const FileRead read = readSmallFile(path, text);
    if (read == FileRead::Refused)
        std::fprintf(stderr,
                     "quakeglass: %s is not a readable regular file of at most %zu MiB: its settings count as off "
                     "(no desktop grabs, no random images)\n",
                     path.c_str(), maxDaemonFileBytes >> 20);
    return read;
}

// The settings one file gives, beside those an earlier file gave (`settled` says which).
struct Settled {
    bool grab = false, random = false, folder = false;
};

void readSettings(const std::string& path, DaemonFile kind, const char* home, DaemonImageSettings& settings,
                  Settled& settled) {
    if (settled.grab && settled.random && settled.folder) return;
    std::string text;
    switch (fileText(path, text)) {
    case FileRead::Missing: return;
    case FileRead::Refused:
        settings.grabAllowed = settled.grab ? settings.grabAllowed : false;
        settings.randomImages = settled.random ? settings.randomImages : false;
        settled.grab = settled.random = settled.folder = true;
        return;
    case FileRead::Read: break;
    }
    const GrabSetting grab = flagSetting(text, kind, "grabDesktopImages");
    const GrabSetting random = flagSetting(text, kind, "chooseRandomImages");
    if (!settled.grab && grab != GrabSetting::NotSet) settings.grabAllowed = grab == GrabSetting::Allowed;
    if (!settled.random && random != GrabSetting::NotSet) settings.randomImages = random == GrabSetting::Allowed;
    std::string folder;
    const bool folderSet = textSetting(text, kind, "imageDirectory", folder) != GrabSetting::NotSet;
    if (!settled.folder && folderSet) settings.imageDirectory = expandedFolder(folder, home);
    settled.grab |= grab != GrabSetting::NotSet;
    settled.random |= random != GrabSetting::NotSet;
    settled.folder |= folderSet;
}

}  // namespace

DaemonImageSettings daemonImageSettings(const char* home, const char* systemDefaultsFile) {
    DaemonImageSettings settings;
    Settled settled;
    if (home) readSettings(std::string(home) + "/.xscreensaver", DaemonFile::User, home, settings, settled);
    readSettings(systemDefaultsFile, DaemonFile::SystemDefaults, home, settings, settled);
    return settings;
}
