// A window for the native saver's tests to draw in, owned by another process as a
// daemon's or a settings dialog's window would be. Prints its id once it is mapped and
// destroys it when a line (or the end) arrives on stdin.
//   test_window WIDTH HEIGHT X Y [vroot]   (vroot: names itself in __SWM_VROOT)
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: test_window WIDTH HEIGHT X Y [vroot]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes = {};
    attributes.background_pixel = 0x602060;  // a colour the saver never clears to
    attributes.override_redirect = True;
    attributes.event_mask = StructureNotifyMask;
    Window window = XCreateWindow(display, RootWindow(display, screen), std::atoi(argv[3]), std::atoi(argv[4]),
                                  unsigned(std::atoi(argv[1])), unsigned(std::atoi(argv[2])), 0, CopyFromParent,
                                  InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask,
                                  &attributes);
    if (argc > 5 && std::strcmp(argv[5], "vroot") == 0)
        XChangeProperty(display, window, XInternAtom(display, "__SWM_VROOT", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&window), 1);
    XMapWindow(display, window);
    for (XEvent event; XNextEvent(display, &event), event.type != MapNotify;) {
    }
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    char line[64];
    (void)!std::fgets(line, sizeof line, stdin);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}
