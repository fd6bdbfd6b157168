#include "native/native_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <initializer_list>

namespace {

// Set by the signal handlers and by requestSaverEnd from any thread.
std::atomic<bool> endFlag{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

// The self-pipe behind endRequestFd: one byte is written when the end is asked.
int endPipe[2] = {-1, -1};

void onEndSignal(int) { requestSaverEnd(); }

}  // namespace

void catchEndSignals() {
    // A pipe of its own: a forked process must not wake on its parent's or siblings' ends.
    for (int& end : endPipe)
        if (end >= 0) close(end), end = -1;
    if (pipe2(endPipe, O_CLOEXEC | O_NONBLOCK) != 0) endPipe[0] = endPipe[1] = -1;
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool endRequested() { return endFlag; }

void requestSaverEnd() {
    const int savedErrno = errno;  // a handler must leave errno as it found it
    if (!endFlag.exchange(true) && endPipe[1] >= 0) {
        const char byte = 1;
        (void)!write(endPipe[1], &byte, 1);
    }
    errno = savedErrno;
}

int endRequestFd() { return endPipe[0]; }

void applyPriority(int priority) {
    static const int niceChange[] = {10, 5, 0, -5, -10, -20};
    if (priority < 0 || priority > 5 || niceChange[priority] == 0) return;
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, 0);
    if (errno) return;
    int wanted = current + niceChange[priority];
    wanted = wanted < -20 ? -20 : wanted > 19 ? 19 : wanted;
    setpriority(PRIO_PROCESS, 0, wanted);  // raising needs privilege: without it, stay
}

uint32_t clockSeed() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}
