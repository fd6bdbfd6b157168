// The bulk capture against a pixel-by-pixel read of the same squeezed bitmap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "capture/desktop_snapshot_win32.h"

namespace {

struct Picture {
    HDC context;
    HBITMAP bitmap;
    HGDIOBJ previous;
    int width, height;
};

COLORREF patternAt(int x, int y) { return RGB(x * 4 + 3, 255 - y * 5, (x ^ y) * 7); }

Picture makePicture(int width, int height) {
    HDC screen = GetDC(nullptr);
    Picture p = {CreateCompatibleDC(screen), CreateCompatibleBitmap(screen, width, height), nullptr,
                 width, height};
    ReleaseDC(nullptr, screen);
    p.previous = SelectObject(p.context, p.bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixel(p.context, x, y, patternAt(x, y));
    return p;
}

void freePicture(Picture& p) {
    SelectObject(p.context, p.previous);
    DeleteDC(p.context);
    DeleteObject(p.bitmap);
}

// The capture as one GetPixel per pixel, column by column.
std::vector<uint8_t> captureByPixels(HDC source, int sourceWidth, int sourceHeight, int width, int height) {
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    StretchBlt(memory, 0, 0, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            COLORREF c = GetPixel(memory, x, y);
            uint8_t* p = &pixels[(x + size_t(y) * width) * 3];
            p[0] = (c >> 16) & 255, p[1] = (c >> 8) & 255, p[2] = c & 255;
        }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return pixels;
}

}  // namespace

TEST(Capture, BulkReadEqualsPixelByPixelReadAtEverySize) {
    Picture picture = makePicture(64, 48);
    const struct { int width, height; } sizes[] = {{16, 12}, {64, 48}, {100, 70}, {37, 29}, {5, 48}};
    for (auto size : sizes) {
        DesktopSnapshot bulk = captureArea(picture.context, 64, 48, size.width, size.height);
        ASSERT_NE(bulk.pixels, nullptr) << size.width << "x" << size.height;
        EXPECT_EQ(bulk.width, size.width);
        EXPECT_EQ(bulk.height, size.height);
        std::vector<uint8_t> slow = captureByPixels(picture.context, 64, 48, size.width, size.height);
        EXPECT_EQ(std::vector<uint8_t>(bulk.pixels, bulk.pixels + slow.size()), slow)
            << size.width << "x" << size.height;
        std::free(bulk.pixels);
    }
    freePicture(picture);
}

TEST(Capture, LayoutRunsFromTheTopLeftInBlueGreenRed) {
    Picture picture = makePicture(20, 10);
    DesktopSnapshot snapshot = captureArea(picture.context, 20, 10, 20, 10);
    ASSERT_NE(snapshot.pixels, nullptr);
    const uint8_t* first = snapshot.pixels;
    const uint8_t* last = snapshot.pixels + (20 * 10 - 1) * 3;
    EXPECT_EQ(RGB(first[2], first[1], first[0]), GetPixel(picture.context, 0, 0));
    EXPECT_EQ(RGB(last[2], last[1], last[0]), GetPixel(picture.context, 19, 9));
    std::free(snapshot.pixels);
    freePicture(picture);
}

TEST(Capture, SizesThatCannotBeHeldGiveNoSnapshot) {
    Picture picture = makePicture(8, 8);
    const struct { int width, height; } sizes[] = {{0, 64}, {64, 0}, {-5, 64}, {2000000000, 256},
                                                   {2000000000, 2000000000}, {65536, 65536}};
    for (auto size : sizes) {
        DesktopSnapshot snapshot = captureArea(picture.context, 8, 8, size.width, size.height);
        EXPECT_EQ(snapshot.pixels, nullptr) << size.width << "x" << size.height;
    }
    freePicture(picture);
}
