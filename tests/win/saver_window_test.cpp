// The saver window's message handling on real windows: close rules, preview
// forwarding, system commands, the password flow with a stand-in verifier, the
// mouse-move exit, and a full run that hears the display go off and on. Each test runs
// in its own process, so host state starts fresh.
#include <gtest/gtest.h>

#include <thread>

#include "host/saver_host_win32.h"
#include "render/frame_pacing.h"
#include "render/frame_timer.h"
#include "render/render_start.h"
#include "render/render_thread_win32.h"

namespace {

HWND createWindow(HWND parent = nullptr) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SaverWindowTest";
    RegisterClassA(&windowClass);
    return CreateWindowA("SaverWindowTest", "Screen Saver", parent ? WS_CHILD : WS_POPUP, 0, 0, 64, 48,
                         parent, nullptr, windowClass.hInstance, nullptr);
}

// A window whose procedure is the saver's, without the animation start-up of creation.
HWND createSaverWindow(HWND parent = nullptr) {
    HWND window = createWindow(parent);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SaverWindowProc));
    return window;
}

bool takePosted(HWND window, UINT message, MSG* taken = nullptr) {
    MSG m;
    bool found = PeekMessageA(&m, window, message, message, PM_REMOVE);
    if (found && taken) *taken = m;
    return found;
}

bool quitPosted() {
    MSG m;
    return PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

struct Verifier {
    static int calls;
    static BOOL answer;
    static BOOL WINAPI verify(HWND) {
        ++calls;
        return answer;
    }
};
int Verifier::calls = 0;
BOOL Verifier::answer = FALSE;

}  // namespace

TEST(CloseRules, InputAndPowerEventsRequestACloseInFullScreen) {
    HWND window = createWindow();
    struct Case { UINT message; WPARAM wParam; bool closes; };
    const Case cases[] = {
        {WM_KEYDOWN, 'A', true},         {WM_SYSKEYDOWN, VK_MENU, true},
        {WM_LBUTTONDOWN, 0, true},       {WM_RBUTTONDOWN, 0, true},
        {WM_MBUTTONDOWN, 0, true},
        {WM_POWERBROADCAST, PBT_APMSUSPEND, true}, {WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, true},
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true}, {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, true},
        {WM_POWERBROADCAST, PBT_APMRESUMECRITICAL, true}, {WM_POWERBROADCAST, PBT_APMBATTERYLOW, false},
        {WM_POWERBROADCAST, 0x8013, false} /* PBT_POWERSETTINGCHANGE */, {WM_POWER, PWR_CRITICALRESUME, true},
        {WM_POWER, PWR_SUSPENDREQUEST, false}, {WM_POWER, PWR_SUSPENDRESUME, false},
        {WM_CHAR, 'a', false},           {WM_LBUTTONUP, 0, false},
    };
    for (const Case& c : cases) {
        DefaultSaverHandler(window, c.message, c.wParam, 0);
        EXPECT_EQ(takePosted(window, WM_CLOSE), c.closes) << "message " << c.message << " " << c.wParam;
    }
    // The battery's charge changing leaves it; the charger plugged in or pulled out closes.
    SYSTEM_POWER_STATUS power;
    ASSERT_TRUE(GetSystemPowerStatus(&power));
    for (BYTE atStart : {power.ACLineStatus, BYTE(power.ACLineStatus ^ 1)}) {
        saverHost.powerSourceAtStart = atStart;
        DefaultSaverHandler(window, WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0);
        EXPECT_EQ(takePosted(window, WM_CLOSE), atStart != power.ACLineStatus) << int(atStart);
    }
    EXPECT_EQ(DefaultSaverHandler(window, WM_SETCURSOR, WPARAM(window), 0), 1);
    DestroyWindow(window);
}

