// The render thread body: context set-up, the frame loop and the teardown.
// Render thread only; it reads renderRunning before every frame.
#include "render/render_thread_win32.h"

#include <vector>

#include "render/frame.h"
#include "render/monitor_views.h"
#include "render/other_scenes.h"
#include "render/pixel_format.h"
#include "render/render_start.h"
#include "render/scene.h"
#include "render/startup_marks.h"

std::atomic<bool> renderRunning{false};

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

static HANDLE openGLWarmUp = nullptr;

// The first pixel-format query loads and starts the GL driver, which takes longer than
// anything else before the first frame; a screen device context is enough for it.
static DWORD WINAPI warmUpOpenGL(LPVOID) {
    HDC screen = GetDC(nullptr);
    PIXELFORMATDESCRIPTOR descriptor;
    DescribePixelFormat(screen, 1, sizeof descriptor, &descriptor);
    ReleaseDC(nullptr, screen);
    return 0;
}

void startOpenGLWarmUp() {
    if (!openGLWarmUp) openGLWarmUp = CreateThread(nullptr, 0, warmUpOpenGL, nullptr, 0, nullptr);
}

// One scene over the whole window as ever, or each in its view.
static void renderFrame(HDC deviceContext, int viewsHeight) {
    if (viewsHeight)
        drawFrameInViews(viewsHeight);
    else
        drawFrame();
    wglSwapLayerBuffers(deviceContext, WGL_SWAP_MAIN_PLANE);
    if (framesPresented == 0) markStartup(firstFrameShown);
    ++framesPresented;
}

DWORD WINAPI RenderThread(LPVOID parameter) {
    HWND window = static_cast<HWND>(parameter);
    markStartup(renderThreadBegun);
    prepareSnapshotTexture();  // needs no GL: done while the driver starts
    if (openGLWarmUp) WaitForSingleObject(openGLWarmUp, INFINITE);
    HDC deviceContext = GetDC(window);
    chooseBestPixelFormat(deviceContext);
    markStartup(pixelFormatSet);
    HGLRC renderingContext = wglCreateContext(deviceContext);
    RECT client;
    GetClientRect(window, &client);
    // A run ended while a large texture was prepared leaves no window to draw in: no GL
    // call may follow without a context (GLU's mipmap build then fails in the runtime).
    const bool current = renderingContext && wglMakeCurrent(deviceContext, renderingContext);
    if (!current || !renderRunning) {
        if (current) wglMakeCurrent(nullptr, nullptr);
        if (renderingContext) wglDeleteContext(renderingContext);
        ReleaseDC(window, deviceContext);
        return 0;
    }
    markStartup(contextCurrent);
    const ScreenArea clientArea = {0, 0, client.right - client.left, client.bottom - client.top};
    startRendering(clientArea.width, clientArea.height, timeGetTime());
    prepareOtherScenes();
    const int viewsHeight = isWholeDrawable(sceneViews, clientArea) || sceneViews.empty() ? 0 : clientArea.height;
    while (renderRunning) {
        renderFrame(deviceContext, viewsHeight);
        Sleep(0);
    }
    releaseOtherScenes();
    ReleaseDC(window, deviceContext);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(renderingContext);
    return 0;
}
