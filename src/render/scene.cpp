#include "render/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

#include "capture/desktop_snapshot.h"
#include "effects/explode.h"
#include "effects/geometry.h"
#include "effects/wave_grid.h"
#include "render/mipmap.h"
#include "render/motion.h"
#include "settings/saver_settings.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

uint32_t desktopTexture = 0;

// The snapshot's levels below level 0, made before the upload (render thread only).
static MipmapChain snapshotMipmaps;
static bool snapshotPrepared = false;

static const GLfloat lightPosition[] = {0, 0, 1, 1};
static const GLfloat lightAmbient[] = {0.1f, 0.1f, 0.1f, 1};
static const GLfloat lightDiffuse[] = {1, 1, 1, 1};
static const GLfloat lightSpecular[] = {1, 1, 1, 1};
static const GLfloat materialAmbient[] = {0.1f, 0.1f, 0.1f, 1};
static const GLfloat materialDiffuse[] = {0, 0, 1, 1};
static const GLfloat materialSpecular[] = {1, 1, 1, 1};
static const GLfloat materialShininess = 50;
static const GLfloat materialEmission[] = {0, 0, 0, 1};

// Wrap, filters and environment of the texture that is bound now.
static void setTextureParameters() {
    const GLint filter = saverSettings.useLinear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

static void setLight() {
    // Given while the model-view matrix is the identity: a light fixed behind the eye.
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}

static void setMaterial() {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, materialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, materialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, materialSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, materialShininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, materialEmission);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    // The scene is lit in the white current colour. Mesa 22 keeps the blue diffuse after
    // the first enable; tracking takes hold when it is switched on once more.
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f(1, 1, 1, 1);
}

void prepareScene() {
    if (saverSettings.Mode != Explode) {
        WaveGrid::build();
        glEnable(GL_NORMALIZE);  // the smoothed normals are not unit length
    } else {
        clearFragments();
    }
    setLight();
    resetMotion();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(120, 1.33, 10, 10000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    setMaterial();
    if (sceneShowsLogo()) loadLogoTexture();
}

void loadLogoTexture() {
    if (LogoTexture.textureName) return;
    LogoTexture.loadResource(115);
    setTextureParameters();
}

uint32_t sceneTexture() { return sceneShowsLogo() || !desktopTexture ? LogoTexture.textureName : desktopTexture; }

bool logoStandsIn = false;

bool sceneShowsLogo() { return saverSettings.useOGL || logoStandsIn; }

void prepareSnapshotTexture() {
    if (snapshotPrepared) return;
    snapshotPrepared = true;
    if (desktopSnapshot.pixels)
        buildMipmapChain(desktopSnapshot.pixels, desktopSnapshot.width, desktopSnapshot.height, snapshotMipmaps);
}

// Smallest level first: the driver then sizes the whole chain at once instead of growing
// it level by level. False, with nothing uploaded, when there is no chain or level 0 is
// beyond the largest texture (GLU then rescales).
static bool uploadMipmapChain(const MipmapChain& chain) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (chain.levelCount == 0 || chain.width[0] > largest || chain.height[0] > largest) return false;
    for (int level = chain.levelCount - 1; level >= 0; --level)
        glTexImage2D(GL_TEXTURE_2D, level, 3, chain.width[level], chain.height[level], 0, GL_BGR_EXT,
                     GL_UNSIGNED_BYTE, chain.pixels[level]);
    return true;
}

void uploadSnapshotTexture() {
    prepareSnapshotTexture();
    snapshotPrepared = false;  // the next snapshot is prepared afresh
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (!desktopSnapshot.pixels) return;  // no texture of its own
    glGenTextures(1, &desktopTexture);
    glBindTexture(GL_TEXTURE_2D, desktopTexture);
    setTextureParameters();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // snapshot rows are packed, whatever the width
    if (!uploadMipmapChain(snapshotMipmaps))
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, desktopSnapshot.width, desktopSnapshot.height, GL_BGR_EXT,
                          GL_UNSIGNED_BYTE, desktopSnapshot.pixels);
    freeMipmapChain(snapshotMipmaps);
    std::free(desktopSnapshot.pixels);
    desktopSnapshot.pixels = nullptr;
}
