// The native saver's window on one Wayland output: an xdg-shell toplevel, full screen,
// drawn with the process's one OpenGL context (wayland/wayland_gl.h) at the output's own
// pixel size, whatever its scale. Frames are presented with a frame callback, so that the
// compositor says when the next one is worth drawing. Main thread.
#pragma once
#include <EGL/egl.h>
#include <wayland-client.h>

#include <cstdint>
#include <string>

#include "wayland/wayland_connection.h"
#include "wayland/wayland_gl.h"

struct xdg_surface;
struct xdg_toplevel;
struct wl_egl_window;
struct wp_viewport;

struct FullScreenSurface {
    wl_surface* surface = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wp_viewport* viewport = nullptr;          // a buffer of the output's pixels on any scale
    wl_egl_window* eglWindow = nullptr;
    EGLSurface eglSurface = EGL_NO_SURFACE;
    int width = 0, height = 0;                // what is drawn, in pixels
    int logicalWidth = 0, logicalHeight = 0;  // what it covers of the desktop
    double pixelRatio = 1;                    // pixels per logical pixel of the output
    int wantedWidth = 0, wantedHeight = 0;    // what the compositor last asked for; 0: ours to choose
    bool configured = false;
    bool closed = false;                      // the compositor asked the window to close
    wl_callback* frameCallback = nullptr;     // the compositor has not yet asked for the next frame
};

// Makes the toplevel full screen on `output` (null: where the compositor likes), waits for
// its first configure and makes `gl` current on it. False, with a one-line message, when
// the compositor or EGL refuses.
bool openFullScreenSurface(WaylandConnection& connection, const WaylandGl& gl, const WaylandOutput* output,
                           FullScreenSurface& window, std::string& error);

// Makes `gl` current on the window, for a frame or for what the window's scene needs.
void makeCurrent(const WaylandGl& gl, const FullScreenSurface& window);

// Takes a size the compositor asked for since the last frame; true when it changed.
bool takeWantedSize(FullScreenSurface& window);

// Presents the frame drawn and asks to hear when the next one is worth drawing.
void presentFrame(const WaylandGl& gl, FullScreenSurface& window);

void closeFullScreenSurface(const WaylandGl& gl, FullScreenSurface& window);
