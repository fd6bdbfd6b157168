#include "render/render_start.h"

#include <GL/gl.h>

#include "effects/geometry.h"
#include "effects/random.h"
#include "effects/wave_grid.h"
#include "render/scene.h"
#include "render/startup_marks.h"
#include "settings/presets.h"
#include "settings/saver_settings.h"

std::atomic<uint32_t> framesPresented{0};

// The thread's generator, two values thrown away, then the random preset if one is wanted.
static void seedRandomAndPreset(uint32_t seed) {
    seedRandom(seed);
    nextRandom();
    nextRandom();
    if (saverSettings.randPreset) applyPresetValues(randomPresetIds[nextRandom() % 8]);
}

void startRendering(int viewportWidth, int viewportHeight, uint32_t seed) {
    glViewport(0, 0, viewportWidth, viewportHeight);
    waveCenter[0] = 512.0f, waveCenter[1] = 384.0f;
    seedRandomAndPreset(seed);
    prepareScene();
    markStartup(scenePrepared);
    if (sceneShowsLogo())
        glBindTexture(GL_TEXTURE_2D, LogoTexture.textureName);
    else
        uploadSnapshotTexture();
    markStartup(textureUploaded);
}
