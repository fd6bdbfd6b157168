#include "x11/screen_monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace {

bool randrMonitors(Display* display, std::vector<ScreenArea>& monitors) {
    int eventBase, errorBase, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor) ||
        major * 100 + minor < 105)
        return false;
    int count = 0;
    XRRMonitorInfo* found = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    if (!found) return false;
    for (int i = 0; i < count; ++i) {
        const ScreenArea area = {found[i].x, found[i].y, found[i].width, found[i].height};
        monitors.insert(found[i].primary ? monitors.begin() : monitors.end(), area);
    }
    XRRFreeMonitors(found);
    return !monitors.empty();
}

void xineramaMonitors(Display* display, std::vector<ScreenArea>& monitors) {
    int eventBase, errorBase, count = 0;
    if (!XineramaQueryExtension(display, &eventBase, &errorBase) || !XineramaIsActive(display)) return;
    XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
    for (int i = 0; i < count; ++i)  // the first is the primary one
        monitors.push_back({screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height});
    if (screens) XFree(screens);
}

}  // namespace

std::vector<ScreenArea> screenMonitors(Display* display) {
    std::vector<ScreenArea> monitors;
    if (!randrMonitors(display, monitors)) xineramaMonitors(display, monitors);
    return monitors;
}
