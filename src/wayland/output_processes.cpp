#include "wayland/output_processes.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>
#include <cstdio>
#include <vector>

#include "native/end_watch.h"

namespace {

int statusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
    return WIFSIGNALED(waitStatus) ? 128 + WTERMSIG(waitStatus) : 1;
}

[[noreturn]] void runChild(size_t index, const std::function<int(size_t)>& run, const sigset_t& mask, pid_t parent) {
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    if (!startEndWatch()) {
        std::perror("quakeglass: cannot watch for the end signals");
        _exit(1);
    }
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(0);  // the parent died before the line above
    const int status = run(index);
    stopEndWatch();
    std::fflush(nullptr);
    _exit(status);
}

// Waits for the first child to end or an end signal; the first child's status, or 0.
int waitForFirstEnd(std::vector<pid_t>& children, const sigset_t& watched) {
    for (;;) {
        siginfo_t info;
        const int signal = sigwaitinfo(&watched, &info);
        if (signal < 0) continue;  // interrupted
        if (signal != SIGCHLD) return 0;
        int waitStatus;
        const pid_t ended = waitpid(-1, &waitStatus, WNOHANG);
        if (ended <= 0) continue;
        for (pid_t& child : children)
            if (child == ended) child = 0;
        return statusOf(waitStatus);
    }
}

}  // namespace

int runProcessPerOutput(size_t count, const std::function<int(size_t)>& run) {
    stopEndWatch();  // this process waits for the signals itself from here on
    // The signals wait here, blocked, for sigwaitinfo: none comes between a look and a wait.
    sigset_t watched, previous;
    sigemptyset(&watched);
    for (int signal : {SIGCHLD, SIGTERM, SIGINT, SIGHUP}) sigaddset(&watched, signal);
    sigprocmask(SIG_BLOCK, &watched, &previous);
    std::fflush(nullptr);
    const pid_t parent = getpid();
    std::vector<pid_t> children;
    int status = 0;
    for (size_t i = 0; i < count && !endRequested() && status == 0; ++i) {
        const pid_t child = fork();
        if (child == 0) runChild(i, run, previous, parent);
        if (child > 0) children.push_back(child);
        if (child < 0) std::perror("quakeglass: cannot start the saver on every output"), status = 1;
    }
    if (status == 0 && !endRequested()) status = waitForFirstEnd(children, watched);
    for (pid_t child : children)
        if (child > 0) kill(child, SIGTERM);
    for (pid_t child : children)
        if (child > 0)
            while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {}
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return status;
}
