#include "x11/screen_snapshot.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstring>
#include <vector>

#include "capture/desktop_snapshot.h"
#include "capture/picture_squeeze.h"
#include "capture/x_image_pixels.h"
#include "render/monitor_views.h"
#include "render/other_scenes.h"

namespace {

ZPixmapImage zpixmapOf(const XImage* image) {
    return {reinterpret_cast<const uint8_t*>(image->data), image->width, image->height, image->bytes_per_line,
            image->bits_per_pixel, image->depth, image->byte_order == MSBFirst,
            image->red_mask, image->green_mask, image->blue_mask};
}

// The daemon's picture of the desktop from before it blanked the screen: a pixmap named
// by the _SCREENSAVER_SCREENSHOT property of the window it hands over. None without one.
Pixmap daemonScreenshot(Display* display, Window window) {
    const Atom property = XInternAtom(display, "_SCREENSAVER_SCREENSHOT", True);
    if (window == None || property == None) return None;
    Atom type;
    int format;
    unsigned long items, after;
    unsigned char* value = nullptr;
    Pixmap pixmap = None;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_PIXMAP, &type, &format, &items, &after,
                           &value) == Success && type == XA_PIXMAP && format == 32 && items == 1)
        pixmap = *reinterpret_cast<Pixmap*>(value);
    if (value) XFree(value);
    return pixmap;
}

XImage* readScreen(Display* display, Window drawnIn) {
    Window root;
    int x, y;
    unsigned width = 0, height = 0, border, depth;
    // A screenshot whose pixmap is gone counts as none: the screen itself then.
    Drawable source = daemonScreenshot(display, drawnIn);
    if (source == None || !XGetGeometry(display, source, &root, &x, &y, &width, &height, &border, &depth)) {
        source = DefaultRootWindow(display);
        if (!XGetGeometry(display, source, &root, &x, &y, &width, &height, &border, &depth)) return nullptr;
    }
    XImage* image = XGetImage(display, source, 0, 0, width, height, AllPlanes, ZPixmap);
    // An image of a pixmap comes without colour masks: those of the screen's visual apply.
    const Visual* visual = DefaultVisual(display, DefaultScreen(display));
    if (image && !image->red_mask && int(depth) == DefaultDepth(display, DefaultScreen(display)))
        image->red_mask = visual->red_mask, image->green_mask = visual->green_mask, image->blue_mask = visual->blue_mask;
    return image;
}

// The part of the screen's picture that the scene of view `i` shows: its part of the
// screen, or all of it where the views are not the screen's (a window given to draw in).
BgrxPicture partOf(const BgrxPicture& screen, size_t i) {
    if (i >= sceneViews.size()) return screen;
    const ScreenArea& a = sceneViews[i].desktop;
    if (a.left < 0 || a.top < 0 || a.left + a.width > screen.width || a.top + a.height > screen.height) return screen;
    return {screen.pixels + size_t(a.top) * screen.stride + size_t(a.left) * 4, a.width, a.height, screen.stride};
}

}  // namespace

bool captureScreen(Display* display, bool previewMode, Window drawnIn) {
    int width, height;
    snapshotSize(previewMode, width, height);
    XImage* image = readScreen(display, drawnIn);
    if (!image) return false;
    const ZPixmapImage pixels = zpixmapOf(image);
    const bool direct = readsAsBgrx(pixels);
    const std::vector<uint32_t> converted = direct ? std::vector<uint32_t>() : convertToBgrx(pixels);
    const BgrxPicture picture =
        direct ? BgrxPicture{pixels.data, image->width, image->height, size_t(image->bytes_per_line)}
               : BgrxPicture{reinterpret_cast<const uint8_t*>(converted.data()), image->width, image->height,
                             size_t(image->width) * 4};
    // A layout the conversion does not read converts to nothing: the logo then.
    if ((direct || !converted.empty()) && !isAllBlack(picture)) {
        desktopSnapshot = squeezeSnapshot(partOf(picture, 0), width, height);
        for (size_t i = 1; i < sceneViews.size() && i - 1 < otherScenes.size(); ++i)
            otherScenes[i - 1].snapshot = squeezeSnapshot(partOf(picture, i), width, height);
    }
    XDestroyImage(image);
    return desktopSnapshot.pixels != nullptr;
}
