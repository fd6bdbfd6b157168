// The render thread: owns the OpenGL context of the saver window and draws
// frames while renderRunning is set.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

// Frames presented so far in this process: the benchmark reads it from another thread.
extern std::atomic<uint32_t> framesPresented;

DWORD WINAPI RenderThread(LPVOID window);
void chooseBestPixelFormat(HDC deviceContext);
