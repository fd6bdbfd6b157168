// A full-screen window of one colour, shown as the user's desktop by a Windows program:
// a copy of the screen sees it, and keys typed at it reach the system's input record as
// they do on a desktop whose windows belong to other programs.
//   test_desktop.exe RRGGBB      (runs until killed)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static COLORREF colour;

static LRESULT CALLBACK paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &paint.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: test_desktop RRGGBB\n");
        return 2;
    }
    const unsigned long rgb = std::strtoul(argv[1], nullptr, 16);
    colour = RGB((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = paint;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuakeglassTestDesktop";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("QuakeglassTestDesktop", "Test desktop", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    if (!window) return 1;
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) DispatchMessageA(&message);
    return 0;
}
