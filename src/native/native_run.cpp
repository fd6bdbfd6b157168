#include "native/native_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "native/end_watch.h"
#include "native/native_process.h"
#include "settings/saver_settings.h"

int runWithEndWatch(const std::function<int()>& run) {
    if (!startEndWatch()) {
        std::fprintf(stderr, "quakeglass: cannot watch for the end signals: %s\n", std::strerror(errno));
        return 1;
    }
    applyPriority(saverSettings.Priority);
    const int status = run();
    stopEndWatch();
    return status;
}
