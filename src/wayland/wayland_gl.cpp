#include "wayland/wayland_gl.h"

#include <EGL/eglext.h>

namespace {

// An RGB config without alpha, so that nothing of the desktop shows through where the
// scene clears, and with 24 bits of depth where there are (EGL lists the fewest first):
// with 16, the scene's far plane leaves rings on the flat waves.
EGLConfig chooseConfig(EGLDisplay display) {
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_RED_SIZE, 8,
                             EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 16, EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, configs, 64, &count) || count == 0) return nullptr;
    EGLConfig best = configs[0];
    int bestScore = -1;
    for (EGLint i = 0; i < count; ++i) {
        EGLint alpha = 0, depth = 0;
        eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &alpha);
        eglGetConfigAttrib(display, configs[i], EGL_DEPTH_SIZE, &depth);
        const int score = (alpha == 0 ? 2 : 0) + (depth >= 24 ? 1 : 0);
        if (score > bestScore) best = configs[i], bestScore = score;
    }
    return best;
}

}  // namespace

bool openWaylandGl(wl_display* display, WaylandGl& gl, std::string& error) {
    gl.display = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
    if (gl.display == EGL_NO_DISPLAY || !eglInitialize(gl.display, nullptr, nullptr) || !eglBindAPI(EGL_OPENGL_API)) {
        error = "no EGL with desktop OpenGL on this Wayland compositor";
        return false;
    }
    gl.config = chooseConfig(gl.display);
    if (gl.config) gl.context = eglCreateContext(gl.display, gl.config, EGL_NO_CONTEXT, nullptr);
    if (gl.context == EGL_NO_CONTEXT) {
        error = "no double-buffered OpenGL config with a depth buffer on this Wayland compositor";
        return false;
    }
    return true;
}

void closeWaylandGl(WaylandGl& gl) {
    if (gl.display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(gl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (gl.context != EGL_NO_CONTEXT) eglDestroyContext(gl.display, gl.context);
    eglTerminate(gl.display);
    gl = WaylandGl();
}
