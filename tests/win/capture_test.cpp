// The capture against the system's own squeeze: StretchBlt into a compatible bitmap in its
// default mode, read back pixel by pixel or in one piece.
#include <gtest/gtest.h>

#include <algorithm>
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
        DesktopSnapshot bulk = captureArea(picture.context, {0, 0, 64, 48}, size.width, size.height);
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
    DesktopSnapshot snapshot = captureArea(picture.context, {0, 0, 20, 10}, 20, 10);
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
                                                   {2000000000, 2000000000}, {65536, 65536},
                                                   {1, 67108864}, {8193, 1}};
    for (auto size : sizes) {
        DesktopSnapshot snapshot = captureArea(picture.context, {0, 0, 8, 8}, size.width, size.height);
        EXPECT_EQ(snapshot.pixels, nullptr) << size.width << "x" << size.height;
    }
    freePicture(picture);
}

namespace {

// A screen-sized picture written straight into a DIB section: SetPixel would take seconds.
struct ScreenPicture {
    HDC context;
    HBITMAP section;
    HGDIOBJ previous;
};

ScreenPicture makeScreenPicture(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    ScreenPicture p = {CreateCompatibleDC(screen), CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0),
                       nullptr};
    ReleaseDC(nullptr, screen);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[size_t(y) * width + x] = (x * 2654435761u) ^ (y * 40503u) ^ (x * y);
    p.previous = SelectObject(p.context, p.section);
    return p;
}

// The system's squeeze of the whole source into width x height, read back in one piece.
std::vector<uint8_t> captureByStretchBlt(HDC source, int sourceWidth, int sourceHeight, int width, int height) {
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    StretchBlt(memory, 0, 0, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint8_t> bgrx(size_t(width) * height * 4), bgr(size_t(width) * height * 3);
    GetDIBits(memory, bitmap, 0, UINT(height), bgrx.data(), &info, DIB_RGB_COLORS);
    for (size_t i = 0; i < size_t(width) * height; ++i)
        for (int c = 0; c < 3; ++c) bgr[3 * i + c] = bgrx[4 * i + c];
    DeleteDC(memory);
    DeleteObject(bitmap);
    return bgr;
}

}  // namespace

TEST(Capture, ScreenSizedPicturesSqueezeAsTheSystemDoesAtTheDialogsSizes) {
    const struct { int width, height; } screens[] = {{1024, 768}, {1920, 1080}, {1366, 768}};
    const struct { int width, height; } textures[] = {{512, 256}, {128, 64}, {2048, 2048}, {128, 2048},
                                                      {1024, 1024}, {256, 512}, {1000, 333}};
    for (auto screen : screens) {
        ScreenPicture picture = makeScreenPicture(screen.width, screen.height);
        for (auto texture : textures) {
            DesktopSnapshot ours = captureArea(picture.context, {0, 0, screen.width, screen.height},
                                               texture.width, texture.height);
            ASSERT_NE(ours.pixels, nullptr);
            std::vector<uint8_t> system = captureByStretchBlt(picture.context, screen.width, screen.height,
                                                              texture.width, texture.height);
            EXPECT_TRUE(std::equal(system.begin(), system.end(), ours.pixels))
                << screen.width << "x" << screen.height << " into " << texture.width << "x" << texture.height;
            std::free(ours.pixels);
        }
        SelectObject(picture.context, picture.previous);
        DeleteDC(picture.context);
        DeleteObject(picture.section);
    }
}

TEST(Capture, AnAreaOffTheOriginIsTakenFromItsOwnCorner) {
    Picture picture = makePicture(40, 30);
    DesktopSnapshot snapshot = captureArea(picture.context, {10, 5, 20, 20}, 20, 20);
    ASSERT_NE(snapshot.pixels, nullptr);
    const uint8_t* first = snapshot.pixels;
    EXPECT_EQ(RGB(first[2], first[1], first[0]), patternAt(10, 5));
    std::free(snapshot.pixels);
    freePicture(picture);
}
