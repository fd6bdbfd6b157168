// Where the saver runs and what came before its window: the secure desktop of a PC that
// locks on resume is told apart from the user's, and a key pressed before the saver's
// window existed is told apart from a mouse move and from the release of a key held when
// the saver started.
#include <gtest/gtest.h>

#include "capture/wallpaper_win32.h"
#include "host/saver_host_win32.h"

namespace {

DWORD WINAPI desktopOfNewThread(void* desktop) {
    if (!SetThreadDesktop(static_cast<HDESK>(desktop))) return 2;
    return onUsersDesktop() ? 1 : 0;
}

void sendKey(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// The last input's tick moves only when the system's tick does.
void letTheTickMove() { Sleep(40); }

}  // namespace

TEST(DesktopBackground, TheSecureDesktopIsNotTheUsers) {
    EXPECT_TRUE(onUsersDesktop());
    HDESK secure = CreateDesktopA("Screen-saver", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_NE(secure, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, desktopOfNewThread, secure, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, 5000);
    DWORD onUsers = 9;
    GetExitCodeThread(thread, &onUsers);
    EXPECT_EQ(onUsers, 0u);
    CloseHandle(thread);
    CloseDesktop(secure);
}

TEST(InputBeforeTheWindow, AKeyOrButtonCountsButAMovedCursorOrAHeldKeyDoesNot) {
    SetCursorPos(100, 100);
    noteProcessStart();
    EXPECT_FALSE(keyOrButtonSinceStart());
    letTheTickMove();
    sendKey('A', false);
    sendKey('A', true);
    EXPECT_TRUE(keyOrButtonSinceStart());

    SetCursorPos(140, 100);  // the input may have been a mouse move: the count rule decides
    EXPECT_FALSE(keyOrButtonSinceStart());

    sendKey(VK_RETURN, false);  // the Enter that started the saver by hand, released later
    noteProcessStart();
    letTheTickMove();
    sendKey(VK_RETURN, true);
    EXPECT_FALSE(keyOrButtonSinceStart());
}
