#include "wayland/full_screen_surface.h"

#include <EGL/eglext.h>
#include <wayland-egl.h>

#include <cstdint>

#include "xdg-shell-client-protocol.h"

namespace {

void onSurfaceConfigure(void* data, xdg_surface* xdgSurface, uint32_t serial) {
    xdg_surface_ack_configure(xdgSurface, serial);
    static_cast<FullScreenSurface*>(data)->configured = true;
}
const xdg_surface_listener surfaceListener = {onSurfaceConfigure};

void onToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    auto* window = static_cast<FullScreenSurface*>(data);
    window->wantedWidth = width, window->wantedHeight = height;
}
void onToplevelClose(void* data, xdg_toplevel*) { static_cast<FullScreenSurface*>(data)->closed = true; }
const xdg_toplevel_listener toplevelListener = {onToplevelConfigure, onToplevelClose, nullptr, nullptr};  // version 1

void onFrameDone(void* data, wl_callback* callback, uint32_t) {
    wl_callback_destroy(callback);
    static_cast<FullScreenSurface*>(data)->frameCallback = nullptr;
}
const wl_callback_listener frameListener = {onFrameDone};

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

bool makeContext(wl_display* display, FullScreenSurface& window, std::string& error) {
    window.eglDisplay = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
    if (window.eglDisplay == EGL_NO_DISPLAY || !eglInitialize(window.eglDisplay, nullptr, nullptr) ||
        !eglBindAPI(EGL_OPENGL_API)) {
        error = "no EGL with desktop OpenGL on this Wayland compositor";
        return false;
    }
    const EGLConfig config = chooseConfig(window.eglDisplay);
    if (config) window.context = eglCreateContext(window.eglDisplay, config, EGL_NO_CONTEXT, nullptr);
    if (window.context == EGL_NO_CONTEXT) {
        error = "no double-buffered OpenGL config with a depth buffer on this Wayland compositor";
        return false;
    }
    window.eglWindow = wl_egl_window_create(window.surface, window.width, window.height);
    window.eglSurface = eglCreatePlatformWindowSurface(window.eglDisplay, config, window.eglWindow, nullptr);
    if (window.eglSurface == EGL_NO_SURFACE ||
        !eglMakeCurrent(window.eglDisplay, window.eglSurface, window.eglSurface, window.context)) {
        error = "cannot make an OpenGL context current on the Wayland window";
        return false;
    }
    // The frame callbacks pace the frames: a swap that waited for the compositor would not
    // wake for the end signals while the window is unseen.
    eglSwapInterval(window.eglDisplay, 0);
    return true;
}

}  // namespace

bool openFullScreenSurface(WaylandConnection& connection, const WaylandOutput* output, FullScreenSurface& window,
                           std::string& error) {
    window.surface = wl_compositor_create_surface(connection.compositor);
    window.xdgSurface = xdg_wm_base_get_xdg_surface(connection.wmBase, window.surface);
    xdg_surface_add_listener(window.xdgSurface, &surfaceListener, &window);
    window.toplevel = xdg_surface_get_toplevel(window.xdgSurface);
    xdg_toplevel_add_listener(window.toplevel, &toplevelListener, &window);
    xdg_toplevel_set_title(window.toplevel, "Quakeglass");
    xdg_toplevel_set_app_id(window.toplevel, "quakeglass");
    xdg_toplevel_set_fullscreen(window.toplevel, output ? output->output : nullptr);
    wl_region* everything = wl_compositor_create_region(connection.compositor);
    wl_region_add(everything, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_set_opaque_region(window.surface, everything);
    wl_region_destroy(everything);
    // A scaled output gets a buffer of its own pixels, not of the logical ones.
    if (output && output->scale > 1 && wl_surface_get_version(window.surface) >= 3) {
        window.scale = output->scale;
        wl_surface_set_buffer_scale(window.surface, window.scale);
    }
    wl_surface_commit(window.surface);
    // The first configure answers the first commit.
    const Answer answer = awaitAnswer(connection, 5000);
    if (answer == Answer::Lost || answer == Answer::Silent) {
        error = answer == Answer::Lost ? "the Wayland compositor went away"
                                       : "the Wayland compositor does not show the window (5 s)";
        return false;
    }
    if (!window.configured) return false;  // closed or ended before it showed: no message
    // A compositor that leaves the size to us gets the output's, or the scene plane's.
    const bool chosen = window.wantedWidth > 0 && window.wantedHeight > 0;
    const bool known = output && output->area.width > 0 && output->area.height > 0;
    window.width = window.scale * (chosen ? window.wantedWidth : known ? output->area.width : 1024);
    window.height = window.scale * (chosen ? window.wantedHeight : known ? output->area.height : 768);
    window.wantedWidth = window.wantedHeight = 0;
    if (makeContext(connection.display, window, error)) return true;
    // EGL fails when the connection does, and says nothing of it.
    if (wl_display_get_error(connection.display)) error = "the Wayland compositor went away";
    return false;
}

bool takeWantedSize(FullScreenSurface& window) {
    if (window.wantedWidth <= 0 || window.wantedHeight <= 0) return false;
    const int width = window.scale * window.wantedWidth, height = window.scale * window.wantedHeight;
    window.wantedWidth = window.wantedHeight = 0;
    if (width == window.width && height == window.height) return false;
    window.width = width, window.height = height;
    wl_egl_window_resize(window.eglWindow, width, height, 0, 0);
    return true;
}

void presentFrame(FullScreenSurface& window) {
    if (!window.frameCallback) {
        window.frameCallback = wl_surface_frame(window.surface);
        wl_callback_add_listener(window.frameCallback, &frameListener, &window);
    }
    eglSwapBuffers(window.eglDisplay, window.eglSurface);  // commits the surface with the callback
}

void closeFullScreenSurface(FullScreenSurface& window) {
    if (window.eglDisplay != EGL_NO_DISPLAY) {
        eglMakeCurrent(window.eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (window.eglSurface != EGL_NO_SURFACE) eglDestroySurface(window.eglDisplay, window.eglSurface);
        if (window.context != EGL_NO_CONTEXT) eglDestroyContext(window.eglDisplay, window.context);
        eglTerminate(window.eglDisplay);
    }
    if (window.eglWindow) wl_egl_window_destroy(window.eglWindow);
    if (window.frameCallback) wl_callback_destroy(window.frameCallback);
    if (window.toplevel) xdg_toplevel_destroy(window.toplevel);
    if (window.xdgSurface) xdg_surface_destroy(window.xdgSurface);
    if (window.surface) wl_surface_destroy(window.surface);
    window = FullScreenSurface();
}
