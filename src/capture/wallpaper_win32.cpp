// Reads the desktop background as the user set it and decodes the wallpaper with the
// Windows Imaging Component, which every Windows since XP SP3 has; where it is missing
// the wallpaper is treated as unreadable, as it is when it is too large or takes too long.
// Main thread, during saver window creation.
#include "capture/wallpaper_win32.h"

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "capture/bounded_stream_win32.h"
#include "capture/picture_header.h"
#include "capture/wallpaper_layout.h"

bool onUsersDesktop() {
    HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
    char name[256] = {};
    DWORD needed = 0;
    if (!desktop || !GetUserObjectInformationA(desktop, UOI_NAME, name, sizeof name - 1, &needed)) return true;
    return isUsersDesktopName(name);
}

// A value of a key under HKCU as text: the desktop keeps numbers as strings, but a policy
// may write a DWORD.
static bool readUserValue(const char* key, const char* name, char* text, DWORD size) {
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
    DWORD type = 0, bytes = 255;
    BYTE data[256] = {};
    const bool read = RegQueryValueExA(opened, name, nullptr, &type, data, &bytes) == ERROR_SUCCESS;
    RegCloseKey(opened);
    if (!read || bytes >= size) return false;
    if (type == REG_DWORD && bytes == 4) {
        DWORD number;
        memcpy(&number, data, 4);
        wsprintfA(text, "%lu", number);
        return true;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    memcpy(text, data, bytes);
    text[bytes] = '\0';
    return true;
}

static int readDesktopNumber(const char* name) {
    char text[32];
    return readUserValue("Control Panel\\Desktop", name, text, sizeof text) ? std::atoi(text) : 0;
}

static BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT box, LPARAM list) {
    reinterpret_cast<std::vector<ScreenArea>*>(list)->push_back(
        {box->left, box->top, box->right - box->left, box->bottom - box->top});
    return TRUE;
}

// The monitors' rectangles and the virtual screen around them.
static void readMonitors(DesktopBackground& background) {
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&background.monitors));
    if (background.monitors.empty())
        background.monitors.push_back({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    background.virtualScreen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (background.virtualScreen.width <= 0 || background.virtualScreen.height <= 0)
        background.virtualScreen = background.monitors.front();
}

template <typename T> static void release(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

static bool withinPixels(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width * height <= maxPicturePixels;
}

// Whether the file's first bytes leave it to the decoder: a size of at most
// maxPicturePixels, or none they tell. The stream is back at its start after.
static bool headerAllows(IStream* stream) {
    std::vector<uint8_t> start(64 * 1024);
    ULONG got = 0;
    if (FAILED(stream->Read(start.data(), ULONG(start.size()), &got))) return false;
    uint32_t width, height;
    if (pictureHeaderSize(start.data(), got, width, height) && !withinPixels(width, height)) return false;
    LARGE_INTEGER origin = {};
    return SUCCEEDED(stream->Seek(origin, STREAM_SEEK_SET, nullptr));
}

// The wallpaper's first frame and its size, read through a stream that fails at the bound,
// when neither the file's header nor the decoder says it has too many pixels.
static bool openWallpaper(IWICImagingFactory* factory, const wchar_t* path, const WallpaperBound& bound,
                          IStream*& stream, IWICBitmapDecoder*& decoder, IWICBitmapFrameDecode*& frame, UINT& width,
                          UINT& height) {
    stream = openBoundedStream(path, bound);
    return stream && headerAllows(stream) &&
           SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
           SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
           withinPixels(width, height);
}

// The frame scaled to decodedWidth x decodedHeight as 32-bit blue, green, red, unused pixels.
static bool copyScaled(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, int decodedWidth, int decodedHeight,
                       std::vector<uint8_t>& pixels) {
    IWICBitmapScaler* scaler = nullptr;
    IWICFormatConverter* converter = nullptr;
    const UINT stride = UINT(decodedWidth) * 4;
    bool copied = false;
    if (SUCCEEDED(factory->CreateBitmapScaler(&scaler)) &&
        SUCCEEDED(scaler->Initialize(frame, UINT(decodedWidth), UINT(decodedHeight), WICBitmapInterpolationModeFant)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(scaler, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom))) {
        try {
            pixels.assign(size_t(stride) * size_t(decodedHeight), 0);
            copied = SUCCEEDED(converter->CopyPixels(nullptr, stride, UINT(pixels.size()), pixels.data()));
        } catch (const std::bad_alloc&) {
            copied = false;
        }
    }
    release(converter);
    release(scaler);
    return copied;
}

// The wallpaper at the size `area` shows it in a width x height picture, in `pixels`. False
// for no file, a broken one, one too large, one not decoded within the bound, or no WIC.
static bool decodeWallpaper(const wchar_t* path, const WallpaperBound& bound, DesktopBackground& background,
                            const ScreenArea& area, int width, int height, std::vector<uint8_t>& pixels) {
    IWICImagingFactory* factory = nullptr;
    IStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    UINT imageWidth = 0, imageHeight = 0;
    bool decoded = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory))) &&
        openWallpaper(factory, path, bound, stream, decoder, frame, imageWidth, imageHeight)) {
        background.imageWidth = int(imageWidth), background.imageHeight = int(imageHeight);
        int decodedWidth, decodedHeight;
        wallpaperDecodeSize(background, area, width, height, decodedWidth, decodedHeight);
        decoded = copyScaled(factory, frame, decodedWidth, decodedHeight, pixels);
        background.image = {decoded ? pixels.data() : nullptr, decodedWidth, decodedHeight, UINT(decodedWidth) * 4};
    }
    release(frame);
    release(decoder);
    release(stream);
    release(factory);
    return decoded;
}

DesktopSnapshot backgroundPicture(const ScreenArea& area, int width, int height, const WallpaperBound& bound) {
    WallpaperBound until = bound;
    if (until.deadline == 0) until.deadline = GetTickCount() + wallpaperDecodeMs;
    DesktopBackground background = {};
    readMonitors(background);
    background.fit = wallpaperFit(readDesktopNumber("WallpaperStyle"), readDesktopNumber("TileWallpaper"));
    char colourText[64];
    const bool coloured = readUserValue("Control Panel\\Colors", "Background", colourText, sizeof colourText) &&
                          parseBackgroundColour(colourText, background.colour);
    if (!coloured) background.colour = 0;
    wchar_t path[MAX_PATH + 1] = {};
    std::vector<uint8_t> pixels;
    bool pictured = false;
    if (SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0) && path[0]) {
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        pictured = decodeWallpaper(path, until, background, area, width, height, pixels);
        if (SUCCEEDED(com)) CoUninitialize();
    }
    if (!pictured && !coloured) return {};
    return backgroundSnapshot(background, area, width, height);
}
