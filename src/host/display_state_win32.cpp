// The display's power state, as Windows tells the saver window: off, on or dimmed. Heard
// through power-setting notices (Vista on, looked up at run time so that the file still
// loads on XP, where nothing is heard and the display counts as on). Main thread.
#include <cstring>

#include "host/saver_host_win32.h"
#include "render/render_thread_win32.h"

namespace {

const WPARAM powerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE
// Windows 8 on: off, on, or dimmed (2).
const GUID consoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// Vista and 7: off or on.
const GUID monitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

// What the message's lParam points to (POWERBROADCAST_SETTING).
struct PowerSettingNotice {
    GUID setting;
    DWORD dataLength;
    UCHAR data[1];
};

HANDLE displayNotice = nullptr;

bool windows8OrLater() {
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    version.dwMajorVersion = 6, version.dwMinorVersion = 2;
    const DWORDLONG test =
        VerSetConditionMask(VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL), VER_MINORVERSION, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION, test);
}

FARPROC user32(const char* name) { return GetProcAddress(GetModuleHandleA("user32.dll"), name); }

}  // namespace

void listenToDisplayState(HWND window) {
    using Register = HANDLE(WINAPI*)(HANDLE, const GUID*, DWORD);
    const auto listen = reinterpret_cast<Register>(reinterpret_cast<void*>(user32("RegisterPowerSettingNotification")));
    if (!listen || displayNotice) return;
    displayNotice = listen(window, windows8OrLater() ? &consoleDisplayState : &monitorPowerOn, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void stopListeningToDisplayState() {
    using Unregister = BOOL(WINAPI*)(HANDLE);
    const auto stop = reinterpret_cast<Unregister>(reinterpret_cast<void*>(user32("UnregisterPowerSettingNotification")));
    if (stop && displayNotice) stop(displayNotice);
    displayNotice = nullptr;
}

bool noteDisplayState(WPARAM event, LPARAM lParam) {
    const auto* notice = reinterpret_cast<const PowerSettingNotice*>(lParam);
    if (event != powerSettingChange || !notice || notice->dataLength < sizeof(DWORD)) return false;
    if (!IsEqualGUID(notice->setting, consoleDisplayState) && !IsEqualGUID(notice->setting, monitorPowerOn))
        return false;
    DWORD state;
    std::memcpy(&state, notice->data, sizeof state);
    setDisplayOn(state != 0);
    return true;
}
