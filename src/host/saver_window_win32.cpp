// The saver window: class, creation full screen or inside a preview window, the
// message loop, and the rules that turn input into a close request (with the
// Windows 9x password check that may refuse it). Main thread.
#include "host/saver_host_win32.h"
#include "render/render_thread_win32.h"

static const char saverClassName[] = "WindowsScreenSaverClass";
static const char fullScreenTitle[] = "Screen Saver";
static const char fullScreenRunName[] = "Quakeglass full-screen run";

struct WindowPlacement {
    DWORD exStyle, style;
    const char* title;
    int x, y, width, height;
};

static WindowPlacement fullScreenPlacement() {
    RECT box;
    HDC screen = GetDC(nullptr);
    GetClipBox(screen, &box);
    ReleaseDC(nullptr, screen);
    return {WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
            fullScreenTitle, box.left, box.top, box.right - box.left, box.bottom - box.top};
}

static WindowPlacement previewPlacement(HWND parent) {
    RECT client;
    GetClientRect(parent, &client);
    return {0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, "Preview", 0, 0, client.right, client.bottom};
}

static WNDCLASSA saverWindowClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = saverHost.instance;
    windowClass.hIcon = LoadIconA(saverHost.instance, MAKEINTRESOURCEA(100));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = saverClassName;
    return windowClass;
}

// False when another full-screen run holds the mutex. Without a mutex at all the
// window check decides alone.
static bool claimFullScreenRun() {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, fullScreenRunName);
    if (!mutex) return true;
    if (WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT) {
        CloseHandle(mutex);
        return false;
    }
    saverHost.fullScreenRun = mutex;
    return true;
}

static void releaseFullScreenRun() {
    if (!saverHost.fullScreenRun) return;
    ReleaseMutex(saverHost.fullScreenRun);
    CloseHandle(saverHost.fullScreenRun);
    saverHost.fullScreenRun = nullptr;
}

// A running saver's window is brought to the front. Two starts at the same moment
// both pass the window check before either window exists: the one that lost the
// mutex ends without a window, the other shows it soon.
static bool anotherFullScreenRun() {
    bool claimed = claimFullScreenRun();
    HWND running = FindWindowA(saverClassName, fullScreenTitle);
    if (running && IsWindow(running)) {
        SetForegroundWindow(running);
        return true;
    }
    return !claimed;
}

// Whether the machine runs on its charger (1), its battery (0), or cannot tell (255).
static BYTE powerSource() {
    SYSTEM_POWER_STATUS status;
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : 255;
}

