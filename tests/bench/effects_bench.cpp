// Benchmark, not a test: CPU time per frame of the wave grid's height update and
// normals at 80x60, and of the explode step with 11250 flying pieces; the time the -fps
// overlay adds to a 1024x768 frame, drawn offscreen to the end (OSMesa).
#include <GL/osmesa.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "effects/explode.h"
#include "effects/random.h"
#include "effects/wave_grid.h"
#include "render/fps_overlay.h"
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

// The -fps overlay over a 1024x768 frame: 50 drawings to one glFinish (a frame's swap
// waits for the drawing anyway), less the same frames without it, in wall time.
static void benchFpsOverlay() {
    std::vector<unsigned char> buffer(1024 * 768 * 4);
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, 1024, 768);
    FpsOverlay overlay;
    for (int frame = 0; frame <= 40; ++frame) countFpsFrame(overlay, frame / 33.0, frame / 330.0);
    const auto frameMs = [&](int overlays) {
        const int frames = 100;
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        for (int frame = 0; frame < frames; ++frame) {
            for (int i = 0; i < overlays; ++i) drawFpsOverlay(overlay, 1024, 768);
            glFinish();
        }
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / frames;
    };
    const double bare = frameMs(0), drawn = frameMs(50);
    std::printf("fps overlay at 1024x768: %.4f ms per drawing (50 drawings and a finish %.3f ms, a finish %.3f ms)\n",
                (drawn - bare) / 50, drawn, bare);
    OSMesaDestroyContext(context);
}

int main() {
    SettingsStore::applyDefaults();
    benchGrid();
    benchFragments();
    benchFpsOverlay();
    return 0;
}
