#include "native/image_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <utility>

#include "native/end_watch.h"

namespace {

// Far more pictures than anyone keeps, and far deeper than any folder tree goes; the names
// of this many files take some tens of megabytes.
const size_t maxPictureFiles = 200000;
const int maxFolderDepth = 64;

const int openFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

int64_t monotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int64_t searchDeadlineMs = 0;
bool pastDeadline() { return endRequested() || monotonicMs() >= searchDeadlineMs; }

struct FolderWalk {
    std::set<std::pair<dev_t, ino_t>> seen;  // a folder reached twice (a link loop) is walked once
    std::vector<std::string> files;
    bool (*giveUp)();
};

bool firstVisit(FolderWalk& walk, const struct stat& info) { return walk.seen.insert({info.st_dev, info.st_ino}).second; }

// The folder open as `folder`, whose path is `path`: its pictures, then its folders'.
void walkFolder(FolderWalk& walk, int folder, const std::string& path, int depth) {
    DIR* listing = fdopendir(folder);
    if (!listing) {
        close(folder);
        return;
    }
    std::vector<std::string> folders;
    while (const dirent* entry = readdir(listing)) {
        if (entry->d_name[0] == '.' || walk.files.size() >= maxPictureFiles) continue;
        if (entry->d_type == DT_REG || (namedAsPicture(entry->d_name) && entry->d_type != DT_DIR)) {
            // A file named as a picture is taken as one until it is opened, as the daemon does.
            if (namedAsPicture(entry->d_name)) walk.files.push_back(path + "/" + entry->d_name);
            continue;
        }
        struct stat info;
        if (fstatat(dirfd(listing), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode) && firstVisit(walk, info))
            folders.push_back(entry->d_name);
    }
    for (const std::string& name : folders) {
        if (depth >= maxFolderDepth || (walk.giveUp && walk.giveUp())) break;
        const int inner = openat(dirfd(listing), name.c_str(), openFlags | O_DIRECTORY);
        if (inner >= 0) walkFolder(walk, inner, path + "/" + name, depth + 1);
    }
    closedir(listing);
}

// The folder itself, opened only when it is one: never a FIFO's or a device's wait.
int openFolder(const std::string& folder, struct stat& info) {
    if (folder.empty() || stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return -1;
    return open(folder.c_str(), openFlags | O_DIRECTORY);
}

// A regular file's bytes, when it holds at most maxPictureFileBytes and begins as a picture;
// read a part at a time, so that the deadline and the end cut a long read short.
bool readPictureFile(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;  // no device is even opened
    const int file = open(path.c_str(), openFlags);
    if (file < 0) return false;
    bool ok = fstat(file, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
              uint64_t(info.st_size) <= maxPictureFileBytes;
    if (ok) bytes.resize(size_t(info.st_size));
    const size_t partBytes = size_t(4) << 20;
    for (size_t got = 0; ok && got < bytes.size();) {
        const ssize_t part = read(file, bytes.data() + got, std::min(partBytes, bytes.size() - got));
        if (part < 0 && errno == EINTR) continue;
        ok = part > 0 && looksLikePicture(bytes.data(), got + size_t(part)) && !pastDeadline();
        got += ok ? size_t(part) : 0;
    }
    close(file);
    return ok;
}

bool endsWith(const char* name, const char* ending) {
    const size_t length = std::strlen(name), endLength = std::strlen(ending);
    return length > endLength && strcasecmp(name + length - endLength, ending) == 0;
}

}  // namespace

bool namedAsPicture(const char* name) {
    for (const char* ending : {".png", ".jpg", ".jpeg", ".pjpeg", ".pjpg"})
        if (endsWith(name, ending)) return true;
    return false;
}

std::vector<std::string> pictureFiles(const std::string& folder, bool (*giveUp)()) {
    FolderWalk walk;
    walk.giveUp = giveUp;
    struct stat info;
    const int opened = openFolder(folder, info);
    if (opened < 0) return {};
    firstVisit(walk, info);
    walkFolder(walk, opened, folder, 0);
    return walk.files;
}

bool randomFolderPicture(const std::string& folder, uint32_t seed, int leastSide, DecodedPicture& picture) {
    picture = DecodedPicture();
    searchDeadlineMs = monotonicMs() + folderSearchMs;
    struct stat info;
    const int opened = openFolder(folder, info);
    if (opened < 0) {
        std::fprintf(stderr, "quakeglass: %s is not a folder that can be read: showing the logo\n", folder.c_str());
        return false;
    }
    close(opened);
    std::vector<std::string> files = pictureFiles(folder, pastDeadline);
    std::shuffle(files.begin(), files.end(), std::mt19937(seed));
    std::vector<uint8_t> bytes;
    for (const std::string& path : files) {
        if (pastDeadline()) break;
        if (readPictureFile(path, bytes) && decodePicture(bytes.data(), bytes.size(), maxPicturePixels, picture, pastDeadline, leastSide))
            return true;
    }
    if (!endRequested())
        std::fprintf(stderr, "quakeglass: no PNG or JPEG picture in %s could be read within %d s: showing the logo\n",
                     folder.c_str(), folderSearchMs / 1000);
    return false;
}
