#include "native/end_watch.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <initializer_list>
#include <thread>

namespace {

// How long the main thread may take to end by itself once asked: it ends at once from
// its wait between frames; in the middle of a long frame or start-up step the watch ends
// the process. The run keeps nothing that a prompt end could lose: settings given on the
// command line are never stored, and a window that is not our own is its owner's.
const std::chrono::milliseconds endGrace(250);

std::atomic<bool> ending{false};
std::atomic<bool> enforced{false};  // the watch ends the process if the main thread does not
std::atomic<bool> restartAsked{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");
// One byte per end request and never read, so that each stays readable once asked: the
// main thread's wait polls the first, the watch the second (for the ends it enforces).
int mainWakePipe[2] = {-1, -1}, watchWakePipe[2] = {-1, -1};
// The main thread's word to the watch: 'w' a host's source to watch (source), 's' stop.
int controlPipe[2] = {-1, -1};
struct Source {
    int fd = -1;
    bool (*endsRun)() = nullptr;
    void (*close)() = nullptr;
} source;
std::thread watch;
sigset_t maskBefore;
const int endSignalNumbers[] = {SIGTERM, SIGINT, SIGHUP};
// A lock screen's reset (xsecurelock's, as its password prompt closes): the run goes on.
const int restartSignalNumber = SIGUSR1;

// A byte in a wake pipe; full, it is readable anyway, and without pipes the flags do.
void wake(const int (&pipe)[2]) {
    if (write(pipe[1], "e", 1) < 0) return;
}

void onEndSignal(int) {
    const int savedErrno = errno;
    requestEnd();
    errno = savedErrno;
}

void onRestartSignal(int) { requestRestart(); }

// The signals that only the watch's thread takes.
sigset_t watchedSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : endSignalNumbers) sigaddset(&signals, signal);
    sigaddset(&signals, restartSignalNumber);
    return signals;
}

void catchSignal(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

// Waits for the end, then for the main thread's stop for endGrace at the most.
void watchForEnd() {
    const sigset_t signals = watchedSignals();
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    Source watched;
    std::chrono::steady_clock::time_point deadline;
    bool graceRuns = false;
    for (;;) {
        if (enforced && !graceRuns) deadline = std::chrono::steady_clock::now() + endGrace, graceRuns = true;
        int timeoutMs = -1;
        if (graceRuns) {
            timeoutMs = int(std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                                .count());
            if (timeoutMs <= 0) _exit(0);
        }
        // Once the grace runs, only the stop is waited for: the wake pipe stays readable.
        pollfd fds[] = {{controlPipe[0], POLLIN, 0}, {watchWakePipe[0], POLLIN, 0}, {watched.fd, POLLIN, 0}};
        poll(fds, graceRuns ? 1 : 3, timeoutMs);
        char word = 0;
        if ((fds[0].revents & POLLIN) && read(controlPipe[0], &word, 1) == 1) {
            if (word == 's') break;
            if (word == 'w') watched = source;
        }
        // A new source is read at once: what came before it was watched may be read already.
        const bool due = word == 'w' || (fds[2].revents & POLLIN);
        if (!graceRuns && watched.endsRun && due && watched.endsRun()) requestEnd();
    }
    if (watched.close) watched.close();
}

// Pipes of this process's own: a forked process must not wake on its parent's ends.
bool makePipes() {
    for (int* ends : {mainWakePipe, watchWakePipe, controlPipe})
        for (int end : {0, 1})
            if (ends[end] >= 0) close(ends[end]), ends[end] = -1;
    return pipe2(mainWakePipe, O_CLOEXEC | O_NONBLOCK) == 0 && pipe2(watchWakePipe, O_CLOEXEC | O_NONBLOCK) == 0 &&
           pipe2(controlPipe, O_CLOEXEC) == 0;
}

}  // namespace

bool startEndWatch() {
    if (!makePipes()) return false;
    const sigset_t signals = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &signals, &maskBefore);  // inherited by every thread started later
    for (int signal : endSignalNumbers) catchSignal(signal, onEndSignal);
    catchSignal(restartSignalNumber, onRestartSignal);
    watch = std::thread(watchForEnd);
    return true;
}

bool watchForEndAlso(int fd, bool (*endsRun)(), void (*close)()) {
    if (!watch.joinable()) return false;
    source = {fd, endsRun, close};
    return write(controlPipe[1], "w", 1) == 1;
}

void requestEnd() {
    enforced = true;
    wake(watchWakePipe);
    requestEndAfterFrame();
}

void requestEndAfterFrame() {
    ending = true;
    wake(mainWakePipe);
}

bool endRequested() { return ending; }

void requestRestart() { restartAsked = true; }

bool takeRestartRequest() { return restartAsked.exchange(false); }

int endWakeFd() { return mainWakePipe[0]; }

void stopEndWatch() {
    if (!watch.joinable()) return;
    if (write(controlPipe[1], "s", 1) == 1) watch.join();
    else watch.detach();
    pthread_sigmask(SIG_SETMASK, &maskBefore, nullptr);
}