TEST(CloseRules, NothingClosesInPreviewOrAfterAnApprovedClose) {
    HWND window = createWindow();
    saverHost.previewMode = true;
    DefaultSaverHandler(window, WM_KEYDOWN, 'A', 0);
    DefaultSaverHandler(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_FALSE(takePosted(window, WM_CLOSE));
    saverHost.previewMode = false;
    saverHost.closeApproved = true;
    SaverWindowProc(window, WM_LBUTTONDOWN, 0, 0);
    EXPECT_FALSE(takePosted(window, WM_CLOSE));
    DestroyWindow(window);
}

TEST(CloseRules, ActivationLossAndSettingChangesLeaveTheSaverRunning) {
    HWND window = createSaverWindow();
    EXPECT_EQ(SendMessageA(window, WM_ACTIVATEAPP, 0, 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_SETTINGCHANGE, 0, 0), 0);
    EXPECT_FALSE(takePosted(window, WM_CLOSE));
    EXPECT_TRUE(IsWindow(window));
}

TEST(SaverWindow, KeepsItsTitleAndRefusesWindowSwitchingAndAnotherSaver) {
    HWND window = createSaverWindow();
    SetWindowTextA(window, "Changed");
    char title[32];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Screen Saver");
    for (WPARAM command : {SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW})
        EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, command, 0), 0) << command;
    EXPECT_TRUE(IsWindow(window));
}

TEST(SaverWindow, PreviewForwardsHelpAndContextMenuToTheControlPanel) {
    HWND panel = createWindow();
    HWND window = createSaverWindow(panel);
    saverHost.previewMode = true;
    EXPECT_EQ(SendMessageA(window, WM_CONTEXTMENU, WPARAM(window), 0x00200010), 1);
    MSG forwarded;
    ASSERT_TRUE(takePosted(panel, WM_CONTEXTMENU, &forwarded));
    EXPECT_EQ(forwarded.wParam, WPARAM(panel));
    EXPECT_EQ(forwarded.lParam, 0x00200010);
    // WINE: a posted WM_HELP is dropped (its lParam is a pointer); the answer is still 1.
    HELPINFO help = {};
    help.cbSize = sizeof help;
    EXPECT_EQ(SendMessageA(window, WM_HELP, 0, LPARAM(&help)), 1);
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(takePosted(window, WM_CLOSE));
}

TEST(SaverWindow, WithoutWindows9xACloseNeedsNoPassword) {
    HWND window = createSaverWindow();
    saverHost.verifyPasswordFn = Verifier::verify;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Verifier::calls, 0);
    EXPECT_TRUE(quitPosted());
}

TEST(Password, RefusedThenThrottledThenAccepted) {
    HWND window = createSaverWindow();
    saverHost.isWin9x = true;
    saverHost.verifyPasswordFn = Verifier::verify;

    Verifier::answer = FALSE;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(Verifier::calls, 1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(saverHost.closeApproved);

    SendMessageA(window, WM_CLOSE, 0, 0);  // within 200 ms of the refusal: not even asked
    EXPECT_EQ(Verifier::calls, 1);

    Sleep(250);
    Verifier::answer = TRUE;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(Verifier::calls, 2);
    EXPECT_TRUE(saverHost.closeApproved);
    EXPECT_FALSE(IsWindow(window));
}

TEST(Password, InputDuringTheDialogRequestsNoFurtherClose) {
    struct WhileAsking {
        static BOOL WINAPI verify(HWND window) {
            SendMessageA(window, WM_KEYDOWN, 'A', 0);
            EXPECT_FALSE(takePosted(window, WM_CLOSE));
            EXPECT_FALSE(ConfirmClose(window));
            return FALSE;
        }
    };
    HWND window = createSaverWindow();
    saverHost.isWin9x = true;
    saverHost.verifyPasswordFn = WhileAsking::verify;
    EXPECT_FALSE(ConfirmClose(window));
    EXPECT_FALSE(saverHost.verifyingPassword);
    EXPECT_TRUE(IsWindow(window));
}

TEST(Password, WithoutAVerifierTheFirstCloseIsApproved) {
    HWND window = createSaverWindow();
    saverHost.isWin9x = true;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(saverHost.closeApproved);
    EXPECT_FALSE(IsWindow(window));
}

TEST(Password, AutoPlayIsCancelledOnlyByAProtectedSaver) {
    HWND window = createWindow();
    saverHost.queryCancelAutoPlayMessage = RegisterWindowMessageA("QueryCancelAutoPlay");
    UINT query = saverHost.queryCancelAutoPlayMessage;
    EXPECT_EQ(DefaultSaverHandler(window, query, 0, 0), 0);
    EXPECT_TRUE(takePosted(window, WM_CLOSE));
    saverHost.verifyPasswordFn = Verifier::verify;
    EXPECT_EQ(DefaultSaverHandler(window, query, 0, 0), 1);
    EXPECT_TRUE(takePosted(window, WM_CLOSE));
    DestroyWindow(window);
}

TEST(MouseMoves, TheSeventhEndsTheRun) {
    HWND window = createSaverWindow();
    renderRunning = true;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(i, i)), 0);
    EXPECT_FALSE(quitPosted());
    EXPECT_TRUE(renderRunning);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(quitPosted());
    EXPECT_FALSE(renderRunning);
}

