#include "wayland/desktop_picture.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "native/end_watch.h"

extern char** environ;

namespace {

// grim shows a desktop in well under a second; a hung one does not hold the saver up.
const int grimDeadlineMs = 5000;

int64_t monotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// grim - : the whole desktop as one PNG on its standard output; its complaints (no such
// program, no screencopy) are not the user's business: the logo stands in.
bool runGrim(size_t maxBytes, std::vector<uint8_t>& png) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>("grim"), const_cast<char*>("-l"), const_cast<char*>("1"),
                    const_cast<char*>("-"), nullptr};
    pid_t pid;
    const bool started = posix_spawnp(&pid, "grim", &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    const bool read = started && readAll(out[0], maxBytes, png);
    close(out[0]);
    if (!started) return false;
    if (!read) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

size_t pngBytesBound(uint64_t maxPixels) {
    // Rows of one pixel at the worst: a filter byte each; deflate's stored blocks and the
    // chunks add well under 1 %.
    const uint64_t raw = maxPixels * 5;
    return size_t(raw + raw / 100 + (1 << 20));
}

bool readAll(int fd, size_t maxBytes, std::vector<uint8_t>& bytes) {
    const int64_t deadline = monotonicMs() + grimDeadlineMs;
    uint8_t chunk[65536];
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {endWakeFd(), POLLIN, 0}};
        const int64_t left = deadline - monotonicMs();
        if (left <= 0 || endRequested()) return false;
        if (poll(fds, 2, int(left)) < 0 && errno != EINTR) return false;
        if (!(fds[0].revents & (POLLIN | POLLHUP))) continue;
        const ssize_t got = read(fd, chunk, std::min(sizeof chunk, maxBytes + 1 - bytes.size()));
        if (got == 0) return true;
        if (got < 0 && errno != EINTR && errno != EAGAIN) return false;
        if (got > 0) bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() > maxBytes) return false;
    }
}

bool takeDesktopPicture(uint64_t maxPixels, DesktopPicture& picture) {
    picture = DesktopPicture();
    std::vector<uint8_t> png;
    return runGrim(pngBytesBound(maxPixels), png) && looksLikePicture(png.data(), png.size()) &&
           decodePicture(png.data(), png.size(), maxPixels, picture, endRequested);
}

bool snapshotOutput(const DesktopPicture& picture, const ScreenArea& layout, const ScreenArea& output) {
    if (layout.width <= 0 || layout.height <= 0 || picture.width <= 0) return false;
    const double across = double(picture.width) / layout.width, down = double(picture.height) / layout.height;
    const long left = std::lround((output.left - layout.left) * across), top = std::lround((output.top - layout.top) * down);
    const long width = std::lround(output.width * across), height = std::lround(output.height * down);
    if (left < 0 || top < 0 || width <= 0 || height <= 0 || left + width > picture.width ||
        top + height > picture.height)
        return false;
    const size_t stride = size_t(picture.width) * 4;
    const BgrxPicture part = {picture.pixels.data() + size_t(top) * stride + size_t(left) * 4, int(width), int(height),
                              stride};
    if (isAllBlack(part)) return false;
    int snapshotWidth, snapshotHeight;
    snapshotSize(false, snapshotWidth, snapshotHeight);
    desktopSnapshot = squeezeSnapshot(part, snapshotWidth, snapshotHeight);
    return desktopSnapshot.pixels != nullptr;
}
