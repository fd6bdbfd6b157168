// Where the saver runs and what came before its window: the secure desktop of a PC that
// locks on resume is told apart from the user's, the wallpaper is read only until its
// deadline or a key, and a key pressed before the saver's window existed is told apart from
// a mouse move and from the release of a key held when the saver started.
#include <gtest/gtest.h>

#include "capture/bounded_stream_win32.h"
#include "capture/wallpaper_win32.h"
#include "host/saver_host_win32.h"

namespace {

DWORD WINAPI desktopOfNewThread(void* desktop) {
    if (!SetThreadDesktop(static_cast<HDESK>(desktop))) return 2;
    return onUsersDesktop() ? 1 : 0;
}

// The hooks go in while the desktop is copied, which takes longer than this.
void startWatching() {
    watchEarlyInput();
    Sleep(150);
}

void send(INPUT input) { SendInput(1, &input, sizeof input); }

void sendKey(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    send(input);
}

void sendMouse(DWORD flags, LONG dx = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dwFlags = flags;
    send(input);
}

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

bool askedToGiveUp() { return true; }

// The wallpaper's decoder reads through this stream: a read past the deadline, or once a
// key went down, fails, and the decode with it.
TEST(DesktopBackground, TheWallpapersStreamReadsUntilItsDeadlineOrAKey) {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    lstrcatA(path, "qg-wallpaper-stream.bin");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "wallpaper", 9, &written, nullptr);
    CloseHandle(file);
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    const DWORD now = GetTickCount();
    const WallpaperBound bounds[] = {{now + 60000, nullptr}, {now + 60000, askedToGiveUp}, {now - 1, nullptr}};
    for (const WallpaperBound& bound : bounds) {
        IStream* stream = openBoundedStream(widePath, bound);
        ASSERT_NE(stream, nullptr);
        char text[16] = {};
        ULONG got = 0;
        const HRESULT read = stream->Read(text, sizeof text, &got);
        EXPECT_EQ(read == S_FALSE && got == 9 && lstrcmpA(text, "wallpaper") == 0, &bound == bounds) << std::hex << read;
        stream->Release();
    }
    DeleteFileA(path);
}

TEST(InputBeforeTheWindow, KeysAndButtonsCountButMovesAndAKeyHeldFromTheStartDoNot) {
    startWatching();
    sendMouse(MOUSEEVENTF_MOVE, 30);  // the mouse-move count decides about moves
    sendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(earlyInputPressed());

    startWatching();
    sendKey('A', false);
    sendKey('A', true);
    EXPECT_TRUE(earlyInputPressed());

    startWatching();
    sendMouse(MOUSEEVENTF_RIGHTDOWN);
    sendMouse(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(earlyInputPressed());

    sendKey(VK_RETURN, false);  // the Enter that ran the saver by hand: it repeats, then goes up
    startWatching();
    sendKey(VK_RETURN, false);
    sendKey(VK_RETURN, true);
    EXPECT_FALSE(earlyInputPressed());
    EXPECT_FALSE(earlyInputPressed());  // no watch: nothing
}
