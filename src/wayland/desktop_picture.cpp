#include "wayland/desktop_picture.h"

#include <fcntl.h>
#include <png.h>
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
const size_t largestPng = size_t(1) << 30;

int64_t monotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Reads a child's output until it closes it; false on the deadline, an end request or a
// picture larger than any desktop.
bool readAll(int fd, std::vector<uint8_t>& bytes) {
    const int64_t deadline = monotonicMs() + grimDeadlineMs;
    uint8_t chunk[65536];
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {endWakeFd(), POLLIN, 0}};
        const int64_t left = deadline - monotonicMs();
        if (left <= 0 || endRequested()) return false;
        if (poll(fds, 2, int(left)) < 0 && errno != EINTR) return false;
        if (!(fds[0].revents & (POLLIN | POLLHUP))) continue;
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got == 0) return true;
        if (got < 0 && errno != EINTR && errno != EAGAIN) return false;
        if (got > 0) bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() > largestPng) return false;
    }
}

// grim - : the whole desktop as one PNG on its standard output; its complaints (no such
// program, no screencopy) are not the user's business: the logo stands in.
bool runGrim(std::vector<uint8_t>& png) {
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
    const bool read = started && readAll(out[0], png);
    close(out[0]);
    if (!started) return false;
    if (!read) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct PngSource {
    const std::vector<uint8_t>* bytes;
    size_t offset;
};

void readPngBytes(png_structp png, png_bytep to, png_size_t count) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->bytes->size() - source->offset) png_error(png, "the PNG ends early");
    std::copy_n(source->bytes->data() + source->offset, count, to);
    source->offset += count;
}

// What libpng leaves behind when it gives up half way: all in one place, not on the
// stack between its setjmp and longjmp.
struct PngRead {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngSource source = {nullptr, 0};
    std::vector<png_bytep> rows;
};

// libpng's transformations to blue, green, red and a fourth byte, 8 bits each.
void asBgrx(png_structp png, png_infop info) {
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!(png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

bool decode(PngRead& read, DesktopPicture& picture) {
    if (setjmp(png_jmpbuf(read.png))) return false;
    png_set_read_fn(read.png, &read.source, readPngBytes);
    png_set_user_limits(read.png, maxSnapshotSide * 2, maxSnapshotSide * 2);
    png_read_info(read.png, read.info);
    asBgrx(read.png, read.info);
    const int width = int(png_get_image_width(read.png, read.info));
    const int height = int(png_get_image_height(read.png, read.info));
    if (png_get_rowbytes(read.png, read.info) != size_t(width) * 4) return false;
    picture.pixels.assign(size_t(width) * size_t(height) * 4, 0);
    read.rows.resize(size_t(height));
    for (int y = 0; y < height; ++y) read.rows[size_t(y)] = picture.pixels.data() + size_t(y) * size_t(width) * 4;
    png_read_image(read.png, read.rows.data());
    picture.width = width, picture.height = height;
    return true;
}

// A PNG's bytes as a picture; false when they are no PNG that libpng reads or the picture
// is larger than any desktop.
bool readPng(const std::vector<uint8_t>& png, DesktopPicture& picture) {
    picture = DesktopPicture();
    if (png.size() < 8 || png_sig_cmp(png.data(), 0, 8) != 0) return false;
    PngRead read;
    read.source = {&png, 0};
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (read.png) read.info = png_create_info_struct(read.png);
    const bool decoded = read.info && decode(read, picture);
    png_destroy_read_struct(&read.png, &read.info, nullptr);
    if (!decoded) picture = DesktopPicture();
    return decoded;
}

}  // namespace

bool takeDesktopPicture(DesktopPicture& picture) {
    std::vector<uint8_t> png;
    return runGrim(png) && readPng(png, picture);
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
