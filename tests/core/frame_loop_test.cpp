// The native frame loop on a host of the tests' own, with no display at all: frames drawn
// offscreen and paced by the delay, the ends the host reports, and the end asked for while
// the loop waits or while a frame never finishes. The runs that end the process go through
// death tests: each in a process of its own.
#include "native/frame_loop.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "native/end_watch.h"
#include "native/posix_wait.h"
#include "osmesa_fixture.h"
#include "render/frame_timer.h"
#include "render/other_scenes.h"
#include "render/render_start.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A host that draws into an offscreen buffer and ends after `frames` frames, or loses its
// display there when `lostAtEnd`; `stallMs` makes every present take that long; the
// process gets a lock screen's reset (SIGUSR1) as present `resetAt` ends.
struct HeadlessHost {
    OffscreenGL gl{64, 48};
    int frames = 1000000;
    bool lostAtEnd = false;
    int stallMs = 0;
    int resetAt = -1;
    long double resetMs = 0;
    std::vector<Clock::time_point> started, presented;  // the size is asked for as a frame starts
    std::vector<int> waits;
};

HeadlessHost& hostOf(void* self) { return *static_cast<HeadlessHost*>(self); }

HostState readEvents(void* self) {
    HeadlessHost& host = hostOf(self);
    if (int(host.presented.size()) < host.frames) return HostState::Running;
    return host.lostAtEnd ? HostState::Lost : HostState::Ended;
}
HostState wait(void* self, int timeoutMs) {
    hostOf(self).waits.push_back(timeoutMs);
    waitForFd(-1, 0, timeoutMs);
    return readEvents(self);
}
void size(void* self, int& width, int& height) {
    hostOf(self).started.push_back(Clock::now());
    width = hostOf(self).gl.width, height = hostOf(self).gl.height;
}
void present(void* self) {
    HeadlessHost& host = hostOf(self);
    glFinish();
    if (host.stallMs) std::this_thread::sleep_for(std::chrono::milliseconds(host.stallMs));
    host.presented.push_back(Clock::now());
    if (int(host.presented.size()) == host.resetAt) host.resetMs = FrameTimer::nowMs(), kill(getpid(), SIGUSR1);
}

bool wantsFrame(void*) { return true; }
FrameHost frameHost(HeadlessHost& host) { return {&host, readEvents, wantsFrame, wait, size, present}; }

// A host of several drawables, each a buffer of its own drawn with the one context, as a
// compositor's outputs are; it ends after `frames` presents, of any drawable.
struct Drawable {
    int width, height, scene;
    ScreenArea view;
    bool takesFrames = true;
    std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(width) * height * 4, 77);
    int presents = 0;
    Rgb at(int x, int y) const { return rgbAt(pixels, width, height, x, y); }
};
struct SeveralHost : HeadlessHost {
    std::vector<Drawable> drawables;
    Drawable* selected = nullptr;
};
SeveralHost& severalOf(void* self) { return static_cast<SeveralHost&>(hostOf(self)); }
void severalPresent(void* self) { present(self), severalOf(self).selected->presents++; }
size_t drawableCount(void* self) { return severalOf(self).drawables.size(); }
DrawableFrame selectDrawable(void* self, size_t index) {
    SeveralHost& host = severalOf(self);
    Drawable& drawable = host.drawables[index];
    OSMesaMakeCurrent(host.gl.context, drawable.pixels.data(), GL_UNSIGNED_BYTE, drawable.width, drawable.height);
    host.selected = &drawable;
    return {drawable.takesFrames, drawable.width, drawable.height, drawable.scene, drawable.view};
}

bool near(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) <= 2 && std::abs(a.g - b.g) <= 2 && std::abs(a.b - b.b) <= 2;
}

class FrameLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        SettingsStore::applyDefaults();
        saverSettings.useOGL = 1;  // the logo: no snapshot to take
        saverSettings.Mode = Wave1;
    }
};

}  // namespace

TEST_F(FrameLoopTest, FramesArePacedByTheDelayAndTheHostsEndsAreItsStatus) {
    HeadlessHost host;
    host.frames = 6;
    EXPECT_EQ(runFrameLoop(frameHost(host), {20000, false}), 0);
    ASSERT_EQ(host.presented.size(), 6u);
    ASSERT_EQ(host.started.size(), 7u);  // once more before the scene is prepared
    for (size_t i = 2; i < host.started.size(); ++i) {
        const double gapMs = std::chrono::duration<double, std::milli>(host.started[i] - host.started[i - 1]).count();
        EXPECT_GE(gapMs, 19.0) << "frame " << i;
    }
    ASSERT_FALSE(host.waits.empty());
    for (int waited : host.waits) EXPECT_TRUE(waited > 0 && waited <= 20) << waited;
    EXPECT_FALSE(host.gl.isBlack(32, 24)) << "the frames show the scene";

    HeadlessHost lost;
    lost.frames = 2, lost.lostAtEnd = true;
    EXPECT_EQ(runFrameLoop(frameHost(lost), {0, true}), 1);
    EXPECT_EQ(lost.presented.size(), 2u);
    EXPECT_TRUE(lost.waits.empty()) << "-delay 0 never waits";
}

