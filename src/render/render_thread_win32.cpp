// The render thread body: context set-up, the frame loop and the teardown.
// Render thread only; it reads renderRunning before every frame.
#include "render/render_thread_win32.h"

#include <GL/gl.h>

#include <vector>

#include "effects/geometry.h"
#include "effects/random.h"
#include "effects/wave_grid.h"
#include "host/saver_host_win32.h"
#include "render/frame.h"
#include "render/pixel_format.h"
#include "render/scene.h"
#include "settings/presets.h"
#include "settings/presets_win32.h"
#include "settings/saver_settings.h"

static PIXELFORMATDESCRIPTOR requestDescriptor() {
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;
    request.cDepthBits = 16;
    return request;
}

void chooseBestPixelFormat(HDC deviceContext) {
    PIXELFORMATDESCRIPTOR descriptor;
    std::vector<PixelFormatTraits> formats;
    for (int i = 1; DescribePixelFormat(deviceContext, i, sizeof descriptor, &descriptor); ++i)
        formats.push_back({descriptor.dwFlags, descriptor.iPixelType, descriptor.cColorBits,
                           descriptor.cDepthBits});
    int best = pickBestPixelFormat(formats.data(), int(formats.size()));
    if (best) {
        DescribePixelFormat(deviceContext, best, sizeof descriptor, &descriptor);
        SetPixelFormat(deviceContext, best, &descriptor);
        return;
    }
    PIXELFORMATDESCRIPTOR request = requestDescriptor();
    SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &request), &request);
}

static void seedRandomAndPreset() {
    seedRandom(timeGetTime());
    nextRandom();
    nextRandom();
    if (saverSettings.randPreset) applyPreset(randomPresetIds[nextRandom() % 8], nullptr);
}

std::atomic<uint32_t> framesPresented{0};

static void renderFrame(HDC deviceContext) {
    drawFrame();
    wglSwapLayerBuffers(deviceContext, WGL_SWAP_MAIN_PLANE);
    framesPresented.fetch_add(1, std::memory_order_relaxed);
}

DWORD WINAPI RenderThread(LPVOID parameter) {
    HWND window = static_cast<HWND>(parameter);
    HDC deviceContext = GetDC(window);
    chooseBestPixelFormat(deviceContext);
    HGLRC renderingContext = wglCreateContext(deviceContext);
    RECT client;
    GetClientRect(window, &client);
    wglMakeCurrent(deviceContext, renderingContext);
    glViewport(client.left, client.top, client.right - client.left, client.bottom - client.top);
    waveCenter[0] = 512.0f, waveCenter[1] = 384.0f;
    seedRandomAndPreset();
    prepareScene();
    if (saverSettings.useOGL)
        glBindTexture(GL_TEXTURE_2D, LogoTexture.textureName);
    else
        uploadSnapshotTexture();
    while (renderRunning) {
        renderFrame(deviceContext);
        Sleep(0);
    }
    ReleaseDC(window, deviceContext);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(renderingContext);
    return 0;
}
