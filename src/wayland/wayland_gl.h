// The native saver's OpenGL on Wayland: one EGL display and one context (the compatibility
// profile that the scene's fixed pipeline needs), made current on each output's window in
// turn, so that every output draws the scenes of one process. Main thread.
#pragma once
#include <EGL/egl.h>
#include <wayland-client.h>

#include <string>

struct WaylandGl {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    EGLContext context = EGL_NO_CONTEXT;
};

// False, with a one-line message, when the compositor offers no desktop OpenGL.
bool openWaylandGl(wl_display* display, WaylandGl& gl, std::string& error);

void closeWaylandGl(WaylandGl& gl);
