// The render thread: owns the OpenGL context of the saver window and draws
// frames while renderRunning is set.
#pragma once
#include <windows.h>

#include <atomic>

// Set by the saver host before it starts the thread, cleared to stop it; the thread reads
// it before every frame.
extern std::atomic<bool> renderRunning;

DWORD WINAPI RenderThread(LPVOID window);
// Clears renderRunning and wakes the thread wherever it sleeps. Any thread.
void stopRendering();
// What the window thread hears of the display: while it is off the render thread draws
// nothing and sleeps; once it is on (or dimmed) again the next frame comes at once, the
// motion where it stopped.
void setDisplayOn(bool on);
// Starts the GL driver on a thread of its own while the saver window is made; the render
// thread waits for it before it chooses its pixel format. Main thread, once per run.
void startOpenGLWarmUp();
void chooseBestPixelFormat(HDC deviceContext);
