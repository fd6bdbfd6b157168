// Reading the daemon's settings files for the grab setting: only regular files, only as
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

// The file's setting; Forbidden, said once on stderr, when the file cannot be read safely.
GrabSetting fileSetting(const std::string& path, DaemonFile kind) {
    std::string text;
    switch (readSmallFile(path, text)) {
    case FileRead::Missing: return GrabSetting::NotSet;
    case FileRead::Read: return grabSetting(text, kind);
    case FileRead::Refused: break;
    }
    std::fprintf(stderr, "quakeglass: %s is not a readable regular file of at most %zu MiB: showing the logo\n",
                 path.c_str(), maxDaemonFileBytes >> 20);
    return GrabSetting::Forbidden;
}

}  // namespace

bool desktopGrabAllowed(const char* home, const char* systemDefaultsFile) {
    GrabSetting setting = home ? fileSetting(std::string(home) + "/.xscreensaver", DaemonFile::User) : GrabSetting::NotSet;
    if (setting == GrabSetting::NotSet) setting = fileSetting(systemDefaultsFile, DaemonFile::SystemDefaults);
    return setting != GrabSetting::Forbidden;
}
