// The render thread: owns the OpenGL context of the saver window and draws
// frames while renderRunning is set.
#pragma once
#include <windows.h>

DWORD WINAPI RenderThread(LPVOID window);
void chooseBestPixelFormat(HDC deviceContext);
