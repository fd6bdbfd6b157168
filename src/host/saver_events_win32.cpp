// The program's own handler of the saver window: starts the animation when the
// window is created, stops it when the window goes (or a preview's parent does), and
// ends a full-screen run on the seventh mouse move. Main thread; renderRunning is read
// by the render thread.
#include "capture/desktop_snapshot_win32.h"
#include "host/saver_host_win32.h"
#include "render/monitor_views.h"
#include "render/other_scenes.h"
#include "render/render_thread_win32.h"
#include "render/scene.h"
#include "render/startup_marks.h"
#include "settings/display_mode_switcher_win32.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

#include <vector>

HANDLE renderThreadHandle = nullptr;
int mouseMoveCount = 0;
static UINT_PTR previewWatchTimer = 0;

int threadPriorityFor(int priority) {
    static const int byLevel[] = {THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,
                                  THREAD_PRIORITY_NORMAL,  THREAD_PRIORITY_ABOVE_NORMAL,
                                  THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL};
    return priority >= 0 && priority <= 5 ? byLevel[priority] : THREAD_PRIORITY_NORMAL;
}

static bool displaySwitchConfigured() {
    return !saverHost.previewMode && saverSettings.resW && saverSettings.resH && saverSettings.resC;
}

static void CALLBACK watchPreviewParent(HWND, UINT, UINT_PTR, DWORD);

static BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    auto& monitors = *reinterpret_cast<std::vector<ScreenArea>*>(found);
    const RECT& r = info.rcMonitor;
    const ScreenArea area = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    monitors.insert(info.dwFlags & MONITORINFOF_PRIMARY ? monitors.begin() : monitors.end(), area);
    return TRUE;
}

// Where each scene shows: one across the window, unless the monitors are to have scenes of
// their own (never in a preview, nor with a display mode of the saver's own, which moves
// the monitors). The primary monitor comes first.
static void chooseSceneViews(const ScreenArea& covered) {
    std::vector<ScreenArea> monitors;
    MonitorMode mode = monitorModeOf(saverSettings, windowsMonitorModeDefault);
    if (saverHost.previewMode || displaySwitchConfigured()) mode = SpanMonitors;
    if (mode != SpanMonitors) EnumDisplayMonitors(nullptr, nullptr, addMonitor, LPARAM(&monitors));
    sceneViews = monitorViews(mode, covered, monitors, 0);
    otherScenes.assign(sceneViews.size() - 1, SceneState());
}

// Each scene's part of the desktop, before the window covers it; false when the first
// shows nothing (the logo then). Wallpapers standing in are decoded within one bound for all,
// and not at all once a key went down meanwhile: the window then comes to close at once.
static bool captureScenes(const ScreenArea& covered) {
    const WallpaperBound bound = {GetTickCount() + wallpaperDecodeMs, earlyInputSeen};
    if (isWholeDrawable(sceneViews, covered)) return captureDesktop(saverHost.previewMode, covered, bound);
    int width, height;
    snapshotSize(false, width, height);
    if (snapshotBytes(width, height) == 0) return true;  // no snapshot: the scenes are drawn in white
    desktopSnapshot = snapshotOfArea(sceneViews[0].desktop, width, height, bound);
    for (size_t i = 1; i < sceneViews.size(); ++i)
        otherScenes[i - 1].snapshot = snapshotOfArea(sceneViews[i].desktop, width, height, bound);
    return desktopSnapshot.pixels != nullptr;
}

static void startUp(HWND window, const CREATESTRUCTA& creation) {
    SettingsStore::load();
    // The window is not on the screen yet: the snapshot shows what it is about to cover.
    const ScreenArea covered = {creation.x, creation.y, creation.cx, creation.cy};
    chooseSceneViews(covered);
    markStartup(captureBegun);
    // A desktop with nothing to show gives the logo for this run; the setting is saved as it was.
    if (!saverSettings.useOGL) logoStandsIn = !captureScenes(covered);
    markStartup(captureEnded);
    if (displaySwitchConfigured()) {
        if (switchDisplayMode(saverSettings.resW, saverSettings.resH, saverSettings.resC)) {
            SetWindowPos(window, nullptr, 0, 0, saverSettings.resW, saverSettings.resH, SWP_SHOWWINDOW);
        } else {
            MessageBoxA(window, "Error setting resolution", "QGSS", MB_OK);
            PostQuitMessage(0);
        }
    }
    if (saverHost.previewMode) previewWatchTimer = SetTimer(nullptr, 0, 100, watchPreviewParent);
    renderRunning = true;
    renderThreadHandle = CreateThread(nullptr, 0, RenderThread, window, 0, nullptr);
    if (renderThreadHandle) SetThreadPriority(renderThreadHandle, threadPriorityFor(saverSettings.Priority));
}

// Both ends of a run: the window going away, and the mouse-move exit.
static void shutDown() {
    SettingsStore::save();
    if (displaySwitchConfigured()) switchDisplayMode(0, 0, 0);
    stopRenderThread();
}

void stopRenderThread() {
    renderRunning = false;
    if (!renderThreadHandle) return;
    // Keep answering messages sent to this thread meanwhile: the GL driver may send some.
    const DWORD deadline = GetTickCount() + 1000;
    for (;;) {
        DWORD now = GetTickCount();
        DWORD left = LONG(deadline - now) > 0 ? deadline - now : 0;
        DWORD woke = MsgWaitForMultipleObjects(1, &renderThreadHandle, FALSE, left, QS_SENDMESSAGE);
        if (woke != WAIT_OBJECT_0 + 1) break;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool renderThreadStillRunning() {
    return renderThreadHandle && WaitForSingleObject(renderThreadHandle, 0) == WAIT_TIMEOUT;
}

static void onMouseMove(HWND window) {
    if (saverHost.previewMode) return;
    if (mouseMoveCount++ <= 5) return;
    // With a password verifier loaded the close must go through the password check.
    if (saverHost.verifyPasswordFn) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    shutDown();
    PostQuitMessage(0);
}

// WINE: when the process that owns the preview's parent dies, the parent goes but the
// preview window is never destroyed and gets no WM_DESTROY. A thread timer, which
// outlives the window, ends the run as WM_DESTROY would once the parent is gone.
static void CALLBACK watchPreviewParent(HWND, UINT, UINT_PTR, DWORD) {
    if (IsWindow(saverHost.previewParent)) return;
    KillTimer(nullptr, previewWatchTimer);
    shutDown();
    PostQuitMessage(0);
}

LRESULT SaverEventHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: startUp(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam)); break;
    case WM_DESTROY: shutDown(); break;
    case WM_MOUSEMOVE: onMouseMove(window); return 0;
    case WM_SETTINGCHANGE:
    case WM_ACTIVATEAPP: return 0;
    }
    return DefaultSaverHandler(window, message, wParam, lParam);
}
