// A window for the native saver's tests to draw in, owned by another process as a
// daemon's or a settings dialog's window would be. Prints its id and that of a pixmap it
// keeps once it is mapped, and destroys it when a line (or the end) arrives on stdin.
//   test_window WIDTH HEIGHT X Y [vroot | input-only | screenshot-gone]
// vroot: names itself in __SWM_VROOT; input-only: an InputOnly window; screenshot-gone:
// names a daemon's screenshot pixmap (_SCREENSAVER_SCREENSHOT) that no longer exists.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: test_window WIDTH HEIGHT X Y [vroot | input-only | screenshot-gone]\n");
        return 2;
    }
    const char* kind = argc > 5 ? argv[5] : "";
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    XSetWindowAttributes attributes = {};
    attributes.background_pixel = 0x602060;  // a colour the saver never clears to
    attributes.override_redirect = True;
    attributes.event_mask = StructureNotifyMask;
    const bool inputOnly = std::strcmp(kind, "input-only") == 0;
    Window window = XCreateWindow(display, root, std::atoi(argv[3]), std::atoi(argv[4]), unsigned(std::atoi(argv[1])),
                                  unsigned(std::atoi(argv[2])), 0, inputOnly ? 0 : CopyFromParent,
                                  inputOnly ? InputOnly : InputOutput, CopyFromParent,
                                  (inputOnly ? 0 : CWBackPixel) | CWOverrideRedirect | CWEventMask, &attributes);
    if (std::strcmp(kind, "vroot") == 0)
        XChangeProperty(display, window, XInternAtom(display, "__SWM_VROOT", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&window), 1);
    if (std::strcmp(kind, "screenshot-gone") == 0) {
        Pixmap gone = XCreatePixmap(display, root, 8, 8, unsigned(DefaultDepth(display, screen)));
        XFreePixmap(display, gone);
        XChangeProperty(display, window, XInternAtom(display, "_SCREENSAVER_SCREENSHOT", False), XA_PIXMAP, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&gone), 1);
    }
    const Pixmap kept = XCreatePixmap(display, root, 8, 8, unsigned(DefaultDepth(display, screen)));
    XMapWindow(display, window);
    for (XEvent event; XNextEvent(display, &event), event.type != MapNotify;) {
    }
    std::printf("0x%lx 0x%lx\n", window, kept);
    std::fflush(stdout);
    char line[64];
    (void)!std::fgets(line, sizeof line, stdin);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}
