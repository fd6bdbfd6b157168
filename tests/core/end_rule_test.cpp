// What ends a run in a window of the saver's own, on X11 and Wayland alike: the input as the
// hosts hand it over, and whether it ends the run.
#include "native/end_rule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const InputEvent key{InputKind::Key}, button{InputKind::Button}, wheel{InputKind::Wheel}, touch{InputKind::Touch};
const InputEvent left{InputKind::PointerLeft};
InputEvent entered(double x, double y) { return {InputKind::PointerEntered, x, y}; }
InputEvent moved(double x, double y) { return {InputKind::PointerMoved, x, y}; }

// The index of the first event that ends the run, or -1.
int firstEnd(const std::vector<InputEvent>& events) {
    EndRule rule;
    for (size_t i = 0; i < events.size(); ++i)
        if (endsRun(rule, events[i])) return int(i);
    return -1;
}

}  // namespace

TEST(EndRule, InputEndsTheRunAndThePointerOnlyWhenItMovesMoreThanTenPixels) {
    const struct {
        const char* what;
        std::vector<InputEvent> events;
        int ends;
    } cases[] = {
        {"a key", {key}, 0},
        {"a button", {moved(5, 5), button}, 1},
        {"the wheel", {wheel}, 0},
        {"a touch", {touch}, 0},
        {"the pointer arriving under a new window", {entered(500, 400)}, -1},
        {"the first place seen is no move either", {moved(500, 400)}, -1},
        {"within ten pixels of the first place", {entered(500, 400), moved(506, 408), moved(510, 400)}, -1},
        {"just past ten pixels", {entered(500, 400), moved(506, 408.1)}, 1},
        {"far, but only after wandering", {moved(100, 100), moved(105, 100), moved(100, 105), moved(89, 100)}, 3},
        {"measured from the first place, not the last", {moved(0, 0), moved(8, 0), moved(16, 0)}, 2},
        {"a window that moved under a still pointer", {entered(10, 10), left, entered(400, 300), moved(402, 300)}, -1},
        {"then a real move", {entered(10, 10), left, entered(400, 300), moved(420, 300)}, 3},
    };
    for (const auto& c : cases) EXPECT_EQ(firstEnd(c.events), c.ends) << c.what;
}