int RunSaver(HWND parent) {
    WNDCLASSA windowClass = saverWindowClass();
    WindowPlacement placement;
    if (parent) {
        placement = previewPlacement(parent);
        saverHost.previewMode = true;
        saverHost.previewParent = parent;
    } else {
        placement = fullScreenPlacement();
        if (anotherFullScreenRun()) {
            releaseFullScreenRun();
            return 0;
        }
        watchEarlyInput();
        LoadPasswordVerifier();
        saverHost.powerSourceAtStart = powerSource();
    }
    startOpenGLWarmUp();
    saverHost.queryCancelAutoPlayMessage =
        saverHost.isWin9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    MSG message = {};
    if (RegisterClassA(&windowClass)) {
        saverHost.saverWindow = CreateWindowExA(
            placement.exStyle, saverClassName, placement.title, placement.style, placement.x,
            placement.y, placement.width, placement.height, parent, nullptr, saverHost.instance, nullptr);
    }
    if (saverHost.saverWindow) {
        if (!saverHost.previewMode) {
            SetForegroundWindow(saverHost.saverWindow);
            // The desktop copy came before the window: a key pressed meanwhile went nowhere.
            if (earlyInputPressed()) PostMessageA(saverHost.saverWindow, WM_CLOSE, 0, 0);
        }
        while (GetMessageA(&message, nullptr, 0, 0)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    earlyInputPressed();  // the watch ends with a window that never came
    // A quit posted without WM_DESTROY (mouse-move exit, failed display switch) ends here.
    stopRenderThread();
    UnloadPasswordVerifier();
    releaseFullScreenRun();
    // No window means no loop: message.wParam is still 0.
    return int(message.wParam);
}

static void giveInputContextBack(HWND window) {
    if (saverHost.imeModule && saverHost.associateContextFn && saverHost.savedInputContext)
        saverHost.associateContextFn(window, saverHost.savedInputContext);
}

// No input method editor opens on the saver window.
static void detachInputContext(HWND window) {
    HMODULE imm = GetModuleHandleA("IMM32.DLL");
    if (!imm) return;
    saverHost.imeModule = imm;
    saverHost.associateContextFn = reinterpret_cast<HANDLE(WINAPI*)(HWND, HANDLE)>(
        reinterpret_cast<void*>(GetProcAddress(imm, "ImmAssociateContext")));
    if (saverHost.associateContextFn)
        saverHost.savedInputContext = saverHost.associateContextFn(window, nullptr);
}

static LRESULT forwardToPreviewParent(HWND window, UINT message, LPARAM lParam) {
    HWND parent = GetParent(window);
    if (parent && IsWindow(parent))
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    return 1;
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool fullScreen = !saverHost.previewMode;
    switch (message) {
    case WM_CREATE:
        detachInputContext(window);
        if (fullScreen) SetCursor(nullptr);
        break;
    case WM_DESTROY:
        giveInputContextBack(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (saverHost.closeApproved) return DefWindowProcA(window, message, wParam, lParam);
        if (fullScreen) SetCursor(nullptr);
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (!fullScreen) return forwardToPreviewParent(window, message, lParam);
        break;
    case WM_SYSCOMMAND:
        if (fullScreen && (wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW || wParam == SC_SCREENSAVE))
            return 0;
        break;
    case WM_TIMER:
        if (saverHost.closeApproved) return 0;
        Sleep(0);
        break;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        if (saverHost.closeApproved) return DefWindowProcA(window, message, wParam, lParam);
        break;
    }
    return SaverEventHandler(window, message, wParam, lParam);
}

static void postClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

// The machine suspending or resuming, or its charger plugged in or pulled out, means someone
// is at it; a change of the battery's charge alone, and any other broadcast, does not.
static bool powerEventEndsRun(WPARAM event) {
    switch (event) {
    case PBT_APMSUSPEND: case PBT_APMQUERYSUSPEND: case PBT_APMRESUMEAUTOMATIC:
    case PBT_APMRESUMESUSPEND: case PBT_APMRESUMECRITICAL:
        return true;
    case PBT_APMPOWERSTATUSCHANGE:
        return powerSource() != saverHost.powerSourceAtStart;
    }
    return false;
}

// The close rules; returns true when the message has been answered in `result`.
static bool applyCloseRules(HWND window, UINT message, WPARAM wParam, LRESULT& result) {
    switch (message) {
    case WM_CLOSE:
        if (!saverHost.isWin9x || ConfirmClose(window)) return false;
        result = 0;  // refused: the window stays
        return true;
    case WM_APP:
        if (!saverHost.isWin9x) return false;
        result = saverHost.verifyPasswordFn ? saverHost.verifyPasswordFn(window) : 1;
        return true;
    }
    if (saverHost.verifyingPassword) return false;
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam) SetCursor(nullptr);
        break;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        result = 1;
        return true;
    case WM_POWER:
        if (wParam == PWR_CRITICALRESUME) postClose(window);
        break;
    case WM_POWERBROADCAST:
        if (powerEventEndsRun(wParam)) postClose(window);
        break;
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        postClose(window);
        break;
    }
    return false;
}

LRESULT DefaultSaverHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!saverHost.previewMode && !saverHost.closeApproved &&
        applyCloseRules(window, message, wParam, result))
        return result;
    if (message == saverHost.queryCancelAutoPlayMessage && message != 0) {
        // A protected saver cancels the AutoPlay of an inserted disc; both close.
        postClose(window);
        return saverHost.verifyPasswordFn ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL ConfirmClose(HWND window) {
    if (saverHost.verifyingPassword) return FALSE;
    if (!saverHost.verifyPasswordFn) {
        saverHost.closeApproved = true;
        return TRUE;
    }
    DWORD now = GetTickCount();
    if (saverHost.lastVerifyTick != 0xFFFFFFFFu && now - saverHost.lastVerifyTick < 200) return FALSE;
    saverHost.verifyingPassword = true;
    MSG pending;
    for (int i = 0; i < 2; ++i)
        PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    LRESULT accepted = SendMessageA(window, WM_APP, 0, 0);
    saverHost.closeApproved = accepted != 0;
    saverHost.verifyingPassword = false;
    if (!accepted) SetCursor(nullptr);
    saverHost.lastVerifyTick = GetTickCount();
    return saverHost.closeApproved;
}
