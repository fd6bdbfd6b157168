// Plays the display control panel: owns a 152x112 preview window, starts
// "quakeglass.scr /p <handle>" in it, checks the child window, feeds it input,
// then ends one of three ways and reports how the saver ended.
//   preview_host.exe SCR [SECONDS_TO_SHOW [close|kill|terminate]]
//   preview_host.exe --watch HOST_PID SAVER_PID
// close: destroys its window. kill: waits to be killed from outside. terminate: ends
// itself with TerminateProcess. The last two print "pids <host> <saver>" and go only
// once a watcher (the second form) holds both processes; the watcher prints
// "watching", waits for the host to die, then times the saver.
// Prints "child <title> <width>x<height>", "alive-after-input", "exit <ended|running> <code> <ms>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static const char watchedEventName[] = "PreviewHostWatched";

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

static PROCESS_INFORMATION startSaver(const char* scr, HWND preview) {
    std::string command = std::string("\"") + scr + "\" /p " +
                          std::to_string(reinterpret_cast<uintptr_t>(preview));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process))
        CloseHandle(process.hThread);
    return process;
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

// Waits up to five seconds from `start` for the saver and prints how it ended.
static void reportExit(HANDLE saver, DWORD start) {
    DWORD waited = WaitForSingleObject(saver, 5000);
    DWORD code = 0;
    GetExitCodeProcess(saver, &code);
    std::printf("exit %s %lu %lu\n", waited == WAIT_OBJECT_0 ? "ended" : "running", code,
                GetTickCount() - start);
    std::fflush(stdout);
    if (waited != WAIT_OBJECT_0) TerminateProcess(saver, 98);
}

static int watch(DWORD hostId, DWORD saverId) {
    HANDLE host = OpenProcess(SYNCHRONIZE, FALSE, hostId);
    HANDLE saver = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, saverId);
    HANDLE watched = OpenEventA(EVENT_MODIFY_STATE, FALSE, watchedEventName);
    if (!host || !saver || !watched) return 4;
    std::printf("watching\n");
    std::fflush(stdout);
    SetEvent(watched);
    if (WaitForSingleObject(host, 30000) != WAIT_OBJECT_0) return 5;
    reportExit(saver, GetTickCount());
    return 0;
}

// The host's end: its window goes, or the whole process, with the saver still running.
static void endHost(const char* way, HWND preview, const PROCESS_INFORMATION& saver) {
    if (std::strcmp(way, "close") == 0) {
        DWORD start = GetTickCount();
        DestroyWindow(preview);
        reportExit(saver.hProcess, start);
        return;
    }
    HANDLE watched = CreateEventA(nullptr, TRUE, FALSE, watchedEventName);
    std::printf("pids %lu %lu\n", GetCurrentProcessId(), saver.dwProcessId);
    std::fflush(stdout);
    if (WaitForSingleObject(watched, 20000) != WAIT_OBJECT_0) return;
    if (std::strcmp(way, "terminate") == 0) TerminateProcess(GetCurrentProcess(), 0);
    pumpFor(30000);  // kill: until the scenario kills this process
}

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--watch") == 0)
        return watch(DWORD(std::atol(argv[2])), DWORD(std::atol(argv[3])));
    if (argc < 2) return 2;
    DWORD showMs = argc > 2 ? DWORD(std::atof(argv[2]) * 1000) : 1000;
    const char* way = argc > 3 ? argv[3] : "close";
    HWND preview = createPreviewWindow();
    PROCESS_INFORMATION saver = startSaver(argv[1], preview);
    if (!saver.hProcess) return 3;
    HWND child = waitForChild(preview, 10000);
    if (!child) {
        std::printf("no-child\n");
        TerminateProcess(saver.hProcess, 99);
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
    if (WaitForSingleObject(saver.hProcess, 0) == WAIT_TIMEOUT) std::printf("alive-after-input\n");
    std::fflush(stdout);
    endHost(way, preview, saver);
    return 0;
}
