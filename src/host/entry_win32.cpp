// Process entry and run modes: reads the command line, runs one mode, exits with
// its result. Main thread.
#include "host/command_line.h"
#include "host/saver_host_win32.h"
#include "settings/config_dialog_win32.h"

SaverHostState saverHost;

static const char* nextCharA(const char* p) { return CharNextA(p); }

void ProgramEntry() {
    const char* arguments = skipProgramName(GetCommandLineA(), nextCharA);
    const UINT status = UINT(SaverMain(GetModuleHandleA(nullptr), arguments));
    // Settings are saved and the display given back by now; only the clean-up is skipped.
    if (renderThreadStillRunning()) TerminateProcess(GetCurrentProcess(), status);
    ExitProcess(status);
}

static bool detectWin9x() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    return version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// Handle from the command line, or the foreground window when it names no window.
static HWND windowOrForeground(uint32_t handle) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
    return handle != 0 && IsWindow(window) ? window : GetForegroundWindow();
}

static int runCommand(const SaverCommand& command) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(command.handle));
    switch (command.mode) {
    case RunMode::ConfigureNoParent: return int(ShowConfigureDialog(nullptr));
    case RunMode::Configure: return int(ShowConfigureDialog(windowOrForeground(command.handle)));
    case RunMode::FullScreen: return RunSaver(nullptr);
    case RunMode::Preview:
        if (command.handle == 0 || !IsWindow(window)) return -1;
        return RunSaver(window);
    case RunMode::ChangePassword:
        ChangeSaverPassword(windowOrForeground(command.handle));
        return 0;
    case RunMode::Invalid: break;
    }
    return -1;
}

// mingw has no __try: the guard is the top-level filter, which the system's own
// unhandled-exception filter consults. It handles every fault: the saver-running state
// goes off and the run ends with the fault's code. It does not call that filter again:
// nested, the filter starts a debugger against a process stuck in its own filter.
static LONG WINAPI guardFilter(EXCEPTION_POINTERS* exception) {
    SetSaverRunningState(FALSE);
    ExitProcess(exception->ExceptionRecord->ExceptionCode);
}

int runGuarded(int (*mode)(const void*), const void* context) {
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(guardFilter);
    int result = mode(context);
    SetUnhandledExceptionFilter(previous);
    return result;
}

static int runCommandLine(const void* arguments) {
    return runCommand(readSaverCommand(static_cast<const char*>(arguments), saverHost.isWin9x));
}

int SaverMain(HINSTANCE instance, const char* arguments) {
    saverHost.instance = instance;
    saverHost.isWin9x = detectWin9x();
    return runGuarded(runCommandLine, arguments);
}

BOOL ConfigureDialogHook(HINSTANCE) { return TRUE; }

INT_PTR ShowConfigureDialog(HWND parent) {
    if (!ConfigureDialogHook(saverHost.instance)) return 0;
    return DialogBoxParamA(saverHost.instance, MAKEINTRESOURCEA(2003), parent, ConfigDialogProc, 0);
}

void ChangeSaverPassword(HWND parent) {
    typedef DWORD(WINAPI * ChangePasswordFn)(LPCSTR, HWND, DWORD, LPVOID);
    HMODULE module = LoadLibraryA("MPR.DLL");
    if (!module) return;
    auto change = reinterpret_cast<ChangePasswordFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "PwdChangePasswordA")));
    if (change) change("SCRSAVE", parent, 0, nullptr);
    FreeLibrary(module);
}
