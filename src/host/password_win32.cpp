// The Windows 9x saver password: the system's verifier from PASSWORD.CPL, loaded
// when the user's saver password is on, and the system's saver-running state,
// which is on exactly while a verifier is loaded. Main thread.
#include "host/saver_host_win32.h"

static bool passwordIsOn() {
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS) return false;
    DWORD value = 0, size = sizeof value;
    bool on = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
              value != 0;
    RegCloseKey(key);
    return on;
}

void LoadPasswordVerifier() {
    if (!saverHost.isWin9x) return;
    if (saverHost.passwordModule) UnloadPasswordVerifier();
    if (!passwordIsOn()) return;
    saverHost.passwordModule = LoadLibraryA("PASSWORD.CPL");
    if (!saverHost.passwordModule) return;
    saverHost.verifyPasswordFn = reinterpret_cast<BOOL(WINAPI*)(HWND)>(
        reinterpret_cast<void*>(GetProcAddress(saverHost.passwordModule, "VerifyScreenSavePwd")));
    if (saverHost.verifyPasswordFn)
        SetSaverRunningState(TRUE);
    else
        UnloadPasswordVerifier();
}

void UnloadPasswordVerifier() {
    if (!saverHost.isWin9x || !saverHost.passwordModule) return;
    FreeLibrary(saverHost.passwordModule);
    saverHost.passwordModule = nullptr;
    if (saverHost.verifyPasswordFn) {
        saverHost.verifyPasswordFn = nullptr;
        SetSaverRunningState(FALSE);
    }
}

void SetSaverRunningState(BOOL on) {
    if (!saverHost.isWin9x) return;
    BOOL previous;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on, &previous, 0);
}