TEST_F(FrameLoopTest, OneSceneSlicedOverDrawablesOfTheirOwnShowsWhatOneDrawableShowsWhole) {
    saverSettings.xyAmplitude = 0, saverSettings.enableMovement = 0;  // a picture that stands still
    SeveralHost host;
    host.frames = 8;  // two frames of the four drawables that take them
    host.drawables = {{64, 48, 0, {0, 0, 128, 48}},     // the left half of the scene
                      {64, 48, 0, {-64, 0, 128, 48}},   // the right half
                      {128, 48, 0, {0, 0, 128, 48}},    // the whole, to compare with
                      {16, 16, -1, {}},                 // black
                      {16, 16, 0, {0, 0, 16, 16}}};     // one the compositor does not ask to draw
    host.drawables[4].takesFrames = false;
    FrameHost frames = frameHost(host);
    frames.present = severalPresent, frames.drawableCount = drawableCount, frames.selectDrawable = selectDrawable;
    EXPECT_EQ(runFrameLoop(frames, {0, false}), 0);

    const Drawable &left = host.drawables[0], &right = host.drawables[1], &whole = host.drawables[2];
    int lit = 0;
    for (int y = 0; y < 48; y += 3)
        for (int x = 0; x < 64; x += 3) {
            ASSERT_TRUE(near(left.at(x, y), whole.at(x, y))) << x << "," << y;
            ASSERT_TRUE(near(right.at(x, y), whole.at(64 + x, y))) << x << "," << y;
            lit += whole.at(x, y).r + whole.at(x, y).g + whole.at(x, y).b > 0;
        }
    EXPECT_GT(lit, 100) << "the scene shows, not only its margin";
    EXPECT_EQ(host.drawables[3].presents, 2);
    EXPECT_TRUE(host.drawables[3].at(8, 8).r + host.drawables[3].at(8, 8).g == 0) << "black, cleared";
    EXPECT_EQ(host.drawables[4].presents, 0);
    EXPECT_EQ(host.drawables[4].at(8, 8).r, 77) << "never drawn";
}

// A reset at the 20th of 30 frames: the waves' clock starts again there, the run goes on to
// its own end, and the scene of another monitor is let go with it. 0 when all of that holds.
static int runWithAReset() {
    startEndWatch();
    HeadlessHost host;
    host.frames = 30, host.resetAt = 20;
    otherScenes.assign(1, SceneState());
    const int status = runFrameLoop(frameHost(host), {5000, false});
    stopEndWatch();
    const bool clockRestarted = FrameTimer::startInstantMs >= float(host.resetMs) - 1;
    std::fprintf(stderr, "status %d frames %zu clock restarted %d scenes left %zu\n", status, host.presented.size(),
                 clockRestarted, otherScenes.size());
    return status == 0 && clockRestarted && otherScenes.empty() ? 0 : 1;
}

TEST_F(FrameLoopTest, ALockScreensResetStartsTheSceneAfreshAndTheRunGoesOnToItsEnd) {
    EXPECT_EXIT(std::exit(runWithAReset()), ::testing::ExitedWithCode(0), "status 0 frames 30");
}

TEST_F(FrameLoopTest, AnEndAskedForWhileTheLoopWaitsEndsItAtOnce) {
    EXPECT_EXIT(
        {
            startEndWatch();
            HeadlessHost host;
            std::thread asker([] {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                requestEndAfterFrame();
            });
            const Clock::time_point start = Clock::now();
            const int status = runFrameLoop(frameHost(host), {1000000, false});  // a frame a second
            const double tookMs = msSince(start);
            asker.join();
            stopEndWatch();
            std::fprintf(stderr, "status %d frames %zu took %.0f ms\n", status, host.presented.size(), tookMs);
            std::exit(status == 0 && host.presented.size() == 1 && tookMs < 900 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "status 0 frames 1");
}

TEST_F(FrameLoopTest, AFrameThatNeverEndsStillEndsTheRunOnASignal) {
    const Clock::time_point start = Clock::now();
    EXPECT_EXIT(
        {
            startEndWatch();
            HeadlessHost host;
            host.stallMs = 20000;
            std::thread signaller([] {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                kill(getpid(), SIGTERM);
            });
            signaller.detach();
            runFrameLoop(frameHost(host), {0, false});
            std::exit(3);  // never: the frame stalls until the watch ends the process
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_LT(msSince(start), 10000) << "the end watch, not the stalled frame, ended it";
}
