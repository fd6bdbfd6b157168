// Reads the desktop background as the user set it and decodes the wallpaper with the
// Windows Imaging Component, which every Windows since XP SP3 has; where it is missing
// the wallpaper is treated as unreadable. Main thread, during saver window creation.
#include "capture/wallpaper_win32.h"

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

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

// The wallpaper at the size `area` shows it in a width x height picture, as 32-bit blue,
// green, red, unused pixels in `pixels`. False for no file, a broken one, or no WIC.
static bool decodeWallpaper(const wchar_t* path, DesktopBackground& background, const ScreenArea& area, int width,
                            int height, std::vector<uint8_t>& pixels) {
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapScaler* scaler = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT imageWidth = 0, imageHeight = 0;
    bool decoded = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&imageWidth, &imageHeight)) &&
        imageWidth > 0 && imageHeight > 0 && imageWidth < 0x8000000 && imageHeight < 0x8000000) {
        background.imageWidth = int(imageWidth), background.imageHeight = int(imageHeight);
        int decodedWidth, decodedHeight;
        wallpaperDecodeSize(background, area, width, height, decodedWidth, decodedHeight);
        const UINT stride = UINT(decodedWidth) * 4;
        if (SUCCEEDED(factory->CreateBitmapScaler(&scaler)) &&
            SUCCEEDED(scaler->Initialize(frame, UINT(decodedWidth), UINT(decodedHeight),
                                         WICBitmapInterpolationModeFant)) &&
            SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
            SUCCEEDED(converter->Initialize(scaler, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                            0.0, WICBitmapPaletteTypeCustom))) {
            try {
                pixels.assign(size_t(stride) * size_t(decodedHeight), 0);
                decoded = SUCCEEDED(converter->CopyPixels(nullptr, stride, UINT(pixels.size()), pixels.data()));
            } catch (const std::bad_alloc&) {
                decoded = false;
            }
        }
        background.image = {decoded ? pixels.data() : nullptr, decodedWidth, decodedHeight, stride};
    }
    release(converter);
    release(scaler);
    release(frame);
    release(decoder);
    release(factory);
    return decoded;
}

DesktopSnapshot backgroundPicture(const ScreenArea& area, int width, int height) {
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
        pictured = decodeWallpaper(path, background, area, width, height, pixels);
        if (SUCCEEDED(com)) CoUninitialize();
    }
    if (!pictured && !coloured) return {};
    return backgroundSnapshot(background, area, width, height);
}
