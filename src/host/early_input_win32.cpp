// Keys and buttons pressed while a full-screen saver starts: the desktop is copied before
// the saver's window exists, and at large textures that takes a second or more, in which a
// key goes to no window of ours. A low-level hook on a thread of its own sees them.
// WINE: the system's last-input time is no help there, as a window appearing under the
// still pointer counts as input. Main thread, and the watch's own thread.
#include <atomic>

#include "host/saver_host_win32.h"

static HANDLE watchThread = nullptr;
static HANDLE watchReady = nullptr;  // set once the hooks are in and the thread has a queue
static DWORD watchThreadId = 0;
static std::atomic<bool> pressedEarly{false};
// Keys already down when the watch began: the Enter that ran the saver by hand repeats
// and is released later, and is no sign of the user coming back.
static bool heldAtStart[256];

static LRESULT CALLBACK keyDown(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        const DWORD key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode;
        if (key >= 256 || !heldAtStart[key]) pressedEarly = true;
    }
    return CallNextHookEx(nullptr, code, message, data);
}

// Mouse moves are left to the saver's mouse-move count.
static LRESULT CALLBACK buttonDown(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
                              message == WM_MBUTTONDOWN || message == WM_XBUTTONDOWN))
        pressedEarly = true;
    return CallNextHookEx(nullptr, code, message, data);
}

static DWORD WINAPI watchInput(void* ready) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    HHOOK keys = SetWindowsHookExA(WH_KEYBOARD_LL, keyDown, self, 0);
    HHOOK buttons = SetWindowsHookExA(WH_MOUSE_LL, buttonDown, self, 0);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // a queue, for the quit to come
    SetEvent(static_cast<HANDLE>(ready));
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    if (keys) UnhookWindowsHookEx(keys);
    if (buttons) UnhookWindowsHookEx(buttons);
    return 0;
}

// The hooks are in before the watch returns: under Wine that takes some 30 ms, and a hook
// thread left to start alongside the GL driver's loading missed keys.
void watchEarlyInput() {
    if (watchThread) return;
    pressedEarly = false;
    for (int key = 0; key < 256; ++key) heldAtStart[key] = (GetAsyncKeyState(key) & 0x8000) != 0;
    watchReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!watchReady) return;
    watchThread = CreateThread(nullptr, 0, watchInput, watchReady, 0, &watchThreadId);
    if (!watchThread) {
        CloseHandle(watchReady);
        return;
    }
    WaitForSingleObject(watchReady, 1000);
}

bool earlyInputSeen() { return pressedEarly; }

bool earlyInputPressed() {
    if (!watchThread) return false;
    PostThreadMessageA(watchThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(watchThread, 1000);
    CloseHandle(watchThread);
    CloseHandle(watchReady);
    watchThread = nullptr;
    return pressedEarly;
}
