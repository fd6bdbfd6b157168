// How the scenes cover the monitors (the monitorMode setting): one scene across all of
// them, a scene of its own on each, or the primary monitor alone with the others black.
// Portable; read wherever a run or a dialog needs the mode.
#pragma once
#include <cstdint>

#include "settings/saver_settings.h"

enum MonitorMode : int32_t { SpanMonitors = 0, EachMonitor = 1, PrimaryMonitorOnly = 2 };

// Windows keeps one scene across all monitors, as it always has (the table's default);
// the daemon runs one native saver per monitor, so there each draws its own.
const MonitorMode windowsMonitorModeDefault = SpanMonitors;
const MonitorMode nativeMonitorModeDefault = EachMonitor;

// The mode to draw with. The stored value stays as the user had it; one that names no
// mode draws as the platform's default.
inline MonitorMode monitorModeOf(const SaverSettings& settings, MonitorMode platformDefault) {
    const int32_t stored = settings.monitorMode;
    return stored >= SpanMonitors && stored <= PrimaryMonitorOnly ? MonitorMode(stored) : platformDefault;
}
