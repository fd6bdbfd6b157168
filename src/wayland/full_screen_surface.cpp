#include "wayland/full_screen_surface.h"

#include <wayland-egl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "viewporter-client-protocol.h"
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

// The output's pixels per logical pixel: its mode over its logical size where a viewport
// can take a buffer of any size (a fractional scale too), else its integer scale.
double pixelRatioOf(const WaylandConnection& connection, const WaylandOutput* output) {
    if (!output) return 1;
    const int logical = std::max(output->area.width, output->area.height);
    const int pixels = std::max(output->modeWidth, output->modeHeight);
    if (connection.viewporter && logical > 0 && pixels > 0) return double(pixels) / logical;
    return std::max(output->scale, 1);
}

// The buffer's size for a logical size, and the viewport or buffer scale that maps it.
void setLogicalSize(FullScreenSurface& window, int logicalWidth, int logicalHeight) {
    window.logicalWidth = logicalWidth, window.logicalHeight = logicalHeight;
    window.width = std::max(1, int(std::lround(logicalWidth * window.pixelRatio)));
    window.height = std::max(1, int(std::lround(logicalHeight * window.pixelRatio)));
    if (window.viewport) wp_viewport_set_destination(window.viewport, logicalWidth, logicalHeight);
}

bool makeEglSurface(const WaylandGl& gl, FullScreenSurface& window, std::string& error) {
    window.eglWindow = wl_egl_window_create(window.surface, window.width, window.height);
    window.eglSurface = eglCreatePlatformWindowSurface(gl.display, gl.config, window.eglWindow, nullptr);
    if (window.eglSurface == EGL_NO_SURFACE ||
        !eglMakeCurrent(gl.display, window.eglSurface, window.eglSurface, gl.context)) {
        error = "cannot make an OpenGL context current on the Wayland window";
        return false;
    }
    // The frame callbacks pace the frames: a swap that waited for the compositor would not
    // wake for the end signals while the window is unseen.
    eglSwapInterval(gl.display, 0);
    return true;
}

void startToplevel(WaylandConnection& connection, const WaylandOutput* output, FullScreenSurface& window) {
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
    window.pixelRatio = pixelRatioOf(connection, output);
    if (window.pixelRatio != 1 && connection.viewporter)
        window.viewport = wp_viewporter_get_viewport(connection.viewporter, window.surface);
    else if (window.pixelRatio > 1 && wl_surface_get_version(window.surface) >= 3)
        wl_surface_set_buffer_scale(window.surface, int32_t(window.pixelRatio));
    else
        window.pixelRatio = 1;
    wl_surface_commit(window.surface);
}

}  // namespace

bool openFullScreenSurface(WaylandConnection& connection, const WaylandGl& gl, const WaylandOutput* output,
                           FullScreenSurface& window, std::string& error) {
    startToplevel(connection, output, window);
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
    setLogicalSize(window, chosen ? window.wantedWidth : known ? output->area.width : 1024,
                   chosen ? window.wantedHeight : known ? output->area.height : 768);
    window.wantedWidth = window.wantedHeight = 0;
    if (makeEglSurface(gl, window, error)) return true;
    if (compositorWentAway(connection)) error = "the Wayland compositor went away";
    return false;
}

void makeCurrent(const WaylandGl& gl, const FullScreenSurface& window) {
    eglMakeCurrent(gl.display, window.eglSurface, window.eglSurface, gl.context);
}

bool takeWantedSize(FullScreenSurface& window) {
    if (window.wantedWidth <= 0 || window.wantedHeight <= 0) return false;
    const int logicalWidth = window.wantedWidth, logicalHeight = window.wantedHeight;
    window.wantedWidth = window.wantedHeight = 0;
    if (logicalWidth == window.logicalWidth && logicalHeight == window.logicalHeight) return false;
    setLogicalSize(window, logicalWidth, logicalHeight);
    wl_egl_window_resize(window.eglWindow, window.width, window.height, 0, 0);
    return true;
}

void presentFrame(const WaylandGl& gl, FullScreenSurface& window) {
    if (!window.frameCallback) {
        window.frameCallback = wl_surface_frame(window.surface);
        wl_callback_add_listener(window.frameCallback, &frameListener, &window);
    }
    eglSwapBuffers(gl.display, window.eglSurface);  // commits the surface with the callback
}

void closeFullScreenSurface(const WaylandGl& gl, FullScreenSurface& window) {
    if (window.eglSurface != EGL_NO_SURFACE) {
        // Let go of the surface first, should it be the current one.
        eglMakeCurrent(gl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroySurface(gl.display, window.eglSurface);
    }
    if (window.eglWindow) wl_egl_window_destroy(window.eglWindow);
    if (window.frameCallback) wl_callback_destroy(window.frameCallback);
    if (window.viewport) wp_viewport_destroy(window.viewport);
    if (window.toplevel) xdg_toplevel_destroy(window.toplevel);
    if (window.xdgSurface) xdg_surface_destroy(window.xdgSurface);
    if (window.surface) wl_surface_destroy(window.surface);
    window = FullScreenSurface();
}
