// Plays the display control panel: owns a 152x112 preview window, starts
// "quakeglass.scr /p <handle>" in it, checks the child window, feeds it input,
// then destroys its window and reports how the saver ended.
//   preview_host.exe SCR [SECONDS_TO_SHOW]
// Prints "child <title> <width>x<height>", "alive-after-input", "exit <code> <ms>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

static void pumpFor(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    MSG message;
    while (LONG(end - GetTickCount()) > 0) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

static HWND createPreviewWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = "PreviewHost";
    RegisterClassA(&windowClass);
    RECT frame = {0, 0, 152, 112};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowA("PreviewHost", "Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

static HANDLE startSaver(const char* scr, HWND preview) {
    std::string command = std::string("\"") + scr + "\" /p " +
                          std::to_string(reinterpret_cast<uintptr_t>(preview));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

static HWND waitForChild(HWND preview, DWORD ms) {
    DWORD end = GetTickCount() + ms;
    HWND child = nullptr;
    while (!child && LONG(end - GetTickCount()) > 0) {
        pumpFor(50);
        child = FindWindowExA(preview, nullptr, nullptr, nullptr);
    }
    return child;
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    DWORD showMs = argc > 2 ? DWORD(std::atof(argv[2]) * 1000) : 1000;
    HWND preview = createPreviewWindow();
    HANDLE saver = startSaver(argv[1], preview);
    if (!saver) return 3;
    HWND child = waitForChild(preview, 10000);
    if (!child) {
        std::printf("no-child\n");
        TerminateProcess(saver, 99);
        return 1;
    }
    char title[64] = "";
    GetWindowTextA(child, title, sizeof title);
    RECT rect;
    GetClientRect(child, &rect);
    std::printf("child %s %ldx%ld\n", title, rect.right, rect.bottom);

    // Input reaches the preview too; none of it may end the saver.
    const UINT inputs[] = {WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSEMOVE};
    for (int round = 0; round < 8; ++round)
        for (UINT message : inputs) PostMessageA(child, message, 0, 0);
    pumpFor(showMs);
    if (WaitForSingleObject(saver, 0) == WAIT_TIMEOUT) std::printf("alive-after-input\n");
    std::fflush(stdout);

    DWORD start = GetTickCount();
    DestroyWindow(preview);
    DWORD waited = WaitForSingleObject(saver, 5000);
    DWORD code = 0;
    GetExitCodeProcess(saver, &code);
    std::printf("exit %s %lu %lu\n", waited == WAIT_OBJECT_0 ? "ended" : "running", code,
                GetTickCount() - start);
    if (waited != WAIT_OBJECT_0) TerminateProcess(saver, 98);
    return 0;
}
