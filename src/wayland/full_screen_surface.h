// The native saver's window on Wayland: an xdg-shell toplevel, full screen on one output,
// with an OpenGL context through EGL (the compatibility profile that the scene's fixed
// pipeline needs). Frames are presented with a frame callback, so that the compositor says
// when the next one is worth drawing. Main thread.
#pragma once
#include <EGL/egl.h>
#include <wayland-client.h>

#include <cstdint>
#include <string>

#include "wayland/wayland_connection.h"

struct xdg_surface;
struct xdg_toplevel;
struct wl_egl_window;

struct FullScreenSurface {
    wl_surface* surface = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wl_egl_window* eglWindow = nullptr;
    EGLDisplay eglDisplay = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    EGLSurface eglSurface = EGL_NO_SURFACE;
    int width = 0, height = 0;                // what is drawn, in pixels
    int32_t scale = 1;                        // pixels per logical pixel of the output
    int wantedWidth = 0, wantedHeight = 0;    // what the compositor last asked for; 0: ours to choose
    bool configured = false;
    bool closed = false;                      // the compositor asked the window to close
    wl_callback* frameCallback = nullptr;     // the compositor has not yet asked for the next frame
};

// Makes the toplevel full screen on `output` (null: where the compositor likes), waits for
// its first configure and makes an OpenGL context current on it. False, with a one-line
// message, when the compositor or EGL refuses.
bool openFullScreenSurface(WaylandConnection& connection, const WaylandOutput* output, FullScreenSurface& window,
                           std::string& error);

// Takes a size the compositor asked for since the last frame; true when it changed.
bool takeWantedSize(FullScreenSurface& window);

// Presents the frame drawn and asks to hear when the next one is worth drawing.
void presentFrame(FullScreenSurface& window);

void closeFullScreenSurface(FullScreenSurface& window);
