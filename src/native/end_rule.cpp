#include "native/end_rule.h"

#include <cmath>

bool endsRun(EndRule& rule, const InputEvent& event) {
    switch (event.kind) {
    case InputKind::Key:
    case InputKind::Button:
    case InputKind::Wheel:
    case InputKind::Touch: return true;
    case InputKind::PointerLeft: rule.pointerSeen = false; return false;
    case InputKind::PointerEntered:
    case InputKind::PointerMoved:
        if (event.kind == InputKind::PointerEntered || !rule.pointerSeen) {
            rule.pointerSeen = true, rule.firstX = event.x, rule.firstY = event.y;
            return false;
        }
        return std::hypot(event.x - rule.firstX, event.y - rule.firstY) > pointerHysteresis;
    }
    return false;
}
