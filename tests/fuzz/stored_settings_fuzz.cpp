// The stored settings as the registry hands them over: per field, absent or any bytes of any
// type, read by the store's own conversion; then what a start makes of them short of GL
// (random preset, snapshot size, mipmaps, wave grid, explode wall, movement) and what the
// dialog and a save read back.
#include <cstdlib>

#include "capture/desktop_snapshot.h"
#include "effects/explode.h"
#include "effects/wave_grid.h"
#include "fuzz_input.h"
#include "render/mipmap.h"
#include "render/motion.h"
#include "settings/config_controls.h"
#include "settings/monitor_mode.h"
#include "settings/presets.h"
#include "settings/settings_fields.h"
#include "settings/settings_store.h"

// A snapshot of that size, if small enough to make here, through its mipmap chain.
static void makeSnapshotTexture() {
    int width, height;
    snapshotSize(false, width, height);
    const size_t bytes = snapshotBytes(width, height);
    if (bytes == 0 || bytes > (size_t(1) << 20)) return;
    uint8_t* pixels = static_cast<uint8_t*>(std::calloc(bytes, 1));
    MipmapChain chain;
    if (pixels && buildMipmapChain(pixels, width, height, chain)) freeMipmapChain(chain);
    std::free(pixels);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    SettingsStore::applyDefaults();
    for (const SettingsField& field : settingsFields) {
        const uint8_t header = input.byte();  // bit 7: absent; low bits: the value's size
        const std::string bytes = input.text(header & 7);
        int32_t value;
        if (!(header & 0x80) && storedValueFromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), value))
            assignStored(saverSettings, field, value);
    }
    if (saverSettings.randPreset) applyPresetValues(randomPresetIds[input.byte() % 8]);
    makeSnapshotTexture();
    if (saverSettings.Mode != Explode) {
        WaveGrid::build();
        WaveGrid::updateHeights(1.5f);
        WaveGrid::computeNormals();
    } else {
        clearFragments();
        buildWall();
        for (int step = 0; step < 3; ++step) {
            for (Fragment& piece : fragmentList) piece.update(10.0f, 0.05f);
            stepExplosion();
        }
    }
    resetMotion();
    for (int step = 0; step < 3; ++step) stepMotion(0.04f);
    priorityName(saverSettings.Priority);
    // Whatever is stored, a run draws with a mode there is, and the record keeps the value.
    const int32_t storedMode = saverSettings.monitorMode;
    const MonitorMode mode = monitorModeOf(saverSettings, windowsMonitorModeDefault);
    if (mode < SpanMonitors || mode > PrimaryMonitorOnly || saverSettings.monitorMode != storedMode) __builtin_trap();
    for (const SettingsField& field : settingsFields) storedValue(saverSettings, field);
    return 0;
}
