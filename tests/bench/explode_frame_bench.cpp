// Benchmark, not a test: whole Explode frames at the default settings drawn offscreen
// (OSMesa, so the GL is Mesa's on this thread alone), a sixtieth of a second apart, to the
// end of each; the process's CPU time per frame and the boxes a frame drew. Uses only
// what older trees have too, so `tools/bench --compare` can build it against them.
//   explode_frame_bench WIDTH HEIGHT FRAMES
#include <GL/osmesa.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "capture/desktop_snapshot.h"
#include "effects/geometry.h"
#include "effects/random.h"
#include "render/frame.h"
#include "render/frame_timer.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

static double cpuMs() { return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC; }

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: explode_frame_bench WIDTH HEIGHT FRAMES\n");
        return 2;
    }
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]), frames = std::atoi(argv[3]);
    std::vector<unsigned char> buffer(size_t(width) * height * 4);
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, width, height);
    glViewport(0, 0, width, height);
    SettingsStore::applyDefaults();
    desktopSnapshot = {width, height, static_cast<uint8_t*>(std::malloc(size_t(width) * height * 3))};
    for (size_t i = 0; i < size_t(width) * height * 3; ++i) desktopSnapshot.pixels[i] = uint8_t(i * 7 / 3);
    seedRandom(1);
    prepareScene();
    uploadSnapshotTexture();
    double start = 0;
    long boxes = 0;
    for (int frame = -60; frame < frames; ++frame) {  // the first second only builds the wall
        if (frame == 0) start = cpuMs();
        if (frame >= 0) boxes += long(fragmentList.size());
        FrameTimer::lastFrameMs = float(FrameTimer::nowMs() - 1000.0L / 60);
        drawFrame();
        glFinish();
    }
    std::printf("explode %dx%d, %d frames: %.3f ms CPU per frame, %ld boxes per frame\n", width, height, frames,
                (cpuMs() - start) / frames, boxes / frames);
    OSMesaDestroyContext(context);
    return 0;
}
