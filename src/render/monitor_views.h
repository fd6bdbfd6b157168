// Where the scene shows on several monitors: one scene across the whole drawable, each
// monitor a scene of its own, or the primary monitor alone. Portable; worked out on the
// main thread before the render thread starts, and read by it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "capture/desktop_snapshot.h"
#include "settings/monitor_mode.h"

// One scene in one part of a drawable.
struct SceneView {
    ScreenArea viewport;  // in the drawable's pixels, from its top-left corner
    ScreenArea desktop;   // the part of the desktop that its scene shows
};

// The views of a drawable that covers `drawable` of the desktop, on `monitors` (desktop
// coordinates, the primary one at `primary`): the whole drawable for span, or no monitors
// at all; one view for each monitor's part of it; or the primary monitor's part alone.
// Monitors outside the drawable get no view and stay black; a mirror of another monitor,
// or an area that holds other monitors, gets none either.
std::vector<SceneView> monitorViews(MonitorMode mode, const ScreenArea& drawable, const std::vector<ScreenArea>& monitors,
                                    size_t primary);

// Whether the views are the one whole drawable: the frame of a single scene, as ever.
bool isWholeDrawable(const std::vector<SceneView>& views, const ScreenArea& drawable);

// Where one scene across the whole `layout` lies on a drawable of `width` x `height` pixels
// that shows `part` of the layout: the drawable's slice of a scene shown on several drawables
// of their own, each at a scale of its own.
ScreenArea spanSlice(const ScreenArea& layout, const ScreenArea& part, int width, int height);

// The views the render thread draws in; set before it starts.
extern std::vector<SceneView> sceneViews;
