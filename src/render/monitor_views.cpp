#include "render/monitor_views.h"

#include <algorithm>
#include <cmath>

std::vector<SceneView> sceneViews;

namespace {

// The part of `monitor` inside `drawable`, as a view; false when they do not meet.
bool viewOf(const ScreenArea& monitor, const ScreenArea& drawable, SceneView& view) {
    const int32_t left = std::max(monitor.left, drawable.left), top = std::max(monitor.top, drawable.top);
    const int32_t right = std::min(monitor.left + monitor.width, drawable.left + drawable.width);
    const int32_t bottom = std::min(monitor.top + monitor.height, drawable.top + drawable.height);
    if (right <= left || bottom <= top) return false;
    view.desktop = {left, top, right - left, bottom - top};
    view.viewport = {left - drawable.left, top - drawable.top, right - left, bottom - top};
    return true;
}

bool contains(const ScreenArea& outer, const ScreenArea& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.left + outer.width >= inner.left + inner.width &&
           outer.top + outer.height >= inner.top + inner.height;
}

// Monitors that show a picture of their own: a second one at the same place (a mirror) and
// one that holds others (a screen's area listed beside its monitors) are left out.
std::vector<ScreenArea> ownMonitors(const std::vector<ScreenArea>& monitors) {
    std::vector<ScreenArea> own;
    for (size_t i = 0; i < monitors.size(); ++i) {
        bool kept = true;
        for (size_t j = 0; j < monitors.size() && kept; ++j) {
            const bool sameArea = contains(monitors[i], monitors[j]) && contains(monitors[j], monitors[i]);
            kept = i == j || (sameArea ? i < j : !contains(monitors[i], monitors[j]));
        }
        if (kept) own.push_back(monitors[i]);
    }
    return own;
}

}  // namespace

std::vector<SceneView> monitorViews(MonitorMode mode, const ScreenArea& drawable, const std::vector<ScreenArea>& monitors,
                                    size_t primary) {
    const SceneView whole = {{0, 0, drawable.width, drawable.height}, drawable};
    std::vector<SceneView> views;
    SceneView view;
    if (mode == EachMonitor) {
        for (const ScreenArea& monitor : ownMonitors(monitors))
            if (viewOf(monitor, drawable, view)) views.push_back(view);
    } else if (mode == PrimaryMonitorOnly && primary < monitors.size() && viewOf(monitors[primary], drawable, view)) {
        views.push_back(view);
    }
    if (views.empty()) views.push_back(whole);
    return views;
}

bool isWholeDrawable(const std::vector<SceneView>& views, const ScreenArea& drawable) {
    if (views.size() != 1) return false;
    const ScreenArea& v = views[0].viewport;
    return v.left == 0 && v.top == 0 && v.width == drawable.width && v.height == drawable.height;
}

ScreenArea spanSlice(const ScreenArea& layout, const ScreenArea& part, int width, int height) {
    if (part.width <= 0 || part.height <= 0) return {0, 0, width, height};
    const double across = double(width) / part.width, down = double(height) / part.height;
    // Edges rounded one by one, so that neighbouring drawables meet without a gap.
    const auto place = [](int32_t edge, int32_t origin, double scale) { return int32_t(std::lround((edge - origin) * scale)); };
    const int32_t left = place(layout.left, part.left, across), top = place(layout.top, part.top, down);
    const int32_t right = place(layout.left + layout.width, part.left, across);
    const int32_t bottom = place(layout.top + layout.height, part.top, down);
    return {left, top, right - left, bottom - top};
}
