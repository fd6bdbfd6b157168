// Benchmark, not a test: the floor of a saver's start-up on this platform. A bare program
// that opens a full-screen window, makes a WGL context, clears once and swaps; prints when
// each step ended, in milliseconds from process start:
//   "window <ms> pixel-format <ms> context <ms> first-frame <ms>"
#include <windows.h>

#include <GL/gl.h>

#include <cstdio>

#include "render/frame_timer.h"

static double now() { return double(FrameTimer::nowMs()); }

int main() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FloorBench";
    RegisterClassA(&windowClass);
    RECT box;
    HDC screen = GetDC(nullptr);
    GetClipBox(screen, &box);
    ReleaseDC(nullptr, screen);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "FloorBench", "Floor", WS_POPUP | WS_VISIBLE, box.left, box.top,
                                  box.right - box.left, box.bottom - box.top, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    const double windowMs = now();
    HDC context = GetDC(window);
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;
    request.cDepthBits = 16;
    SetPixelFormat(context, ChoosePixelFormat(context, &request), &request);
    const double pixelFormatMs = now();
    HGLRC gl = wglCreateContext(context);
    wglMakeCurrent(context, gl);
    const double contextMs = now();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapBuffers(context);
    const double frameMs = now();
    std::printf("window %.1f pixel-format %.1f context %.1f first-frame %.1f\n", windowMs, pixelFormatMs,
                contextMs, frameMs);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(gl);
    DestroyWindow(window);
    return 0;
}
