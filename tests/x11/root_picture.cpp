// Puts a picture on the root window as its background, as a desktop's background setter
// does (the display must not reset when its last client goes: Xvfb -noreset).
//   root_picture PICTURE.ppm   (binary PPM, 8 bits per channel)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    std::FILE* file = argc == 2 ? std::fopen(argv[1], "rb") : nullptr;
    int width = 0, height = 0, maximum = 0;
    if (!file || std::fscanf(file, "P6 %d %d %d", &width, &height, &maximum) != 3 || maximum != 255) {
        std::fprintf(stderr, "usage: root_picture PICTURE.ppm\n");
        return 2;
    }
    std::fgetc(file);  // the one blank after the header
    std::vector<unsigned char> rgb(size_t(width) * size_t(height) * 3);
    if (std::fread(rgb.data(), 1, rgb.size(), file) != rgb.size()) return 1;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    Pixmap pixmap = XCreatePixmap(display, root, unsigned(width), unsigned(height), unsigned(DefaultDepth(display, screen)));
    XImage* image = XGetImage(display, pixmap, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            XPutPixel(image, x, y, static_cast<unsigned long>(p[0] << 16 | p[1] << 8 | p[2]));  // a 24-bit TrueColor screen
        }
    XPutImage(display, pixmap, DefaultGC(display, screen), image, 0, 0, 0, 0, unsigned(width), unsigned(height));
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XFreePixmap(display, pixmap);  // the root holds on to it
    XClearWindow(display, root);
    XCloseDisplay(display);
    return 0;
}
