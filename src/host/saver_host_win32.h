// The saver host: run modes, the saver window with its close rules, and the
// program's own handler that starts and stops the animation. Main thread only.
#pragma once
#include <windows.h>

// Process-wide state of the host.
struct SaverHostState {
    HINSTANCE instance = nullptr;
    bool isWin9x = false;
    HWND saverWindow = nullptr;
    bool previewMode = false;
    HWND previewParent = nullptr;  // the window given with /p, watched while the preview runs
    HANDLE fullScreenRun = nullptr;  // the mutex a full-screen run holds until it ends
    bool closeApproved = false;
    bool verifyingPassword = false;
    DWORD lastVerifyTick = 0xFFFFFFFF;  // no verification yet
    UINT queryCancelAutoPlayMessage = 0;
    HMODULE passwordModule = nullptr;
    BOOL(WINAPI* verifyPasswordFn)(HWND) = nullptr;
    HMODULE imeModule = nullptr;
    HANDLE(WINAPI* associateContextFn)(HWND, HANDLE) = nullptr;
    HANDLE savedInputContext = nullptr;
};
extern SaverHostState saverHost;

extern HANDLE renderThreadHandle;
extern int mouseMoveCount;

[[noreturn]] void ProgramEntry();
int SaverMain(HINSTANCE instance, const char* arguments);
// Runs one mode inside the structured-exception guard. A fault ends the run with the
// exception code as exit code, as Windows reports for a process that dies of it.
int runGuarded(int (*mode)(const void*), const void* context);
INT_PTR ShowConfigureDialog(HWND parent);
BOOL ConfigureDialogHook(HINSTANCE instance);
void ChangeSaverPassword(HWND parent);

// Watches for keys and buttons pressed while a full-screen saver starts, until
// earlyInputPressed, which tells whether one went down meanwhile (keys held when the watch
// began aside). Mouse moves are not watched.
void watchEarlyInput();
bool earlyInputPressed();
// Whether one went down so far, the watch going on.
bool earlyInputSeen();
int RunSaver(HWND parent);
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefaultSaverHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL ConfirmClose(HWND window);
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
void SetSaverRunningState(BOOL on);

LRESULT SaverEventHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int threadPriorityFor(int priority);
// Clears renderRunning and waits, about a second at most, for the render thread to
// leave OpenGL, so the process never ends under a frame. Safe to call again.
void stopRenderThread();
// Whether the render thread is still at work after stopRenderThread gave up waiting: a large
// texture's mipmaps take seconds, and the runtime's exit clean-up must not run under them.
bool renderThreadStillRunning();
