#include "x11/end_watch.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace {

// How long the main thread may take to end by itself once asked: it ends at once from
// its wait between frames; in the middle of a long frame or start-up step the watch ends
// the process. The run keeps nothing that a prompt end could lose: settings given on the
// command line are never stored, and a window that is not our own is its owner's.
const std::chrono::milliseconds endGrace(250);

std::atomic<bool> ending{false};
std::atomic<bool> enforced{false};  // the watch ends the process if the main thread does not
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");
// One byte per end request and never read, so that each stays readable once asked: the
// main thread's wait polls the first, the watch the second (for the ends it enforces).
int mainWakePipe[2] = {-1, -1}, watchWakePipe[2] = {-1, -1};
// The main thread's word to the watch: 'w' a window to watch (watchDisplay), 's' stop.
int controlPipe[2] = {-1, -1};
std::atomic<Display*> watchDisplay{nullptr};
Window watchedWindow = None;
bool watchedOwnWindow = false;
std::thread watch;
sigset_t maskBefore;
const int endSignalNumbers[] = {SIGTERM, SIGINT, SIGHUP};

// A byte in a wake pipe; full, it is readable anyway, and without pipes the flags do.
void wake(const int (&pipe)[2]) {
    if (write(pipe[1], "e", 1) < 0) return;
}

void onEndSignal(int) {
    const int savedErrno = errno;
    requestEnd();
    errno = savedErrno;
}

sigset_t endSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : endSignalNumbers) sigaddset(&signals, signal);
    return signals;
}

bool endsRun(const XEvent& event) {
    if (event.type == DestroyNotify) return event.xdestroywindow.window == watchedWindow;
    return watchedOwnWindow && (event.type == KeyPress || event.type == ButtonPress);
}

// Waits for the end, then for the main thread's stop for endGrace at the most.
void watchForEnd() {
    const sigset_t signals = endSignals();
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    Display* display = nullptr;
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
        pollfd fds[] = {{controlPipe[0], POLLIN, 0}, {watchWakePipe[0], POLLIN, 0},
                        {display ? ConnectionNumber(display) : -1, POLLIN, 0}};
        poll(fds, graceRuns ? 1 : 3, timeoutMs);
        char word = 0;
        if ((fds[0].revents & POLLIN) && read(controlPipe[0], &word, 1) == 1) {
            if (word == 's') break;
            if (word == 'w') display = watchDisplay.load();
        }
        while (display && !graceRuns && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (endsRun(event)) requestEnd();
        }
    }
    if (display) XCloseDisplay(display);
}

}  // namespace

void startEndWatch() {
    XInitThreads();  // two connections on two threads, and one error handler for both
    if (pipe2(mainWakePipe, O_CLOEXEC | O_NONBLOCK) != 0 || pipe2(watchWakePipe, O_CLOEXEC | O_NONBLOCK) != 0 ||
        pipe2(controlPipe, O_CLOEXEC) != 0)
        return;
    const sigset_t signals = endSignals();
    pthread_sigmask(SIG_BLOCK, &signals, &maskBefore);  // inherited by every thread started later
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : endSignalNumbers) sigaction(signal, &action, nullptr);
    watch = std::thread(watchForEnd);
}

bool watchWindowForEnd(const char* displayName, Window window, bool ownWindow) {
    if (!watch.joinable()) return false;
    Display* display = XOpenDisplay(displayName);
    if (!display) return false;
    watchedWindow = window, watchedOwnWindow = ownWindow;
    XSelectInput(display, window, StructureNotifyMask | (ownWindow ? KeyPressMask | ButtonPressMask : 0));
    XSync(display, False);
    watchDisplay = display;
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

int endWakeFd() { return mainWakePipe[0]; }

void stopEndWatch() {
    if (!watch.joinable()) return;
    if (write(controlPipe[1], "s", 1) == 1) watch.join();
    else watch.detach();
    pthread_sigmask(SIG_SETMASK, &maskBefore, nullptr);
}
