// The one way a native host sleeps: on a file descriptor of its own (a display connection, a
// child's pipe) and the end watch's wake-up, so that an end request always cuts a wait short.
// Any thread.
#pragma once

// Sleeps until `fd` shows one of `events` (POLLIN, POLLOUT), `timeoutMs` have passed (-1:
// no limit; a negative fd waits for the time alone) or the end is asked for. Returns the
// fd's poll events: 0 when the time ran out or the end came first.
short waitForFd(int fd, short events, int timeoutMs);
