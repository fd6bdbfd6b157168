#include "native/posix_wait.h"

#include <poll.h>

#include "native/end_watch.h"

short waitForFd(int fd, short events, int timeoutMs) {
    pollfd fds[] = {{fd, events, 0}, {endWakeFd(), POLLIN, 0}};
    if (endRequested() || poll(fds, 2, timeoutMs) <= 0) return 0;
    return fds[0].revents;
}
