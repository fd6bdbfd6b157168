// The native saver's frame loop, the same for every host: between frames it waits, paced
// by -delay, for the next frame's time, the host's events or the end, whichever comes
// first. A host says how it shows a frame and how its waits end through a FrameHost.
// Main thread, with the host's OpenGL context current.
#pragma once
#include <cstddef>
#include <cstdint>

#include "capture/desktop_snapshot.h"

struct FrameLoopOptions {
    uint32_t delayUs = 30000;  // least time from one frame's start to the next's
    bool showFps = false;      // the -fps overlay
};

enum class HostState {
    Running,
    Ended,  // the run ends as asked: the user moved, the window closed or went
    Lost,   // the connection to the display went away
};

// What one of a host's several drawables shows in a frame.
struct DrawableFrame {
    bool drawn = false;      // it takes this frame; else its scene only moves on
    int width = 0, height = 0;
    int scene = -1;          // 0: the first scene, k: otherScenes[k - 1]; -1: black
    ScreenArea view{};       // where the scene lies, in pixels from the top left; may reach past the drawable
};

// What the loop asks of a host; `self` is handed back to every call.
struct FrameHost {
    void* self = nullptr;
    // Handles what has come in, without waiting.
    HostState (*readEvents)(void* self) = nullptr;
    // Whether a frame may be drawn now: a compositor asks for each one, X11 always may.
    bool (*wantsFrame)(void* self) = nullptr;
    // Sleeps until `timeoutMs` have passed (-1: no limit), something came in or the end is
    // asked for; returns what readEvents would.
    HostState (*wait)(void* self, int timeoutMs) = nullptr;
    // The drawable's size in pixels.
    void (*size)(void* self, int& width, int& height) = nullptr;
    // Shows the frame drawn.
    void (*present)(void* self) = nullptr;
    // A host of several drawables, each a buffer of its own (a compositor's outputs): how
    // many there are now, and making one current for the frame. Null with one drawable.
    size_t (*drawableCount)(void* self) = nullptr;
    DrawableFrame (*selectDrawable)(void* self, size_t index) = nullptr;
    // Instead of wantsFrame, for a host that paces each of its drawables by -delay itself,
    // so that one output's frame never waits for another's: milliseconds from `nowUs`
    // (frameClockUs) until one of them is due, 0: now, -1: none asks for a frame.
    int (*frameWaitMs)(void* self, int64_t nowUs) = nullptr;
};

// The clock that frames are paced by, in microseconds.
int64_t frameClockUs();

// Prepares the scenes and draws frames until the end, starting the scenes afresh at the
// frame after a restart request; lets the other scenes go at the end. 0 when the run ended
// as asked, 1 when the host lost its display.
int runFrameLoop(const FrameHost& host, const FrameLoopOptions& options);
