// Benchmark, not a test: CPU time per frame of the wave grid's height update and
// normals at 80x60, and of the explode step with 11250 flying pieces.
#include <cstdio>
#include <ctime>

#include "effects/explode.h"
#include "effects/random.h"
#include "effects/wave_grid.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

static double cpuMs() { return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC; }

static void benchGrid() {
    saverSettings.x_div = 80, saverSettings.y_div = 60, saverSettings.Mode = 3;
    waveCenter[0] = 512, waveCenter[1] = 384;
    WaveGrid::build();
    const int frames = 5000;
    const double start = cpuMs();
    for (int frame = 0; frame < frames; ++frame) {
        WaveGrid::updateHeights(frame / 60.0f);
        WaveGrid::computeNormals();
    }
    std::printf("wave grid 80x60, heights + normals: %.4f ms per frame\n", (cpuMs() - start) / frames);
}

// The list as the Explode 1 preset's biggest cycle leaves it: 11250 pieces in flight.
static void fillFlying(long count) {
    fragmentList.clear();
    for (long i = 0; i < count; ++i) {
        Fragment f;
        f.velocity = {float(nextRandom() % 60 - 30), float(nextRandom() % 60 - 30), float(nextRandom() % 100 - 30)};
        f.spin = {1, 2, 3};
        f.generation = int(i % 4);
        f.launched = true;
        f.resting = false;
        fragmentList.push_back(f);
    }
}

static void benchFragments() {
    saverSettings.x_div = 30, saverSettings.y_div = 25, saverSettings.genChildren = 2;
    seedRandom(7);
    const int frames = 60;
    double total = 0;
    long grown = 0;
    for (int round = 0; round < 20; ++round) {
        fillFlying(11250);
        const size_t capacity = fragmentList.capacity();
        const double start = cpuMs();
        for (int frame = 0; frame < frames; ++frame) {
            for (Fragment& f : fragmentList) f.update(25.0f / 60, 0.05f);
            stepExplosion();
        }
        total += cpuMs() - start;
        grown += fragmentList.capacity() != capacity;
    }
    std::printf("explode, 11250 pieces, update + step: %.4f ms per frame (storage grew in %ld of 20 rounds)\n",
                total / (20 * frames), grown);
}

int main() {
    SettingsStore::applyDefaults();
    benchGrid();
    benchFragments();
    return 0;
}