TEST(MouseMoves, WithAPasswordTheSeventhAsksThroughAClose) {
    HWND window = createSaverWindow();
    saverHost.isWin9x = true;
    saverHost.verifyPasswordFn = Verifier::verify;
    renderRunning = true;
    for (int i = 0; i < 7; ++i) SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(quitPosted());
    EXPECT_TRUE(renderRunning);
    EXPECT_TRUE(takePosted(window, WM_CLOSE));
}

TEST(MouseMoves, PreviewIgnoresThem) {
    HWND panel = createWindow();
    HWND window = createSaverWindow(panel);
    saverHost.previewMode = true;
    for (int i = 0; i < 20; ++i) SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(quitPosted());
    EXPECT_EQ(mouseMoveCount, 0);
}

TEST(RenderThreadPriority, OutOfRangeLevelsRunAtNormal) {
    EXPECT_EQ(threadPriorityFor(0), THREAD_PRIORITY_LOWEST);
    EXPECT_EQ(threadPriorityFor(5), THREAD_PRIORITY_TIME_CRITICAL);
    for (int level : {-1, 6, 7, 9, 0x7fffffff}) EXPECT_EQ(threadPriorityFor(level), THREAD_PRIORITY_NORMAL);
}

namespace {

double processCpuSeconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto seconds = [](const FILETIME& t) { return double(ULONGLONG(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7; };
    return seconds(kernel) + seconds(user);
}

double motionSeconds() { return double(FrameTimer::nowMs() - FrameTimer::startInstantMs) * 0.001; }

// The display's state (0 off, 1 on, 2 dimmed) as Windows 8 on tells it to a window.
void sendDisplayState(HWND window, DWORD state) {
    struct { GUID setting; DWORD length, data; } notice = {
        {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}}, sizeof(DWORD), state};
    SendMessageA(window, WM_POWERBROADCAST, 0x8013 /* PBT_POWERSETTINGCHANGE */, LPARAM(&notice));
}

struct Stretch { uint32_t frames; double cpu; };
Stretch over(DWORD ms) {
    const uint32_t frames = framesPresented;
    const double cpu = processCpuSeconds();
    Sleep(ms);
    return {framesPresented - frames, processCpuSeconds() - cpu};
}

// 500 ms on, 500 ms off, 100 ms back on or dimmed; the animation's seconds over the last two.
struct DisplayCycle { Stretch on, off, back; double motion; };

}  // namespace

TEST(DisplayState, OffStopsTheFramesAndTheirCpuAndOnOrDimmedBringsThemBackAtOnce) {
    DisplayCycle cycles[2];
    std::thread display([&cycles] {
        HWND window;
        while (!(window = FindWindowA("WindowsScreenSaverClass", "Screen Saver")) || framesPresented < 10) Sleep(10);
        for (DWORD back : {1, 2}) {
            DisplayCycle& cycle = cycles[back - 1];
            cycle.on = over(500);
            const double motion = motionSeconds();
            sendDisplayState(window, 0);
            Sleep(50);  // a frame under way ends
            cycle.off = over(500);
            sendDisplayState(window, back);
            cycle.back = over(100);
            cycle.motion = motionSeconds() - motion;
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
    });
    saverHost.instance = GetModuleHandleA(nullptr);
    EXPECT_EQ(RunSaver(nullptr), 0);
    display.join();
    // By the second cycle the run is paced (the swaps wait, or the loop has found that they
    // do not): the frames that come back at once come on the display's beat.
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    EXPECT_LE(cycles[1].on.frames, 500000 / displayPeriodUs(mode.dmDisplayFrequency) * 11 / 10 + 1);
    for (const DisplayCycle& cycle : cycles) {
        EXPECT_EQ(cycle.off.frames, 0u);
        EXPECT_LT(cycle.off.cpu, cycle.on.cpu / 10);
        EXPECT_GT(cycle.back.frames, 0u);
        EXPECT_LT(cycle.motion, 0.4);  // not the 650 ms gone by: no jump
    }
}
